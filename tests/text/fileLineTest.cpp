// FILE lines of a sheet in several files.
#include <gtest/gtest.h>

#include <string>

#include "../../sheet/fileLine.h"

TEST(FileLine, NamesAreRelativeToTheSheetsFolderWhenTheFileLiesThere) {
  struct {
    const char* audio;
    const char* folder;
    const char* line;      // composed for the audio
    const char* resolved;  // the path the line's name stands for
  } cases[] = {
      {"D:\\mixes\\cd2.flac", "D:\\mixes", "FILE \"cd2.flac\" WAVE", "D:\\mixes\\cd2.flac"},
      {"d:/MIXES/cd2.mp3", "D:\\mixes", "FILE \"cd2.mp3\" MP3", "D:\\mixes\\cd2.mp3"},
      {"D:\\other\\cd2.aiff", "D:\\mixes", "FILE \"D:\\other\\cd2.aiff\" AIFF", "D:\\other\\cd2.aiff"},
      {"D:\\mixes\\sub\\cd2.wav", "D:\\mixes", "FILE \"D:\\mixes\\sub\\cd2.wav\" WAVE", "D:\\mixes\\sub\\cd2.wav"},
      {"\\\\server\\share\\a.wav", "", "FILE \"\\\\server\\share\\a.wav\" WAVE", "\\\\server\\share\\a.wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.audio);
    char line[300];
    size_t length = composeFileLine(c.audio, c.folder, line, sizeof line);
    EXPECT_STREQ(line, c.line);
    std::string name(line + 6, length - 6);
    name = name.substr(0, name.rfind('"'));
    char resolved[300];
    ASSERT_TRUE(resolveFileName(name.data(), name.size(), c.folder, resolved, sizeof resolved));
    EXPECT_STREQ(resolved, c.resolved);
  }
  char small[10];
  EXPECT_EQ(composeFileLine("D:\\mixes\\cd2.flac", "D:\\mixes", small, sizeof small), 0u);
  EXPECT_FALSE(resolveFileName("a.wav", 5, "", small, sizeof small)) << "a relative name needs a folder";
}
