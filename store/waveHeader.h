// What a recording is, read from its first bytes: the format and length of a WAV file, for the
// check that a sheet burns to a CD.
#pragma once

#include <cstddef>

#include "../sheet/audioFacts.h"

const size_t kWaveHeaderBytes = 4096;  // read from a file's start; the chunks before the audio

// The facts in the first bytes of a file (size of them): a RIFF WAVE file gives kWaveFile with
// its fmt chunk's rate, bits and channels, and its length from the data chunk's size when that
// chunk starts within them (else -1); anything else kWaveNone, with frames -1.
AudioFacts waveFactsOf(const unsigned char* bytes, size_t size);

// The facts of the file at path (UTF-8); kWaveUnknown and frames -1 when it cannot be read.
AudioFacts readWaveFacts(const char* path);
