// Stored form of a template in plugin.ini.
#include "settingsText.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isQuote(char c) { return c == '"' || c == '\''; }
bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// The profile reader drops blanks at either end of a value and strips one enclosing pair of
// quotes; a stored text that begins or ends with either is protected by quotes of its own.
bool readerWouldAlter(char storedFirst, char storedLast) {
  return isBlank(storedFirst) || isBlank(storedLast) || isQuote(storedFirst) || isQuote(storedLast);
}

}  // namespace

bool encodeSettingText(const char* value, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return false;
  out[0] = '\0';
  if (!value) return true;

  size_t escapedLength = 0;
  size_t length = 0;
  for (; value[length]; ++length)
    escapedLength += isLineBreak(value[length]) ? 2 : 1;

  bool quote = false;
  if (length > 0) {
    char first = isLineBreak(value[0]) ? '\\' : value[0];
    char last = isLineBreak(value[length - 1]) ? 'n' : value[length - 1];
    quote = readerWouldAlter(first, last);
  }
  size_t total = escapedLength + (quote ? 2 : 0);
  if (total + 1 > outBytes) return false;

  size_t at = 0;
  if (quote) out[at++] = '"';
  for (size_t i = 0; i < length; ++i) {
    char c = value[i];
    if (isLineBreak(c)) {
      out[at++] = '\\';
      out[at++] = c == '\r' ? 'r' : 'n';
    } else {
      out[at++] = c;
    }
  }
  if (quote) out[at++] = '"';
  out[at] = '\0';
  return true;
}

bool parseSettingInt(const char* text, int* value) {
  const long long kLargest = 2147483647LL;
  const long long kSmallest = -2147483647LL - 1;
  if (!text || !value) return false;
  const char* p = text;
  while (isBlank(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') return false;
  long long magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p)
    if (magnitude <= kLargest + 1) magnitude = magnitude * 10 + (*p - '0');
  while (isBlank(*p)) ++p;
  if (*p) return false;
  long long result = negative ? -magnitude : magnitude;
  *value = (int)(result > kLargest ? kLargest : result < kSmallest ? kSmallest : result);
  return true;
}
