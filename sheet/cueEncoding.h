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
