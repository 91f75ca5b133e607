// Naming the cue file after the audio file.
#include "cueFileName.h"

#include "../base/text.h"

namespace {

const char kCueExtension[] = "cue";
// The longest path the platform knows; the whole entry path is looked at, not a cut copy.
const size_t kLongestPathChars = 32767;

}  // namespace

CuePathResult makeCuePath(const char* entryPath, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return kCuePathTooLong;
  out[0] = '\0';
  size_t length = textLength(entryPath, kLongestPathChars);
  if (length == 0) return kCuePathNoFile;

  // The '.' that starts the extension, if the file name (after the last '\') has one.
  size_t dot = length;
  for (size_t i = length; i > 0; --i) {
    char c = entryPath[i - 1];
    if (c == '\\') break;
    if (c == '.') {
      dot = i - 1;
      break;
    }
  }
  size_t stemLength = dot;  // everything before the '.', or the whole path
  size_t needed = stemLength + 1 + (sizeof kCueExtension - 1);
  if (needed + 1 > outBytes) return kCuePathTooLong;

  copyText(out, stemLength + 1, entryPath);
  appendTo(out, outBytes, ".");
  appendTo(out, outBytes, kCueExtension);
  return kCuePathOk;
}
