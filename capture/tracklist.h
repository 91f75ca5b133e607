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
// Whether the first track of the tracklist is the line taken (what takeTracklistLine gave).
bool tracklistStartsWith(const char* taken);
// Takes the first line off again when it is taken; else leaves the tracklist as it is.
void dropTracklistLine(const char* taken);

// Whether the tracklist was numbered without marks when it was last set (see
// isNumberedTracklist); taking lines off keeps it, so that its last line reads like the others.
bool tracklistNumbered();

// The tracks one by one as marks will read them: start with *at 0 and reading->performer the
// last performer used; each call reads the next track, its performer the line's own or, when it
// names none (inherited), the one before. False after the last.
struct TracklistReading {
  TracklistLine line;
  char performer[kTrackFieldBytes];
  bool inherited;
};
bool nextTracklistReading(size_t* at, TracklistReading* reading);

// What the first track will be, performer and title apart: 'Next: "Title" by Performer' (with
// " (as before)" for a performer taken from lastPerformer), 'Next: "Title"' without one, or
// "Next: the Info window" when the tracklist is empty; into out (outBytes).
void nextMarkLabel(const char* lastPerformer, char* out, size_t outBytes);

// Frees the text, at quit.
void clearTracklist();
