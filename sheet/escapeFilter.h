// Turns backslash escapes of formatted template text into characters and applies case modes.
#pragma once

#include <cstddef>

// Copies source into dest (destBytes in all) in one pass: \\ \n \r \t write a backslash, LF, CR
// and TAB; \b removes the character last written; \u \l \c \o switch to upper, lower,
// capitalise and normal case; a backslash before any other character is copied with it. Output
// that would not fit is cut; dest is always terminated. A null source gives empty text.
void applyEscapes(const char* source, char* dest, size_t destBytes);
