// Change points: where one sound gives way to another without a silence between (a cut, a
// jingle), as a peak of the frames' spectral change that stands out from the frames around it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frameFeatures.h"

// The frame in [first, last] of the first frames of track whose change is the highest peak (no
// frame within 6 frames higher; the earliest of equals), if it is not silent (loudness at least
// silence) and its change stands out from the frames [from, to) that lie farther from it than
// kBandChangeSpanFrames; -1 otherwise.
long long strongestChange(const FeatureTrack& track, size_t frames, uint8_t silence, long long first,
                          long long last, long long from, long long to);
