// Reading and writing cue times.
#include "cueTime.h"

#include "../base/asciiText.h"
#include "../base/limits.h"
#include "../base/text.h"

namespace {


int twoDigits(const char* at) { return (at[0] - '0') * 10 + (at[1] - '0'); }

}  // namespace

CueTimeResult parseCueTime(const char* text, size_t length, long long* frames) {
  if (!text || length < 7) return kCueTimeMalformed;
  size_t minuteDigits = length - 6;
  if (minuteDigits > kCueMinuteDigitsMax) return kCueTimeMalformed;
  long long minutes = 0;
  for (size_t i = 0; i < minuteDigits; ++i) {
    if (!isDigit(text[i])) return kCueTimeMalformed;
    minutes = minutes * 10 + (text[i] - '0');
  }
  const char* rest = text + minuteDigits;
  if (rest[0] != ':' || !isDigit(rest[1]) || !isDigit(rest[2]) || rest[3] != ':' ||
      !isDigit(rest[4]) || !isDigit(rest[5]))
    return kCueTimeMalformed;
  int seconds = twoDigits(rest + 1);
  int frame = twoDigits(rest + 4);
  if (seconds > 59) return kCueTimeSecondsTooLarge;
  if (frame >= kFramesPerSecond) return kCueTimeFramesTooLarge;
  if (frames) *frames = minutes * kFramesPerMinute + seconds * kFramesPerSecond + frame;
  return kCueTimeOk;
}

size_t formatCueTime(long long frames, char* out, size_t outBytes) {
  char field[kNumberTextBytes];
  if (!out || outBytes == 0) return 0;
  if (frames < 0) frames = 0;
  out[0] = '\0';
  formatInt(field, sizeof field, frames / kFramesPerMinute, 2);
  appendTo(out, outBytes, field);
  appendTo(out, outBytes, ":");
  formatInt(field, sizeof field, frames / kFramesPerSecond % 60, 2);
  appendTo(out, outBytes, field);
  appendTo(out, outBytes, ":");
  formatInt(field, sizeof field, frames % kFramesPerSecond, 2);
  return appendTo(out, outBytes, field);
}
