// Silence runs from the frames' loudness.
#include "silenceRuns.h"

namespace {

long long distance(long long a, long long b) { return a > b ? a - b : b - a; }

}  // namespace

uint8_t silenceThreshold(const FeatureTrack& track, size_t from, size_t to) {
  size_t histogram[kFeatureLevels] = {};
  for (size_t f = from; f < to; ++f) ++histogram[featureAt(track, f).loudness];
  int threshold = percentileOf(histogram, to - from, kLoudPercentile) - kSilenceBelowLoudDb * kLoudnessStepsPerDb;
  int ceiling = (kSilenceCeilingDb - kLoudnessFloorDb) * kLoudnessStepsPerDb;
  int floor = percentileOf(histogram, to - from, kFloorPercentile);
  int aboveFloor = floor + kSilenceAboveFloorDb * kLoudnessStepsPerDb;
  if (floor > 0 && aboveFloor <= ceiling && threshold < aboveFloor) threshold = aboveFloor;
  if (threshold > ceiling) threshold = ceiling;
  return (uint8_t)(threshold < 0 ? 0 : threshold);
}

long long nearestSilenceEnd(const FeatureTrack& track, size_t frames, uint8_t threshold, long long first,
                            long long last, long long target) {
  if (first < 0) first = 0;
  if (last >= (long long)frames) last = (long long)frames - 1;
  long long best = -1, run = 0, heard = 0;  // heard: frames of sound from target on
  long long from = first - kSilenceRunFrames;
  long long end = (long long)frames;
  for (long long f = from < 0 ? 0 : from; f <= last; ++f) {
    if (featureAt(track, (size_t)f).loudness < threshold) {
      ++run;
      continue;
    }
    // Sound that falls silent again within kSoundBackFrames (noise that rises above the
    // threshold for a moment) is part of the silence around it.
    long long back = 1;
    while (back < kSoundBackFrames && f + back < end && featureAt(track, (size_t)(f + back)).loudness >= threshold) ++back;
    if (run > 0 && back < kSoundBackFrames && f + back < end) {
      ++run;
      continue;
    }
    if (run >= kSilenceRunFrames && f >= first && heard <= kHeardSoundFrames &&
        (best < 0 || distance(f, target) < distance(best, target)))
      best = f;
    run = 0;
    if (f >= target) ++heard;
  }
  return best;
}
