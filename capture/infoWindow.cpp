// The Info window: OK commits the entry, closing it cancels the mark. Its keys work whether
// or not the player routes them through IsDialogMessage: Enter is OK, Escape closes, Tab and
// Shift+Tab go round the two fields and OK.
#include "infoWindow.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../res/resource.h"
#include "captureController.h"

namespace {

// No cue reader shows more of a title or performer (CD-Text holds 80), and a longer one could
// push the entry's INDEX line out of the formatted text.
const int kInfoFieldChars = 255;
const wchar_t kHighSurrogateFirst = 0xD800;
const wchar_t kLowSurrogateFirst = 0xDC00;
const int kKeyControls[] = {IDC_INFO_TITLE, IDC_INFO_PERFORMER, IDC_INFO_OK};
const int kKeyControlCount = 3;

struct InfoWindowState {
  HWND window;
  WNDPROC controlProcs[kKeyControlCount];  // the three controls' own procedures
};

InfoWindowState gInfo = {nullptr, {nullptr, nullptr, nullptr}};

int keyControlIndex(HWND control) {
  int id = GetDlgCtrlID(control);
  for (int i = 0; i < kKeyControlCount; ++i)
    if (kKeyControls[i] == id) return i;
  return -1;
}

// Enter, Escape and Tab in the fields and on OK.
LRESULT CALLBACK InfoKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = keyControlIndex(control);
  WNDPROC original = index >= 0 ? gInfo.controlProcs[index] : nullptr;
  if (!original) return DefWindowProcW(control, message, wParam, lParam);
  HWND dialog = GetParent(control);
  switch (message) {
    case WM_GETDLGCODE:  // a player's IsDialogMessage hands these keys to us, not the dialog
      return CallWindowProcW(original, control, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDC_INFO_OK));
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        return 0;
      }
      if (wParam == VK_TAB) {
        HWND next = GetNextDlgTabItem(dialog, control, GetKeyState(VK_SHIFT) < 0);
        if (next) SetFocus(next);
        if (next && GetDlgCtrlID(next) != IDC_INFO_OK) SendMessageW(next, EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case WM_CHAR:  // the characters of those keys: nothing to insert, no beep
      if (wParam == '\r' || wParam == '\t' || wParam == 27) return 0;
      break;
    default:
      break;
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

void onInfoInit(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_INFO_TITLE, EM_SETLIMITTEXT, kInfoFieldChars, 0);
  SendDlgItemMessageW(dialog, IDC_INFO_PERFORMER, EM_SETLIMITTEXT, kInfoFieldChars, 0);
  for (int i = 0; i < kKeyControlCount; ++i)
    gInfo.controlProcs[i] = (WNDPROC)SetWindowLongPtrW(GetDlgItem(dialog, kKeyControls[i]), GWLP_WNDPROC,
                                                       (LONG_PTR)InfoKeysProc);
}

// A field's text as UTF-8 into out (kTextBytes). The field's limit counts UTF-16 units, so a
// character of two (an emoji) typed at the limit keeps only its first half, which would reach
// the sheet as U+FFFD: a first half at the end goes.
void readField(HWND dialog, int id, char* out) {
  wchar_t wide[kFormatChars];
  int units = GetDlgItemTextW(dialog, id, wide, (int)kFormatChars);
  if (units > 0 && wide[units - 1] >= kHighSurrogateFirst && wide[units - 1] < kLowSurrogateFirst)
    wide[units - 1] = L'\0';
  fromWide(wide, out, kTextBytes);
}

void onInfoOk(HWND dialog) {
  ShowWindow(dialog, SW_HIDE);
  char title[kTextBytes];
  char performer[kTextBytes];
  readField(dialog, IDC_INFO_TITLE, title);
  readField(dialog, IDC_INFO_PERFORMER, performer);
  setCapturedTexts(title, performer);
  requestCapture(CAPTURE_COMMIT);
}

// A mark: in front (the hot key may have come while another program was in front), the caret
// in the title field, and a title left there by a cancelled mark selected, so that typing
// replaces it.
void onShowInfo(HWND dialog) {
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  HWND title = GetDlgItem(dialog, IDC_INFO_TITLE);
  SetFocus(title);
  SendMessageW(title, EM_SETSEL, 0, -1);
}

void onInfoClose(HWND dialog) {
  ShowWindow(dialog, SW_HIDE);
  requestCapture(CAPTURE_CANCEL);
}

}  // namespace

HWND createInfoWindow(HINSTANCE module) {
  gInfo.window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_INFO), nullptr, InfoDlgProc, 0);
  return gInfo.window;
}

void destroyInfoWindow() {
  if (gInfo.window) {
    for (int i = 0; i < kKeyControlCount; ++i)
      if (gInfo.controlProcs[i])
        SetWindowLongPtrW(GetDlgItem(gInfo.window, kKeyControls[i]), GWLP_WNDPROC, (LONG_PTR)gInfo.controlProcs[i]);
    DestroyWindow(gInfo.window);
  }
  gInfo.window = nullptr;
  for (WNDPROC& proc : gInfo.controlProcs) proc = nullptr;
}

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInfoInit(dialog);
      return TRUE;
    case CAPTURE_SHOW_INFO:
      onShowInfo(dialog);
      return TRUE;
    case CAPTURE_TITLE_TAKEN:
      SetDlgItemTextW(dialog, IDC_INFO_TITLE, L"");
      return TRUE;
    case CAPTURE_PERFORMER_USED:
      SetDlgItemTextW(dialog, IDC_INFO_PERFORMER, (const wchar_t*)lParam);
      return TRUE;
    case CAPTURE_SAY:  // where the pending mark goes on the audio
      SetDlgItemTextW(dialog, IDC_INFO_PLACED, (const wchar_t*)lParam);
      return TRUE;
    case WM_CLOSE:
      onInfoClose(dialog);
      return TRUE;
    case WM_COMMAND:
      // IDOK and IDCANCEL come from a player's IsDialogMessage: Enter and Escape.
      if (LOWORD(wParam) == IDC_INFO_OK || LOWORD(wParam) == IDOK) {
        onInfoOk(dialog);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        onInfoClose(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
