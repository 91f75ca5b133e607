// FILE lines of a sheet in several files.
#include <gtest/gtest.h>

#include <cstring>
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
      {"D:\\mixes\\sub\\cd2.wav", "D:\\mixes", "FILE \"sub\\cd2.wav\" WAVE", "D:\\mixes\\sub\\cd2.wav"},
      {"D:\\mixes2\\cd2.wav", "D:\\mixes", "FILE \"D:\\mixes2\\cd2.wav\" WAVE", "D:\\mixes2\\cd2.wav"},
      {"D:\\cd2.wav", "D:", "FILE \"cd2.wav\" WAVE", "D:\\cd2.wav"},
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

TEST(FileLine, NamesMatchByPathThenByFolderAndBaseName) {
  struct {
    const char* path;
    const char* normalized;
  } paths[] = {
      {"D:\\a\\..\\b\\.\\c.wav", "D:\\b\\c.wav"},
      {"D:/a//b/", "D:\\a\\b"},
      {"D:\\..\\..\\x", "D:\\x"},
      {"\\\\srv\\share\\..\\a", "\\\\srv\\share\\a"},
      {"\\a\\..\\..\\b", "\\b"},
      {"..\\a\\..\\b", "..\\b"},
  };
  for (const auto& c : paths) {
    SCOPED_TRACE(c.path);
    std::string path = c.path;
    EXPECT_EQ(normalizePath(&path[0]), strlen(c.normalized));
    EXPECT_STREQ(path.c_str(), c.normalized);
  }
  struct {
    const char* name;
    const char* folder;
    const char* audio;
    FileMatch match;
  } cases[] = {
      {"show.flac", "D:\\rips", "d:/RIPS/Show.FLAC", kFileMatchPath},
      {"show.wav", "D:\\rips", "D:\\rips\\show.flac", kFileMatchBaseName},
      {"show", "D:\\rips", "D:\\rips\\show.mp3", kFileMatchBaseName},
      {"..\\audio\\show.wav", "D:\\rips\\cues", "D:\\rips\\audio\\show.wav", kFileMatchPath},
      {"../audio/show.wav", "D:\\rips\\cues", "D:\\rips\\audio\\show.flac", kFileMatchBaseName},
      {"Caf\xC3\xA9.wav", "D:\\r", "D:\\R\\CAF\xC3\x89.flac", kFileMatchBaseName},
      {"show.part1.wav", "D:\\r", "D:\\r\\show.part2.wav", kFileMatchNone},
      {"show.wav", "D:\\rips", "D:\\other\\show.flac", kFileMatchNone},
      {"show.wav", "D:\\rips", "D:\\rips\\show2.wav", kFileMatchNone},
      {"show.wav", "", "D:\\rips\\show.wav", kFileMatchNone},
      {"show.wav", "D:\\rips", "", kFileMatchNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in " + c.folder + " for " + c.audio);
    EXPECT_EQ(matchFileLine(c.name, strlen(c.name), c.folder, c.audio), c.match);
  }
}
