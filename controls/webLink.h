// "QevWebLink": a button that looks like a hyperlink (centred, blue, underlined, on the
// parent's background) and reacts to the mouse only over its text. Knows nothing of the plug-in.
#pragma once

#include <windows.h>

extern const char WEBLINK_CLASS[];

void registerWebLinkClass(HINSTANCE module);
void unregisterWebLinkClass(HINSTANCE module);

LRESULT CALLBACK WebLinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
