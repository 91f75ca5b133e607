// The plug-in's UTF-8 text at the system's edges: UTF-16 copies for the wide calls, and the
// ANSI code page of this Windows for the older requests and files that use it.
#pragma once

#include <windows.h>

#include <cstddef>

// A UTF-16 copy of utf8 (bytes long, or up to its NUL when bytes is -1) in global memory;
// free it with GlobalFree. Null when memory is short.
wchar_t* newWideText(const char* utf8, size_t bytes = (size_t)-1);

// utf8 into out (outUnits in all); false, with out empty, when it does not fit whole.
bool toWide(const char* utf8, wchar_t* out, size_t outUnits);

// A UTF-16 text into UTF-8 (outBytes in all), cut between whole characters; returns the bytes.
size_t fromWide(const wchar_t* wide, char* out, size_t outBytes);

// Whether two paths (UTF-8) name the same file as the system compares names: in any letter
// case, '/' and '\' alike.
bool samePath(const char* a, const char* b);

// Text in the ANSI code page into UTF-8 (outBytes in all), cut between whole characters;
// returns the bytes written.
size_t ansiToUtf8(const char* ansi, size_t bytes, char* out, size_t outBytes);

// UTF-8 into the ANSI code page (outBytes in all, terminated); returns the bytes written, or
// (size_t)-1 when it does not fit. lossless tells whether every character had its own byte(s)
// in the code page (no '?' and no near match stood in for one).
size_t utf8ToAnsi(const char* utf8, size_t bytes, char* out, size_t outBytes, bool* lossless);

// The characters of utf8 that the ANSI code page cannot hold, each once, at most `most` of them
// (up to kUnmappableListed), written to list (listBytes in all) separated by blanks; returns how
// many were listed, and sets more when the text holds others besides.
const int kUnmappableListed = 16;
int unmappableCharacters(const char* utf8, size_t bytes, char* list, size_t listBytes, int most, bool* more);
