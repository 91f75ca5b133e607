// The Info window (dialog 105): asks for the title and performer of the marked track.
#pragma once

#include <windows.h>

// Made hidden at start-up, destroyed at quit.
HWND createInfoWindow(HINSTANCE module);
void destroyInfoWindow();

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
