// Where the caret's mark stands in a cue sheet, and the INDEX times around it: what the nudge
// and the shift both start from.
#pragma once

#include <cstddef>

#include "markTime.h"
#include "sheetTracks.h"

const size_t kNoLine = (size_t)-1;

struct MarkFacts {
  MarkTime mark;
  SheetLine line;       // the mark's INDEX line
  bool inTrack;         // the sheet has TRACK lines, and track is the caret's
  TrackFacts track;
  bool first;           // that track is the sheet's first
  size_t ownPregapAt;   // where the first track's own INDEX 00 00:00:00 line starts; kNoLine
  size_t discStartAt;   // another INDEX 00 at 0 of the sheet's first track, which stays at the
                        // disc's start whatever moves; kNoLine
  BlockBounds block;    // the FILE block of the mark's line
};

// The mark of the caret's track (see MarkTime) and what stands around it; false without one.
bool findMarkFacts(const char* text, size_t length, size_t caret, MarkFacts* facts);

// The valid INDEX times of the mark's FILE block, the first track's own INDEX 00 00:00:00 line
// left out (another INDEX 00 at the disc's start counts as a time before any); each is -1 when
// there is none.
struct TimesAround {
  long long before;    // the last before position from
  long long after;     // the first after the mark's line
  long long earliest;  // the least and the greatest from position from on
  long long latest;
};
TimesAround timesAround(const char* text, const MarkFacts& facts, size_t from);

// Whether the line holds a valid INDEX time that moves with the marks (not the first track's
// INDEX 00 at the disc's start); index gets it.
bool movableIndex(const char* text, const MarkFacts& facts, const SheetLine& line, IndexLine* index);
