// Stored form of a template in plugin.ini.
#include "settingsText.h"

#include "asciiText.h"
#include "limits.h"
#include "text.h"
#include "utf8Text.h"

namespace {

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

namespace {

// One step through a template: a backslash with the character after it, or one character.
struct TemplateStep {
  size_t bytes;
  size_t chars;  // UTF-16 units: a line-break escape is one, any other pair two, as typed
};

// The UTF-16 units of the UTF-8 character at text + at (bytes long).
size_t unitsOf(const char* text, size_t at, size_t* bytes) {
  unsigned codePoint = 0;
  size_t left = 0;
  while (left < kUtf8CharBytesMax && text[at + left]) ++left;
  *bytes = utf8Decode(text + at, left, 0, &codePoint);
  return codePoint > 0xFFFF ? 2 : 1;
}

TemplateStep stepAt(const char* text, size_t at) {
  size_t bytes = 1;
  if (text[at] != '\\' || text[at + 1] == '\0') {
    size_t units = unitsOf(text, at, &bytes);
    return {bytes, units};
  }
  bool lineBreak = text[at + 1] == 'r' || text[at + 1] == 'n';
  if (lineBreak) return {2, 1};
  size_t units = unitsOf(text, at + 1, &bytes);
  return {1 + bytes, 1 + units};
}

}  // namespace

size_t templateLength(const char* text) {
  size_t count = 0;
  if (!text) return 0;
  for (size_t at = 0; text[at];) {
    TemplateStep step = stepAt(text, at);
    count += step.chars;
    at += step.bytes;
  }
  return count;
}

void cutTemplate(char* text, size_t maxChars) {
  if (!text) return;
  size_t count = 0;
  size_t at = 0;
  while (text[at]) {
    TemplateStep step = stepAt(text, at);
    if (count + step.chars > maxChars) break;
    count += step.chars;
    at += step.bytes;
  }
  text[at] = '\0';
}

bool parseSettingInt(const char* text, int* value) {
  const long long kLargest = 2147483647LL;
  const long long kSmallest = -2147483647LL - 1;
  if (!text || !value) return false;
  const char* p = text;
  while (isBlank(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!isDigit(*p)) return false;
  long long magnitude = 0;
  for (; isDigit(*p); ++p)
    if (magnitude <= kLargest + 1) magnitude = magnitude * 10 + (*p - '0');
  while (isBlank(*p)) ++p;
  if (*p) return false;
  long long result = negative ? -magnitude : magnitude;
  *value = (int)(result > kLargest ? kLargest : result < kSmallest ? kSmallest : result);
  return true;
}

bool parseSettingInts(const char* text, int* values, int count) {
  const int kCountMax = 8;
  int read[kCountMax];
  if (!text || count < 1 || count > kCountMax) return false;
  const char* at = text;
  for (int i = 0; i < count; ++i) {
    char piece[kNumberTextBytes];
    size_t length = 0;
    while (*at && *at != ',' && length + 1 < sizeof piece) piece[length++] = *at++;
    piece[length] = '\0';
    if (!parseSettingInt(piece, &read[i])) return false;
    bool last = i + 1 == count;
    if (last ? *at != '\0' : *at != ',') return false;
    if (!last) ++at;
  }
  for (int i = 0; i < count; ++i) values[i] = read[i];
  return true;
}

bool formatSettingInts(const int* values, int count, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return false;
  size_t at = 0;
  out[0] = '\0';
  for (int i = 0; i < count; ++i) {
    char number[kNumberTextBytes];
    formatInt(number, sizeof number, values[i]);
    if ((i > 0 && !putText(out, outBytes, &at, ",")) || !putText(out, outBytes, &at, number)) {
      out[0] = '\0';
      return false;
    }
  }
  return true;
}
