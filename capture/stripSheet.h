// What the Cue window's strip reads of the sheet: the caret's mark and the recording it belongs
// to, and the marks of a recording. The editor's text is read again only when it changed, its
// caret moved or another file plays: the strip asks ten times a second, and a sheet of
// thousands of tracks takes milliseconds to read.
#pragma once

#include <cstddef>

#include "../base/limits.h"

struct CaretMark {
  bool found;
  long long frames;
  size_t timeAt;          // where its time stands in the text
  char path[kPathBytes];  // its recording (see recordingOf), empty when not known
};

// The editor's text changed: what was read of it is forgotten.
void stripSheetChanged();

// The caret's mark; playing is the player's current entry (UTF-8 path).
const CaretMark& caretMarkFor(const char* playing);

// The INDEX 01 times within [from, to] of the tracks whose recording is path, in the sheet's
// order, into marks (at most most); current gets the index of the caret's mark among them, or
// -1. Returns how many.
int marksOfRecording(const char* path, const char* playing, long long from, long long to, long long* marks, int most,
                     int* current);

// Frees what was read.
void forgetStripSheet();
