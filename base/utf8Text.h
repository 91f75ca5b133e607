// The one pair of conversions between the plug-in's UTF-8 text and UTF-16 at its edges, and the
// character walking both need. Every count says whether it is bytes (UTF-8) or units (UTF-16).
#pragma once

#include <cstddef>

// One UTF-16 code unit. wchar_t is 16 bits on Windows, where the windows and file names use it;
// elsewhere (the native fuzz build) char16_t holds the same values.
#ifdef _WIN32
typedef wchar_t Utf16Unit;
#else
typedef char16_t Utf16Unit;
#endif

const unsigned kReplacementCharacter = 0xFFFD;
const size_t kUtf8CharBytesMax = 4;  // the longest UTF-8 character

// The character that starts at byte at of text (bytes long): its length in bytes (at least 1
// when at < bytes, 0 at or past the end), and its code point in *codePoint (may be null).
// Invalid UTF-8 (a stray continuation byte, an overlong form, a surrogate, a code point past
// U+10FFFF, a sequence cut short) reads as U+FFFD, one for each maximal invalid subpart.
size_t utf8Decode(const char* text, size_t bytes, size_t at, unsigned* codePoint);

// Writes codePoint as UTF-8 into out (room for kUtf8CharBytesMax bytes, not terminated);
// a surrogate or a value past U+10FFFF is written as U+FFFD. Returns the bytes written, 1 to 4.
size_t utf8Encode(unsigned codePoint, char* out);

// Whether text holds only valid UTF-8 / only ASCII (bytes below 0x80).
bool isValidUtf8(const char* text, size_t bytes);
bool isAscii(const char* text, size_t bytes);

// Converts bytes of UTF-8 into out (outUnits units in all, the NUL among them), cut between whole
// characters (never inside a surrogate pair) to fit; out is terminated whenever outUnits > 0.
// Returns the units written, without the NUL. A NUL byte inside the text converts like any other.
size_t utf8ToUtf16(const char* utf8, size_t bytes, Utf16Unit* out, size_t outUnits);

// Converts count UTF-16 units into UTF-8 in out (outBytes bytes in all, the NUL among them), cut
// between whole characters to fit; an unpaired surrogate becomes U+FFFD. out is terminated
// whenever outBytes > 0. Returns the bytes written, without the NUL.
size_t utf16ToUtf8(const Utf16Unit* units, size_t count, char* out, size_t outBytes);

// The length of each whole conversion, without the NUL: units for the UTF-8 text, bytes for the
// UTF-16 text.
size_t utf16UnitsOf(const char* utf8, size_t bytes);
size_t utf8BytesOf(const Utf16Unit* units, size_t count);

// The largest length <= maxBytes at which text (bytes long) can be cut without splitting a
// character (an invalid subpart counts as one character, as in utf8Decode).
size_t utf8CutPoint(const char* text, size_t bytes, size_t maxBytes);

// Positions between an edit control, which counts UTF-16 units, and the sheet code, which counts
// UTF-8 bytes. The byte offset where UTF-16 unit unitIndex starts: the character's start when
// the unit is the second half of a surrogate pair, bytes when past the end.
size_t utf8OffsetOfUnit(const char* utf8, size_t bytes, size_t unitIndex);
// The UTF-16 unit index of byte offset byteOffset: the character's start when the offset falls
// inside a character, the text's whole length in units when past the end.
size_t unitIndexOfUtf8(const char* utf8, size_t bytes, size_t byteOffset);
