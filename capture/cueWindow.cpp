// The Cue window: holds the sheet being written. Its buttons and keys become the controller's
// requests; the controller tells it when to show itself.
#include "cueWindow.h"

#include "../controls/waveStrip.h"
#include "../res/resource.h"
#include "../sheet/cueTime.h"
#include "captureController.h"

namespace {


struct CueWindowState {
  HWND window;
  WNDPROC editorProc;  // the editor's own procedure, behind the keys we take
  bool timerPending;   // the recovery copy of a hand edit is due
  bool swallowAltUp;   // Alt was held for a nudge: its release must not open the menu
  bool swallowUndoChar;  // Ctrl+Z was the plug-in's: its character must not undo the editor too
  bool stripTimer;       // the strip's timer runs: the window shows
};

CueWindowState gCue = {nullptr, nullptr, false, false, false, false};

// The wheel over the strip zooms it, wherever the focus is: the wheel goes to the focus.
// Returns whether the strip took it.
bool wheelOnStrip(WPARAM wParam, LPARAM lParam) {
  HWND strip = GetDlgItem(gCue.window, IDC_CUE_WAVE);
  RECT area;
  POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};  // screen coordinates
  if (!strip || !GetWindowRect(strip, &area) || !PtInRect(&area, at)) return false;
  SendMessageW(strip, WM_MOUSEWHEEL, wParam, lParam);
  return true;
}

// The strip's mouse: moves the caret's mark, and the zoom it chose.
void onStripNotify(const WaveStripNotify* notify) {
  switch ((int)notify->header.code) {
    case WSN_PRESSED: requestStripPress(notify->frame); break;
    case WSN_DRAGGED: requestStripDrag(notify->frame); break;
    case WSN_RELEASED: requestStripRelease(notify->frame); break;
    case WSN_ZOOMED: requestStripZoom(notify->halfFrames); break;
    default: break;
  }
}

// The strip is kept up to date while the window shows, and left alone while it is hidden.
void onCueShown(bool shown) {
  if (shown && !gCue.stripTimer) {
    gCue.stripTimer = SetTimer(gCue.window, STRIP_TIMER_ID, kStripTickMs, nullptr) != 0;
  } else if (!shown && gCue.stripTimer) {
    KillTimer(gCue.window, STRIP_TIMER_ID);
    gCue.stripTimer = false;
  }
}

// One frame, or one second with Shift held, in the direction given.
long long nudgeFrames(bool later) {
  long long step = GetKeyState(VK_SHIFT) < 0 ? kFramesPerSecond : 1;
  return later ? step : -step;
}

bool held(int key) { return GetKeyState(key) < 0; }

// Ctrl with a letter, Alt not held; Ctrl+O, Ctrl+Z and Ctrl+Y are ours.
bool controlKey(WPARAM key, char letter) { return key == (WPARAM)letter && held(VK_CONTROL) && !held(VK_MENU); }

// The keys that move marks (alt: Alt is held with the key): Alt+Left and Alt+Right nudge the
// caret's mark; Alt+PgUp and Alt+PgDn shift it with every later mark of its file, and so do
// Ctrl+Alt+Left and Ctrl+Alt+Right where they arrive (the player's own hot keys take them by
// default). Returns whether it was one.
bool onMarkKey(WPARAM key, bool alt) {
  bool arrow = key == VK_LEFT || key == VK_RIGHT;
  bool page = key == VK_PRIOR || key == VK_NEXT;
  if (!alt || (!arrow && !page)) return false;
  gCue.swallowAltUp = true;
  long long frames = nudgeFrames(key == VK_RIGHT || key == VK_NEXT);
  if (page || held(VK_CONTROL)) requestShift(frames);
  else requestNudge(frames);
  return true;
}

// The editor's keys for marks: F5 listens, Alt+Left and Alt+Right move the mark by a frame, with
// Shift by a second, Alt+PgUp and Alt+PgDn (or Ctrl with the arrows) every later mark of its file too; Ctrl+Z and Ctrl+Y take the
// plug-in's own changes back and do them again; Ctrl+O opens a sheet. Alt+arrows arrive as
// system keys, with Ctrl held as plain ones.
LRESULT CALLBACK EditorKeysProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  // A key (not Ctrl, Alt or Shift alone: the hot key's own start), a click or the caret put
  // elsewhere: the user looks at the caret's mark.
  bool modifier = wParam == VK_CONTROL || wParam == VK_MENU || wParam == VK_SHIFT;
  if (((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && !modifier) || message == WM_LBUTTONDOWN ||
      message == EM_SETSEL)
    requestLookAtMark();
  if (message == WM_SETTEXT) requestStripSheetChanged();  // a multi-line editor sends no EN_CHANGE then
  switch (message) {
    case WM_MOUSEWHEEL:
      if (wheelOnStrip(wParam, lParam)) return 0;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_F5) {
        requestListen();
        return 0;
      }
      if (wParam == VK_F6) {
        requestSnap();
        return 0;
      }
      if (onMarkKey(wParam, held(VK_MENU) && held(VK_CONTROL))) return 0;
      if (controlKey(wParam, 'O')) {
        PostMessageW(gCue.window, WM_COMMAND, MAKEWPARAM(IDC_CUE_OPEN, BN_CLICKED), 0);
        return 0;
      }
      // Ctrl+Z is the editor's own after a hand edit: then it goes on to the editor.
      if (controlKey(wParam, 'Z') && requestUndo()) {
        gCue.swallowUndoChar = true;
        return 0;
      }
      if (controlKey(wParam, 'Y') && requestRedo()) return 0;
      break;
    case WM_CHAR:
      // The characters of the control keys taken above: nothing to type. Ctrl+Z's goes on when
      // the editor undoes itself.
      if (wParam == ('O' - '@') || wParam == ('Y' - '@')) return 0;
      if (wParam == ('Z' - '@') && gCue.swallowUndoChar) {
        gCue.swallowUndoChar = false;
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_MENU && !(lParam & (1 << 30))) gCue.swallowAltUp = false;  // a new press
      if (onMarkKey(wParam, true)) return 0;  // a system key comes with Alt held
      break;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      // The system saw Alt go down and, with the arrows taken here, come up alone: that is how
      // the keyboard menu opens, and it would eat the next key (F5). The release may come as
      // a plain key-up: the editor lost and regained the focus while the mark moved.
      if (wParam == VK_MENU && gCue.swallowAltUp) {
        gCue.swallowAltUp = false;
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcW(gCue.editorProc, editor, message, wParam, lParam);
}

void onCueInit(HWND dialog) {
  HWND editor = GetDlgItem(dialog, IDC_CUE_EDITOR);
  // Without this the edit control stops taking appended entries at 32,767 characters.
  SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
  gCue.editorProc = (WNDPROC)SetWindowLongPtrW(editor, GWLP_WNDPROC, (LONG_PTR)EditorKeysProc);
}

// Whether the button's action may go on and replace the sheet: a sheet that holds something not
// yet saved asks first. Pressed while a box of ours is open, the button is pressed again, in its
// turn, once the box has closed.
bool mayReplaceSheet(WORD button) { return !deferWhileModal(button) && mayDiscardSheet(); }

void armCopyTimer() {
  if (gCue.timerPending) return;
  gCue.timerPending = SetTimer(gCue.window, RECOVERY_TIMER_ID, kRecoveryDelayMs, nullptr) != 0;
}

void onRecoveryTimer() {
  KillTimer(gCue.window, RECOVERY_TIMER_ID);
  gCue.timerPending = false;
  requestRecoveryCopy();
}

// Returns whether the command was handled.
bool onCueCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_CUE_RESET:
      if (mayReplaceSheet(id)) requestReset();
      return true;
    case IDC_CUE_OPEN:
      if (mayReplaceSheet(id)) requestOpen();
      return true;
    case IDC_CUE_TRACKLIST:
      requestShowTracklist();
      return true;
    case IDC_CUE_EXPORT:
      requestExport();
      return true;
    case IDC_CUE_SAVE:
      requestCapture(CAPTURE_SAVE);
      return true;
    case IDC_CUE_LISTEN:
      requestLookAtMark();
      requestListen();
      return true;
    case IDC_CUE_EARLIER:
    case IDC_CUE_LATER:
      requestLookAtMark();
      requestNudge(nudgeFrames(id == IDC_CUE_LATER));
      return true;
    case IDC_CUE_SNAP:
      requestLookAtMark();
      requestSnap();
      return true;
    case IDC_CUE_EDITOR:
      if (code == EN_CHANGE) noteEditorChanged();
      return false;
    default:
      return false;
  }
}

void showCue(bool front) {
  ShowWindow(gCue.window, SW_SHOW);
  if (front) SetForegroundWindow(gCue.window);
}

}  // namespace

HWND createCueWindow(HINSTANCE module) {
  gCue.window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_CUE), nullptr, CueDlgProc, 0);
  return gCue.window;
}

void destroyCueWindow() {
  if (gCue.window) {
    if (gCue.timerPending) KillTimer(gCue.window, RECOVERY_TIMER_ID);
    if (gCue.stripTimer) KillTimer(gCue.window, STRIP_TIMER_ID);
    HWND editor = GetDlgItem(gCue.window, IDC_CUE_EDITOR);
    if (editor && gCue.editorProc) SetWindowLongPtrW(editor, GWLP_WNDPROC, (LONG_PTR)gCue.editorProc);
    DestroyWindow(gCue.window);
  }
  gCue = CueWindowState{nullptr, nullptr, false, false, false, false};
}

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      gCue.window = dialog;
      onCueInit(dialog);
      return TRUE;
    case WM_CLOSE:
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    case WM_COMMAND:
      return onCueCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == RECOVERY_TIMER_ID) onRecoveryTimer();
      if (wParam == STRIP_TIMER_ID && !IsIconic(dialog)) requestStripRefresh();
      return TRUE;
    case WM_SHOWWINDOW:
      onCueShown(wParam != 0);
      return FALSE;
    case WM_NOTIFY:
      if (wParam != IDC_CUE_WAVE) return FALSE;
      onStripNotify((const WaveStripNotify*)lParam);
      return TRUE;
    case WM_MOUSEWHEEL:
      return wheelOnStrip(wParam, lParam) ? TRUE : FALSE;
    case CAPTURE_SHOW_CUE:
      showCue(wParam != 0);
      return TRUE;
    case CAPTURE_COPY_SOON:
      armCopyTimer();
      return TRUE;
    case CAPTURE_SAY:  // what a snap found
      SetDlgItemTextW(dialog, IDC_CUE_STATUS, (const wchar_t*)lParam);
      return TRUE;
    case CAPTURE_DECODE_PROGRESS:
      if (gCue.stripTimer) requestStripRefresh();
      return TRUE;
    case CAPTURE_COPY_DONE:
      requestCopyDone((DWORD)wParam, lParam);
      return TRUE;
    case CAPTURE_RETRY:
      if (wParam == 0) requestNotices();
      else onCueCommand(LOWORD(wParam), BN_CLICKED);
      return TRUE;
    default:
      return FALSE;
  }
}
