// The stand-in player's controls and the on-screen reporter used by the demo script.
#include "playerUi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
const UINT kTickMs = 100;

struct UiState {
  StandInPlayer* player = nullptr;
  std::string hotkeyId;
  bool report = false;
  bool infoShown = false;
  std::string infoText;  // the Info window's fields as last reported, UTF-8
  bool cueShown = false;
  bool prefsShown = false;
  size_t boxesSeen = 0;
  size_t eventsSeen = 0;
  int lastState = -1;
  long long anchorMicros = 0;  // the clock's anchor as last reported
  int anchorMs = -1;
};
UiState gUi;

HWND control(WORD id) { return GetDlgItem(gUi.player->window(), id); }

HWND makeControl(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, WORD id) {
  HWND window = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                gUi.player->window(), (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(window, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
  return window;
}

std::string centre(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  char text[32];
  snprintf(text, sizeof text, "%ld,%ld", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return text;
}

void say(const std::string& line) {
  printf("%s\n", line.c_str());
  fflush(stdout);
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

// Says where the controls of each newly shown window are, in screen pixels.
void reportChanges() {
  StandInPlayer& p = *gUi.player;
  if (p.playState != gUi.lastState) {
    if (p.playState == HOST_STATE_PAUSED) say("PAUSED " + std::to_string(p.position()));
    gUi.lastState = p.playState;
  }
  // Whenever playback starts or jumps: the system time (microseconds since 1970) at which it
  // stood at a position, so that a script knows the position at any moment.
  long long micros = 0;
  int atMs = 0;
  const long long kSameAnchorMicros = 1000;  // reading the two clocks differs by less
  if (p.clockAnchor(&micros, &atMs) &&
      (atMs != gUi.anchorMs || llabs(micros - gUi.anchorMicros) > kSameAnchorMicros)) {
    say("CLOCK " + std::to_string(micros) + " " + std::to_string(atMs));
    gUi.anchorMicros = micros;
    gUi.anchorMs = atMs;
  }
  HWND info = findPluginDialog(IDC_INFO_OK);
  bool infoShown = info && IsWindowVisible(info);
  if (infoShown && !gUi.infoShown)
    say("INFO title=" + centre(GetDlgItem(info, IDC_INFO_TITLE)) + " performer=" +
        centre(GetDlgItem(info, IDC_INFO_PERFORMER)) + " ok=" + centre(GetDlgItem(info, IDC_INFO_OK)));
  gUi.infoShown = infoShown;
  // What the Info window's fields hold, whenever it changes: typed text can be checked.
  if (infoShown) {
    std::string text = windowTextOf(GetDlgItem(info, IDC_INFO_TITLE)) + "|" +
                       windowTextOf(GetDlgItem(info, IDC_INFO_PERFORMER));
    if (text != gUi.infoText) say("TYPED " + text);
    gUi.infoText = text;
  } else {
    gUi.infoText.clear();
  }

  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  bool cueShown = cue && IsWindowVisible(cue);
  if (cueShown && !gUi.cueShown)
    say("CUE save=" + centre(GetDlgItem(cue, IDC_CUE_SAVE)) + " editor=" + centre(GetDlgItem(cue, IDC_CUE_EDITOR)) +
        " listen=" + centre(GetDlgItem(cue, IDC_CUE_LISTEN)) + " earlier=" + centre(GetDlgItem(cue, IDC_CUE_EARLIER)) +
        " later=" + centre(GetDlgItem(cue, IDC_CUE_LATER)));
  gUi.cueShown = cueShown;

  // Where the plug-in moved playback (Listen): the player's log says it.
  for (; gUi.eventsSeen < p.events.size(); ++gUi.eventsSeen)
    if (p.events[gUi.eventsSeen].compare(0, 5, "jump ") == 0) say("JUMPED " + p.events[gUi.eventsSeen].substr(5));

  if (p.messageBoxes.size() > gUi.boxesSeen) {
    const CaughtMessageBox& box = p.messageBoxes.back();
    HWND window = FindWindowA("#32770", box.caption.c_str());
    say("MSGBOX " + (window ? centre(GetDlgItem(window, IDOK)) : std::string("?")) + " " +
        box.caption + "|" + box.text);
    gUi.boxesSeen = p.messageBoxes.size();
  }

  bool prefsShown = p.preferencesPage() != nullptr;
  if (prefsShown && !gUi.prefsShown) {
    HWND tabs = GetDlgItem(p.preferencesPage(), IDC_PREFS_TABS);
    std::string line = "PREFS";
    for (int i = 0; i < 3; ++i) {
      RECT r;
      SendMessageA(tabs, TCM_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
      POINT c = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ClientToScreen(tabs, &c);
      line += " tab" + std::to_string(i) + "=" + std::to_string(c.x) + "," + std::to_string(c.y);
    }
    HWND offset = nullptr;  // the General page's reaction time, when it is the page shown
    for (HWND page = GetWindow(p.preferencesPage(), GW_CHILD); page && !offset; page = GetWindow(page, GW_HWNDNEXT))
      offset = GetDlgItem(page, IDC_GENERAL_OFFSET);
    if (offset) line += " offset=" + centre(offset);
    say(line);
  }
  gUi.prefsShown = prefsShown;
}

void onTick() {
  showPosition();
  if (gUi.report) reportChanges();
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
      break;
    }
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
  std::string file = "Playing: " + (player.playlist.empty() ? std::string("(empty playlist)") : player.playlist[0].path);
  HWND label = makeControl("STATIC", "", SS_LEFT | SS_PATHELLIPSIS, 10, 8, 320, 18, kFileLabel);
  SetWindowTextW(label, widen(file).c_str());  // the path is UTF-8, any script
  makeControl("STATIC", "", SS_LEFT, 10, 28, 320, 18, kPositionLabel);
  makeControl("BUTTON", "Play", BS_PUSHBUTTON | WS_TABSTOP, 10, 52, 60, 24, kPlayButton);
  makeControl("BUTTON", "Pause", BS_PUSHBUTTON | WS_TABSTOP, 76, 52, 60, 24, kPauseButton);
  makeControl("BUTTON", "Mark", BS_PUSHBUTTON | WS_TABSTOP, 142, 52, 60, 24, kMarkButton);
  makeControl("BUTTON", "Preferences...", BS_PUSHBUTTON | WS_TABSTOP, 208, 52, 100, 24, kPrefsButton);
  makeControl("STATIC", "Seek to (m:ss.fff):", SS_LEFT, 10, 88, 120, 18, 0);
  makeControl("EDIT", "0:00", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 132, 86, 90, 22, kSeekField);
  makeControl("BUTTON", "Go", BS_DEFPUSHBUTTON | WS_TABSTOP, 228, 85, 50, 24, kGoButton);
  player.onUiCommand = onCommand;
  player.onTick = onTick;
  player.dialogKeys = true;
  SetTimer(main, 1, kTickMs, nullptr);
  showPosition();
  if (report)
    say("MAIN seek=" + centre(control(kSeekField)) + " go=" + centre(control(kGoButton)) +
        " mark=" + centre(control(kMarkButton)) + " prefs=" + centre(control(kPrefsButton)));
}
