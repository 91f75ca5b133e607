// Time to column and back for a waveform strip, its zoom steps and its range text.
#include "stripScale.h"

#include "../base/limits.h"
#include "../base/text.h"

namespace {

// The wheel's stops for the half-width, in seconds, from the closest view to the widest.
const long long kZoomStepSeconds[] = {1, 2, 4, 8, 15, 30, 60};
const int kZoomSteps = (int)(sizeof kZoomStepSeconds / sizeof kZoomStepSeconds[0]);
const char kRangeDash[] = " \xE2\x80\x93 ";  // blank, en dash, blank

long long ceilDivide(long long a, long long b) { return (a + b - 1) / b; }

long long clampTo(long long value, long long least, long long most) {
  return value < least ? least : value > most ? most : value;
}

// A frame within the file: not below 0, not past its last frame when its length is known.
long long inFile(const StripScale& scale, long long frame) {
  if (scale.totalFrames > 0 && frame >= scale.totalFrames) frame = scale.totalFrames - 1;
  return frame < 0 ? 0 : frame;
}

long long zoomStep(int index) { return kZoomStepSeconds[index] * kFramesPerSecond; }

}  // namespace

long long clampStripHalf(long long halfFrames) { return clampTo(halfFrames, kStripHalfLeast, kStripHalfMost); }

StripScale stripAround(long long centre, long long halfFrames, int width, long long totalFrames) {
  long long half = clampStripHalf(halfFrames);
  StripScale scale = {centre - half, 2 * half, width < 0 ? 0 : width, totalFrames < 0 ? 0 : totalFrames};
  return scale;
}

long long stripColumnOf(const StripScale& scale, long long frame) {
  long long offset = frame - scale.first;
  if (offset < 0) return -1;
  if (offset >= scale.frames || scale.width <= 0) return scale.width;
  return offset * scale.width / scale.frames;
}

void stripColumnFrames(const StripScale& scale, int column, long long* from, long long* to) {
  if (scale.width <= 0) {
    *from = scale.first;
    *to = scale.first + scale.frames;
    return;
  }
  long long c = clampTo(column, 0, scale.width - 1);
  *from = scale.first + c * scale.frames / scale.width;
  *to = scale.first + ceilDivide((c + 1) * scale.frames, scale.width);
}

long long stripFrameAt(const StripScale& scale, int column) {
  if (scale.width <= 0) return inFile(scale, scale.first + scale.frames / 2);
  long long c = clampTo(column, 0, scale.width - 1);
  // The frames starting in column c are [ceil(c * frames / width), ceil((c + 1) * frames / width)).
  long long firstStart = ceilDivide(c * scale.frames, scale.width);
  long long endStart = ceilDivide((c + 1) * scale.frames, scale.width);
  // Column 0 always holds a start (frame first), so firstStart - 1 is never before the range.
  long long offset = endStart > firstStart ? firstStart + (endStart - firstStart - 1) / 2 : firstStart - 1;
  return inFile(scale, scale.first + offset);
}

long long stripZoomed(long long halfFrames, int notches) {
  long long half = clampStripHalf(halfFrames);
  long long steps = notches;
  if (steps > 0) {
    int below = -1;  // the widest stop closer than half
    for (int i = 0; i < kZoomSteps; ++i)
      if (zoomStep(i) < half) below = i;
    if (below < 0) return kStripHalfLeast;
    return zoomStep((int)clampTo(below - (steps - 1), 0, below));
  }
  if (steps < 0) {
    int above = kZoomSteps;  // the closest stop wider than half
    for (int i = kZoomSteps - 1; i >= 0; --i)
      if (zoomStep(i) > half) above = i;
    if (above == kZoomSteps) return kStripHalfMost;
    return zoomStep((int)clampTo(above + (-steps - 1), above, kZoomSteps - 1));
  }
  return half;
}

size_t stripRangeText(const StripScale& scale, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  long long end = scale.first + scale.frames;
  if (scale.totalFrames > 0 && end > scale.totalFrames) end = scale.totalFrames;
  if (end < 0) end = 0;
  long long start = clampTo(scale.first, 0, end);
  char startText[kNumberTextBytes];
  char endText[kNumberTextBytes];
  formatCueTime(start, startText, sizeof startText);
  formatCueTime(end, endText, sizeof endText);
  size_t at = 0;
  out[0] = '\0';
  if (!putText(out, outBytes, &at, startText) || !putText(out, outBytes, &at, kRangeDash) ||
      !putText(out, outBytes, &at, endText)) {
    out[0] = '\0';
    return 0;
  }
  return at;
}
