// Edits of a cue sheet's text: the mark of the caret's track and moving it, and placing a new
// entry in time order with its tracks numbered 1, 2, 3... and the first track starting at the
// beginning of the file (INDEX 00 00:00:00 before a later INDEX 01). No window, no file: the
// capture code applies the edits to the Cue window's editor.
#pragma once

#include <cstddef>

const size_t kEditTextBytes = 96;  // an edit's own text: a number, an INDEX 00 line, a time

// One change: removeLength characters at `at` (in the text before any edit) give way to a text,
// the edit's own or, when external is set, that one.
struct TextEdit {
  size_t at;
  size_t removeLength;
  const char* external;
  size_t externalLength;
  char own[kEditTextBytes];
  size_t ownLength;
};

const char* editText(const TextEdit& edit);
size_t editLength(const TextEdit& edit);

// Edits are sorted by position and do not overlap. Where a position of the text before them
// stands afterwards: shifted by what they add and remove before it; a position inside a
// replaced stretch stays as far from the end of what replaced it, never before its start (a
// caret in a rewritten time keeps its place, also under an INDEX 00 line added above).
size_t mapThroughEdits(size_t position, const TextEdit* edits, size_t count);

// The length of the text after the edits, and that text written to out (outBytes in all, cut to
// fit and terminated); returns the length written.
size_t editedLength(size_t length, const TextEdit* edits, size_t count);
size_t applyEdits(const char* text, size_t length, const TextEdit* edits, size_t count, char* out,
                  size_t outBytes);

// The mark of the caret's track: the INDEX 01 of the track the caret stands in (from its TRACK
// line up to the next), or, in a sheet without TRACK lines, the nearest INDEX line at or above
// the caret. False when there is none, or its time is not a valid cue time.
struct MarkTime {
  size_t timeAt;
  size_t timeLength;
  long long frames;
};
bool findMark(const char* text, size_t length, size_t caret, MarkTime* mark);

// Moves the caret's mark by deltaFrames, never below 00:00:00, as one edit (one undo step): the
// time rewritten in place, and for the first track an INDEX 00 00:00:00 line added before an
// INDEX 01 that moves past the start, or removed when it moves back to it. False without a
// mark; newFrames gets the new time.
bool nudgeMark(const char* text, size_t length, size_t caret, long long deltaFrames,
               TextEdit* edit, long long* newFrames);

// TRACK lines in a sheet; empty is set for a text of blanks and line breaks only (a new sheet).
int countTracks(const char* text, size_t length, bool* empty);

// How many edits placeEntry may write for this sheet, and how many bytes the placed text (the
// entry with its line break, or header, line break and entry for a new sheet) may take.
size_t placementEditsMax(const char* sheet, size_t length);
size_t placedTextBytes(size_t headerLength, size_t entryLength);

struct EntryPlacement {
  bool ordered;  // sheet and entry were recognised: the entry stands in time order, numbered
  bool atEnd;    // the only edit adds placed at the end of the sheet
  int tracks;    // TRACK lines afterwards when ordered
};

// Places a formatted entry into the sheet. With a header (the first entry of a sheet), the
// sheet becomes header, CR LF, entry, after any text it held (a sheet of blanks only is
// replaced). Without one, when every track of the sheet and the entry carry a TRACK number and a valid INDEX
// 01, the entry goes before the first track that starts later (after any that start at the
// same time), every TRACK line is numbered 1, 2, 3... (at least two digits), and only the
// first track carries INDEX 00 00:00:00, when its INDEX 01 is later. Otherwise the entry is
// added at the end, after CR LF, with no other change. placed (placedBytes, see
// placedTextBytes) receives the inserted text, which the edits point to; edits (at most
// editsMax) receive the changes. Returns the number of edits.
size_t placeEntry(const char* sheet, size_t length, const char* header, const char* entry,
                  char* placed, size_t placedBytes, TextEdit* edits, size_t editsMax,
                  EntryPlacement* placement);
