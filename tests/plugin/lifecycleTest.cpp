// Start-up, the version gate, the hot-key registration and shutdown of the real DLL.
#include <windows.h>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

WNDPROC hostProc(const StandInPlayer& player) { return windowProcOf(player.window()); }

}  // namespace

TEST_F(PluginTest, VersionBelowGateLeavesPluginInert) {
  player->version = 0x5000;
  start();
  EXPECT_STREQ(player->descriptor()->description, "LumoMarker v1.0 requires Winamp 5.1+");
  player->pump(700);
  EXPECT_EQ(player->events, Events({"version"}));
  EXPECT_TRUE(player->pages.empty());
  EXPECT_TRUE(player->hotkeys.empty());
  EXPECT_EQ(cueWindow(), nullptr);
  EXPECT_EQ(infoWindow(), nullptr);
  EXPECT_EQ(hostProc(*player), StandInPlayer::PlayerWndProc);

  player->config();
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].caption, "LUMO");
  EXPECT_NE(player->messageBoxes[0].text.find("LumoMarker v1.0"), std::string::npos);
  EXPECT_NE(player->messageBoxes[0].text.find(
                "This plug-in requires a version of Winamp greater than or equal to 5.1!"),
            std::string::npos);
  EXPECT_EQ(player->messageBoxes[0].owner, player->window());
  EXPECT_TRUE(player->shownPages.empty());

  stop();
  EXPECT_EQ(readFile(iniPath()), "<missing>");
}

TEST_F(PluginTest, VersionAtGateStartsInOrderAndRegistersHotkeyLater) {
  player->version = 0x5001;
  ASSERT_TRUE(player->load(dllPath));
  player->init();
  EXPECT_STREQ(player->descriptor()->description, "LumoMarker v1.0");
  EXPECT_EQ(player->events, Events({"version", "register-page LUMO"}));
  EXPECT_EQ(cueWindow(), nullptr) << "init leaves the windows until the player shows";
  EXPECT_NE(hostProc(*player), StandInPlayer::PlayerWndProc) << "capture is installed in init";
  // Once the player's loop runs: the windows, and the unsaved sheet of the current entry looked for.
  EXPECT_TRUE(pumpUntil([&] { return cueWindow() != nullptr; }));
  EXPECT_EQ(player->events, Events({"version", "register-page LUMO", "playlist-index", "entry-path-wide 0"}));
  EXPECT_TRUE(player->hotkeys.empty()) << "the hot key is registered only when timer 888 fires";

  ASSERT_NE(cueWindow(), nullptr);
  ASSERT_NE(infoWindow(), nullptr);
  EXPECT_FALSE(IsWindowVisible(cueWindow()));
  EXPECT_FALSE(IsWindowVisible(infoWindow()));
  EXPECT_NE(hostProc(*player), StandInPlayer::PlayerWndProc) << "capture is installed";

  ASSERT_TRUE(waitForHotkeys());
  player->pump(1200);  // a second tick would register the action twice
  EXPECT_EQ(player->events, Events({"version", "register-page LUMO", "playlist-index", "entry-path-wide 0",
                                     "named GenHotkeysAdd", "hotkey-add LUMO: ON", "hotkey-add LUMO: Show cue sheet"}));
  // The actions as the hot-key plug-in keeps them (by id) and runs them.
  ASSERT_EQ(player->hotkeys.size(), 2u);
  EXPECT_EQ(player->hotkeys[0].id, "LUMOPluginDoActionOn");
  EXPECT_EQ(player->hotkeys[1].id, "LUMOPluginDoActionShow");
  ASSERT_TRUE(player->pressHotkey("LUMOPluginDoActionOn"));
  player->pump();
  EXPECT_TRUE(IsWindowVisible(infoWindow())) << "the first action marks";
  closeInfo();
  ASSERT_TRUE(player->pressHotkey("LUMOPluginDoActionShow"));
  player->pump();
  EXPECT_TRUE(IsWindowVisible(cueWindow())) << "the second shows the Cue window";
}

TEST_F(PluginTest, NoHotkeyPluginMeansNoRegistrationAndNoHarm) {
  player->hotkeyCode = 0;  // the name still gets a code, which nothing listens on
  start();
  EXPECT_TRUE(pumpUntil([&] { return player->events.back().compare(0, 4, "ipc ") == 0; }))
      << player->events.back();
  EXPECT_TRUE(player->hotkeys.empty());
  player->capture(CAPTURE_MARK);
  EXPECT_TRUE(IsWindowVisible(infoWindow())) << "capture works without the hot-key plug-in";
}

TEST_F(PluginTest, PreferencesPageRecordAndConfig) {
  start();
  ASSERT_EQ(player->pages.size(), 1u);
  const PrefsPageRecord& page = player->pages[0];
  EXPECT_EQ(page.module, player->module());
  EXPECT_STREQ(page.name, "LUMO");

  player->config();
  EXPECT_EQ(player->shownPages, std::vector<std::string>({"record 0"}));
  ASSERT_NE(player->preferencesPage(), nullptr) << "the page is made from the record";
  EXPECT_NE(findDescendant(player->preferencesPage(), IDC_PREFS_TABS), nullptr);
  EXPECT_TRUE(player->messageBoxes.empty())
      << player->messageBoxes[0].caption << "|" << player->messageBoxes[0].text;
}

TEST_F(PluginTest, QuitRestoresPlayerWindowAndDestroysWindows) {
  player->unloadAtClose = true;  // an older player: quit while its window lives
  start();
  HWND cue = cueWindow();
  HWND info = infoWindow();
  stop();
  EXPECT_EQ(hostProc(*player), StandInPlayer::PlayerWndProc);
  EXPECT_FALSE(IsWindow(cue));
  EXPECT_FALSE(IsWindow(info));
  EXPECT_EQ(player->version, (int)SendMessageA(player->window(), HOST_IPC, 0, HOST_VERSION));
}

TEST_F(PluginTest, QuitBeforeTimerFiredLeavesNothingToRun) {
  for (bool unloadAtClose : {false, true}) {
    SCOPED_TRACE(unloadAtClose ? "quit, then FreeLibrary" : "window destroyed, then quit");
    player->unloadAtClose = unloadAtClose;
    start();
    stop();
    size_t before = player->events.size();
    player->pump(800);  // a timer 888 left behind would call into the unloaded DLL here
    EXPECT_TRUE(player->hotkeys.empty());
    EXPECT_EQ(player->events.size(), before);
  }
}

TEST_F(PluginTest, PlayerClosedBeforeItShowedKeepsTheCopyAndLeavesNothingToRun) {
  start();
  commitEntry("Unsaved", "P");
  stop();
  std::string copy = readFile(folder + "\\lumo_unsaved.cue");
  ASSERT_NE(copy.find("Unsaved"), std::string::npos);
  for (bool unloadAtClose : {false, true}) {
    SCOPED_TRACE(unloadAtClose ? "quit, then FreeLibrary" : "window destroyed, then quit");
    player->unloadAtClose = unloadAtClose;
    start(false, false);
    stop();
    size_t before = player->events.size();
    player->pump(100);  // a timer left behind would call into the plug-in here
    EXPECT_EQ(player->events.size(), before);
    EXPECT_EQ(cueWindow(), nullptr);
    EXPECT_EQ(readFile(folder + "\\lumo_unsaved.cue"), copy) << "the copy of the last run stays as it was";
  }
  player->unloadAtClose = false;
  start();
  EXPECT_NE(editorText().find("Unsaved"), std::string::npos);
}

TEST_F(PluginTest, DisabledInSettingsLeavesPlayerWindowAlone) {
  writeFile(iniPath(), "[LUMO]\r\nenabled=0\r\n");
  start(true);  // no registration may come between the events compared below
  EXPECT_EQ(hostProc(*player), StandInPlayer::PlayerWndProc);
  ASSERT_NE(cueWindow(), nullptr);

  size_t first = player->events.size();
  mark();
  EXPECT_FALSE(IsWindowVisible(infoWindow()));
  EXPECT_EQ(eventsFrom(*player, first), Events({"capture 1"}));

  stop();
  EXPECT_EQ(hostProc(*player), StandInPlayer::PlayerWndProc);
  EXPECT_NE(readFile(iniPath()).find("enabled=0\r\n"), std::string::npos);
}

TEST_F(PluginTest, WindowsStandSideBySideAndWhereTheUserLeftThem) {
  auto rectOf = [](HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
  };
  auto tracklistWindow = [] { return findPluginDialog(IDC_TRACKLIST_EDITOR); };
  start();
  RECT cue = rectOf(cueWindow()), list = rectOf(tracklistWindow()), info = rectOf(infoWindow());
  // The test's screen, 1024 pixels wide, may be too narrow for the Cue window and the others
  // side by side: the others cover the Cue window's right edge only, by what the screen lacks,
  // and not each other.
  RECT shared;
  EXPECT_FALSE(IntersectRect(&shared, &list, &info));
  for (const RECT& other : {list, info}) {
    IntersectRect(&shared, &cue, &other);
    const long kGap = 8;  // between two windows side by side
    long lacks = (cue.right - cue.left) + kGap + (other.right - other.left) - GetSystemMetrics(SM_CXSCREEN);
    EXPECT_LE(shared.right - shared.left, lacks > 0 ? lacks : 0) << "at most what the screen lacks";
  }

  // Moved and resized by the user: there again at the next starts, also after a start that left
  // them alone; the Info window keeps its size. The Cue window, never moved, is laid out anew.
  SetWindowPos(tracklistWindow(), nullptr, 100, 120, 300, 250, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(infoWindow(), nullptr, 200, 220, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  stop();
  EXPECT_NE(readFile(iniPath()).find("tracklistwindow=100,120,300,250\r\n"), std::string::npos) << readFile(iniPath());
  EXPECT_EQ(readFile(iniPath()).find("cuewindow="), std::string::npos);
  for (int restart = 0; restart < 2; ++restart) {
    SCOPED_TRACE(restart);
    start();
    RECT movedList = {100, 120, 400, 370};
    RECT movedInfo = {200, 220, 200 + info.right - info.left, 220 + info.bottom - info.top};
    RECT nowList = rectOf(tracklistWindow()), nowInfo = rectOf(infoWindow()), nowCue = rectOf(cueWindow());
    EXPECT_TRUE(EqualRect(&nowList, &movedList));
    EXPECT_TRUE(EqualRect(&nowInfo, &movedInfo));
    EXPECT_TRUE(EqualRect(&nowCue, &cue));
    stop();
  }
  // A place that no screen shows any more is laid out anew.
  writeFile(iniPath(), "[LUMO]\r\ntracklistwindow=5000,5000,300,250\r\n");
  start();
  RECT again = rectOf(tracklistWindow());
  EXPECT_TRUE(EqualRect(&again, &list));
}
