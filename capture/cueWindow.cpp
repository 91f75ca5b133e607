// The Cue window: holds the sheet being written.
#include "cueWindow.h"

#include "../controls/modalGuard.h"
#include "../res/resource.h"
#include "captureController.h"
#include "cueEditor.h"
#include "markTools.h"
#include "recovery.h"
#include "sheetState.h"

namespace {

const char kDiscardCaption[] = "LUMO";
const char kDiscardText[] = "Discard the unsaved cue sheet?";

struct CueWindowState {
  HWND window;
  WNDPROC editorProc;  // the editor's own procedure, behind the keys we take
};

CueWindowState gCue = {nullptr, nullptr};

// The editor's keys for marks: F5 listens, Alt+Left and Alt+Right move the mark by a frame,
// with Shift by a second. Alt+arrows arrive as system keys.
LRESULT CALLBACK EditorKeysProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_F5) {
        listenToMark();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        moveMark(wParam == VK_LEFT ? -nudgeStep() : nudgeStep());
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(gCue.editorProc, editor, message, wParam, lParam);
}

void onCueInit(HWND dialog) {
  HWND editor = GetDlgItem(dialog, IDC_CUE_EDITOR);
  // Without this the edit control stops taking appended entries at 32,767 characters.
  SendMessageA(editor, EM_SETLIMITTEXT, 0, 0);
  gCue.editorProc = (WNDPROC)SetWindowLongPtrA(editor, GWLP_WNDPROC, (LONG_PTR)EditorKeysProc);
}

// Reset of a sheet that holds something not yet saved asks first.
void onReset() {
  HWND editor = cueEditor();
  if (sheetUnsaved() && editor && GetWindowTextLengthA(editor) > 0) {
    unsigned asked = sheetVersion();
    int answer = guardedMessageBox(gCue.window, kDiscardText, kDiscardCaption,
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer != IDYES) return;  // No, refused, or shut down while asking
    // An entry marked while the question was open was not part of what Yes discards.
    if (sheetVersion() != asked) return;
  }
  resetSheet();
}

// A change the user made in the editor: the sheet is unsaved and its copy is due.
void onEditorChanged() {
  if (editorChangeIsOurs()) return;
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
    case IDC_CUE_LISTEN:
      listenToMark();
      return true;
    case IDC_CUE_EARLIER:
      moveMark(-nudgeStep());
      return true;
    case IDC_CUE_LATER:
      moveMark(nudgeStep());
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
  if (gCue.window) {
    HWND editor = GetDlgItem(gCue.window, IDC_CUE_EDITOR);
    if (editor && gCue.editorProc) SetWindowLongPtrA(editor, GWLP_WNDPROC, (LONG_PTR)gCue.editorProc);
    DestroyWindow(gCue.window);
  }
  gCue.window = nullptr;
  gCue.editorProc = nullptr;
}

HWND cueWindow() { return gCue.window; }
HWND cueEditor() { return gCue.window ? GetDlgItem(gCue.window, IDC_CUE_EDITOR) : nullptr; }
void showCueWindow() {
  if (gCue.window) ShowWindow(gCue.window, SW_SHOW);
}

void bringCueWindowUp() {
  if (!gCue.window) return;
  ShowWindow(gCue.window, SW_SHOW);
  SetForegroundWindow(gCue.window);
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
