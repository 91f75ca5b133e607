// For the native fuzz build: the single-character case conversion without the Win32 call, for
// ASCII letters only (other characters are left as they are).
#include "../../sheet/charCase.h"

unsigned upperChar(unsigned c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
unsigned lowerChar(unsigned c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }
