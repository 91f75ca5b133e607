// The forms a cue sheet's text (UTF-8 inside the plug-in) is written in: UTF-8, a code page or
// UTF-16. Windows readers need a BOM to read UTF-8, and some readers lose the first line behind
// a BOM: with a REM line first they lose nothing.
#pragma once

#include <cstddef>

extern const char kUtf8Bom[];          // EF BB BF
extern const char kMarkerLine[];       // REM COMMENT "LumoMarker" and CR LF
const size_t kUtf8BomBytes = 3;
const size_t kMarkerLineBytes = 26;

struct Utf8Form {
  bool bom;
  bool markerLine;  // after the BOM
};

// Whether the text's first line is a REM line.
bool startsWithRemLine(const char* text, size_t length);

// The form Automatic writes: ASCII byte for byte; anything else with a BOM, and with the marker
// line first when the first line is not a REM line already.
Utf8Form automaticForm(const char* text, size_t length);

// The bytes of the text in that form into out (outBytes in all, at least length +
// kUtf8BomBytes + kMarkerLineBytes + 1); returns their length. An empty text gives no bytes:
// an empty sheet is an empty file.
size_t utf8FileBytes(const char* text, size_t length, Utf8Form form, char* out, size_t outBytes);

// The encodings a cue file's text comes in.
enum CueCharset { kCharsetUtf8, kCharsetCodePage, kCharsetUtf16Le, kCharsetUtf16Be };

// How a cue file's text is written.
struct CueForm {
  CueCharset charset;
  Utf8Form utf8Form;  // UTF-8: whether a BOM and the marker line come first
  unsigned codePage;  // a code page: its number
};

extern const char kUtf16LeBom[];  // FF FE
extern const char kUtf16BeBom[];  // FE FF
const size_t kUtf16BomBytes = 2;

// What a cue file's bytes say of how they were written, and where its sheet's text starts: a
// UTF-16 BOM, a UTF-8 BOM (and the marker line behind it, both dropped from the text), text that
// is valid UTF-8, or else a code page (codePage 0: which one is for the reader to say).
struct ReadForm {
  CueForm form;
  bool ascii;  // UTF-8 without a BOM holding only ASCII: any encoding writes it alike
  size_t textAt;
};
ReadForm readCueForm(const char* bytes, size_t size);

// Whether the bytes hold a NUL, which no text file holds.
bool holdsNul(const char* bytes, size_t size);
