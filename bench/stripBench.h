// The waveform strip's drawing time: whole paints of a strip showing 60 s either side, the most
// frames a column can cover.
#pragma once

struct StripPaintTime {
  double median;  // microseconds
  double worst;
};

// Paints a strip width x height pixels repeats times, each after a change of its data.
StripPaintTime measureStripPaint(int width, int height, int repeats);
