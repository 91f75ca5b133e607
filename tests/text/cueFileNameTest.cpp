// The cue file's name beside the audio file.
#include <gtest/gtest.h>

#include <string>

#include "../../sheet/cueFileName.h"

TEST(CueFileName, ReplacesExtensionOfFileNameOnly) {
  struct {
    const char* entry;
    const char* expected;
  } cases[] = {
      {"D:\\mixes\\set.mp3", "D:\\mixes\\set.cue"},
      {"D:\\mixes\\set.MP3", "D:\\mixes\\set.cue"},
      {"D:\\mixes\\set.flac", "D:\\mixes\\set.cue"},
      {"D:\\a.b\\c.d.wav", "D:\\a.b\\c.d.cue"},
      {"D:\\live.set\\part1", "D:\\live.set\\part1.cue"},
      {"D:\\mixes\\set.", "D:\\mixes\\set.cue"},
      {"part1", "part1.cue"},
      {"a.mp3", "a.cue"},
      {"Z:/mixes/live.2004/set2", "Z:/mixes/live.2004/set2.cue"},  // '/' separates folders too
      {"Z:\\mixes/set.one.flac", "Z:\\mixes/set.one.cue"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    char out[260];
    EXPECT_EQ(makeCuePath(c.entry, out, sizeof out), kCuePathOk);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST(CueFileName, NoFileAndTooLongAreRefused) {
  char out[260] = "x";
  EXPECT_EQ(makeCuePath("", out, sizeof out), kCuePathNoFile);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(makeCuePath(nullptr, out, sizeof out), kCuePathNoFile);

  std::string folder = "C:\\" + std::string(240, 'f') + "\\";  // 244 characters
  std::string fits = folder + std::string(11, 'n') + ".mp3";   // cue path of 259 characters
  ASSERT_EQ(makeCuePath(fits.c_str(), out, sizeof out), kCuePathOk);
  EXPECT_EQ(std::string(out).size(), 259u);

  std::string noDot = folder + std::string(12, 'n');            // 256 + ".cue" = 260
  EXPECT_EQ(makeCuePath(noDot.c_str(), out, sizeof out), kCuePathTooLong);
  EXPECT_STREQ(out, "");

  std::string longExt = folder + "n." + std::string(300, 'e');   // longer than any buffer
  ASSERT_EQ(makeCuePath(longExt.c_str(), out, sizeof out), kCuePathOk);
  EXPECT_EQ(std::string(out), folder + "n.cue");

  std::string longName = folder + std::string(300, 'n') + ".part.mp3";
  EXPECT_EQ(makeCuePath(longName.c_str(), out, sizeof out), kCuePathTooLong)
      << "a dot that only a cut copy would show must not name the file";
}

TEST(CueFileName, StreamsHaveNoCueFileButAProposedName) {
  struct {
    const char* audio;
    CuePathResult result;
    const char* proposed;
  } cases[] = {
      {"http://radio.example/live", kCuePathStream, "live.cue"},
      {"https://radio.example/shows/night%20drive.mp3?id=7", kCuePathStream, "night%20drive.cue"},
      {"mms://example/", kCuePathStream, "example.cue"},
      {"C:\\mixes\\set.flac", kCuePathOk, "set.cue"},
      {"C:/mixes/.mp3", kCuePathOk, "cue sheet.cue"},
      {"", kCuePathNoFile, "cue sheet.cue"},
      {"http://", kCuePathStream, "cue sheet.cue"},
      {"a:b", kCuePathOk, "ab.cue"},  // no scheme: one letter is a drive
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.audio);
    char out[260];
    EXPECT_EQ(makeCuePath(c.audio, out, sizeof out), c.result);
    proposeCueName(c.audio, out, sizeof out);
    EXPECT_STREQ(out, c.proposed);
  }
  char small[8];
  proposeCueName("C:\\mixes\\a very long name.mp3", small, sizeof small);
  EXPECT_STREQ(small, "a v.cue");
}
