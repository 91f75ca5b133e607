// One modal loop of ours at a time, noted while it runs and closed at shutdown.
#include "modalGuard.h"

#include "../base/platformText.h"

namespace {

// A message to post once the box has closed.
struct AfterModal {
  HWND window;
  UINT message;
  WPARAM wParam;
};

struct ModalState {
  bool open;
  bool abandoned;  // shutdown came while it was open
  HWND window;     // the box's own window, once created
  HHOOK watch;     // notes the first top-level window made while the box opens
  AfterModal after[kAfterModalMax];
  int afterCount;
};

ModalState gModal = {false, false, nullptr, nullptr, {}, 0};

// The dialog class, by its atom or its name.
const ULONG_PTR kDialogClassAtom = 32770;
const wchar_t kDialogClassName[] = L"#32770";

bool isDialogClass(LPCWSTR name) {
  if (!name) return false;
  if ((ULONG_PTR)name <= 0xFFFF) return (ULONG_PTR)name == kDialogClassAtom;
  return lstrcmpiW(name, kDialogClassName) == 0;
}

// The box is the first top-level dialog made after it was asked for; helper windows that a
// dialog may make first are not it.
LRESULT CALLBACK watchProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && gModal.open && !gModal.window) {
    const CBT_CREATEWNDW* created = (const CBT_CREATEWNDW*)lParam;
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
  gModal.watch = SetWindowsHookExW(WH_CBT, watchProc, nullptr, GetCurrentThreadId());
  return true;
}

void stopWatching() {
  if (gModal.watch) UnhookWindowsHookEx(gModal.watch);
  gModal.watch = nullptr;
}

// Ends the loop; the box's answer, or MODAL_ABANDONED after a shutdown. What waited for the box
// is posted now (nothing after a shutdown).
int leave(int answer) {
  stopWatching();
  bool abandoned = gModal.abandoned;
  gModal.open = false;
  gModal.abandoned = false;
  gModal.window = nullptr;
  for (int i = 0; i < gModal.afterCount && !abandoned; ++i)
    PostMessageA(gModal.after[i].window, gModal.after[i].message, gModal.after[i].wParam, 0);
  gModal.afterCount = 0;
  return abandoned ? MODAL_ABANDONED : answer;
}

// Whether the player's loop ended while the dialog was open: its WM_QUIT is back in the queue.
bool quitCame() {
  MSG quit;
  return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Whether a path names a place of its own: a drive and a root ("C:\...") or a share ("\\server").
bool isFullPath(const wchar_t* path) {
  if (!path || !path[0]) return false;
  bool letter = (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
  if (letter) return path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  return (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
}

}  // namespace

bool modalOpen() { return gModal.open; }

int guardedMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  wchar_t* wideText = newWideText(text);
  wchar_t* wideCaption = newWideText(caption);
  int answer = MODAL_REFUSED;
  if (wideText && wideCaption && enter()) answer = leave(MessageBoxW(owner, wideText, wideCaption, type));
  if (wideText) GlobalFree(wideText);
  if (wideCaption) GlobalFree(wideCaption);
  return answer;
}

namespace {

typedef BOOL(WINAPI* FileDialogProc)(OPENFILENAMEW*);

// The common dialogs' library is loaded when a file dialog is first opened, not with the
// plug-in: loading it takes longer than everything else the player's start waits for.
FileDialogProc fileDialogProc(const char* name) {
  HMODULE dialogs = GetModuleHandleW(L"comdlg32.dll");
  if (!dialogs) dialogs = LoadLibraryW(L"comdlg32.dll");  // stays loaded with the process
  return dialogs ? (FileDialogProc)(void*)GetProcAddress(dialogs, name) : nullptr;
}

int guardedFileDialog(OPENFILENAMEW* request, FileDialogProc dialog) {
  if (!dialog || !enter()) return MODAL_REFUSED;
  BOOL chosen = dialog(request);
  // A dialog ended by the loop's end may hand back a bare name, which would land in whatever
  // folder is current: only a full path chosen by the user counts.
  if (chosen && (quitCame() || !isFullPath(request->lpstrFile))) chosen = FALSE;
  return leave(chosen ? 1 : MODAL_REFUSED);
}

}  // namespace

int guardedSaveDialog(OPENFILENAMEW* request) { return guardedFileDialog(request, fileDialogProc("GetSaveFileNameW")); }
int guardedOpenDialog(OPENFILENAMEW* request) { return guardedFileDialog(request, fileDialogProc("GetOpenFileNameW")); }

bool postAfterModal(HWND window, UINT message, WPARAM wParam) {
  if (!gModal.open) return false;
  for (int i = 0; i < gModal.afterCount; ++i)
    if (gModal.after[i].window == window && gModal.after[i].message == message && gModal.after[i].wParam == wParam)
      return true;
  if (gModal.afterCount == kAfterModalMax) return false;
  gModal.after[gModal.afterCount++] = AfterModal{window, message, wParam};
  return true;
}


bool closeModalForShutdown() {
  if (!gModal.open) return false;
  gModal.abandoned = true;
  gModal.afterCount = 0;
  stopWatching();
  // Both message boxes and the common dialogs are dialog-manager loops: ending the dialog
  // makes the call return as soon as control is back in its loop.
  if (gModal.window && IsWindow(gModal.window)) EndDialog(gModal.window, IDCANCEL);
  return true;
}
