// The stand-in player's window, request handling, title formatter and plug-in loading.
#include "standInPlayer.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "wideText.h"

namespace {

const char kClassName[] = "StandInPlayerMain";
const size_t kTitleBytes = 2048;

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

StandInPlayer::StandInPlayer() {
  gPlayer = this;
  // The player's process registers the common controls that plug-ins use.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlayerWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);  // fails harmlessly when a previous player registered it
  window_ = CreateWindowExA(0, kClassName, "Stand-in player", WS_OVERLAPPEDWINDOW, 40, 40, 420, 160,
                            nullptr, nullptr, instance, nullptr);
  boxHook_ = SetWindowsHookExA(WH_CBT, standInMessageBoxHook, nullptr, GetCurrentThreadId());
}

StandInPlayer::~StandInPlayer() {
  closePreferences();
  if (module_) {
    quit();
    unload();
  }
  if (boxHook_) UnhookWindowsHookEx(boxHook_);
  if (window_) DestroyWindow(window_);
  pump();
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

HWND StandInPlayer::openPreferences() {
  if (prefsWindow_) return prefsWindow_;
  std::vector<WORD> t = prefsTemplate();
  prefsWindow_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (DLGTEMPLATE*)t.data(),
                                            window_, PrefsWindowProc, 0);
  if (!prefsWindow_) return nullptr;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SIZE area = pages.empty() ? SIZE{420, 410} : pageAreaSize(pages[0], prefsWindow_);
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE, 10, 10,
                              130, area.cy, prefsWindow_, nullptr, instance, nullptr);
  for (const PrefsPageRecord& page : pages)
    SendMessageA(tree, LB_ADDSTRING, 0, (LPARAM)(page.name ? page.name : ""));
  SendMessageA(tree, LB_SETCURSEL, 0, 0);
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
    const PrefsPageRecord& page = pages[0];
    prefsPage_ = CreateDialogParamA(page.module, MAKEINTRESOURCEA(page.dialogId), container,
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
  log("prefs-open");
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
      if (LOWORD(wParam) == IDCANCEL && gPlayer && gPlayer->prefsWindow_ == window)
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
    playState = HOST_STATE_PLAYING;
  } else if (command == HOST_CMD_PAUSE) {
    log("cmd pause");
    if (playState == HOST_STATE_PLAYING)
      playState = HOST_STATE_PAUSED;
    else if (playState == HOST_STATE_PAUSED)
      playState = HOST_STATE_PLAYING;
  }
  seek(now);  // the clock goes on from where it stood
}

bool StandInPlayer::bindSystemHotkey(const std::string& id, UINT modifiers, UINT key) {
  int index = (int)systemHotkeys_.size() + 1;
  if (!RegisterHotKey(window_, index, modifiers, key)) return false;
  systemHotkeys_.push_back(id);
  return true;
}

// Copies the template and replaces each %name% by the tag callback's text; a '%' without a
// closing one is copied as it stands.
template <class Value>
std::string StandInPlayer::fill(const std::string& templateText, Value value) {
  std::string out;
  size_t at = 0;
  while (at < templateText.size()) {
    size_t close = templateText[at] == '%' ? templateText.find('%', at + 1) : std::string::npos;
    if (close == std::string::npos) {
      out += templateText[at++];
      continue;
    }
    std::string name = templateText.substr(at + 1, close - at - 1);
    at = close + 1;
    ++formatter.tagCalls;
    out += value(name);
  }
  return out;
}

void StandInPlayer::renderTemplate(FormatTitleRequest* request) {
  lastRender = *request;
  std::string templateText = fromAnsi(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  std::string out = fill(templateText, [&](const std::string& name) {
    std::string ansiName = toAnsi(name);
    char* value = request->resolveTag ? request->resolveTag(ansiName.c_str(), request->context) : nullptr;
    if (!value) return std::string();
    ++formatter.valuesReturned;
    if (!*value) ++formatter.emptyValues;
    std::string text = fromAnsi(value);
    if (request->freeTagValue) {
      request->freeTagValue(value, request->context);
      ++formatter.valuesFreed;
    }
    return text;
  });
  copyOut(request->output, (size_t)(request->outputSize > 0 ? request->outputSize : 0), toAnsi(out));
}

void StandInPlayer::renderTemplateWide(FormatTitleRequestWide* request) {
  lastRenderWide = *request;
  std::string templateText = narrow(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  std::string out = fill(templateText, [&](const std::string& name) {
    std::wstring wideName = widen(name);
    wchar_t* value = request->resolveTag ? request->resolveTag(wideName.c_str(), request->context) : nullptr;
    // Null: not the plug-in's tag (this player has no values of its own); the empty mark: empty.
    if (!value || value == HOST_EMPTY_TAG_VALUE) return std::string();
    ++formatter.valuesReturned;
    if (!*value) ++formatter.emptyValues;
    std::string text = narrow(value);
    if (request->freeTagValue) {
      request->freeTagValue(value, request->context);
      ++formatter.valuesFreed;
    }
    return text;
  });
  copyOutWide(request->output, (size_t)(request->outputChars > 0 ? request->outputChars : 0), out);
}

LRESULT StandInPlayer::notUnderstood(LPARAM code) {
  log("ipc " + number((long long)code));
  return HOST_NOT_UNDERSTOOD;
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
      int answer = arg == HOST_TIME_POSITION ? position() : lengthSeconds;
      if (arg == HOST_TIME_POSITION) positionAnswered = answer;
      log("time " + number((long long)arg));
      return answer;
    }
    case HOST_JUMP_TO_TIME: {
      log("jump " + number((long long)arg));
      if (playState == HOST_STATE_STOPPED) return -1;
      if ((long long)arg > (long long)lengthSeconds * 1000) return 1;
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
        case HOST_STREAM_SAMPLE_RATE: return sampleRate;
        case HOST_STREAM_BITRATE: return bitrate;
        case HOST_STREAM_CHANNELS: return channels;
        case HOST_STREAM_VIDEO_SIZE: return (LRESULT)videoSize;
        case HOST_STREAM_VIDEO_TEXT: return giveVideoText ? (LRESULT)videoText.c_str() : 0;
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
    case HOST_FILE_FIELD: {
      ExtendedInfoRequest* request = (ExtendedInfoRequest*)arg;
      std::string field = fromAnsi(request->field);
      log(std::string("file-field ") + (request->field ? field : "(null)"));
      const PlaylistEntry* e = request->path ? entryByPath(playlist, fromAnsi(request->path)) : nullptr;
      if (!e || !request->field) return 0;
      auto found = e->fields.find(field);
      if (found == e->fields.end()) return 0;
      copyOut(request->output, (size_t)request->outputSize, toAnsi(found->second));
      return 1;
    }
    case HOST_FILE_FIELD_WIDE: {
      if (older) return notUnderstood(code);
      ExtendedInfoRequestWide* request = (ExtendedInfoRequestWide*)arg;
      std::string field = narrow(request->field);
      log(std::string("file-field-wide ") + (request->field ? field : "(null)"));
      const PlaylistEntry* e = request->path ? entryByPath(playlist, narrow(request->path)) : nullptr;
      auto found = e && request->field ? e->fields.find(field) : std::map<std::string, std::string>::const_iterator();
      if (!e || !request->field || found == e->fields.end()) {
        if (request->output && request->outputChars > 0) request->output[0] = L'\0';
        return 0;
      }
      copyOutWide(request->output, (size_t)request->outputChars, found->second);
      return 1;
    }
    case HOST_FILE_TITLE: {
      TitleHookRequest* request = (TitleHookRequest*)arg;
      log("file-title");
      const PlaylistEntry* e = request->path ? entryByPath(playlist, fromAnsi(request->path)) : nullptr;
      if (e) copyOut(request->title, kTitleBytes, toAnsi(e->title));
      return 1;
    }
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
      PrefsPageRecord* record = (PrefsPageRecord*)arg;
      record->pageId = 0x700 + (int)pages.size();
      pages.push_back(*record);
      log(std::string("register-page ") + (record->name ? record->name : "(null)"));
      return 1;
    }
    case HOST_SHOW_PAGE:
      log("show-page " + number((long long)arg));
      shownPages.push_back((int)arg);
      if (openPreferencesOnShowPage) openPreferences();
      return 1;
    case HOST_NAMED_REQUEST:
      log(std::string("named ") + (arg ? (const char*)arg : "(null)"));
      return arg && strcmp((const char*)arg, HOST_HOTKEY_ADD_NAME) == 0 ? hotkeyCode : 0;
    default:
      if (hotkeyCode != 0 && code == hotkeyCode) {
        const HotkeyRegistration* r = (const HotkeyRegistration*)arg;
        HotkeyAction action = {r->name ? r->name : "", r->id ? r->id : "", r->flags, r->message,
                               r->wParam, r->lParam, r->window};
        hotkeys.push_back(action);
        log("hotkey-add " + action.name);
        return 1;
      }
      log("ipc " + number((long long)code));
      return 0;
  }
}

LRESULT CALLBACK StandInPlayer::PlayerWndProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  StandInPlayer* player = gPlayer && gPlayer->window_ == window ? gPlayer : nullptr;
  if (!player) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case HOST_IPC:
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
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
