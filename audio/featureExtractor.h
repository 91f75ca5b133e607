// From interleaved PCM, fed in blocks of any size, to one FrameFeature per CD frame: frame n
// holds the samples [n * rate / 75, (n + 1) * rate / 75) of each channel. A frame reaches the
// track once its spectral change is known, kBandChangeSpanFrames - 1 frames later (at the end, at once).
#pragma once

#include <cstddef>
#include <cstdint>

#include "bandSpectrum.h"
#include "frameFeatures.h"
#include "bandChange.h"

enum class SampleType { Int16, Float32 };  // little-endian; float full scale is +-1

struct PcmFormat {
  unsigned rate;      // samples a second of each channel, kPcmRateMin..kPcmRateMax
  unsigned channels;  // 1..kPcmChannelsMax
  SampleType type;
};

const unsigned kPcmRateMin = 8000;
const unsigned kPcmRateMax = 192000;
const unsigned kPcmChannelsMax = 8;
const size_t kPcmSampleBytesMax = 4;
const size_t kDecimatedMax = 2 * kSpectrumLengthMax;  // a frame's mono samples after decimation

// The extractor's state: a plain struct of about 8 KB, no allocation of its own. It appends to
// the track it was given, which it does not own.
struct FeatureExtractor {
  PcmFormat format;
  FeatureTrack* track;
  size_t sampleBytes;                       // one sample of one channel
  unsigned char carry[kPcmChannelsMax * kPcmSampleBytesMax];  // a sample frame split between blocks
  size_t carryBytes;
  uint64_t frame;                           // the frame being filled
  uint64_t sample;                          // sample frames (one sample of each channel) taken
  uint64_t frameEnd;                        // the sample frame that starts the next frame
  double sumSquares;                        // of the frame's samples, every channel
  float low, high;
  unsigned decimation;                      // mono samples averaged into one for the spectrum
  float decimatedSum;
  unsigned decimatedCount;
  float decimated[kDecimatedMax];
  size_t decimatedLength;
  BandSpectrum spectrum;
  BandChange change;
  FrameFeature waiting[kBandChangeSpanFrames];  // frames waiting for their change, by frame % size
  uint64_t appended;                         // frames in the track
  bool failed;                               // the track took no more frames
};

// Prepares to read format into track (which the caller has initialised). False when the format
// is outside the limits above.
bool featureExtractorInit(FeatureExtractor* extractor, const PcmFormat& format, FeatureTrack* track);

// Reads count bytes of interleaved PCM; a sample or sample frame may continue in the next block.
// Appends each frame that the block completes. False when the track took no more frames (memory
// ran out, or kFeatureFramesMax): the frames before stay, and later calls do nothing.
bool featureExtractorFeed(FeatureExtractor* extractor, const void* bytes, size_t count);

// At the end of the audio: appends the last frame if it holds any sample (a part of a frame
// counts as a frame). False as featureExtractorFeed.
bool featureExtractorFinish(FeatureExtractor* extractor);
