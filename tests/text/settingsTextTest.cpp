// The stored form of a template in plugin.ini.
#include <gtest/gtest.h>

#include <string>

#include "../../plugin/settingsText.h"

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
