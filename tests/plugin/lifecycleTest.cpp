// Start-up, the version gate, the hot-key registration and shutdown of the real DLL.
#include <windows.h>

#include "pluginFixture.h"

namespace {

using Events = std::vector<std::string>;

WNDPROC hostProc(const StandInPlayer& player) {
  return (WNDPROC)GetWindowLongPtrA(player.window(), GWLP_WNDPROC);
}

}  // namespace

TEST_F(PluginTest, VersionBelowGateLeavesPluginInert) {
  player->version = 0x5000;
  start(false);
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
  start(false);
  EXPECT_STREQ(player->descriptor()->description, "LumoMarker v1.0");
  EXPECT_EQ(player->events, Events({"version", "register-page LUMO"}));
  EXPECT_TRUE(player->hotkeys.empty()) << "the hot key is registered only when timer 888 fires";

  ASSERT_NE(cueWindow(), nullptr);
  ASSERT_NE(infoWindow(), nullptr);
  EXPECT_FALSE(IsWindowVisible(cueWindow()));
  EXPECT_FALSE(IsWindowVisible(infoWindow()));
  EXPECT_NE(hostProc(*player), StandInPlayer::PlayerWndProc) << "capture is installed";

  for (int i = 0; i < 200 && player->hotkeys.empty(); ++i) player->pump(10);
  player->pump(1200);  // a second tick would register the action twice
  EXPECT_EQ(player->events, Events({"version", "register-page LUMO", "named GenHotkeysAdd",
                                     "hotkey-add LUMO: ON", "hotkey-add LUMO: Show cue sheet"}));
}

TEST_F(PluginTest, HotkeyRegistrationRecords) {
  start();
  ASSERT_EQ(player->hotkeys.size(), 2u);
  struct {
    const char* name;
    const char* id;
    LPARAM action;
  } expected[] = {{"LUMO: ON", "LUMOPluginDoActionOn", 1}, {"LUMO: Show cue sheet", "LUMOPluginDoActionShow", 5}};
  for (size_t i = 0; i < 2; ++i) {
    const HotkeyAction& action = player->hotkeys[i];
    EXPECT_EQ(action.name, expected[i].name);
    EXPECT_EQ(action.id, expected[i].id);
    EXPECT_EQ(action.flags, 4);
    EXPECT_EQ(action.message, 1912u);
    EXPECT_EQ(action.wParam, 0u);
    EXPECT_EQ(action.lParam, expected[i].action);
    EXPECT_EQ(action.window, nullptr);
  }
}

TEST_F(PluginTest, NoHotkeyPluginMeansNoRegistrationAndNoHarm) {
  player->hotkeyCode = 0;
  start(false);
  player->pump(700);
  EXPECT_TRUE(player->hotkeys.empty());
  EXPECT_EQ(player->events.back(), "named GenHotkeysAdd");
  player->capture(CAPTURE_MARK);
  EXPECT_TRUE(IsWindowVisible(infoWindow())) << "capture works without the hot-key plug-in";
}

TEST_F(PluginTest, PreferencesPageRecordAndConfig) {
  start();
  ASSERT_EQ(player->pages.size(), 1u);
  const PrefsPageRecord& page = player->pages[0];
  EXPECT_EQ(page.module, player->module());
  EXPECT_EQ(page.dialogId, 103);
  EXPECT_STREQ(page.name, "LUMO");
  EXPECT_NE(page.pageProc, nullptr);
  EXPECT_EQ(page.reserved1, 0);
  EXPECT_EQ(page.reserved2, 0);

  player->config();
  EXPECT_EQ(player->shownPages, std::vector<int>({page.pageId}));
  EXPECT_TRUE(player->messageBoxes.empty())
      << player->messageBoxes[0].caption << "|" << player->messageBoxes[0].text;
}

TEST_F(PluginTest, QuitRestoresPlayerWindowAndDestroysWindows) {
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
  start(false);
  stop();
  size_t before = player->events.size();
  player->pump(800);  // a timer 888 left behind would call into the unloaded DLL here
  EXPECT_TRUE(player->hotkeys.empty());
  EXPECT_EQ(player->events.size(), before);
}

TEST_F(PluginTest, DisabledInSettingsLeavesPlayerWindowAlone) {
  writeFile(iniPath(), "[LUMO]\r\nenabled=0\r\n");
  start();
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

TEST_F(PluginTest, RepeatedLoadInitQuitUnloadLeaksNoWindow) {
  // The first rounds create what the process keeps anyway (fonts, classes, scroll bars): one
  // commits a sheet taller than the editor, the next shows it again as it was left unsaved.
  start();
  for (int i = 0; i < 12; ++i) commitEntry("Warm", "Up");
  stop();
  start();
  stop();
  int windowsBefore = liveWindows();
  DWORD gdiBefore = (DWORD)liveGdiObjects();
  DWORD userBefore = (DWORD)liveWindows();
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    start(round % 2 == 0);  // odd rounds quit before timer 888 fires
    if (round % 4 == 0) commitEntry("Round", "Loop");
    stop();
    ASSERT_EQ(liveWindows(), windowsBefore);
    ASSERT_EQ(hostProc(*player), StandInPlayer::PlayerWndProc);
  }
  player->pump(700);
  EXPECT_EQ((DWORD)liveGdiObjects(), gdiBefore);
  EXPECT_EQ((DWORD)liveWindows(), userBefore);
  EXPECT_EQ(player->formatter.outstanding(), 0);
}
