// Long runs inside one player process: a thousand capture cycles and forty plug-in lifetimes,
// after which nothing of the plug-in may remain. With LUMO_LONG_SOAK=1 in the environment
// (scripts/soak.sh) the same tests run 10,000 cycles and 200 lifetimes.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

// The default count, or the long one when LUMO_LONG_SOAK is set to 1.
int soakCount(int normal, int longRun) {
  char value[8] = "";
  GetEnvironmentVariableA("LUMO_LONG_SOAK", value, (DWORD)sizeof value);
  return strcmp(value, "1") == 0 ? longRun : normal;
}

const char kHeader[] = "PERFORMER \"The Band\"\r\nTITLE \"Live 2004\"\r\nFILE \"set1.mp3\" MP3";

std::string expectedEntry(int number, int cycle, int positionMs) {
  char text[256];
  int frames = (int)((long long)positionMs * 75 / 1000);
  snprintf(text, sizeof text,
           "TRACK %02d AUDIO\r\n    TITLE \"Track %d\"\r\n    PERFORMER \"Performer %d\"\r\n%s"
           "    INDEX 01 %02d:%02d:%02d",
           number, cycle, cycle % 7, number == 1 && frames > 0 ? "    INDEX 00 00:00:00\r\n" : "",
           frames / 4500, frames / 75 % 60, frames % 75);
  return text;
}

// Other plug-ins that subclass the player's window after us, each with its own saved procedure.
WNDPROC gOtherSaved[4] = {};
template <int N>
LRESULT CALLBACK otherPlugin(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcW(gOtherSaved[N], w, m, wp, lp);
}
const WNDPROC kOtherPlugins[4] = {otherPlugin<0>, otherPlugin<1>, otherPlugin<2>, otherPlugin<3>};

}  // namespace

TEST_F(PluginTest, CaptureCyclesLeaveExactSheetAndNoLeaks) {
  const int kCycles = soakCount(1000, 10000);
  const int kResetEvery = 500;
  start();
  HWND info = infoWindow();
  HWND ok = GetDlgItem(info, IDC_INFO_OK);
  commitEntry("warm", "up");
  resetSheet();
  DWORD userBefore = 0;
  DWORD gdiBefore = 0;

  std::string expected;
  DWORD started = GetTickCount();
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    int number = (cycle - 1) % kResetEvery + 1;
    if (number == 1 && cycle > 1) {
      resetSheet();
      expected.clear();
    }
    if (cycle == kResetEvery + 1) {  // counted from the first Reset on: all caches are warm
      player->pump();
      userBefore = (DWORD)liveWindows();
      gdiBefore = (DWORD)liveGdiObjects();
    }
    player->positionMs = cycle * 997;
    player->playState = HOST_STATE_PLAYING;
    player->capture(CAPTURE_MARK);
    SetDlgItemTextA(info, IDC_INFO_TITLE, ("Track " + std::to_string(cycle)).c_str());
    SetDlgItemTextA(info, IDC_INFO_PERFORMER, ("Performer " + std::to_string(cycle % 7)).c_str());
    SendMessageA(info, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)ok);
    expected += (number == 1 ? std::string(kHeader) : std::string()) + "\r\n" +
                expectedEntry(number, cycle, cycle * 997);
    if (cycle % 100 == 0) player->pump();
    ASSERT_EQ(player->playState, HOST_STATE_PLAYING) << cycle;
  }
  player->pump();
  printf("soak: %d cycles in %lu ms\n", kCycles, GetTickCount() - started);

  std::string sheet = editorText();
  size_t differ = 0;
  while (differ < sheet.size() && differ < expected.size() && sheet[differ] == expected[differ]) ++differ;
  expected += "\r\n";  // the last entry ends its line
  EXPECT_TRUE(sheet == expected) << "sheet of " << sheet.size() << " bytes, expected " << expected.size()
                                 << ", first difference at " << differ;
  EXPECT_EQ(player->formatter.outstanding(), 0);
  EXPECT_EQ(player->formatter.emptyValues, 0);
  EXPECT_EQ((DWORD)liveWindows(), userBefore);
  EXPECT_EQ((DWORD)liveGdiObjects(), gdiBefore);
}

TEST_F(PluginTest, LifetimesLeaveNothingBehind) {
  const int kRounds = soakCount(40, 200);
  const int kOtherEvery = kRounds / 4;  // rounds in which another procedure goes on top of ours
  // The first rounds create what the process keeps anyway (fonts, classes, scroll bars): one
  // commits a sheet taller than the editor, the next shows it again as it was left unsaved.
  start();
  for (int i = 0; i < 12; ++i) commitEntry("Warm", "Up");
  player->config();
  player->closePreferences();
  stop();
  start();
  stop();
  // An older player's order (quit while the window lives, then FreeLibrary): what must be gone
  // after unload can be seen to be gone.
  player->unloadAtClose = true;
  int windowsBefore = liveWindows();
  DWORD gdiBefore = (DWORD)liveGdiObjects();
  DWORD userBefore = (DWORD)liveWindows();
  std::string original = dllPath;
  int pinned = 0;

  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    bool waitForHotkey = round % 10 == 0;  // the others quit before timer 888 fired
    bool otherOnTop = round % kOtherEvery == kOtherEvery / 2;
    if (otherOnTop) {
      // A module that stays pinned is a copy of its own, so later rounds load fresh code.
      dllPath = folder + "\\gen_lumo_pinned" + std::to_string(round) + ".dll";
      ASSERT_TRUE(CopyFileA(original.c_str(), dllPath.c_str(), FALSE));
    } else {
      dllPath = original;
    }
    size_t hotkeysBefore = player->hotkeys.size();
    WNDPROC procBefore = windowProcOf(player->window());
    start();
    HMODULE module = player->module();
    if (waitForHotkey) {  // the registration 500 ms after start-up
      EXPECT_TRUE(waitForHotkeys());
      EXPECT_EQ(player->hotkeys.size(), hotkeysBefore + 2);
    }
    if (round % 3 == 0) commitEntry("Round " + std::to_string(round), "Loop");
    if (round % 4 == 0) {
      player->config();
      player->closePreferences();
    }
    if (otherOnTop) {
      gOtherSaved[pinned] = (WNDPROC)SetWindowLongPtrW(player->window(), GWLP_WNDPROC,
                                                       (LONG_PTR)kOtherPlugins[pinned]);
      ++pinned;
    }
    stop();

    WNDCLASSA wc;
    ASSERT_FALSE(GetClassInfoA(module, "QevWebLink", &wc)) << "class left registered";
    ASSERT_EQ(liveWindows(), windowsBefore) << "window left behind";
    EXPECT_EQ(GetModuleHandleA(dllPath.c_str()) != nullptr, otherOnTop) << "only a chained module stays";
    if (!otherOnTop) {
      EXPECT_EQ(windowProcOf(player->window()), procBefore)
          << "the player's window procedure is back";
    }
    player->pump();
    if (round == 0) gdiBefore = (DWORD)liveGdiObjects();  // a restored sheet's first showing
  }
  player->pump(600);  // a timer or hook left behind would now run unloaded code
  PostMessageA(player->window(), WM_MOUSEMOVE, 0, 0);
  player->pump(50);
  EXPECT_EQ(player->version, (int)SendMessageA(player->window(), HOST_IPC, 0, HOST_VERSION))
      << "the player's window keeps working";
  size_t before = player->events.size();
  player->capture(CAPTURE_MARK);
  EXPECT_EQ(eventsFrom(*player, before), std::vector<std::string>({"capture 1"}));
  EXPECT_EQ((DWORD)liveGdiObjects(), gdiBefore);
  EXPECT_EQ((DWORD)liveWindows(), userBefore);
  EXPECT_EQ(player->formatter.outstanding(), 0);
  EXPECT_EQ(pinned, 4);
  dllPath = original;
}
