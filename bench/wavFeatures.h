// The frame features of a WAV file, read from disk: the benchmark's source of features. (In the
// plug-in the player's decoder gives the PCM; this stands in for it.)
#pragma once

#include <cstdint>

#include "../audio/featureExtractor.h"

struct WavInfo {
  PcmFormat format;
  uint64_t sampleFrames;  // one sample of each channel
};

// Reads a 16-bit PCM or 32-bit float WAV file into track (initialised by the caller); info says
// what it held. False when the file cannot be read, is no such WAV, or the track took no more.
bool featuresFromWav(const char* path, FeatureTrack* track, WavInfo* info);

// Reads only the PCM of such a file into pcm (bytes, interleaved), for timing.
bool readWavPcm(const char* path, WavInfo* info, unsigned char** pcm, uint64_t* bytes);
