// UTF-8 and UTF-16 conversions, cuts (also of the bounded copy) and positions, table by table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../base/text.h"
#include "../../base/utf8Text.h"

namespace {

const unsigned kSentinel = 0x5A5A;
const std::string kFffd = "\xEF\xBF\xBD";

std::string fffd(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += kFffd;
  return text;
}

// The UTF-16 conversion in a buffer of outUnits units, with a sentinel past it.
std::vector<unsigned> toUtf16(const std::string& utf8, size_t outUnits) {
  std::vector<Utf16Unit> out(outUnits + 1, (Utf16Unit)kSentinel);
  size_t written = utf8ToUtf16(utf8.data(), utf8.size(), out.data(), outUnits);
  EXPECT_EQ(out[outUnits], (Utf16Unit)kSentinel) << "wrote past the buffer";
  if (outUnits == 0) return {};
  EXPECT_LT(written, outUnits);
  EXPECT_EQ(out[written], 0u) << "terminated";
  return std::vector<unsigned>(out.begin(), out.begin() + written);
}

std::string toUtf8(const std::vector<unsigned>& units, size_t outBytes) {
  std::vector<Utf16Unit> in(units.begin(), units.end());
  std::string out(outBytes + 1, '#');
  size_t written = utf16ToUtf8(in.data(), in.size(), &out[0], outBytes);
  EXPECT_EQ(out[outBytes], '#') << "wrote past the buffer";
  if (outBytes == 0) return "";
  EXPECT_LT(written, outBytes);
  EXPECT_EQ(out[written], '\0') << "terminated";
  return out.substr(0, written);
}

}  // namespace

TEST(Utf8Text, ConvertsEachWayAndReplacesEveryInvalidSubpart) {
  struct {
    const char* name;
    std::string utf8;
    std::vector<unsigned> units;
    std::string back;  // the UTF-8 of those units
    bool valid, ascii;
  } cases[] = {
      {"ASCII", "Mix 1", {'M', 'i', 'x', ' ', '1'}, "Mix 1", true, true},
      {"empty", "", {}, "", true, true},
      {"NUL inside", std::string("a\0b", 3), {'a', 0, 'b'}, std::string("a\0b", 3), true, true},
      {"Latin-1", "Caf\xC3\xA9", {'C', 'a', 'f', 0xE9}, "Caf\xC3\xA9", true, false},
      {"CJK", "\xE6\x9D\xB1\xE4\xBA\xAC", {0x6771, 0x4EAC}, "\xE6\x9D\xB1\xE4\xBA\xAC", true, false},
      {"emoji", "\xF0\x9F\x8E\xB5", {0xD83C, 0xDFB5}, "\xF0\x9F\x8E\xB5", true, false},
      {"U+FFFD itself, U+10FFFF", kFffd + "\xF4\x8F\xBF\xBF", {0xFFFD, 0xDBFF, 0xDFFF}, kFffd + "\xF4\x8F\xBF\xBF", true, false},
      {"stray continuations", "a\x80\xBF" "b", {'a', 0xFFFD, 0xFFFD, 'b'}, "a" + fffd(2) + "b", false, false},
      {"overlong C0 AF", "\xC0\xAF", {0xFFFD, 0xFFFD}, fffd(2), false, false},
      {"overlong E0 80 AF", "\xE0\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD}, fffd(3), false, false},
      {"overlong F0 80 80 AF", "\xF0\x80\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}, fffd(4), false, false},
      {"surrogate ED A0 80", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}, fffd(3), false, false},
      {"past U+10FFFF", "\xF4\x90\x80\x80" "\xF5\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}, fffd(6), false, false},
      {"cut short at the end", "x\xF0\x9F\x8E", {'x', 0xFFFD}, "x" + kFffd, false, false},
      {"cut short before a letter", "\xE6\x9Dx\xC3", {0xFFFD, 'x', 0xFFFD}, kFffd + "x" + kFffd, false, false},
      {"FE FF", "\xFE\xFF", {0xFFFD, 0xFFFD}, fffd(2), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf16UnitsOf(c.utf8.data(), c.utf8.size()), c.units.size());
    EXPECT_EQ(toUtf16(c.utf8, c.units.size() + 1), c.units);
    EXPECT_EQ(isValidUtf8(c.utf8.data(), c.utf8.size()), c.valid);
    EXPECT_EQ(isAscii(c.utf8.data(), c.utf8.size()), c.ascii);
    std::vector<Utf16Unit> units(c.units.begin(), c.units.end());
    EXPECT_EQ(utf8BytesOf(units.data(), units.size()), c.back.size());
    EXPECT_EQ(toUtf8(c.units, c.back.size() + 1), c.back);
  }
}

TEST(Utf8Text, UnpairedSurrogatesAndSingleCharacters) {
  struct {
    std::vector<unsigned> units;
    std::string utf8;
  } cases[] = {
      {{0xD800}, kFffd},
      {{0xDC00, 'a'}, kFffd + "a"},
      {{0xD83C, 0xD83C, 0xDFB5}, kFffd + "\xF0\x9F\x8E\xB5"},
      {{0xDFB5, 0xD83C}, fffd(2)},
      {{0xFFFF, 0x7F, 0x80, 0x7FF, 0x800}, "\xEF\xBF\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(toUtf8(c.units, c.utf8.size() + 1), c.utf8);
  }
  struct {
    unsigned codePoint;
    std::string utf8;
  } encoded[] = {{'A', "A"}, {0xE9, "\xC3\xA9"}, {0x6771, "\xE6\x9D\xB1"}, {0x1F3B5, "\xF0\x9F\x8E\xB5"},
                 {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0xDFFF, kFffd}, {0x110000, kFffd}};
  for (const auto& c : encoded) {
    SCOPED_TRACE(c.codePoint);
    char out[kUtf8CharBytesMax];
    size_t length = utf8Encode(c.codePoint, out);
    EXPECT_EQ(std::string(out, length), c.utf8);
    unsigned decoded = 0;
    EXPECT_EQ(utf8Decode(out, length, 0, &decoded), length);
    EXPECT_EQ(decoded, c.codePoint > 0x10FFFF || (c.codePoint & 0xF800) == 0xD800 ? 0xFFFD : c.codePoint);
    EXPECT_EQ(utf8Decode(out, length, length, &decoded), 0u) << "past the end";
  }
}

TEST(Utf8Text, CutsOnlyBetweenWholeCharacters) {
  // a, U+6771, U+1F3B5: 1 + 1 + 2 units; U+00E9, U+6771, U+1F3B5: 2 + 3 + 4 bytes.
  std::string mixed = "a\xE6\x9D\xB1\xF0\x9F\x8E\xB5";
  std::vector<std::vector<unsigned>> unitCuts = {
      {}, {}, {'a'}, {'a', 0x6771}, {'a', 0x6771}, {'a', 0x6771, 0xD83C, 0xDFB5}};
  for (size_t outUnits = 0; outUnits < unitCuts.size(); ++outUnits) {
    SCOPED_TRACE("units " + std::to_string(outUnits));
    EXPECT_EQ(toUtf16(mixed, outUnits), unitCuts[outUnits]);
  }
  std::vector<unsigned> units = {0xE9, 0x6771, 0xD83C, 0xDFB5};
  size_t byteCuts[] = {0, 0, 0, 2, 2, 2, 5, 5, 5, 5, 9};
  for (size_t outBytes = 0; outBytes < sizeof byteCuts / sizeof *byteCuts; ++outBytes) {
    SCOPED_TRACE("bytes " + std::to_string(outBytes));
    EXPECT_EQ(toUtf8(units, outBytes).size(), byteCuts[outBytes]);
  }
  struct {
    std::string text;
    std::vector<size_t> cuts;  // utf8CutPoint for maxBytes 0, 1, 2...
  } cases[] = {
      {"a\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x8E\xB5", {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10}},
      {"\xE6\x9Dx", {0, 0, 2, 3, 3}},
      {"\x80\x80\x80\x80\x80", {0, 1, 2, 3, 4, 5}},
      {"\xF0\x9F\x8E", {0, 0, 0, 3}},
  };
  for (const auto& c : cases) {
    for (size_t maxBytes = 0; maxBytes < c.cuts.size(); ++maxBytes) {
      SCOPED_TRACE(c.text + " at " + std::to_string(maxBytes));
      EXPECT_EQ(utf8CutPoint(c.text.data(), c.text.size(), maxBytes), c.cuts[maxBytes]);
      std::string copy(maxBytes + 2, '#');
      EXPECT_EQ(copyText(&copy[0], maxBytes + 1, c.text.c_str()), c.cuts[maxBytes]) << "copyText cuts alike";
      EXPECT_EQ(copy[maxBytes + 1], '#');
    }
  }
}

TEST(Utf8Text, PositionsBetweenUnitsAndBytes) {
  // a, U+00E9, U+6771, U+1F3B5, b: bytes 0, 1, 3, 6, 10 (11 in all); units 0, 1, 2, 3, 5 (6 in all).
  std::string text = "a\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x8E\xB5" "b";
  size_t offsetOfUnit[] = {0, 1, 3, 6, 6, 10, 11, 11};
  for (size_t unit = 0; unit < sizeof offsetOfUnit / sizeof *offsetOfUnit; ++unit)
    EXPECT_EQ(utf8OffsetOfUnit(text.data(), text.size(), unit), offsetOfUnit[unit]) << "unit " << unit;
  size_t unitOfOffset[] = {0, 1, 1, 2, 2, 2, 3, 3, 3, 3, 5, 6, 6};
  for (size_t at = 0; at < sizeof unitOfOffset / sizeof *unitOfOffset; ++at)
    EXPECT_EQ(unitIndexOfUtf8(text.data(), text.size(), at), unitOfOffset[at]) << "byte " << at;
  // An invalid subpart is one unit, U+FFFD, as in the conversion.
  std::string invalid = "\xE6\x9Dx";
  EXPECT_EQ(utf8OffsetOfUnit(invalid.data(), invalid.size(), 1), 2u);
  EXPECT_EQ(unitIndexOfUtf8(invalid.data(), invalid.size(), 1), 0u);
  EXPECT_EQ(unitIndexOfUtf8(invalid.data(), invalid.size(), 2), 1u);
}
