// The stand-in player's controls; with reporting on, uiReport prints what the demo script waits for.
#include "playerUi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "uiReport.h"
#include "wideText.h"
#include "../res/resource.h"

namespace {

const WORD kFileLabel = 2001;
const WORD kPositionLabel = 2002;
const WORD kPlayButton = 2010;
const WORD kPauseButton = 2011;
const WORD kSeekField = 2020;
const WORD kGoButton = IDOK;  // Enter in the seek field
const WORD kMarkButton = 2030;
const WORD kPrefsButton = 2040;
const WORD kNextButton = 2050;
const UINT kTickMs = 100;
const int kMixSeconds = 75 * 60;  // the length of a file that is no WAV: a placeholder mix

struct UiState {
  StandInPlayer* player = nullptr;
  std::string hotkeyId;
  bool report = false;
};
UiState gUi;

HWND control(WORD id) { return GetDlgItem(gUi.player->window(), id); }

HWND makeControl(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, WORD id) {
  HWND window = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                gUi.player->window(), (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(window, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
  return window;
}

void showPosition() {
  int ms = gUi.player->position();
  const char* state = gUi.player->playState == HOST_STATE_PLAYING  ? "playing"
                      : gUi.player->playState == HOST_STATE_PAUSED ? "paused"
                                                                   : "stopped";
  char text[96];
  snprintf(text, sizeof text, "Position %d:%02d.%03d of %d:%02d  (%s)", ms / 60000, ms / 1000 % 60,
           ms % 1000, gUi.player->lengthSeconds / 60, gUi.player->lengthSeconds % 60, state);
  SetWindowTextA(control(kPositionLabel), text);
}

void onTick() {
  showPosition();
  if (gUi.report) reportChanges();
}

void onEvent(const std::string& event) {
  if (gUi.report) reportEvent(event);
}

void showFile() {
  const StandInPlayer& p = *gUi.player;
  std::string file = "Playing: " + (p.playlist.empty() ? std::string("(empty playlist)") : p.playlist[(size_t)p.current].path);
  SetWindowTextW(control(kFileLabel), widen(file).c_str());  // the path is UTF-8, any script
}

// The next entry of the playlist plays from its start, as the player's Next button does.
void playNext() {
  StandInPlayer& p = *gUi.player;
  if (p.playlist.empty()) return;
  int next = (p.current + 1) % (int)p.playlist.size();
  p.lengthSeconds = playingSeconds(p.playlist[(size_t)next].path);
  p.startEntry(next);
  showFile();
  if (gUi.report) sayEvent("next file " + p.playlist[(size_t)p.current].path);
}

void onCommand(WORD id, WORD) {
  StandInPlayer& p = *gUi.player;
  switch (id) {
    case kPlayButton:
      SendMessageA(p.window(), WM_COMMAND, HOST_CMD_PLAY, 0);
      break;
    case kPauseButton:
      SendMessageA(p.window(), WM_COMMAND, HOST_CMD_PAUSE, 0);
      break;
    case kGoButton: {
      char text[32];
      GetWindowTextA(control(kSeekField), text, sizeof text);
      int ms = parsePosition(text);
      if (ms >= 0) p.seek(ms);
      if (ms >= 0 && gUi.report) sayEvent("seek to " + std::to_string(ms));
      break;
    }
    case kNextButton:
      playNext();
      break;
    case kMarkButton:
      if (!p.pressHotkey(gUi.hotkeyId)) p.capture(CAPTURE_MARK);
      break;
    case kPrefsButton:
      p.openPreferences();
      break;
    default:
      break;
  }
  showPosition();
}

}  // namespace

std::string oneLine(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 3)) text.replace(at, 2, " / ");
  return text;
}

int playingSeconds(const std::string& path) {
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kMixSeconds;
  // The chunks of a canonical WAV: RIFF header, then "fmt " (its byte rate at offset 8 of the
  // body) and "data" (its size is the audio's).
  unsigned char header[12];
  DWORD got = 0;
  unsigned long long byteRate = 0, dataBytes = 0;
  bool wav = ReadFile(file, header, sizeof header, &got, nullptr) && got == sizeof header &&
             memcmp(header, "RIFF", 4) == 0 && memcmp(header + 8, "WAVE", 4) == 0;
  const int kChunksMax = 16;
  for (int i = 0; wav && !dataBytes && i < kChunksMax; ++i) {
    unsigned char chunk[8];
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr) || got != sizeof chunk) break;
    DWORD size = chunk[4] | chunk[5] << 8 | chunk[6] << 16 | (DWORD)chunk[7] << 24;
    if (memcmp(chunk, "data", 4) == 0) {
      dataBytes = size;
    } else {
      unsigned char body[16] = {};
      DWORD want = size < sizeof body ? size : (DWORD)sizeof body;
      if (!ReadFile(file, body, want, &got, nullptr) || got != want) break;
      if (memcmp(chunk, "fmt ", 4) == 0 && size >= 12) byteRate = body[8] | body[9] << 8 | body[10] << 16 | (DWORD)body[11] << 24;
      SetFilePointer(file, (LONG)(size + (size & 1) - want), nullptr, FILE_CURRENT);
    }
  }
  CloseHandle(file);
  return byteRate && dataBytes ? (int)(dataBytes / byteRate) : kMixSeconds;
}

int parsePosition(const char* text) {
  char* end = nullptr;
  long minutes = 0;
  double seconds = 0;
  const char* colon = text ? strchr(text, ':') : nullptr;
  if (colon) {
    minutes = strtol(text, &end, 10);
    if (end != colon || minutes < 0) return -1;
    seconds = strtod(colon + 1, &end);
  } else {
    seconds = strtod(text ? text : "", &end);
  }
  if (!end || *end || seconds < 0) return -1;
  return (int)(minutes * 60000 + (long)(seconds * 1000 + 0.5));
}

void buildPlayerUi(StandInPlayer& player, const char* hotkeyId, bool report) {
  gUi.player = &player;
  gUi.hotkeyId = hotkeyId;
  gUi.report = report;
  HWND main = player.window();
  // Right of where the plug-in's windows appear (the top-left corner), so none covers it.
  SetWindowPos(main, nullptr, 660, 10, 350, 160, SWP_NOZORDER);
  makeControl("STATIC", "", SS_LEFT | SS_PATHELLIPSIS, 10, 8, 320, 18, kFileLabel);
  showFile();
  makeControl("STATIC", "", SS_LEFT, 10, 28, 320, 18, kPositionLabel);
  makeControl("BUTTON", "Play", BS_PUSHBUTTON | WS_TABSTOP, 10, 52, 60, 24, kPlayButton);
  makeControl("BUTTON", "Pause", BS_PUSHBUTTON | WS_TABSTOP, 76, 52, 60, 24, kPauseButton);
  makeControl("BUTTON", "Mark", BS_PUSHBUTTON | WS_TABSTOP, 142, 52, 60, 24, kMarkButton);
  makeControl("BUTTON", "Preferences...", BS_PUSHBUTTON | WS_TABSTOP, 208, 52, 100, 24, kPrefsButton);
  makeControl("STATIC", "Seek to (m:ss.fff):", SS_LEFT, 10, 88, 120, 18, 0);
  makeControl("EDIT", "0:00", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 132, 86, 90, 22, kSeekField);
  makeControl("BUTTON", "Go", BS_DEFPUSHBUTTON | WS_TABSTOP, 228, 85, 50, 24, kGoButton);
  makeControl("BUTTON", "Next", BS_PUSHBUTTON | WS_TABSTOP, 284, 85, 50, 24, kNextButton);
  startReports(player, control(kSeekField));
  player.onEvent = onEvent;
  player.onUiCommand = onCommand;
  player.onTick = onTick;
  player.dialogKeys = true;
  SetTimer(main, 1, kTickMs, nullptr);
  showPosition();
  if (report)
    say("MAIN seek=" + centreOf(control(kSeekField)) + " go=" + centreOf(control(kGoButton)) +
        " play=" + centreOf(control(kPlayButton)) + " pause=" + centreOf(control(kPauseButton)) +
        " mark=" + centreOf(control(kMarkButton)) + " prefs=" + centreOf(control(kPrefsButton)) +
        " next=" + centreOf(control(kNextButton)));
}
