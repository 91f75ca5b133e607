// The snapping benchmark through the real plug-in: gen_lumo.dll in the stand-in player, each
// transition's WAV played and decoded by the plug-in through the player's decode-file service,
// then every press of the seeded listener marked as the hot key marks (the capture message to
// the player's window), committed with the Info window's OK and its INDEX 01 read back from the
// Cue editor; where a change point is offered, Snap then takes it. Prints the table per type and
// source, and how often the plug-in's marks equal the native rule's.
//   snap_bench PRESSES         PRESSES: as the native half writes them (bench/snapBench.cpp)
//   snap_bench --long WAV      the time from the start of playback until the plug-in has read
//                              the whole file, and the longest wait of the player's loop meanwhile
// Unix paths (from /) are read through Wine's drive Z:.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../player/decodeService.h"
#include "../player/standInPlayer.h"
#include "../player/wideText.h"
#include "../res/resource.h"
#include "snapTable.h"

namespace {

const DWORD kStartBoundMs = 5000;      // until the plug-in's windows stand
const DWORD kDecodeBoundMs = 300000;   // one file read by the plug-in (the 2-hour one included)
const DWORD kIdleProbeMs = 3000;       // the loop's latency with nothing decoding, for comparison
const DWORD kProbeEveryMs = 2;         // between two probe messages
const WPARAM kProbeTag = 0x5A9B;       // a probe's WM_NULL carries this
const size_t kShownDisagreements = 8;
const char kSaidSilence[] = "at the end of a silence";  // the Info window's line for a moved mark
const char kSaidChange[] = "a change";                  // ... for an offered change point

long long nowMicros() { return counterMicros(); }

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

void removeFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeFolder(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

// The plug-in running in a stand-in player, from a folder of its own (its copy of the DLL, its
// plugin.ini, and as %APPDATA% the place of its recovery copy).
class Session {
 public:
  explicit Session(int markOffsetMs) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "lumo_snapbench_" + std::to_string(GetCurrentProcessId());
    removeFolder(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    SetEnvironmentVariableA("APPDATA", folder_.c_str());
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string programFolder = program;
    programFolder.resize(programFolder.find_last_of('\\'));
    dll_ = folder_ + "\\gen_lumo.dll";
    copied_ = CopyFileA((programFolder + "\\gen_lumo.dll").c_str(), dll_.c_str(), FALSE) != 0;
    std::string ini = "[LUMO]\r\nmarkoffset=" + std::to_string(markOffsetMs) + "\r\n";
    HANDLE file = CreateFileA((folder_ + "\\plugin.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
      WriteFile(file, ini.data(), (DWORD)ini.size(), &written, nullptr);
      CloseHandle(file);
    }
    player.reset(new StandInPlayer());
    PlaylistEntry entry;
    entry.title = "Snapping";
    player->playlist.push_back(entry);
  }
  ~Session() {
    if (player && player->module()) player->close();
    player.reset();  // the DLL goes with the player
    removeFolder(folder_);
  }

  bool start() {
    if (!copied_ || !player->load(dll_)) return false;
    player->init();
    return pumpUntil([] { return findPluginDialog(IDC_CUE_EDITOR) != nullptr; }, kStartBoundMs);
  }

  // Runs the player's loop until done() holds, at most boundMs; returns done().
  bool pumpUntil(const std::function<bool()>& done, DWORD boundMs) {
    const DWORD kStepMs = 2;
    DWORD started = GetTickCount();
    while (!done()) {
      if (GetTickCount() - started >= boundMs) return done();
      player->pump(kStepMs);
    }
    return true;
  }

  // Plays the file from its start and runs the loop until the plug-in has read it through the
  // player's decoder (the service's streams opened and all closed again); false when the
  // service refused it or the bound passed.
  bool playAndWaitForTheAudio(const std::string& path, int lengthMs, DWORD boundMs) {
    player->playlist[0].path = path;
    player->lengthSeconds = (lengthMs + 999) / 1000;
    DecodeCounts before = decodeCounts();
    player->startEntry(0);
    bool ended = pumpUntil([&] {
      DecodeCounts now = decodeCounts();
      return (now.opened > before.opened && now.open == 0) || now.refusals > before.refusals;
    }, boundMs);
    return ended && decodeCounts().refusals == before.refusals;
  }

  std::unique_ptr<StandInPlayer> player;

 private:
  std::string folder_;
  std::string dll_;
  bool copied_ = false;
};

HWND cueWindow() { return findPluginDialog(IDC_CUE_EDITOR); }
HWND cueEditor() { return GetDlgItem(cueWindow(), IDC_CUE_EDITOR); }
HWND infoWindow() { return findPluginDialog(IDC_INFO_OK); }

void click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// The frames of the first INDEX 01 in the editor; -1 when there is none.
long long indexFrames() {
  std::string sheet = windowTextOf(cueEditor());
  size_t at = sheet.find("INDEX 01 ");
  int minutes = 0, seconds = 0, frames = 0;
  if (at == std::string::npos || sscanf(sheet.c_str() + at + 9, "%d:%d:%d", &minutes, &seconds, &frames) != 3)
    return -1;
  return ((long long)minutes * 60 + seconds) * 75 + frames;
}

bool startsWith(const std::string& text, const char* prefix) { return text.compare(0, strlen(prefix), prefix) == 0; }

struct Press {
  long long keyMs;
  long long ruleFrame;  // where the native rule put it
};

struct Transition {
  std::string type, source, path;
  long long truth = 0;
  int lengthMs = 0;
  std::vector<Press> presses;
};

struct Tally {
  size_t presses = 0, agreeing = 0, unreadable = 0, unsaid = 0;
  std::vector<std::string> disagreements;
};

// One press marked, committed and read back; the sheet emptied again by hand afterwards (the
// next mark starts a new sheet), so that no earlier mark stands beside it.
bool markOne(Session& session, const Transition& t, const Press& press, int offsetMs, Outcome* o, Tally* tally) {
  StandInPlayer& player = *session.player;
  player.seek((int)press.keyMs);
  player.capture(CAPTURE_MARK);
  player.pump();
  HWND info = infoWindow();
  if (!info) return false;
  std::string said = windowTextOf(GetDlgItem(info, IDC_INFO_PLACED));
  SetDlgItemTextW(info, IDC_INFO_TITLE, L"Snapping");
  click(info, IDC_INFO_OK);
  player.pump();
  long long placed = indexFrames();
  long long pressed = frameOfMs(press.keyMs > offsetMs ? press.keyMs - offsetMs : 0);
  o->pressedError = pressed - t.truth;
  o->moved = startsWith(said, kSaidSilence);
  o->offered = startsWith(said, kSaidChange);
  o->error = placed - t.truth;
  o->offerNear = false;
  if (placed < 0) ++tally->unreadable;
  // A mark left where it was pressed must say nothing about a silence: a check of this program.
  if (!o->moved && placed != pressed) ++tally->unsaid;
  ++tally->presses;
  if (placed == press.ruleFrame) {
    ++tally->agreeing;
  } else if (tally->disagreements.size() < kShownDisagreements) {
    char line[400];
    snprintf(line, sizeof line, "  %s: key at %lld ms, the plug-in's mark at frame %lld, the native rule's at %lld",
             t.path.c_str(), press.keyMs, placed, press.ruleFrame);
    tally->disagreements.push_back(line);
  }
  if (o->offered) {
    // The user takes the offer: the caret in the track, Snap.
    int length = GetWindowTextLengthW(cueEditor());
    SendMessageW(cueEditor(), EM_SETSEL, length, length);
    click(cueWindow(), IDC_CUE_SNAP);
    player.pump();
    long long snapped = indexFrames();
    o->offerNear = snapped >= 0 && std::llabs(snapped - t.truth) <= 2;
  }
  SendMessageW(cueEditor(), EM_SETSEL, 0, -1);
  SendMessageW(cueEditor(), EM_REPLACESEL, TRUE, (LPARAM)L"");
  player.pump();
  return placed >= 0;
}

bool readPresses(const char* path, int* offsetMs, std::vector<Transition>* transitions) {
  std::ifstream in(path);
  std::string word, line;
  if (!(in >> word >> *offsetMs) || word != "markoffset") return false;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Transition t;
    if (!(fields >> t.type >> t.source >> t.path >> t.truth >> t.lengthMs)) continue;
    t.path = windowsPath(t.path);
    Press p;
    while (fields >> p.keyMs >> p.ruleFrame) t.presses.push_back(p);
    transitions->push_back(t);
  }
  return !transitions->empty();
}

int runPresses(const char* pressesPath) {
  int offsetMs = 0;
  std::vector<Transition> transitions;
  if (!readPresses(pressesPath, &offsetMs, &transitions)) {
    fprintf(stderr, "snap_bench: cannot read the presses in %s\n", pressesPath);
    return 2;
  }
  Session session(offsetMs);
  if (!session.start()) {
    fprintf(stderr, "snap_bench: the plug-in did not start\n");
    return 2;
  }
  OutcomeRows rows;
  Tally tally;
  int status = 0;
  long long started = nowMicros();
  double decoding = 0;
  for (const Transition& t : transitions) {
    long long before = nowMicros();
    if (!session.playAndWaitForTheAudio(t.path, t.lengthMs, kDecodeBoundMs)) {
      fprintf(stderr, "snap_bench: the plug-in did not read %s\n", t.path.c_str());
      status = 1;
      continue;
    }
    decoding += (double)(nowMicros() - before) / 1e6;
    std::vector<Outcome>& row = rows[t.type + " " + t.source];
    for (const Press& press : t.presses) {
      Outcome o;
      if (!markOne(session, t, press, offsetMs, &o, &tally)) {
        fprintf(stderr, "snap_bench: no entry for the key at %lld ms in %s\n", press.keyMs, t.path.c_str());
        status = 1;
        continue;
      }
      row.push_back(o);
    }
  }
  printf("the plug-in (gen_lumo.dll) in the stand-in player: %lu transitions, each played and read through the\n"
         "decode-file service (%.1f s in all), %lu presses marked, committed and read back (%.1f s in all)\n",
         (unsigned long)transitions.size(), decoding, (unsigned long)tally.presses,
         (double)(nowMicros() - started) / 1e6 - decoding);
  printSnapTable(rows, offsetMs, "Snap (F6)");
  printf("the plug-in's marks equal the native rule's (features of the same WAV read natively) in %lu of %lu presses\n",
         (unsigned long)tally.agreeing, (unsigned long)tally.presses);
  for (const std::string& line : tally.disagreements) printf("%s\n", line.c_str());
  if (tally.unreadable || tally.unsaid) {
    printf("NOT CONSISTENT: %lu entries without an INDEX 01, %lu marks moved without the Info window saying so\n",
           (unsigned long)tally.unreadable, (unsigned long)tally.unsaid);
    status = 1;
  }
  return status;
}

// The player loop's latency: a thread posts a probe to the player's window every few
// milliseconds, stamped with the moment it was posted; a hook on the player's thread notes how
// long each waited until the loop took it.
struct Probes {
  volatile LONG running;
  std::vector<double>* waitsMs;
};
Probes gProbes = {0, nullptr};

LRESULT CALLBACK probeHook(int code, WPARAM removed, LPARAM param) {
  const MSG* msg = (const MSG*)param;
  if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_NULL && msg->wParam == kProbeTag &&
      gProbes.waitsMs) {
    DWORD now = (DWORD)nowMicros();
    gProbes.waitsMs->push_back((double)(DWORD)(now - (DWORD)msg->lParam) / 1000);
  }
  return CallNextHookEx(nullptr, code, removed, param);
}

DWORD WINAPI probeThread(LPVOID window) {
  while (gProbes.running) {
    PostMessageW((HWND)window, WM_NULL, kProbeTag, (LPARAM)(DWORD)nowMicros());
    Sleep(kProbeEveryMs);
  }
  return 0;
}

// Runs work while the probes go; their waits in ms, sorted.
std::vector<double> probeWhile(HWND window, const std::function<void()>& work) {
  std::vector<double> waits;
  gProbes.waitsMs = &waits;
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, probeHook, nullptr, GetCurrentThreadId());
  gProbes.running = 1;
  HANDLE thread = CreateThread(nullptr, 0, probeThread, window, 0, nullptr);
  work();
  InterlockedExchange(&gProbes.running, 0);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  UnhookWindowsHookEx(hook);
  gProbes.waitsMs = nullptr;
  std::sort(waits.begin(), waits.end());
  return waits;
}

double at(const std::vector<double>& sorted, double percent) {
  if (sorted.empty()) return 0;
  size_t index = (size_t)(percent / 100 * (double)(sorted.size() - 1));
  return sorted[index];
}

double processorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return (double)(((unsigned long long)user.dwHighDateTime << 32 | user.dwLowDateTime) +
                  ((unsigned long long)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime)) / 1e7;
}

int runLong(const std::string& wavPath) {
  std::string path = windowsPath(wavPath);
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
    fprintf(stderr, "snap_bench: no file %s\n", path.c_str());
    return 2;
  }
  double megabytes = (double)((unsigned long long)attributes.nFileSizeHigh << 32 | attributes.nFileSizeLow) / 1e6;
  Session session(0);
  if (!session.start()) {
    fprintf(stderr, "snap_bench: the plug-in did not start\n");
    return 2;
  }
  HWND window = session.player->window();
  std::vector<double> idle = probeWhile(window, [&] { session.player->pump(kIdleProbeMs); });
  bool read = false;
  double seconds = 0, processor = 0;
  DecodeCounts before = decodeCounts();
  std::vector<double> busy = probeWhile(window, [&] {
    long long start = nowMicros();
    double processorStart = processorSeconds();
    read = session.playAndWaitForTheAudio(path, 2 * 3600 * 1000, kDecodeBoundMs);
    seconds = (double)(nowMicros() - start) / 1e6;
    processor = processorSeconds() - processorStart;
  });
  DecodeCounts after = decodeCounts();
  printf("a 2-hour file (%.0f MB of WAV): the plug-in read all of it through the player's decoder %.1f s after\n"
         "playback began (goal: within 60 s), %.0f MB read, %.1f s of processor time in all threads%s\n",
         megabytes, seconds, (double)(after.bytesRead - before.bytesRead) / 1e6, processor,
         read ? "" : " (NOT READ WHOLE: refused or over the bound)");
  printf("the player's loop meanwhile: %lu probes, one posted every %lu ms: the longest waited %.1f ms (goal: at\n"
         "most 16 ms), 99.9 %% within %.1f ms, 99 %% within %.1f ms; with nothing decoding (%lu probes in %.0f s): the\n"
         "longest %.1f ms, 99.9 %% within %.1f ms\n",
         (unsigned long)busy.size(), (unsigned long)kProbeEveryMs, busy.empty() ? 0 : busy.back(), at(busy, 99.9),
         at(busy, 99), (unsigned long)idle.size(), kIdleProbeMs / 1000.0, idle.empty() ? 0 : idle.back(),
         at(idle, 99.9));
  return read ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && !strcmp(argv[1], "--long")) return runLong(argv[2]);
  if (argc != 2) {
    fprintf(stderr, "usage: snap_bench PRESSES | snap_bench --long WAV\n");
    return 2;
  }
  return runPresses(argv[1]);
}
