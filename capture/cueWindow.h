// The Cue window (dialog 104): the cue-sheet editor with Reset, Save, Listen, Earlier and Later.
#pragma once

#include <windows.h>

// Made hidden at start-up, destroyed at quit.
HWND createCueWindow(HINSTANCE module);
void destroyCueWindow();

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// How soon after a hand edit its recovery copy is written.
const UINT_PTR RECOVERY_TIMER_ID = 1;
const UINT kRecoveryDelayMs = 2000;
