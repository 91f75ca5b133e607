// Cue file bytes into the editor's text and back, line by line.
#include "cueBytes.h"

#include <windows.h>

#include "../base/platformText.h"
#include "../base/textLines.h"
#include "../base/utf8Text.h"

namespace {

const char kCrLf[] = "\r\n";
const size_t kCrLfBytes = 2;
const unsigned kUtf8CodePage = CP_UTF8;
// A byte of a code page or of broken UTF-8 gives at most three bytes of UTF-8 (U+FFFD takes
// three), a line break of one byte two, a UTF-16 unit of two bytes at most three.
const size_t kUtf8BytesPerByte = 3;
// A code page takes at most two bytes for a character, which takes at least one byte in UTF-8.
const size_t kCodePageBytesPerByte = 2;
const size_t kUtf16UnitBytes = 2;
const Utf16Unit kLineFeed = 0x0A;
const Utf16Unit kCarriageReturn = 0x0D;
const Utf16Unit kHighSurrogateFirst = 0xD800;
const Utf16Unit kLowSurrogateFirst = 0xDC00;
const Utf16Unit kSurrogateLast = 0xDFFF;

bool isHighSurrogate(Utf16Unit unit) { return unit >= kHighSurrogateFirst && unit < kLowSurrogateFirst; }
bool isLowSurrogate(Utf16Unit unit) { return unit >= kLowSurrogateFirst && unit <= kSurrogateLast; }

void noteChanged(DecodedCue* cue, int line) {
  if (cue->changedLines < kChangedLinesKept) cue->changed[cue->changedLines] = line;
  ++cue->changedLines;
}

void putLineBreak(DecodedCue* cue) {
  for (size_t i = 0; i < kCrLfBytes; ++i) cue->text[cue->length++] = kCrLf[i];
  cue->text[cue->length] = '\0';
}

// Text of bytes, each line converted on its own: in a double-byte code page a lead byte left at
// a line's end would take the line break with it.
bool decodeByteLines(const char* text, size_t length, unsigned codePage, size_t room, DecodedCue* cue) {
  TextLine line;
  int number = 0;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    ++number;
    size_t bytes = line.end - line.start;
    bool same = true;
    size_t written = codePageToUtf8(codePage, text + line.start, bytes, cue->text + cue->length,
                                    room - cue->length, &same);
    if (bytes > 0 && written == 0) return false;
    cue->length += written;
    if (!same) noteChanged(cue, number);
    if (line.next > line.end) putLineBreak(cue);
  }
  return true;
}

// Whether every surrogate of the units stands in a pair (a lone one reads as U+FFFD).
bool surrogatesPaired(const Utf16Unit* units, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (isHighSurrogate(units[i]) && i + 1 < count && isLowSurrogate(units[i + 1])) ++i;
    else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) return false;
  }
  return true;
}

// UTF-16 text of length bytes in the file's byte order, line by line; an odd last byte reads as
// a lone surrogate. kDecodeNul for a NUL unit.
DecodeResult decodeUtf16Lines(const char* text, size_t length, bool bigEndian, size_t room, DecodedCue* cue) {
  size_t count = (length + 1) / kUtf16UnitBytes;
  Utf16Unit* units = (Utf16Unit*)GlobalAlloc(GMEM_FIXED, (count + 1) * sizeof(Utf16Unit));
  if (!units) return kDecodeFailed;
  DecodeResult result = kDecoded;
  for (size_t i = 0; i < count; ++i) {
    unsigned char first = (unsigned char)text[2 * i];
    unsigned char second = 2 * i + 1 < length ? (unsigned char)text[2 * i + 1] : 0;
    units[i] = 2 * i + 1 < length ? (Utf16Unit)(bigEndian ? first << 8 | second : second << 8 | first)
                                  : kHighSurrogateFirst;
    if (units[i] == 0) result = kDecodeNul;
  }
  int number = 0;
  for (size_t at = 0; result == kDecoded && at < count;) {
    size_t end = at;
    while (end < count && units[end] != kLineFeed && units[end] != kCarriageReturn) ++end;
    ++number;
    cue->length += utf16ToUtf8(units + at, end - at, cue->text + cue->length, room - cue->length);
    if (!surrogatesPaired(units + at, end - at)) noteChanged(cue, number);
    at = end;
    if (at < count) {
      at += units[at] == kCarriageReturn && at + 1 < count && units[at + 1] == kLineFeed ? 2 : 1;
      putLineBreak(cue);
    }
  }
  GlobalFree(units);
  return result;
}

bool endsWithLineBreak(const char* text, size_t length) {
  return length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r');
}

bool allocate(CueBytes* out, size_t room) {
  out->bytes = (char*)GlobalAlloc(GMEM_FIXED, room);
  return out->bytes != nullptr;
}

void appendBytes(CueBytes* out, const char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) out->bytes[out->length++] = bytes[i];
}

EncodeResult encodeUtf8(const char* text, size_t length, size_t closing, CueBytes* out) {
  size_t room = length + kUtf8BomBytes + kMarkerLineBytes + 1;
  if (!allocate(out, room + closing)) return kEncodeFailed;
  out->length = utf8FileBytes(text, length, out->form.utf8Form, out->bytes, room);
  appendBytes(out, kCrLf, closing);
  return kEncoded;
}

EncodeResult encodeCodePage(const char* text, size_t length, size_t closing, CueBytes* out) {
  size_t room = length * kCodePageBytesPerByte + closing + 1;
  if (!allocate(out, room)) return kEncodeFailed;
  bool lossless = false;
  size_t written = utf8ToCodePage(out->form.codePage, text, length, out->bytes, room, &lossless);
  if (written == (size_t)-1) return kEncodeFailed;
  if (!lossless) return kEncodeLacks;
  out->length = written;
  appendBytes(out, kCrLf, closing);
  return kEncoded;
}

EncodeResult encodeUtf16(const char* text, size_t length, size_t closing, CueBytes* out) {
  bool bigEndian = out->form.charset == kCharsetUtf16Be;
  size_t units = utf16UnitsOf(text, length);
  wchar_t* wide = newWideText(text, length);
  if (!wide || !allocate(out, kUtf16BomBytes + (units + closing) * kUtf16UnitBytes + 1)) {
    if (wide) GlobalFree(wide);
    return kEncodeFailed;
  }
  if (length > 0) appendBytes(out, bigEndian ? kUtf16BeBom : kUtf16LeBom, kUtf16BomBytes);
  for (size_t i = 0; i < units + closing; ++i) {
    unsigned unit = i < units ? (unsigned)wide[i] : (unsigned char)kCrLf[i - units];
    char pair[2] = {(char)(unit & 0xFF), (char)(unit >> 8)};
    if (bigEndian) {
      pair[0] = (char)(unit >> 8);
      pair[1] = (char)(unit & 0xFF);
    }
    appendBytes(out, pair, kUtf16UnitBytes);
  }
  GlobalFree(wide);
  return kEncoded;
}

}  // namespace

DecodeResult decodeCueFile(const char* bytes, size_t size, unsigned codePage, DecodedCue* out) {
  *out = DecodedCue();
  ReadForm read = readCueForm(bytes, size);
  out->form = read.form;
  bool utf16 = read.form.charset == kCharsetUtf16Le || read.form.charset == kCharsetUtf16Be;
  // A code page the user named wins over text that merely looks like UTF-8; a BOM wins over both.
  if (codePage && !utf16 && !read.form.utf8Form.bom && !read.ascii) out->form.charset = kCharsetCodePage;
  if (out->form.charset == kCharsetCodePage) out->form.codePage = codePage ? codePage : ansiCodePage();
  out->ascii = read.ascii && out->form.charset == kCharsetUtf8;
  const char* text = bytes + read.textAt;
  size_t length = size - read.textAt;
  if (!utf16 && holdsNul(text, length)) return kDecodeNul;
  size_t room = length * kUtf8BytesPerByte + kUtf8CharBytesMax + 1;
  out->text = (char*)GlobalAlloc(GMEM_FIXED, room);
  if (!out->text) return kDecodeFailed;
  out->text[0] = '\0';
  DecodeResult result = kDecodeFailed;
  if (utf16)
    result = decodeUtf16Lines(text, length, read.form.charset == kCharsetUtf16Be, room, out);
  else if (decodeByteLines(text, length, out->form.charset == kCharsetCodePage ? out->form.codePage : kUtf8CodePage,
                           room, out))
    result = kDecoded;
  if (result != kDecoded) freeDecodedCue(out);
  return result;
}

void freeDecodedCue(DecodedCue* cue) {
  if (cue->text) GlobalFree(cue->text);
  cue->text = nullptr;
  cue->length = 0;
}

EncodeResult encodeCueText(const char* text, size_t length, const CueForm& form, CueBytes* out) {
  *out = CueBytes{nullptr, 0, form};
  size_t closing = length > 0 && !endsWithLineBreak(text, length) ? kCrLfBytes : 0;
  EncodeResult result = form.charset == kCharsetUtf8       ? encodeUtf8(text, length, closing, out)
                        : form.charset == kCharsetCodePage ? encodeCodePage(text, length, closing, out)
                                                           : encodeUtf16(text, length, closing, out);
  // A sheet that is not empty never becomes an empty file.
  if (result == kEncoded && length > 0 && out->length == 0) result = kEncodeFailed;
  if (result != kEncoded) freeCueBytes(out);
  return result;
}

void freeCueBytes(CueBytes* bytes) {
  if (bytes->bytes) GlobalFree(bytes->bytes);
  bytes->bytes = nullptr;
  bytes->length = 0;
}
