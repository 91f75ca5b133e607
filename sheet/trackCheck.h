// The sheet check's rules of whole tracks and files, read with the sheet's one track reader
// (sheetTracks.h): where the first track starts, and for a CD each track's length, the disc's
// length and the audio a burner leaves out.
#pragma once

#include <cstddef>

#include "audioFacts.h"
#include "sheetProblems.h"

// Adds the problems of the tracks of text (length bytes) to result; the CD rules only with cd.
void checkTracks(const char* text, size_t length, const CdFacts* cd, SheetCheck* result);
