// FILE lines of a sheet in several files, and the forms a cue file's bytes are read in.
#include <gtest/gtest.h>

#include <string>

#include "../../sheet/cueEncoding.h"
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

TEST(CueFileForm, BomsMarkerLineAndEncoding) {
  struct {
    const char* name;
    std::string bytes;
    CueCharset charset;
    bool bom, marker, ascii;
    size_t textAt;
  } cases[] = {
      {"BOM and marker", "\xEF\xBB\xBFREM COMMENT \"LumoMarker\"\r\nA\xC3\xA9\n", kCharsetUtf8, true, true, false, 29},
      {"BOM, other REM", "\xEF\xBB\xBFREM COMMENT \"Other\"\r\n", kCharsetUtf8, true, false, false, 3},
      {"BOM, a stray byte", "\xEF\xBB\xBF\xF6", kCharsetUtf8, true, false, false, 3},
      {"valid UTF-8", "\xE6\x9D\xB1\r", kCharsetUtf8, false, false, false, 0},
      {"a code page", "Bj\xF6rk\r\n", kCharsetCodePage, false, false, false, 0},
      {"ASCII", "a\nb\rc\r\n", kCharsetUtf8, false, false, true, 0},
      {"UTF-16 LE", std::string("\xFF\xFE" "a\0", 4), kCharsetUtf16Le, false, false, false, 2},
      {"UTF-16 BE", std::string("\xFE\xFF\0a", 4), kCharsetUtf16Be, false, false, false, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadForm read = readCueForm(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(read.form.charset, c.charset);
    EXPECT_EQ(read.form.utf8Form.bom, c.bom);
    EXPECT_EQ(read.form.utf8Form.markerLine, c.marker);
    EXPECT_EQ(read.ascii, c.ascii);
    EXPECT_EQ(read.textAt, c.textAt);
  }
}
