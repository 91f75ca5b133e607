// The Cue window (dialog 104): the cue-sheet editor with Reset, Save, Listen, Earlier and Later.
#pragma once

#include <windows.h>

HWND createCueWindow(HINSTANCE module);
void destroyCueWindow();
HWND cueWindow();
HWND cueEditor();
void showCueWindow();
// Shows it and brings it to the front, as the Show cue sheet action does.
void bringCueWindowUp();

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
