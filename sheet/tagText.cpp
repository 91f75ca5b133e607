// Times, path pieces and literal values for the tag resolver.
#include "tagText.h"

#include "../base/asciiText.h"
#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "cueTime.h"

namespace {

const long long kMsPerSecond = 1000;

// Position of the last character of text[0, length) that matches and stands after the first
// character, or -1.
long lastAfterFirst(const char* text, size_t length, bool (*matches)(char)) {
  for (size_t i = length; i > 1; --i)
    if (matches(text[i - 1])) return (long)(i - 1);
  return -1;
}

bool isDot(char c) { return c == '.'; }

// "AA:BB" or "AA:BB:CC", each field at least two digits.
void joinTimeFields(char* out, size_t outBytes, long long a, long long b, long long c, bool three) {
  char field[kNumberTextBytes];
  if (!out || outBytes == 0) return;
  out[0] = '\0';
  formatInt(field, sizeof field, a, 2);
  appendTo(out, outBytes, field);
  appendTo(out, outBytes, ":");
  formatInt(field, sizeof field, b, 2);
  appendTo(out, outBytes, field);
  if (!three) return;
  appendTo(out, outBytes, ":");
  formatInt(field, sizeof field, c, 2);
  appendTo(out, outBytes, field);
}

}  // namespace

void formatCuePosition(int positionMs, char* out, size_t outBytes) {
  long long ms = positionMs < 0 ? 0 : positionMs;
  formatCueTime(ms * kFramesPerSecond / kMsPerSecond, out, outBytes);
}

void formatTrackLength(int seconds, char* out, size_t outBytes) {
  int secs = seconds % 60;
  int minutes = (seconds / 60) % 60;
  int hours = (seconds / 60) / 60;
  if (hours > 0)
    joinTimeFields(out, outBytes, hours, minutes, secs, true);
  else
    joinTimeFields(out, outBytes, minutes, secs, 0, false);
}

void fileNameOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  long at = lastAfterFirst(path, length, isPathSeparator);
  copyText(out, outBytes, at < 0 ? path : path + at + 1);
}

void fileDirOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  long at = lastAfterFirst(path, length, isPathSeparator);
  if (at < 0) {
    copyText(out, outBytes, path);
    return;
  }
  size_t keep = (size_t)at < outBytes ? (size_t)at + 1 : outBytes;  // +1 for the terminator
  copyText(out, keep, path);
}

void fileExtOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  long at = lastAfterFirst(path, length, isDot);
  copyText(out, outBytes, at < 0 ? path : path + at + 1);
}

void fileTypeOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  const char* type = "";
  if (length > 0) {
    size_t dot = extensionDot(path, fileNameStart(path, length), length);
    const char* extension = dot < length ? path + dot + 1 : path + length;
    size_t extensionLength = dot < length ? length - dot - 1 : 0;
    if (sameIgnoringCase(extension, extensionLength, "mp3"))
      type = "MP3";
    else if (sameIgnoringCase(extension, extensionLength, "aif") ||
             sameIgnoringCase(extension, extensionLength, "aiff"))
      type = "AIFF";
    else
      type = "WAVE";
  }
  copyText(out, outBytes, type);
}

void keepLastTwo(char* text) {
  size_t length = textLength(text, (size_t)-1);
  size_t last = 0, beforeLast = 0;  // where the last two characters start
  size_t count = 0;
  for (size_t at = 0; at < length; at += utf8Decode(text, length, at, nullptr), ++count) {
    beforeLast = last;
    last = at;
  }
  if (count <= 2) return;
  for (size_t i = beforeLast; i <= length; ++i) text[i - beforeLast] = text[i];
}

void literalTagValue(const char* value, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return;
  size_t at = 0;
  size_t length = textLength(value, (size_t)-1);
  for (size_t from = 0; from < length;) {
    size_t character = utf8Decode(value, length, from, nullptr);
    if (value[from] == '\\') {
      if (at + 2 >= outBytes) break;
      out[at++] = '\\';
      out[at++] = '\\';
    } else if (value[from] == '"') {
      if (at + 1 >= outBytes) break;
      out[at++] = '\'';
    } else {
      if (at + character >= outBytes) break;  // whole characters only
      for (size_t i = 0; i < character; ++i) out[at++] = value[from + i];
    }
    from += character;
  }
  out[at] = '\0';
}
