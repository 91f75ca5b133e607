// What the stand-in player prints for a script that drives it with real mouse and keyboard
// input (--demo): where the controls of each window are when it appears, what the plug-in's
// windows hold as it changes, which field has the keyboard focus and what it holds, the text on
// the clipboard, the INDEX 01 times of the Cue editor's sheet, where a mark goes on the audio,
// the range the waveform strip shows, how far the decode service has read, the windows that went
// away, and the player's events with their times. One line a report, its first word saying what it is;
// the script waits for a line instead of waiting a fixed time.
#pragma once

#include <windows.h>

#include <string>

#include "standInPlayer.h"

// Reports on this player from now on (event times count from now); seekField is the main
// window's seek field, which the focus reports name.
void startReports(StandInPlayer& player, HWND seekField);

// Prints what changed since the last call.
void reportChanges();

// Prints an EVENT line for an event of the player's log a listener cares about (hot keys, play
// and pause, jumps, position requests).
void reportEvent(const std::string& event);

// Prints an EVENT line whatever the event.
void sayEvent(const std::string& event);

// Prints a line and flushes it.
void say(const std::string& line);

// "x,y": the centre of a window on the screen.
std::string centreOf(HWND window);
