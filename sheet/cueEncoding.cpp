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

ReadForm readCueForm(const char* bytes, size_t size) {
  ReadForm form = {{false, false}, false, false, 0};
  if (size >= kUtf8BomBytes && bytes[0] == kUtf8Bom[0] && bytes[1] == kUtf8Bom[1] && bytes[2] == kUtf8Bom[2]) {
    form.utf8Form.bom = true;
    form.textAt = kUtf8BomBytes;
    // The line Automatic saving put first, exactly as it wrote it.
    size_t rest = size - form.textAt;
    bool marker = rest >= kMarkerLineBytes;
    for (size_t i = 0; marker && i < kMarkerLineBytes; ++i) marker = bytes[form.textAt + i] == kMarkerLine[i];
    if (marker) {
      form.utf8Form.markerLine = true;
      form.textAt += kMarkerLineBytes;
    }
  }
  const char* text = bytes + form.textAt;
  size_t length = size - form.textAt;
  form.ascii = isAscii(text, length);
  form.utf8 = form.utf8Form.bom || isValidUtf8(text, length);
  return form;
}

bool holdsNul(const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] == '\0') return true;
  return false;
}

size_t crLfLength(const char* text, size_t length) {
  size_t total = 0;
  for (size_t i = 0; i < length; ++i) {
    bool crLf = text[i] == '\r' && i + 1 < length && text[i + 1] == '\n';
    if (crLf) {
      total += 2;
      ++i;
    } else {
      total += text[i] == '\r' || text[i] == '\n' ? 2 : 1;
    }
  }
  return total;
}

size_t crLfText(const char* text, size_t length, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  size_t at = 0;
  for (size_t i = 0; i < length; ++i) {
    bool lineEnd = text[i] == '\r' || text[i] == '\n';
    size_t needed = lineEnd ? 2 : 1;
    if (at + needed + 1 > outBytes) break;
    if (lineEnd) {
      if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') ++i;
      out[at++] = '\r';
      out[at++] = '\n';
    } else {
      out[at++] = text[i];
    }
  }
  out[at] = '\0';
  return at;
}
