// The "LUMO" page of the player's preferences dialog.
#pragma once

#include <windows.h>

INT_PTR CALLBACK PrefsPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
