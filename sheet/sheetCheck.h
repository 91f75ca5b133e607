// Checking a cue sheet's text against the rules that cue readers enforce, before it is saved.
#pragma once

#include <cstddef>

#include "audioFacts.h"
#include "sheetProblems.h"

// Whether the sheet must be checked: it holds a TRACK or an INDEX line (the word in any case,
// so that a sheet written in small letters is checked and told so). text is length bytes, not
// terminated.
bool sheetNeedsCheck(const char* text, size_t length);

// Checks a sheet of length bytes (not terminated; CR LF, LF or a lone CR end a line) against
// the rules real cue readers enforce, and with cd (not null) also against what a CD burner
// needs; fills result (problems 0: it keeps them all). Needs no memory beyond result and reads
// nothing past length.
void checkSheet(const char* text, size_t length, SheetCheck* result, const CdFacts* cd = nullptr);
