// How a template is written as one plugin.ini value so that it reads back unchanged.
#pragma once

#include <cstddef>

// Writes value into out (outBytes in all) in the form stored in plugin.ini: real CR and LF
// become the escapes \r and \n, so the value stays on one line and formats the same, and a
// value that the profile reader would alter (blanks or a quote at either end) is wrapped in
// one extra pair of double quotes, which the reader strips again. Returns false, writing an
// empty text, when the stored form does not fit.
bool encodeSettingText(const char* value, char* out, size_t outBytes);

// Length of a template (UTF-8) in UTF-16 units, as its field counts it, as it formats and as it
// comes back from plugin.ini: a line break counts as one character whether it stands as a real
// CR or LF or as the escape \r or \n (the stored form writes the former as the latter). Pairs
// are read left to right, so the "\\" of "\\r" is one pair and the r a plain character.
size_t templateLength(const char* text);

// Cuts text in place so that templateLength(text) <= maxChars, never inside an escape pair or a
// character.
void cutTemplate(char* text, size_t maxChars);

// Reads a whole decimal integer: blanks around it and one sign allowed, values past the 32-bit
// range clamped to it. False for anything else (empty, "abc", "12abc"), leaving value alone.
bool parseSettingInt(const char* text, int* value);

// Reads count such integers separated by commas ("12,-3,400,300") into values; false, leaving
// values alone, unless the text holds exactly count of them.
bool parseSettingInts(const char* text, int* values, int count);
// Writes count integers separated by commas into out (outBytes); false, writing an empty text,
// when they do not fit.
bool formatSettingInts(const int* values, int count, char* out, size_t outBytes);
