// The spectral change of a frame, from the band levels of the frames around it.
#include "bandChange.h"

#include <cmath>
#include <cstring>

#include "frameFeatures.h"

namespace {

const size_t kRing = 2 * kBandChangeSpanFrames;

// The weighted mean band levels of the frames at distance 1..kBandChangeSpanFrames from frame on
// one side (after includes frame itself at distance 1). False when less than half the weight
// falls on frames of sound.
bool sideLevels(const BandChange* n, uint64_t frame, bool after, float* mean) {
  float weights = 0, full = 0;
  for (size_t b = 0; b < n->bands; ++b) mean[b] = 0;
  for (size_t d = 1; d <= kBandChangeSpanFrames; ++d) {
    float w = (float)(kBandChangeSpanFrames + 1 - d);
    full += w;
    uint64_t f = after ? frame + d - 1 : frame - d;
    if (after ? f >= n->pushed : frame < d) continue;
    size_t at = (size_t)(f % kRing);
    if (!n->sound[at]) continue;
    weights += w;
    for (size_t b = 0; b < n->bands; ++b) mean[b] += w * n->levels[at][b];
  }
  if (weights * 2 < full) return false;
  for (size_t b = 0; b < n->bands; ++b) mean[b] /= weights;
  return true;
}

}  // namespace

void bandChangeInit(BandChange* n, size_t bands) {
  memset(n, 0, sizeof *n);
  n->bands = bands;
}

void bandChangePush(BandChange* n, const float* levels, bool sound) {
  size_t at = (size_t)(n->pushed % kRing);
  memcpy(n->levels[at], levels, n->bands * sizeof(float));
  n->sound[at] = sound;
  ++n->pushed;
}

uint8_t bandChangeAt(const BandChange* n, uint64_t frame) {
  float before[kBandCount], after[kBandCount];
  if (n->bands == 0 || !sideLevels(n, frame, false, before) || !sideLevels(n, frame, true, after)) return 0;
  float distance = 0;
  for (size_t b = 0; b < n->bands; ++b) distance += fabsf(after[b] - before[b]);
  float steps = distance / n->bands * kChangeStepsPerDb + 0.5f;
  return steps >= 255 ? 255 : (uint8_t)steps;
}
