// Single-character case conversion through CharUpperW/CharLowerW.
#include "charCase.h"

#include <windows.h>

namespace {

const unsigned kLastSingleUnit = 0xFFFF;  // characters past it take two UTF-16 units: left as they are

}  // namespace

// With a zero high word, CharUpperW and CharLowerW convert the character held in the low word
// and return it the same way, instead of treating the argument as a string.
unsigned upperChar(unsigned codePoint) {
  if (codePoint == 0 || codePoint > kLastSingleUnit) return codePoint;
  return (unsigned)(WORD)(UINT_PTR)CharUpperW((LPWSTR)(UINT_PTR)(WORD)codePoint);
}

unsigned lowerChar(unsigned codePoint) {
  if (codePoint == 0 || codePoint > kLastSingleUnit) return codePoint;
  return (unsigned)(WORD)(UINT_PTR)CharLowerW((LPWSTR)(UINT_PTR)(WORD)codePoint);
}
