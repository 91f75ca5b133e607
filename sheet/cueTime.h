// Cue times: minutes, seconds and frames of 1/75 s, written "MM:SS:FF".
#pragma once

#include <cstddef>

const long long kFramesPerSecond = 75;
const long long kFramesPerMinute = 60 * kFramesPerSecond;
// The latest time a cue time is read with: twelve digits of minutes, far past any recording and
// short of overflow. A time moved or exported never goes past it.
const size_t kCueMinuteDigitsMax = 12;
const long long kCueFramesMost = 1000000000000LL * kFramesPerMinute - 1;

enum CueTimeResult {
  kCueTimeOk,
  kCueTimeMalformed,        // not digits, colon, two digits, colon, two digits
  kCueTimeSecondsTooLarge,  // seconds past 59
  kCueTimeFramesTooLarge,   // frames past 74
};

// Reads a whole text of length characters as a cue time: minutes of any number of digits (at
// least one), then exactly two digits each of seconds and frames. frames gets the time in
// frames when the result is kCueTimeOk.
CueTimeResult parseCueTime(const char* text, size_t length, long long* frames);

// Writes a time in frames as "MM:SS:FF": minutes at least two digits and never wrapping at the
// hour, seconds and frames two digits. A negative time is written as 00:00:00. Returns the
// length written, cut to outBytes.
size_t formatCueTime(long long frames, char* out, size_t outBytes);
