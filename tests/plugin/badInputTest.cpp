// Outside input at and past every limit: no crash, no overrun, a sensible result, nothing lost.
#include <windows.h>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

}  // namespace

TEST_F(PluginTest, LongValuesAreShortenedSoTheSheetsLinesStayWhole) {
  // The formatter gives 1,023 characters: a result that fills them may have been cut, and the
  // values are cut to half until the header and the entry fit whole.
  std::string slashes;
  for (int i = 0; i < 2047; ++i) slashes += "\\%\\\\n%"[i % 6];
  struct {
    const char* name;
    std::string ini, title, performer, comment;
    std::string expected;  // the editor's text
  } cases[] = {
      {"default templates", "", std::string(5000, 't'), "P", std::string(2047, 'c'),
       "PERFORMER \"The Band\"\r\nTITLE \"Live 2004\"\r\nFILE \"set1.mp3\" MP3\r\nTRACK 01 AUDIO\r\n    TITLE \"" +
           std::string(512, 't') + "\"\r\n    PERFORMER \"P\"\r\n    INDEX 01 00:00:00"},
      {"empty", "advformatstring=H\r\nballoontitle=%trackname%|%performer%", "", "", "", "H\r\n|"},
      {"two of 1,023", "advformatstring=H\r\nballoontitle=%trackname%|%performer%", std::string(1023, 't'), std::string(1023, 'p'), "",
       "H\r\n" + std::string(256, 't') + "|" + std::string(256, 'p')},
      {"one of 100,000", "advformatstring=H\r\nballoontitle=%trackname%!", std::string(100000, 't'), "", "", "H\r\n" + std::string(512, 't') + "!"},
      {"header and entry of 1,022", "advformatstring=%trackname%\r\nballoontitle=%performer%", std::string(1022, 'h'),
       std::string(1022, 'e'), "", std::string(1022, 'h') + "\r\n" + std::string(1022, 'e')},
      {"backslashes and percent signs", "advformatstring=H\r\nballoontitle=%comment%", "T", "P", slashes, "H\r\n" + slashes.substr(0, 512)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(iniPath(), "[LUMO]\r\n" + c.ini + "\r\n");
    player->playlist[0].fields["comment"] = c.comment;
    start();
    commitEntry(c.title, c.performer);
    EXPECT_EQ(editorText(), c.expected + "\r\n");  // an entry ends its line
    EXPECT_EQ(player->formatter.outstanding(), 0);
    resetSheet();
    stop();
  }
}

TEST_F(PluginTest, SettingsIntegersThatAreNoNumbers) {
  struct {
    const char* enabled;
    const char* page;
    bool installed;
  } cases[] = {
      {"abc", "xyz", true},  // not numbers: the defaults
      {"-5", "-7", true},    // non-zero is enabled; a negative tab shows no page
      {"99999999999", "99999999999", true},
      {"0", "1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.enabled);
    writeFile(iniPath(), std::string("[LUMO]\r\nenabled=") + c.enabled + "\r\ncurrentpageindex=" + c.page + "\r\n");
    start();
    EXPECT_EQ(windowProcOf(player->window()) != StandInPlayer::PlayerWndProc,
              c.installed);
    player->config();
    ASSERT_NE(player->preferencesPage(), nullptr);
    player->closePreferences();
    stop();
  }
}

TEST_F(PluginTest, EntryPathsAtAndPastThePathLimit) {
  start();
  SetWindowTextA(cueEditor(), "REM typed by hand: saved beside the current entry");
  std::string sheet = editorText();
  // A deep folder (the deepest a folder may be made) with a short name, and long names.
  std::string deep = folder + "\\" + std::string(247 - folder.size() - 1, 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
  struct {
    std::string dir;
    size_t length;  // of the entry path
    bool saved;
  } cases[] = {{folder + "\\", 258, true}, {folder + "\\", 259, true}, {folder + "\\", 260, false},
               {deep + "\\", 254, true}, {deep + "\\", 259, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    std::string path = c.dir + std::string(c.length - c.dir.size() - 4, 'n') + ".mp3";
    ASSERT_EQ(path.size(), c.length);
    player->playlist[0].path = path;
    player->messageBoxes.clear();
    clickCue(IDC_CUE_SAVE);
    ASSERT_EQ(player->messageBoxes.size(), 1u);
    EXPECT_EQ(player->messageBoxes[0].caption == "Saved to", c.saved) << player->messageBoxes[0].text;
    EXPECT_EQ(editorText(), sheet);
  }
  // A relative name lands in the current folder: the test's own, for the moment.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.c_str());
  for (std::string odd : {std::string("nobackslash.mp3"), folder + "\\no dot here", std::string()}) {
    SCOPED_TRACE(odd);
    player->playlist[0].path = odd;
    player->messageBoxes.clear();
    clickCue(IDC_CUE_SAVE);
    EXPECT_EQ(player->messageBoxes.size(), 1u) << "the user is always told";
    EXPECT_EQ(editorText(), sheet);
  }
  SetCurrentDirectoryA(previous);
}

TEST_F(PluginTest, SettingsFileThatCannotBeWrittenIsLeftAsItWas) {
  writeFile(iniPath(), "[LUMO]\r\nenabled=1\r\n");
  // Held open without sharing by another program: neither read nor written.
  HANDLE held = CreateFileA(iniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  start();
  commitEntry("One", "P");
  stop();
  CloseHandle(held);
  EXPECT_EQ(readFile(iniPath()), "[LUMO]\r\nenabled=1\r\n");
}

// A drive letter that names no drive on this machine.
static std::string missingDrive() {
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Q'; letter <= 'Y'; ++letter)
    if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":";
  return "";
}

TEST_F(PluginTest, CueFileThatCannotBeCreatedIsReported) {
  CreateDirectoryA((folder + "\\taken.cue").c_str(), nullptr);
  start();
  commitEntry("One", "P");
  std::string sheet = editorText();
  std::string drive = missingDrive();
  ASSERT_FALSE(drive.empty());
  for (std::string path : {folder + "\\taken.mp3", drive + "\\mixes\\mix.mp3"}) {
    SCOPED_TRACE(path);
    player->playlist[0].path = path;
    player->messageBoxes.clear();
    clickCue(IDC_CUE_SAVE);
    ASSERT_EQ(player->messageBoxes.size(), 1u);
    EXPECT_NE(player->messageBoxes[0].text.find("not saved"), std::string::npos);
    EXPECT_EQ(editorText(), sheet);
  }
}

TEST_F(PluginTest, ReleaseNotesHugeOrUnreadable) {
  std::string big(200 * 1024, 'n');  // past every 16-bit limit of an edit control's text
  for (size_t i = 100; i < big.size(); i += 101) big[i - 1] = '\r', big[i] = '\n';
  writeFile(folder + "\\gen_lumo.txt", big);
  writeFile(iniPath(), "[LUMO]\r\ncurrentpageindex=2\r\n");
  start();
  player->config();
  HWND notes = findDescendant(player->preferencesPage(), IDC_ABOUT_NOTES);
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ((size_t)GetWindowTextLengthA(notes), big.size()) << "read whole";
  player->closePreferences();

  HANDLE held = CreateFileA((folder + "\\gen_lumo.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  player->config();
  notes = findDescendant(player->preferencesPage(), IDC_ABOUT_NOTES);
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(GetWindowTextLengthA(notes), 0) << "an unreadable file leaves the field empty";
  player->closePreferences();
  CloseHandle(held);
}

TEST_F(PluginTest, CaptureActionsInAnyOrder) {
  start();
  player->playState = HOST_STATE_PLAYING;
  player->capture(CAPTURE_COMMIT);  // commit without a mark
  EXPECT_NE(editorText().find("TRACK 01 AUDIO"), std::string::npos);
  player->capture(CAPTURE_CANCEL);  // cancel without a mark, while playing
  EXPECT_EQ(player->playState, HOST_STATE_PLAYING);
  player->capture(CAPTURE_MARK);
  player->capture(CAPTURE_MARK);
  EXPECT_EQ(player->playState, HOST_STATE_PAUSED);
  player->capture(CAPTURE_CANCEL);
  EXPECT_EQ(player->playState, HOST_STATE_PLAYING);

  resetSheet();
  player->messageBoxes.clear();
  player->playlist[0].path = folder + "\\empty.mp3";
  player->capture(CAPTURE_SAVE);  // save with an empty editor
  EXPECT_EQ(readFile(folder + "\\empty.cue"), "");
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].caption, "Saved to");
  for (int i = 0; i < 3; ++i) player->capture(CAPTURE_SAVE);
  EXPECT_EQ(player->messageBoxes.size(), 4u);
}
