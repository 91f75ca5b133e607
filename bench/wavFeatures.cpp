// Reading a WAV file's PCM in blocks into the feature extractor.
#include "wavFeatures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kBlockBytes = 65536;
const unsigned kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;
const size_t kFormatChunkMax = 64;  // bytes of a "fmt " chunk this reader takes

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
unsigned le16(const unsigned char* p) { return p[0] | p[1] << 8; }

// Reads the header up to the data chunk: the format, and the data's size in bytes.
bool openWav(FILE* file, WavInfo* info, uint64_t* dataBytes) {
  unsigned char head[12];
  if (fread(head, 1, 12, file) != 12 || memcmp(head, "RIFF", 4) || memcmp(head + 8, "WAVE", 4)) return false;
  bool haveFormat = false;
  unsigned bits = 0;
  for (;;) {
    unsigned char chunk[8];
    if (fread(chunk, 1, 8, file) != 8) return false;
    uint32_t size = le32(chunk + 4);
    if (!memcmp(chunk, "data", 4)) {
      if (!haveFormat) return false;
      unsigned frameBytes = bits / 8 * info->format.channels;
      *dataBytes = size;
      info->sampleFrames = size / frameBytes;
      return true;
    }
    if (!memcmp(chunk, "fmt ", 4) && size >= 16 && size <= kFormatChunkMax) {
      unsigned char fmt[kFormatChunkMax];
      if (fread(fmt, 1, size, file) != size) return false;
      unsigned tag = le16(fmt);
      if (tag == kFormatExtensible && size >= 26) tag = le16(fmt + 24);
      bits = le16(fmt + 14);
      info->format.channels = le16(fmt + 2);
      info->format.rate = le32(fmt + 4);
      if (tag == kFormatPcm && bits == 16) info->format.type = SampleType::Int16;
      else if (tag == kFormatFloat && bits == 32) info->format.type = SampleType::Float32;
      else return false;
      haveFormat = true;
      if (size & 1) fseek(file, 1, SEEK_CUR);
    } else if (fseek(file, size + (size & 1), SEEK_CUR)) {
      return false;
    }
  }
}

}  // namespace

bool featuresFromWav(const char* path, FeatureTrack* track, WavInfo* info) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  uint64_t left = 0;
  FeatureExtractor* extractor = (FeatureExtractor*)malloc(sizeof(FeatureExtractor));
  bool ok = extractor && openWav(file, info, &left) && featureExtractorInit(extractor, info->format, track);
  static unsigned char block[kBlockBytes];
  while (ok && left > 0) {
    size_t want = left < kBlockBytes ? (size_t)left : kBlockBytes;
    size_t got = fread(block, 1, want, file);
    if (got == 0) break;  // a data chunk longer than the file: read what is there
    ok = featureExtractorFeed(extractor, block, got);
    left -= got;
  }
  ok = ok && featureExtractorFinish(extractor);
  free(extractor);
  fclose(file);
  return ok;
}

bool readWavPcm(const char* path, WavInfo* info, unsigned char** pcm, uint64_t* bytes) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  bool ok = openWav(file, info, bytes);
  *pcm = ok ? (unsigned char*)malloc((size_t)*bytes) : nullptr;
  ok = ok && *pcm && fread(*pcm, 1, (size_t)*bytes, file) == *bytes;
  fclose(file);
  return ok;
}
