// What the check for burning a CD needs to know of a sheet's recordings besides its text: each
// FILE line's file, its WAV header, and the length the player gives for the one that plays.
#pragma once

#include <cstddef>

#include "../sheet/audioFacts.h"

const unsigned kCdFilesMax = 99;  // FILE blocks looked at: a CD holds at most 99 tracks

struct SheetAudioFacts {
  AudioFacts files[kCdFilesMax];
  CdFacts cd;  // points into files
};

// Fills facts for the sheet (text, length bytes) as it would be saved now; utf8Text: the file's
// text is written as UTF-8.
void gatherCdFacts(const char* text, size_t length, bool utf8Text, SheetAudioFacts* facts);
