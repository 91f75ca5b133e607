// Bounded text helpers.
#include "text.h"

size_t textLength(const char* s, size_t maxChars) {
  size_t n = 0;
  if (!s) return 0;
  while (n < maxChars && s[n]) ++n;
  return n;
}

size_t copyText(char* dst, size_t dstBytes, const char* src) {
  if (!dst || dstBytes == 0) return 0;
  size_t n = 0;
  if (src) {
    while (n + 1 < dstBytes && src[n]) {
      dst[n] = src[n];
      ++n;
    }
  }
  dst[n] = '\0';
  return n;
}

size_t appendTo(char* dst, size_t dstBytes, const char* src) {
  if (!dst || dstBytes == 0) return 0;
  size_t used = textLength(dst, dstBytes - 1);
  return used + copyText(dst + used, dstBytes - used, src);
}
