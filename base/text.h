// Bounded text helpers: every copy into a fixed buffer goes through these.
#pragma once

#include <cstddef>

// Copies the terminated text src into dst (dstBytes bytes in all), cut to at most dstBytes - 1
// bytes between whole UTF-8 characters (a byte that is no part of a valid one counts as one; a
// cut reads up to three bytes past it), and always terminates dst when dstBytes > 0. A null src
// copies as empty text. Returns the number of bytes copied.
size_t copyText(char* dst, size_t dstBytes, const char* src);

// Appends src to the text already in dst, within dstBytes in all (cut as copyText cuts: a later
// append may still fill the bytes a cut character left); returns the new length.
size_t appendTo(char* dst, size_t dstBytes, const char* src);

// Appends length characters of from to out (outBytes in all) at *at and terminates it; false,
// writing nothing, when they do not fit.
bool putBytes(char* out, size_t outBytes, size_t* at, const char* from, size_t length);
// The same for a terminated text (null: empty).
bool putText(char* out, size_t outBytes, size_t* at, const char* text);

// Whether a and b hold the same bytes; null counts as empty text.
bool textsEqual(const char* a, const char* b);

// Length of s, counting at most maxChars characters; 0 for a null s.
size_t textLength(const char* s, size_t maxChars);

// Writes value in decimal with at least minDigits digits (zero-padded after any minus sign),
// like printf's "%.Nd", cut to fit outBytes. Returns the number of characters written.
size_t formatInt(char* out, size_t outBytes, long long value, int minDigits = 1);

// Whether piece (not empty) stands anywhere in text; null counts as empty text.
bool containsText(const char* text, const char* piece);
