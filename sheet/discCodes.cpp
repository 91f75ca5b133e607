// Checking a track's ISRC, the disc's catalog number and CD-TEXT.
#include "discCodes.h"

#include "../base/asciiText.h"
#include "../base/utf8Text.h"

namespace {

const size_t kIsrcChars = 12;
const size_t kCatalogDigits = 13;
const unsigned kLatin1Last = 0xFF;

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

bool isIsrc(Span text) {
  if (text.length != kIsrcChars) return false;
  for (size_t i = 0; i < kIsrcChars; ++i) {
    char c = text.at[i];
    bool fits = i < 2 ? isCapital(c) : i < 5 ? isCapital(c) || isDigit(c) : isDigit(c);
    if (!fits) return false;
  }
  return true;
}

bool isThirteenDigits(Span text) {
  if (text.length != kCatalogDigits) return false;
  for (size_t i = 0; i < kCatalogDigits; ++i)
    if (!isDigit(text.at[i])) return false;
  return true;
}

char catalogCheckDigit(Span digits) {
  int sum = 0;
  for (size_t i = 0; i + 1 < kCatalogDigits && i < digits.length; ++i)
    sum += (digits.at[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return (char)('0' + (10 - sum % 10) % 10);
}

Span cdTextProblem(Span text, size_t* chars) {
  Span outside = Span{text.at + text.length, 0};
  size_t count = 0;
  for (size_t at = 0; at < text.length; ++count) {
    unsigned c = 0;
    size_t bytes = utf8Decode(text.at, text.length, at, &c);
    // Invalid UTF-8 reads as U+FFFD, outside Latin-1 as well.
    if (outside.length == 0 && c > kLatin1Last) outside = Span{text.at + at, bytes};
    at += bytes;
  }
  if (chars) *chars = count;
  return outside;
}
