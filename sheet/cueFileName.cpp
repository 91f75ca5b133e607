// Naming the cue file after the audio file.
#include "cueFileName.h"

#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"

namespace {

const char kCueExtension[] = "cue";
const char kFallbackStem[] = "cue sheet";
const size_t kExtensionBytesMax = 16;
// The longest path the platform knows; the whole entry path is looked at, not a cut copy.
const size_t kLongestPathChars = 32767;

bool isNameForbidden(char c) {
  switch (c) {
    case '<': case '>': case ':': case '"': case '|': case '?': case '*':
      return true;
    default:
      return (unsigned char)c < 0x20;
  }
}

}  // namespace

bool isStreamPath(const char* entryPath) {
  if (!entryPath) return false;
  size_t at = 0;
  // A scheme: letters, then "://". A drive ("C:\") or anything else is a file path.
  while ((entryPath[at] >= 'a' && entryPath[at] <= 'z') || (entryPath[at] >= 'A' && entryPath[at] <= 'Z'))
    ++at;
  return at >= 2 && entryPath[at] == ':' && entryPath[at + 1] == '/' && entryPath[at + 2] == '/';
}

CuePathResult makeCuePath(const char* entryPath, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return kCuePathTooLong;
  out[0] = '\0';
  size_t length = textLength(entryPath, kLongestPathChars);
  if (length == 0) return kCuePathNoFile;
  if (isStreamPath(entryPath)) return kCuePathStream;

  size_t stemLength = extensionDot(entryPath, fileNameStart(entryPath, length), length);
  size_t needed = stemLength + 1 + (sizeof kCueExtension - 1);
  if (needed + 1 > outBytes) return kCuePathTooLong;

  copyText(out, stemLength + 1, entryPath);
  appendTo(out, outBytes, ".");
  size_t written = appendTo(out, outBytes, kCueExtension);
  // The system counts a path in UTF-16 units.
  if (utf16UnitsOf(out, written) + 1 > kPathChars) {
    out[0] = '\0';
    return kCuePathTooLong;
  }
  return kCuePathOk;
}

void proposeCueName(const char* audioPath, char* out, size_t outBytes) {
  proposeFileName(audioPath, kCueExtension, out, outBytes);
}

void proposeFileName(const char* audioPath, const char* extension, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return;
  size_t extensionLength = textLength(extension, kExtensionBytesMax - 1);
  out[0] = '\0';
  size_t length = textLength(audioPath, kLongestPathChars);
  // A stream's address may end in '/': its last non-empty part after the scheme names it.
  size_t first = 0;
  if (isStreamPath(audioPath)) {
    while (audioPath[first] != ':') ++first;
    first += 3;
  }
  while (length > first && isPathSeparator(audioPath[length - 1])) --length;
  size_t start = first + fileNameStart(audioPath + first, length - first);
  size_t end = extensionDot(audioPath, start, length);
  size_t room = outBytes - 1 < extensionLength + 1 ? 0 : outBytes - 1 - extensionLength - 1;
  size_t at = 0;
  for (size_t i = start; i < end;) {
    size_t character = utf8Decode(audioPath, end, i, nullptr);  // whole characters only
    if (at + character > room) break;
    for (size_t k = 0; k < character; ++k)
      if (!isNameForbidden(audioPath[i + k]) && audioPath[i + k] != '/') out[at++] = audioPath[i + k];
    i += character;
  }
  while (at > 0 && (out[at - 1] == ' ' || out[at - 1] == '.')) --at;  // names cannot end so
  out[at] = '\0';
  if (at == 0) copyText(out, outBytes, kFallbackStem);
  appendTo(out, outBytes, ".");
  appendTo(out, outBytes, extension);
}
