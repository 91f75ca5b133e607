// Line walking and the TRACK and INDEX lines.
#include "sheetLines.h"

#include "../base/asciiText.h"

#include "cueTime.h"

namespace {

const size_t kNumberDigitsMax = 9;
const size_t kIndexDigitsMax = 2;


}  // namespace

SheetLine lineHolding(const char* text, size_t length, size_t at) {
  if (at > length) at = length;
  size_t start = at;
  while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r') --start;
  SheetLine line = {start, start, start};
  readLine(text, length, start, &line);
  return line;
}

size_t firstWord(const char* text, const SheetLine& line) {
  size_t at = line.start;
  while (at < line.end && isBlank(text[at])) ++at;
  return at;
}

bool lineKeyword(const char* text, const SheetLine& line, const char* keyword, size_t* argument) {
  size_t at = firstWord(text, line);
  for (; *keyword; ++keyword, ++at)
    if (at >= line.end || text[at] != *keyword) return false;
  if (at < line.end && !isBlank(text[at])) return false;
  while (at < line.end && isBlank(text[at])) ++at;
  if (argument) *argument = at;
  return true;
}

bool readTrackLine(const char* text, const SheetLine& line, size_t* numberAt, size_t* numberLength,
                   long long* number) {
  size_t at = 0;
  if (!lineKeyword(text, line, "TRACK", &at)) return false;
  size_t digits = 0;
  long long value = 0;
  while (at + digits < line.end && isDigit(text[at + digits]) && digits < kNumberDigitsMax) {
    value = value * 10 + (text[at + digits] - '0');
    ++digits;
  }
  if (digits == 0) return false;
  if (numberAt) *numberAt = at;
  if (numberLength) *numberLength = digits;
  if (number) *number = value;
  return true;
}

bool readIndexLine(const char* text, const SheetLine& line, IndexLine* index) {
  size_t at = 0;
  if (!lineKeyword(text, line, "INDEX", &at)) return false;
  int number = 0;
  size_t digits = 0;
  for (; at < line.end && isDigit(text[at]); ++at, ++digits) {
    if (digits == kIndexDigitsMax) return false;
    number = number * 10 + (text[at] - '0');
  }
  if (digits == 0 || (at < line.end && !isBlank(text[at]))) return false;
  index->number = number;
  while (at < line.end && isBlank(text[at])) ++at;
  size_t timeEnd = at;
  while (timeEnd < line.end && !isBlank(text[timeEnd])) ++timeEnd;
  index->timeAt = at;
  index->timeLength = timeEnd - at;
  size_t rest = timeEnd;
  while (rest < line.end && isBlank(text[rest])) ++rest;
  index->frames = 0;
  index->timeValid = rest == line.end &&
                     parseCueTime(text + at, index->timeLength, &index->frames) == kCueTimeOk;
  return true;
}

bool readFileLine(const char* text, const SheetLine& line, size_t* nameAt, size_t* nameLength) {
  size_t at = 0;
  if (!lineKeyword(text, line, "FILE", &at)) return false;
  Span name = valueAt(text, line, at);
  if (nameAt) *nameAt = (size_t)(name.at - text);
  if (nameLength) *nameLength = name.length;
  return true;
}

Span valueAt(const char* text, const SheetLine& line, size_t at) {
  const char* from = text + at;
  Word word;
  if (!readWord(&from, text + line.end, &word)) return Span{text + line.end, 0};
  return word.text;
}
