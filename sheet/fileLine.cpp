// FILE lines and the recordings they name.
#include "fileLine.h"

#include "../base/pathText.h"
#include "../base/text.h"
#include "tagText.h"

namespace {

const size_t kTypeBytes = 8;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

// Whether folder (no closing separator) is the folder part of path, in any letter case of its
// ASCII letters ('/' and '\' alike).
bool inFolder(const char* path, size_t nameStart, const char* folder) {
  size_t folderLength = textLength(folder, (size_t)-1);
  if (folderLength == 0 || nameStart != folderLength + 1) return false;
  for (size_t i = 0; i < folderLength; ++i) {
    char a = path[i];
    char b = folder[i];
    if (isPathSeparator(a) && isPathSeparator(b)) continue;
    if (lowerAscii(a) != lowerAscii(b)) return false;
  }
  return true;
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
  size_t nameStart = fileNameStart(audioPath, length);
  const char* name = inFolder(audioPath, nameStart, sheetFolder) ? audioPath + nameStart : audioPath;
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
  return true;
}

void folderOf(const char* path, char* out, size_t outBytes) {
  size_t length = textLength(path, (size_t)-1);
  size_t nameStart = fileNameStart(path, length);
  copyText(out, nameStart > 0 && nameStart <= outBytes ? nameStart : 1, path);
}
