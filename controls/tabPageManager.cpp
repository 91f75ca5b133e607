// Tab pages kept as the tab items' data.
#include "tabPageManager.h"

#include <commctrl.h>

#include "theme.h"

namespace {

const UINT_PTR kLargestResourceId = 0xFFFF;
const size_t kTemplateNameChars = 256;

bool isResourceId(const char* name) { return (UINT_PTR)name <= kLargestResourceId; }

// A heap copy of text, owned by the record that stores it; null when text is null or memory
// is short.
char* duplicateText(const char* text) {
  if (!text) return nullptr;
  int length = lstrlenA(text);
  char* copy = (char*)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)length + 1);
  if (copy) CopyMemory(copy, text, (SIZE_T)length + 1);
  return copy;
}

void releaseText(const char* text) {
  if (text) HeapFree(GetProcessHeap(), 0, (void*)text);
}

// Ids are kept as they are; names are copied.
const char* keepName(const char* name) { return isResourceId(name) ? name : duplicateText(name); }

int tabCount(HWND tab) { return (int)SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0); }

// Steps over a menu or class field of a dialog template (none, an ordinal, or a string of
// WCHARs); null when the field runs past end.
const WORD* skipNameOrOrdinal(const WORD* at, const WORD* end) {
  if (at >= end) return nullptr;
  if (*at == 0x0000) return at + 1;
  if (*at == 0xFFFF) return at + 2 <= end ? at + 2 : nullptr;
  while (at < end && *at) ++at;
  return at < end ? at + 1 : nullptr;
}

// The caption of a dialog template resource, read from the template itself, as a heap copy in
// the ANSI code page owned by the caller; null when there is none or memory is short.
char* templateCaption(HINSTANCE module, const char* templateName) {
  HRSRC found = FindResourceA(module, templateName, (LPCSTR)RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const BYTE* bytes = loaded ? (const BYTE*)LockResource(loaded) : nullptr;
  DWORD size = found ? SizeofResource(module, found) : 0;
  // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; its fixed part is 26 bytes.
  const size_t kExtendedHeaderBytes = 26;
  const size_t kPlainHeaderBytes = 18;
  if (!bytes || size < kExtendedHeaderBytes) return nullptr;
  const WORD* words = (const WORD*)bytes;
  bool extended = words[0] == 1 && words[1] == 0xFFFF;
  const WORD* at = (const WORD*)(bytes + (extended ? kExtendedHeaderBytes : kPlainHeaderBytes));
  const WORD* end = (const WORD*)(bytes + (size & ~(DWORD)1));
  at = skipNameOrOrdinal(at, end);   // menu
  at = at ? skipNameOrOrdinal(at, end) : nullptr;  // window class
  if (!at) return nullptr;
  const WORD* titleEnd = at;
  while (titleEnd < end && *titleEnd) ++titleEnd;
  if (titleEnd >= end) return nullptr;
  int wideLength = (int)(titleEnd - at);
  int length = WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)at, wideLength, nullptr, 0, nullptr, nullptr);
  char* caption = (char*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (SIZE_T)length + 1);
  if (caption && length > 0)
    WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)at, wideLength, caption, length, nullptr, nullptr);
  return caption;
}

}  // namespace

TabPageManager::TabPageManager(HWND tabControl, HINSTANCE module)
    : tabControl_(nullptr),
      currentPage_(nullptr),
      module_(module ? module : GetModuleHandleA(nullptr)) {
  attach(tabControl);
}

TabPageManager::~TabPageManager() { deleteAllPages(); }

void TabPageManager::releaseRecord(PageRecord* record) {
  if (!isResourceId(record->templateName)) releaseText(record->templateName);
  if (!isResourceId(record->tooltip)) releaseText(record->tooltip);
  releaseText(record->title);
  ZeroMemory(record, sizeof *record);
}

HWND TabPageManager::attach(HWND window) {
  HWND previous = tabControl_;
  if (!IsWindow(window)) return previous;
  // Tabs dropped here keep their pages and copies: they were another owner's.
  if (previous && IsWindow(previous) && tabCount(previous) > 0)
    SendMessageA(previous, TCM_DELETEALLITEMS, 0, 0);
  tabControl_ = window;
  if (tabCount(window) > 0) SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
  SendMessageA(window, TCM_SETITEMEXTRA, sizeof(PageRecord), 0);
  return previous;
}

bool TabPageManager::fetch(int index, WorkingCopy* copy) const {
  ZeroMemory(copy, sizeof *copy);
  copy->header.mask = TCIF_PARAM;
  copy->manager = const_cast<TabPageManager*>(this);
  return SendMessageA(tabControl_, TCM_GETITEMA, (WPARAM)index, (LPARAM)copy) != 0;
}

LRESULT TabPageManager::notifyPage(HWND page, int code) {
  NMHDR header = {(HWND)this, 0, (UINT)code};
  return SendMessageA(page, WM_NOTIFY, 0, (LPARAM)&header);
}

int TabPageManager::addPage(const char* title, const char* templateName, DLGPROC dialogProc,
                            const char* tooltip) {
  if (!templateName) return 0;
  WorkingCopy copy;
  ZeroMemory(&copy, sizeof copy);
  copy.record.templateName = keepName(templateName);
  copy.record.tooltip = keepName(tooltip);
  copy.record.dialogProc = dialogProc;

  if (title) {
    copy.record.title = duplicateText(title);
  } else {
    copy.record.title = templateCaption(module_, templateName);
  }

  copy.header.mask = TCIF_TEXT | TCIF_PARAM;
  copy.header.pszText = copy.record.title ? copy.record.title : const_cast<char*>("");
  int index = (int)SendMessageA(tabControl_, TCM_INSERTITEMA, (WPARAM)tabCount(tabControl_),
                                (LPARAM)&copy);
  if (index < 0) releaseRecord(&copy.record);
  return index;
}

HWND TabPageManager::createPage(WorkingCopy* copy, int index, HWND parent) {
  // Pages are Unicode windows: their fields hold any character.
  const char* name = copy->record.templateName;
  wchar_t wideName[kTemplateNameChars];
  if (!isResourceId(name)) MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, (int)kTemplateNameChars);
  HWND page = CreateDialogParamW(module_, isResourceId(name) ? (LPCWSTR)name : wideName, parent,
                                 copy->record.dialogProc, (LPARAM)copy);
  if (!page) return nullptr;
  SetWindowLongPtrA(page, GWL_STYLE, WS_CHILD);
  SetWindowLongPtrA(page, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
  SetParent(page, parent);
  enableThemeDialogTexture(page, kThemeTextureEnableTab);
  copy->record.pageWindow = page;
  TCITEMHEADERA* item = &copy->header;
  item->mask = TCIF_PARAM;
  SendMessageA(tabControl_, TCM_SETITEMA, (WPARAM)index, (LPARAM)copy);
  return page;
}

void TabPageManager::placePage(HWND page, HWND parent) {
  RECT area;
  GetWindowRect(tabControl_, &area);
  SendMessageA(tabControl_, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
  MapWindowPoints(nullptr, parent, (POINT*)&area, 2);
  SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(page, SW_SHOWNA);
}

bool TabPageManager::showPage(int index) {
  HWND parent = GetParent(tabControl_);
  if (index < 0) return true;
  if (currentPage_) ShowWindow(currentPage_, SW_HIDE);

  WorkingCopy copy;
  if (!fetch(index, &copy)) return false;
  HWND page = copy.record.pageWindow;
  if (!page) page = createPage(&copy, index, parent);

  if (page && notifyPage(page, PAGE_ACTIVATED) == 1) return false;
  currentPage_ = page;
  if (!page) return true;
  placePage(page, parent);
  return true;
}

bool TabPageManager::selectPage(int index) {
  if (currentPage_ && notifyPage(currentPage_, PAGE_DEACTIVATED) == 1) return false;
  if (!showPage(index)) return false;
  SendMessageA(tabControl_, TCM_SETCURSEL, (WPARAM)index, 0);
  return true;
}

BYTE TabPageManager::onNotify(WPARAM, NMHDR* header) {
  if (!header) return 0;
  if (header->hwndFrom == tabControl_) {
    if ((int)header->code == (int)TCN_SELCHANGING) {
      if (!currentPage_) return 0;
      return notifyPage(currentPage_, PAGE_DEACTIVATED) > 0 ? 1 : 0;
    }
    if ((int)header->code == (int)TCN_SELCHANGE)
      return showPage((int)SendMessageA(tabControl_, TCM_GETCURSEL, 0, 0)) ? 1 : 0;
  }
  HWND tips = (HWND)SendMessageA(tabControl_, TCM_GETTOOLTIPS, 0, 0);
  if ((int)header->code == (int)TTN_GETDISPINFOA && tips && header->hwndFrom == tips) {
    WorkingCopy copy;
    fetch((int)header->idFrom, &copy);
    NMTTDISPINFOA* info = (NMTTDISPINFOA*)header;
    info->lpszText = const_cast<char*>(copy.record.tooltip);
    info->hinst = isResourceId(copy.record.tooltip) ? module_ : nullptr;
  }
  return 0;
}

bool TabPageManager::deletePage(int index) {
  WorkingCopy copy;
  if (!fetch(index, &copy)) return false;
  HWND page = copy.record.pageWindow;
  if (page) {
    if (notifyPage(page, PAGE_REMOVING) == 1) return false;
    DestroyWindow(page);
    if (page == currentPage_) currentPage_ = nullptr;
  }
  SendMessageA(tabControl_, TCM_DELETEITEM, (WPARAM)index, 0);
  releaseRecord(&copy.record);
  return true;
}

bool TabPageManager::deleteAllPages() {
  for (int count = tabCount(tabControl_); count > 0; count = tabCount(tabControl_))
    if (!deletePage(count - 1)) return false;
  currentPage_ = nullptr;
  return true;
}
