// Conversions through the system: UTF-16 by the plug-in's own helpers, code pages by the
// system's, UTF-8 as a code page by the plug-in's own.
#include "platformText.h"

#include "text.h"
#include "utf8Text.h"

namespace {

const unsigned kUtf8CodePage = CP_UTF8;  // 65001

// What a test set in place of the system's code page and conversion; zero: the system's.
struct CodePageSeam {
  unsigned codePage;
  ToMultiByteCall toMultiByte;
};

CodePageSeam gSeam = {0, nullptr};

int toMultiByte(UINT codePage, DWORD flags, const wchar_t* units, int count, char* out, int outBytes, BOOL* used) {
  if (gSeam.toMultiByte) return gSeam.toMultiByte(codePage, flags, units, count, out, outBytes, nullptr, used);
  return WideCharToMultiByte(codePage, flags, units, count, out, outBytes, nullptr, used);
}

size_t lengthOf(const char* utf8, size_t bytes) {
  return bytes == (size_t)-1 ? textLength(utf8, (size_t)-1) : bytes;
}

// Whether the code page holds this character as it is (no default character, no best fit).
// UTF-8 holds every one; Windows refuses the flag and the question for it.
bool holds(unsigned codePage, const wchar_t* units, int count) {
  if (codePage == kUtf8CodePage) return true;
  char bytes[8];
  BOOL usedDefault = FALSE;
  int written = toMultiByte(codePage, WC_NO_BEST_FIT_CHARS, units, count, bytes, (int)sizeof bytes, &usedDefault);
  return written > 0 && !usedDefault;
}

// UTF-8 with each invalid part made U+FFFD, into out (outBytes in all), cut between whole
// characters; valid tells whether there was none.
size_t repairUtf8(const char* bytes, size_t length, char* out, size_t outBytes, bool* valid) {
  size_t written = 0;
  bool whole = true;
  for (size_t at = 0; at < length;) {
    unsigned codePoint = 0;
    size_t part = utf8Decode(bytes, length, at, &codePoint);
    char character[kUtf8CharBytesMax];
    size_t n = utf8Encode(codePoint, character);
    bool same = n == part;
    for (size_t i = 0; same && i < n; ++i) same = character[i] == bytes[at + i];
    whole = whole && same;
    if (written + n >= outBytes) break;
    for (size_t i = 0; i < n; ++i) out[written++] = character[i];
    at += part;
  }
  out[written] = '\0';
  if (valid) *valid = whole;
  return written;
}

// Whether units convert back to exactly bytes (length) in the code page.
bool convertsBack(unsigned codePage, const wchar_t* units, int count, const char* bytes, size_t length) {
  int back = toMultiByte(codePage, 0, units, count, nullptr, 0, nullptr);
  if (back <= 0 || (size_t)back != length) return false;
  char* again = (char*)GlobalAlloc(GMEM_FIXED, (size_t)back);
  if (!again) return false;
  bool same = toMultiByte(codePage, 0, units, count, again, back, nullptr) == back;
  for (size_t i = 0; same && i < length; ++i) same = again[i] == bytes[i];
  GlobalFree(again);
  return same;
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

unsigned ansiCodePage() { return gSeam.codePage ? gSeam.codePage : GetACP(); }

void setCodePageForTests(unsigned codePage, ToMultiByteCall call) {
  gSeam.codePage = codePage;
  gSeam.toMultiByte = call;
}

bool isCodePageKnown(unsigned codePage) { return codePage == kUtf8CodePage || IsValidCodePage(codePage); }

size_t codePageToUtf8(unsigned codePage, const char* bytes, size_t length, char* out, size_t outBytes,
                      bool* roundTrips) {
  if (roundTrips) *roundTrips = true;
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  if (!bytes || length == 0) return 0;
  if (codePage == kUtf8CodePage) return repairUtf8(bytes, length, out, outBytes, roundTrips);
  if (roundTrips) *roundTrips = false;
  int units = MultiByteToWideChar(codePage, 0, bytes, (int)length, nullptr, 0);
  wchar_t* wide = units > 0 ? (wchar_t*)GlobalAlloc(GMEM_FIXED, (size_t)units * sizeof(wchar_t)) : nullptr;
  if (!wide) return 0;
  size_t written = 0;
  if (MultiByteToWideChar(codePage, 0, bytes, (int)length, wide, units) == units) {
    written = utf16ToUtf8(wide, (size_t)units, out, outBytes);
    if (roundTrips) *roundTrips = convertsBack(codePage, wide, units, bytes, length);
  }
  GlobalFree(wide);
  return written;
}

size_t utf8ToCodePage(unsigned codePage, const char* utf8, size_t bytes, char* out, size_t outBytes,
                      bool* lossless) {
  if (lossless) *lossless = true;
  if (!out || outBytes == 0) return (size_t)-1;
  out[0] = '\0';
  if (!utf8 || bytes == 0) return 0;
  if (codePage == kUtf8CodePage) {
    if (bytes + 1 > outBytes) return (size_t)-1;
    for (size_t i = 0; i < bytes; ++i) out[i] = utf8[i];
    out[bytes] = '\0';
    if (lossless) *lossless = isValidUtf8(utf8, bytes);
    return bytes;
  }
  wchar_t* wide = newWideText(utf8, bytes);
  if (!wide) return (size_t)-1;
  int units = 0;
  while (wide[units]) ++units;
  BOOL usedDefault = FALSE;
  // 0 for a text that is not empty is a failure (a code page that refuses the flags, say).
  int needed = units > 0 ? toMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, &usedDefault) : 0;
  size_t written = (size_t)-1;
  if (needed > 0 && (size_t)needed + 1 <= outBytes) {
    usedDefault = FALSE;
    if (toMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, out, needed, &usedDefault) == needed) {
      out[needed] = '\0';
      written = (size_t)needed;
      if (lossless) *lossless = !usedDefault;
    } else {
      out[0] = '\0';
    }
  }
  GlobalFree(wide);
  return written;
}

size_t ansiToUtf8(const char* ansi, size_t bytes, char* out, size_t outBytes) {
  return codePageToUtf8(ansiCodePage(), ansi, bytes, out, outBytes);
}

size_t utf8ToAnsi(const char* utf8, size_t bytes, char* out, size_t outBytes, bool* lossless) {
  return utf8ToCodePage(ansiCodePage(), utf8, bytes, out, outBytes, lossless);
}

int unmappableCharacters(unsigned codePage, const char* utf8, size_t bytes, char* list, size_t listBytes, int most,
                         bool* more) {
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
    if (seen || unitCount == 0 || holds(codePage, units, (int)unitCount)) continue;
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
