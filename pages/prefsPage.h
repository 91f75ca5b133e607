// The "LUMO" page of the player's preferences dialog.
#pragma once

#include <windows.h>

INT_PTR CALLBACK PrefsPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the page if the player still shows it, so none of its code runs after shutdown.
void closePrefsPage();
