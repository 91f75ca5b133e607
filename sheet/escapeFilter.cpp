// The escape and case filter for formatted template text (UTF-8).
#include "escapeFilter.h"

#include "../base/utf8Text.h"
#include "charCase.h"

namespace {

enum CaseMode { kNormal, kUpper, kLower, kCapitalise };

bool isWordDelimiter(char c) {
  switch (c) {
    case ' ': case '\t': case '\n': case '\r':
    case '(': case ')': case '[': case ']': case '{': case '}': case '<': case '>':
      return true;
    default:
      return false;
  }
}

bool isContinuation(char c) { return ((unsigned char)c & 0xC0) == 0x80; }

struct Output {
  char* text;
  size_t capacity;  // bytes, the terminator excluded
  size_t length;

  // Whole characters only: one that does not fit is left out.
  void put(const char* bytes, size_t count) {
    if (length + count > capacity) return;
    for (size_t i = 0; i < count; ++i) text[length++] = bytes[i];
  }
  void put(char c) { put(&c, 1); }
  // Removes the character written last, all of its bytes.
  void removeLast() {
    while (length > 0 && isContinuation(text[length - 1])) --length;
    if (length > 0) --length;
  }
};

unsigned applyMode(CaseMode mode, unsigned c, const Output& out) {
  switch (mode) {
    case kUpper:
      return upperChar(c);
    case kLower:
      return lowerChar(c);
    case kCapitalise:
      return (out.length == 0 || isWordDelimiter(out.text[out.length - 1])) ? upperChar(c) : c;
    default:
      return c;
  }
}

// Copies the character at p (length bytes), in the case mode: unchanged bytes unless its case
// changes.
void putCharacter(Output* out, const char* p, size_t length, unsigned codePoint, CaseMode mode) {
  unsigned changed = applyMode(mode, codePoint, *out);
  if (changed == codePoint) {
    out->put(p, length);
    return;
  }
  char encoded[kUtf8CharBytesMax];
  out->put(encoded, utf8Encode(changed, encoded));
}

}  // namespace

void applyEscapes(const char* source, char* dest, size_t destBytes) {
  if (!dest || destBytes == 0) return;
  Output out = {dest, destBytes - 1, 0};
  CaseMode mode = kNormal;
  const char* p = source ? source : "";
  size_t left = 0;
  while (p[left]) ++left;

  while (left > 0) {
    if (*p != '\\') {
      unsigned codePoint = 0;
      size_t length = utf8Decode(p, left, 0, &codePoint);
      putCharacter(&out, p, length, codePoint, mode);
      p += length;
      left -= length;
      continue;
    }
    if (left == 1) {  // a backslash that ends the text stays
      out.put('\\');
      break;
    }
    char next = p[1];
    switch (next) {
      case '\\': out.put('\\'); break;
      case 'n': out.put('\n'); break;
      case 'r': out.put('\r'); break;
      case 't': out.put('\t'); break;
      case 'b': out.removeLast(); break;
      case 'u': mode = kUpper; break;
      case 'l': mode = kLower; break;
      case 'c': mode = kCapitalise; break;
      case 'o': mode = kNormal; break;
      default: {
        // A backslash before any other character stays, with the character as it is.
        size_t length = utf8Decode(p, left, 1, nullptr);
        out.put('\\');
        out.put(p + 1, length);
        p += 1 + length;
        left -= 1 + length;
        continue;
      }
    }
    p += 2;
    left -= 2;
  }
  dest[out.length] = '\0';
}

bool lineBreaksAsEscapes(const char* templateText, char* out, size_t outBytes) {
  if (outBytes == 0) return false;
  size_t length = 0;
  size_t backslashes = 0;  // the run just copied
  auto put = [&](char c) {
    if (length + 1 >= outBytes) return false;
    out[length++] = c;
    return true;
  };
  bool whole = true;
  for (const char* c = templateText ? templateText : ""; *c && whole; ++c) {
    if (*c != '\r' && *c != '\n') {
      whole = put(*c);
      backslashes = *c == '\\' ? backslashes + 1 : 0;
      continue;
    }
    if (backslashes % 2 == 1) whole = put('\\');
    whole = whole && put('\\') && put(*c == '\r' ? 'r' : 'n');
    backslashes = 0;
  }
  out[length] = '\0';
  return whole;
}
