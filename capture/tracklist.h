// The tracklist: tracks pasted one a line, which the hot key marks one by one at the moment of the
// key press, without pausing and without the Info window. Its text (UTF-8) is what the Tracklist
// window holds.
#pragma once

#include <cstddef>

#include "../sheet/tracklistText.h"

// The tracklist's text, as the window holds it; empty at start.
void setTracklistText(const char* text, size_t length);
const char* tracklistText();  // never null
size_t tracklistLength();
// Lines that are not blank: the tracks still to be marked.
size_t tracklistCount();

// Takes the first track off the tracklist: line gets what it says, *taken the line's own text in
// global memory (free it with GlobalFree), so that it can be put back. False, and nothing taken,
// when the tracklist holds none or memory is short.
bool takeTracklistLine(TracklistLine* line, char** taken);
// Puts a line back at the top.
void putBackTracklistLine(const char* taken);
// Takes the first line off again when it is taken (what takeTracklistLine gave); else leaves
// the tracklist as it is.
void dropTracklistLine(const char* taken);

// "Next: Performer - Title" for the first track (lastPerformer for a line that names none), or
// "Next: the Info window" when the tracklist is empty; into out (outBytes).
void nextMarkLabel(const char* lastPerformer, char* out, size_t outBytes);

// Frees the text, at quit.
void clearTracklist();
