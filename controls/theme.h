// Optional visual-style calls, loaded from uxtheme.dll by name on each use.
#pragma once

#include <windows.h>

const DWORD kThemeTextureEnableTab = 6;  // ETDT_ENABLETAB

// Each returns the library function's result, or -1 (false for the query) when uxtheme.dll or
// the function is missing.
long enableThemeDialogTexture(HWND window, DWORD flags);
bool isThemeDialogTextureEnabled(HWND window);
long drawParentBackground(HWND window, HDC dc, const RECT* rect);
