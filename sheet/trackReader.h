// The tracks of a cue sheet as its readers see them: each TRACK block's TITLE, PERFORMER and
// INDEX 01 time, and the sheet's own TITLE and PERFORMER, read in place from the text.
#pragma once

#include <cstddef>

// Bytes of the sheet's text: the value of a TITLE or PERFORMER line, unquoted.
struct TextSpan {
  size_t at;
  size_t length;
};

// The sheet-level TITLE and PERFORMER: the last of each before the first TRACK line (empty when
// there is none).
struct SheetHeader {
  TextSpan title;
  TextSpan performer;
};

struct SheetTrack {
  TextSpan title;      // the block's last TITLE, empty when it has none
  TextSpan performer;  // the block's last PERFORMER, empty when it has none
  long long start;     // its first valid INDEX 01, in frames
};

// Where a walk over the tracks stands, and what it passed over. Start it zeroed ({}).
struct TrackWalk {
  size_t at;     // the next line to read
  int files;     // FILE lines read so far
  int leftOut;   // tracks whose INDEX 01 stands after a second FILE line
  int skipped;   // TRACK blocks without a valid INDEX 01
};

// Reads the sheet-level TITLE and PERFORMER of text (length bytes, not terminated; CR LF, LF or
// a lone CR end a line).
SheetHeader readSheetHeader(const char* text, size_t length);

// The next track of the first FILE block (tracks before any FILE line count as in it) that has a
// valid INDEX 01; false at the end, when walk's counts are complete. A value is the text between
// the first and the last double quote of its line (the rest of the line when no quote closes
// it), or else its first word.
bool nextSheetTrack(const char* text, size_t length, TrackWalk* walk, SheetTrack* track);
