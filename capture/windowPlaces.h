// Where the Cue, Tracklist and Info windows stand: side by side when first made, so that none
// hides another, and where the user left them at the next start.
#pragma once

#include <windows.h>

// Moves the three windows (by LaidOutWindow order: Cue, Tracklist, Info; any may be null) to
// where the user left them, when that still lies on a screen, else side by side on the screen
// of the player's window.
void placeCaptureWindows(HWND cue, HWND tracklist, HWND info, HWND player);

// Notes in the settings where the windows stand, for those the user moved or resized.
void rememberWindowPlaces(HWND cue, HWND tracklist, HWND info);
