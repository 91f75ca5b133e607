// Formatting and checking the recovery copy's text.
#include "recoveryText.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "sheetLines.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";
const char kFirstLine[] = "REM LUMOMARKER-UNSAVED ";
const char kSecondLine[] = "REM LUMOMARKER-AUDIO ";
const char kOpenedLine[] = "REM LUMOMARKER-OPENED ";
const char kNextLine[] = "REM LUMOMARKER-NEXT ";
const char kLineBreak[] = "\r\n";
const size_t kNumberChars = 10;  // enough for every value either number may take

bool startsWith(const char* at, const char* end, const char* prefix) {
  for (; *prefix; ++prefix, ++at)
    if (at >= end || *at != *prefix) return false;
  return true;
}

// Reads decimal digits at *at up to end, advancing; false without any or past the largest
// (checked before each digit, so that no value wraps around on its way there).
bool readDigits(const char** at, const char* end, size_t largest, size_t* value) {
  size_t result = 0;
  size_t digits = 0;
  while (*at < end && **at >= '0' && **at <= '9' && digits < kNumberChars) {
    size_t digit = (size_t)(**at - '0');
    if (result > (largest - digit) / 10) return false;
    result = result * 10 + digit;
    ++*at;
    ++digits;
  }
  if (digits == 0 || (*at < end && **at >= '0' && **at <= '9')) return false;
  *value = result;
  return true;
}

bool isPathByte(unsigned char c) { return c >= 0x20; }

bool cleanPath(const char* path) {
  size_t length = textLength(path, kPathBytes);
  if (length >= kPathBytes) return false;
  for (size_t i = 0; i < length; ++i)
    if (!isPathByte((unsigned char)path[i])) return false;
  return true;
}

bool isFormByte(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Reads the rest of a line at *at as a path into out (kPathBytes); false when it has no line
// break after it, is too long or holds a control character.
bool readPathLine(const char** at, const char* end, char* out) {
  const char* path = *at;
  while (*at < end && **at != '\r' && **at != '\n') ++*at;
  size_t chars = (size_t)(*at - path);
  if (chars >= kPathBytes || !startsWith(*at, end, kLineBreak)) return false;
  for (const char* p = path; p < path + chars; ++p)
    if (!isPathByte((unsigned char)*p)) return false;
  size_t written = 0;
  putBytes(out, kPathBytes, &written, path, chars);  // as they stand: a copy's bytes, not yet text
  *at += 2;
  return true;
}

// Calls line(start, length) for each line of the tracklist that is not blank; returns false
// when a NUL stands in it.
template <class Line>
bool forEachTracklistLine(const char* text, size_t length, Line line) {
  SheetLine each;
  for (size_t at = 0; readLine(text, length, at, &each); at = each.next) {
    bool blank = true;
    for (size_t i = each.start; i < each.end; ++i) {
      if (text[i] == '\0') return false;
      blank = blank && (text[i] == ' ' || text[i] == '\t');
    }
    if (!blank) line(text + each.start, each.end - each.start);
  }
  return true;
}

}  // namespace

size_t recoveryHeaderBytes(const CopyHeader& header) {
  char number[kNumberTextBytes];
  size_t total = sizeof kBom - 1 + sizeof kFirstLine - 1 + formatInt(number, sizeof number, header.nextEntry) + 1 +
                 formatInt(number, sizeof number, (long long)header.textBytes) + 2 + sizeof kSecondLine - 1 +
                 textLength(header.audioPath, kPathBytes) + 2;
  if (header.openedPath && header.openedPath[0])
    total += sizeof kOpenedLine - 1 + textLength(header.openedForm, kOpenedFormBytes) + 1 +
             textLength(header.openedPath, kPathBytes) + 2;
  if (header.tracklist && header.tracklistBytes <= kRecoveryTracklistMaxBytes)
    forEachTracklistLine(header.tracklist, header.tracklistBytes,
                         [&](const char*, size_t length) { total += sizeof kNextLine - 1 + length + 2; });
  return total;
}

size_t formatRecoveryHeader(const CopyHeader& header, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  bool opened = header.openedPath && header.openedPath[0];
  const char* form = header.openedForm ? header.openedForm : "";
  size_t formLength = textLength(form, kOpenedFormBytes);
  bool formOk = formLength < kOpenedFormBytes;
  for (size_t i = 0; i < formLength; ++i) formOk = formOk && isFormByte(form[i]);
  bool tracklistOk = !header.tracklist || header.tracklistBytes <= kRecoveryTracklistMaxBytes;
  if (tracklistOk && header.tracklist)
    tracklistOk = forEachTracklistLine(header.tracklist, header.tracklistBytes, [](const char*, size_t) {});
  size_t needed = recoveryHeaderBytes(header);
  if (needed + 1 > outBytes || !cleanPath(header.audioPath) || (opened && (!cleanPath(header.openedPath) || !formOk)) ||
      !tracklistOk || header.nextEntry < 1)
    return 0;
  char number[kNumberTextBytes];
  copyText(out, outBytes, kBom);
  appendTo(out, outBytes, kFirstLine);
  formatInt(number, sizeof number, header.nextEntry);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, " ");
  formatInt(number, sizeof number, (long long)header.textBytes);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, kLineBreak);
  appendTo(out, outBytes, kSecondLine);
  appendTo(out, outBytes, header.audioPath);
  size_t at = appendTo(out, outBytes, kLineBreak);
  if (opened) {
    appendTo(out, outBytes, kOpenedLine);
    appendTo(out, outBytes, form);
    appendTo(out, outBytes, " ");
    appendTo(out, outBytes, header.openedPath);
    at = appendTo(out, outBytes, kLineBreak);
  }
  if (header.tracklist) {
    forEachTracklistLine(header.tracklist, header.tracklistBytes, [&](const char* line, size_t length) {
      for (const char* p = kNextLine; *p; ++p) out[at++] = *p;
      for (size_t i = 0; i < length; ++i) out[at++] = line[i];
      out[at++] = '\r';
      out[at++] = '\n';
    });
    out[at] = '\0';
  }
  return at;
}

bool parseRecovery(const char* bytes, size_t size, RecoveredSheet* sheet) {
  if (!bytes || !sheet) return false;
  const char* end = bytes + size;
  const char* at = bytes;
  size_t next = 0;
  size_t textBytes = 0;
  bool utf8 = startsWith(at, end, kBom);
  if (utf8) at += sizeof kBom - 1;
  if (!startsWith(at, end, kFirstLine)) return false;
  at += sizeof kFirstLine - 1;
  if (!readDigits(&at, end, 0x7FFFFFFF, &next) || next < 1) return false;
  if (at >= end || *at++ != ' ') return false;
  if (!readDigits(&at, end, kRecoveryTextMaxBytes, &textBytes)) return false;
  if (!startsWith(at, end, kLineBreak)) return false;
  at += 2;
  if (!startsWith(at, end, kSecondLine)) return false;
  at += sizeof kSecondLine - 1;
  if (!readPathLine(&at, end, sheet->audioPath)) return false;
  sheet->openedPath[0] = '\0';
  sheet->openedForm[0] = '\0';
  if (startsWith(at, end, kOpenedLine)) {
    at += sizeof kOpenedLine - 1;
    const char* form = at;
    while (at < end && isFormByte(*at)) ++at;
    size_t formLength = (size_t)(at - form);
    if (formLength == 0 || formLength >= kOpenedFormBytes || at >= end || *at++ != ' ') return false;
    size_t written = 0;
    putBytes(sheet->openedForm, sizeof sheet->openedForm, &written, form, formLength);
    if (!readPathLine(&at, end, sheet->openedPath) || !sheet->openedPath[0]) return false;
  }
  sheet->tracklistAt = at;
  // The sheet's own first line may look like one: the header's size tells where the text starts.
  while ((size_t)(end - at) > textBytes && startsWith(at, end, kNextLine)) {
    while (at < end && *at != '\r' && *at != '\n') ++at;
    if (!startsWith(at, end, kLineBreak)) return false;
    at += 2;
  }
  sheet->tracklistLinesBytes = (size_t)(at - sheet->tracklistAt);
  if ((size_t)(end - at) != textBytes) return false;  // cut short, or more than a copy
  // The editor holds any character but NUL (a control character pasted into a title too).
  for (const char* p = sheet->tracklistAt; p < end; ++p)
    if (*p == '\0') return false;

  sheet->utf8 = utf8;
  sheet->nextEntry = (int)next;
  sheet->text = at;
  sheet->textBytes = textBytes;
  return true;
}

size_t recoveredTracklist(const RecoveredSheet& sheet, char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  size_t at = 0;
  const char* p = sheet.tracklistAt;
  const char* end = p + sheet.tracklistLinesBytes;
  const size_t prefix = sizeof kNextLine - 1;
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\r') ++lineEnd;
    const char* line = p + prefix;
    size_t length = lineEnd > line ? (size_t)(lineEnd - line) : 0;
    if (at + length + 2 + 1 > outBytes) break;
    for (size_t i = 0; i < length; ++i) out[at++] = line[i];
    out[at++] = '\r';
    out[at++] = '\n';
    p = lineEnd + 2;
  }
  out[at] = '\0';
  return at;
}
