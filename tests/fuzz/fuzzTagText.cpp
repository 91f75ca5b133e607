// Fuzzes the pure work behind tag values: path pieces, times and literal values.
#include <cstdio>
#include <cstring>
#include <string>

#include "../../base/utf8Text.h"
#include "../../sheet/escapeFilter.h"
#include "../../sheet/tagText.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  size_t outBytes = data[0];
  int number;
  memcpy(&number, data + 1, sizeof number);
  FuzzText text(data + 5, size - 5);

  void (*pieces[])(const char*, char*, size_t) = {fileNameOf, fileDirOf, fileExtOf};
  for (auto piece : pieces) {
    ExactBuffer out(outBytes);
    piece(text.c_str(), out.data, out.size);
    if (outBytes) FUZZ_CHECK(strlen(out.data) < out.size);
    ExactBuffer whole(text.length() + 1);
    piece(text.c_str(), whole.data, whole.size);
    FUZZ_CHECK(strstr(text.c_str(), whole.data) != nullptr);  // always a piece of the path
  }

  ExactBuffer position(outBytes);
  formatCuePosition(number, position.data, position.size);
  ExactBuffer length(outBytes);
  formatTrackLength(number, length.data, length.size);
  char cue[32];
  formatCuePosition(number, cue, sizeof cue);
  int mm = -1, ss = -1, ff = -1;
  FUZZ_CHECK(sscanf(cue, "%d:%d:%d", &mm, &ss, &ff) == 3);
  FUZZ_CHECK(mm >= 0 && ss >= 0 && ss < 60 && ff >= 0 && ff < 75);
  long long frames = number < 0 ? 0 : (long long)number * 75 / 1000;
  FUZZ_CHECK((long long)mm * 4500 + ss * 75 + ff == frames);

  // A literal value, filtered, gives back the value (double quotes turned into single ones).
  ExactBuffer literal(outBytes ? outBytes : 1);
  literalTagValue(text.c_str(), literal.data, literal.size);
  ExactBuffer filtered(strlen(literal.data) + 1);
  applyEscapes(literal.data, filtered.data, filtered.size);
  std::string expected = text.c_str();
  for (char& c : expected)
    if (c == '"') c = '\'';
  FUZZ_CHECK(expected.compare(0, strlen(filtered.data), filtered.data) == 0);

  std::string head = std::string(text.c_str()).substr(0, 7);
  char two[8];
  memcpy(two, head.c_str(), head.size() + 1);
  keepLastTwo(two);
  // The end of the text from a character's start on, two characters or the whole text.
  std::string kept = two;
  FUZZ_CHECK(kept.size() <= head.size() && head.compare(head.size() - kept.size(), kept.size(), kept) == 0);
  size_t starts = 0, characters = 0, from = head.size() - kept.size();
  bool fromStarts = from == head.size();
  for (size_t at = 0; at < head.size(); at += utf8Decode(head.data(), head.size(), at, nullptr), ++characters) {
    if (at >= from) ++starts;
    fromStarts = fromStarts || at == from;
  }
  FUZZ_CHECK(fromStarts && starts == (characters < 2 ? characters : 2));
  return 0;
}
