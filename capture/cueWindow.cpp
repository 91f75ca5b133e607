// The Cue window: holds the sheet being written.
#include "cueWindow.h"

#include "../host/hostLink.h"
#include "../res/resource.h"
#include "captureController.h"

namespace {

struct CueWindowState {
  HWND window;
};

CueWindowState gCue = {nullptr};

void onCueInit(HWND dialog) {
  // Without this the edit control stops taking appended entries at 32,767 characters.
  SendDlgItemMessageA(dialog, IDC_CUE_EDITOR, EM_SETLIMITTEXT, 0, 0);
}

// Returns whether the command was one of the window's buttons.
bool onCueCommand(WORD id) {
  switch (id) {
    case IDC_CUE_RESET:
      resetSheet();
      return true;
    case IDC_CUE_SAVE:
      hostCapture(CAPTURE_SAVE);
      return true;
    default:
      return false;
  }
}

}  // namespace

HWND createCueWindow(HINSTANCE module) {
  gCue.window = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_CUE), nullptr, CueDlgProc, 0);
  return gCue.window;
}

void destroyCueWindow() {
  if (gCue.window) DestroyWindow(gCue.window);
  gCue.window = nullptr;
}

HWND cueWindow() { return gCue.window; }
HWND cueEditor() { return gCue.window ? GetDlgItem(gCue.window, IDC_CUE_EDITOR) : nullptr; }
void showCueWindow() {
  if (gCue.window) ShowWindow(gCue.window, SW_SHOW);
}

void appendText(HWND edit, const char* text) {
  if (!edit) return;
  int length = GetWindowTextLengthA(edit);
  DWORD start = 0;
  DWORD end = 0;
  // A visible editor scrolls on screen to the end and back; hidden for the moment it only
  // computes, and is drawn once as it stands afterwards. Hiding takes the focus away, so an
  // editor that had it gets it back.
  bool hideMeanwhile = IsWindowVisible(edit) != FALSE;
  bool hadFocus = GetFocus() == edit;
  if (hideMeanwhile) ShowWindow(edit, SW_HIDE);
  SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  SendMessageA(edit, EM_SETSEL, (WPARAM)length, (LPARAM)length);
  SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)text);
  SendMessageA(edit, EM_SETSEL, (WPARAM)start, (LPARAM)end);
  if (hideMeanwhile) ShowWindow(edit, SW_SHOWNA);
  if (hadFocus) SetFocus(edit);
}

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      onCueInit(dialog);
      return TRUE;
    case WM_CLOSE:
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    case WM_COMMAND:
      return onCueCommand(LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}
