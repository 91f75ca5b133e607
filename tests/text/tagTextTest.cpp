// Times, path pieces and literal values behind the tags.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../sheet/tagText.h"
#include "../../base/text.h"

TEST(TagText, CuePositionIsMinutesSecondsFrames) {
  struct {
    int ms;
    const char* expected;
  } cases[] = {
      {0, "00:00:00"},        {61500, "01:01:37"},     {600000, "10:00:00"},
      {3599990, "59:59:74"},  {3600000, "60:00:00"},   {3723450, "62:03:33"},
      {290, "00:00:21"},      {6000000, "100:00:00"},  {-1, "00:00:00"},
      {13, "00:00:00"},       {14, "00:00:01"},        {999, "00:00:74"},
      {2147483647, "35791:23:48"}, {-2147483647 - 1, "00:00:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ms);
    char out[32];
    formatCuePosition(c.ms, out, sizeof out);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST(TagText, CuePositionNeverOverrunsSmallBuffer) {
  char out[6] = "#####";
  formatCuePosition(6000000, out, 5);
  EXPECT_STREQ(out, "100:");
  EXPECT_EQ(out[5], '\0');
}

TEST(TagText, TrackLength) {
  struct {
    int seconds;
    const char* expected;
  } cases[] = {{59, "00:59"}, {3599, "59:59"}, {3600, "01:00:00"}, {360000, "100:00:00"}, {0, "00:00"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    char out[32];
    formatTrackLength(c.seconds, out, sizeof out);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST(TagText, PathPieces) {
  struct {
    const char* path;
    const char* name;
    const char* dir;
    const char* ext;
  } cases[] = {
      {"D:\\Music\\Live.2004\\set1.mp3", "set1.mp3", "D:\\Music\\Live.2004", "mp3"},
      {"D:\\Music\\Live.2004\\set1", "set1", "D:\\Music\\Live.2004", "2004\\set1"},
      {"D:\\song.mp3", "song.mp3", "D:", "mp3"},
      {"song", "song", "song", "song"},
      {"\\song", "\\song", "\\song", "\\song"},
      {".hidden", ".hidden", ".hidden", ".hidden"},
      {"D:\\dir\\", "", "D:\\dir", "D:\\dir\\"},
      {"Z:/mixes/live.2004/set2", "set2", "Z:/mixes/live.2004", "2004/set2"},  // '/' separates too
      {"Z:\\mixes/set.flac", "set.flac", "Z:\\mixes", "flac"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    char out[300];
    fileNameOf(c.path, out, sizeof out);
    EXPECT_STREQ(out, c.name);
    fileDirOf(c.path, out, sizeof out);
    EXPECT_STREQ(out, c.dir);
    fileExtOf(c.path, out, sizeof out);
    EXPECT_STREQ(out, c.ext);
  }
}

TEST(TagText, PathPiecesAreCutToTheBuffer) {
  char out[5];
  fileDirOf("D:\\abcdefgh\\x.mp3", out, sizeof out);
  EXPECT_STREQ(out, "D:\\a");
  fileNameOf("D:\\abcdefgh", out, sizeof out);
  EXPECT_STREQ(out, "abcd");
  fileNameOf("D:\\ab\xE6\x9D\xB1", out, sizeof out);
  EXPECT_STREQ(out, "ab") << "a character that does not fit whole is left out";
}

TEST(TagText, KeepLastTwo) {
  struct {
    const char* in;
    const char* expected;
  } cases[] = {{"1999-05-01", "01"}, {"2004", "04"}, {"7", "7"}, {"", ""}, {"12", "12"},
               {"\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x90\xEF\xBC\x94", "\xEF\xBC\x90\xEF\xBC\x94"},  // fullwidth 2004
               {"1999\xE5\xB9\xB4", "9\xE5\xB9\xB4"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    char text[32];
    snprintf(text, sizeof text, "%s", c.in);
    keepLastTwo(text);
    EXPECT_STREQ(text, c.expected);
  }
}

TEST(TagText, LiteralValueDoublesBackslashesAndTurnsDoubleQuotes) {
  struct {
    const char* in;
    const char* expected;
  } cases[] = {
      {"D:\\Music\\new.mp3", "D:\\\\Music\\\\new.mp3"},
      {"The \"Best\" Song", "The 'Best' Song"},
      {"100% \\u", "100% \\\\u"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    char out[64];
    literalTagValue(c.in, out, sizeof out);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST(TagText, LiteralValueNeverSplitsADoubledBackslash) {
  char out[6];
  literalTagValue("ab\\\\cd", out, sizeof out);  // a b \ \ c d
  EXPECT_STREQ(out, "ab\\\\") << "the second pair does not fit whole";
  std::string all(2047, '\\');
  char block[2048];
  literalTagValue(all.c_str(), block, sizeof block);
  EXPECT_EQ(std::string(block), std::string(2046, '\\'));
}

TEST(TagText, FormatIntLikePrintfPrecision) {
  struct {
    long long value;
    int digits;
    const char* expected;
  } cases[] = {
      {0, 1, "0"},     {7, 2, "07"},       {100, 2, "100"},  {-1, 2, "-01"},
      {-2147483647LL - 1, 1, "-2147483648"}, {9223372036854775807LL, 1, "9223372036854775807"},
      {(-9223372036854775807LL - 1), 1, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    char out[32];
    EXPECT_EQ(formatInt(out, sizeof out, c.value, c.digits), strlen(c.expected));
    EXPECT_STREQ(out, c.expected);
  }
  char small[4];
  formatInt(small, sizeof small, 123456, 1);
  EXPECT_STREQ(small, "123");
}

TEST(TagText, FileTypeByTheFileNamesExtension) {
  struct {
    const char* path;
    const char* type;
  } cases[] = {
      {"D:\\mix.mp3", "MP3"},   {"D:\\mix.MP3", "MP3"},     {"D:\\mix.Mp3", "MP3"},
      {"D:\\mix.aif", "AIFF"},  {"D:\\mix.AIFF", "AIFF"},   {"D:\\mix.flac", "WAVE"},
      {"D:\\mix.wav", "WAVE"},  {"D:\\mix.ape", "WAVE"},    {"D:\\mix.ogg", "WAVE"},
      {"D:\\mix.m4a", "WAVE"},  {"D:\\mix.wma", "WAVE"},    {"D:\\mix.mp3x", "WAVE"},
      {"D:\\mp3", "WAVE"},      {"D:\\live.mp3\\set1", "WAVE"}, {"Z:/a.b/c.mp3", "MP3"},
      {"http://radio.example/live", "WAVE"}, {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    char out[8];
    fileTypeOf(c.path, out, sizeof out);
    EXPECT_STREQ(out, c.type);
  }
}
