// The stand-in player's reports for a script that drives it with real input.
#include "uiReport.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "decodeService.h"
#include "playerUi.h"
#include "wideText.h"
#include "../res/resource.h"

namespace {

const size_t kLineChars = 1024;  // the longest Cue editor line the caret report reads
const char kIndexKeyword[] = "INDEX 01 ";

struct ReportState {
  StandInPlayer* player = nullptr;
  HWND seekField = nullptr;
  bool infoShown = false;
  std::string infoText;  // the Info window's fields as last reported, UTF-8
  std::string placed;    // its line on where the mark goes, as last reported
  bool cueShown = false;
  bool prefsShown = false;
  int prefsTab = -1;           // the preferences' tab shown at the last report
  size_t boxesSeen = 0;
  HWND box = nullptr;          // the message box standing at the last report
  size_t eventsSeen = 0;
  int lastState = -1;
  long long anchorMicros = 0;  // the clock's anchor as last reported
  int anchorMs = -1;
  long long startMicros = 0;   // when the reports began: event times count from it
  HWND fileDialog = nullptr;   // the file dialog last reported
  int fileType = -1;           // its type list's choice as last reported
  int typesDropped = -1;       // whether its type list was open at the last report
  std::string tracklistLabel;  // the Tracklist window's "Next:" line as last reported
  std::string tracklistText;   // its editor's text as last reported
  bool tracklistShown = false;
  std::string caret;           // the Cue editor's caret line and its text as last reported
  std::string marks;           // the sheet's INDEX 01 times as last reported
  std::string waveRange;       // the waveform strip's window text (its range) as last reported
  std::string cueStatus;       // the line under the Cue editor as last reported
  DecodeCounts decoded = {-1, -1, 0, -1};  // the decode service's counts as last reported
  std::string focus;           // the focus report last printed
  DWORD clipboardSequence = 0; // the clipboard's change number at the last report
  std::string clipboard;       // the clipboard's text as last reported
  // A position request waits to be printed until its answer is known: the player logs a
  // request before it answers it.
  bool positionPending = false;
  long long positionMicros = 0;  // when it came
  int positionState = 0;         // the play state then
};
ReportState gReport;

const char* stateName(int state) {
  return state == HOST_STATE_PLAYING ? "playing" : state == HOST_STATE_PAUSED ? "paused" : "stopped";
}

HWND item(HWND dialog, int id) { return dialog ? GetDlgItem(dialog, id) : nullptr; }

bool isDialogWindow(HWND window) {
  char className[16];
  return GetClassNameA(window, className, (int)sizeof className) && strcmp(className, "#32770") == 0;
}

// A message box is a dialog with no edit field of its own (the player's preferences frame,
// whose fields are on a page inside it, is none).
bool isMessageBox(HWND window) {
  return isDialogWindow(window) && !isFileDialog(window) && window != gReport.player->preferencesWindow() &&
         !FindWindowExA(window, nullptr, "Edit", nullptr);
}

struct WindowSearch {
  bool (*is)(HWND);
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
  WindowSearch* search = (WindowSearch*)param;
  if (!IsWindowVisible(window) || !search->is(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// The thread's first visible window that is(), or null.
HWND visibleThreadWindow(bool (*is)(HWND)) {
  WindowSearch search = {is, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchWindow, (LPARAM)&search);
  return search.found;
}

// The thread's visible message box, or null.
HWND messageBox() { return visibleThreadWindow(isMessageBox); }

// The thread's visible file dialog (Open or Save As), or null.
HWND fileDialog() { return visibleThreadWindow(isFileDialog); }

// The General page's reaction time field, while that page is shown.
HWND offsetField() {
  HWND prefs = gReport.player->preferencesPage();
  HWND offset = nullptr;
  for (HWND page = prefs ? GetWindow(prefs, GW_CHILD) : nullptr; page && !offset; page = GetWindow(page, GW_HWNDNEXT))
    offset = GetDlgItem(page, IDC_GENERAL_OFFSET);
  return offset;
}

// The name the focus report gives the window with the keyboard focus.
std::string focusName(HWND focus) {
  if (!focus) return "none";
  HWND info = findPluginDialog(IDC_INFO_OK);
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  HWND list = findPluginDialog(IDC_TRACKLIST_EDITOR);
  struct Named {
    HWND window;
    const char* name;
  };
  const Named fields[] = {
      {gReport.seekField, "seek"},
      {item(info, IDC_INFO_TITLE), "info-title"},
      {item(info, IDC_INFO_PERFORMER), "info-performer"},
      {item(cue, IDC_CUE_EDITOR), "cue-editor"},
      {item(list, IDC_TRACKLIST_EDITOR), "tracklist-editor"},
      {offsetField(), "offset"},
  };
  for (const Named& field : fields)
    if (field.window && field.window == focus) return field.name;
  HWND root = GetAncestor(focus, GA_ROOT);
  if (isFileDialog(root)) {
    HWND name = GetDlgItem(root, fileNameControl(root));
    return name && (name == focus || IsChild(name, focus)) ? "file-name" : "file-dialog";
  }
  const Named windows[] = {{gReport.player->window(), "player"}, {info, "info"}, {cue, "cue"}, {list, "tracklist"},
                           {gReport.player->preferencesWindow(), "prefs"}};
  for (const Named& window : windows)
    if (window.window && window.window == root) return window.name;
  return isMessageBox(root) ? "box" : "other";
}

// FOCUS name, and the text of a one-line field: whenever either changes.
void reportFocus() {
  HWND focus = GetFocus();
  std::string line = "FOCUS " + focusName(focus);
  char className[16];
  if (focus && GetClassNameA(focus, className, (int)sizeof className) && lstrcmpiA(className, "Edit") == 0 &&
      !(GetWindowLongW(focus, GWL_STYLE) & ES_MULTILINE))
    line += " " + windowTextOf(focus);
  if (line != gReport.focus) say(line);
  gReport.focus = line;
}

// CLIPBOARD text (its line breaks as " / ") whenever the clipboard's text changes: a script that
// put text there knows when the player's side has it.
void reportClipboard() {
  DWORD sequence = GetClipboardSequenceNumber();
  if (sequence == gReport.clipboardSequence) return;
  if (!OpenClipboard(gReport.player->window())) return;  // another program holds it: next time
  gReport.clipboardSequence = sequence;
  std::string text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* wide = data ? (const wchar_t*)GlobalLock(data) : nullptr;
  if (wide) {
    text = narrow(wide);
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (text != gReport.clipboard) say("CLIPBOARD " + oneLine(text));
  gReport.clipboard = text;
}

// The INDEX 01 times of a sheet in its order, separated by blanks.
std::string indexTimes(const std::string& sheet) {
  std::string times;
  for (size_t start = 0; start < sheet.size();) {
    size_t end = sheet.find_first_of("\r\n", start);
    if (end == std::string::npos) end = sheet.size();
    size_t text = sheet.find_first_not_of(" \t", start);
    const size_t keyword = sizeof kIndexKeyword - 1;
    if (text < end && sheet.compare(text, keyword, kIndexKeyword) == 0) {
      size_t last = sheet.find_last_not_of(" \t", end - 1);
      times += (times.empty() ? "" : " ") + sheet.substr(text + keyword, last + 1 - (text + keyword));
    }
    start = end + 1;
  }
  return times;
}

// The Open and Save As dialogs: where the name field, the type list and the OK button are, the
// type chosen whenever it changes (from 1, with its text), whether the type list is open, and
// that the dialog went.
void reportFileDialog() {
  HWND dialog = fileDialog();
  if (gReport.fileDialog && dialog != gReport.fileDialog) say("GONE filedialog");
  if (dialog && dialog != gReport.fileDialog) {
    HWND name = GetDlgItem(dialog, fileNameControl(dialog));
    say("FILEDIALOG name=" + centreOf(name) + " types=" + centreOf(GetDlgItem(dialog, kFileTypeCombo)) + " ok=" +
        centreOf(GetDlgItem(dialog, IDOK)) + " " + windowTextOf(dialog));
    gReport.fileType = -1;
    gReport.typesDropped = -1;
  }
  gReport.fileDialog = dialog;
  if (!dialog) return;
  HWND types = GetDlgItem(dialog, kFileTypeCombo);
  int dropped = SendMessageW(types, CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0;
  if (dropped != gReport.typesDropped) say(dropped ? "DROPDOWN open" : "DROPDOWN closed");
  gReport.typesDropped = dropped;
  int type = (int)SendMessageW(types, CB_GETCURSEL, 0, 0);
  if (type == gReport.fileType || type < 0) return;
  gReport.fileType = type;
  int length = (int)SendMessageW(types, CB_GETLBTEXTLEN, (WPARAM)type, 0);
  std::wstring text(length > 0 ? (size_t)length + 1 : 1, L'\0');
  SendMessageW(types, CB_GETLBTEXT, (WPARAM)type, (LPARAM)&text[0]);
  say("FILETYPE " + std::to_string(type + 1) + " " + narrow(text.c_str()));
}

// The Tracklist window: where its editor is when it appears, what the editor holds and what the
// next mark takes whenever they change, and that it went.
void reportTracklist() {
  HWND list = findPluginDialog(IDC_TRACKLIST_EDITOR);
  bool shown = list && IsWindowVisible(list);
  if (shown && !gReport.tracklistShown) say("TRACKLIST editor=" + centreOf(GetDlgItem(list, IDC_TRACKLIST_EDITOR)));
  if (!shown && gReport.tracklistShown) say("GONE tracklist");
  gReport.tracklistShown = shown;
  if (!list) return;
  std::string text = windowTextOf(GetDlgItem(list, IDC_TRACKLIST_EDITOR));
  if (text != gReport.tracklistText) say("LISTED " + oneLine(text));
  gReport.tracklistText = text;
  std::string label = windowTextOf(GetDlgItem(list, IDC_TRACKLIST_NEXT));
  if (label != gReport.tracklistLabel) say("NEXT " + label);
  gReport.tracklistLabel = label;
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
  if (caret != gReport.caret) say("CARET " + caret);
  gReport.caret = caret;
}

// "left,top,width,height" of a window on the screen, and of its client area.
std::string areaText(const RECT& r) {
  char text[64];
  snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return text;
}

std::string areaOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return areaText(r);
}

std::string clientAreaOf(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, (POINT*)&r, 2);
  return areaText(r);
}

// The Cue window: where its controls are when it appears (the waveform strip's client area and
// the window's own area as left,top,width,height), its caret, the sheet's INDEX 01 times (MARKS,
// separated by blanks), the range the strip shows (WAVE, its window text) and the line under the
// editor (STATUS), each whenever it changes.
void reportCue() {
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  bool shown = cue && IsWindowVisible(cue);
  if (shown && !gReport.cueShown)
    say("CUE save=" + centreOf(GetDlgItem(cue, IDC_CUE_SAVE)) + " editor=" + centreOf(GetDlgItem(cue, IDC_CUE_EDITOR)) +
        " listen=" + centreOf(GetDlgItem(cue, IDC_CUE_LISTEN)) + " earlier=" + centreOf(GetDlgItem(cue, IDC_CUE_EARLIER)) +
        " later=" + centreOf(GetDlgItem(cue, IDC_CUE_LATER)) + " open=" + centreOf(GetDlgItem(cue, IDC_CUE_OPEN)) +
        " export=" + centreOf(GetDlgItem(cue, IDC_CUE_EXPORT)) +
        " tracklist=" + centreOf(GetDlgItem(cue, IDC_CUE_TRACKLIST)) + " snap=" + centreOf(GetDlgItem(cue, IDC_CUE_SNAP)) +
        " strip=" + clientAreaOf(GetDlgItem(cue, IDC_CUE_WAVE)) + " window=" + areaOf(cue));
  gReport.cueShown = shown;
  if (!cue) return;
  if (shown) reportCaret(cue);
  std::string marks = indexTimes(windowTextOf(GetDlgItem(cue, IDC_CUE_EDITOR)));
  if (marks != gReport.marks) say("MARKS " + marks);
  gReport.marks = marks;
  std::string range = windowTextOf(GetDlgItem(cue, IDC_CUE_WAVE));
  if (range != gReport.waveRange) say("WAVE " + range);
  gReport.waveRange = range;
  std::string status = windowTextOf(GetDlgItem(cue, IDC_CUE_STATUS));
  if (status != gReport.cueStatus) say("STATUS " + status);
  gReport.cueStatus = status;
}

// The Info window: where its fields are when it appears, what they hold as it changes
// ("TYPED title|performer"), where the mark goes on the audio ("PLACED text", once it says
// anything), and that it went.
void reportInfo() {
  HWND info = findPluginDialog(IDC_INFO_OK);
  bool shown = info && IsWindowVisible(info);
  if (shown && !gReport.infoShown)
    say("INFO title=" + centreOf(GetDlgItem(info, IDC_INFO_TITLE)) + " performer=" +
        centreOf(GetDlgItem(info, IDC_INFO_PERFORMER)) + " ok=" + centreOf(GetDlgItem(info, IDC_INFO_OK)));
  if (!shown && gReport.infoShown) say("GONE info");
  gReport.infoShown = shown;
  if (shown) {
    // Before the fields: a script that saw the first TYPED of a window has seen its line too.
    std::string placed = windowTextOf(GetDlgItem(info, IDC_INFO_PLACED));
    if (placed != gReport.placed) say("PLACED " + placed);
    gReport.placed = placed;
    std::string text = windowTextOf(GetDlgItem(info, IDC_INFO_TITLE)) + "|" +
                       windowTextOf(GetDlgItem(info, IDC_INFO_PERFORMER));
    if (text != gReport.infoText) say("TYPED " + text);
    gReport.infoText = text;
  } else {
    gReport.infoText.clear();
    gReport.placed.clear();
  }
}

// Each message box the player caught (MSGBOX, where its OK is, caption|text), and that it went.
void reportMessageBoxes() {
  StandInPlayer& p = *gReport.player;
  HWND box = messageBox();
  if (gReport.box && box != gReport.box) say("GONE box");
  gReport.box = box;
  if (p.messageBoxes.size() <= gReport.boxesSeen) return;
  const CaughtMessageBox& caught = p.messageBoxes.back();
  say("MSGBOX " + (box ? centreOf(GetDlgItem(box, IDOK)) : std::string("?")) + " " + caught.caption + "|" +
      oneLine(caught.text));
  gReport.boxesSeen = p.messageBoxes.size();
}

// The preferences: where the tabs (and the General page's reaction time) are when they
// appear, the tab shown (from 0) whenever it changes, and that they went.
void reportPreferences() {
  StandInPlayer& p = *gReport.player;
  bool shown = p.preferencesPage() != nullptr;
  if (shown && !gReport.prefsShown) {
    HWND tabs = GetDlgItem(p.preferencesPage(), IDC_PREFS_TABS);
    std::string line = "PREFS";
    for (int i = 0; i < 3; ++i) {
      RECT r;
      SendMessageA(tabs, TCM_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
      POINT c = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ClientToScreen(tabs, &c);
      line += " tab" + std::to_string(i) + "=" + std::to_string(c.x) + "," + std::to_string(c.y);
    }
    HWND offset = offsetField();
    if (offset) line += " offset=" + centreOf(offset);
    say(line);
  }
  if (!shown && gReport.prefsShown) say("GONE prefs");
  gReport.prefsShown = shown;
  int tab = shown ? (int)SendMessageW(GetDlgItem(p.preferencesPage(), IDC_PREFS_TABS), TCM_GETCURSEL, 0, 0) : -1;
  if (tab != gReport.prefsTab && tab >= 0) say("TAB " + std::to_string(tab));
  gReport.prefsTab = tab;
}

// PAUSED with the position whenever playback pauses; CLOCK whenever playback starts or jumps:
// the system time (microseconds since 1970) at which it stood at a position, so that a script
// knows the position at any moment; JUMPED where the plug-in moved playback (Listen).
void reportPlayback() {
  StandInPlayer& p = *gReport.player;
  if (p.playState != gReport.lastState) {
    if (p.playState == HOST_STATE_PAUSED) say("PAUSED " + std::to_string(p.position()));
    gReport.lastState = p.playState;
  }
  long long micros = 0;
  int atMs = 0;
  const long long kSameAnchorMicros = 1000;  // reading the two clocks differs by less
  if (p.clockAnchor(&micros, &atMs) &&
      (atMs != gReport.anchorMs || llabs(micros - gReport.anchorMicros) > kSameAnchorMicros)) {
    say("CLOCK " + std::to_string(micros) + " " + std::to_string(atMs));
    gReport.anchorMicros = micros;
    gReport.anchorMs = atMs;
  }
  for (; gReport.eventsSeen < p.events.size(); ++gReport.eventsSeen)
    if (p.events[gReport.eventsSeen].compare(0, 5, "jump ") == 0) say("JUMPED " + p.events[gReport.eventsSeen].substr(5));
}

// DECODE with the decode service's counts whenever the streams opened or open change: a file
// read whole is closed, so "open=0" after one more opened means the plug-in has its audio.
void reportDecoding() {
  DecodeCounts now = decodeCounts();
  DecodeCounts& last = gReport.decoded;
  if (now.opened == last.opened && now.open == last.open && now.refusals == last.refusals) return;
  say("DECODE opened=" + std::to_string(now.opened) + " open=" + std::to_string(now.open) +
      " refused=" + std::to_string(now.refusals) + " bytes=" + std::to_string(now.bytesRead));
  last = now;
}

}  // namespace

void say(const std::string& line) {
  printf("%s\n", line.c_str());
  fflush(stdout);
}

std::string centreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  char text[32];
  snprintf(text, sizeof text, "%ld,%ld", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return text;
}

namespace {

// One line of the player's event log: seconds since the reports began, the state and position
// when the event came, the event.
void sayEvent(long long micros, int state, int position, const std::string& event) {
  char head[96];
  snprintf(head, sizeof head, "EVENT t=%.3f state=%s pos=%d ", (double)(micros - gReport.startMicros) / 1e6,
           stateName(state), position);
  say(head + event);
}

// A position request shows the position it was answered with, once that is known.
void sayPendingPosition() {
  if (!gReport.positionPending) return;
  gReport.positionPending = false;
  sayEvent(gReport.positionMicros, gReport.positionState, gReport.player->positionAnswered, "time 0");
}

}  // namespace

void sayEvent(const std::string& event) {
  sayPendingPosition();
  StandInPlayer& p = *gReport.player;
  sayEvent(counterMicros(), p.playState, p.position(), event);
}

void reportEvent(const std::string& event) {
  if (event == "time 0") {
    sayPendingPosition();
    gReport.positionPending = true;
    gReport.positionMicros = counterMicros();
    gReport.positionState = gReport.player->playState;
  } else if (event.compare(0, 13, "system hotkey") == 0 || event.compare(0, 13, "global hotkey") == 0 ||
             event == "cmd play" || event == "cmd pause" || event.compare(0, 5, "jump ") == 0) {
    sayEvent(event);
  } else {
    sayPendingPosition();
  }
}

void startReports(StandInPlayer& player, HWND seekField) {
  gReport.player = &player;
  gReport.seekField = seekField;
  gReport.startMicros = counterMicros();
}

void reportChanges() {
  sayPendingPosition();
  reportPlayback();
  reportDecoding();
  reportInfo();
  reportCue();
  reportTracklist();
  reportFileDialog();
  reportMessageBoxes();
  reportPreferences();
  reportFocus();
  reportClipboard();
}
