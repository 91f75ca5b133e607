// Reading a pasted track list: one track a line, its leading number or time dropped, split into
// performer and title at the first dash (hyphen, en or em dash) standing between blanks.
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
// out: a leading track number ("01.", "1)") and a leading time ("[00:12]", "(0:00)", "1:02:03"),
// either followed by a separating dash, are dropped; the rest, trimmed, is split at its first
// dash (-, U+2013 or U+2014) with blanks on both sides. Blanks are spaces, TABs, line breaks and
// other control characters, U+00A0 and U+FEFF; each is a space inside the fields. Invalid UTF-8
// becomes U+FFFD. Each field is cut to kTrackFieldChars characters. False for a blank line.
bool readTracklistLine(const char* line, size_t length, TracklistLine* out);

// The first line of text (length bytes; CR LF, LF or a lone CR end a line) that is not blank:
// where it starts, where it ends before its line break, and where the line after it starts, so
// that the caller can remove it. False when every line is blank.
bool firstTracklistLine(const char* text, size_t length, size_t* lineStart, size_t* lineEnd, size_t* nextLine);

// The number of lines of text that are not blank.
size_t countTracklistLines(const char* text, size_t length);
