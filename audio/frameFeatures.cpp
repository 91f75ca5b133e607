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
