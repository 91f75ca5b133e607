// Drawing the strip's picture straight into its bitmap's pixels: one pass per column for the
// envelope, then the lines and markers over it.
#include "waveStripDraw.h"

#include <cstring>

namespace {

const uint32_t kSoundBackground = 0xFAFAFA;
const uint32_t kOutsideFile = 0xDCDCDC;  // before 00:00:00 or past the end
const uint32_t kNotRead = 0xEEEEEE;      // in the file, not decoded yet
const uint32_t kCentreLine = 0xC8C8C8;
const uint32_t kWave = 0x4A78B8;
const uint32_t kMark = 0x606060;
const uint32_t kCurrentMark = 0xD42A2A;
const uint32_t kPlayPosition = 0x1E9E3C;
const uint32_t kSilenceEnd = 0x7A3CC8;
const uint32_t kChangePoint = 0xE07B00;
const int kCurrentMarkWidth = 2;
const int kMarkerRows = 5;  // a marker is a triangle this high, twice as wide less one
const int kSampleSteps = 128;  // a sample byte's steps either side of zero

enum ColumnKind { kColumnOutside, kColumnNotRead, kColumnSound };

struct Canvas {
  uint32_t* pixels;
  int width;
  int height;
};

// What column c shows, with the lowest and highest sample of the frames it touches.
ColumnKind columnEnvelope(const WaveStripPicture& p, int c, int* low, int* high) {
  long long from, to;
  stripColumnFrames(p.scale, c, &from, &to);
  long long fileEnd = p.scale.totalFrames > 0 ? p.scale.totalFrames : p.available;
  if (from < 0) from = 0;
  if (to > fileEnd) to = fileEnd;
  if (from >= to) return kColumnOutside;
  long long readEnd = to < p.available ? to : p.available;
  if (!p.minMax || from >= readEnd) return kColumnNotRead;
  int least = 127, most = -128;
  const signed char* at = p.minMax + from * (long long)p.stride;
  for (long long f = from; f < readEnd; ++f, at += p.stride) {
    if (at[0] < least) least = at[0];
    if (at[1] > most) most = at[1];
  }
  *low = least;
  *high = most;
  return kColumnSound;
}

int rowOfSample(int sample, int height) {
  int row = height / 2 - sample * (height / 2) / kSampleSteps;
  return row < 0 ? 0 : row >= height ? height - 1 : row;
}

void fillColumn(const Canvas& canvas, long long column, int top, int bottom, uint32_t colour) {
  if (column < 0 || column >= canvas.width) return;
  uint32_t* at = canvas.pixels + top * canvas.width + column;
  for (int row = top; row <= bottom; ++row, at += canvas.width) *at = colour;
}

// The background of every column, then the envelope of those with sound.
void drawEnvelope(const WaveStripPicture& p, const Canvas& canvas) {
  int middle = canvas.height / 2;
  for (int c = 0; c < canvas.width; ++c) {
    int low = 0, high = 0;
    ColumnKind kind = columnEnvelope(p, c, &low, &high);
    canvas.pixels[c] = kind == kColumnOutside ? kOutsideFile : kind == kColumnNotRead ? kNotRead : kSoundBackground;
  }
  for (int row = 1; row < canvas.height; ++row)
    memcpy(canvas.pixels + row * canvas.width, canvas.pixels, canvas.width * sizeof(uint32_t));
  for (int c = 0; c < canvas.width; ++c) {
    int low = 0, high = 0;
    if (columnEnvelope(p, c, &low, &high) != kColumnSound) continue;
    canvas.pixels[middle * canvas.width + c] = kCentreLine;
    if (p.waveShown) fillColumn(canvas, c, rowOfSample(high, canvas.height), rowOfSample(low, canvas.height), kWave);
  }
}

void drawLine(const WaveStripPicture& p, const Canvas& canvas, long long frame, int lineWidth, uint32_t colour) {
  long long column = stripColumnOf(p.scale, frame);
  if (column < 0 || column >= canvas.width) return;
  for (int i = 0; i < lineWidth; ++i) fillColumn(canvas, column + i, 0, canvas.height - 1, colour);
}

// A triangle pointing into the strip from its top edge (fromTop) or its bottom edge.
void drawMarker(const WaveStripPicture& p, const Canvas& canvas, long long frame, bool fromTop, uint32_t colour) {
  long long column = stripColumnOf(p.scale, frame);
  if (column < 0 || column >= canvas.width) return;
  for (int step = 0; step < kMarkerRows && step < canvas.height; ++step) {
    int row = fromTop ? step : canvas.height - 1 - step;
    int reach = kMarkerRows - 1 - step;
    for (long long c = column - reach; c <= column + reach; ++c)
      if (c >= 0 && c < canvas.width) canvas.pixels[row * canvas.width + c] = colour;
  }
}

}  // namespace

void drawWaveStrip(const WaveStripPicture& p, uint32_t* pixels, int height) {
  Canvas canvas = {pixels, p.scale.width, height};
  if (!pixels || canvas.width <= 0 || height <= 0) return;
  drawEnvelope(p, canvas);
  for (int i = 0; i < p.silenceEnds.count; ++i) drawMarker(p, canvas, p.silenceEnds.frames[i], true, kSilenceEnd);
  for (int i = 0; i < p.changePoints.count; ++i) drawMarker(p, canvas, p.changePoints.frames[i], false, kChangePoint);
  for (int i = 0; i < p.marks.count; ++i)
    if (i != p.currentMark) drawLine(p, canvas, p.marks.frames[i], 1, kMark);
  if (p.currentMark >= 0 && p.currentMark < p.marks.count)
    drawLine(p, canvas, p.marks.frames[p.currentMark], kCurrentMarkWidth, kCurrentMark);
  if (p.playPosition >= 0) drawLine(p, canvas, p.playPosition, 1, kPlayPosition);
}
