// Band levels of a block: a complex FFT of half the length on the even and odd samples, then
// the split into the real signal's spectrum.
#include "bandSpectrum.h"

#include <cmath>

namespace {

const float kPi = 3.14159265358979f;
// The bands' lower edges and the last one's upper edge, in Hz.
const float kBandEdges[kBandCount + 1] = {60, 150, 300, 500, 800, 1200, 1800, 2600, 3600, 5000, 7000, 9000};

// In-place FFT of count complex values (a power of two); twiddles from the spectrum's tables,
// whose length is twice count.
void fft(const BandSpectrum* spectrum, float* re, float* im, size_t count) {
  for (size_t i = 1, j = 0; i < count; ++i) {
    size_t bit = count >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) {
      float t = re[i]; re[i] = re[j]; re[j] = t;
      t = im[i]; im[i] = im[j]; im[j] = t;
    }
  }
  for (size_t size = 2; size <= count; size *= 2) {
    size_t half = size / 2, step = spectrum->length / size;
    for (size_t start = 0; start < count; start += size) {
      for (size_t k = 0; k < half; ++k) {
        float c = spectrum->cosines[k * step], s = spectrum->sines[k * step];
        size_t a = start + k, b = a + half;
        float tr = re[b] * c + im[b] * s;  // times exp(-i 2 pi k / size)
        float ti = im[b] * c - re[b] * s;
        re[b] = re[a] - tr; im[b] = im[a] - ti;
        re[a] += tr; im[a] += ti;
      }
    }
  }
}

}  // namespace

void bandSpectrumInit(BandSpectrum* spectrum, size_t length, float sampleRate) {
  spectrum->length = length;
  float sum = 0;
  for (size_t i = 0; i < length; ++i) {
    spectrum->window[i] = 0.5f - 0.5f * cosf(2 * kPi * i / length);
    sum += spectrum->window[i];
  }
  // A sine of amplitude 1 peaks at sum / 2 in its bin: scale so that its power reads 1.
  for (size_t i = 0; i < length; ++i) spectrum->window[i] *= 2 / sum;
  spectrum->bandsUsed = 0;
  for (size_t k = 0; k <= length / 2; ++k) {
    spectrum->cosines[k] = cosf(2 * kPi * k / length);
    spectrum->sines[k] = sinf(2 * kPi * k / length);
    float hz = sampleRate * k / length;
    size_t band = 0;
    while (band < kBandCount && !(hz >= kBandEdges[band] && hz < kBandEdges[band + 1])) ++band;
    spectrum->bandOfBin[k] = (unsigned char)band;
    if (band < kBandCount && band + 1 > spectrum->bandsUsed) spectrum->bandsUsed = band + 1;
  }
}

void bandLevels(const BandSpectrum* spectrum, float* block, float levels[kBandCount]) {
  size_t half = spectrum->length / 2;
  float re[kSpectrumLengthMax / 2], im[kSpectrumLengthMax / 2];
  for (size_t m = 0; m < half; ++m) {
    re[m] = block[2 * m] * spectrum->window[2 * m];
    im[m] = block[2 * m + 1] * spectrum->window[2 * m + 1];
  }
  fft(spectrum, re, im, half);
  float power[kBandCount] = {};
  for (size_t k = 0; k <= half; ++k) {
    size_t band = spectrum->bandOfBin[k];
    if (band >= kBandCount) continue;
    size_t a = k % half, b = (half - k) % half;
    // The even samples' spectrum (e) and the odd samples' (o) from z[k] and conj(z[half - k]).
    float er = (re[a] + re[b]) / 2, ei = (im[a] - im[b]) / 2;
    float or_ = (im[a] + im[b]) / 2, oi = (re[b] - re[a]) / 2;
    float c = spectrum->cosines[k], s = spectrum->sines[k];
    float xr = er + or_ * c + oi * s;
    float xi = ei + oi * c - or_ * s;
    power[band] += xr * xr + xi * xi;
  }
  const float floorPower = 1e-9f;  // kBandFloorDb
  for (size_t band = 0; band < spectrum->bandsUsed; ++band)
    levels[band] = 10 * log10f(power[band] + floorPower);
}
