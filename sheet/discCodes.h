// The codes a CD carries, as a cue sheet writes them: a track's ISRC, the disc's catalog number
// (EAN-13 or UPC-A with a leading 0), and the CD-TEXT a TITLE, PERFORMER or SONGWRITER becomes.
#pragma once

#include <cstddef>

#include "sheetWords.h"

// Whether text is an ISRC: 12 characters, 2 letters (the country), 3 letters or digits (the
// registrant), 2 digits (the year), 5 digits, letters in capitals: GBAYE0400001.
bool isIsrc(Span text);

// Whether text is 13 digits.
bool isThirteenDigits(Span text);

// The EAN-13 check digit of 13 digits: the last digit they should end in, from the first 12
// weighted 1, 3, 1, 3...
char catalogCheckDigit(Span digits);

const size_t kCdTextCharsMax = 80;

// What keeps a text (UTF-8) from being CD-TEXT: nothing (length 0), or the first character
// outside Latin-1 (U+0000 to U+00FF; invalid UTF-8 counts as outside), and the number of
// characters in chars.
Span cdTextProblem(Span text, size_t* chars);
