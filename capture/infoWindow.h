// The Info window (dialog 105): asks for the title and performer of the marked track.
#pragma once

#include <windows.h>

HWND createInfoWindow(HINSTANCE module);
void destroyInfoWindow();
HWND infoWindow();
void showInfoWindow();
// Empties the title field after a commit; the performer field keeps its text.
void clearInfoTitle();

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
