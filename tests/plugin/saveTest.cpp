// Save: the cue file's name and bytes, and what the user is told.
#include <windows.h>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

class SaveTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    player->playlist[0].path = folder + "\\night mix.mp3";
    start();
  }
  std::string cuePath() const { return folder + "\\night mix.cue"; }
};

}  // namespace

TEST_F(SaveTest, WritesEditorTextWithFinalLineBreakAndSaysWhere) {
  commitEntry("One", "P");
  commitEntry("Two", "P");
  std::string sheet = editorText();
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), sheet + "\r\n");
  EXPECT_EQ(editorText(), sheet) << "the editor's text is unchanged";
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].caption, "Saved to");
  EXPECT_EQ(player->messageBoxes[0].text, cuePath());
  EXPECT_EQ(player->messageBoxes[0].owner, nullptr);
}

TEST_F(SaveTest, TextEndingInLineBreakGetsNoSecondOne) {
  SetWindowTextA(cueEditor(), "REM typed by hand\r\n");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), "REM typed by hand\r\n");
}

TEST_F(SaveTest, EmptyEditorGivesEmptyFileAndOverwrites) {
  writeFile(cuePath(), "old sheet");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), "");
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].caption, "Saved to");
}

TEST_F(SaveTest, SavesBesideTheEntryCurrentAtSaveTime) {
  PlaylistEntry other;
  CreateDirectoryA((folder + "\\live.set").c_str(), nullptr);
  other.path = folder + "\\live.set\\part1";
  player->playlist.push_back(other);
  commitEntry("One", "P");
  player->current = 1;
  clickCue(IDC_CUE_SAVE);
  EXPECT_NE(readFile(folder + "\\live.set\\part1.cue"), "<missing>");
  EXPECT_EQ(readFile(folder + "\\live.cue"), "<missing>") << "never a file in another folder";
}

TEST_F(SaveTest, NoCurrentFileIsReportedAndNothingWritten) {
  commitEntry("One", "P");
  player->current = 7;
  clickCue(IDC_CUE_SAVE);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_NE(player->messageBoxes[0].caption, "Saved to");
  EXPECT_NE(player->messageBoxes[0].text.find("not saved"), std::string::npos);
  EXPECT_FALSE(editorText().empty());
}

TEST_F(SaveTest, PathTooLongForCueFileIsReported) {
  player->playlist[0].path = "C:\\" + std::string(253, 'n');  // + ".cue" would pass 259
  commitEntry("One", "P");
  clickCue(IDC_CUE_SAVE);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_NE(player->messageBoxes[0].caption, "Saved to");
  EXPECT_NE(player->messageBoxes[0].text.find("not saved"), std::string::npos);
}

TEST_F(SaveTest, FileThatCannotBeWrittenIsReportedWithItsPath) {
  commitEntry("One", "P");
  std::string sheet = editorText();
  HANDLE held = CreateFileA(cuePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  clickCue(IDC_CUE_SAVE);
  CloseHandle(held);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_NE(player->messageBoxes[0].caption, "Saved to");
  EXPECT_NE(player->messageBoxes[0].text.find("not saved"), std::string::npos);
  EXPECT_NE(player->messageBoxes[0].text.find(cuePath()), std::string::npos);
  EXPECT_EQ(editorText(), sheet);

  player->playlist[0].path = folder + "\\no such folder\\a.mp3";
  clickCue(IDC_CUE_SAVE);
  ASSERT_EQ(player->messageBoxes.size(), 2u);
  EXPECT_NE(player->messageBoxes[1].text.find(folder + "\\no such folder\\a.cue"), std::string::npos);
}

TEST_F(SaveTest, SaveDoesNothingWhileDisabled) {
  stop();
  writeFile(iniPath(), "[LUMO]\r\nenabled=0\r\n");
  start();
  SetWindowTextA(cueEditor(), "text");
  clickCue(IDC_CUE_SAVE);
  EXPECT_TRUE(player->messageBoxes.empty());
  EXPECT_EQ(readFile(cuePath()), "<missing>");
}
