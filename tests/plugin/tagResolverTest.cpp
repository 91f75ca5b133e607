// Tag values from the real DLL's tag callback, called as the player's formatter calls it.
#include <windows.h>

#include "pluginFixture.h"
#include "../../player/wideText.h"

namespace {

const char kNull[] = "(null)";

class TagTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    start();
    commitEntry("Typed Title", "Typed Performer");  // the player now holds our callbacks
    ASSERT_NE(player->lastRenderWide.resolveTag, nullptr);
  }

  // The value of one tag (UTF-8), or "(null)" when it has none; every value is handed back as
  // the formatter does.
  std::string tag(const char* name) {
    FormatTitleRequestWide& r = player->lastRenderWide;
    wchar_t* value = r.resolveTag(widen(name).c_str(), r.context);
    EXPECT_NE(value, nullptr) << name << ": every name is the plug-in's";
    if (!value || value == HOST_EMPTY_TAG_VALUE) return kNull;
    std::string text = narrow(value);
    EXPECT_FALSE(text.empty()) << name << ": an empty value is the empty mark";
    r.freeTagValue(value, r.context);
    return text;
  }
};

}  // namespace

TEST_F(TagTest, OwnTagsFromCaptureStateAndPlayer) {
  player->positionMs = 3723450;  // the entry's position is the mark's
  commitEntry("Second", "Typed Performer");
  player->playState = HOST_STATE_PAUSED;
  player->sampleRateHz = 48000;
  player->bitrate = 192;
  player->channels = 1;
  player->videoSize = 640 | (480u << 16);
  struct {
    const char* name;
    const char* value;
  } cases[] = {
      {"filepath", "D:\\\\Music\\\\Live.2004\\\\set1.mp3"},  // backslashes doubled: taken literally
      {"filename", "set1.mp3"},
      {"filedir", "D:\\\\Music\\\\Live.2004"},
      {"fileext", "mp3"},
      {"filetype", "MP3"},
      {"curpos", "62:03:33"},
      {"CurPos", "62:03:33"},
      {"CURPOS", "62:03:33"},
      {"trackname", kNull},  // the commit emptied it
      {"performer", "Typed Performer"},
      {"trackcount", "03"},
      {"length", "01:06:40"},
      {"pllen", "1"},
      {"plpos", "1"},
      {"plzeroidx", "0"},
      {"bitrate", "192"},
      {"srate", "48000"},
      {"channelnum", "1"},
      {"channels", "mono"},
      {"videosize", "640x480"},
      {"videowidth", "640"},
      {"videoheight", "480"},
      {"videoinfo", kNull},
      {"year2d", "04"},
      {"TwoDigitYear", "04"},
      {"pbstate", "2"},
      {"watitle", "Set One"},
      {"artist", "The Band"},
      {"Artist", kNull},  // the metadata reader gets the name's case unchanged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tag(c.name), c.value);
  }
  EXPECT_EQ(player->formatter.outstanding(), 0);
}

TEST_F(TagTest, UnknownNameGoesToMetadataWithItsCase) {
  size_t first = player->events.size();
  tag("AlBuM");
  std::vector<std::string> events = eventsFrom(*player, first);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "file-field-wide AlBuM");
}

TEST_F(TagTest, StreamAndStateVariants) {
  struct {
    int channels;
    const char* expected;
  } channelCases[] = {{0, "stereo"}, {2, "stereo"}, {6, "stereo"}, {1, "mono"}};
  for (const auto& c : channelCases) {
    player->channels = c.channels;
    EXPECT_EQ(tag("channels"), c.expected) << c.channels;
  }
  player->playState = HOST_STATE_STOPPED;
  EXPECT_EQ(tag("pbstate"), "0");
  player->playState = HOST_STATE_PLAYING;
  EXPECT_EQ(tag("pbstate"), "1");
  player->videoText = "H.264 \"main\"";
  player->giveVideoText = true;
  EXPECT_EQ(tag("videoinfo"), "H.264 'main'");
  player->videoSize = 0xFFFFFFFF;
  EXPECT_EQ(tag("videosize"), "65535x65535");
}

TEST_F(TagTest, YearFieldVariants) {
  struct {
    const char* year;
    const char* expected;
  } cases[] = {{"1999-05-01", "01"}, {"2004", "04"}, {"7", "7"}, {"", kNull}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    player->playlist[0].fields["year"] = c.year;
    EXPECT_EQ(tag("year2d"), c.expected);
  }
}

TEST_F(TagTest, NoCurrentFileGivesNoPathValues) {
  player->current = 5;  // past the end: the player gives no path
  for (const char* name : {"filepath", "filename", "filedir", "fileext", "artist", "watitle"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(tag(name), kNull);
  }
  EXPECT_EQ(tag("trackcount"), "02");
}

TEST_F(TagTest, PathsAreReadOnlyWithinThePlayersBuffer) {
  // The player's path buffers hold 260 characters with the NUL: a longer text is no path of its.
  struct {
    size_t length;
    bool older;  // asked in the ANSI code page
    bool read;
  } cases[] = {{259, false, true}, {260, false, false}, {259, true, true}, {600, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.older ? " ANSI" : " UTF-16"));
    std::string name = std::string(c.length - 7, 'n') + ".mp3";
    player->older = c.older;
    player->playlist[0].path = "C:\\" + name;
    EXPECT_EQ(tag("filename"), c.read ? name : kNull);
  }
}

TEST_F(TagTest, LongValuesAreCutToTheValueBlock) {
  player->playlist[0].fields["comment"] = std::string(5000, 'c');
  EXPECT_EQ(tag("comment"), std::string(2047, 'c'));
  player->playlist[0].fields["comment"] = std::string(3000, '\\');
  EXPECT_EQ(tag("comment"), std::string(2046, '\\'));
}

TEST_F(PluginTest, ValuesReachTheSheetLiterally) {
  writeFile(iniPath(),
            "[LUMO]\r\nadvformatstring=FILE \"%filepath%\"\r\n"
            "balloontitle=TITLE \"%trackname%\" %title%\r\n");
  player->playlist[0].path = "D:\\Music\\new.mp3";
  player->playlist[0].fields["title"] = "\\uupper \\nline";
  start();
  commitEntry("The \"Best\" Song", "P");
  EXPECT_EQ(editorText(),
            "FILE \"D:\\Music\\new.mp3\"\r\nTITLE \"The 'Best' Song\" \\uupper \\nline\r\n");
}

TEST_F(PluginTest, CaseModesApplyToValues) {
  writeFile(iniPath(), "[LUMO]\r\nadvformatstring=\\u%artist%\r\nballoontitle=\\c%trackname%\r\n");
  start();
  commitEntry("one more (live) [edit]", "P");
  EXPECT_EQ(editorText(), "THE BAND\r\nOne More (Live) [Edit]\r\n");
}
