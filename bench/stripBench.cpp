// Timing the waveform strip: a popup strip over ten minutes of loud, varied audio with marks,
// found points and the play position, painted again after each change of its data.
#include "stripBench.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "../controls/waveStrip.h"

namespace {

const long long kFileFrames = 10 * 60 * 75;
const long long kCentre = kFileFrames / 2;
const long long kHalf = 60 * 75;

double now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return (double)counter.QuadPart * 1e6 / (double)frequency.QuadPart;
}

}  // namespace

StripPaintTime measureStripPaint(int width, int height, int repeats) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  registerWaveStripClass(module);
  HWND strip = CreateWindowExW(0, WAVESTRIP_CLASS, L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                               nullptr, module, nullptr);
  std::vector<signed char> minMax(2 * kFileFrames);
  unsigned noise = 12345;
  for (long long f = 0; f < kFileFrames; ++f) {
    noise = noise * 1103515245u + 12345u;
    int swing = 20 + (int)((noise >> 16) % 100);
    minMax[2 * f] = (signed char)-swing;
    minMax[2 * f + 1] = (signed char)(swing - (int)(noise % 7));
  }
  const long long marks[] = {kCentre - 3000, kCentre - 200, kCentre, kCentre + 2500};
  const long long found[] = {kCentre - 210, kCentre + 1000};
  waveStripSetRange(strip, kCentre, kHalf);
  waveStripSetMarks(strip, marks, 4, 2);
  waveStripSetSilenceEnds(strip, found, 2);
  waveStripSetChangePoints(strip, found + 1, 1);
  waveStripSetPlayPosition(strip, kCentre + 100);
  std::vector<double> times;
  for (int i = 0; i <= repeats; ++i) {
    double start = now();
    waveStripSetData(strip, minMax.data(), 2, kFileFrames, kFileFrames);
    UpdateWindow(strip);
    if (i > 0) times.push_back(now() - start);  // the first paint also makes the bitmap
  }
  DestroyWindow(strip);
  unregisterWaveStripClass(module);
  std::sort(times.begin(), times.end());
  StripPaintTime result = {times[times.size() / 2], times.back()};
  return result;
}
