// Silence runs from the frames' loudness.
#include "silenceRuns.h"

uint8_t silenceThreshold(const FeatureTrack& track, size_t from, size_t to) {
  size_t histogram[256] = {};
  for (size_t f = from; f < to; ++f) ++histogram[featureAt(track, f).loudness];
  // The smallest loudness that at least kLoudPercentile % of the frames do not exceed.
  size_t wanted = ((to - from) * kLoudPercentile + 99) / 100, seen = 0;
  int loud = 0;
  while (loud < 255 && (seen += histogram[loud]) < wanted) ++loud;
  int threshold = loud - kSilenceBelowLoudDb * kLoudnessStepsPerDb;
  int ceiling = (kSilenceCeilingDb - kLoudnessFloorDb) * kLoudnessStepsPerDb;
  if (threshold > ceiling) threshold = ceiling;
  return (uint8_t)(threshold < 0 ? 0 : threshold);
}

long long nearestSilenceEnd(const FeatureTrack& track, size_t frames, uint8_t threshold, long long first,
                            long long last, long long target) {
  if (first < 0) first = 0;
  if (last >= (long long)frames) last = (long long)frames - 1;
  long long best = -1, run = 0, heard = 0;  // heard: frames of sound from target on
  long long from = first - kSilenceRunFrames;
  for (long long f = from < 0 ? 0 : from; f <= last; ++f) {
    if (featureAt(track, (size_t)f).loudness < threshold) {
      ++run;
      continue;
    }
    if (run >= kSilenceRunFrames && f >= first && heard <= kHeardSoundFrames) {
      long long distance = f > target ? f - target : target - f;
      if (best < 0 || distance < (best > target ? best - target : target - best)) best = f;
    }
    run = 0;
    if (f >= target) ++heard;
  }
  return best;
}
