// The frame records' storage and the loudness byte.
#include "frameFeatures.h"

#include <cstdlib>
#include <cstring>

uint8_t loudnessOfDb(float db) {
  float steps = (db - kLoudnessFloorDb) * kLoudnessStepsPerDb + 0.5f;
  if (!(steps > 0)) return 0;  // NaN too
  if (steps >= 255) return 255;
  return (uint8_t)steps;
}

int percentileOf(const size_t histogram[kFeatureLevels], size_t counted, int percent) {
  size_t wanted = (counted * percent + 99) / 100, seen = 0;
  int value = 0;
  while (value + 1 < (int)kFeatureLevels && (seen += histogram[value]) < wanted) ++value;
  return value;
}

void featureTrackInit(FeatureTrack* track) { memset(track, 0, sizeof *track); }

void featureTrackFree(FeatureTrack* track) {
  for (size_t i = 0; i < kFeatureChunksMax; ++i) free(track->chunks[i]);
  featureTrackInit(track);
}

bool featureTrackAppend(FeatureTrack* track, FrameFeature frame) {
  if (track->count >= kFeatureFramesMax) return false;
  size_t chunk = track->count / kFeatureChunkFrames;
  if (!track->chunks[chunk]) {
    track->chunks[chunk] = (FrameFeature*)malloc(kFeatureChunkFrames * sizeof(FrameFeature));
    if (!track->chunks[chunk]) return false;
  }
  track->chunks[chunk][track->count % kFeatureChunkFrames] = frame;
  ++track->count;
  return true;
}
