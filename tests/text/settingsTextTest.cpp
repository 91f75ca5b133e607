// The stored form of a template in plugin.ini.
#include <gtest/gtest.h>

#include <string>

#include "../../base/settingsText.h"

TEST(SettingsText, StoredForms) {
  struct {
    const char* value;
    const char* stored;
  } cases[] = {
      {"PERFORMER \"%artist%\"\\r\\nTITLE", "PERFORMER \"%artist%\"\\r\\nTITLE"},
      {"\"quoted\"", "\"\"quoted\"\""},
      {"'single'", "\"'single'\""},
      {"  padded  ", "\"  padded  \""},
      {"ends with quote\"", "\"ends with quote\"\""},
      {"line\r\nbreak", "line\\r\\nbreak"},
      {"\r\nstarts", "\\r\\nstarts"},
      {"ends \n", "ends \\n"},
      {"", ""},
      {"\t", "\"\t\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    char out[64];
    EXPECT_TRUE(encodeSettingText(c.value, out, sizeof out));
    EXPECT_STREQ(out, c.stored);
  }
}

TEST(SettingsText, RefusesWhatDoesNotFit) {
  char out[8] = "xxxxxxx";
  EXPECT_FALSE(encodeSettingText("\r\n\r\n", out, sizeof out));  // needs 9 bytes
  EXPECT_STREQ(out, "");
  EXPECT_TRUE(encodeSettingText("\r\n\r", out, sizeof out));
  EXPECT_STREQ(out, "\\r\\n\\r");
}

TEST(SettingsText, IntegersAreReadWholeOrNotAtAll) {
  struct {
    const char* text;
    bool ok;
    int value;
  } cases[] = {
      {"0", true, 0},          {"1", true, 1},          {" -3 ", true, -3},
      {"+7", true, 7},         {"2147483647", true, 2147483647},
      {"99999999999999999999999", true, 2147483647},
      {"-99999999999", true, -2147483647 - 1},
      {"", false, 42},         {"abc", false, 42},      {"12abc", false, 42},
      {"-", false, 42},        {"1 2", false, 42},      {"0x10", false, 42},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int value = 42;
    EXPECT_EQ(parseSettingInt(c.text, &value), c.ok);
    EXPECT_EQ(value, c.value);
  }
}

TEST(SettingsText, AWindowsPlaceIsFourIntegersOrNothing) {
  struct {
    const char* text;
    bool ok;
  } cases[] = {
      {"12,-3,400,300", true}, {" 12 , -3,400,300 ", true}, {"1,2,3", false},  {"1,2,3,4,5", false},
      {"1,,3,4", false},       {"1,2,3,4,", false},         {"a,2,3,4", false}, {"", false},
      {"123456789012345678901234567890,2,3,4", false},  // longer than any number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int values[4] = {7, 7, 7, 7};
    EXPECT_EQ(parseSettingInts(c.text, values, 4), c.ok);
    EXPECT_TRUE(c.ok || values[0] + values[1] + values[2] + values[3] == 28) << "left alone";
  }
  int place[4] = {-1920, 0, 640, 2147483647};
  char text[64];
  ASSERT_TRUE(formatSettingInts(place, 4, text, sizeof text));
  EXPECT_STREQ(text, "-1920,0,640,2147483647");
  int back[4] = {};
  ASSERT_TRUE(parseSettingInts(text, back, 4));
  EXPECT_EQ(back[0], -1920);
  EXPECT_EQ(back[3], 2147483647);
  EXPECT_FALSE(formatSettingInts(place, 4, text, 22)) << "one byte short";
  EXPECT_STREQ(text, "");
}

TEST(SettingsText, TemplateLengthCountsLineBreaksOnceAndCutsWholePairs) {
  struct {
    const char* text;
    size_t length;
    size_t cutTo;
    const char* cut;
  } cases[] = {
      {"abc", 3, 2, "ab"},
      {"a\\r\\nb", 4, 3, "a\\r\\n"},  // escapes of line breaks count one each
      {"a\r\nb", 4, 2, "a\r"},          // so do real ones
      {"a\\tb", 4, 2, "a"},              // any other pair is two, as typed, and never split
      {"\\\\r", 3, 2, "\\\\"},      // the pair is "\\", then a plain r
      {"ab\\", 3, 3, "ab\\"},          // a backslash at the end is one character
      {"\xC3\xA9\xE6\x9D\xB1x", 3, 2, "\xC3\xA9\xE6\x9D\xB1"},  // characters, not bytes
      {"a\xF0\x9F\x8E\xB5" "b", 4, 2, "a"},  // two UTF-16 units, never split
      {"\\\xC3\xA9", 2, 1, ""},           // a pair with a character after the backslash
      {"", 0, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(templateLength(c.text), c.length);
    std::string text = c.text;
    cutTemplate(&text[0], c.cutTo);
    EXPECT_STREQ(text.c_str(), c.cut);
    EXPECT_LE(templateLength(text.c_str()), c.cutTo);
  }
}
