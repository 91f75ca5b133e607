// The spectral change at a frame: how far the band levels of the frames just after it stand
// from those of the frames just before it, each side weighted towards the frame. Frames of sound
// only: a side with too little sound gives no change, so that sound out of silence is left to the
// silence rule. A frame's change is known once kBandChangeSpanFrames - 1 frames after it are in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bandSpectrum.h"

const size_t kBandChangeSpanFrames = 25;  // a third of a second each side
const float kBandChangeSoundDb = -60;     // quieter frames count as no sound

struct BandChange {
  float levels[2 * kBandChangeSpanFrames][kBandCount];  // of the last frames pushed, by frame % size
  bool sound[2 * kBandChangeSpanFrames];
  size_t bands;     // used in levels
  uint64_t pushed;  // frames pushed
};

void bandChangeInit(BandChange* change, size_t bands);

// Takes the next frame's band levels (bands of them) and whether it is sound.
void bandChangePush(BandChange* change, const float* levels, bool sound);

// The change byte of frame (changeDb() gives dB): frame must be at least pushed - kBandChangeSpanFrames
// and below pushed. Frames not yet pushed count as missing, as at the end of the audio.
uint8_t bandChangeAt(const BandChange* change, uint64_t frame);
