// The forms of a cue file: its BOMs, the marker line, and what its bytes say of their encoding.
#include "cueEncoding.h"

#include "../base/utf8Text.h"
#include "sheetLines.h"

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kMarkerLine[] = "REM COMMENT \"LumoMarker\"\r\n";
const char kUtf16LeBom[] = "\xFF\xFE";
const char kUtf16BeBom[] = "\xFE\xFF";

static_assert(sizeof kUtf8Bom - 1 == kUtf8BomBytes, "BOM length");
static_assert(sizeof kMarkerLine - 1 == kMarkerLineBytes, "marker line length");
static_assert(sizeof kUtf16LeBom - 1 == kUtf16BomBytes && sizeof kUtf16BeBom - 1 == kUtf16BomBytes,
              "UTF-16 BOM length");

namespace {

bool startsWith(const char* bytes, size_t size, const char* prefix, size_t prefixBytes) {
  if (size < prefixBytes) return false;
  for (size_t i = 0; i < prefixBytes; ++i)
    if (bytes[i] != prefix[i]) return false;
  return true;
}

}  // namespace

bool startsWithRemLine(const char* text, size_t length) {
  SheetLine line;
  return readLine(text, length, 0, &line) && lineKeyword(text, line, "REM", nullptr);
}

Utf8Form automaticForm(const char* text, size_t length) {
  if (isAscii(text, length)) return Utf8Form{false, false};
  return Utf8Form{true, !startsWithRemLine(text, length)};
}

size_t utf8FileBytes(const char* text, size_t length, Utf8Form form, char* out, size_t outBytes) {
  if (length == 0) form = Utf8Form{false, false};
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
  ReadForm read = {{kCharsetUtf8, {false, false}, 0}, false, 0};
  if (startsWith(bytes, size, kUtf16LeBom, kUtf16BomBytes) || startsWith(bytes, size, kUtf16BeBom, kUtf16BomBytes)) {
    read.form.charset = bytes[0] == kUtf16LeBom[0] ? kCharsetUtf16Le : kCharsetUtf16Be;
    read.textAt = kUtf16BomBytes;
    return read;
  }
  if (startsWith(bytes, size, kUtf8Bom, kUtf8BomBytes)) {
    read.form.utf8Form.bom = true;
    read.textAt = kUtf8BomBytes;
    // The line Automatic saving put first, exactly as it wrote it.
    if (startsWith(bytes + read.textAt, size - read.textAt, kMarkerLine, kMarkerLineBytes)) {
      read.form.utf8Form.markerLine = true;
      read.textAt += kMarkerLineBytes;
    }
    return read;
  }
  read.ascii = isAscii(bytes, size);
  if (!read.ascii && !isValidUtf8(bytes, size)) read.form.charset = kCharsetCodePage;
  return read;
}

bool holdsNul(const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] == '\0') return true;
  return false;
}
