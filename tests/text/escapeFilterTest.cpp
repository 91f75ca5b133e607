// The escape and case filter, table by table.
#include <gtest/gtest.h>

#include <string>

#include "../../sheet/escapeFilter.h"

namespace {

std::string filter(const std::string& source, size_t destBytes = 1024) {
  std::string dest(destBytes + 1, '#');  // the byte past the buffer must stay untouched
  applyEscapes(source.c_str(), &dest[0], destBytes);
  EXPECT_EQ(dest[destBytes], '#') << "wrote past the destination";
  return std::string(dest.c_str());
}

}  // namespace

TEST(EscapeFilter, EscapesAndCaseModes) {
  struct {
    const char* source;
    const char* expected;
  } cases[] = {
      {"TRACK 01 AUDIO\\r\\n    TITLE", "TRACK 01 AUDIO\r\n    TITLE"},
      {"\\uabc\\odef", "ABCdef"},
      {"\\lABC\\uDEF", "abcDEF"},
      {"\\chello (world) [live]-mix", "Hello (World) [Live]-mix"},
      {"\\c\"quoted\" it's o.k", "\"quoted\" It's O.k"},
      {"\\cHELLO wORLD", "HELLO WORLD"},
      {"\\ca\\nb", "A\nB"},
      {"\\ca\\tb{c}<d>", "A\tB{C}<D>"},
      {"ab\\bc", "ac"},
      {"\\bx", "x"},
      {"\\ca b\\b\\bc", "Ac"},
      {"a\\\\nb", "a\\nb"},
      {"\\x", "\\x"},
      {"\\N\\U", "\\N\\U"},
      {"\\u\\xy", "\\xY"},
      {"ab\\", "ab\\"},
      {"D:\\Music\\new.mp3", "D:\\Music\new.mp3"},
      {"", ""},
      {"\\u\\\\n", "\\N"},
      // UTF-8: case modes on whole characters, \\b takes a whole character back.
      {"\\ub\xC3\xB6rk \xD0\xB6\xD1\x91\xD0\xBB", "B\xC3\x96RK \xD0\x96\xD0\x81\xD0\x9B"},
      {"\\c\xC3\xA9t\xC3\xA9 \xC3\xA0 paris", "\xC3\x89t\xC3\xA9 \xC3\x80 Paris"},
      {"\\l\xC3\x89T\xC3\x89 \xF0\x9F\x8E\xB5", "\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xB5"},
      {"\xE6\x9D\xB1\\b", ""},
      {"a\xF0\x9F\x8E\xB5\\bb", "ab"},
      {"\\u\\\xC3\xA9", "\\\xC3\xA9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(filter(c.source), c.expected);
  }
}

TEST(EscapeFilter, NullSourceGivesEmptyText) {
  char dest[8] = "xxxxxxx";
  applyEscapes(nullptr, dest, sizeof dest);
  EXPECT_STREQ(dest, "");
}

TEST(EscapeFilter, OutputIsCutAtDestinationSize) {
  EXPECT_EQ(filter("abcdefgh", 5), "abcd");
  EXPECT_EQ(filter("ab\\x", 4), "ab\\");
  EXPECT_EQ(filter("\xE6\x9D\xB1\xE4\xBA\xAC", 5), "\xE6\x9D\xB1") << "whole characters only";
  std::string longText(5000, 'a');
  EXPECT_EQ(filter(longText, 1024), std::string(1023, 'a'));
}
