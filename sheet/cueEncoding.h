// The bytes a cue sheet's text (UTF-8) is written as. Windows readers need a BOM to read UTF-8,
// and some readers lose the first line behind a BOM: with a REM line first they lose nothing.
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
// kUtf8BomBytes + kMarkerLineBytes + 1); returns their length.
size_t utf8FileBytes(const char* text, size_t length, Utf8Form form, char* out, size_t outBytes);

// What a cue file's bytes say of how they were written, and where its sheet's text starts.
struct ReadForm {
  Utf8Form utf8Form;  // the BOM, and the marker line behind it (both dropped from the text)
  bool utf8;          // a BOM or text that is valid UTF-8; otherwise the ANSI code page
  bool ascii;         // the text is plain ASCII: any encoding reads it alike
  size_t textAt;
};
ReadForm readCueForm(const char* bytes, size_t size);

// Whether the bytes hold a NUL, which no text file holds.
bool holdsNul(const char* bytes, size_t size);

// The text with every line ending in CR LF (a LF alone and a CR alone become CR LF), as an edit
// control shows lines; crLfLength gives the length, crLfText writes it to out (outBytes in all,
// terminated) and returns it.
size_t crLfLength(const char* text, size_t length);
size_t crLfText(const char* text, size_t length, char* out, size_t outBytes);
