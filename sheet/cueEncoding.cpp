// The UTF-8 forms of a cue file.
#include "cueEncoding.h"

#include "../base/utf8Text.h"
#include "sheetLines.h"

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kMarkerLine[] = "REM COMMENT \"LumoMarker\"\r\n";

static_assert(sizeof kUtf8Bom - 1 == kUtf8BomBytes, "BOM length");
static_assert(sizeof kMarkerLine - 1 == kMarkerLineBytes, "marker line length");

bool startsWithRemLine(const char* text, size_t length) {
  SheetLine line;
  return readLine(text, length, 0, &line) && lineKeyword(text, line, "REM", nullptr);
}

Utf8Form automaticForm(const char* text, size_t length) {
  if (isAscii(text, length)) return Utf8Form{false, false};
  return Utf8Form{true, !startsWithRemLine(text, length)};
}

size_t utf8FileBytes(const char* text, size_t length, Utf8Form form, char* out, size_t outBytes) {
  size_t needed = length + (form.bom ? kUtf8BomBytes : 0) + (form.markerLine ? kMarkerLineBytes : 0);
  if (!out || needed + 1 > outBytes) return 0;
  size_t at = 0;
  if (form.bom)
    for (size_t i = 0; i < kUtf8BomBytes; ++i) out[at++] = kUtf8Bom[i];
  if (form.markerLine)
    for (size_t i = 0; i < kMarkerLineBytes; ++i) out[at++] = kMarkerLine[i];
  for (size_t i = 0; i < length; ++i) out[at++] = text[i];
  out[at] = '\0';
  return at;
}
