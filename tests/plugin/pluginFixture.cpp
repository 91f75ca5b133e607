// The fixture that runs the real DLL in the stand-in player.
#include "pluginFixture.h"

#include <windows.h>

#include <cstdio>
#include "../../player/wideText.h"
#include "../../res/resource.h"

namespace {

struct Search {
  int controlId;
  HWND found;
};

void removeFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeFolder(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

WNDPROC windowProcOf(HWND window) {
  return (WNDPROC)(IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                           : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

std::string programFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\'));
}

static BOOL CALLBACK findDescendantProc(HWND window, LPARAM param) {
  Search* search = (Search*)param;
  if (GetDlgCtrlID(window) != search->controlId) return TRUE;
  search->found = window;
  return FALSE;
}

HWND findDescendant(HWND root, int controlId) {
  Search search = {controlId, nullptr};
  if (root) EnumChildWindows(root, findDescendantProc, (LPARAM)&search);
  return search.found;
}

static int countGdiObjects() {
  DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted > 0) return (int)counted;
  const ULONG_PTR kHandleIndexes = 0x10000;
  int live = 0;
  for (ULONG_PTR index = 1; index < kHandleIndexes; ++index)
    if (GetObjectType((HGDIOBJ)index)) ++live;
  return live;
}

int liveGdiObjects() {
  // The leak checks are only as good as the count: once per run, it must see a brush come
  // and go.
  static bool proven = false;
  if (!proven) {
    int before = countGdiObjects();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    bool seen = countGdiObjects() == before + 1;
    DeleteObject(brush);
    seen = seen && countGdiObjects() == before;
    if (!seen) ADD_FAILURE() << "the GDI object count does not see a brush: leak checks would prove nothing";
    proven = true;
  }
  return countGdiObjects();
}

static BOOL CALLBACK countOne(HWND, LPARAM count) {
  ++*(int*)count;
  return TRUE;
}

static BOOL CALLBACK countWithChildren(HWND window, LPARAM count) {
  ++*(int*)count;
  EnumChildWindows(window, countOne, count);
  return TRUE;
}

int liveWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), countWithChildren, (LPARAM)&count);
  return count;
}

std::string tracksOf(const std::string& sheet, bool withPerformer) {
  std::string out;
  for (size_t at = sheet.find("TRACK "); at != std::string::npos; at = sheet.find("TRACK ", at + 1)) {
    size_t title = sheet.find("TITLE \"", at) + 7;
    size_t index = sheet.find("INDEX 01 ", at) + 9;
    out += sheet.substr(at + 6, 2) + ":";
    if (withPerformer) {
      size_t performer = sheet.find("PERFORMER \"", at) + 11;
      out += sheet.substr(performer, sheet.find('"', performer) - performer) + "|";
    }
    out += sheet.substr(title, sheet.find('"', title) - title) + "@" +
           sheet.substr(index, sheet.find_first_of("\r\n", index) - index) + " ";
  }
  return out;
}

std::vector<std::string> eventsFrom(const StandInPlayer& player, size_t first) {
  return player.eventsSince(first);
}

void PluginTest::SetUp() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  char name[64];
  snprintf(name, sizeof name, "lumo_%lu_%d", GetCurrentProcessId(), ++counter);
  folder = std::string(temp) + name;
  // Wine reuses process ids: a run that was killed may have left this folder, recovery copy
  // and all.
  removeFolder(folder);
  removeFolder(appDataFolder());
  CreateDirectoryA(folder.c_str(), nullptr);
  // The plug-in also keeps and looks for recovery copies in the user's application-data folder:
  // each test has its own, so no copy reaches another test or a later run (players this test
  // starts inherit it).
  CreateDirectoryA(appDataFolder().c_str(), nullptr);
  SetEnvironmentVariableA("APPDATA", appDataFolder().c_str());
  dllPath = folder + "\\gen_lumo.dll";
  ASSERT_TRUE(CopyFileA((programFolder() + "\\gen_lumo.dll").c_str(), dllPath.c_str(), FALSE))
      << "gen_lumo.dll must stand beside the test program";

  newPlayer();
}

void PluginTest::newPlayer(bool ansiWindow) {
  if (player && player->module()) stop();
  player.reset();
  player.reset(new StandInPlayer(ansiWindow));
  PlaylistEntry mix;
  mix.path = "D:\\Music\\Live.2004\\set1.mp3";
  mix.title = "Set One";
  mix.fields["artist"] = "The Band";
  mix.fields["title"] = "Live 2004";
  mix.fields["year"] = "2004";
  player->playlist.push_back(mix);
  player->lengthSeconds = 4000;
}

void PluginTest::TearDown() {
  if (player) {
    if (player->module()) stop();
    player.reset();  // the process ends: the kept copies of the DLL go
  }
  removeFolder(folder);
  removeFolder(appDataFolder());
  SetEnvironmentVariableA("APPDATA", nullptr);
}

void PluginTest::start(bool waitForHotkey, bool untilWindows) {
  // A player that closed keeps its copy of the DLL loaded, as the real one does until its
  // process ends: the next start, a new player process, loads a fresh copy.
  if (GetModuleHandleA(dllPath.c_str())) {
    std::string fresh = folder + "\\gen_lumo-" + std::to_string(++restarts) + ".dll";
    ASSERT_TRUE(CopyFileA((programFolder() + "\\gen_lumo.dll").c_str(), fresh.c_str(), FALSE)) << fresh;
    dllPath = fresh;
  }
  ASSERT_TRUE(player->load(dllPath)) << dllPath << ": error " << GetLastError();
  hotkeysAtStart = player->hotkeys.size();
  player->init();
  // The plug-in makes its windows once the player's loop runs, as the player shows itself.
  const DWORD kShowBoundMs = 2000;
  if (untilWindows && player->version >= HOST_VERSION_REQUIRED)
    pumpUntil([&] { return cueWindow() != nullptr; }, kShowBoundMs);
  if (waitForHotkey) {
    EXPECT_TRUE(waitForHotkeys()) << "hot-key actions not registered";
  }
}

bool PluginTest::waitForHotkeys() {
  const DWORD kBoundMs = 3000;  // the timer is due after 500 ms
  return pumpUntil([&] { return player->hotkeys.size() > hotkeysAtStart; }, kBoundMs);
}

bool PluginTest::pumpUntil(const std::function<bool()>& done, DWORD boundMs) {
  const DWORD kStepMs = 5;
  DWORD started = GetTickCount();
  while (!done()) {
    if (GetTickCount() - started >= boundMs) return done();
    player->pump(kStepMs);
  }
  return true;
}

void PluginTest::stop() { player->close(); }

HWND PluginTest::cueWindow() const { return findPluginDialog(IDC_CUE_EDITOR); }
HWND PluginTest::infoWindow() const { return findPluginDialog(IDC_INFO_OK); }
HWND PluginTest::cueEditor() const { return GetDlgItem(cueWindow(), IDC_CUE_EDITOR); }

std::string PluginTest::fieldText(HWND dialog, int id) const { return windowTextOf(GetDlgItem(dialog, id)); }

std::string PluginTest::editorText() const { return fieldText(cueWindow(), IDC_CUE_EDITOR); }

void PluginTest::mark() {
  player->capture(CAPTURE_MARK);
  player->pump();
}

void PluginTest::typeInfo(const std::string& title, const std::string& performer) {
  HWND info = infoWindow();
  ASSERT_NE(info, nullptr);
  SetDlgItemTextW(info, IDC_INFO_TITLE, widen(title).c_str());
  SetDlgItemTextW(info, IDC_INFO_PERFORMER, widen(performer).c_str());
}

void PluginTest::clickOk() {
  HWND info = infoWindow();
  ASSERT_NE(info, nullptr);
  SendMessageA(info, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)GetDlgItem(info, IDC_INFO_OK));
  player->pump();
}

void PluginTest::closeInfo() {
  SendMessageA(infoWindow(), WM_CLOSE, 0, 0);
  player->pump();
}

void PluginTest::clickCue(int id) {
  HWND cue = cueWindow();
  ASSERT_NE(cue, nullptr);
  SendMessageA(cue, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(cue, id));
  player->pump();
}

void PluginTest::resetSheet() {
  player->boxAnswers.assign(1, IDYES);
  clickCue(IDC_CUE_RESET);
  player->boxAnswers.clear();
}

void PluginTest::setEditorByHand(const std::string& text) {
  SendMessageW(cueEditor(), EM_SETSEL, 0, -1);
  SendMessageW(cueEditor(), EM_REPLACESEL, TRUE, (LPARAM)widen(text).c_str());
  player->pump();
}

void PluginTest::commitEntry(const std::string& title, const std::string& performer) {
  mark();
  typeInfo(title, performer);
  clickOk();
}

void PluginTest::caretOn(const std::string& piece) {
  // The editor counts UTF-16 units.
  size_t at = widen(editorText()).find(widen(piece));
  ASSERT_NE(at, std::wstring::npos) << piece;
  SendMessageW(cueEditor(), EM_SETSEL, at, at);
}

void PluginTest::key(UINT message, WPARAM vk, bool shift, bool ctrl, bool alt) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_MENU] = alt ? 0x80 : 0;
  SetKeyboardState(keys);
  PostMessageA(cueEditor(), message, vk, 0);
  player->pump();
  keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}

std::string PluginTest::readFile(const std::string& path) const {
  // Shared for delete too: a test that polls a file never stops the plug-in replacing it.
  HANDLE f = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char chunk[4096];
  DWORD n = 0;
  while (ReadFile(f, chunk, (DWORD)sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(f);
  return bytes;
}

void PluginTest::writeFile(const std::string& path, const std::string& bytes) const {
  FILE* f = _wfopen(widen(path).c_str(), L"wb");
  ASSERT_NE(f, nullptr) << path;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}
