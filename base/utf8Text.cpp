// Conversions between UTF-8 and UTF-16, character by character, always bounded.
#include "utf8Text.h"

namespace {

const unsigned kMaxCodePoint = 0x10FFFF;
const unsigned kFirstSupplementary = 0x10000;
const unsigned kHighSurrogateFirst = 0xD800;
const unsigned kLowSurrogateFirst = 0xDC00;
const unsigned kSurrogateLast = 0xDFFF;

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// UTF-16 units one code point takes.
size_t unitsOf(unsigned codePoint) { return codePoint >= kFirstSupplementary ? 2 : 1; }

// The character at unit at of units: its length in units (1 or 2) and its code point; an
// unpaired surrogate reads as U+FFFD.
size_t utf16Decode(const Utf16Unit* units, size_t count, size_t at, unsigned* codePoint) {
  unsigned first = (unsigned)units[at] & 0xFFFF;
  if (first < kHighSurrogateFirst || first > kSurrogateLast) {
    *codePoint = first;
    return 1;
  }
  if (first < kLowSurrogateFirst && at + 1 < count) {
    unsigned second = (unsigned)units[at + 1] & 0xFFFF;
    if (second >= kLowSurrogateFirst && second <= kSurrogateLast) {
      *codePoint = kFirstSupplementary + ((first - kHighSurrogateFirst) << 10) + (second - kLowSurrogateFirst);
      return 2;
    }
  }
  *codePoint = kReplacementCharacter;
  return 1;
}

// utf8Decode for at < bytes; valid tells a real character from a replaced subpart.
size_t decodeChecked(const char* text, size_t bytes, size_t at, unsigned* codePoint, bool* valid) {
  *valid = false;
  unsigned char lead = (unsigned char)text[at];
  if (lead < 0x80) {
    *codePoint = lead;
    *valid = true;
    return 1;
  }
  // The bytes that follow a lead byte, and the range the first of them must fall in: what keeps
  // out overlong forms (E0, F0), surrogates (ED) and values past U+10FFFF (F4).
  size_t need = 0;
  unsigned value = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    *codePoint = kReplacementCharacter;
    return 1;
  }
  for (size_t i = 1; i <= need; ++i) {
    unsigned char b = at + i < bytes ? (unsigned char)text[at + i] : 0;  // 0: cut short
    if (b < low || b > high) {
      *codePoint = kReplacementCharacter;
      return i;
    }
    value = (value << 6) | (b & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  *codePoint = value;
  *valid = true;
  return need + 1;
}

}  // namespace

size_t utf8Decode(const char* text, size_t bytes, size_t at, unsigned* codePoint) {
  unsigned ignored;
  bool valid;
  if (!text || at >= bytes) {
    if (codePoint) *codePoint = 0;
    return 0;
  }
  return decodeChecked(text, bytes, at, codePoint ? codePoint : &ignored, &valid);
}

size_t utf8Encode(unsigned codePoint, char* out) {
  if (codePoint > kMaxCodePoint || (codePoint >= kHighSurrogateFirst && codePoint <= kSurrogateLast))
    codePoint = kReplacementCharacter;
  if (codePoint < 0x80) {
    out[0] = (char)codePoint;
    return 1;
  }
  if (codePoint < 0x800) {
    out[0] = (char)(0xC0 | (codePoint >> 6));
    out[1] = (char)(0x80 | (codePoint & 0x3F));
    return 2;
  }
  if (codePoint < kFirstSupplementary) {
    out[0] = (char)(0xE0 | (codePoint >> 12));
    out[1] = (char)(0x80 | ((codePoint >> 6) & 0x3F));
    out[2] = (char)(0x80 | (codePoint & 0x3F));
    return 3;
  }
  out[0] = (char)(0xF0 | (codePoint >> 18));
  out[1] = (char)(0x80 | ((codePoint >> 12) & 0x3F));
  out[2] = (char)(0x80 | ((codePoint >> 6) & 0x3F));
  out[3] = (char)(0x80 | (codePoint & 0x3F));
  return 4;
}

bool isValidUtf8(const char* text, size_t bytes) {
  if (!text) return true;
  size_t at = 0;
  while (at < bytes) {
    unsigned codePoint;
    bool valid;
    at += decodeChecked(text, bytes, at, &codePoint, &valid);
    if (!valid) return false;
  }
  return true;
}

bool isAscii(const char* text, size_t bytes) {
  if (!text) return true;
  for (size_t at = 0; at < bytes; ++at)
    if ((unsigned char)text[at] >= 0x80) return false;
  return true;
}

size_t utf8ToUtf16(const char* utf8, size_t bytes, Utf16Unit* out, size_t outUnits) {
  if (!out || outUnits == 0) return 0;
  if (!utf8) bytes = 0;
  size_t written = 0;
  size_t at = 0;
  while (at < bytes) {
    unsigned codePoint;
    size_t length = utf8Decode(utf8, bytes, at, &codePoint);
    size_t units = unitsOf(codePoint);
    if (written + units >= outUnits) break;  // one unit stays for the NUL
    if (units == 2) {
      unsigned offset = codePoint - kFirstSupplementary;
      out[written++] = (Utf16Unit)(kHighSurrogateFirst + (offset >> 10));
      out[written++] = (Utf16Unit)(kLowSurrogateFirst + (offset & 0x3FF));
    } else {
      out[written++] = (Utf16Unit)codePoint;
    }
    at += length;
  }
  out[written] = 0;
  return written;
}

size_t utf16ToUtf8(const Utf16Unit* units, size_t count, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  if (!units) count = 0;
  size_t written = 0;
  size_t at = 0;
  while (at < count) {
    unsigned codePoint;
    size_t length = utf16Decode(units, count, at, &codePoint);
    char encoded[kUtf8CharBytesMax];
    size_t n = utf8Encode(codePoint, encoded);
    if (written + n >= outBytes) break;  // one byte stays for the NUL
    for (size_t i = 0; i < n; ++i) out[written++] = encoded[i];
    at += length;
  }
  out[written] = '\0';
  return written;
}

size_t utf16UnitsOf(const char* utf8, size_t bytes) {
  if (!utf8) return 0;
  size_t units = 0;
  size_t at = 0;
  while (at < bytes) {
    unsigned codePoint;
    at += utf8Decode(utf8, bytes, at, &codePoint);
    units += unitsOf(codePoint);
  }
  return units;
}

size_t utf8BytesOf(const Utf16Unit* units, size_t count) {
  if (!units) return 0;
  size_t bytes = 0;
  size_t at = 0;
  while (at < count) {
    unsigned codePoint;
    at += utf16Decode(units, count, at, &codePoint);
    char encoded[kUtf8CharBytesMax];
    bytes += utf8Encode(codePoint, encoded);
  }
  return bytes;
}

size_t utf8CutPoint(const char* text, size_t bytes, size_t maxBytes) {
  if (!text) return 0;
  if (maxBytes >= bytes) return bytes;
  // A byte that is no continuation byte always starts a character, and no character is longer
  // than four bytes: walk forward from the last such byte among the three before the cut.
  size_t from = maxBytes >= kUtf8CharBytesMax - 1 ? maxBytes - (kUtf8CharBytesMax - 1) : 0;
  size_t at = maxBytes;
  for (size_t i = maxBytes; i > from; --i) {
    if (!isContinuation((unsigned char)text[i - 1])) {
      at = i - 1;
      break;
    }
  }
  while (at < maxBytes) {
    size_t length = utf8Decode(text, bytes, at, nullptr);
    if (at + length > maxBytes) return at;
    at += length;
  }
  return maxBytes;
}

size_t utf8OffsetOfUnit(const char* utf8, size_t bytes, size_t unitIndex) {
  if (!utf8) return 0;
  size_t unit = 0;
  size_t at = 0;
  while (at < bytes) {
    unsigned codePoint;
    size_t length = utf8Decode(utf8, bytes, at, &codePoint);
    unit += unitsOf(codePoint);
    if (unit > unitIndex) return at;
    at += length;
  }
  return bytes;
}

size_t unitIndexOfUtf8(const char* utf8, size_t bytes, size_t byteOffset) {
  if (!utf8) return 0;
  size_t unit = 0;
  size_t at = 0;
  while (at < bytes) {
    unsigned codePoint;
    size_t length = utf8Decode(utf8, bytes, at, &codePoint);
    if (at + length > byteOffset) return unit;
    unit += unitsOf(codePoint);
    at += length;
  }
  return unit;
}
