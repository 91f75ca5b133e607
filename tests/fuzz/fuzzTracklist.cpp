// Fuzzes the track list reader: any line reads into whole, valid, trimmed fields of at most
// kTrackFieldChars characters, and the first and counted lines agree with a line-by-line reading.
#include <cstring>
#include <string>

#include "../../base/utf8Text.h"
#include "../../sheet/tracklistText.h"
#include "fuzzInput.h"

namespace {

// Whether text holds only blanks: ASCII spaces and controls, C1 controls, U+00A0 and U+FEFF.
bool onlyBlanks(const char* text, size_t length) {
  for (size_t at = 0; at < length;) {
    unsigned char b = (unsigned char)text[at];
    if (b <= 0x20 || b == 0x7F) {
      ++at;
    } else if (at + 1 < length && b == 0xC2 && (unsigned char)text[at + 1] >= 0x80 && (unsigned char)text[at + 1] <= 0xA0) {
      at += 2;
    } else if (at + 2 < length && memcmp(text + at, "\xEF\xBB\xBF", 3) == 0) {
      at += 3;
    } else {
      return false;
    }
  }
  return true;
}

void checkField(const char* field) {
  size_t bytes = strnlen(field, kTrackFieldBytes);
  FUZZ_CHECK(bytes < kTrackFieldBytes && isValidUtf8(field, bytes));
  size_t chars = 0;
  for (size_t at = 0; at < bytes; ++chars) {
    unsigned c;
    at += utf8Decode(field, bytes, at, &c);
    FUZZ_CHECK(c >= 0x20 && (c < 0x7F || c > 0xA0) && c != 0xFEFF);
  }
  FUZZ_CHECK(chars <= kTrackFieldChars);
  FUZZ_CHECK(bytes == 0 || (field[0] != ' ' && field[bytes - 1] != ' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const char* text = (const char*)data + 5;
  size_t length = size - 5;
  ExactBuffer input(length);
  if (length) memcpy(input.data, text, length);

  // The whole input as one line, of a list numbered without marks or not: a line that is read
  // always has a title.
  TracklistLine line;
  for (bool numbered : {false, true}) {
    bool read = readTracklistLine(input.data, length, &line, numbered);
    checkField(line.performer);
    checkField(line.title);
    FUZZ_CHECK(line.hasPerformer == (line.performer[0] != '\0'));
    FUZZ_CHECK(read == (line.title[0] != '\0'));
    FUZZ_CHECK(read != onlyBlanks(input.data, length));
  }
  isNumberedTracklist(input.data, length);

  // Line by line: each count step removes the first line that is not blank.
  size_t count = countTracklistLines(input.data, length);
  size_t at = 0;
  for (size_t left = count; left > 0; --left) {
    size_t start = 0, end = 0, next = 0;
    FUZZ_CHECK(firstTracklistLine(input.data + at, length - at, &start, &end, &next));
    FUZZ_CHECK(start <= end && end <= next && next <= length - at && next > start);
    FUZZ_CHECK(memchr(input.data + at + start, '\r', end - start) == nullptr &&
               memchr(input.data + at + start, '\n', end - start) == nullptr);
    FUZZ_CHECK(readTracklistLine(input.data + at + start, end - start, &line));
    FUZZ_CHECK(countTracklistLines(input.data + at + next, length - at - next) == left - 1);
    at += next;
  }
  size_t start, end, next;
  FUZZ_CHECK(!firstTracklistLine(input.data + at, length - at, &start, &end, &next));
  return 0;
}
