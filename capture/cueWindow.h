// The Cue window (dialog 104): the cue-sheet editor with Reset, Save, Listen, Earlier and Later,
// and the waveform strip under it.
#pragma once

#include <windows.h>

// Made hidden at start-up, destroyed at quit.
HWND createCueWindow(HINSTANCE module);
void destroyCueWindow();

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// How soon after a hand edit its recovery copy is written.
const UINT_PTR RECOVERY_TIMER_ID = 1;
const UINT kRecoveryDelayMs = 2000;
// How often the strip is brought up to date while the window shows (the caret, the play
// position): a CD frame is 13 ms, a column of the strip at its widest about 20 ms.
const UINT_PTR STRIP_TIMER_ID = 2;
const UINT kStripTickMs = 100;
