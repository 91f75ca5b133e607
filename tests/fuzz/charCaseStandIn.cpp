// For the native fuzz build: the single-character case conversion without the Win32 call,
// by the C locale (ASCII letters), as the system's ANSI code page converts them.
#include <cctype>

#include "../../sheet/charCase.h"

char upperChar(char c) { return (char)toupper((unsigned char)c); }
char lowerChar(char c) { return (char)tolower((unsigned char)c); }
