// Measures what LumoMarker costs the player, side by side with the player alone, and prints a
// table: message throughput with our window procedure and with the tooltip relay hook, the
// cost of one commit as the sheet grows (with the recovery copy written, and with it blocked),
// the delay from the hot key to the pause command, and the start-up cost against an empty
// plug-in and with a recovered sheet. The DLLs run from a folder of their own, where their
// plugin.ini and recovery copy go.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../player/standInPlayer.h"
#include "../res/resource.h"
#include "stripBench.h"

namespace {

const char kHotkeyId[] = "LUMOPluginDoActionOn";
const int kRepeats = 5;

double nowMicroseconds() {
  static LARGE_INTEGER frequency = {};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (double)now.QuadPart * 1e6 / (double)frequency.QuadPart;
}

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string programFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return folderOf(path);
}

// The best of several runs of f, in microseconds.
template <class F>
double best(F f) {
  double result = 1e30;
  for (int i = 0; i < kRepeats; ++i) result = std::min(result, f());
  return result;
}

void setUp(StandInPlayer& player) {
  PlaylistEntry mix;
  mix.path = "C:\\mixes\\bench.mp3";
  mix.fields["artist"] = "Bench";
  mix.fields["title"] = "Mark";
  player.playlist.push_back(mix);
  player.lengthSeconds = 7200;
}

bool startPlugin(StandInPlayer& player, const std::string& dll) {
  if (!player.load(dll)) return false;
  player.init();
  for (int i = 0; i < 200 && player.hotkeys.empty(); ++i) player.pump(10);
  return !player.hotkeys.empty();
}

double sendMessages(HWND window, int count) {
  double start = nowMicroseconds();
  for (int i = 0; i < count; ++i) SendMessageA(window, WM_NULL, 0, 0);
  return nowMicroseconds() - start;
}

double postAndDrain(StandInPlayer& player, int count) {
  for (int i = 0; i < count; ++i) PostMessageA(player.window(), WM_NULL, 0, 0);
  double start = nowMicroseconds();
  player.pump();
  return nowMicroseconds() - start;
}

// Mark, type, OK: until the play command has reached the player.
double oneCommit(StandInPlayer& player, HWND info) {
  player.playState = HOST_STATE_PLAYING;
  double start = nowMicroseconds();
  player.pressHotkey(kHotkeyId);
  SetDlgItemTextA(info, IDC_INFO_TITLE, "Benchmark");
  SendMessageA(info, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)GetDlgItem(info, IDC_INFO_OK));
  return nowMicroseconds() - start;
}

std::string sheetOf(int entries) {
  std::string text = "PERFORMER \"Bench\"\r\nTITLE \"Mark\"\r\nFILE \"bench.mp3\" MP3";
  char entry[160];
  for (int i = 1; i <= entries; ++i) {
    snprintf(entry, sizeof entry,
             "\r\nTRACK %02d AUDIO\r\n    TITLE \"Track %d\"\r\n    PERFORMER \"Somebody\"\r\n    INDEX 01 %02d:00:00",
             i, i, i);
    text += entry;
  }
  return text;
}

// Baselines for what any subclass and any message hook cost on this platform.
WNDPROC gPlainSaved = nullptr;
LRESULT CALLBACK plainSubclass(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(gPlainSaved, w, m, wp, lp);
}
LRESULT CALLBACK plainHook(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(nullptr, code, wp, lp); }

struct Row {
  std::string name;
  std::string with;
  std::string without;
  std::string ratio;
  std::string target;
};

std::string fmt(const char* format, double value) {
  char text[64];
  snprintf(text, sizeof text, format, value);
  return text;
}

// A fresh folder with copies of the two DLLs.
std::string benchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "lumo_bench_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"\\gen_lumo.dll", "\\empty_plugin.dll"})
    CopyFileA((programFolder() + name).c_str(), (folder + name).c_str(), FALSE);
  return folder;
}

void removeBenchFolder(const std::string& folder) {
  for (const char* name : {"\\gen_lumo.dll", "\\empty_plugin.dll", "\\plugin.ini", "\\lumo_unsaved.cue"})
    DeleteFileA((folder + name).c_str());
  RemoveDirectoryA((folder + "\\lumo_unsaved.tmp").c_str());
  RemoveDirectoryA(folder.c_str());
}

// B1 to B4: the plug-in running in the player. False when it cannot be started.
bool measureRunning(StandInPlayer& player, const std::string& folder, const std::string& dll,
                    const std::string& copy, std::vector<Row>& rows) {
  const int kMessages = 100000;
  // B1: the player's window alone; then an empty subclass alone in front of it; then, with the
  // empty one removed, our procedure alone in front of it.
  sendMessages(player.window(), 1000);
  double bare = best([&] { return sendMessages(player.window(), kMessages); });
  gPlainSaved = (WNDPROC)SetWindowLongPtrA(player.window(), GWLP_WNDPROC, (LONG_PTR)plainSubclass);
  double plain = best([&] { return sendMessages(player.window(), kMessages); });
  SetWindowLongPtrA(player.window(), GWLP_WNDPROC, (LONG_PTR)gPlainSaved);
  if (!startPlugin(player, dll)) {
    fprintf(stderr, "cannot start %s\n", dll.c_str());
    return false;
  }
  double captured = best([&] { return sendMessages(player.window(), kMessages); });
  double bareRate = kMessages / bare * 1e6;
  double capturedRate = kMessages / captured * 1e6;
  rows.push_back({"B1 messages/s through the player's window", fmt("%.0f", capturedRate),
                  fmt("%.0f", bareRate), fmt("%.3f", capturedRate / bareRate), ">= 0.95"});
  double plainRate = kMessages / plain * 1e6;
  rows.push_back({"B1' same, an empty subclass instead of ours", fmt("%.0f", plainRate),
                  fmt("%.0f", bareRate), fmt("%.3f", plainRate / bareRate), "platform baseline"});

  // B2: draining the queue with no preferences page, then with a page current (relay hook).
  double noPage = best([&] { return postAndDrain(player, kMessages); });
  player.config();
  player.pump();
  double withPage = best([&] { return postAndDrain(player, kMessages); });
  player.closePreferences();
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, plainHook, nullptr, GetCurrentThreadId());
  double emptyHook = best([&] { return postAndDrain(player, kMessages); });
  UnhookWindowsHookEx(hook);
  double noPageRate = kMessages / noPage * 1e6;
  double withPageRate = kMessages / withPage * 1e6;
  rows.push_back({"B2 message loop, messages/s", fmt("%.0f", withPageRate), fmt("%.0f", noPageRate),
                  fmt("%.3f", withPageRate / noPageRate), ">= 0.90"});
  double emptyHookRate = kMessages / emptyHook * 1e6;
  rows.push_back({"B2' same, an empty hook instead of ours", fmt("%.0f", emptyHookRate),
                  fmt("%.0f", noPageRate), fmt("%.3f", emptyHookRate / noPageRate), "platform baseline"});

  // B3: one commit as the sheet grows, the recovery copy written each time; then the same with
  // the copy blocked (a folder where its temporary file would go), for the copy's own cost.
  HWND info = findPluginDialog(IDC_INFO_OK);
  HWND cue = findPluginDialog(IDC_CUE_EDITOR);
  oneCommit(player, info);
  double atOne = 0;
  double written[2] = {0, 0};
  for (int entries : {1, 100, 1000, 10000}) {
    SetDlgItemTextA(cue, IDC_CUE_EDITOR, sheetOf(entries).c_str());
    player.positionMs = (entries + 1) * 60000;  // marking on: the entry goes at the end
    double t = best([&] { return oneCommit(player, info); });
    if (entries == 1) atOne = t;
    if (entries == 1000) written[0] = t;
    rows.push_back({"B3 one commit and its copy, " + std::to_string(entries) + " entries (us)",
                    fmt("%.0f", t), entries == 1 ? "-" : fmt("%.0f", atOne), fmt("%.2f", t / atOne),
                    entries == 1000 ? "<= 1.50" : ""});
  }
  CreateDirectoryA((folder + "\\lumo_unsaved.tmp").c_str(), nullptr);
  SetDlgItemTextA(cue, IDC_CUE_EDITOR, sheetOf(1000).c_str());
  player.positionMs = 1001 * 60000;
  written[1] = best([&] { return oneCommit(player, info); });
  RemoveDirectoryA((folder + "\\lumo_unsaved.tmp").c_str());
  rows.push_back({"B3' one commit, 1000 entries, copy blocked (us)", fmt("%.0f", written[1]), "-", "-",
                  "the copy adds " + fmt("%.0f us", written[0] - written[1]) + " (<= 2000)"});
  // The copy itself is written on the writer's thread: how long after the commit it is on disk.
  SetDlgItemTextA(cue, IDC_CUE_EDITOR, sheetOf(1000).c_str());
  player.positionMs = 1001 * 60000;
  double onDisk = best([&] {
    WIN32_FILE_ATTRIBUTE_DATA before = {}, now = {};
    GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &before);
    double start = nowMicroseconds();
    oneCommit(player, info);
    do {
      GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &now);
    } while (now.nFileSizeLow == before.nFileSizeLow && nowMicroseconds() - start < 1e6);
    return nowMicroseconds() - start;
  });
  rows.push_back({"B3\" commit until its copy is on disk, 1000 entries (us)", fmt("%.0f", onDisk), "-",
                  "-", "off the player's thread"});
  // A mark made after seeking back to the start: the entry goes first and every track after it
  // is numbered again.
  for (int entries : {10, 100, 1000}) {
    double t = best([&] {
      SetDlgItemTextA(cue, IDC_CUE_EDITOR, sheetOf(entries).c_str());
      player.positionMs = 0;
      return oneCommit(player, info);
    });
    rows.push_back({"B3i commit placed first, " + std::to_string(entries) + " entries (us)", fmt("%.0f", t),
                    fmt("%.0f", atOne), fmt("%.2f", t / atOne), "seeking back: rare"});
  }

  // B4: from the hot-key message to the pause command reaching the player.
  double latency = best([&] {
    player.playState = HOST_STATE_PLAYING;
    double start = nowMicroseconds();
    player.pressHotkey(kHotkeyId);
    double paused = player.lastCommandMicroseconds - start;
    SendMessageA(info, WM_CLOSE, 0, 0);
    return paused;
  });
  rows.push_back({"B4 hot key to pause command (us)", fmt("%.0f", latency), "-", "-", "as low as possible"});
  player.quit();
  player.unload();
  return true;
}

// B5 and B6: start-up and shutdown. Each run loads a fresh copy of its DLL (named in
// freshCopies), as each start of the player does: the player keeps the DLL loaded after quit.
void measureStartUp(StandInPlayer& player, const std::string& folder, const std::string& dll,
                    const std::string& empty, const std::string& copy, std::vector<Row>& rows,
                    std::vector<std::string>& freshCopies) {
  // B5: start-up and shutdown as the player does them, against an empty plug-in: load and init
  // with Global Hotkeys' default keys taken, then the main window destroyed, quit, and the DLL
  // kept loaded.
  int copies = 0;
  auto freshCopy = [&](const std::string& path) {
    std::string fresh = folder + "\\run" + std::to_string(++copies) + "_" + path.substr(path.find_last_of('\\') + 1);
    CopyFileA(path.c_str(), fresh.c_str(), FALSE);
    freshCopies.push_back(fresh);
    return fresh;
  };
  auto lifetime = [&](const std::string& path, double* initOnly) {
    double bestInit = 1e30;
    double total = best([&] {
      std::string fresh = freshCopy(path);
      player.takeGlobalHotkeyDefaults();
      double start = nowMicroseconds();
      player.load(fresh);
      player.init();
      bestInit = std::min(bestInit, nowMicroseconds() - start);
      player.close();
      return nowMicroseconds() - start;
    });
    if (initOnly) *initOnly = bestInit;
    return total;
  };
  DeleteFileA(copy.c_str());
  double oursInit = 0;
  double baselineInit = 0;
  double ours = lifetime(dll, &oursInit);
  double baseline = lifetime(empty, &baselineInit);
  rows.push_back({"B5 load+init+close, DLL kept (us)", fmt("%.0f", ours), fmt("%.0f", baseline),
                  fmt("%.2f", ours / baseline), "added: " + fmt("%.0f us", ours - baseline) + " (< 15000)"});
  rows.push_back({"B5' of it load+init (us)", fmt("%.0f", oursInit), fmt("%.0f", baselineInit),
                  fmt("%.2f", oursInit / baselineInit), "added: " + fmt("%.0f us", oursInit - baselineInit)});
  // The same with the windows made, which wait until the player's loop runs: load and init,
  // the loop until the windows stand, then close (the empty plug-in: one turn of the loop).
  auto shownLifetime = [&](const std::string& path, bool windows) {
    return best([&] {
      std::string fresh = freshCopy(path);
      player.takeGlobalHotkeyDefaults();
      double start = nowMicroseconds();
      player.load(fresh);
      player.init();
      player.pump();
      for (int i = 0; i < 1000 && windows && !findPluginDialog(IDC_CUE_EDITOR); ++i) player.pump();
      player.close();
      return nowMicroseconds() - start;
    });
  };
  double oursShown = shownLifetime(dll, true);
  double baselineShown = shownLifetime(empty, false);
  rows.push_back({"B5\" the same, the windows made (us)", fmt("%.0f", oursShown), fmt("%.0f", baselineShown),
                  fmt("%.2f", oursShown / baselineShown),
                  "added: " + fmt("%.0f us", oursShown - baselineShown) + ", after the player shows"});

  // B6: start-up with a 1,000-entry sheet left unsaved, against one without: load and init,
  // then the loop until the sheet is back in the Cue window. Each close writes the copy again
  // for the next round.
  auto startUp = [&]() {
    return best([&] {
      std::string fresh = freshCopy(dll);
      double start = nowMicroseconds();
      player.load(fresh);
      player.init();
      HWND cueWindow = nullptr;
      for (int i = 0; i < 1000 && !(cueWindow = findPluginDialog(IDC_CUE_EDITOR)); ++i) player.pump();
      for (int i = 0; i < 1000 && cueWindow && GetWindowTextLengthA(GetDlgItem(cueWindow, IDC_CUE_EDITOR)) == 0 &&
                      GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
           ++i)
        player.pump();
      double t = nowMicroseconds() - start;
      player.close();
      return t;
    });
  };
  DeleteFileA(copy.c_str());
  double plainStart = startUp();
  player.load(freshCopy(dll));
  player.init();
  for (int i = 0; i < 1000 && !findPluginDialog(IDC_CUE_EDITOR); ++i) player.pump();
  SetDlgItemTextA(findPluginDialog(IDC_CUE_EDITOR), IDC_CUE_EDITOR, sheetOf(1000).c_str());
  player.close();
  double recoveredStart = startUp();
  rows.push_back({"B6 start with a 1000-entry sheet back (us)", fmt("%.0f", recoveredStart),
                  fmt("%.0f", plainStart), fmt("%.2f", recoveredStart / plainStart),
                  "added: " + fmt("%.0f us", recoveredStart - plainStart)});
}

}  // namespace

// With the argument "startup", only the start-up rows (B5, B6).
int main(int argc, char** argv) {
  bool startupOnly = argc > 1 && std::string(argv[1]) == "startup";
  std::string folder = benchFolder();
  std::string dll = folder + "\\gen_lumo.dll";
  std::string empty = folder + "\\empty_plugin.dll";
  std::string copy = folder + "\\lumo_unsaved.cue";
  std::vector<Row> rows;
  std::vector<std::string> freshCopies;
  {
    StandInPlayer player;
    setUp(player);
    if (!startupOnly && !measureRunning(player, folder, dll, copy, rows)) return 1;
    measureStartUp(player, folder, dll, empty, copy, rows, freshCopies);
  }
  // The player is gone, and the copies it kept loaded with it.
  for (const std::string& fresh : freshCopies) DeleteFileA(fresh.c_str());
  removeBenchFolder(folder);

  // B7: the waveform strip painted whole, 60 s either side (up to 90 frames a column), 80 px high.
  for (int width : {100, 400, 1000, 2000, 4000}) {
    StripPaintTime t = measureStripPaint(width, 80, 50);
    rows.push_back({"B7 strip paint, 60 s either side, " + std::to_string(width) + " px (us)", fmt("%.0f", t.median),
                    "-", "-", "< 5000; worst " + fmt("%.0f", t.worst)});
  }

  printf("%-44s %14s %14s %8s  %s\n", "measure", "with plug-in", "without", "ratio", "target");
  for (const Row& r : rows)
    printf("%-44s %14s %14s %8s  %s\n", r.name.c_str(), r.with.c_str(), r.without.c_str(), r.ratio.c_str(),
           r.target.c_str());
  return 0;
}
