// The About page: the banner and the release notes from gen_lumo.txt beside the DLL.
#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/utf8Text.h"
#include "../store/fileSystem.h"
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

const size_t kNotesBytesMax = 64 * 1024 * 1024;

void onAboutInit(HWND page) {
  pageInit(kAboutPage, page);
  HWND notes = GetDlgItem(page, IDC_ABOUT_NOTES);
  char path[kPathBytes];
  if (pathBesideModule(kNotesName, path, sizeof path) && isFile(path))
    loadFileIntoWindow(notes, path);  // a file that cannot be read leaves the field empty
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
  size_t size = 0;
  DWORD error = 0;
  char* bytes = readWholeFile(path, kNotesBytesMax, 0, &size, &error);
  if (!bytes) return false;
  // UTF-8 (a BOM is dropped), or an older file in the ANSI code page.
  const char* text = bytes;
  if (size >= 3 && (unsigned char)bytes[0] == 0xEF && (unsigned char)bytes[1] == 0xBB && (unsigned char)bytes[2] == 0xBF) {
    text += 3;
    size -= 3;
  }
  char* utf8 = nullptr;
  if (!isValidUtf8(text, size)) {
    size_t room = size * kUtf8BytesPerUnit + 1;
    utf8 = (char*)GlobalAlloc(GMEM_FIXED, room);
    if (utf8) size = ansiToUtf8(text, size, utf8, room);
    text = utf8 ? utf8 : "";
  }
  wchar_t* wide = newWideText(text, size);
  bool result = wide && SetWindowTextW(window, wide) != FALSE;
  if (wide) GlobalFree(wide);
  if (utf8) GlobalFree(utf8);
  GlobalFree(bytes);
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
