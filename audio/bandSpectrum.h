// The level of a block of samples in a few frequency bands, from a real FFT with a Hann window.
#pragma once

#include <cstddef>

const size_t kSpectrumLengthMax = 256;  // samples a block, a power of two
const size_t kSpectrumBins = kSpectrumLengthMax / 2 + 1;
const size_t kBandCount = 11;           // 60 Hz to 9 kHz, roughly a third of an octave to an octave each
const float kBandFloorDb = -90;         // a band's level never reads below this

struct BandSpectrum {
  size_t length;                         // samples a block: a power of two, 16..kSpectrumLengthMax
  float window[kSpectrumLengthMax];      // Hann, scaled so that a full-scale sine reads 0 dB
  float cosines[kSpectrumBins];          // cos and sin of 2 pi k / length, k = 0..length / 2
  float sines[kSpectrumBins];
  unsigned char bandOfBin[kSpectrumBins];  // kBandCount: the bin lies in no band
  size_t bandsUsed;                      // bands 0..bandsUsed-1 hold bins at this rate
};

// Prepares for blocks of length samples (a power of two, 16..kSpectrumLengthMax) at sampleRate.
void bandSpectrumInit(BandSpectrum* spectrum, size_t length, float sampleRate);

// The level in dB of each used band of block (spectrum->length samples, scaled to +-1),
// at least kBandFloorDb, into levels[0..bandsUsed-1]. block is used as work space.
void bandLevels(const BandSpectrum* spectrum, float* block, float levels[kBandCount]);
