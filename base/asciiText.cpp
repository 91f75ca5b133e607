// ASCII character classes and a comparison in any letter case.
#include "asciiText.h"

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const char* text, size_t length, const char* name) {
  size_t i = 0;
  for (; i < length && name[i]; ++i)
    if (lowerAscii(text[i]) != lowerAscii(name[i])) return false;
  return i == length && !name[i];
}
