// The capture cycle through the real DLL: marks, commits, cancels, Reset, the commands sent to
// the player in each play state, the editor's text and the procedure chain.
#include <windows.h>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;


const char kHeader[] =
    "PERFORMER \"The Band\"\r\nTITLE \"Live 2004\"\r\nFILE \"set1.mp3\" MP3";

std::string trackEntry(int number, const std::string& title, const std::string& performer,
                       const std::string& index) {
  char n[16];
  snprintf(n, sizeof n, "%02d", number);
  return std::string("TRACK ") + n + " AUDIO\r\n    TITLE \"" + title + "\"\r\n    PERFORMER \"" +
         performer + "\"\r\n    INDEX 01 " + index + "\r\n";
}

Events commands(const Events& events) {
  Events out;
  for (const std::string& e : events)
    if (e.compare(0, 4, "cmd ") == 0) out.push_back(e);
  return out;
}

// A procedure that another plug-in puts in front of ours.
WNDPROC gOtherSaved = nullptr;
int gOtherCalls = 0;
LRESULT CALLBACK otherSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++gOtherCalls;
  return CallWindowProcW(gOtherSaved, window, message, wParam, lParam);
}

}  // namespace

TEST_F(PluginTest, FirstEntryWritesHeaderLaterEntriesDoNot) {
  start();
  player->playState = HOST_STATE_PLAYING;
  player->positionMs = 61500;
  commitEntry("Intro", "Artist A");
  // The first track starts at the beginning of the file: INDEX 00 before a later INDEX 01.
  std::string first = std::string(kHeader) + "\r\n" + trackEntry(1, "Intro", "Artist A", "01:01:37");
  first.insert(first.rfind("    INDEX 01"), "    INDEX 00 00:00:00\r\n");
  EXPECT_EQ(editorText(), first);

  player->positionMs = 3723450;
  commitEntry("After the Hour", "Artist B");
  EXPECT_EQ(editorText(), first + trackEntry(2, "After the Hour", "Artist B", "62:03:33"));
  EXPECT_EQ(player->formatter.outstanding(), 0);
  EXPECT_EQ(player->formatter.emptyValues, 0);
}

TEST_F(PluginTest, ResetEmptiesSheetAndRestartsNumbering) {
  start();
  commitEntry("One", "P");
  commitEntry("Two", "P");
  resetSheet();
  EXPECT_EQ(editorText(), "");
  commitEntry("Again", "P");
  EXPECT_EQ(editorText(), std::string(kHeader) + "\r\n" + trackEntry(1, "Again", "P", "00:00:00"));
}

TEST_F(PluginTest, CommandsSentInEachPlayState) {
  start();
  struct Case {
    const char* name;
    int state;
    bool cancel;  // close the Info window instead of OK
    Events atMark;
    Events atEnd;
    int finalState;
  } cases[] = {
      {"playing, OK", HOST_STATE_PLAYING, false, {"cmd pause"}, {"cmd play"}, HOST_STATE_PLAYING},
      {"stopped, OK", HOST_STATE_STOPPED, false, {}, {"cmd play"}, HOST_STATE_PLAYING},
      {"paused, OK", HOST_STATE_PAUSED, false, {}, {"cmd play"}, HOST_STATE_PLAYING},
      {"playing, cancel", HOST_STATE_PLAYING, true, {"cmd pause"}, {"cmd play"}, HOST_STATE_PLAYING},
      {"stopped, cancel", HOST_STATE_STOPPED, true, {}, {}, HOST_STATE_STOPPED},
      {"paused, cancel", HOST_STATE_PAUSED, true, {}, {"cmd play"}, HOST_STATE_PLAYING},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player->playState = c.state;
    size_t first = player->events.size();
    mark();
    EXPECT_TRUE(IsWindowVisible(infoWindow()));
    EXPECT_EQ(commands(eventsFrom(*player, first)), c.atMark);
    first = player->events.size();
    if (c.cancel) {
      closeInfo();
    } else {
      typeInfo("T", "P");
      clickOk();
    }
    EXPECT_FALSE(IsWindowVisible(infoWindow()));
    EXPECT_EQ(commands(eventsFrom(*player, first)), c.atEnd);
    EXPECT_EQ(player->playState, c.finalState);
  }
}

TEST_F(PluginTest, UserResumedByHandBeforeOkOrCancelGetsNoCommand) {
  start();
  player->playState = HOST_STATE_PLAYING;
  mark();
  player->playState = HOST_STATE_PLAYING;  // resumed in the player
  size_t first = player->events.size();
  closeInfo();
  mark();
  player->playState = HOST_STATE_PLAYING;
  typeInfo("T", "P");
  size_t afterMark = player->events.size();
  clickOk();
  EXPECT_EQ(commands(eventsFrom(*player, afterMark)), Events());
  EXPECT_EQ(commands(eventsFrom(*player, first)), Events({"cmd pause"}));
}

TEST_F(PluginTest, SecondMarkKeepsPausedPlayerPaused) {
  start();
  player->playState = HOST_STATE_PLAYING;
  size_t first = player->events.size();
  mark();
  mark();
  EXPECT_EQ(commands(eventsFrom(*player, first)), Events({"cmd pause"}));
  EXPECT_EQ(player->playState, HOST_STATE_PAUSED);
}

TEST_F(PluginTest, OkShowsCueWindowClearsTitleAndKeepsPerformer) {
  start();
  EXPECT_FALSE(IsWindowVisible(cueWindow()));
  commitEntry("First", "Same Artist");
  EXPECT_TRUE(IsWindowVisible(cueWindow()));
  EXPECT_EQ(fieldText(infoWindow(), IDC_INFO_TITLE), "");
  EXPECT_EQ(fieldText(infoWindow(), IDC_INFO_PERFORMER), "Same Artist");

  mark();
  SetDlgItemTextA(infoWindow(), IDC_INFO_TITLE, "Second");
  clickOk();
  EXPECT_NE(editorText().find("TITLE \"Second\"\r\n    PERFORMER \"Same Artist\""), std::string::npos);
}

TEST_F(PluginTest, CancelKeepsTypedTextAndAppendsNothing) {
  start();
  mark();
  typeInfo("Half typed", "Someone");
  closeInfo();
  EXPECT_EQ(editorText(), "");
  mark();
  EXPECT_EQ(fieldText(infoWindow(), IDC_INFO_TITLE), "Half typed");
  EXPECT_EQ(fieldText(infoWindow(), IDC_INFO_PERFORMER), "Someone");
}

TEST_F(PluginTest, ClosingCueWindowOnlyHidesItUntilNextOk) {
  start();
  commitEntry("One", "P");
  SendMessageA(cueWindow(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(cueWindow()));
  mark();
  EXPECT_FALSE(IsWindowVisible(cueWindow()));
  clickOk();
  EXPECT_TRUE(IsWindowVisible(cueWindow()));
  EXPECT_NE(editorText().find("TRACK 02"), std::string::npos);
}

TEST_F(PluginTest, AppendKeepsUserTextAndSelection) {
  start();
  SetWindowTextA(cueEditor(), "my notes");
  SendMessageA(cueEditor(), EM_SETSEL, 3, 5);
  commitEntry("One", "P");
  DWORD start = 0, end = 0;
  SendMessageA(cueEditor(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 5u);
  EXPECT_EQ(editorText().compare(0, 10 + strlen(kHeader), std::string("my notes\r\n") + kHeader), 0)
      << "the notes keep a line of their own";

  int length = GetWindowTextLengthA(cueEditor());
  SendMessageA(cueEditor(), EM_SETSEL, (WPARAM)length, (LPARAM)length);
  commitEntry("Two", "P");
  SendMessageA(cueEditor(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, (DWORD)length) << "a caret at the end stays in front of the new text";
  EXPECT_EQ(end, (DWORD)length);
}

TEST_F(PluginTest, EditorKeepsFocusAndCaretWhileEntriesArrive) {
  start();
  commitEntry("One", "P");
  SetForegroundWindow(cueWindow());
  SetFocus(cueEditor());
  ASSERT_EQ(GetFocus(), cueEditor());
  SendMessageA(cueEditor(), EM_SETSEL, 4, 9);
  player->capture(CAPTURE_COMMIT);  // an entry arrives while the user works in the editor
  EXPECT_EQ(GetFocus(), cueEditor());
  DWORD start = 0, end = 0;
  SendMessageA(cueEditor(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 4u);
  EXPECT_EQ(end, 9u);
  EXPECT_TRUE(IsWindowVisible(cueEditor()));
  EXPECT_NE(editorText().find("TRACK 02"), std::string::npos);
}

TEST_F(PluginTest, EveryMessagePassesOnToPlayer) {
  start();
  player->playState = HOST_STATE_PLAYING;
  for (LPARAM action : {(LPARAM)0, (LPARAM)5, (LPARAM)-1}) {
    SCOPED_TRACE(action);
    size_t first = player->events.size();
    player->capture(action);
    EXPECT_EQ(eventsFrom(*player, first), Events({"capture " + std::to_string((long long)action)}));
  }
  size_t first = player->events.size();
  player->capture(CAPTURE_MARK);
  EXPECT_EQ(eventsFrom(*player, first),
            Events({"playstate", "cmd pause", "time 0", "playlist-index", "entry-path-wide 0", "service-manager",
                    "capture 1"}))
      << "the action runs first (the first mark asks for the player's decoders), then the message reaches the player";
  EXPECT_EQ(player->version, (int)SendMessageA(player->window(), HOST_IPC, 0, HOST_VERSION));
}

TEST_F(PluginTest, QuitUnderAnotherSubclassKeepsChainAndPinsModule) {
  player->unloadAtClose = true;  // an older player: quit while its window lives
  start();
  gOtherCalls = 0;
  gOtherSaved = (WNDPROC)SetWindowLongPtrW(player->window(), GWLP_WNDPROC, (LONG_PTR)otherSubclass);
  stop();
  EXPECT_EQ(windowProcOf(player->window()), otherSubclass)
      << "a procedure installed after ours is never cut out";
  EXPECT_NE(GetModuleHandleA(dllPath.c_str()), nullptr) << "the module stays pinned";

  size_t first = player->events.size();
  player->capture(CAPTURE_MARK);
  EXPECT_EQ(eventsFrom(*player, first), Events({"capture 1"})) << "after quit only passing on";
  EXPECT_EQ(player->version, (int)SendMessageA(player->window(), HOST_IPC, 0, HOST_VERSION));
  EXPECT_GT(gOtherCalls, 0);

  SetWindowLongPtrW(player->window(), GWLP_WNDPROC, (LONG_PTR)gOtherSaved);
  EXPECT_EQ(player->version, (int)SendMessageA(player->window(), HOST_IPC, 0, HOST_VERSION));
}
