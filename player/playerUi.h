// A small user interface on the stand-in player's main window: the playlist entry, the
// position, Play and Pause, seeking, Next (the next playlist entry), a Mark button besides the
// hot key, and Preferences. With reporting on, it prints the reports of uiReport.h every tick
// and the events of its own controls (seek, Next), so a script can drive the session with real
// mouse and keyboard input and check it.
#pragma once

#include <string>

#include "standInPlayer.h"

void buildPlayerUi(StandInPlayer& player, const char* hotkeyId, bool report);

// The length in seconds the player gives a file: a WAV's own, from its header; any other file
// (the demo's placeholders) plays as a mix of 75 minutes.
int playingSeconds(const std::string& path);

// Text on one line, as the reports print it: its CR LF line breaks become " / ".
std::string oneLine(std::string text);

// Parses "M:SS.fff" (minutes may pass 59) or plain seconds into milliseconds; -1 if invalid.
int parsePosition(const char* text);
