// Formatting and checking the recovery copy's text.
#include "recoveryText.h"

#include "../base/limits.h"
#include "../base/text.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";
const char kFirstLine[] = "REM LUMOMARKER-UNSAVED ";
const char kSecondLine[] = "REM LUMOMARKER-AUDIO ";
const char kLineBreak[] = "\r\n";
const size_t kNumberChars = 10;  // enough for every value either number may take

bool startsWith(const char* at, const char* end, const char* prefix) {
  for (; *prefix; ++prefix, ++at)
    if (at >= end || *at != *prefix) return false;
  return true;
}

// Reads decimal digits at *at up to end, advancing; false without any or past the largest.
bool readDigits(const char** at, const char* end, size_t largest, size_t* value) {
  size_t result = 0;
  size_t digits = 0;
  while (*at < end && **at >= '0' && **at <= '9' && digits < kNumberChars) {
    result = result * 10 + (size_t)(**at - '0');
    ++*at;
    ++digits;
  }
  if (digits == 0 || (*at < end && **at >= '0' && **at <= '9') || result > largest) return false;
  *value = result;
  return true;
}

bool isPathByte(unsigned char c) { return c >= 0x20; }

}  // namespace

size_t formatRecoveryHeader(char* out, size_t outBytes, int nextEntry, size_t textBytes,
                            const char* audioPath) {
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  char number[kNumberTextBytes];
  if (outBytes < kRecoveryHeaderBytes || textLength(audioPath, kPathBytes) >= kPathBytes ||
      nextEntry < 1)
    return 0;
  copyText(out, outBytes, kBom);
  appendTo(out, outBytes, kFirstLine);
  formatInt(number, sizeof number, nextEntry);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, " ");
  formatInt(number, sizeof number, (long long)textBytes);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, kLineBreak);
  appendTo(out, outBytes, kSecondLine);
  appendTo(out, outBytes, audioPath);
  return appendTo(out, outBytes, kLineBreak);
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
  const char* path = at;
  while (at < end && *at != '\r' && *at != '\n') ++at;
  size_t pathChars = (size_t)(at - path);
  if (pathChars >= sizeof sheet->audioPath || !startsWith(at, end, kLineBreak)) return false;
  at += 2;
  if ((size_t)(end - at) != textBytes) return false;  // cut short, or more than a copy
  for (const char* p = path; p < path + pathChars; ++p)
    if (!isPathByte((unsigned char)*p)) return false;
  // The editor holds any character but NUL (a control character pasted into a title too).
  for (const char* p = at; p < end; ++p)
    if (*p == '\0') return false;

  sheet->utf8 = utf8;
  sheet->nextEntry = (int)next;
  sheet->text = at;
  sheet->textBytes = textBytes;
  copyText(sheet->audioPath, pathChars + 1, path);
  return true;
}
