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
      {"Artist -Title", true, "", "Artist -Title"},
      {"1999", true, "", "1999"},
      {"\t03.\tArt\tist\t-\tTitle\t", true, "Art ist", "Title"},
      {"A\xC2\xA0-\xC2\xA0" "B\xC2\xA0" "C", true, "A", "B C"},
      {"\xEF\xBB\xBF" "01. Bj\xC3\xB6rk - J\xC3\xB3ga", true, "Bj\xC3\xB6rk", "J\xC3\xB3ga"},
      {"a\x01" "b - c\xFF", true, "a b", "c\xEF\xBF\xBD"},
      {"05.", true, "", ""},
      {"[00:12] -", true, "", ""},
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
