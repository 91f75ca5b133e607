// Placing a new entry into a cue sheet's text: in time order within a FILE block, its tracks
// numbered 1, 2, 3... across the whole sheet, and the sheet's first track starting at the
// beginning of its file (INDEX 00 00:00:00 before a later INDEX 01). No window, no file.
#pragma once

#include <cstddef>

#include "textEdit.h"

// Where an entry goes.
struct EntryTarget {
  int fileBlock;            // index (from 0) of the FILE block the entry goes into, in time order
                            // within it (one past the last: the last); -1: a new FILE block at
                            // the end of the sheet
  const char* newFileLine;  // with fileBlock -1: the FILE line (no line break), put at the end
                            // of the sheet before the entry
};

// How many edits placeEntry may write for this sheet, and how many bytes the placed text (the
// entry with its line breaks, and the header or the new FILE line) may take.
size_t placementEditsMax(const char* sheet, size_t length);
size_t placedTextBytes(size_t headerLength, size_t entryLength, size_t fileLineLength);

struct EntryPlacement {
  bool ordered;    // sheet and entry were recognised: the entry stands in time order, numbered
  bool atEnd;      // the only edit adds placed at the end of the sheet
  int tracks;      // TRACK lines afterwards when ordered
  int nextNumber;  // when ordered, the number a further track takes after the last
};

// Places a formatted entry into the sheet. With a header (the first entry of a sheet), the
// sheet becomes header, CR LF, entry, after any text it held (a sheet of blanks only is
// replaced), whatever the target. Without one, when every track of the sheet and the entry
// carry a TRACK number and a valid INDEX 01 (in the FILE block of the TRACK line), the entry goes
// into the target's FILE block before its first track that starts later (after any that start at
// the same time; at the block's end when none does), or at the end after the new FILE line;
// every TRACK line is numbered on from the first track's number (1 to 99, else 1; a later disc's
// sheet keeps TRACK 05), at least two digits, in sheet order, and only the sheet's first track
// carries INDEX 00 00:00:00, when its INDEX 01 is later. Otherwise the entry is added as it
// stands at the end of the target's FILE block (at the sheet's end, after CR LF and the new FILE
// line for fileBlock -1), with no other change. Every other line stays as it is, where it is.
// placed (placedBytes, see placedTextBytes) receives the inserted text, which the edits point
// to; edits (at most editsMax, sorted, not overlapping) receive the changes. Returns the number
// of edits.
size_t placeEntry(const char* sheet, size_t length, const char* header, const char* entry,
                  const EntryTarget& target, char* placed, size_t placedBytes, TextEdit* edits,
                  size_t editsMax, EntryPlacement* placement);
