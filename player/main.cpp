// The stand-in player as a program. Without options it loads gen_lumo.dll, runs a short
// scripted marking session and prints the Cue window's sheet. With --scene NAME it sets up one
// view (info, cue, wave, wave-reading, general, format, about), prints READY and keeps it on screen for --hold
// seconds, so that a script can take a screenshot. With --interactive FILE it plays FILE with a
// real clock and a small user interface until its window is closed; --demo FILE does the same
// and also reports on standard output where each window's controls are, for the demo script.
// --add FILE puts a further file into the playlist (the user interface's Next button plays it).
// --appdata FOLDER stands for the user's application-data folder (%APPDATA%), so that a scripted
// run neither meets nor leaves recovery copies of the user's own.
// With steps (--commits N, --marks MS,MS..., --title TEXT, --edit TEXT, --save, --print,
// --wait MS, --hold, --play FILE, --length SECONDS, --type N, --export PATH) it prints STEPS
// once it is up, carries them out in order on the file of --file (default
// C:\mixes\Night Drive.mp3) and then quits, or with --hold prints READY and waits to be killed:
// tests kill it and start it again on the same folder, as a crash of the player would. Each
// message box a step brought up is printed (MSGBOX caption|text, its line breaks as " / ") and
// closed with its default button. Arguments are read as UTF-16, so a path or a title in any
// script arrives whole; the sheet is printed as UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decodeService.h"
#include "playerUi.h"
#include "standInPlayer.h"
#include "wideText.h"
#include "../res/resource.h"

namespace {

const char kHotkeyId[] = "LUMOPluginDoActionOn";
const char kShowHotkeyId[] = "LUMOPluginDoActionShow";

struct Step {
  std::string name;
  std::string value;
};

struct Options {
  std::string dll = "gen_lumo.dll";
  std::string scene;
  int holdSeconds = 5;
  std::string playFile;  // --interactive or --demo
  bool report = false;   // --demo
  std::string file;      // --file: the playlist entry of a run of steps
  std::vector<std::string> added;  // --add: further playlist entries
  std::vector<Step> steps;
};

bool isStep(const std::string& a) {
  return a == "--commits" || a == "--marks" || a == "--title" || a == "--edit" || a == "--wait" ||
         a == "--play" || a == "--length" || a == "--type" || a == "--export";
}

// The program's arguments after its own name, as UTF-8, from the UTF-16 command line: argv of
// main holds them in the ANSI code page, where a character it lacks is already lost.
std::vector<std::string> wideArguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(narrow(wide[i]));
  LocalFree(wide);
  return args;
}

Options parse(const std::vector<std::string>& argv) {
  Options o;
  int argc = (int)argv.size();
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--scene" && i + 1 < argc)
      o.scene = argv[++i];
    else if (a == "--hold" && i + 1 < argc && !o.scene.empty())
      o.holdSeconds = atoi(argv[++i].c_str());
    else if (a == "--file" && i + 1 < argc)
      o.file = argv[++i];
    else if (a == "--add" && i + 1 < argc)
      o.added.push_back(argv[++i]);
    else if (a == "--appdata" && i + 1 < argc)
      SetEnvironmentVariableW(L"APPDATA", widen(argv[++i]).c_str());
    else if (isStep(a) && i + 1 < argc)
      o.steps.push_back({a.substr(2), argv[++i]});
    else if (a == "--save" || a == "--print" || a == "--hold")
      o.steps.push_back({a.substr(2), ""});
    else if ((a == "--interactive" || a == "--demo") && i + 1 < argc) {
      o.playFile = argv[++i];
      o.report = a == "--demo";
    }
    else
      o.dll = a;
  }
  return o;
}

void markTrack(StandInPlayer& player, int positionMs, const char* title, const char* performer,
               bool commit = true) {
  player.positionMs = positionMs;
  player.pressHotkey(kHotkeyId);
  HWND info = findPluginDialog(IDC_INFO_OK);
  if (!info) return;
  SetDlgItemTextW(info, IDC_INFO_TITLE, widen(title).c_str());
  SetDlgItemTextW(info, IDC_INFO_PERFORMER, widen(performer).c_str());
  if (commit)
    SendMessageA(info, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)GetDlgItem(info, IDC_INFO_OK));
  player.pump();
}

void setUpPlaylist(StandInPlayer& player) {
  PlaylistEntry mix;
  mix.path = "C:\\mixes\\Night Drive.mp3";
  mix.title = "Night Drive";
  mix.fields["artist"] = "DJ Example";
  mix.fields["title"] = "Night Drive";
  player.playlist.push_back(mix);
  player.playState = HOST_STATE_PLAYING;
}

// Writes the preferences tab to open beside the DLL, before the plug-in reads its settings.
void chooseTab(const std::string& dll, int tab) {
  wchar_t full[MAX_PATH];
  if (!GetFullPathNameW(widen(dll).c_str(), MAX_PATH, full, nullptr)) return;
  std::wstring path = full;
  std::wstring ini = path.substr(0, path.find_last_of(L'\\') + 1) + L"plugin.ini";
  WritePrivateProfileStringW(L"LUMO", L"currentpageindex", std::to_wstring(tab).c_str(), ini.c_str());
}

// A WAV file for the waveform scene: 12 s of 16-bit stereo, two tones beating at 3 Hz, a gap
// from 5.0 s to 5.6 s, and from 9.0 s a harder sound (a square wave) cut in without a gap.
std::string sceneWave() {
  const int kRate = 44100, kSeconds = 12;
  std::string pcm;
  for (int i = 0; i < kRate * kSeconds; ++i) {
    double t = (double)i / kRate, value = 0;
    if (t < 5.0 || (t >= 5.6 && t < 9.0))
      value = (0.5 + 0.5 * std::fabs(std::sin(t * 3.14159265 * 3))) * 9000 *
              (std::sin(t * 2 * 3.14159265 * 220) + 0.6 * std::sin(t * 2 * 3.14159265 * 331));
    else if (t >= 9.0)
      value = (std::fmod(t * 150, 1.0) < 0.5 ? 1 : -1) * 7000.0 * (0.7 + 0.3 * std::sin(t * 9));
    short sample = (short)value;
    for (int channel = 0; channel < 2; ++channel) pcm.append((const char*)&sample, 2);
  }
  auto le32 = [](unsigned v) { return std::string({(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}); };
  std::string format = std::string("\x01\x00\x02\x00", 4) + le32(kRate) + le32(kRate * 4) + std::string("\x04\x00\x10\x00", 4);
  return "RIFF" + le32((unsigned)(36 + pcm.size())) + "WAVEfmt " + le32(16) + format + "data" + le32((unsigned)pcm.size()) + pcm;
}

// The Cue window's strip on a recording with a gap: three tracks marked while it plays (the
// second at the gap's end, the third at the cut), the caret on the second, the player paused
// just before it. With slowDecoder the decoder takes a quarter of a second a read, and the
// strip is still reading.
void waveScene(StandInPlayer& player, bool slowDecoder) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::string path = narrow(folder) + "lumo-scene-wave.wav";
  std::string bytes = sceneWave();
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
  }
  player.playlist[0].path = path;
  player.lengthSeconds = 12;
  const long kSlowReadMicros = 250000;
  if (slowDecoder) setDecodeDelay(kSlowReadMicros);
  player.startEntry(0);
  const DWORD kDecodeBoundMs = 10000;
  for (DWORD started = GetTickCount(); !slowDecoder && GetTickCount() - started < kDecodeBoundMs;) {
    player.pump(20);
    DecodeCounts counts = decodeCounts();
    if (counts.opened > 0 && counts.open == 0) break;
  }
  markTrack(player, 300, "Opening", "Artist One");
  markTrack(player, 5800, "Second Wind", "Artist Two");
  markTrack(player, 9150, "After the Cut", "Artist Three");
  player.playState = HOST_STATE_PAUSED;
  player.seek(4200);
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  HWND editor = cue ? GetDlgItem(cue, IDC_CUE_EDITOR) : nullptr;
  std::wstring text = editor ? widen(windowTextOf(editor)) : std::wstring();
  size_t at = text.find(L"Second Wind");
  if (editor && at != std::wstring::npos) SendMessageW(editor, EM_SETSEL, at, at);
  player.pump(300);
}

int runScene(StandInPlayer& player, const Options& o) {
  if (o.scene == "wave" || o.scene == "wave-reading") {
    waveScene(player, o.scene == "wave-reading");
  } else if (o.scene == "info") {
    markTrack(player, 61500, "Opening", "Artist One");
    markTrack(player, 245120, "Second Wind", "Artist Two", false);
    HWND cue = findPluginDialog(IDC_CUE_EDITOR);
    if (cue) ShowWindow(cue, SW_HIDE);
  } else if (o.scene == "cue") {
    markTrack(player, 0, "Opening", "Artist One");
    markTrack(player, 245120, "Second Wind", "Artist Two");
    markTrack(player, 3723450, "After the Hour", "Artist Three");
  } else {
    player.config();
    if (!player.preferencesWindow()) return 1;
  }
  printf("READY\n");
  fflush(stdout);
  player.pump((DWORD)o.holdSeconds * 1000);
  return 0;
}

// Plays the file with a real clock and a user interface until the main window is closed.
int runLive(StandInPlayer& player, const Options& o) {
  player.closeMessageBoxes = false;
  player.useRealClock(1);
  bool mark = player.bindSystemHotkey(kHotkeyId, MOD_CONTROL | MOD_ALT, 'M');
  if (!mark) fprintf(stderr, "the hot key Ctrl+Alt+M could not be registered; use the Mark button\n");
  bool show = player.bindSystemHotkey(kShowHotkeyId, MOD_CONTROL | MOD_ALT, 'C');
  if (!show) fprintf(stderr, "the hot key Ctrl+Alt+C (Show cue sheet) could not be registered\n");
  // The player's own hot-key plug-in holds its default keys, as in a real player.
  const int kGlobalHotkeyDefaults = 11;
  int taken = player.takeGlobalHotkeyDefaults();
  if (taken < kGlobalHotkeyDefaults)
    fprintf(stderr, "only %d of Global Hotkeys' %d default keys could be taken\n", taken, kGlobalHotkeyDefaults);
  buildPlayerUi(player, kHotkeyId, o.report);
  SetWindowTextA(player.window(), "Stand-in player - LumoMarker");
  ShowWindow(player.window(), SW_SHOW);
  // The keys this player holds: a script presses only those.
  printf("READY hotkey=%s show=%s globalhotkeys=%d\n", mark ? "ctrl+alt+m" : "none", show ? "ctrl+alt+c" : "none", taken);
  fflush(stdout);
  player.run();
  printf("DONE\n");
  return 0;
}

// The Cue window's sheet as UTF-8; empty when there is no Cue window.
std::string sheetText() {
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  return cue ? windowTextOf(GetDlgItem(cue, IDC_CUE_EDITOR)) : std::string();
}

void printSheet() {
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  std::string text = sheetText();
  printf("CUE visible=%d\nSHEET-BEGIN\n%s\nSHEET-END\n", cue && IsWindowVisible(cue) ? 1 : 0,
         text.c_str());
  fflush(stdout);
}

// Presses a button of the Cue window; false when there is none.
bool clickCue(int id) {
  HWND cue = findPluginDialog(id);
  if (!cue) return false;
  SendMessageA(cue, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(cue, id));
  return true;
}

// The entry of this path becomes the current one (put at the end of the playlist when it is
// not in it), played from its start.
void playEntry(StandInPlayer& player, const std::string& path) {
  size_t at = 0;
  while (at < player.playlist.size() && player.playlist[at].path != path) ++at;
  if (at == player.playlist.size()) {
    PlaylistEntry entry;
    entry.path = path;
    player.playlist.push_back(entry);
  }
  player.startEntry((int)at);
}

// "MSGBOX caption|text" on one line: the text's line breaks become " / ".
void printBox(const CaughtMessageBox& box) {
  printf("MSGBOX %s|%s\n", box.caption.c_str(), oneLine(box.text).c_str());
  fflush(stdout);
}

// Carries out the steps in order; false when one of them could not be done.
bool runSteps(StandInPlayer& player, const Options& o) {
  int marks = 0;
  size_t boxes = player.messageBoxes.size();  // those printed
  std::string titlePrefix = "Track";
  // The next mark, at ms, titled by the prefix and its number.
  auto markNext = [&](int ms) {
    std::string title = titlePrefix + " " + std::to_string(++marks);
    markTrack(player, ms, title.c_str(), "Performer");
  };
  printf("STEPS\n");  // the player is up; the steps begin
  fflush(stdout);
  for (const Step& step : o.steps) {
    if (step.name == "commits") {
      for (int i = atoi(step.value.c_str()); i > 0; --i) markNext(61000 * (marks + 1));
    } else if (step.name == "marks") {  // positions in ms, separated by commas
      for (const char* at = step.value.c_str(); *at;) {
        char* end = nullptr;
        long ms = strtol(at, &end, 10);
        if (end == at) return false;
        markNext((int)ms);
        at = *end == ',' ? end + 1 : end;
      }
    } else if (step.name == "title") {
      titlePrefix = step.value;
    } else if (step.name == "edit") {
      HWND cue = findPluginDialog(IDC_CUE_EDITOR);
      if (!cue) return false;
      // Typed by hand at the end of the sheet: an undoable change, as typing makes.
      HWND editor = GetDlgItem(cue, IDC_CUE_EDITOR);
      int end = GetWindowTextLengthW(editor);  // characters, as EM_SETSEL counts
      SendMessageW(editor, EM_SETSEL, (WPARAM)end, (LPARAM)end);
      SendMessageW(editor, EM_REPLACESEL, TRUE, (LPARAM)widen(step.value).c_str());
    } else if (step.name == "save") {
      if (!clickCue(IDC_CUE_SAVE)) return false;
    } else if (step.name == "play") {  // the file becomes the current entry, from its start
      playEntry(player, step.value);
    } else if (step.name == "length") {
      player.lengthSeconds = atoi(step.value.c_str());
    } else if (step.name == "type") {  // the type (from 1) chosen in the next Save As dialog
      player.saveTypes.assign(1, atoi(step.value.c_str()));
    } else if (step.name == "export") {
      player.saveAnswers.assign(1, step.value);
      if (!clickCue(IDC_CUE_EXPORT)) return false;
    } else if (step.name == "print") {
      printSheet();
    } else if (step.name == "wait") {
      player.pump((DWORD)atoi(step.value.c_str()));
    } else if (step.name == "hold") {
      printf("READY\n");
      fflush(stdout);
      for (;;) player.pump(1000);  // until the test kills the process
    }
    player.pump();
    for (; boxes < player.messageBoxes.size(); ++boxes) printBox(player.messageBoxes[boxes]);
  }
  return true;
}

int runSession(StandInPlayer& player) {
  markTrack(player, 0, "Opening", "Artist One");
  markTrack(player, 245120, "Second Wind", "Artist Two");
  markTrack(player, 3723450, "After the Hour", "Artist Three");
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  if (!cue) {
    fprintf(stderr, "no Cue window\n");
    return 1;
  }
  printf("%s\n", sheetText().c_str());
  return 0;
}

}  // namespace

int main() {
  Options o = parse(wideArguments());
  if (o.scene == "general") chooseTab(o.dll, 0);
  if (o.scene == "format") chooseTab(o.dll, 1);
  if (o.scene == "about") chooseTab(o.dll, 2);

  StandInPlayer player;
  setUpPlaylist(player);
  if (!o.file.empty()) player.playlist[0].path = o.file;
  for (const std::string& path : o.added) {
    PlaylistEntry entry;
    entry.path = path;
    player.playlist.push_back(entry);
  }
  if (!o.playFile.empty()) {
    player.playlist[0].path = o.playFile;
    player.lengthSeconds = playingSeconds(o.playFile);
  }
  ShowWindow(player.window(), SW_SHOWNA);
  // The player model loads by an ANSI path: a DLL folder outside the code page is not reached.
  if (!player.load(toAnsi(o.dll))) {
    fprintf(stderr, "cannot load %s\n", o.dll.c_str());
    return 1;
  }
  player.init();
  // The hot-key actions are registered 500 ms after start-up, a sheet that came back is shown
  // then: the player is up.
  const DWORD kStartUpBoundMs = 3000;
  for (DWORD started = GetTickCount(); player.hotkeys.empty() && GetTickCount() - started < kStartUpBoundMs;)
    player.pump(5);
  if (player.hotkeys.empty()) {
    fprintf(stderr, "the plug-in registered no hot-key action\n");
    return 1;
  }
  int result = !o.playFile.empty() ? runLive(player, o)
               : !o.steps.empty()   ? (runSteps(player, o) ? 0 : 1)
               : o.scene.empty()    ? runSession(player)
                                    : runScene(player, o);
  player.close();
  return result;
}
