// Change points from the frames' spectral change.
#include "changePoints.h"

#include "bandChange.h"

namespace {

const int kAroundPercentile = 90;     // the change around a candidate: this percentile
const int kStandOutPercent = 200;     // a change point's change, at least this much of it
const int kChangeMinSteps = 4 * kChangeStepsPerDb;  // and at least 4 dB
const long long kPeakFrames = 6;     // a peak: no frame this near is higher

long long distance(long long a, long long b) { return a > b ? a - b : b - a; }

}  // namespace

long long strongestChange(const FeatureTrack& track, size_t frames, uint8_t silence, long long first,
                          long long last, long long from, long long to) {
  long long n = (long long)frames;
  if (from < 0) from = 0;
  if (to > n) to = n;
  if (first < from) first = from;
  if (last >= to) last = to - 1;
  // The highest peak: a frame whose change no frame within kPeakFrames exceeds, so that the
  // slope of a peak outside [first, last] is none.
  long long best = -1;
  int bestChange = 0;
  for (long long f = first; f <= last; ++f) {
    const FrameFeature& x = featureAt(track, (size_t)f);
    if (x.change <= bestChange || x.loudness < silence) continue;
    bool peak = true;
    for (long long g = f - kPeakFrames; peak && g <= f + kPeakFrames; ++g)
      peak = g < 0 || g >= n || featureAt(track, (size_t)g).change <= x.change;
    if (peak) {
      best = f;
      bestChange = x.change;
    }
  }
  if (best < 0 || bestChange < kChangeMinSteps) return -1;
  size_t histogram[kFeatureLevels] = {}, around = 0;
  for (long long f = from; f < to; ++f) {
    if (distance(f, best) <= (long long)kBandChangeSpanFrames) continue;
    ++histogram[featureAt(track, (size_t)f).change];
    ++around;
  }
  return bestChange * 100 >= percentileOf(histogram, around, kAroundPercentile) * kStandOutPercent ? best : -1;
}
