// What the audio of a file leaves for marking: one small record per CD frame (1/75 s), kept in
// storage that grows in fixed chunks, so that a record never moves once it is written.
#pragma once

#include <cstddef>
#include <cstdint>

// One frame of audio. 4 bytes: 2 hours (540,000 frames) take about 2 MB.
struct FrameFeature {
  uint8_t loudness;  // RMS over all channels: loudnessDb() gives dBFS (a full-scale square is 0)
  uint8_t change;    // how far the frame's spectrum stands from the frames before it: changeDb()
  int8_t low;        // the lowest sample of any channel, times 127 (full scale -1 is -127)
  int8_t high;       // the highest sample of any channel, times 127
};

const int kLoudnessFloorDb = -120;  // loudness 0: this level or less, digital silence among it
const int kLoudnessStepsPerDb = 2;  // loudness 255 is +7.5 dBFS, reached only by float samples
const int kChangeStepsPerDb = 4;    // change 255 is 63.75 dB
const int kWaveScale = 127;         // low and high: a sample of full scale

inline float loudnessDb(uint8_t loudness) { return (float)loudness / kLoudnessStepsPerDb + kLoudnessFloorDb; }
inline float changeDb(uint8_t change) { return (float)change / kChangeStepsPerDb; }
// The loudness byte of a level in dBFS, rounded and held to 0..255.
uint8_t loudnessOfDb(float db);

const size_t kFeatureLevels = 256;  // the values a loudness or change byte takes

// From counts of each byte value (counted values in all): the smallest value that at least
// percent % of them do not exceed.
int percentileOf(const size_t histogram[kFeatureLevels], size_t counted, int percent);

const size_t kFeatureChunkFrames = 16384;  // 3.6 minutes a chunk, 64 KB
const size_t kFeatureChunksMax = 1024;     // 62 hours
const size_t kFeatureFramesMax = kFeatureChunkFrames * kFeatureChunksMax;

// The frames of one file, in order. A plain struct: featureTrackInit before use, featureTrackFree
// after. The chunks belong to the track. A record, once appended, stays where it is: a thread
// that appends may publish the count to another, which then reads the frames below that count
// while the first goes on appending.
struct FeatureTrack {
  FrameFeature* chunks[kFeatureChunksMax];  // from malloc, kFeatureChunkFrames records each
  size_t count;                             // frames appended
};

void featureTrackInit(FeatureTrack* track);
void featureTrackFree(FeatureTrack* track);  // then empty, as after featureTrackInit

// Appends one frame. False, with the track unchanged, when memory runs out or the track holds
// kFeatureFramesMax frames.
bool featureTrackAppend(FeatureTrack* track, FrameFeature frame);

// The frame at index frame (below count).
inline const FrameFeature& featureAt(const FeatureTrack& track, size_t frame) {
  return track.chunks[frame / kFeatureChunkFrames][frame % kFeatureChunkFrames];
}
