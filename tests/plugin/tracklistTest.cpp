// Marks at the pace of the music: a pasted tracklist marked by the hot key without a pause, shifts
// of every later mark, and every change of the plug-in's taken back and done again.
#include <windows.h>

#include <algorithm>

#include "pluginFixture.h"
#include "../../player/wideText.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

class TracklistTest : public PluginTest {
 protected:
  HWND tracklist() const { return findPluginDialog(IDC_TRACKLIST_EDITOR); }
  // Shows the Tracklist window and types lines into it, as a paste does.
  void paste(const std::string& lines) {
    clickCue(IDC_CUE_TRACKLIST);
    HWND editor = GetDlgItem(tracklist(), IDC_TRACKLIST_EDITOR);
    SendMessageW(editor, EM_SETSEL, 0, -1);
    SendMessageW(editor, EM_REPLACESEL, TRUE, (LPARAM)widen(lines).c_str());
    player->pump();
  }
  std::string label() const { return fieldText(tracklist(), IDC_TRACKLIST_NEXT); }
  std::string pending() const { return fieldText(tracklist(), IDC_TRACKLIST_EDITOR); }
  // A key in the Cue editor with Ctrl (and Alt, Shift) held.
  void ctrlKey(WPARAM vk, bool alt = false, bool shift = false) { key(WM_KEYDOWN, vk, shift, true, alt); }
};

}  // namespace

TEST_F(TracklistTest, TheHotKeyMarksEachLineAtOnceWithoutStoppingTheMusic) {
  writeFile(iniPath(), "[LUMO]\r\nmarkoffset=200\r\n");
  start();
  paste("01. Jay-Z - 99 Problems\r\n2) 50 Cent \xE2\x80\x93 In Da Club\r\n\r\n[00:12] Prince \xE2\x80\x94 1999\n"
        "Title Only\r\n1:02:03 Artist - Song - Remix\r\n");
  EXPECT_EQ(label(), "Next: \"99 Problems\" by Jay-Z");
  player->playState = HOST_STATE_PLAYING;
  const char* next[] = {"Next: \"In Da Club\" by 50 Cent", "Next: \"1999\" by Prince",
                        "Next: \"Title Only\" by Prince (as before)", "Next: \"Song - Remix\" by Artist",
                        "Next: the Info window"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    player->positionMs = 60000 * (i + 1);
    size_t first = player->events.size();
    mark();
    Events events = eventsFrom(*player, first);
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmd pause"), 0) << "no pause";
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmd play"), 0);
    EXPECT_EQ(player->playState, HOST_STATE_PLAYING);
    EXPECT_FALSE(IsWindowVisible(infoWindow())) << "no Info window";
    EXPECT_EQ(label(), next[i]);
  }
  EXPECT_EQ(tracksOf(editorText(), true),
            "01:Jay-Z|99 Problems@00:59:60 02:50 Cent|In Da Club@01:59:60 03:Prince|1999@02:59:60 "
            "04:Prince|Title Only@03:59:60 05:Artist|Song - Remix@04:59:60 ");
  EXPECT_EQ(fieldText(infoWindow(), IDC_INFO_PERFORMER), "Artist") << "the Info window keeps the last performer";
  // With the tracklist empty, the hot key works as ever.
  mark();
  EXPECT_TRUE(IsWindowVisible(infoWindow()));
  EXPECT_EQ(player->playState, HOST_STATE_PAUSED);
  closeInfo();
}

TEST_F(TracklistTest, TracksLeftAreKeptThroughARestartAndAskedAboutAtSave) {
  player->playlist[0].path = folder + "\\mix.wav";
  start();
  paste("A - One\r\nB - Two\r\nC - Three\r\n");
  EXPECT_TRUE(pumpUntil([&] { return readFile(folder + "\\lumo_unsaved.cue").find("NEXT C - Three") != std::string::npos; }))
      << "a pasted list is kept before any mark";
  player->positionMs = 1000;
  mark();
  stop();
  start();
  EXPECT_NE(editorText().find("TITLE \"One\""), std::string::npos);
  EXPECT_EQ(pending(), "B - Two\r\nC - Three\r\n") << "kept with the recovery copy";
  player->boxAnswers.assign(1, IDNO);
  clickCue(IDC_CUE_SAVE);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].text, "The tracklist still holds 2 tracks not marked. Save anyway?");
  EXPECT_EQ(player->messageBoxes[0].defaultButton, IDNO);
  EXPECT_EQ(readFile(folder + "\\mix.cue"), "<missing>");
  player->boxAnswers.assign(1, IDYES);
  clickCue(IDC_CUE_SAVE);
  EXPECT_NE(readFile(folder + "\\mix.cue"), "<missing>");
}

TEST_F(TracklistTest, ShiftsAndEveryChangeTakenBackAndDoneAgain) {
  player->lengthSeconds = 600;
  start();
  player->playState = HOST_STATE_PLAYING;
  for (int minute : {1, 2, 3, 4}) {
    player->positionMs = 60000 * minute;
    commitEntry("T" + std::to_string(minute), "P");
  }
  std::string four = editorText();
  caretOn("TITLE \"T3");
  player->playState = HOST_STATE_PLAYING;
  size_t first = player->events.size();
  ctrlKey(VK_RIGHT, true);         // Ctrl+Alt+Right: a frame later, T3 and T4
  ctrlKey(VK_LEFT, true, true);    // Ctrl+Alt+Shift+Left: a second earlier
  EXPECT_EQ(tracksOf(editorText(), true), "01:P|T1@01:00:00 02:P|T2@02:00:00 03:P|T3@02:59:01 04:P|T4@03:59:01 ");
  Events heard;
  for (const std::string& e : eventsFrom(*player, first))
    if (e.compare(0, 5, "jump ") == 0) heard.push_back(e);
  EXPECT_EQ(heard, Events({"jump 178013", "jump 177013"})) << "each shift listens at the caret's mark";
  for (int i = 0; i < 70; ++i) ctrlKey(VK_LEFT, true, true);
  EXPECT_EQ(tracksOf(editorText(), true), "01:P|T1@01:00:00 02:P|T2@02:00:00 03:P|T3@02:00:01 04:P|T4@03:00:01 ");

  // Ctrl+Z takes back the shifts one by one (the 59 that moved the marks, not the 11 that the
  // limit held), then the entries; Ctrl+Y does them again.
  for (int i = 0; i < 2 + 59; ++i) ctrlKey('Z');
  EXPECT_EQ(editorText(), four);
  ctrlKey('Z');
  EXPECT_EQ(tracksOf(editorText(), true), "01:P|T1@01:00:00 02:P|T2@02:00:00 03:P|T3@03:00:00 ");
  ctrlKey('Y');
  EXPECT_EQ(editorText(), four);
  ctrlKey('Y');
  EXPECT_EQ(tracksOf(editorText(), true), "01:P|T1@01:00:00 02:P|T2@02:00:00 03:P|T3@03:00:01 04:P|T4@04:00:01 ");

  // A tracklist mark taken back puts its whole line back at the top of the tracklist; done
  // again, it takes the line off only while that line still stands first.
  const std::string line = std::string(600, 'X') + " - " + std::string(600, 'M');
  const std::string marked = "MMMMMMMMMM";
  paste(line + "\r\nY - Next\r\n");
  player->positionMs = 300000;
  mark();
  EXPECT_EQ(pending(), "Y - Next\r\n");
  ctrlKey('Z');
  EXPECT_EQ(pending(), line + "\r\nY - Next\r\n");
  EXPECT_EQ(editorText().find(marked), std::string::npos);
  ctrlKey('Y');
  EXPECT_EQ(pending(), "Y - Next\r\n");
  EXPECT_NE(editorText().find(marked), std::string::npos);
  ctrlKey('Z');
  paste("Y - Next\r\n");  // the user takes the line off the list by hand
  ctrlKey('Y');
  EXPECT_EQ(editorText().find(marked), std::string::npos) << "a line no longer listed is not marked again";
  EXPECT_EQ(pending(), "Y - Next\r\n");

  // Typing ends the plug-in's history: Ctrl+Z is the editor's own, and no later Ctrl+Z reaches
  // back past the typing.
  std::string before = editorText();
  SendMessageW(cueEditor(), EM_SETSEL, 0, 0);
  SendMessageW(cueEditor(), EM_REPLACESEL, TRUE, (LPARAM)L"REM typed\r\n");
  player->pump();
  ctrlKey('Z');
  EXPECT_EQ(editorText(), before);
  setEditorByHand("REM typed\r\n" + before);
  mark();  // marks Y
  ctrlKey('Z');
  ctrlKey('Z');
  EXPECT_EQ(editorText().find("REM typed"), 0u) << editorText();
}

TEST_F(TracklistTest, EachLineIsShownAsReadAndMarkedOnceWhateverTheKeysDo) {
  start();
  player->playState = HOST_STATE_PLAYING;
  paste("01 Jay-Z - 99 Problems\r\nB2 Artist \xE2\x88\x92 Title\r\n\xE2\x80\xA2 Interlude\r\nD - Four\r\n");
  std::vector<std::string> rows;
  HWND reading = GetDlgItem(tracklist(), IDC_TRACKLIST_READING);
  for (LRESULT i = 0; i < SendMessageW(reading, LB_GETCOUNT, 0, 0); ++i) {
    wchar_t row[600] = L"";
    SendMessageW(reading, LB_GETTEXT, (WPARAM)i, (LPARAM)row);
    rows.push_back(narrow(row));
  }
  EXPECT_EQ(rows, std::vector<std::string>({"Jay-Z\t99 Problems", "Artist\tTitle", "(Artist)\tInterlude", "D\tFour"}))
      << "each line as it will be read, performer and title apart, before it is marked";

  // Three marks taken back, the list's first line corrected, then Ctrl+Y: the marks of lines that
  // no longer lead the list are not done again, and each track is marked once.
  for (int minute : {1, 2, 3}) {
    player->positionMs = 60000 * minute;
    mark();
  }
  for (int i = 0; i < 3; ++i) ctrlKey('Z');
  EXPECT_EQ(tracksOf(editorText()), "");
  paste("01 Jay-Z - 100 Problems\r\nB2 Artist \xE2\x88\x92 Title\r\n\xE2\x80\xA2 Interlude\r\nD - Four\r\n");
  for (int i = 0; i < 3; ++i) ctrlKey('Y');
  EXPECT_EQ(tracksOf(editorText()), "");

  // A key held down (0.8 s: its repeats come 40 ms apart) marks one line; released and pressed
  // again, the next.
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F13;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &keys[0], sizeof(INPUT));
  ASSERT_TRUE(pumpUntil([] { return GetAsyncKeyState(VK_F13) < 0; })) << "the key is down";
  for (int repeat = 0; repeat < 6; ++repeat) {
    player->positionMs = 60000 + repeat * 40;
    mark();
  }
  SendInput(1, &keys[1], sizeof(INPUT));
  ASSERT_TRUE(pumpUntil([] { return GetAsyncKeyState(VK_F13) >= 0; })) << "the key is up";
  for (int minute : {2, 3}) {
    player->positionMs = 60000 * minute;
    mark();
  }
  EXPECT_EQ(tracksOf(editorText(), true), "01:Jay-Z|100 Problems@01:00:00 02:Artist|Title@02:00:00 "
                                          "03:Artist|Interlude@03:00:00 ");
  EXPECT_EQ(pending(), "D - Four\r\n");
}

TEST_F(TracklistTest, AtLeastAHundredStepsBack) {
  start();
  std::vector<std::string> sheets;
  for (int i = 0; i < 110; ++i) {
    sheets.push_back(editorText());
    player->positionMs = 1000 * i;
    commitEntry("T", "P");
  }
  for (int i = 0; i < 100; ++i) ctrlKey('Z');
  EXPECT_EQ(editorText(), sheets[10]);
}
