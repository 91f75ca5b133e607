// Bounded text helpers.
#include "text.h"

#include "utf8Text.h"

size_t textLength(const char* s, size_t maxChars) {
  size_t n = 0;
  if (!s) return 0;
  while (n < maxChars && s[n]) ++n;
  return n;
}

bool textsEqual(const char* a, const char* b) {
  if (!a) a = "";
  if (!b) b = "";
  for (; *a && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

size_t copyText(char* dst, size_t dstBytes, const char* src) {
  if (!dst || dstBytes == 0) return 0;
  size_t n = 0;
  if (src) {
    while (n + 1 < dstBytes && src[n]) {
      dst[n] = src[n];
      ++n;
    }
    // Cut short: the character the cut falls into goes whole (the bytes after the cut tell).
    if (src[n]) n = utf8CutPoint(src, n + textLength(src + n, kUtf8CharBytesMax - 1), n);
  }
  dst[n] = '\0';
  return n;
}

size_t appendTo(char* dst, size_t dstBytes, const char* src) {
  if (!dst || dstBytes == 0) return 0;
  size_t used = textLength(dst, dstBytes - 1);
  return used + copyText(dst + used, dstBytes - used, src);
}

size_t formatInt(char* out, size_t outBytes, long long value, int minDigits) {
  const size_t kDigitsMax = 24;
  char digits[kDigitsMax];
  size_t count = 0;
  // Work on the negative side, which holds every value including the smallest.
  long long rest = value < 0 ? value : -value;
  do {
    digits[count++] = (char)('0' - rest % 10);
    rest /= 10;
  } while (rest != 0 && count < kDigitsMax);
  while (count < (size_t)minDigits && count < kDigitsMax) digits[count++] = '0';

  char text[kDigitsMax + 2];
  size_t length = 0;
  if (value < 0) text[length++] = '-';
  while (count > 0) text[length++] = digits[--count];
  text[length] = '\0';
  return copyText(out, outBytes, text);
}

bool putBytes(char* out, size_t outBytes, size_t* at, const char* from, size_t length) {
  if (*at >= outBytes || length > outBytes - 1 - *at) return false;
  for (size_t i = 0; i < length; ++i) out[(*at)++] = from[i];
  out[*at] = '\0';
  return true;
}

bool putText(char* out, size_t outBytes, size_t* at, const char* text) {
  return putBytes(out, outBytes, at, text, textLength(text, outBytes));
}

bool containsText(const char* text, const char* piece) {
  if (!text || !piece || !*piece) return false;
  for (; *text; ++text) {
    size_t i = 0;
    while (piece[i] && text[i] == piece[i]) ++i;
    if (!piece[i]) return true;
  }
  return false;
}
