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
const WORD kNextButton = 2050;
const UINT kTickMs = 100;
const int kMixSeconds = 75 * 60;  // the length of a file that is no WAV: a placeholder mix

const size_t kLineChars = 1024;

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
  long long startMicros = 0;   // when the interface was built: event times count from it
  HWND fileDialog = nullptr;   // the file dialog last reported
  int fileType = -1;           // its type list's choice as last reported
  std::string tracklistLabel;  // the Tracklist window's "Next:" line as last reported
  std::string tracklistText;   // its editor's text as last reported
  bool tracklistShown = false;
  std::string caret;           // the Cue editor's caret line and its text as last reported
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

const char* stateName(int state) {
  return state == HOST_STATE_PLAYING ? "playing" : state == HOST_STATE_PAUSED ? "paused" : "stopped";
}

// One line of the player's event log: seconds since start-up, the state and position when the
// event came, the event. A position request shows the position it was answered with.
void sayEvent(const std::string& event) {
  StandInPlayer& p = *gUi.player;
  int position = event == "time 0" ? p.positionAnswered : p.position();
  char head[96];
  snprintf(head, sizeof head, "EVENT t=%.3f state=%s pos=%d ", (double)(counterMicros() - gUi.startMicros) / 1e6,
           stateName(p.playState), position);
  say(head + event);
}

// The events a listener cares about: the hot key, play and pause, jumps and position requests.
void onEvent(const std::string& event) {
  if (!gUi.report) return;
  if (event.compare(0, 13, "system hotkey") == 0 || event == "cmd play" || event == "cmd pause" || event == "time 0" ||
      event.compare(0, 5, "jump ") == 0)
    sayEvent(event);
}

// The thread's visible file dialog (Open or Save As), or null.
BOOL CALLBACK matchFileDialog(HWND window, LPARAM found) {
  if (!isFileDialog(window) || !IsWindowVisible(window)) return TRUE;
  *(HWND*)found = window;
  return FALSE;
}

HWND fileDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), matchFileDialog, (LPARAM)&found);
  return found;
}

// The Open and Save As dialogs: where the name field, the type list and the OK button are, and
// the type chosen whenever it changes (from 1, with its text).
void reportFileDialog() {
  HWND dialog = fileDialog();
  if (dialog && dialog != gUi.fileDialog) {
    HWND name = GetDlgItem(dialog, fileNameControl(dialog));
    say("FILEDIALOG name=" + centre(name) + " types=" + centre(GetDlgItem(dialog, kFileTypeCombo)) + " ok=" +
        centre(GetDlgItem(dialog, IDOK)) + " " + windowTextOf(dialog));
    gUi.fileType = -1;
  }
  gUi.fileDialog = dialog;
  if (!dialog) return;
  HWND types = GetDlgItem(dialog, kFileTypeCombo);
  int type = (int)SendMessageW(types, CB_GETCURSEL, 0, 0);
  if (type == gUi.fileType || type < 0) return;
  gUi.fileType = type;
  int length = (int)SendMessageW(types, CB_GETLBTEXTLEN, (WPARAM)type, 0);
  std::wstring text(length > 0 ? (size_t)length + 1 : 1, L'\0');
  SendMessageW(types, CB_GETLBTEXT, (WPARAM)type, (LPARAM)&text[0]);
  say("FILETYPE " + std::to_string(type + 1) + " " + narrow(text.c_str()));
}

// The Tracklist window: where its editor is when it appears, what the editor holds and what the
// next mark takes whenever they change.
void reportTracklist() {
  HWND list = findPluginDialog(IDC_TRACKLIST_EDITOR);
  bool shown = list && IsWindowVisible(list);
  if (shown && !gUi.tracklistShown) say("TRACKLIST editor=" + centre(GetDlgItem(list, IDC_TRACKLIST_EDITOR)));
  gUi.tracklistShown = shown;
  if (!list) return;
  std::string text = windowTextOf(GetDlgItem(list, IDC_TRACKLIST_EDITOR));
  if (text != gUi.tracklistText) say("LISTED " + oneLine(text));
  gUi.tracklistText = text;
  std::string label = windowTextOf(GetDlgItem(list, IDC_TRACKLIST_NEXT));
  if (label != gUi.tracklistLabel) say("NEXT " + label);
  gUi.tracklistLabel = label;
}

// The Cue editor's caret: its line (from 1) and that line's text, whenever either changes.
void reportCaret(HWND cue) {
  HWND editor = GetDlgItem(cue, IDC_CUE_EDITOR);
  int line = (int)SendMessageW(editor, EM_LINEFROMCHAR, (WPARAM)-1, 0);
  wchar_t text[kLineChars + 1];
  *(WORD*)text = (WORD)kLineChars;  // EM_GETLINE reads the buffer's size from its first word
  LRESULT got = SendMessageW(editor, EM_GETLINE, (WPARAM)line, (LPARAM)text);
  text[got >= 0 && got <= (LRESULT)kLineChars ? got : 0] = L'\0';
  std::string caret = std::to_string(line + 1) + " " + narrow(text);
  if (caret != gUi.caret) say("CARET " + caret);
  gUi.caret = caret;
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
        " later=" + centre(GetDlgItem(cue, IDC_CUE_LATER)) + " open=" + centre(GetDlgItem(cue, IDC_CUE_OPEN)) +
        " export=" + centre(GetDlgItem(cue, IDC_CUE_EXPORT)) + " tracklist=" + centre(GetDlgItem(cue, IDC_CUE_TRACKLIST)));
  gUi.cueShown = cueShown;
  if (cueShown) reportCaret(cue);

  // Where the plug-in moved playback (Listen): the player's log says it.
  for (; gUi.eventsSeen < p.events.size(); ++gUi.eventsSeen)
    if (p.events[gUi.eventsSeen].compare(0, 5, "jump ") == 0) say("JUMPED " + p.events[gUi.eventsSeen].substr(5));

  reportTracklist();
  reportFileDialog();

  if (p.messageBoxes.size() > gUi.boxesSeen) {
    const CaughtMessageBox& box = p.messageBoxes.back();
    HWND window = FindWindowA("#32770", box.caption.c_str());
    say("MSGBOX " + (window ? centre(GetDlgItem(window, IDOK)) : std::string("?")) + " " +
        box.caption + "|" + oneLine(box.text));
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
  gUi.startMicros = counterMicros();
  player.onEvent = onEvent;
  player.onUiCommand = onCommand;
  player.onTick = onTick;
  player.dialogKeys = true;
  SetTimer(main, 1, kTickMs, nullptr);
  showPosition();
  if (report)
    say("MAIN seek=" + centre(control(kSeekField)) + " go=" + centre(control(kGoButton)) +
        " mark=" + centre(control(kMarkButton)) + " prefs=" + centre(control(kPrefsButton)) +
        " next=" + centre(control(kNextButton)));
}
