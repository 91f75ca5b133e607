// The Info window: OK commits the entry, closing it cancels the mark.
#include "infoWindow.h"

#include "../base/limits.h"
#include "../res/resource.h"
#include "captureController.h"
#include "cueWindow.h"

namespace {

struct InfoWindowState {
  HWND window;
};

InfoWindowState gInfo = {nullptr};

void onInfoOk(HWND dialog) {
  ShowWindow(dialog, SW_HIDE);
  char title[kTextBytes];
  char performer[kTextBytes];
  GetDlgItemTextA(dialog, IDC_INFO_TITLE, title, (int)sizeof title);
  GetDlgItemTextA(dialog, IDC_INFO_PERFORMER, performer, (int)sizeof performer);
  setCapturedTexts(title, performer);
  showCueWindow();
  requestCapture(CAPTURE_COMMIT);
}

void onInfoClose(HWND dialog) {
  ShowWindow(dialog, SW_HIDE);
  requestCapture(CAPTURE_CANCEL);
}

}  // namespace

HWND createInfoWindow(HINSTANCE module) {
  gInfo.window = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_INFO), nullptr, InfoDlgProc, 0);
  return gInfo.window;
}

void destroyInfoWindow() {
  if (gInfo.window) DestroyWindow(gInfo.window);
  gInfo.window = nullptr;
}

HWND infoWindow() { return gInfo.window; }

void showInfoWindow() {
  if (gInfo.window) ShowWindow(gInfo.window, SW_SHOW);
}

void clearInfoTitle() {
  if (gInfo.window) SetDlgItemTextA(gInfo.window, IDC_INFO_TITLE, "");
}

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CLOSE:
      onInfoClose(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_INFO_OK) return FALSE;
      onInfoOk(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}
