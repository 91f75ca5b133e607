// The plug-in's UTF-8 text at the system's edges: UTF-16 copies for the wide calls, and code pages
// (the ANSI code page of this Windows, or one a cue sheet was written in) for the older requests
// and files that use them.
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

// The ANSI code page the conversions below use: this Windows' (GetACP). Since Windows 10 it may
// be 65001, UTF-8: ANSI text is UTF-8 then.
unsigned ansiCodePage();

// For tests: the conversions take codePage as the ANSI code page (0: the system's again) and,
// when toMultiByte is given, call it in place of WideCharToMultiByte, so that a test can hold
// the code to a contract of Windows that Wine does not keep.
typedef int(WINAPI* ToMultiByteCall)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
void setCodePageForTests(unsigned codePage, ToMultiByteCall toMultiByte);

// Whether the system can convert text in this code page.
bool isCodePageKnown(unsigned codePage);

// Text in a code page into UTF-8 (outBytes in all, terminated), cut between whole characters;
// returns the bytes written, 0 only for empty text or when the conversion failed. roundTrips
// (may be null) tells whether the UTF-8 converts back to exactly these bytes: false when a byte
// sequence means no character of the code page, or one that the code page writes otherwise.
// With 65001 the bytes are UTF-8, each invalid part U+FFFD.
size_t codePageToUtf8(unsigned codePage, const char* bytes, size_t length, char* out, size_t outBytes,
                      bool* roundTrips = nullptr);

// UTF-8 into a code page (outBytes in all, terminated); returns the bytes written, or (size_t)-1
// when they do not fit or the conversion failed (never 0 for a text that is not empty).
// lossless tells whether every character had its own byte(s) in the code page (no '?' and no
// near match stood in for one). With 65001 the text goes as it is.
size_t utf8ToCodePage(unsigned codePage, const char* utf8, size_t bytes, char* out, size_t outBytes,
                      bool* lossless);

// The same for the ANSI code page.
size_t ansiToUtf8(const char* ansi, size_t bytes, char* out, size_t outBytes);
size_t utf8ToAnsi(const char* utf8, size_t bytes, char* out, size_t outBytes, bool* lossless);

// The characters of utf8 that the code page cannot hold, each once, at most `most` of them (up
// to kUnmappableListed), written to list (listBytes in all) separated by blanks; returns how
// many were listed, and sets more when the text holds others besides.
const int kUnmappableListed = 16;
int unmappableCharacters(unsigned codePage, const char* utf8, size_t bytes, char* list, size_t listBytes, int most,
                         bool* more);
