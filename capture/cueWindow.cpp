// The Cue window: holds the sheet being written.
#include "cueWindow.h"

#include "../controls/modalGuard.h"
#include "../res/resource.h"
#include "captureController.h"
#include "recovery.h"
#include "sheetState.h"

namespace {

const char kDiscardCaption[] = "LUMO";
const char kDiscardText[] = "Discard the unsaved cue sheet?";

struct CueWindowState {
  HWND window;
  bool settingText;  // the plug-in itself is changing the editor's text: no hand edit
};

CueWindowState gCue = {nullptr, false};

void onCueInit(HWND dialog) {
  // Without this the edit control stops taking appended entries at 32,767 characters.
  SendDlgItemMessageA(dialog, IDC_CUE_EDITOR, EM_SETLIMITTEXT, 0, 0);
}

// Reset of a sheet that holds something not yet saved asks first.
void onReset() {
  HWND editor = cueEditor();
  if (sheetUnsaved() && editor && GetWindowTextLengthA(editor) > 0) {
    int answer = guardedMessageBox(gCue.window, kDiscardText, kDiscardCaption,
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer != IDYES) return;  // No, refused, or shut down while asking
  }
  resetSheet();
}

// A change the user made in the editor: the sheet is unsaved and its copy is due.
void onEditorChanged() {
  if (gCue.settingText) return;
  markSheetChanged();
  keepRecoveryCopySoon();
}

// Returns whether the command was handled.
bool onCueCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_CUE_RESET:
      onReset();
      return true;
    case IDC_CUE_SAVE:
      requestCapture(CAPTURE_SAVE);
      return true;
    case IDC_CUE_EDITOR:
      if (code == EN_CHANGE) onEditorChanged();
      return false;
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
  gCue.settingText = false;
}

void setEditorText(const char* text) {
  gCue.settingText = true;
  SetWindowTextA(cueEditor(), text);
  gCue.settingText = false;
}

void appendToEditor(const char* text) {
  gCue.settingText = true;
  appendText(cueEditor(), text);
  gCue.settingText = false;
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
      return onCueCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == RECOVERY_TIMER_ID) onRecoveryTimer();
      return TRUE;
    default:
      return FALSE;
  }
}
