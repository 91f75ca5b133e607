// The mapping of a waveform strip: a time range in CD frames (1/75 s) across a row of columns,
// the zoom steps of its half-width, and the text that names the range.
#pragma once

#include <cstddef>

#include "../sheet/cueTime.h"

// The half-width, the time shown either side of the centre: 1 s to 60 s.
const long long kStripHalfLeast = 1 * kFramesPerSecond;
const long long kStripHalfMost = 60 * kFramesPerSecond;
// The range text: two cue times of up to twelve minute digits, an en dash and two blanks.
const size_t kStripRangeTextBytes = 64;

// The frames [first, first + frames) shown across width columns, of a file totalFrames long
// (0 while its length is not known). first may be negative and the range may run past the end:
// those columns show no sound.
struct StripScale {
  long long first;
  long long frames;  // at least 1
  int width;         // 0 or more
  long long totalFrames;
};

// The half-width held within kStripHalfLeast..kStripHalfMost.
long long clampStripHalf(long long halfFrames);

// The range centred on centre, halfFrames (clamped) either side; a negative width counts as 0.
StripScale stripAround(long long centre, long long halfFrames, int width, long long totalFrames);

// The column a frame falls in: -1 before the range, width past it (so at width 0 no frame is
// inside). Frame f starts at the column floor((f - first) * width / frames).
long long stripColumnOf(const StripScale& scale, long long frame);

// The frames a column touches, [*from, *to): at least one, also where a frame is wider than a
// column. The envelope of a column is drawn from these.
void stripColumnFrames(const StripScale& scale, int column, long long* from, long long* to);

// The frame a click on column means (the column held within the strip): the middle one of the
// frames that start in it, so that stripColumnOf gives the column back; where a frame is wider
// than a column and none starts in it, the frame drawn across it. Never below 0, nor past the
// file's last frame when its length is known. At width 0, the centre of the range.
long long stripFrameAt(const StripScale& scale, int column);

// The half-width after notches steps of the mouse wheel: positive zooms in (a shorter range),
// negative out, along 1, 2, 4, 8, 15, 30 and 60 s. A half-width between two steps moves to the
// neighbouring step in that direction first. Clamped to the limits.
long long stripZoomed(long long halfFrames, int notches);

// "MM:SS:FF – MM:SS:FF" (UTF-8, an en dash) for the part of the range inside the file: the start
// no earlier than 00:00:00, the end no later than the file's length when it is known. Returns the
// length, or 0 with out empty when the whole text does not fit outBytes.
size_t stripRangeText(const StripScale& scale, char* out, size_t outBytes);
