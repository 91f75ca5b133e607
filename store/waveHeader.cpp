// Reading a WAV file's format chunk and the size of its audio.
#include "waveHeader.h"

#include <windows.h>

#include "../sheet/cueTime.h"
#include "fileSystem.h"

namespace {

const size_t kRiffHeaderBytes = 12;   // "RIFF", the size, "WAVE"
const size_t kChunkHeaderBytes = 8;   // the id and the size of a chunk
const size_t kFormatBytesMin = 16;    // the PCM part of the fmt chunk

unsigned readLittle(const unsigned char* at, size_t bytes) {
  unsigned value = 0;
  for (size_t i = bytes; i > 0; --i) value = value << 8 | at[i - 1];
  return value;
}

bool isId(const unsigned char* at, const char* id) {
  for (int i = 0; i < 4; ++i)
    if (at[i] != (unsigned char)id[i]) return false;
  return true;
}

}  // namespace

AudioFacts waveFactsOf(const unsigned char* bytes, size_t size) {
  AudioFacts facts = {-1, kWaveNone, 0, 0, 0};
  if (size < kRiffHeaderBytes || !isId(bytes, "RIFF") || !isId(bytes + 8, "WAVE")) return facts;
  unsigned blockAlign = 0;
  for (size_t at = kRiffHeaderBytes; at + kChunkHeaderBytes <= size;) {
    const unsigned char* chunk = bytes + at;
    size_t chunkBytes = readLittle(chunk + 4, 4);
    size_t body = at + kChunkHeaderBytes;
    if (isId(chunk, "fmt ") && chunkBytes >= kFormatBytesMin && body + kFormatBytesMin <= size) {
      facts.wave = kWaveFile;
      facts.channels = readLittle(bytes + body + 2, 2);
      facts.sampleRate = readLittle(bytes + body + 4, 4);
      blockAlign = readLittle(bytes + body + 12, 2);
      facts.bitsPerSample = readLittle(bytes + body + 14, 2);
    }
    if (isId(chunk, "data")) {
      if (facts.wave == kWaveFile && blockAlign > 0 && facts.sampleRate > 0)
        facts.frames = (long long)(chunkBytes / blockAlign) * kFramesPerSecond / facts.sampleRate;
      break;
    }
    if (chunkBytes > size - body) break;
    at = body + chunkBytes + (chunkBytes & 1);  // chunks are padded to an even size
  }
  return facts;
}

AudioFacts readWaveFacts(const char* path) {
  AudioFacts facts = {-1, kWaveUnknown, 0, 0, 0};
  HANDLE file = openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return facts;
  unsigned char bytes[kWaveHeaderBytes];
  DWORD got = 0;
  if (ReadFile(file, bytes, sizeof bytes, &got, nullptr)) facts = waveFactsOf(bytes, got);
  CloseHandle(file);
  return facts;
}
