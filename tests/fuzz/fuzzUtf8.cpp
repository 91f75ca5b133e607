// Fuzzes the UTF-8 and UTF-16 conversions: exact buffers are never overrun, valid UTF-8 comes
// back unchanged, anything else comes back valid, and cuts and positions fall between characters.
#include <cstdlib>
#include <cstring>

#include "../../base/utf8Text.h"
#include "fuzzInput.h"

namespace {

// count UTF-16 units in a heap block of exactly that size.
struct ExactUnits {
  explicit ExactUnits(size_t n) : size(n), data(static_cast<Utf16Unit*>(malloc((n ? n : 1) * sizeof(Utf16Unit)))) {}
  ~ExactUnits() { free(data); }
  ExactUnits(const ExactUnits&) = delete;
  ExactUnits& operator=(const ExactUnits&) = delete;
  size_t size;
  Utf16Unit* data;
};

bool isHighSurrogate(Utf16Unit u) { return u >= 0xD800 && u <= 0xDBFF; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  size_t small = data[0];
  size_t position = (size_t)data[1] | (size_t)data[2] << 8;
  const char* text = (const char*)data + 5;
  size_t bytes = size - 5;
  ExactBuffer input(bytes);
  if (bytes) memcpy(input.data, text, bytes);
  text = input.data;

  // The whole conversion, into exactly its size, and back.
  size_t units = utf16UnitsOf(text, bytes);
  ExactUnits wide(units + 1);
  FUZZ_CHECK(utf8ToUtf16(text, bytes, wide.data, wide.size) == units);
  FUZZ_CHECK(wide.data[units] == 0 && (units == 0 || !isHighSurrogate(wide.data[units - 1])));
  size_t backBytes = utf8BytesOf(wide.data, units);
  ExactBuffer back(backBytes + 1);
  FUZZ_CHECK(utf16ToUtf8(wide.data, units, back.data, back.size) == backBytes);
  FUZZ_CHECK(isValidUtf8(back.data, backBytes));
  if (isValidUtf8(text, bytes)) {
    FUZZ_CHECK(backBytes == bytes && memcmp(back.data, text, bytes) == 0);
  } else {
    FUZZ_CHECK(utf16UnitsOf(back.data, backBytes) == units);  // one U+FFFD for each bad subpart
  }
  FUZZ_CHECK(isAscii(text, bytes) == (isValidUtf8(text, bytes) && units == bytes));

  // Cut to a small buffer: a prefix of the whole, as long as fits, never half a pair.
  ExactUnits cut(small);
  size_t cutUnits = utf8ToUtf16(text, bytes, cut.data, cut.size);
  if (small == 0) {
    FUZZ_CHECK(cutUnits == 0);
  } else {
    FUZZ_CHECK(cutUnits < small && cut.data[cutUnits] == 0);
    FUZZ_CHECK(memcmp(cut.data, wide.data, cutUnits * sizeof(Utf16Unit)) == 0);
    FUZZ_CHECK(cutUnits == units || cutUnits + (isHighSurrogate(wide.data[cutUnits]) ? 2 : 1) >= small);
  }
  ExactBuffer cutBytes(small);
  size_t cutLength = utf16ToUtf8(wide.data, units, cutBytes.data, cutBytes.size);
  if (small > 0) {
    FUZZ_CHECK(cutLength < small && cutBytes.data[cutLength] == 0);
    FUZZ_CHECK(memcmp(cutBytes.data, back.data, cutLength) == 0);
    FUZZ_CHECK(utf8CutPoint(back.data, backBytes, small - 1) == cutLength);
  }

  // The input's bytes read as UTF-16 units, unpaired surrogates and all.
  size_t rawCount = bytes / 2;
  ExactUnits raw(rawCount);
  for (size_t i = 0; i < rawCount; ++i) raw.data[i] = (Utf16Unit)((uint8_t)text[2 * i] | (uint8_t)text[2 * i + 1] << 8);
  size_t rawBytes = utf8BytesOf(raw.data, rawCount);
  ExactBuffer rawUtf8(rawBytes + 1);
  FUZZ_CHECK(utf16ToUtf8(raw.data, rawCount, rawUtf8.data, rawUtf8.size) == rawBytes);
  FUZZ_CHECK(isValidUtf8(rawUtf8.data, rawBytes));

  // A cut point and positions: each lands on a character's start, and the two maps agree there.
  size_t at = utf8CutPoint(text, bytes, position);
  FUZZ_CHECK(at <= position && at <= bytes);
  FUZZ_CHECK(position >= bytes ? at == bytes : at + kUtf8CharBytesMax > position);
  size_t unit = unitIndexOfUtf8(text, bytes, at);
  FUZZ_CHECK(utf8OffsetOfUnit(text, bytes, unit) == at);
  size_t start = utf8OffsetOfUnit(text, bytes, position);
  FUZZ_CHECK(start <= bytes);
  size_t startUnit = unitIndexOfUtf8(text, bytes, start);
  FUZZ_CHECK(position >= units ? start == bytes && startUnit == units
                               : startUnit == position || (startUnit + 1 == position && isHighSurrogate(wide.data[startUnit])));
  return 0;
}
