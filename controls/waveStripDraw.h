// The picture of a waveform strip, drawn pixel by pixel into a 32-bit top-down bitmap: the
// envelope, the parts outside the file or not read yet, and the lines and markers on it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../audio/stripScale.h"

struct FrameList {
  long long* frames;  // owned by the strip's state
  int count;
};

struct WaveStripPicture {
  StripScale scale;
  const signed char* minMax;  // frame n's minimum at minMax[n * stride], its maximum next
  size_t stride;
  long long available;  // frames of minMax filled so far
  bool waveShown;       // false: a status text stands where the wave would be
  FrameList marks;
  int currentMark;  // index in marks, -1: none
  FrameList silenceEnds;
  FrameList changePoints;
  long long playPosition;  // negative: none
};

// Fills pixels (scale.width * height values, 0x00RRGGBB, rows top down) with the picture.
void drawWaveStrip(const WaveStripPicture& picture, uint32_t* pixels, int height);
