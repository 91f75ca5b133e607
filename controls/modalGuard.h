// Our modal loops (message boxes, the Save As dialog) run the host's messages while they wait,
// so the host may shut us down, and even unload us, inside one. Every modal box goes through
// this guard: it knows when one is open, refuses a second, and at shutdown closes the open one
// and tells the caller to keep the module loaded, since the box's caller returns into it.
#pragma once

#include <windows.h>

#include <commdlg.h>

// Results besides the box's own answer.
const int MODAL_REFUSED = 0;     // not shown: another of our boxes is open, or it failed
const int MODAL_ABANDONED = -1;  // shut down while it was open: return at once, touch nothing

// Whether one of our modal boxes or dialogs is open on this thread.
bool modalOpen();

// A message box (text and caption UTF-8) through the guard: the button pressed, MODAL_REFUSED
// or MODAL_ABANDONED. The owner waits for it while it is open.
int guardedMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// GetSaveFileNameW through the guard: 1 when a full path was chosen, MODAL_REFUSED when
// cancelled or refused, MODAL_ABANDONED. The player's loop ending while the dialog is open
// counts as Cancel, and so does a name that is not a full path (a drive or a share).
int guardedSaveDialog(OPENFILENAMEW* request);
// GetOpenFileNameW through the guard, alike.
int guardedOpenDialog(OPENFILENAMEW* request);

// Different messages that may wait for one box: a window asks each of its actions once (the same
// one again waits once), so this is more than any window has actions.
const int kAfterModalMax = 16;

// Posts message (with wParam) to window once the open box has closed, in the order asked; the
// same message asked again waits once. False when no box is open, or when the box already has
// kAfterModalMax different messages waiting (the message is then not posted).
// An action the user asked for while a box was open is carried out after it, not dropped.
bool postAfterModal(HWND window, UINT message, WPARAM wParam);

// At shutdown: closes the open box, if any, and returns whether one was open. The module must
// then stay loaded until that box's caller has returned.
bool closeModalForShutdown();
