// Turns backslash escapes of formatted template text into characters and applies case modes.
#pragma once

#include <cstddef>

// Copies source into dest (destBytes in all) in one pass: \\ \n \r \t write a backslash, LF, CR
// and TAB; \b removes the character last written; \u \l \c \o switch to upper, lower,
// capitalise and normal case; a backslash before any other character is copied with it. Output
// that would not fit is cut; dest is always terminated. A null source gives empty text.
void applyEscapes(const char* source, char* dest, size_t destBytes);

// The template as the player's formatter is to see it: each real line break (a CR or an LF) is
// written as the escape \r or \n, which applyEscapes turns back into it after formatting (the
// formatter turns real line breaks into blanks). An odd run of backslashes right before a break
// gets one more, so that it gives the same backslashes as before. Returns false when out
// (outBytes, at most three times the template's bytes are needed) could not hold it all; out is
// always terminated.
bool lineBreaksAsEscapes(const char* templateText, char* out, size_t outBytes);
