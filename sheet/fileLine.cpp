// FILE lines and the recordings they name.
#include "fileLine.h"

#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "charCase.h"
#include "tagText.h"

namespace {

const size_t kTypeBytes = 8;

// Whether the texts a (aLength bytes) and b (bLength) read alike, letter case aside and '/' as
// '\'.
bool samePathText(const char* a, size_t aLength, const char* b, size_t bLength) {
  size_t i = 0, k = 0;
  while (i < aLength && k < bLength) {
    unsigned ca, cb;
    i += utf8Decode(a, aLength, i, &ca);
    k += utf8Decode(b, bLength, k, &cb);
    if (ca == '/') ca = '\\';
    if (cb == '/') cb = '\\';
    if (ca != cb && lowerChar(ca) != lowerChar(cb)) return false;
  }
  return i == aLength && k == bLength;
}

// Where the path from folder (no closing separator) to the file at path starts: after folder and
// the separator that follows it; 0 when the file does not lie in folder or below it.
size_t belowFolder(const char* path, size_t length, const char* folder) {
  size_t folderLength = textLength(folder, (size_t)-1);
  if (folderLength == 0 || folderLength + 1 >= length || !isPathSeparator(path[folderLength])) return 0;
  return samePathText(path, folderLength, folder, folderLength) ? folderLength + 1 : 0;
}

// How much of a path is its root, which ".." never takes away: "C:\", "\\server\share\", "\", a
// drive "C:" before a relative path; 0 for a relative path.
size_t rootLength(const char* path, size_t length) {
  bool letter = length >= 2 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (letter && path[1] == ':') return length >= 3 && path[2] == '\\' ? 3 : 2;
  if (length >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t at = 2;
    for (int parts = 0; parts < 2 && at < length; ++at)
      if (path[at] == '\\') ++parts;
    return at;
  }
  return length >= 1 && path[0] == '\\' ? 1 : 0;
}

}  // namespace

bool isAbsolutePath(const char* path, size_t length) {
  if (length == 0) return false;
  if (isPathSeparator(path[0])) return true;
  bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  return letter && length >= 3 && path[1] == ':' && isPathSeparator(path[2]);
}

size_t composeFileLine(const char* audioPath, const char* sheetFolder, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  size_t length = textLength(audioPath, (size_t)-1);
  const char* name = audioPath + belowFolder(audioPath, length, sheetFolder);
  char type[kTypeBytes];
  fileTypeOf(audioPath, type, sizeof type);
  size_t needed = 6 + textLength(name, (size_t)-1) + 2 + textLength(type, sizeof type);
  if (needed + 1 > outBytes) return 0;
  copyText(out, outBytes, "FILE \"");
  appendTo(out, outBytes, name);
  appendTo(out, outBytes, "\" ");
  return appendTo(out, outBytes, type);
}

bool resolveFileName(const char* name, size_t nameLength, const char* sheetFolder, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return false;
  out[0] = '\0';
  size_t folderLength = textLength(sheetFolder, (size_t)-1);
  bool absolute = isAbsolutePath(name, nameLength);
  if (!absolute && folderLength == 0) return false;
  size_t needed = absolute ? nameLength : folderLength + 1 + nameLength;
  if (needed + 1 > outBytes) return false;
  size_t at = 0;
  if (!absolute) {
    for (size_t i = 0; i < folderLength; ++i) out[at++] = sheetFolder[i];
    out[at++] = '\\';
  }
  for (size_t i = 0; i < nameLength; ++i) out[at++] = name[i];
  out[at] = '\0';
  normalizePath(out);
  return true;
}

size_t normalizePath(char* path) {
  size_t length = textLength(path, (size_t)-1);
  for (size_t i = 0; i < length; ++i)
    if (path[i] == '/') path[i] = '\\';
  size_t root = rootLength(path, length);
  size_t out = root;  // the parts kept so far end here, '\' between them
  for (size_t at = root; at < length;) {
    size_t end = at;
    while (end < length && path[end] != '\\') ++end;
    size_t n = end - at;
    bool dot = n == 1 && path[at] == '.';
    bool dots = n == 2 && path[at] == '.' && path[at + 1] == '.';
    if (dots && (out > root || root > 0)) {
      while (out > root && path[out - 1] != '\\') --out;
      if (out > root) --out;
    } else if (n > 0 && !dot) {
      if (out > root) path[out++] = '\\';
      for (size_t i = 0; i < n; ++i) path[out++] = path[at + i];
    }
    at = end + 1;
  }
  path[out] = '\0';
  return out;
}

FileMatch matchFileLine(const char* name, size_t nameLength, const char* sheetFolder, const char* audioPath) {
  char named[kPathBytes];
  char audio[kPathBytes];
  if (!audioPath || !audioPath[0] || textLength(audioPath, kPathBytes) >= kPathBytes) return kFileMatchNone;
  if (!resolveFileName(name, nameLength, sheetFolder, named, sizeof named)) return kFileMatchNone;
  copyText(audio, sizeof audio, audioPath);
  size_t namedLength = textLength(named, sizeof named);
  size_t audioLength = normalizePath(audio);
  if (samePathText(named, namedLength, audio, audioLength)) return kFileMatchPath;
  size_t namedStem = extensionDot(named, fileNameStart(named, namedLength), namedLength);
  size_t audioStem = extensionDot(audio, fileNameStart(audio, audioLength), audioLength);
  return samePathText(named, namedStem, audio, audioStem) ? kFileMatchBaseName : kFileMatchNone;
}

void folderOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  size_t nameStart = fileNameStart(path, length);
  copyText(out, nameStart > 0 && nameStart <= outBytes ? nameStart : 1, path);
}
