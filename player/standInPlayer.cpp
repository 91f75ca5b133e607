// The stand-in player's window, request handling, title formatter and plug-in loading.
#include "standInPlayer.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "decodeService.h"
#include "titleFormat.h"
#include "wideText.h"

namespace {

const char kClassName[] = "StandInPlayerMain";
const wchar_t kClassNameWide[] = L"StandInPlayerMainW";
const size_t kVideoTextChars = 1024;  // the player's UTF-16 video text buffer
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

std::string number(long long value) { return std::to_string(value); }

void copyOut(char* out, size_t outBytes, const std::string& text) {
  if (!out || outBytes == 0) return;
  size_t n = text.size() < outBytes - 1 ? text.size() : outBytes - 1;
  memcpy(out, text.data(), n);
  out[n] = '\0';
}

// The entry a request names by its path (UTF-8).
const PlaylistEntry* entryByPath(const std::vector<PlaylistEntry>& playlist, const std::string& path) {
  for (const PlaylistEntry& e : playlist)
    if (e.path == path) return &e;
  return nullptr;
}

void copyOutWide(wchar_t* out, size_t outChars, const std::string& utf8) {
  if (!out || outChars == 0) return;
  std::wstring text = widen(utf8);
  size_t n = text.size() < outChars - 1 ? text.size() : outChars - 1;
  memcpy(out, text.data(), n * sizeof(wchar_t));
  out[n] = L'\0';
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
  log("prefs-open " + number((long long)chosen));
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

// Formats a template the player's way: tags through the callbacks, then every line break a
// blank. The tag callback's null means "not the plug-in's tag": then, with fileTags, the file's
// own fields give the value; the no-value mark and (UTF-16) an empty text mean none.
void StandInPlayer::renderTemplate(FormatTitleRequest* request) {
  lastRender = *request;
  if (!request->output || request->outputSize <= 0) return;
  memset(request->output, 0, (size_t)request->outputSize);
  std::string templateText = fromAnsi(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  std::string out = formatTitle(templateText, [&](const std::string& name, std::string* value) {
    ++formatter.tagCalls;
    std::string ansiName = toAnsi(name);
    char* given = request->resolveTag ? request->resolveTag(ansiName.c_str(), request->context) : nullptr;
    if (!given || given == (char*)(LONG_PTR)-1) return false;
    ++formatter.valuesReturned;
    if (!*given) ++formatter.emptyValues;
    *value = fromAnsi(given);
    if (request->freeTagValue) {
      request->freeTagValue(given, request->context);
      ++formatter.valuesFreed;
    }
    return true;
  });
  copyOut(request->output, (size_t)request->outputSize, toAnsi(blankLineBreaks(out)));
}

void StandInPlayer::renderTemplateWide(FormatTitleRequestWide* request) {
  lastRenderWide = *request;
  lastRenderFileName = request->fileName ? narrow(request->fileName) : "(null)";
  if (!request->fileName || !request->fileName[0]) return;  // untouched: no file, no formatting
  if (!request->output || request->outputChars <= 0) return;
  memset(request->output, 0, (size_t)request->outputChars * sizeof(wchar_t));
  std::string templateText = narrow(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  const PlaylistEntry* file = entryByPath(playlist, narrow(request->fileName));
  std::string out = formatTitle(templateText, [&](const std::string& name, std::string* value) {
    ++formatter.tagCalls;
    std::wstring wideName = widen(name);
    wchar_t* given = request->resolveTag ? request->resolveTag(wideName.c_str(), request->context) : nullptr;
    if (!given) {
      if (!request->useFileTags || !file) return false;
      auto found = file->fields.find(name);
      if (found == file->fields.end()) return false;
      *value = found->second;
      return true;
    }
    if (given == HOST_EMPTY_TAG_VALUE) return false;
    ++formatter.valuesReturned;
    if (!*given) ++formatter.emptyValues;
    *value = narrow(given);
    if (request->freeTagValue) {
      request->freeTagValue(given, request->context);
      ++formatter.valuesFreed;
    }
    return !value->empty();
  });
  copyOutWide(request->output, (size_t)request->outputChars, blankLineBreaks(out));
}

LRESULT StandInPlayer::notUnderstood(LPARAM code) {
  log("ipc " + number((long long)code));
  return HOST_NOT_UNDERSTOOD;
}

// 296 and 3026: a size above the limit or an empty file name is refused untouched; otherwise the
// output is zeroed and the input plug-in writes what it finds and answers.
LRESULT StandInPlayer::onFileField(WPARAM arg, bool wide) {
  std::string path, field;
  void* output;
  int size;
  if (wide) {
    ExtendedInfoRequestWide* request = (ExtendedInfoRequestWide*)arg;
    path = narrow(request->path);
    field = narrow(request->field);
    output = request->output;
    size = request->outputChars;
  } else {
    ExtendedInfoRequest* request = (ExtendedInfoRequest*)arg;
    path = fromAnsi(request->path);
    field = fromAnsi(request->field);
    output = request->output;
    size = request->outputSize;
  }
  log(std::string(wide ? "file-field-wide " : "file-field ") + (field.empty() ? "(null)" : field));
  if (path.empty() || !output || size <= 0 || size > HOST_FIELD_OUTPUT_MOST) return 0;
  memset(output, 0, (size_t)size * (wide ? sizeof(wchar_t) : 1));
  const PlaylistEntry* e = entryByPath(playlist, path);
  auto found = e && !field.empty() ? e->fields.find(field) : std::map<std::string, std::string>::const_iterator();
  if (!e || field.empty() || found == e->fields.end()) return 0;
  if (wide)
    copyOutWide((wchar_t*)output, (size_t)size, found->second);
  else
    copyOut((char*)output, (size_t)size, toAnsi(found->second));
  return fieldsAnswerZero ? 0 : 1;
}

// 850 is a hook point that the player answers 0 to, writing nothing (a hooked plug-in may write);
// 851 the player answers itself.
LRESULT StandInPlayer::onTitleRequest(WPARAM arg, bool wide) {
  if (wide) {
    TitleHookRequestWide* request = (TitleHookRequestWide*)arg;
    lastTitleHookWide = *request;
    log("file-title-wide");
    const PlaylistEntry* e = request->path ? entryByPath(playlist, narrow(request->path)) : nullptr;
    if (!e || !request->title || request->titleChars <= 0) return 0;
    copyOutWide(request->title, (size_t)request->titleChars, e->title);
    return 1;
  }
  TitleHookRequest* request = (TitleHookRequest*)arg;
  lastTitleHook = *request;
  log("file-title");
  if (titleHook && request->title && request->titleChars > 0)
    copyOut(request->title, (size_t)request->titleChars, toAnsi(titleHookText));
  return 0;
}

// Any name gets a code of its own above 65536; the hot-key plug-in's name the code it listens on.
LRESULT StandInPlayer::onNamedRequest(const char* name) {
  log(std::string("named ") + (name ? name : "(null)"));
  std::string key = name ? name : "";
  if (key == HOST_HOTKEY_ADD_NAME && hotkeyCode != 0) return hotkeyCode;
  auto found = named_.find(key);
  if (found != named_.end()) return found->second;
  int code = HOST_NAMED_REQUEST + 0x100 + (int)named_.size();
  named_[key] = code;
  return code;
}

LRESULT StandInPlayer::onRequest(WPARAM arg, LPARAM code) {
  switch (code) {
    case HOST_VERSION:
      log("version");
      return version;
    case HOST_PLAY_STATE:
      log("playstate");
      return playState;
    case HOST_TRACK_TIME: {
      // The position is known before the request is logged: a listener of the log reads it.
      if (arg == HOST_TIME_POSITION)
        positionAnswered = playState == HOST_STATE_STOPPED ? HOST_POSITION_STOPPED : position();
      log("time " + number((long long)arg));
      int length = lengthSeconds > 0 ? lengthSeconds : -1;
      switch (arg) {
        case HOST_TIME_POSITION:
          return positionAnswered;
        case HOST_TIME_LENGTH: return length;
        case HOST_TIME_LENGTH_MS: return length > 0 ? length * 1000 : -1;
        default: return 0;
      }
    }
    case HOST_JUMP_TO_TIME: {
      log("jump " + number((long long)arg));
      if (playState == HOST_STATE_STOPPED) return -1;
      if (lengthSeconds > 0 && (long long)arg > (long long)lengthSeconds * 1000) {
        // Past the end: the next entry plays.
        if (current + 1 < (int)playlist.size()) startEntry(current + 1);
        return 1;
      }
      seek((int)arg);
      return 0;
    }
    case HOST_PLAYLIST_COUNT:
      log("playlist-count");
      return (LRESULT)playlist.size();
    case HOST_PLAYLIST_INDEX:
      log("playlist-index");
      return current;
    case HOST_STREAM_INFO:
      log("stream " + number((long long)arg));
      switch (arg) {
        case HOST_STREAM_SAMPLE_RATE: return sampleRateHz / 1000;
        case HOST_STREAM_SAMPLE_RATE_HZ: return older ? 0 : sampleRateHz;
        case HOST_STREAM_BITRATE: return bitrate;
        case HOST_STREAM_CHANNELS: return channels;
        case HOST_STREAM_VIDEO_SIZE: return (LRESULT)videoSize;
        case HOST_STREAM_VIDEO_TEXT:
          if (!giveVideoText) return 0;
          if (older) {
            videoTextAnsi_ = toAnsi(videoText);
            return (LRESULT)videoTextAnsi_.c_str();
          }
          videoTextWide_.assign(kVideoTextChars, L'\0');
          copyOutWide(&videoTextWide_[0], kVideoTextChars, videoText);
          return (LRESULT)videoTextWide_.c_str();
        default: return 0;
      }
    case HOST_ENTRY_PATH:
    case HOST_ENTRY_PATH_WIDE: {
      bool wide = code == HOST_ENTRY_PATH_WIDE;
      if (wide && older) return notUnderstood(code);
      log(std::string(wide ? "entry-path-wide " : "entry-path ") + number((long long)arg));
      int index = (int)arg;
      if (index < 0 || index >= (int)playlist.size()) return 0;
      PlaylistEntry& e = playlist[(size_t)index];
      if (wide) {
        e.widePath = widen(e.path);
        return (LRESULT)e.widePath.c_str();
      }
      e.ansiPath = toAnsi(e.path);
      return (LRESULT)e.ansiPath.c_str();
    }
    case HOST_FILE_FIELD:
      return onFileField(arg, false);
    case HOST_FILE_FIELD_WIDE:
      if (older) return notUnderstood(code);
      return onFileField(arg, true);
    case HOST_FILE_TITLE:
      return onTitleRequest(arg, false);
    case HOST_FILE_TITLE_WIDE:
      if (older) return notUnderstood(code);
      return onTitleRequest(arg, true);
    case HOST_RENDER_TEMPLATE:
      log("render");
      renderTemplate((FormatTitleRequest*)arg);
      return 0;
    case HOST_RENDER_TEMPLATE_WIDE:
      if (older) return notUnderstood(code);
      log("render-wide");
      renderTemplateWide((FormatTitleRequestWide*)arg);
      return 0;
    case HOST_REGISTER_PAGE: {
      // The record is kept and linked in; its identifier is written when the tree is built.
      PrefsPageRecord* record = (PrefsPageRecord*)arg;
      pageRecords.push_back(record);
      pages.push_back(*record);
      log(std::string("register-page ") + (record->name ? record->name : "(null)"));
      return 1;
    }
    case HOST_SHOW_PAGE: {
      const PrefsPageRecord* shown = nullptr;
      for (size_t i = 0; i < pageRecords.size(); ++i)
        if ((WPARAM)pageRecords[i] == arg) shown = pageRecords[i];
      std::string named = shown ? "record " + number((long long)(std::find(pageRecords.begin(), pageRecords.end(), shown) -
                                                                   pageRecords.begin()))
                                : number((long long)arg);
      log("show-page " + named);
      shownPages.push_back(named);
      if (openPreferencesOnShowPage) openPreferences(shown);
      return 1;
    }
    case HOST_NAMED_REQUEST:
      return onNamedRequest((const char*)arg);
    case HOST_SERVICE_MANAGER:
      if (older || !decodeService) return notUnderstood(code);
      log("service-manager");
      return (LRESULT)decodeServiceManager();
    default:
      if (hotkeyCode != 0 && code == hotkeyCode) {
        const HotkeyRegistration* r = (const HotkeyRegistration*)arg;
        HotkeyAction action = {r->name ? r->name : "", r->id ? r->id : "", r->flags, r->message,
                               r->wParam, r->lParam, r->window};
        hotkeys.push_back(action);
        log("hotkey-add " + action.name);
        return 1;
      }
      return notUnderstood(code);
  }
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
      player->log("capture " + number((long long)lParam));
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);  // a program's loop ends; the tests destroy the window themselves
      return 0;
    default:
      return standard(window, message, wParam, lParam);
  }
}
