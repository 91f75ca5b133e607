// ASCII characters as the plug-in's text formats read them: blanks, digits and letters in any
// case. Bytes past ASCII (UTF-8 or a code page) are never blanks, digits or letters here.
#pragma once

#include <cstddef>

// A space or a TAB.
bool isBlank(char c);
// '0' to '9'.
bool isDigit(char c);
// 'A' to 'Z' lowered; any other byte as it is.
char lowerAscii(char c);
// Whether the length bytes at text are the terminated name, ASCII letters in any case.
bool sameIgnoringCase(const char* text, size_t length, const char* name);
