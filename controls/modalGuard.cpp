// One modal loop of ours at a time, noted while it runs and closed at shutdown.
#include "modalGuard.h"

namespace {

struct ModalState {
  bool open;
  bool abandoned;  // shutdown came while it was open
  HWND window;     // the box's own window, once created
  HHOOK watch;     // notes the first top-level window made while the box opens
};

ModalState gModal = {false, false, nullptr, nullptr};

// The dialog class, by its atom or its name.
const ULONG_PTR kDialogClassAtom = 32770;
const char kDialogClassName[] = "#32770";

bool isDialogClass(LPCSTR name) {
  if (!name) return false;
  if ((ULONG_PTR)name <= 0xFFFF) return (ULONG_PTR)name == kDialogClassAtom;
  return lstrcmpiA(name, kDialogClassName) == 0;
}

// The box is the first top-level dialog made after it was asked for; helper windows that a
// dialog may make first are not it.
LRESULT CALLBACK watchProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && gModal.open && !gModal.window) {
    const CBT_CREATEWNDA* created = (const CBT_CREATEWNDA*)lParam;
    if (created && created->lpcs && !(created->lpcs->style & WS_CHILD) &&
        isDialogClass(created->lpcs->lpszClass))
      gModal.window = (HWND)wParam;
  }
  return CallNextHookEx(gModal.watch, code, wParam, lParam);
}

bool enter() {
  if (gModal.open) return false;
  gModal.open = true;
  gModal.abandoned = false;
  gModal.window = nullptr;
  gModal.watch = SetWindowsHookExA(WH_CBT, watchProc, nullptr, GetCurrentThreadId());
  return true;
}

void stopWatching() {
  if (gModal.watch) UnhookWindowsHookEx(gModal.watch);
  gModal.watch = nullptr;
}

// Ends the loop; the box's answer, or MODAL_ABANDONED after a shutdown.
int leave(int answer) {
  stopWatching();
  bool abandoned = gModal.abandoned;
  gModal.open = false;
  gModal.abandoned = false;
  gModal.window = nullptr;
  return abandoned ? MODAL_ABANDONED : answer;
}

}  // namespace

bool modalOpen() { return gModal.open; }

int guardedMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (!enter()) return MODAL_REFUSED;
  int answer = MessageBoxA(owner, text, caption, type);
  return leave(answer);
}

int guardedSaveDialog(OPENFILENAMEA* request) {
  if (!enter()) return MODAL_REFUSED;
  BOOL chosen = GetSaveFileNameA(request);
  return leave(chosen ? 1 : MODAL_REFUSED);
}

bool closeModalForShutdown() {
  if (!gModal.open) return false;
  gModal.abandoned = true;
  stopWatching();
  // Both message boxes and the common dialogs are dialog-manager loops: ending the dialog
  // makes the call return as soon as control is back in its loop.
  if (gModal.window && IsWindow(gModal.window)) EndDialog(gModal.window, IDCANCEL);
  return true;
}
