// Single-character case conversion through CharUpperA/CharLowerA.
#include "charCase.h"

#include <windows.h>

// With a zero high word, CharUpperA and CharLowerA convert the character held in the low word
// and return it the same way, instead of treating the argument as a string.
char upperChar(char c) {
  return (char)(BYTE)(UINT_PTR)CharUpperA((LPSTR)(UINT_PTR)(BYTE)c);
}

char lowerChar(char c) {
  return (char)(BYTE)(UINT_PTR)CharLowerA((LPSTR)(UINT_PTR)(BYTE)c);
}
