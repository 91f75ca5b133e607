// A small user interface on the stand-in player's main window: the playlist entry, the
// position, Play and Pause, seeking, a Mark button besides the hot key, and Preferences.
// With reporting on, it prints where things are on screen whenever a window of interest
// appears, so a script can drive the session with real mouse and keyboard input.
#pragma once

#include "standInPlayer.h"

void buildPlayerUi(StandInPlayer& player, const char* hotkeyId, bool report);

// Parses "M:SS.fff" (minutes may pass 59) or plain seconds into milliseconds; -1 if invalid.
int parsePosition(const char* text);
