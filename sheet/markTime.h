// Where the mark of the caret's track stands in a cue sheet's text.
#pragma once

#include <cstddef>

// The mark of the caret's track: the INDEX 01 of the track whose TRACK line is the last at or
// above the caret (up to the next TRACK or FILE line), or, in a sheet without TRACK lines, the
// nearest INDEX line at or above the caret. Its file is the FILE line last before it.
struct MarkTime {
  size_t timeAt;
  size_t timeLength;
  long long frames;
  size_t fileNameAt;      // that FILE line's file name, without quotes
  size_t fileNameLength;  // 0 when no FILE line stands before the mark
};
