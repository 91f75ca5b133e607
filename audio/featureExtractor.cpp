// The frame features of PCM: loudness, lowest and highest sample, and the spectral change.
#include "featureExtractor.h"

#include <cmath>
#include <cstring>

#include "../sheet/cueTime.h"

namespace {

const float kSampleLimit = 8;         // float samples are held to +-8 (+18 dBFS); NaN reads 0
const size_t kSpectrumLengthMin = 16;

uint64_t frameStart(uint64_t frame, unsigned rate) { return frame * rate / kFramesPerSecond; }

float int16Sample(const unsigned char* bytes) {
  int16_t v;
  memcpy(&v, bytes, sizeof v);
  return v * (1.0f / 32768);
}

float floatSample(const unsigned char* bytes) {
  float v;
  memcpy(&v, bytes, sizeof v);
  if (v >= -kSampleLimit && v <= kSampleLimit) return v;
  return v > 0 ? kSampleLimit : v < 0 ? -kSampleLimit : 0;
}

int8_t waveByte(float sample) {
  float v = sample * kWaveScale;
  if (v >= kWaveScale) return kWaveScale;
  if (v <= -kWaveScale) return -kWaveScale;
  return (int8_t)(v < 0 ? v - 0.5f : v + 0.5f);
}

void startFrame(FeatureExtractor* x) {
  x->sumSquares = 0;
  x->low = kSampleLimit;  // beyond any sample: the frame's first sample sets both
  x->high = -kSampleLimit;
  x->decimatedSum = 0;
  x->decimatedCount = 0;
  x->decimatedLength = 0;
  x->frameEnd = frameStart(x->frame + 1, x->format.rate);
}

// Passes the frame's band levels to the spectral change.
void pushSpectrum(FeatureExtractor* x, bool sound) {
  size_t length = x->spectrum.length;
  float block[kSpectrumLengthMax];
  // The frame's last length samples; a short last frame is padded with silence in front.
  size_t have = x->decimatedLength < length ? x->decimatedLength : length;
  memset(block, 0, (length - have) * sizeof(float));
  memcpy(block + length - have, x->decimated + x->decimatedLength - have, have * sizeof(float));
  float levels[kBandCount];
  bandLevels(&x->spectrum, block, levels);
  bandChangePush(&x->change, levels, sound);
}

// Appends the frames whose change is known: all of them at the end.
bool appendKnown(FeatureExtractor* x, bool atEnd) {
  uint64_t pushed = x->change.pushed;
  uint64_t known = pushed + 1 > kBandChangeSpanFrames ? pushed + 1 - kBandChangeSpanFrames : 0;
  if (atEnd) known = pushed;
  for (; x->appended < known; ++x->appended) {
    FrameFeature f = x->waiting[x->appended % kBandChangeSpanFrames];
    f.change = bandChangeAt(&x->change, x->appended);
    if (!featureTrackAppend(x->track, f)) {
      x->failed = true;
      return false;
    }
  }
  return true;
}

bool endFrame(FeatureExtractor* x, uint64_t samples) {
  FrameFeature f;
  double meanSquare = x->sumSquares / ((double)samples * x->format.channels);
  float db = meanSquare > 0 ? 10 * (float)log10(meanSquare) : kLoudnessFloorDb;
  f.loudness = loudnessOfDb(db);
  f.low = waveByte(x->low);
  f.high = waveByte(x->high);
  f.change = 0;
  x->waiting[x->frame % kBandChangeSpanFrames] = f;
  pushSpectrum(x, db >= kBandChangeSoundDb);
  ++x->frame;
  startFrame(x);
  return appendKnown(x, false);
}

// Takes count sample frames (every channel's sample, one after another), all inside the frame
// being filled. Sample is the type's conversion of the bytes of one sample.
template <float (*sample)(const unsigned char*)>
void takeSamples(FeatureExtractor* x, const unsigned char* in, size_t count) {
  unsigned channels = x->format.channels;
  size_t sampleBytes = x->sampleBytes;
  float sumSquares = 0, low = x->low, high = x->high, decimatedSum = x->decimatedSum;
  unsigned decimatedCount = x->decimatedCount;
  float monoScale = 1.0f / (x->decimation * channels);
  for (size_t i = 0; i < count; ++i) {
    float mono = 0;
    for (unsigned c = 0; c < channels; ++c, in += sampleBytes) {
      float v = sample(in);
      sumSquares += v * v;
      low = v < low ? v : low;
      high = v > high ? v : high;
      mono += v;
    }
    decimatedSum += mono;
    if (++decimatedCount == x->decimation) {
      if (x->decimatedLength < kDecimatedMax) x->decimated[x->decimatedLength++] = decimatedSum * monoScale;
      decimatedSum = 0;
      decimatedCount = 0;
    }
  }
  x->sumSquares += sumSquares;
  x->low = low;
  x->high = high;
  x->decimatedSum = decimatedSum;
  x->decimatedCount = decimatedCount;
  x->sample += count;
}

// Takes the whole sample frames of in (count bytes) up to the end of the frame being filled, and
// ends that frame when they reach it: the bytes taken.
size_t takeRun(FeatureExtractor* x, const unsigned char* in, size_t count) {
  size_t frameBytes = x->sampleBytes * x->format.channels;
  uint64_t room = x->frameEnd - x->sample;
  size_t n = count / frameBytes < room ? count / frameBytes : (size_t)room;
  if (x->format.type == SampleType::Int16) takeSamples<int16Sample>(x, in, n);
  else takeSamples<floatSample>(x, in, n);
  if (x->sample == x->frameEnd) endFrame(x, x->frameEnd - frameStart(x->frame, x->format.rate));
  return n * frameBytes;
}

}  // namespace

bool featureExtractorInit(FeatureExtractor* x, const PcmFormat& format, FeatureTrack* track) {
  if (format.rate < kPcmRateMin || format.rate > kPcmRateMax || format.channels < 1 ||
      format.channels > kPcmChannelsMax)
    return false;
  memset(x, 0, sizeof *x);
  x->format = format;
  x->track = track;
  x->sampleBytes = format.type == SampleType::Int16 ? 2 : 4;
  // The spectrum sees each frame's last kSpectrumLengthMax samples or fewer, averaged in groups
  // so that one block spans most of the frame (the shortest frame, when frames differ by one).
  size_t shortest = format.rate / kFramesPerSecond;
  x->decimation = (unsigned)(shortest / kSpectrumLengthMax);
  if (x->decimation < 1) x->decimation = 1;
  size_t length = kSpectrumLengthMax;
  while (length > kSpectrumLengthMin && length > shortest / x->decimation) length /= 2;
  bandSpectrumInit(&x->spectrum, length, (float)format.rate / x->decimation);
  bandChangeInit(&x->change, x->spectrum.bandsUsed);
  startFrame(x);
  return true;
}

bool featureExtractorFeed(FeatureExtractor* x, const void* bytes, size_t count) {
  if (x->failed) return false;
  const unsigned char* in = (const unsigned char*)bytes;
  size_t frameBytes = x->sampleBytes * x->format.channels;
  if (x->carryBytes) {
    size_t take = frameBytes - x->carryBytes;
    if (take > count) take = count;
    memcpy(x->carry + x->carryBytes, in, take);
    x->carryBytes += take;
    in += take;
    count -= take;
    if (x->carryBytes < frameBytes) return true;
    x->carryBytes = 0;
    takeRun(x, x->carry, frameBytes);
  }
  while (count >= frameBytes && !x->failed) {
    size_t taken = takeRun(x, in, count);
    in += taken;
    count -= taken;
  }
  if (x->failed) return false;
  memcpy(x->carry, in, count);
  x->carryBytes = count;
  return true;
}

bool featureExtractorFinish(FeatureExtractor* x) {
  if (x->failed) return false;
  uint64_t taken = x->sample - frameStart(x->frame, x->format.rate);
  if (taken && !endFrame(x, taken)) return false;
  return appendKnown(x, true);
}
