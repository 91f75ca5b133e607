// Save: the cue file's name and bytes, the backup of a file the sheet did not write, what the
// user is told, and Save As when the sheet cannot go beside its audio file.
#include <windows.h>

#include <algorithm>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

class SaveTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    player->playState = HOST_STATE_PLAYING;  // the player answers no position while stopped
    player->playlist[0].path = folder + "\\night mix.mp3";
    start();
  }
  std::string cuePath() const { return folder + "\\night mix.cue"; }
  // Entries a minute apart, so that the sheets keep every rule and save without a question.
  void commitEntry(const std::string& title, const std::string& performer) {
    player->positionMs += 60000;
    PluginTest::commitEntry(title, performer);
  }
  // Files in the test's folder other than the DLL, plugin.ini and the plug-in's own files.
  std::vector<std::string> otherFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = data.cFileName;
      // The plug-in's own files (recovery copy, its lock, the notes of what it wrote) aside.
      if (name != "." && name != ".." && name != "gen_lumo.dll" && name != "plugin.ini" &&
          name.compare(0, 5, "lumo_") != 0)
        names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }
  const CaughtMessageBox& lastBox() const { return player->messageBoxes.back(); }
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(SaveTest, WritesEditorTextWithFinalLineBreakAndSaysWhere) {
  commitEntry("One", "P");
  commitEntry("Two", "P");
  std::string sheet = editorText();
  ASSERT_EQ(sheet.substr(sheet.size() - 2), "\r\n") << "an entry ends its line: typing at the end starts a new one";
  setEditorByHand(sheet.substr(0, sheet.size() - 2));
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), sheet) << "the line break a hand edit took away, back";
  EXPECT_EQ(editorText(), sheet.substr(0, sheet.size() - 2)) << "the editor's text is unchanged";
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(lastBox().caption, "Saved to");
  EXPECT_EQ(lastBox().text, cuePath());
  EXPECT_EQ(lastBox().owner, cueWindow()) << "the Cue window waits while the box is open";
  EXPECT_EQ(otherFiles(), Names({"night mix.cue"})) << "no temporary file left behind";

  SetWindowTextA(cueEditor(), "REM typed by hand\r\n");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), "REM typed by hand\r\n") << "no second line break";
  // An empty editor gives an empty file, over an existing one only when the user says so.
  SetWindowTextA(cueEditor(), "");
  player->boxAnswers.assign(1, IDNO);
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(lastBox().text, "The cue sheet is empty.\r\n\r\nReplace " + cuePath() + " with an empty file?");
  EXPECT_EQ(lastBox().defaultButton, IDNO);
  EXPECT_EQ(readFile(cuePath()), "REM typed by hand\r\n");
  player->boxAnswers.assign(1, IDYES);
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(cuePath()), "");
}

TEST_F(SaveTest, BackupsNeverOverwriteAUsersSheet) {
  std::string bak = cuePath() + ".bak", bak1 = cuePath() + ".1.bak", bak2 = cuePath() + ".2.bak";
  writeFile(cuePath(), "the user's sheet");
  writeFile(bak, "the user's own backup");
  commitEntry("One", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(bak1), "the user's sheet") << "the next free name";
  EXPECT_EQ(lastBox().text, cuePath() + "\r\nThe earlier file was kept as " + bak1);
  commitEntry("Two", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(lastBox().text, cuePath()) << "our own file needs no backup";
  std::string second = readFile(cuePath());

  // After a restart the plug-in still knows which contents it wrote: the .bak files holding
  // the user's sheets stay, our earlier file goes to a free name.
  stop();
  start();
  commitEntry("Three", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(bak), "the user's own backup");
  EXPECT_EQ(readFile(bak1), "the user's sheet");
  EXPECT_EQ(readFile(bak2), second);
  // A backup of our own may give way to a newer one.
  std::string third = readFile(cuePath());
  resetSheet();
  commitEntry("New", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(bak2), third);
  EXPECT_EQ(readFile(bak1), "the user's sheet");

  // A save that fails (the file held open by another program) leaves no backup behind.
  DeleteFileA(bak2.c_str());
  resetSheet();
  commitEntry("Held", "P");
  HANDLE lock = CreateFileA(cuePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  player->boxAnswers.assign(1, IDNO);
  clickCue(IDC_CUE_SAVE);
  CloseHandle(lock);
  EXPECT_EQ(lastBox().text.find("The cue sheet was not saved."), 0u) << lastBox().text;
  EXPECT_EQ(readFile(bak2), "<missing>");
}

TEST_F(SaveTest, ACopyTheUserMadeOfOurFileIsTheUsers) {
  std::string bak = cuePath() + ".bak", bak1 = cuePath() + ".1.bak", bak2 = cuePath() + ".2.bak";
  commitEntry("One", "P");
  clickCue(IDC_CUE_SAVE);
  std::string first = readFile(cuePath());
  ASSERT_TRUE(CopyFileA(cuePath().c_str(), bak.c_str(), FALSE));  // the user keeps a copy by hand
  commitEntry("Two", "P");
  clickCue(IDC_CUE_SAVE);
  std::string second = readFile(cuePath());
  // Each save of another sheet keeps the earlier file: never over the user's copy, over a backup
  // the plug-in made as long as nobody changed it.
  struct {
    const char* entry;
    const char* changeFirst;  // written into .1.bak before the save; null: nothing
    const char* keptIn;
  } saves[] = {{"Three", nullptr, ".1.bak"}, {"Four", nullptr, ".1.bak"}, {"Five", "edited by the user", ".2.bak"}};
  for (const auto& save : saves) {
    SCOPED_TRACE(save.entry);
    if (save.changeFirst) writeFile(bak1, save.changeFirst);
    std::string earlier = readFile(cuePath());
    resetSheet();
    commitEntry(save.entry, "P");
    clickCue(IDC_CUE_SAVE);
    EXPECT_EQ(readFile(cuePath() + save.keptIn), earlier);
    EXPECT_EQ(readFile(bak), first) << "the user's copy of a file the plug-in wrote";
  }
  EXPECT_EQ(readFile(bak1), "edited by the user");
  EXPECT_NE(second, first);
}

TEST_F(SaveTest, SheetGoesBesideItsOwnAudioFile) {
  // Marked in A.flac; the player moves on to B.mp3 before Save.
  player->playlist[0].path = folder + "\\A.flac";
  PlaylistEntry b;
  b.path = folder + "\\B.mp3";
  player->playlist.push_back(b);
  writeFile(folder + "\\B.cue", "the user's B sheet");
  commitEntry("One", "P");
  player->current = 1;
  commitEntry("Two", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(lastBox().text, folder + "\\A.cue");
  EXPECT_EQ(readFile(folder + "\\B.cue"), "the user's B sheet");
  EXPECT_NE(readFile(folder + "\\A.cue").find("TRACK 02"), std::string::npos);

  // A sheet without entries goes beside the current entry; '/' separates folders too.
  resetSheet();
  CreateDirectoryA((folder + "\\live.2004").c_str(), nullptr);
  player->playlist[1].path = folder + "/live.2004/set2";
  SetWindowTextA(cueEditor(), "REM by hand");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(readFile(folder + "/live.2004/set2.cue"), "REM by hand\r\n");
  EXPECT_EQ(readFile(folder + "\\live.cue"), "<missing>");
}

TEST_F(SaveTest, SheetThatCannotGoBesideItsAudioOffersAnotherPlace) {
  CreateDirectoryA((folder + "\\other").c_str(), nullptr);
  std::string held = folder + "\\held.cue";
  writeFile(held, "held open");
  struct Case {
    const char* name;
    std::string audio;     // the current entry; empty: none
    const char* reason;    // a piece of the box's text
    std::string named;     // the path the box names; empty: none
    std::string proposed;  // the name the Save As dialog proposes
    std::string opensIn;   // the folder it opens in; empty: its own choice
  } cases[] = {
      {"no entry", "", "no current file", "", "cue sheet.cue", ""},
      {"stream", "http://radio.example/live", "is a stream", "http://radio.example/live", "live.cue", ""},
      {"too long", "C:\\" + std::string(253, 'n'), "too long", "C:\\" + std::string(253, 'n'),
       std::string(253, 'n') + ".cue", ""},
      {"missing folder", folder + "\\gone\\mix.mp3", "does not exist", folder + "\\gone\\mix.cue",
       "mix.cue", ""},
      {"held open", folder + "\\held.mp3", "could not be written", held, "held.cue", folder},
  };
  HANDLE lock = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player->playlist[0].path = c.audio;
    player->current = c.audio.empty() ? 5 : 0;
    SetWindowTextA(cueEditor(), (std::string("REM ") + c.name).c_str());
    std::string chosen = folder + "\\other\\" + c.name + ".cue";
    struct {
      std::deque<int> answers;
      std::deque<std::string> names;
      bool written;
    } rounds[] = {{{IDNO}, {}, false}, {{IDYES}, {""}, false}, {{IDYES}, {chosen}, true}};
    for (auto& round : rounds) {
      player->messageBoxes.clear();
      player->saveDialogs.clear();
      player->boxAnswers = round.answers;
      player->saveAnswers = round.names;
      clickCue(IDC_CUE_SAVE);
      ASSERT_GE(player->messageBoxes.size(), 1u);
      const CaughtMessageBox& box = player->messageBoxes[0];
      EXPECT_EQ(box.caption, "LUMO");
      EXPECT_EQ(box.buttons, std::vector<int>({IDYES, IDNO}));
      EXPECT_NE(box.text.find("The cue sheet was not saved."), std::string::npos) << box.text;
      EXPECT_NE(box.text.find(c.reason), std::string::npos) << box.text;
      if (!c.named.empty()) {
        EXPECT_NE(box.text.find(c.named), std::string::npos) << box.text;
      }
      EXPECT_NE(box.text.find("Save it somewhere else?"), std::string::npos);
      EXPECT_EQ(readFile(chosen) != "<missing>", round.written);
      EXPECT_EQ(player->saveDialogs.size(), round.names.size());
      if (!player->saveDialogs.empty()) {
        EXPECT_EQ(player->saveDialogs[0].proposedName, c.proposed);
        if (!c.opensIn.empty()) {
          EXPECT_EQ(player->saveDialogs[0].folder, c.opensIn);
        }
      }
      if (round.written) {
        EXPECT_EQ(readFile(chosen), std::string("REM ") + c.name + "\r\n");
        ASSERT_EQ(player->messageBoxes.size(), 2u);
        EXPECT_EQ(lastBox().caption, "Saved to");
        EXPECT_EQ(lastBox().text, chosen);
      }
    }
  }
  CloseHandle(lock);
  EXPECT_EQ(readFile(held), "held open") << "the file that could not be replaced is untouched";
  EXPECT_EQ(otherFiles(), Names({"held.cue", "other"})) << "no temporary file left behind";
}

TEST_F(SaveTest, APlayerClosedDuringSaveAsSavesNothing) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.c_str());  // where a bare file name would land
  player->playlist[0].path = "http://radio.example/live";
  commitEntry("One", "P");
  player->boxAnswers.assign(1, IDYES);
  player->quitInSaveDialog = true;
  clickCue(IDC_CUE_SAVE);
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(player->messageBoxes.size(), 1u) << "no Saved to";
  EXPECT_EQ(otherFiles(), Names()) << "nothing written";
  EXPECT_NE(readFile(folder + "\\lumo_unsaved.cue").find("One"), std::string::npos) << "the sheet is still kept";
}

TEST_F(SaveTest, ResetAsksOnlyWhenTheSheetHoldsUnsavedWork) {
  resetSheet();
  clickCue(IDC_CUE_RESET);
  EXPECT_TRUE(player->messageBoxes.empty()) << "an empty sheet";
  commitEntry("One", "P");
  player->boxAnswers.assign(1, IDNO);
  clickCue(IDC_CUE_RESET);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(lastBox().caption, "LUMO");
  EXPECT_EQ(lastBox().text, "Discard the unsaved cue sheet?");
  EXPECT_EQ(lastBox().buttons, std::vector<int>({IDYES, IDNO}));
  EXPECT_EQ(lastBox().defaultButton, IDNO);
  EXPECT_NE(editorText(), "") << "No keeps the sheet";
  clickCue(IDC_CUE_SAVE);
  size_t boxes = player->messageBoxes.size();
  clickCue(IDC_CUE_RESET);
  EXPECT_EQ(player->messageBoxes.size(), boxes) << "a saved sheet";
  EXPECT_EQ(editorText(), "");
}

TEST_F(SaveTest, WindowsActWithCaptureSwitchedOff) {
  auto clickEnable = [&]() {  // the General page's Enable box
    player->config();
    HWND box = findDescendant(player->preferencesPage(), IDC_GENERAL_ENABLE);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, BM_CLICK, 0, 0);
    player->closePreferences();
  };
  player->playState = HOST_STATE_PLAYING;
  commitEntry("One", "P");
  // A mark pending while Enable is cleared can still be cancelled...
  mark();
  clickEnable();
  ASSERT_EQ(windowProcOf(player->window()), StandInPlayer::PlayerWndProc);
  closeInfo();
  EXPECT_EQ(player->playState, HOST_STATE_PLAYING);
  // ...or committed.
  clickEnable();
  player->positionMs += 60000;
  mark();
  typeInfo("Two", "P");
  clickEnable();
  clickOk();
  EXPECT_NE(editorText().find("TRACK 02"), std::string::npos);
  EXPECT_EQ(player->playState, HOST_STATE_PLAYING);
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(lastBox().caption, "Saved to");
  EXPECT_NE(readFile(cuePath()).find("TRACK 02"), std::string::npos);
  SetWindowTextA(cueEditor(), "REM by hand");
  resetSheet();
  EXPECT_EQ(editorText(), "");
  mark();
  EXPECT_FALSE(IsWindowVisible(infoWindow())) << "only the hot key is off";
}

TEST_F(SaveTest, SheetBreakingARuleIsSavedOnlyWhenTheUserSaysSo) {
  commitEntry("One", "P");
  commitEntry("Two", "P");
  std::string good = editorText();
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(player->messageBoxes.size(), 1u) << "a sheet that keeps every rule: no question";
  EXPECT_EQ(lastBox().caption, "Saved to");
  DeleteFileA(cuePath().c_str());

  // A typo in a time, made by hand, and twelve tracks without an INDEX 01 at the end.
  std::string bad = good;
  bad.replace(bad.rfind("02:00:00"), 8, "02:61:00");
  for (int i = 3; i <= 14; ++i) bad += "\r\nTRACK " + std::to_string(i) + " AUDIO";
  setEditorByHand(bad);
  int badLine = 1 + (int)std::count(bad.begin(), bad.begin() + (long)bad.find("02:61:00"), '\n');
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    player->messageBoxes.clear();
    player->boxAnswers.assign(1, answer);
    clickCue(IDC_CUE_SAVE);
    ASSERT_GE(player->messageBoxes.size(), 1u);
    const CaughtMessageBox& box = player->messageBoxes[0];
    EXPECT_EQ(box.caption, "LUMO");
    EXPECT_EQ(box.buttons, std::vector<int>({IDYES, IDNO}));
    EXPECT_EQ(box.defaultButton, IDNO);
    EXPECT_NE(box.text.find("line " + std::to_string(badLine) + ": "), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("and 3 more"), std::string::npos) << "ten are listed: " << box.text;
    EXPECT_EQ(box.text.substr(box.text.size() - 15), "Save it anyway?") << box.text;
    if (answer == IDNO) {
      EXPECT_EQ(readFile(cuePath()), "<missing>") << "No writes nothing";
      DWORD caret = 0;
      SendMessageA(cueEditor(), EM_GETSEL, 0, (LPARAM)&caret);
      EXPECT_EQ(SendMessageA(cueEditor(), EM_LINEFROMCHAR, caret, 0), badLine - 1);
      EXPECT_EQ(SendMessageA(cueEditor(), EM_LINEINDEX, badLine - 1, 0), (LRESULT)caret) << "at the line's start";
      EXPECT_EQ(GetFocus(), cueEditor());
    } else {
      EXPECT_EQ(readFile(cuePath()), bad + "\r\n") << "Yes saves as usual";
      EXPECT_EQ(lastBox().caption, "Saved to");
    }
  }
}
