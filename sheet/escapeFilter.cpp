// The escape and case filter for formatted template text.
#include "escapeFilter.h"

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

struct Output {
  char* text;
  size_t capacity;  // characters, the terminator excluded
  size_t length;

  void put(char c) {
    if (length < capacity) text[length++] = c;
  }
  void removeLast() {
    if (length > 0) --length;
  }
};

char applyMode(CaseMode mode, char c, const Output& out) {
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

}  // namespace

void applyEscapes(const char* source, char* dest, size_t destBytes) {
  if (!dest || destBytes == 0) return;
  Output out = {dest, destBytes - 1, 0};
  CaseMode mode = kNormal;
  const char* p = source ? source : "";

  while (*p) {
    if (*p != '\\') {
      out.put(applyMode(mode, *p, out));
      ++p;
      continue;
    }
    char next = p[1];
    if (next == '\0') {  // a backslash that ends the text stays
      out.put('\\');
      break;
    }
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
      default:
        out.put('\\');
        out.put(next);
        break;
    }
    p += 2;
  }
  dest[out.length] = '\0';
}
