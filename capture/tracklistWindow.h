// The Tracklist window (dialog 110): tracks pasted one a line, marked one by one by the hot key
// without stopping the music, and a line saying what the next mark takes.
#pragma once

#include <windows.h>

// Made hidden at start-up, destroyed at quit.
HWND createTracklistWindow(HINSTANCE module);
void destroyTracklistWindow();

INT_PTR CALLBACK TracklistDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
