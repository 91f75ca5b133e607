// Requests and commands to the player, its timer and its window procedure.
#include "hostLink.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"

namespace {

HWND gHost = nullptr;
WNDPROC gDirect = nullptr;

const size_t kTitleHookBytes = 2048;  // the title request's record carries no size: this is it
// Put into an output before a request: a player that lacks the request leaves it as it was.
const wchar_t kUntouched[] = {0xFFFF, 0xFFFE, 0};

void markUntouched(wchar_t* output) {
  for (size_t i = 0; i < sizeof kUntouched / sizeof kUntouched[0]; ++i) output[i] = kUntouched[i];
}

bool stillUntouched(const wchar_t* output) { return output[0] == kUntouched[0] && output[1] == kUntouched[1]; }

size_t wideLength(const wchar_t* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

LRESULT sendRequest(int code, WPARAM arg) {
  return gHost ? SendMessageA(gHost, HOST_IPC, arg, code) : 0;
}

// Bypasses our own window procedure when it is installed in front of the player's.
LRESULT callDirect(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gHost) return 0;
  if (gDirect) return CallWindowProcA(gDirect, gHost, message, wParam, lParam);
  return SendMessageA(gHost, message, wParam, lParam);
}

}  // namespace

void hostLinkOpen(HWND host) { gHost = host; }
HWND hostWindow() { return gHost; }
void hostLinkSetDirect(WNDPROC direct) { gDirect = direct; }

WNDPROC hostWindowProc() { return gHost ? (WNDPROC)GetWindowLongPtrA(gHost, GWLP_WNDPROC) : nullptr; }

WNDPROC hostReplaceWindowProc(WNDPROC procedure) {
  if (!gHost) return nullptr;
  return (WNDPROC)SetWindowLongPtrA(gHost, GWLP_WNDPROC, (LONG_PTR)procedure);
}

bool hostStartTimer(UINT_PTR id, UINT delayMs, TIMERPROC procedure) {
  return gHost && SetTimer(gHost, id, delayMs, procedure) != 0;
}

void hostStopTimer(UINT_PTR id) {
  if (gHost) KillTimer(gHost, id);
}

void hostCapture(LPARAM action) {
  if (gHost) SendMessageA(gHost, CAPTURE_MSG, 0, action);
}

int hostVersion() { return (int)sendRequest(HOST_VERSION, 0); }
int hostPlayState() { return (int)sendRequest(HOST_PLAY_STATE, 0); }
int hostPlaylistIndex() { return (int)callDirect(HOST_IPC, 0, HOST_PLAYLIST_INDEX); }
int hostPlaylistCount() { return (int)sendRequest(HOST_PLAYLIST_COUNT, 0); }
int hostPositionMs() { return (int)sendRequest(HOST_TRACK_TIME, HOST_TIME_POSITION); }
int hostLengthSeconds() { return (int)sendRequest(HOST_TRACK_TIME, HOST_TIME_LENGTH); }
int hostJumpTo(int positionMs) { return (int)sendRequest(HOST_JUMP_TO_TIME, (WPARAM)positionMs); }
int hostStreamInfo(int what) { return (int)sendRequest(HOST_STREAM_INFO, (WPARAM)what); }

void hostEntryPathText(int index, char* path) {
  path[0] = '\0';
  LRESULT wide = callDirect(HOST_IPC, (WPARAM)index, HOST_ENTRY_PATH_WIDE);
  if (wide != 0 && wide != HOST_NOT_UNDERSTOOD) {
    fromWide((const wchar_t*)wide, path, kPathBytes);
    return;
  }
  const char* ansi = (const char*)callDirect(HOST_IPC, (WPARAM)index, HOST_ENTRY_PATH);
  if (!ansi || (LRESULT)ansi == HOST_NOT_UNDERSTOOD) return;
  size_t length = textLength(ansi, kPathChars * 2);
  ansiToUtf8(ansi, length, path, kPathBytes);
}

bool hostFormatTemplate(const char* templateText, const FormatCallbacks& callbacks, char* out, size_t outBytes) {
  out[0] = '\0';
  wchar_t* wideTemplate = newWideText(templateText);
  wchar_t* wideOutput = (wchar_t*)GlobalAlloc(GPTR, kFormatChars * sizeof(wchar_t));
  bool filled = false;
  bool done = false;
  if (wideTemplate && wideOutput) {
    markUntouched(wideOutput);
    FormatTitleRequestWide request = {nullptr, 0, wideTemplate, gHost, wideOutput, (int)kFormatChars,
                                      callbacks.resolveWide, callbacks.freeWide};
    callDirect(HOST_IPC, (WPARAM)&request, HOST_RENDER_TEMPLATE_WIDE);
    if (!stillUntouched(wideOutput)) {
      wideOutput[kFormatChars - 1] = L'\0';
      fromWide(wideOutput, out, outBytes);
      filled = wideLength(wideOutput) >= kFormatChars - 1;
      done = true;
    }
  }
  if (wideTemplate) GlobalFree(wideTemplate);
  if (wideOutput) GlobalFree(wideOutput);
  if (done) return filled;

  // A player that formats only in the ANSI code page.
  char* ansiTemplate = (char*)GlobalAlloc(GPTR, kTemplateBytes * 2);
  char* ansiOutput = (char*)GlobalAlloc(GPTR, kFormatChars);
  size_t templateLength = textLength(templateText, kTemplateBytes);
  // A conversion that fails gives no template to format (never an empty one in its place).
  if (ansiTemplate && ansiOutput &&
      (templateLength == 0 ||
       utf8ToAnsi(templateText, templateLength, ansiTemplate, kTemplateBytes * 2, nullptr) != (size_t)-1)) {
    FormatTitleRequest request = {ansiTemplate, gHost, ansiOutput, (int)kFormatChars, callbacks.resolveAnsi,
                                  callbacks.freeAnsi};
    callDirect(HOST_IPC, (WPARAM)&request, HOST_RENDER_TEMPLATE);
    ansiOutput[kFormatChars - 1] = '\0';
    size_t length = textLength(ansiOutput, kFormatChars);
    ansiToUtf8(ansiOutput, length, out, outBytes);
    filled = length >= kFormatChars - 1;
  }
  if (ansiTemplate) GlobalFree(ansiTemplate);
  if (ansiOutput) GlobalFree(ansiOutput);
  return filled;
}

bool hostFileFieldText(const char* path, const char* field, char* value, size_t valueBytes) {
  value[0] = '\0';
  wchar_t widePath[kPathChars];
  wchar_t wideField[kPathChars];
  wchar_t* wideValue = (wchar_t*)GlobalAlloc(GPTR, kValueChars * sizeof(wchar_t));
  bool found = false;
  bool answered = false;
  if (wideValue && toWide(path, widePath, kPathChars) && toWide(field, wideField, kPathChars)) {
    markUntouched(wideValue);
    ExtendedInfoRequestWide request = {widePath, wideField, wideValue, (int)kValueChars};
    LRESULT answer = sendRequest(HOST_FILE_FIELD_WIDE, (WPARAM)&request);
    answered = !stillUntouched(wideValue);
    if (answered) {
      wideValue[kValueChars - 1] = L'\0';
      found = answer != 0 && wideValue[0] != L'\0';
      if (found) fromWide(wideValue, value, valueBytes);
    }
  }
  if (wideValue) GlobalFree(wideValue);
  if (answered) return found;

  char ansiPath[kPathChars * 2];
  char ansiField[kPathChars * 2];
  char* ansiValue = (char*)GlobalAlloc(GPTR, kValueChars);
  if (ansiValue && utf8ToAnsi(path, textLength(path, kPathBytes), ansiPath, sizeof ansiPath, nullptr) != (size_t)-1 &&
      utf8ToAnsi(field, textLength(field, kPathBytes), ansiField, sizeof ansiField, nullptr) != (size_t)-1) {
    ExtendedInfoRequest request = {ansiPath, ansiField, ansiValue, (int)kValueChars};
    found = sendRequest(HOST_FILE_FIELD, (WPARAM)&request) != 0;
    ansiValue[kValueChars - 1] = '\0';
    if (found) ansiToUtf8(ansiValue, textLength(ansiValue, kValueChars), value, valueBytes);
  }
  if (ansiValue) GlobalFree(ansiValue);
  return found;
}

void hostFileTitleText(const char* path, char* title, size_t titleBytes) {
  title[0] = '\0';
  char ansiPath[kPathChars * 2];
  char* ansiTitle = (char*)GlobalAlloc(GPTR, kTitleHookBytes);
  if (ansiTitle && utf8ToAnsi(path, textLength(path, kPathBytes), ansiPath, sizeof ansiPath, nullptr) != (size_t)-1) {
    TitleHookRequest request = {ansiPath, ansiTitle};
    sendRequest(HOST_FILE_TITLE, (WPARAM)&request);
    ansiTitle[kTitleHookBytes - 1] = '\0';
    ansiToUtf8(ansiTitle, textLength(ansiTitle, kTitleHookBytes), title, titleBytes);
  }
  if (ansiTitle) GlobalFree(ansiTitle);
}

void hostRegisterPage(PrefsPageRecord* record) { sendRequest(HOST_REGISTER_PAGE, (WPARAM)record); }
void hostShowPage(int pageId) { sendRequest(HOST_SHOW_PAGE, (WPARAM)pageId); }

int hostNamedRequest(const char* name) { return (int)sendRequest(HOST_NAMED_REQUEST, (WPARAM)name); }

void hostAddHotkey(int code, HotkeyRegistration* registration) {
  sendRequest(code, (WPARAM)registration);
}

void hostPlay() { callDirect(WM_COMMAND, HOST_CMD_PLAY, 0); }
void hostPause() { callDirect(WM_COMMAND, HOST_CMD_PAUSE, 0); }
