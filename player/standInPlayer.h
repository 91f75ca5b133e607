// A stand-in for the media player: loads a general-purpose plug-in the way the player does and
// answers every request the plug-in makes from a scriptable model, recording each one.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../host/hostContract.h"

// Every text of the model is UTF-8; the player answers each request in its own form.
struct PlaylistEntry {
  std::string path;
  std::string title;                          // answered to HOST_FILE_TITLE
  std::map<std::string, std::string> fields;  // answered to the file field requests, by exact name
  // The path as the requests hand it out (kept so that the answers' addresses stay valid).
  std::string ansiPath;
  std::wstring widePath;
};

struct CaughtMessageBox {
  std::string caption;
  std::string text;
  HWND owner;
  int answer;                // the button pressed for the user
  int defaultButton;         // the button Enter presses
  std::vector<int> buttons;  // IDOK, IDCANCEL, IDYES, IDNO: those the box has
};

struct CaughtSaveDialog {
  std::string proposedName;  // what the file name field held when the dialog opened
  std::string folder;        // the folder the dialog opened in
  HWND owner;
};

struct HotkeyAction {
  std::string name;
  std::string id;
  int flags;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  HWND window;
};

struct FormatterCounts {
  int tagCalls = 0;       // calls of the tag callback
  int valuesReturned = 0; // non-null values
  int valuesFreed = 0;    // values handed to the free callback
  int emptyValues = 0;    // non-null values that were empty texts
  int outstanding() const { return valuesReturned - valuesFreed; }
};

// The plug-in's top-level window of this thread (caption "LumoMarker", or "Tracklist") that
// holds a control with this id; null when there is none.
HWND findPluginDialog(int controlId);

// The common file dialogs (Open, Save As): whether a window is one, the id of its file name
// control (Wine's name field is a ComboBoxEx32 with the combo box's id), its type list's id.
const int kFileNameCombo = 1148;
const int kFileNameField = 1152;
const int kFileTypeCombo = 1136;
bool isFileDialog(HWND window);
int fileNameControl(HWND dialog);

// A steady clock, in microseconds.
long long counterMicros();

// The player model. One instance at a time per thread. By default it behaves as the real player
// does at every point the plug-in touches (a Unicode main window, its title-formatting language,
// quit after the main window is gone, the DLL never freed); the switches below give the older
// readings that earlier players and earlier tests need.
class StandInPlayer {
 public:
  // ansiWindow: the main window is an ANSI one, as in players before the Unicode ones.
  explicit StandInPlayer(bool ansiWindow = false);
  ~StandInPlayer();
  StandInPlayer(const StandInPlayer&) = delete;
  StandInPlayer& operator=(const StandInPlayer&) = delete;

  HWND window() const { return window_; }

  // The plug-in, as the player drives it.
  bool load(const std::string& dllPath);
  int init();
  void config();
  void quit();
  void unload();
  // The player closes: its main window is destroyed, then quit is called; the DLL stays loaded
  // (it is freed only as the process ends: here, when the model is destroyed). With
  // unloadAtClose the older order instead: quit while the window lives, then FreeLibrary. Either
  // way a new main window stands afterwards, as the next start of the player would have it.
  void close();
  bool unloadAtClose = false;
  HMODULE module() const { return module_; }
  PluginDescriptor* descriptor() const { return descriptor_; }

  // Runs the message loop until the queue is empty, then for at least ms more milliseconds.
  void pump(DWORD ms = 0);
  // Runs the message loop until the main window is closed.
  void run();
  bool dialogKeys = false;  // the main window's controls take Tab and Enter as in a dialog
  bool pluginDialogKeys = true;  // the plug-in's windows' keys go through IsDialogMessage

  // Sends the registered action's message to its window, as the hot-key plug-in does.
  bool pressHotkey(const std::string& id);

  // The preferences window, as the player shows it: a frame window that the page sizes itself
  // to, then the registered page created from its record. It opens at the page a show request
  // named (a record's address), else at the first registered page. Building its list of pages
  // writes each page record's identifier.
  HWND openPreferences(const PrefsPageRecord* page = nullptr);
  void closePreferences();
  HWND preferencesWindow() const { return prefsWindow_; }
  HWND preferencesPage() const { return prefsPage_; }
  bool openPreferencesOnShowPage = true;

  // Sends a command or a CAPTURE_MSG the way other programs would.
  LRESULT capture(LPARAM action) { return SendMessageA(window_, CAPTURE_MSG, 0, action); }

  // The event log: one line for each request, command and message the player received.
  std::vector<std::string> events;
  std::function<void(const std::string& event)> onEvent;  // called as each line is logged
  int positionAnswered = -1;  // ms: the answer to the last position request
  std::vector<std::string> eventsSince(size_t first) const;
  std::vector<CaughtMessageBox> messageBoxes;
  bool closeMessageBoxes = true;  // message boxes are caught, recorded and closed
  // The buttons pressed in the next boxes (IDYES, IDNO...); without one, the box's default.
  std::deque<int> boxAnswers;
  // Save As dialogs are caught too: each is answered with the next name (a full path, or a
  // name in the folder it opened in); an empty name or none left cancels it.
  std::vector<CaughtSaveDialog> saveDialogs;
  std::deque<std::string> saveAnswers;
  // The type (from 1) chosen in the next dialogs' type list before the answer; none: as shown.
  std::deque<int> saveTypes;
  // The player's loop ends (WM_QUIT) while the next Save As dialog is open, as when the player
  // is closed from the taskbar.
  bool quitInSaveDialog = false;

  // A playback clock that runs in real time while playing, times speed; otherwise the position
  // is positionMs as set. It counts with the performance counter (GetTickCount moves in steps
  // of up to 16 ms under Wine, more than a CD frame).
  void useRealClock(int speed);
  int position() const;
  void seek(int ms);
  // While the real clock runs: the system time in microseconds since 1970 at which the
  // position was *atMs (a moment of this run of playback); false when it does not run.
  bool clockAnchor(long long* systemMicros, int* atMs) const;
  // Playback of playlist entry index begins at 0:00: it becomes the current entry, the player
  // plays, and its window hears the notifications a file's start sends.
  void startEntry(int index);

  // Binds a registered action to a system hot key, as the Global Hotkeys plug-in does.
  bool bindSystemHotkey(const std::string& id, UINT modifiers, UINT key);
  // Takes the keys that the Global Hotkeys plug-in registers by default, system-wide (Ctrl+Alt
  // with Insert, Home, End, PgUp, PgDn, the arrows, J and L): no window receives them then.
  // Left and Right seek 5 s back and forth. Returns how many could be taken.
  int takeGlobalHotkeyDefaults();

  // Hooks for a program that gives the player a user interface: commands of its own controls,
  // and a periodic tick.
  std::function<void(WORD id, WORD code)> onUiCommand;
  std::function<void()> onTick;

  // Model.
  int version = 0x5666;
  std::vector<PlaylistEntry> playlist;
  int current = 0;
  int playState = HOST_STATE_STOPPED;
  int positionMs = 0;   // answered as -1 while stopped
  int lengthSeconds = 0;  // of the current entry; 0: unknown
  int sampleRateHz = 44100;
  int bitrate = 320;
  int channels = 2;
  DWORD videoSize = 0;
  std::string videoText;
  bool giveVideoText = false;
  int hotkeyCode = 0x10ACE;  // what the named request gives "GenHotkeysAdd"; 0: no hot-key plug-in
  // An older player: it lacks the UTF-16 requests (entry path, formatting, file fields, title),
  // the sample rate in Hz and the UTF-16 video text; it answers the requests it lacks as unknown
  // (1) and touches nothing.
  bool older = false;
  // The service manager with the decode-file service (players from 5.12 on): WAV files decode.
  bool decodeService = true;
  // The input plug-in writes a field it finds but answers 0, as some do.
  bool fieldsAnswerZero = false;
  // A plug-in hooked into the ANSI title request (the player itself writes nothing there): it
  // writes this title, cut to the size the record gives.
  bool titleHook = false;
  std::string titleHookText;
  TitleHookRequest lastTitleHook = {};  // the last record of either title request
  TitleHookRequestWide lastTitleHookWide = {};

  std::vector<HotkeyAction> hotkeys;
  std::vector<PrefsPageRecord> pages;            // copies of the registered records
  std::vector<PrefsPageRecord*> pageRecords;     // the records themselves, as the player keeps them
  std::vector<std::string> shownPages;  // what each show request named: "record N" or a number
  FormatterCounts formatter;
  double lastCommandMicroseconds = 0;  // when the last play or pause command arrived
  FormatTitleRequest lastRender = {};  // the last ANSI formatting request, callbacks included
  FormatTitleRequestWide lastRenderWide = {};  // the last UTF-16 one
  std::string lastRenderFileName;              // the file the last UTF-16 request named (UTF-8)
  int notificationsHeard = 0;  // the player's notifications that reached its own procedure
  std::vector<std::string> renderedTemplates;  // UTF-8, whichever request carried them

  // The player's own window procedure; anything placed in front of it must pass messages on.
  static LRESULT CALLBACK PlayerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PrefsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createMainWindow();
  LRESULT onRequest(WPARAM arg, LPARAM code);
  LRESULT onFileField(WPARAM arg, bool wide);
  LRESULT onTitleRequest(WPARAM arg, bool wide);
  LRESULT onNamedRequest(const char* name);
  LRESULT notUnderstood(LPARAM code);
  void onCommand(WORD command);
  void renderTemplate(FormatTitleRequest* request);
  void renderTemplateWide(FormatTitleRequestWide* request);
  void log(const std::string& line) {
    events.push_back(line);
    if (onEvent) onEvent(line);
  }
  friend LRESULT CALLBACK standInMessageBoxHook(int code, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HMODULE module_ = nullptr;
  PluginDescriptor* descriptor_ = nullptr;
  HHOOK boxHook_ = nullptr;
  HWND prefsWindow_ = nullptr;
  HWND prefsPage_ = nullptr;
  int clockSpeed_ = 0;               // 0: the position is positionMs
  long long clockStartMicros_ = 0;   // performance counter when playback last started, with
                                     // positionMs the position then
  bool ansiWindow_ = false;
  std::vector<std::string> systemHotkeys_;
  std::vector<HMODULE> kept_;           // DLLs the player closed but keeps loaded
  std::map<std::string, int> named_;    // names registered by the named request
  std::wstring videoTextWide_;          // the answer of the UTF-16 video text, kept alive
  std::string videoTextAnsi_;
};
