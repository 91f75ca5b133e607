// Reading the lines of a pasted track list, table by table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../sheet/tracklistText.h"

namespace {

std::string repeated(const std::string& piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

}  // namespace

TEST(TracklistText, ReadsALine) {
  const std::string e = "\xC3\xA9";  // U+00E9, two bytes
  struct {
    std::string line;
    bool read;
    std::string performer, title;
  } cases[] = {
      {"01. Artist - Title", true, "Artist", "Title"},
      {"1) Artist - Title", true, "Artist", "Title"},
      {"12.  Artist - Title  ", true, "Artist", "Title"},
      {"1.Artist - Title", true, "Artist", "Title"},
      {"[00:12] Artist - Title", true, "Artist", "Title"},
      {"(0:00) Artist - Title", true, "Artist", "Title"},
      {"0:00 Artist - Title", true, "Artist", "Title"},
      {"1:02:03 - Artist - Title", true, "Artist", "Title"},
      {"123:45:06 Artist - Title", true, "Artist", "Title"},
      {"[00:12.50] Title", true, "", "Title"},
      {"00:12 \xE2\x80\x93 Artist \xE2\x80\x93 Title", true, "Artist", "Title"},
      {"Artist \xE2\x80\x94 Title", true, "Artist", "Title"},
      {"01. [00:12] Artist - Title", true, "Artist", "Title"},
      {"[00:12] 01. Artist - Title", true, "Artist", "Title"},
      {"50 Cent - In Da Club", true, "50 Cent", "In Da Club"},
      {"10cc - The Things We Do for Love", true, "10cc", "The Things We Do for Love"},
      {"Prince - 1999", true, "Prince", "1999"},
      {"Jay-Z - 99 Problems", true, "Jay-Z", "99 Problems"},
      {"01. 50 Cent - 21 Questions", true, "50 Cent", "21 Questions"},
      {"1.5 Degrees - Song", true, "1.5 Degrees", "Song"},
      {"1234. Title", true, "", "1234. Title"},
      {"9:30pm Show", true, "", "9:30pm Show"},
      {"[0:00 Title", true, "", "[0:00 Title"},
      {"Artist - Song - Remix", true, "Artist", "Song - Remix"},
      {"Artist-Title", true, "", "Artist-Title"},
      {"Artist -Title", true, "Artist", "Title"},
      {"Artist- Title", true, "Artist", "Title"},
      {"Artist \xE2\x80\x92 Title", true, "Artist", "Title"},  // figure dash
      {"Artist \xE2\x88\x92 Title", true, "Artist", "Title"},  // minus sign
      {"Artist\tTitle Two", true, "Artist", "Title Two"},
      {"Jay-Z -99 Problems", true, "Jay-Z", "99 Problems"},
      {"01 - Jay-Z - 99 Problems", true, "Jay-Z", "99 Problems"},
      {"01 Jay-Z - 99 Problems", true, "Jay-Z", "99 Problems"},
      {"12 - Artist - Title", true, "Artist", "Title"},
      {"A1. Artist - Title", true, "Artist", "Title"},
      {"B2 Artist - Title", true, "Artist", "Title"},
      {"B2 Artist", true, "", "B2 Artist"},
      {"A1 - Caught in the Middle", true, "A1", "Caught in the Middle"},
      {"U2 - One - Live", true, "U2", "One - Live"},
      {"H2O - Song", true, "H2O", "Song"},
      {"- Artist - Title", true, "Artist", "Title"},
      {"\xE2\x80\xA2 Artist", true, "", "Artist"},
      {"* Artist - Title", true, "Artist", "Title"},
      {"#7 Artist - Title", true, "Artist", "Title"},
      {"1 Jay-Z - 99 Problems", true, "1 Jay-Z", "99 Problems"},  // no numbered list: a name
      {"12.", true, "", "12."},
      {"#7", true, "", "#7"},
      {"1999", true, "", "1999"},
      {"\t03.\tArt\tist\t-\tTitle\t", true, "Art ist", "Title"},
      {"A\xC2\xA0-\xC2\xA0" "B\xC2\xA0" "C", true, "A", "B C"},
      {"\xEF\xBB\xBF" "01. Bj\xC3\xB6rk - J\xC3\xB3ga", true, "Bj\xC3\xB6rk", "J\xC3\xB3ga"},
      {"a\x01" "b - c\xFF", true, "a b", "c\xEF\xBF\xBD"},
      {"05.", true, "", "05."},
      {"[00:12] -", true, "", "[00:12] -"},
      {"", false, "", ""},
      {" \t\xC2\xA0\xEF\xBB\xBF", false, "", ""},
      {"\r\n", false, "", ""},
      {repeated(e, 300), true, "", repeated(e, 255)},
      {repeated("a", 300) + " - T", true, repeated("a", 255), "T"},
      {"P - " + repeated("a", 254) + "\xF0\x9F\x8E\xB5" + "b", true, "P", repeated("a", 254) + "\xF0\x9F\x8E\xB5"},
      {repeated("x", 254) + " y", true, "", repeated("x", 254)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40));
    TracklistLine out;
    memset(&out, 0x5A, sizeof out);
    EXPECT_EQ(readTracklistLine(c.line.data(), c.line.size(), &out), c.read);
    EXPECT_EQ(out.performer, c.performer);
    EXPECT_EQ(out.title, c.title);
    EXPECT_EQ(out.hasPerformer, !c.performer.empty());
  }
}

TEST(TracklistText, ABareNumberLeadsATrackOnlyInANumberedList) {
  struct {
    std::string text;
    bool numbered;
  } cases[] = {
      {"1 Jay-Z - 99 Problems\r\n2 50 Cent - In Da Club\r\n", true},
      {"\r\n9 A\n\n \t10\tB", true},
      {"x\r\n99 A\r\n100 B", true},
      {"50 Cent - In Da Club\r\n10cc - Rubber Bullets\r\n", false},
      {"1 A\r\n3 B\r\n", false},
      {"1 A\r\nB\r\n2 C\r\n", false},
      {"01. A\r\n02. B\r\n", false},
      {"1 A", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(isNumberedTracklist(c.text.data(), c.text.size()), c.numbered);
  }
  struct {
    std::string line;
    std::string performer, title;
  } numbered[] = {
      {"1 Jay-Z - 99 Problems", "Jay-Z", "99 Problems"},
      {"7 Interlude", "", "Interlude"},
      {"50 Cent - In Da Club", "Cent", "In Da Club"},
      {"10cc - Rubber Bullets", "10cc", "Rubber Bullets"},
      {"1234 A - B", "1234 A", "B"},
  };
  for (const auto& c : numbered) {
    SCOPED_TRACE(c.line);
    TracklistLine out;
    EXPECT_TRUE(readTracklistLine(c.line.data(), c.line.size(), &out, true));
    EXPECT_EQ(out.performer, c.performer);
    EXPECT_EQ(out.title, c.title);
  }
}

TEST(TracklistText, FindsAndCountsTheLinesThatAreNotBlank) {
  struct {
    std::string text;
    size_t count;
    size_t start, end, next;  // of the first line that is not blank, when count > 0
  } cases[] = {
      {"", 0, 0, 0, 0},
      {" \r\n\t\n", 0, 0, 0, 0},
      {"only", 1, 0, 4, 4},
      {"\r\n \t\r\nA - B\r\nC", 2, 6, 11, 13},
      {"\n\nX\nY\n", 2, 2, 3, 4},
      {"\rX\r\r Y ", 2, 1, 2, 3},
      {"01.\r\n\r\n[00:12]", 2, 0, 3, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(countTracklistLines(c.text.data(), c.text.size()), c.count);
    size_t start = 99, end = 99, next = 99;
    EXPECT_EQ(firstTracklistLine(c.text.data(), c.text.size(), &start, &end, &next), c.count > 0);
    if (c.count == 0) continue;
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(next, c.next);
  }
}
