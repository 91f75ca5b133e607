// The stand-in player: its window, the plug-in's loading and closing, the preferences window,
// the message loop, the playback clock and the boxes and dialogs it catches.
#include "standInPlayer.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "wideText.h"

namespace {

const char kClassName[] = "StandInPlayerMain";
const wchar_t kClassNameWide[] = L"StandInPlayerMainW";
const int kSeekStepMs = 5000;         // Global Hotkeys' seek back and forth

StandInPlayer* gPlayer = nullptr;

// The preferences window: a tree of pages on the left, the page area on the right (pixels).
const int kPrefsWidthDlu = 290;
const int kPrefsHeightDlu = 220;
const POINT kPageAreaAt = {150, 10};
const int kPageAreaId = 0x3FF;

INT_PTR CALLBACK measureProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The page area is as large as the page's own template, in the page's own font.
SIZE pageAreaSize(const PrefsPageRecord& page, HWND parent) {
  SIZE size = {420, 410};
  HWND probe = CreateDialogParamA(page.module, MAKEINTRESOURCEA(page.dialogId), parent, measureProc, 0);
  if (!probe) return size;
  RECT r;
  GetWindowRect(probe, &r);
  size.cx = r.right - r.left;
  size.cy = r.bottom - r.top;
  DestroyWindow(probe);
  return size;
}

// An in-memory dialog template without controls: the preferences window's frame.
std::vector<WORD> prefsTemplate() {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE* d = (DLGTEMPLATE*)t.data();
  d->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
  d->dwExtendedStyle = WS_EX_CONTROLPARENT;
  d->x = 30;
  d->y = 20;
  d->cx = kPrefsWidthDlu;
  d->cy = kPrefsHeightDlu;
  t.push_back(0);  // no menu
  t.push_back(0);  // standard dialog class
  for (const char* c = "Preferences"; *c; ++c) t.push_back((WORD)*c);
  t.push_back(0);
  return t;
}

const int kFolderCombo = 1137;  // the file dialogs' folder list

bool isDialogClass(HWND window) {
  char className[64];
  GetClassNameA(window, className, (int)sizeof className);
  return strcmp(className, "#32770") == 0;
}


// A message box is a dialog with no edit field; its text is the static control that has text.
bool isMessageBox(HWND window) {
  return isDialogClass(window) && !isFileDialog(window) &&
         !FindWindowExA(window, nullptr, "Edit", nullptr);
}

std::string messageBoxText(HWND box) {
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    std::string text = windowTextOf(child);
    if (!text.empty()) return text;
  }
  return std::string();
}


// Boxes to answer once they have settled: by then the box has styled its default button, the
// one Enter presses.
struct PendingBox {
  HWND box;
  size_t caught;  // index in messageBoxes
};
std::vector<PendingBox> gPendingBoxes;

void CALLBACK answerMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  std::vector<PendingBox> pending;
  pending.swap(gPendingBoxes);
  for (const PendingBox& p : pending) {
    if (!gPlayer || !IsWindow(p.box) || p.caught >= gPlayer->messageBoxes.size()) continue;
    CaughtMessageBox& caught = gPlayer->messageBoxes[p.caught];
    // Wine's boxes answer DM_GETDEFID with IDOK whatever their buttons: the button styled as
    // the default one tells.
    for (int id : caught.buttons) {
      HWND button = GetDlgItem(p.box, id);
      if ((GetWindowLongPtrA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) caught.defaultButton = id;
    }
    caught.answer = caught.defaultButton;
    if (!gPlayer->boxAnswers.empty()) {
      caught.answer = gPlayer->boxAnswers.front();
      gPlayer->boxAnswers.pop_front();
    }
    PostMessageA(p.box, WM_COMMAND, (WPARAM)caught.answer, 0);
  }
}

// Answers a Save As dialog once it has settled (its folder and name are filled in by then).
HWND gPendingSaveDialog = nullptr;
UINT_PTR gSaveDialogTimer = 0;
void CALLBACK answerSaveDialog(HWND, UINT, UINT_PTR, DWORD);

// One answer at a time, to the dialog activated last: a dialog that closed before its answer
// came (after its overwrite prompt, say) gives way to the next one.
void scheduleSaveAnswer(HWND dialog) {
  if (gSaveDialogTimer) KillTimer(nullptr, gSaveDialogTimer);
  gPendingSaveDialog = dialog;
  gSaveDialogTimer = SetTimer(nullptr, 0, 50, answerSaveDialog);
}

void CALLBACK answerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  gSaveDialogTimer = 0;
  HWND dialog = gPendingSaveDialog;
  gPendingSaveDialog = nullptr;
  if (!dialog || !IsWindow(dialog)) return;
  if (gPlayer && gPlayer->quitInSaveDialog) {
    gPlayer->quitInSaveDialog = false;
    gPlayer->events.push_back("save-dialog quit");
    PostQuitMessage(0);
    return;
  }
  if (gPlayer && !gPlayer->saveTypes.empty()) {
    // The dialog takes a new type only when the list says its choice is made; the answer
    // follows once the dialog has taken it.
    HWND types = GetDlgItem(dialog, kFileTypeCombo);
    SendMessageW(types, CB_SETCURSEL, (WPARAM)(gPlayer->saveTypes.front() - 1), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELENDOK), (LPARAM)types);
    gPlayer->saveTypes.pop_front();
    scheduleSaveAnswer(dialog);
    return;
  }
  if (gPlayer) {
    CaughtSaveDialog caught;
    wchar_t text[MAX_PATH] = L"";
    GetDlgItemTextW(dialog, fileNameControl(dialog), text, MAX_PATH);
    caught.proposedName = narrow(text);
    // The dialog works in its folder: a relative name given to it lands there.
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)folder);
    caught.folder = narrow(folder);
    caught.owner = GetWindow(dialog, GW_OWNER);
    gPlayer->saveDialogs.push_back(caught);
    std::string answer;
    if (!gPlayer->saveAnswers.empty()) {
      answer = gPlayer->saveAnswers.front();
      gPlayer->saveAnswers.pop_front();
    }
    gPlayer->events.push_back("save-dialog " + caught.proposedName + "|" + answer);
    if (!answer.empty()) {
      SetDlgItemTextW(dialog, fileNameControl(dialog), widen(answer).c_str());
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      return;
    }
  }
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

bool isFileDialog(HWND window) {
  return isDialogClass(window) && (GetDlgItem(window, kFileNameCombo) || GetDlgItem(window, kFileNameField));
}

int fileNameControl(HWND dialog) { return GetDlgItem(dialog, kFileNameCombo) ? kFileNameCombo : kFileNameField; }

struct DialogSearch {
  int controlId;
  HWND found;
};

static BOOL CALLBACK matchPluginDialog(HWND window, LPARAM param) {
  DialogSearch* search = (DialogSearch*)param;
  char caption[16];
  GetWindowTextA(window, caption, (int)sizeof caption);
  bool ours = strcmp(caption, "LumoMarker") == 0 || strcmp(caption, "Tracklist") == 0;
  if (!ours || !GetDlgItem(window, search->controlId)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND findPluginDialog(int controlId) {
  DialogSearch search = {controlId, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchPluginDialog, (LPARAM)&search);
  return search.found;
}

LRESULT CALLBACK standInMessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = (HWND)wParam;
  // The player's own preferences window is no message box, even before it is remembered.
  bool ours = code == HCBT_ACTIVATE && gPlayer &&
              (DLGPROC)GetWindowLongPtrA(window, DWLP_DLGPROC) != StandInPlayer::PrefsWindowProc;
  if (ours && isMessageBox(window)) {
    CaughtMessageBox caught = {windowTextOf(window), messageBoxText(window), GetWindow(window, GW_OWNER),
                               0, IDOK, {}};
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
      if (GetDlgItem(window, id)) caught.buttons.push_back(id);
    gPlayer->messageBoxes.push_back(caught);
    gPlayer->log("msgbox " + caught.caption + "|" + caught.text);
    if (gPlayer->closeMessageBoxes) {
      gPendingBoxes.push_back({window, gPlayer->messageBoxes.size() - 1});
      SetTimer(nullptr, 0, 1, answerMessageBox);
    }
  } else if (ours && isFileDialog(window) && gPlayer->closeMessageBoxes && gPendingSaveDialog != window) {
    scheduleSaveAnswer(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

StandInPlayer::StandInPlayer(bool ansiWindow) : ansiWindow_(ansiWindow) {
  gPlayer = this;
  // The player's process registers the common controls that plug-ins use.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  createMainWindow();
  boxHook_ = SetWindowsHookExA(WH_CBT, standInMessageBoxHook, nullptr, GetCurrentThreadId());
}

// The main window is a Unicode one, registered and created with the W functions, unless the
// model plays an older, ANSI player. Registering fails harmlessly when a previous player did.
void StandInPlayer::createMainWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (ansiWindow_) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlayerWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kClassName, "Stand-in player", WS_OVERLAPPEDWINDOW, 40, 40, 420, 160,
                              nullptr, nullptr, instance, nullptr);
    return;
  }
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlayerWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassNameWide;
  wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  RegisterClassW(&wc);
  window_ = CreateWindowExW(0, kClassNameWide, L"Stand-in player", WS_OVERLAPPEDWINDOW, 40, 40, 420, 160,
                            nullptr, nullptr, instance, nullptr);
}

StandInPlayer::~StandInPlayer() {
  closePreferences();
  if (module_) close();
  if (boxHook_) UnhookWindowsHookEx(boxHook_);
  if (window_) DestroyWindow(window_);
  pump();
  // The process ends: what it kept loaded goes (a module the plug-in pinned stays).
  for (HMODULE kept : kept_) FreeLibrary(kept);
  gPlayer = nullptr;
}

bool StandInPlayer::load(const std::string& dllPath) {
  module_ = LoadLibraryA(dllPath.c_str());
  if (!module_) return false;
  PluginEntryProc entry = (PluginEntryProc)(void*)GetProcAddress(module_, PLUGIN_ENTRY_NAME);
  if (!entry) return false;
  descriptor_ = entry();
  if (!descriptor_) return false;
  descriptor_->hostWindow = window_;
  descriptor_->module = module_;
  return true;
}

int StandInPlayer::init() { return descriptor_ ? descriptor_->init() : -1; }

void StandInPlayer::config() {
  if (descriptor_) descriptor_->config();
}

void StandInPlayer::quit() {
  if (descriptor_) descriptor_->quit();
  descriptor_ = nullptr;
}

void StandInPlayer::unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  descriptor_ = nullptr;
}

void StandInPlayer::close() {
  if (unloadAtClose) {
    quit();
    unload();
    return;
  }
  // The player's loop has ended and its main window is gone (with the windows it owns, the
  // preferences among them) when the plug-ins hear quit.
  closePreferences();
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  pump();
  quit();
  if (module_) kept_.push_back(module_);
  module_ = nullptr;
  pageRecords.clear();
  pages.clear();
  createMainWindow();
}

HWND StandInPlayer::openPreferences(const PrefsPageRecord* shown) {
  if (prefsWindow_) return prefsWindow_;
  // Building the tree of pages gives each kept record its identifier, only now.
  size_t chosen = 0;
  for (size_t i = 0; i < pageRecords.size(); ++i) {
    pageRecords[i]->pageId = 0x700 + (int)i;
    pages[i].pageId = pageRecords[i]->pageId;
    if (pageRecords[i] == shown) chosen = i;
  }
  std::vector<WORD> t = prefsTemplate();
  prefsWindow_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (DLGTEMPLATE*)t.data(),
                                            window_, PrefsWindowProc, 0);
  if (!prefsWindow_) return nullptr;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SIZE area = pages.empty() ? SIZE{420, 410} : pageAreaSize(pages[chosen], prefsWindow_);
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE, 10, 10,
                              130, area.cy, prefsWindow_, nullptr, instance, nullptr);
  for (const PrefsPageRecord& page : pages)
    SendMessageA(tree, LB_ADDSTRING, 0, (LPARAM)(page.name ? page.name : ""));
  SendMessageA(tree, LB_SETCURSEL, chosen, 0);
  // The page's container; inside it, the frame the page fills. The page is created right after
  // the frame, so the frame is the page's previous sibling.
  int width = area.cx;
  int height = area.cy;
  HWND container = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", nullptr, WS_CHILD | WS_VISIBLE,
                                   kPageAreaAt.x, kPageAreaAt.y, width, height, prefsWindow_,
                                   (HMENU)(INT_PTR)kPageAreaId, instance, nullptr);
  CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, 0, 0, width, height, container, nullptr, instance,
                  nullptr);
  if (!pages.empty()) {
    const PrefsPageRecord& page = pages[chosen];
    prefsPage_ = CreateDialogParamW(page.module, MAKEINTRESOURCEW(page.dialogId), container,
                                    page.pageProc, 0);
    if (prefsPage_) ShowWindow(prefsPage_, SW_SHOWNA);
  }
  // The window fits around the list and the page area.
  RECT frame = {0, 0, kPageAreaAt.x + width + 10, kPageAreaAt.y + height + 10};
  AdjustWindowRectEx(&frame, (DWORD)GetWindowLongPtrA(prefsWindow_, GWL_STYLE), FALSE,
                     (DWORD)GetWindowLongPtrA(prefsWindow_, GWL_EXSTYLE));
  SetWindowPos(prefsWindow_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(prefsWindow_, SW_SHOW);
  log("prefs-open " + std::to_string(chosen));
  return prefsWindow_;
}

void StandInPlayer::closePreferences() {
  if (!prefsWindow_) return;
  DestroyWindow(prefsWindow_);
  prefsWindow_ = nullptr;
  prefsPage_ = nullptr;
  log("prefs-close");
}

INT_PTR CALLBACK StandInPlayer::PrefsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      // Enter presses the window's Close, as Escape does.
      if ((LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) && gPlayer && gPlayer->prefsWindow_ == window)
        gPlayer->closePreferences();
      return TRUE;
    case WM_CLOSE:
      if (gPlayer && gPlayer->prefsWindow_ == window) gPlayer->closePreferences();
      return TRUE;
    default:
      return FALSE;
  }
}

// Dialog keys for the plug-in's windows and the preferences; then the usual dispatch. The loop
// is a UTF-16 one, as a Unicode player's: an ANSI loop turns a typed character outside the code
// page into '?' (WM_CHAR passes through the code page).
static void dispatch(MSG* msg, HWND mainWindow, bool dialogKeys, bool pluginDialogKeys) {
  HWND root = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
  bool wanted = root == mainWindow ? dialogKeys : pluginDialogKeys;
  if (root && wanted && IsDialogMessageW(root, msg)) return;
  TranslateMessage(msg);
  DispatchMessageW(msg);
}

void StandInPlayer::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(&msg, window_, dialogKeys, pluginDialogKeys);
}

void StandInPlayer::pump(DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) dispatch(&msg, window_, dialogKeys, pluginDialogKeys);
    if (GetTickCount() - start >= ms) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool StandInPlayer::pressHotkey(const std::string& id) {
  for (const HotkeyAction& action : hotkeys) {
    if (action.id != id) continue;
    HWND target = action.window ? action.window : window_;
    SendMessageA(target, action.message, action.wParam, action.lParam);
    return true;
  }
  return false;
}

std::vector<std::string> StandInPlayer::eventsSince(size_t first) const {
  if (first >= events.size()) return {};
  return std::vector<std::string>(events.begin() + (long)first, events.end());
}

long long counterMicros() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return (long long)((double)now.QuadPart * 1e6 / (double)frequency.QuadPart);
}

void StandInPlayer::useRealClock(int speed) {
  positionMs = position();
  clockSpeed_ = speed;
  clockStartMicros_ = counterMicros();
}

int StandInPlayer::position() const {
  if (!clockSpeed_ || playState != HOST_STATE_PLAYING) return positionMs;
  long long ms = positionMs + (counterMicros() - clockStartMicros_) / 1000 * clockSpeed_;
  long long length = (long long)lengthSeconds * 1000;
  return (int)(length > 0 && ms > length ? length : ms);
}

void StandInPlayer::seek(int ms) {
  positionMs = ms;
  clockStartMicros_ = counterMicros();
}

bool StandInPlayer::clockAnchor(long long* systemMicros, int* atMs) const {
  if (!clockSpeed_ || playState != HOST_STATE_PLAYING) return false;
  const long long kMicrosFrom1601To1970 = 11644473600LL * 1000000;
  // The precise system time exists from Windows 8 on (and in Wine); the plain one moves in steps.
  typedef void(WINAPI * SystemTimeProc)(FILETIME*);
  SystemTimeProc precise =
      (SystemTimeProc)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime");
  FILETIME now;
  (precise ? precise : GetSystemTimeAsFileTime)(&now);
  long long counter = counterMicros();
  long long system = (((long long)now.dwHighDateTime << 32) | now.dwLowDateTime) / 10 - kMicrosFrom1601To1970;
  *systemMicros = system - (counter - clockStartMicros_);
  *atMs = positionMs;
  return true;
}

void StandInPlayer::onCommand(WORD command) {
  LARGE_INTEGER frequency, tick;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&tick);
  lastCommandMicroseconds = (double)tick.QuadPart * 1e6 / (double)frequency.QuadPart;
  int now = position();
  if (command == HOST_CMD_PLAY) {
    log("cmd play");
    // Play resumes a paused entry; stopped or playing, it starts the entry from 0:00.
    if (playState == HOST_STATE_PAUSED) {
      playState = HOST_STATE_PLAYING;
      seek(now);
      SendMessageW(window_, HOST_IPC, 2, HOST_NOTIFY_PLAY_STATE);
    } else if (!playlist.empty()) {
      startEntry(current);
    }
    return;
  }
  if (command == HOST_CMD_PAUSE) {
    log("cmd pause");
    if (playState == HOST_STATE_STOPPED) return;
    playState = playState == HOST_STATE_PLAYING ? HOST_STATE_PAUSED : HOST_STATE_PLAYING;
    seek(now);  // the clock goes on from where it stood
    SendMessageW(window_, HOST_IPC, 2, HOST_NOTIFY_PLAY_STATE);
  }
}

void StandInPlayer::startEntry(int index) {
  if (index < 0 || index >= (int)playlist.size()) return;
  current = index;
  playState = HOST_STATE_PLAYING;
  seek(0);
  PlaylistEntry& e = playlist[(size_t)index];
  e.ansiPath = toAnsi(e.path);
  e.widePath = widen(e.path);
  SendMessageW(window_, HOST_IPC, (WPARAM)e.ansiPath.c_str(), HOST_NOTIFY_FILE_STARTS);
  SendMessageW(window_, HOST_IPC, (WPARAM)e.widePath.c_str(), HOST_NOTIFY_FILE_STARTS_WIDE);
  SendMessageW(window_, HOST_IPC, 2, HOST_NOTIFY_PLAY_STATE);
}

bool StandInPlayer::bindSystemHotkey(const std::string& id, UINT modifiers, UINT key) {
  int index = (int)systemHotkeys_.size() + 1;
  if (!RegisterHotKey(window_, index, modifiers, key)) return false;
  systemHotkeys_.push_back(id);
  return true;
}

namespace {

// The keys Global Hotkeys registers by default with Ctrl+Alt, and what the player does on each.
struct DefaultKey {
  UINT key;
  const char* action;
};
const DefaultKey kDefaultKeys[] = {
    {VK_INSERT, "play"},     {VK_HOME, "pause"},     {VK_END, "stop"},        {VK_PRIOR, "previous"},
    {VK_NEXT, "next"},       {VK_UP, "volume up"},   {VK_DOWN, "volume down"}, {VK_LEFT, "seek back"},
    {VK_RIGHT, "seek ahead"}, {'J', "jump to file"}, {'L', "open file"},
};
const int kDefaultKeyIds = 0x4000;  // hot-key ids of the default keys, apart from bound actions

}  // namespace

int StandInPlayer::takeGlobalHotkeyDefaults() {
  int taken = 0;
  for (size_t i = 0; i < sizeof kDefaultKeys / sizeof kDefaultKeys[0]; ++i)
    if (RegisterHotKey(window_, kDefaultKeyIds + (int)i, MOD_CONTROL | MOD_ALT, kDefaultKeys[i].key)) ++taken;
  return taken;
}

LRESULT CALLBACK StandInPlayer::PlayerWndProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  StandInPlayer* player = gPlayer && gPlayer->window_ == window ? gPlayer : nullptr;
  WNDPROC standard = IsWindowUnicode(window) ? DefWindowProcW : DefWindowProcA;
  if (!player) return standard(window, message, wParam, lParam);
  switch (message) {
    case HOST_IPC:
      // The notifications the player sends itself end here.
      if (lParam == HOST_NOTIFY_FILE_STARTS || lParam == HOST_NOTIFY_FILE_STARTS_WIDE ||
          lParam == HOST_NOTIFY_PLAY_STATE) {
        ++player->notificationsHeard;
        return 0;
      }
      return player->onRequest(wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == HOST_CMD_PLAY || LOWORD(wParam) == HOST_CMD_PAUSE)
        player->onCommand(LOWORD(wParam));
      else if (player->onUiCommand)
        player->onUiCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HOTKEY:
      if (wParam >= 1 && wParam <= player->systemHotkeys_.size()) {
        player->log("system hotkey " + player->systemHotkeys_[wParam - 1]);
        player->pressHotkey(player->systemHotkeys_[wParam - 1]);
      } else if (wParam >= (WPARAM)kDefaultKeyIds &&
                 wParam < (WPARAM)kDefaultKeyIds + sizeof kDefaultKeys / sizeof kDefaultKeys[0]) {
        const DefaultKey& key = kDefaultKeys[wParam - kDefaultKeyIds];
        player->log(std::string("global hotkey ") + key.action);
        int step = key.key == VK_LEFT ? -kSeekStepMs : key.key == VK_RIGHT ? kSeekStepMs : 0;
        if (step && player->playState != HOST_STATE_STOPPED) {
          int to = player->position() + step;
          player->seek(to < 0 ? 0 : to);
        }
      }
      return 0;
    case WM_TIMER:
      if (wParam == 1 && player->onTick) player->onTick();
      return 0;
    case CAPTURE_MSG:
      player->log("capture " + std::to_string((long long)lParam));
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);  // a program's loop ends; the tests destroy the window themselves
      return 0;
    default:
      return standard(window, message, wParam, lParam);
  }
}
