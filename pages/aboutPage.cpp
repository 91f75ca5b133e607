// The About page: the banner and the release notes from gen_lumo.txt beside the DLL.
#include "../base/limits.h"
#include "../store/pluginFolder.h"
#include "../res/resource.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

const char kNotesName[] = "gen_lumo.txt";
const char kNotFound[] = "gen_lumo.txt not found!";
const int kNotesFontHeight = -11;

// The notes field's font, created with the page and deleted when it is destroyed.
HFONT gNotesFont = nullptr;

bool fileExists(const char* path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void onAboutInit(HWND page) {
  pageInit(kAboutPage, page);
  HWND notes = GetDlgItem(page, IDC_ABOUT_NOTES);
  char path[kPathBytes];
  if (pathBesideModule(kNotesName, path) && fileExists(path))
    loadFileIntoWindow(notes, path);
  else
    SetWindowTextA(notes, kNotFound);

  if (gNotesFont) DeleteObject(gNotesFont);
  gNotesFont = CreateFontA(kNotesFontHeight, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0,
                           0, "MS Shell Dlg");
  SendMessageA(notes, WM_SETFONT, (WPARAM)gNotesFont, FALSE);
}

// The picture control loaded the banner from the template but does not free it when it is
// destroyed: take the bitmap out of the control and delete it.
void releaseBanner(HWND page) {
  HWND picture = FindWindowExA(page, nullptr, "Static", nullptr);
  if (!picture) return;
  HGDIOBJ banner = (HGDIOBJ)SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0);
  if (banner) DeleteObject(banner);
}

void onAboutDestroy(HWND page) {
  releaseBanner(page);
  pageDestroy(kAboutPage);
  if (gNotesFont) DeleteObject(gNotesFont);
  gNotesFont = nullptr;
}

}  // namespace

bool loadFileIntoWindow(HWND window, const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE) {
    CloseHandle(file);
    return false;
  }
  char* text = (char*)GlobalAlloc(GPTR, (SIZE_T)size + 1);
  if (!text) {
    CloseHandle(file);
    return false;
  }
  DWORD got = 0;
  bool result = false;
  if (ReadFile(file, text, size, &got, nullptr)) {
    text[got] = '\0';
    result = SetWindowTextA(window, text) != FALSE;
  }
  GlobalFree(text);
  CloseHandle(file);
  return result;
}

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onAboutInit(page);
      break;
    case WM_NOTIFY:
      pageNotify(kAboutPage, (const NMHDR*)lParam);
      break;
    case WM_DESTROY:
      onAboutDestroy(page);
      break;
    default:
      break;
  }
  return 0;
}
