// "QevWaveStrip": a strip that draws the loudness envelope of a stretch of audio from per-frame
// (1/75 s) minimum and maximum samples, with lines for marks, small markers for silence ends and
// change points, and the play position. It reports clicks and drags as frames. Knows nothing of
// cue sheets: its owner feeds it through the functions below.
//
// - Its window text always names the range shown ("00:07:37 – 00:09:37", see stripRangeText).
// - Mouse: a left press sends WSN_PRESSED, moves with the button held send WSN_DRAGGED (the mouse
//   is captured meanwhile, and the frame is held within the strip's range), the release or a lost
//   capture sends WSN_RELEASED. Each as WM_NOTIFY to the parent, with a WaveStripNotify.
// - The wheel zooms the strip itself, around the range's centre, along the steps of stripZoomed
//   (1 s to 60 s either side; a notch forward, away from the user, shows less time), and then
//   sends WSN_ZOOMED with the new half-width, so the owner can keep it for the next range it sets. The strip acts on WM_MOUSEWHEEL sent to it: an owner whose
//   window gets the wheel may pass it on.
// - No keyboard. Any size, down to zero; drawn in one memory bitmap kept per size.
#pragma once

#include <windows.h>

extern const wchar_t WAVESTRIP_CLASS[];

void registerWaveStripClass(HINSTANCE module);
void unregisterWaveStripClass(HINSTANCE module);

// WM_NOTIFY codes; lParam points to a WaveStripNotify.
const int WSN_PRESSED = -3000;
const int WSN_DRAGGED = -3001;
const int WSN_RELEASED = -3002;
const int WSN_ZOOMED = -3003;

struct WaveStripNotify {
  NMHDR header;
  long long frame;       // where the mouse is, within the file; the centre for WSN_ZOOMED
  long long halfFrames;  // the half-width shown now
};

// Each function below returns false, changing nothing, when strip is not a live strip (or, for
// the lists, when memory is short). Every change is drawn at the next paint.

// The audio: minMax points to frame 0's minimum byte (signed, -128..127), its maximum in the
// next byte; stride is the distance in bytes from one frame's minimum to the next one's (2 for a
// plain array of pairs). The strip keeps the pointer, not a copy: the owner keeps the array alive
// and calls this again whenever framesAvailable grows or the array moves, and with a null minMax
// before it frees it. totalFrames is the file's length (0 while unknown).
bool waveStripSetData(HWND strip, const signed char* minMax, size_t stride, long long framesAvailable,
                      long long totalFrames);

// The range: halfFrames (clamped to 1 s..60 s) either side of centre; the window text follows.
bool waveStripSetRange(HWND strip, long long centre, long long halfFrames);
bool waveStripGetRange(HWND strip, long long* centre, long long* halfFrames);

// Lists of frames, copied. current is the index in marks of the highlighted one (-1: none).
bool waveStripSetMarks(HWND strip, const long long* marks, int count, int current);
bool waveStripSetSilenceEnds(HWND strip, const long long* frames, int count);
bool waveStripSetChangePoints(HWND strip, const long long* frames, int count);

// The play position, drawn as a line while inside the range; negative: none.
bool waveStripSetPlayPosition(HWND strip, long long frame);

// UTF-8 text drawn instead of the wave ("Reading the audio… 42 %", or why there is none); null
// or empty: the wave. Cut to WAVESTRIP_STATUS_CHARS - 1 UTF-16 units.
const int WAVESTRIP_STATUS_CHARS = 160;
bool waveStripSetStatus(HWND strip, const char* text);
