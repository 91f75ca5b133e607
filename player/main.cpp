// The stand-in player as a program: loads gen_lumo.dll, runs a short scripted marking session
// and prints the Cue window's sheet.
#include <cstdio>
#include <string>

#include "standInPlayer.h"

namespace {

const int kCueEditorId = 1029;
const int kInfoTitleId = 1035;
const int kInfoPerformerId = 1036;
const int kInfoOkId = 1037;

HWND findPluginWindow(const char* caption, int childId) {
  for (HWND w = FindWindowA("#32770", caption); w; w = FindWindowExA(nullptr, w, "#32770", caption))
    if (GetDlgItem(w, childId)) return w;
  return nullptr;
}

void markTrack(StandInPlayer& player, int positionMs, const char* title, const char* performer) {
  player.positionMs = positionMs;
  player.pressHotkey("LUMOPluginDoActionOn");
  HWND info = findPluginWindow("LumoMarker", kInfoOkId);
  if (!info) return;
  SetDlgItemTextA(info, kInfoTitleId, title);
  SetDlgItemTextA(info, kInfoPerformerId, performer);
  SendMessageA(info, WM_COMMAND, MAKEWPARAM(kInfoOkId, BN_CLICKED), (LPARAM)GetDlgItem(info, kInfoOkId));
  player.pump();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dll = argc > 1 ? argv[1] : "gen_lumo.dll";
  StandInPlayer player;
  PlaylistEntry mix;
  mix.path = "C:\\mixes\\Night Drive.mp3";
  mix.title = "Night Drive";
  mix.fields["artist"] = "DJ Example";
  mix.fields["title"] = "Night Drive";
  player.playlist.push_back(mix);
  player.playState = HOST_STATE_PLAYING;

  if (!player.load(dll)) {
    fprintf(stderr, "cannot load %s\n", dll.c_str());
    return 1;
  }
  player.init();
  player.pump(700);  // the hot-key action is registered 500 ms after start-up
  if (player.hotkeys.empty()) {
    fprintf(stderr, "the plug-in registered no hot-key action\n");
    return 1;
  }

  markTrack(player, 0, "Opening", "Artist One");
  markTrack(player, 245120, "Second Wind", "Artist Two");
  markTrack(player, 3723450, "After the Hour", "Artist Three");

  HWND cue = findPluginWindow("LumoMarker", kCueEditorId);
  if (!cue) {
    fprintf(stderr, "no Cue window\n");
    return 1;
  }
  static char sheet[65536];
  GetDlgItemTextA(cue, kCueEditorId, sheet, (int)sizeof sheet);
  printf("%s\n", sheet);
  player.quit();
  player.unload();
  return 0;
}
