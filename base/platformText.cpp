// Conversions through the system: UTF-16 by the plug-in's own helpers, the ANSI code page by
// the system's.
#include "platformText.h"

#include "text.h"
#include "utf8Text.h"

namespace {

size_t lengthOf(const char* utf8, size_t bytes) {
  return bytes == (size_t)-1 ? textLength(utf8, (size_t)-1) : bytes;
}

// Whether the code page holds this character as it is (no default character, no best fit).
bool ansiHolds(const wchar_t* units, int count) {
  char bytes[8];
  BOOL usedDefault = FALSE;
  int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, bytes, (int)sizeof bytes,
                                    nullptr, &usedDefault);
  return written > 0 && !usedDefault;
}

}  // namespace

wchar_t* newWideText(const char* utf8, size_t bytes) {
  size_t length = lengthOf(utf8, bytes);
  size_t units = utf16UnitsOf(utf8 ? utf8 : "", length);
  wchar_t* wide = (wchar_t*)GlobalAlloc(GMEM_FIXED, (units + 1) * sizeof(wchar_t));
  if (wide) utf8ToUtf16(utf8 ? utf8 : "", length, wide, units + 1);
  return wide;
}

bool toWide(const char* utf8, wchar_t* out, size_t outUnits) {
  if (!out || outUnits == 0) return false;
  size_t length = textLength(utf8, (size_t)-1);
  if (utf16UnitsOf(utf8 ? utf8 : "", length) + 1 > outUnits) {
    out[0] = L'\0';
    return false;
  }
  utf8ToUtf16(utf8 ? utf8 : "", length, out, outUnits);
  return true;
}

size_t fromWide(const wchar_t* wide, char* out, size_t outBytes) {
  size_t count = 0;
  if (wide)
    while (wide[count]) ++count;
  return utf16ToUtf8(wide ? wide : L"", count, out, outBytes);
}

bool samePath(const char* a, const char* b) {
  wchar_t* wideA = newWideText(a);
  wchar_t* wideB = newWideText(b);
  bool same = false;
  if (wideA && wideB) {
    for (wchar_t* p = wideA; *p; ++p)
      if (*p == L'/') *p = L'\\';
    for (wchar_t* p = wideB; *p; ++p)
      if (*p == L'/') *p = L'\\';
    same = lstrcmpiW(wideA, wideB) == 0;
  }
  if (wideA) GlobalFree(wideA);
  if (wideB) GlobalFree(wideB);
  return same;
}

size_t ansiToUtf8(const char* ansi, size_t bytes, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  if (!ansi || bytes == 0) return 0;
  int units = MultiByteToWideChar(CP_ACP, 0, ansi, (int)bytes, nullptr, 0);
  wchar_t* wide = units > 0 ? (wchar_t*)GlobalAlloc(GMEM_FIXED, (size_t)units * sizeof(wchar_t)) : nullptr;
  if (!wide) return 0;
  MultiByteToWideChar(CP_ACP, 0, ansi, (int)bytes, wide, units);
  size_t written = utf16ToUtf8(wide, (size_t)units, out, outBytes);
  GlobalFree(wide);
  return written;
}

size_t utf8ToAnsi(const char* utf8, size_t bytes, char* out, size_t outBytes, bool* lossless) {
  if (lossless) *lossless = true;
  if (!out || outBytes == 0) return (size_t)-1;
  out[0] = '\0';
  if (bytes == 0) return 0;
  wchar_t* wide = newWideText(utf8, bytes);
  if (!wide) return (size_t)-1;
  int units = 0;
  while (wide[units]) ++units;
  BOOL usedDefault = FALSE;
  int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, nullptr, &usedDefault);
  size_t written = (size_t)-1;
  if (needed >= 0 && (size_t)needed + 1 <= outBytes) {
    usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, out, needed, nullptr, &usedDefault);
    out[needed] = '\0';
    written = (size_t)needed;
    if (lossless) *lossless = !usedDefault;
  }
  GlobalFree(wide);
  return written;
}

int unmappableCharacters(const char* utf8, size_t bytes, char* list, size_t listBytes, int most, bool* more) {
  if (list && listBytes > 0) list[0] = '\0';
  if (more) *more = false;
  if (most > kUnmappableListed) most = kUnmappableListed;
  unsigned listed[kUnmappableListed];
  int count = 0;
  for (size_t at = 0; at < bytes;) {
    unsigned codePoint = 0;
    size_t length = utf8Decode(utf8, bytes, at, &codePoint);
    wchar_t units[3];  // a surrogate pair and the NUL
    size_t unitCount = utf8ToUtf16(utf8 + at, length, units, 3);
    at += length;
    bool seen = false;
    for (int i = 0; i < count && !seen; ++i) seen = listed[i] == codePoint;
    if (seen || unitCount == 0 || ansiHolds(units, (int)unitCount)) continue;
    if (count == most) {
      if (more) *more = true;
      break;
    }
    listed[count++] = codePoint;
    char character[kUtf8CharBytesMax + 1];
    character[utf8Encode(codePoint, character)] = '\0';
    if (count > 1) appendTo(list, listBytes, " ");
    appendTo(list, listBytes, character);
  }
  return count;
}
