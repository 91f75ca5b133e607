// Reading a pasted track list: one track a line, its leading bullet, number or time dropped, split
// into performer and title at its first separator (a dash between blanks, else a dash with a
// blank on one side, else a TAB).
#pragma once

#include <cstddef>

#include "../base/utf8Text.h"

const size_t kTrackFieldChars = 255;  // characters of a performer or a title, whole ones
const size_t kTrackFieldBytes = kTrackFieldChars * kUtf8CharBytesMax + 1;  // in UTF-8, the NUL too

struct TracklistLine {
  char performer[kTrackFieldBytes];  // empty when the line names no performer
  char title[kTrackFieldBytes];
  bool hasPerformer;  // the line held a separator
};

// Reads one line (length bytes of UTF-8, not terminated; a line break reads as a blank) into
// out. Dropped from its start, each at most once and followed by any dash standing alone:
// - a bullet ("-", "*", U+2022 and the like) followed by a blank;
// - a track number: "01.", "1)", "A1." or "B2)" (a vinyl side A to H), "#7"; a bare number of 1 to
//   3 digits followed by a dash standing alone ("12 - Artist - Title"), or with a leading zero
//   ("03 Artist - Title"), or, in a numbered list (numberedList), any bare number; a side "B2"
//   followed by a blank when a separator comes later;
// - a time: "[00:12]", "(0:00)", "1:02:03".
// When nothing would be left, nothing is dropped. The rest, trimmed, is split at its first
// separator: a dash (hyphen-minus, U+2010 to U+2015, U+2212, small and full-width hyphen-minus)
// with blanks on both sides; else one with a blank on one side and text on the other
// ("Artist -Title"); else a TAB between two words. Blanks are spaces, TABs, line breaks and
// other control characters, U+00A0 and U+FEFF; each is a space inside the fields. Invalid UTF-8
// becomes U+FFFD. Each field is cut to kTrackFieldChars characters. False for a blank line.
bool readTracklistLine(const char* line, size_t length, TracklistLine* out, bool numberedList = false);

// Whether a list is numbered without marks: two lines in a row (blank lines aside) start with the
// numbers n and n + 1 followed by a blank, so that a bare number at a line's start is a track
// number ("1 Jay-Z - 99 Problems"), not part of a name ("50 Cent - In Da Club").
bool isNumberedTracklist(const char* text, size_t length);

// The first line of text (length bytes; CR LF, LF or a lone CR end a line) that is not blank:
// where it starts, where it ends before its line break, and where the line after it starts, so
// that the caller can remove it. False when every line is blank.
bool firstTracklistLine(const char* text, size_t length, size_t* lineStart, size_t* lineEnd, size_t* nextLine);

// The number of lines of text that are not blank.
size_t countTracklistLines(const char* text, size_t length);
