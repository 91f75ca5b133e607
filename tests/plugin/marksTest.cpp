// Marks on the boundary: the time of the key press less the reaction time, time order kept,
// the sheet following its text, Listen and nudges in the Cue window, the Show action and the
// Info window's keys.
#include <windows.h>

#include <algorithm>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

int count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

Events jumps(const Events& events) {
  Events out;
  for (const std::string& e : events)
    if (e.compare(0, 5, "jump ") == 0 || e == "cmd play") out.push_back(e);
  return out;
}

class MarksTest : public PluginTest {
 protected:
  void markAt(int ms, const std::string& title) {
    player->playState = HOST_STATE_PLAYING;  // the player answers no position while stopped
    player->positionMs = ms;
    commitEntry(title, "P");
  }
  void button(int id, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    clickCue(id);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }
};

}  // namespace

TEST_F(MarksTest, TheMarkIsTheKeyPressLessTheReactionTime) {
  writeFile(iniPath(), "[LUMO]\r\nmarkoffset=200\r\n");
  start();
  player->playState = HOST_STATE_PLAYING;
  player->positionMs = 100;  // less than the reaction time
  commitEntry("Start", "P");
  player->positionMs = 61500;
  mark();
  player->positionMs = 62000;
  mark();  // pressed again while naming: the later press counts
  player->positionMs = 65000;  // Play pressed while naming: the position runs on
  typeInfo("Named slowly", "P");
  clickOk();
  EXPECT_EQ(tracksOf(editorText()), "01:Start@00:00:00 02:Named slowly@01:01:60 ");
}

TEST_F(MarksTest, EntriesGoInTimeOrderAndTheSheetFollowsItsText) {
  start();
  markAt(10000, "Ten");
  markAt(90000, "Ninety");
  SendMessageA(cueEditor(), EM_SETSEL, 5, 9);  // the user's selection in the header
  markAt(40000, "Forty");  // after seeking back
  EXPECT_EQ(tracksOf(editorText()), "01:Ten@00:10:00 02:Forty@00:40:00 03:Ninety@01:30:00 ");
  DWORD start = 0, end = 0;
  SendMessageA(cueEditor(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(5ul, 9ul)) << "the selection stays";
  EXPECT_EQ(count(editorText(), "PERFORMER \"The Band\""), 1) << "one header";
  EXPECT_NE(editorText().find("TRACK 01 AUDIO\r\n    TITLE \"Ten\"\r\n    PERFORMER \"P\"\r\n    INDEX 00 00:00:00\r\n"
                              "    INDEX 01 00:10:00"), std::string::npos) << "the first track starts the file";

  // Entry 02 deleted by hand: the next mark is numbered after what is there.
  std::string text = editorText();
  size_t two = text.find("\r\nTRACK 02");
  setEditorByHand(text.substr(0, two) + text.substr(text.find("\r\nTRACK 03")));
  markAt(120000, "Late");
  EXPECT_EQ(tracksOf(editorText()), "01:Ten@00:10:00 02:Ninety@01:30:00 03:Late@02:00:00 ");

  // A hand edit that breaks the structure: the entry goes at the end.
  text = editorText();
  setEditorByHand(text.substr(0, text.rfind("    INDEX 01")));
  markAt(5000, "Early");
  EXPECT_EQ(editorText().substr(editorText().size() - 23), "    INDEX 01 00:05:00\r\n");
  EXPECT_NE(editorText().find("TRACK 04 AUDIO\r\n    TITLE \"Early\""), std::string::npos);

  // An editor emptied by hand is a new sheet.
  setEditorByHand("");
  markAt(0, "Again");
  EXPECT_EQ(editorText().compare(0, 20, "PERFORMER \"The Band\""), 0);
  EXPECT_EQ(tracksOf(editorText()), "01:Again@00:00:00 ");
}

TEST_F(MarksTest, ListenPlaysFromTheLeadBeforeTheCaretsMark) {
  writeFile(iniPath(), "[LUMO]\r\nlistenlead=3\r\n");
  start();
  markAt(1000, "One");
  markAt(125000, "Two");
  struct {
    const char* name;
    int state;
    const char* caretOn;
    Events expected;
  } cases[] = {
      {"stopped", HOST_STATE_STOPPED, "Two", {"cmd play", "jump 122000"}},
      {"playing", HOST_STATE_PLAYING, "Two", {"jump 122000"}},
      {"paused", HOST_STATE_PAUSED, "Two", {"cmd play", "jump 122000"}},
      {"lead before the start", HOST_STATE_PLAYING, "One", {"jump 0"}},
      {"caret in the header", HOST_STATE_PLAYING, "TITLE \"Live", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    player->playState = c.state;
    caretOn(c.caretOn);
    size_t first = player->events.size();
    clickCue(IDC_CUE_LISTEN);
    EXPECT_EQ(jumps(eventsFrom(*player, first)), c.expected);
    player->playState = c.state;
    first = player->events.size();
    key(WM_KEYDOWN, VK_F5, false);
    EXPECT_EQ(jumps(eventsFrom(*player, first)), c.expected) << "F5 in the editor";
  }
}

TEST_F(MarksTest, NudgesByFrameOrSecondWithKeysAndButtonsUndoable) {
  start(true);  // no registration may come between the events compared at the end
  markAt(0, "One");
  markAt(125000, "Two");
  player->playState = HOST_STATE_PLAYING;
  caretOn("TITLE \"Two");
  LRESULT line = SendMessageA(cueEditor(), EM_LINEFROMCHAR, (WPARAM)-1, 0);
  struct {
    const char* name;
    UINT message;  // 0: a button
    WPARAM what;
    bool shift;
    const char* time;
  } steps[] = {
      {"Alt+Left", WM_SYSKEYDOWN, VK_LEFT, false, "02:04:74"},
      {"Alt+Shift+Left", WM_SYSKEYDOWN, VK_LEFT, true, "02:03:74"},
      {"Alt+Right", WM_SYSKEYDOWN, VK_RIGHT, false, "02:04:00"},
      {"Alt+Shift+Right", WM_SYSKEYDOWN, VK_RIGHT, true, "02:05:00"},
      {"Earlier", 0, IDC_CUE_EARLIER, false, "02:04:74"},
      {"Earlier with Shift", 0, IDC_CUE_EARLIER, true, "02:03:74"},
      {"Later with Shift", 0, IDC_CUE_LATER, true, "02:04:74"},
      {"Later", 0, IDC_CUE_LATER, false, "02:05:00"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    std::string before = editorText();
    size_t first = player->events.size();
    if (s.message) key(s.message, s.what, s.shift);
    else button((int)s.what, s.shift);
    EXPECT_EQ(tracksOf(editorText()), std::string("01:One@00:00:00 02:Two@") + s.time + " ");
    EXPECT_EQ(editorText().size(), before.size()) << "one time rewritten in place";
    EXPECT_EQ(SendMessageA(cueEditor(), EM_LINEFROMCHAR, (WPARAM)-1, 0), line) << "the caret stays on its line";
    Events heard = jumps(eventsFrom(*player, first));
    EXPECT_EQ(heard.size(), 1u) << "then it listens";
  }
  key(WM_KEYDOWN, 'Z', false, true);  // Ctrl+Z takes the last move back
  EXPECT_EQ(tracksOf(editorText()), "01:One@00:00:00 02:Two@02:04:74 ");

  // The first track: INDEX 00 comes with a start past 00:00:00 and goes when it comes back;
  // a caret in the INDEX 01 line stays in it.
  caretOn("INDEX 01 00:00:00");
  key(WM_SYSKEYDOWN, VK_RIGHT, false);
  EXPECT_NE(editorText().find("INDEX 00 00:00:00\r\n    INDEX 01 00:00:01"), std::string::npos);
  DWORD caret = 0;
  SendMessageA(cueEditor(), EM_GETSEL, 0, (LPARAM)&caret);
  size_t lineStart = editorText().rfind('\n', caret) + 1;
  EXPECT_EQ(editorText().compare(lineStart, 12, "    INDEX 01"), 0) << "the caret's line";
  key(WM_SYSKEYDOWN, VK_LEFT, true);
  EXPECT_EQ(editorText().find("INDEX 00"), std::string::npos);
  EXPECT_NE(editorText().find("INDEX 01 00:00:00"), std::string::npos) << "never below the start";

  // No mark: nothing at all.
  caretOn("TITLE \"Live");
  std::string before = editorText();
  size_t first = player->events.size();
  key(WM_SYSKEYDOWN, VK_RIGHT, false);
  clickCue(IDC_CUE_LATER);
  EXPECT_EQ(editorText(), before);
  EXPECT_EQ(eventsFrom(*player, first), Events());
  EXPECT_TRUE(player->messageBoxes.empty());
}

TEST_F(MarksTest, ShowCueSheetFromTheHotKeyAndTheGeneralPage) {
  start(true);
  commitEntry("One", "P");
  SendMessageA(cueWindow(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindowVisible(cueWindow()));
  ASSERT_TRUE(player->pressHotkey("LUMOPluginDoActionShow"));
  player->pump();
  EXPECT_TRUE(IsWindowVisible(cueWindow()));
  SendMessageA(cueWindow(), WM_CLOSE, 0, 0);
  player->config();
  HWND show = findDescendant(player->preferencesPage(), IDC_GENERAL_SHOW_CUE);
  ASSERT_NE(show, nullptr);
  SendMessageA(show, BM_CLICK, 0, 0);
  player->pump();
  EXPECT_TRUE(IsWindowVisible(cueWindow()));
  player->closePreferences();
}

TEST_F(MarksTest, InfoWindowKeysWithAndWithoutThePlayersDialogKeys) {
  start();
  for (bool routed : {true, false}) {
    SCOPED_TRACE(routed ? "the player routes keys through IsDialogMessage" : "it does not");
    player->pluginDialogKeys = routed;
    HWND info = infoWindow();
    HWND title = GetDlgItem(info, IDC_INFO_TITLE);
    HWND performer = GetDlgItem(info, IDC_INFO_PERFORMER);
    HWND ok = GetDlgItem(info, IDC_INFO_OK);
    for (HWND field : {title, performer}) {
      int entries = count(editorText(), "TRACK ");
      mark();
      typeInfo("By Enter", "P");
      PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
      player->pump();
      EXPECT_EQ(count(editorText(), "TRACK "), entries + 1) << "Enter is OK";
      EXPECT_FALSE(IsWindowVisible(info));
      player->playState = HOST_STATE_PLAYING;
      mark();
      PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
      player->pump();
      EXPECT_FALSE(IsWindowVisible(info)) << "Escape closes";
      EXPECT_EQ(count(editorText(), "TRACK "), entries + 1);
      EXPECT_EQ(player->playState, HOST_STATE_PLAYING) << "and cancels the mark";
    }
    mark();
    SetFocus(title);
    HWND order[] = {performer, ok, title};
    for (HWND next : order) {
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
      player->pump();
      EXPECT_EQ(GetFocus(), next);
    }
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    player->pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), ok) << "Shift+Tab goes back";
    closeInfo();
  }
}

TEST_F(MarksTest, ListenAndNudgesActOnlyOnTheSheetsOwnFileAndStopAtItsEnd) {
  PlaylistEntry other;
  other.path = "D:\\Music\\other.mp3";
  player->playlist.push_back(other);
  player->lengthSeconds = 130;
  start();
  markAt(0, "One");
  markAt(125000, "Two");
  player->playState = HOST_STATE_PLAYING;
  caretOn("TITLE \"Two");

  // The playlist moved on: nothing is heard or moved, and the user is told what to play.
  player->current = 1;
  std::string before = editorText();
  size_t first = player->events.size();
  clickCue(IDC_CUE_LISTEN);
  key(WM_SYSKEYDOWN, VK_RIGHT, false);
  clickCue(IDC_CUE_EARLIER);
  EXPECT_EQ(editorText(), before);
  EXPECT_EQ(jumps(eventsFrom(*player, first)), Events());
  ASSERT_EQ(player->messageBoxes.size(), 3u);
  EXPECT_EQ(player->messageBoxes[0].text, "Play set1.mp3 to listen to this mark.");

  // Back on the sheet's file, whose length the player knows: a mark stops at its end.
  player->current = 0;
  for (int i = 0; i < 7; ++i) button(IDC_CUE_LATER, true);
  EXPECT_EQ(tracksOf(editorText()), "01:One@00:00:00 02:Two@02:10:00 ");
}

TEST_F(MarksTest, TheInfoWindowComesToTheFrontReadyForTheTitle) {
  start();
  HWND info = infoWindow();
  HWND title = GetDlgItem(info, IDC_INFO_TITLE);
  HWND performer = GetDlgItem(info, IDC_INFO_PERFORMER);
  // Another program is in front when the hot key comes.
  HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  mark();
  EXPECT_EQ(GetForegroundWindow(), info);
  EXPECT_EQ(GetFocus(), title);
  // The performer typed last: the next mark still starts in the title field.
  SetFocus(performer);
  SetWindowTextA(performer, "P");
  clickOk();
  SetForegroundWindow(other);
  mark();
  EXPECT_EQ(GetFocus(), title);
  // Escape keeps a wrong title; the next mark selects it, so typing replaces it.
  for (char c : std::string("Wrong")) SendMessageA(title, WM_CHAR, (WPARAM)c, 0);
  closeInfo();
  mark();
  for (char c : std::string("Right")) SendMessageA(GetFocus(), WM_CHAR, (WPARAM)c, 0);
  EXPECT_EQ(fieldText(info, IDC_INFO_TITLE), "Right");
  closeInfo();
  DestroyWindow(other);
}
