// Requests and commands to the player, its timer and its window procedure.
#include "hostLink.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"

namespace {

HWND gHost = nullptr;
bool gWideHost = false;  // the player's window is a Unicode one
WNDPROC gDirect = nullptr;

const size_t kTitleChars = 2048;  // the title requests' buffer, as their record tells the player
// Put into an output before a request: a player that lacks the request leaves it as it was.
const wchar_t kUntouched[] = {0xFFFF, 0xFFFE, 0};
const char kUntouchedAnsi[] = "\xFF\xFE";
// The name a formatting request carries when no file plays: the player formats nothing without one.
const wchar_t kNoFileName[] = L"LumoMarker";
const LONG_PTR kLowestTextAddress = 0x10000;  // below it, an answer is a number, not a text
const size_t kVideoTextChars = 1024;          // the player's video text buffer

void markUntouched(wchar_t* output) {
  for (size_t i = 0; i < sizeof kUntouched / sizeof kUntouched[0]; ++i) output[i] = kUntouched[i];
}

bool stillUntouched(const wchar_t* output) { return output[0] == kUntouched[0] && output[1] == kUntouched[1]; }

size_t wideLength(const wchar_t* text, size_t most) {
  size_t n = 0;
  while (n < most && text[n]) ++n;
  return n;
}

LRESULT sendRequest(int code, WPARAM arg) {
  return gHost ? SendMessageW(gHost, HOST_IPC, arg, code) : 0;
}

// Bypasses our own window procedure when it is installed in front of the player's.
LRESULT sendPastUs(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gHost) return 0;
  if (gDirect) return hostPassOn(gDirect, gHost, message, wParam, lParam);
  return SendMessageW(gHost, message, wParam, lParam);
}

}  // namespace

void hostLinkOpen(HWND host) {
  gHost = host;
  gWideHost = host && IsWindowUnicode(host);
}
HWND hostWindow() { return gHost; }
void hostLinkSetDirect(WNDPROC direct) { gDirect = direct; }
bool hostWindowAlive() { return gHost && IsWindow(gHost); }

WNDPROC hostWindowProc() {
  if (!gHost) return nullptr;
  return (WNDPROC)(gWideHost ? GetWindowLongPtrW(gHost, GWLP_WNDPROC) : GetWindowLongPtrA(gHost, GWLP_WNDPROC));
}

WNDPROC hostReplaceWindowProc(WNDPROC procedure) {
  if (!gHost) return nullptr;
  if (gWideHost) return (WNDPROC)SetWindowLongPtrW(gHost, GWLP_WNDPROC, (LONG_PTR)procedure);
  return (WNDPROC)SetWindowLongPtrA(gHost, GWLP_WNDPROC, (LONG_PTR)procedure);
}

LRESULT hostPassOn(WNDPROC next, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gWideHost) {
    if (!next) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(next, window, message, wParam, lParam);
  }
  if (!next) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(next, window, message, wParam, lParam);
}

bool hostStartTimer(UINT_PTR id, UINT delayMs, TIMERPROC procedure) {
  return gHost && SetTimer(gHost, id, delayMs, procedure) != 0;
}

void hostStopTimer(UINT_PTR id) {
  if (gHost) KillTimer(gHost, id);
}

void hostCapture(LPARAM action) {
  if (gHost) SendMessageW(gHost, CAPTURE_MSG, 0, action);
}

int hostVersion() { return (int)sendRequest(HOST_VERSION, 0); }
int hostPlayState() { return (int)sendRequest(HOST_PLAY_STATE, 0); }
int hostPlaylistIndex() { return (int)sendPastUs(HOST_IPC, 0, HOST_PLAYLIST_INDEX); }
int hostPlaylistCount() { return (int)sendRequest(HOST_PLAYLIST_COUNT, 0); }
int hostPositionMs() { return (int)sendRequest(HOST_TRACK_TIME, HOST_TIME_POSITION); }
int hostLengthSeconds() { return (int)sendRequest(HOST_TRACK_TIME, HOST_TIME_LENGTH); }
int hostJumpTo(int positionMs) { return (int)sendRequest(HOST_JUMP_TO_TIME, (WPARAM)positionMs); }
int hostStreamInfo(int what) { return (int)sendRequest(HOST_STREAM_INFO, (WPARAM)what); }

long long hostLengthMs() {
  // An older player answers the millisecond selector as unknown (1) or 0.
  long long ms = (int)sendRequest(HOST_TRACK_TIME, HOST_TIME_LENGTH_MS);
  if (ms > (long long)HOST_NOT_UNDERSTOOD) return ms;
  int seconds = hostLengthSeconds();
  return seconds > 0 ? (long long)seconds * 1000 : -1;
}

int hostSampleRateHz() {
  int hz = hostStreamInfo(HOST_STREAM_SAMPLE_RATE_HZ);
  if (hz > (int)HOST_NOT_UNDERSTOOD) return hz;
  // kHz, rounded down by the player: the rates of the 11,025 Hz family lose their fraction.
  int khz = hostStreamInfo(HOST_STREAM_SAMPLE_RATE);
  switch (khz) {
    case 11: return 11025;
    case 22: return 22050;
    case 44: return 44100;
    case 88: return 88200;
    case 176: return 176400;
    default: return khz > 0 ? khz * 1000 : 0;
  }
}

void hostVideoText(char* text, size_t textBytes) {
  text[0] = '\0';
  LONG_PTR answer = (LONG_PTR)hostStreamInfo(HOST_STREAM_VIDEO_TEXT);
  if (answer <= kLowestTextAddress) return;
  // UTF-16 text from the Unicode players: its first unit's high byte is 0 for the usual
  // characters while the low one is not; ANSI text has no 0 byte there.
  const unsigned char* bytes = (const unsigned char*)answer;
  if (bytes[0] != 0 && bytes[1] == 0) {
    const wchar_t* wide = (const wchar_t*)answer;
    size_t units = wideLength(wide, kVideoTextChars - 1);
    wchar_t* copy = (wchar_t*)GlobalAlloc(GPTR, (units + 1) * sizeof(wchar_t));
    if (!copy) return;
    for (size_t i = 0; i < units; ++i) copy[i] = wide[i];
    fromWide(copy, text, textBytes);
    GlobalFree(copy);
    return;
  }
  const char* ansi = (const char*)answer;
  ansiToUtf8(ansi, textLength(ansi, kVideoTextChars - 1), text, textBytes);
}

void hostEntryPathText(int index, char* path) {
  path[0] = '\0';
  // The player's path buffers hold at most kPathChars characters (twice as many bytes in a
  // double-byte code page), the NUL among them: no walk goes further, and a text that does not
  // end there is no path. An answer below the lowest address is a number, no text.
  LRESULT wide = sendPastUs(HOST_IPC, (WPARAM)index, HOST_ENTRY_PATH_WIDE);
  if (wide > kLowestTextAddress) {
    const wchar_t* text = (const wchar_t*)wide;
    size_t units = wideLength(text, kPathChars);
    if (units < kPathChars) utf16ToUtf8(text, units, path, kPathBytes);
    return;
  }
  LRESULT ansi = sendPastUs(HOST_IPC, (WPARAM)index, HOST_ENTRY_PATH);
  if (ansi <= kLowestTextAddress) return;
  const char* text = (const char*)ansi;
  size_t bytes = textLength(text, kPathChars * 2);
  if (bytes < kPathChars * 2) ansiToUtf8(text, bytes, path, kPathBytes);
}

bool hostFormatTemplate(const char* templateText, const char* fileName, const FormatCallbacks& callbacks, char* out,
                        size_t outBytes) {
  out[0] = '\0';
  wchar_t* wideTemplate = newWideText(templateText);
  wchar_t* wideOutput = (wchar_t*)GlobalAlloc(GPTR, kFormatChars * sizeof(wchar_t));
  wchar_t wideName[kPathChars];
  if (!fileName || !fileName[0] || !toWide(fileName, wideName, kPathChars) || !wideName[0])
    lstrcpynW(wideName, kNoFileName, (int)kPathChars);
  bool filled = false;
  bool done = false;
  if (wideTemplate && wideOutput) {
    markUntouched(wideOutput);
    FormatTitleRequestWide request = {wideName, 0, wideTemplate, gHost, wideOutput, (int)kFormatChars,
                                      callbacks.resolveWide, callbacks.freeWide};
    sendPastUs(HOST_IPC, (WPARAM)&request, HOST_RENDER_TEMPLATE_WIDE);
    if (!stillUntouched(wideOutput)) {
      wideOutput[kFormatChars - 1] = L'\0';
      fromWide(wideOutput, out, outBytes);
      filled = wideLength(wideOutput, kFormatChars) >= kFormatChars - 1;
      done = true;
    }
  }
  if (wideTemplate) GlobalFree(wideTemplate);
  if (wideOutput) GlobalFree(wideOutput);
  if (done) return filled;

  // A player that formats only in the ANSI code page.
  // Each character takes no more bytes in the code page than in UTF-8.
  char* ansiTemplate = (char*)GlobalAlloc(GPTR, kSentTemplateBytes);
  char* ansiOutput = (char*)GlobalAlloc(GPTR, kFormatChars);
  size_t templateLength = textLength(templateText, kSentTemplateBytes - 1);
  // A conversion that fails gives no template to format (never an empty one in its place).
  if (ansiTemplate && ansiOutput &&
      (templateLength == 0 ||
       utf8ToAnsi(templateText, templateLength, ansiTemplate, kSentTemplateBytes, nullptr) != (size_t)-1)) {
    FormatTitleRequest request = {ansiTemplate, gHost, ansiOutput, (int)kFormatChars, callbacks.resolveAnsi,
                                  callbacks.freeAnsi};
    sendPastUs(HOST_IPC, (WPARAM)&request, HOST_RENDER_TEMPLATE);
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
  bool answered = false;
  if (wideValue && toWide(path, widePath, kPathChars) && toWide(field, wideField, kPathChars)) {
    markUntouched(wideValue);
    ExtendedInfoRequestWide request = {widePath, wideField, wideValue, (int)kValueChars};
    sendRequest(HOST_FILE_FIELD_WIDE, (WPARAM)&request);
    answered = !stillUntouched(wideValue);
    if (answered) {
      wideValue[kValueChars - 1] = L'\0';
      fromWide(wideValue, value, valueBytes);
    }
  }
  if (wideValue) GlobalFree(wideValue);
  if (answered) return value[0] != '\0';

  char ansiPath[kPathChars * 2];
  char ansiField[kPathChars * 2];
  char* ansiValue = (char*)GlobalAlloc(GPTR, kValueChars);
  if (ansiValue && utf8ToAnsi(path, textLength(path, kPathBytes), ansiPath, sizeof ansiPath, nullptr) != (size_t)-1 &&
      utf8ToAnsi(field, textLength(field, kPathBytes), ansiField, sizeof ansiField, nullptr) != (size_t)-1) {
    ExtendedInfoRequest request = {ansiPath, ansiField, ansiValue, (int)kValueChars};
    sendRequest(HOST_FILE_FIELD, (WPARAM)&request);
    ansiValue[kValueChars - 1] = '\0';
    ansiToUtf8(ansiValue, textLength(ansiValue, kValueChars), value, valueBytes);
  }
  if (ansiValue) GlobalFree(ansiValue);
  return value[0] != '\0';
}

void hostFileTitleText(const char* path, char* title, size_t titleBytes) {
  title[0] = '\0';
  wchar_t widePath[kPathChars];
  wchar_t* wideTitle = (wchar_t*)GlobalAlloc(GPTR, kTitleChars * sizeof(wchar_t));
  bool answered = false;
  if (wideTitle && toWide(path, widePath, kPathChars)) {
    markUntouched(wideTitle);
    TitleHookRequestWide request = {widePath, wideTitle, (int)kTitleChars, 0};
    sendRequest(HOST_FILE_TITLE_WIDE, (WPARAM)&request);
    answered = !stillUntouched(wideTitle);
    if (answered) {
      wideTitle[kTitleChars - 1] = L'\0';
      fromWide(wideTitle, title, titleBytes);
    }
  }
  if (wideTitle) GlobalFree(wideTitle);
  if (answered) return;

  // The ANSI request: the player writes nothing there itself, a plug-in hooked into it may.
  char ansiPath[kPathChars * 2];
  char* ansiTitle = (char*)GlobalAlloc(GPTR, kTitleChars);
  if (ansiTitle && utf8ToAnsi(path, textLength(path, kPathBytes), ansiPath, sizeof ansiPath, nullptr) != (size_t)-1) {
    copyText(ansiTitle, kTitleChars, kUntouchedAnsi);
    TitleHookRequest request = {ansiPath, ansiTitle, (int)kTitleChars, 0};
    sendRequest(HOST_FILE_TITLE, (WPARAM)&request);
    ansiTitle[kTitleChars - 1] = '\0';
    bool untouched = ansiTitle[0] == kUntouchedAnsi[0] && ansiTitle[1] == kUntouchedAnsi[1];
    if (!untouched)
      ansiToUtf8(ansiTitle, textLength(ansiTitle, kTitleChars), title, titleBytes);
  }
  if (ansiTitle) GlobalFree(ansiTitle);
}

void hostRegisterPage(PrefsPageRecord* record) { sendRequest(HOST_REGISTER_PAGE, (WPARAM)record); }
void hostShowPage(const PrefsPageRecord* record) { sendRequest(HOST_SHOW_PAGE, (WPARAM)record); }

int hostNamedRequest(const char* name) { return (int)sendRequest(HOST_NAMED_REQUEST, (WPARAM)name); }

DispatchObject* hostServiceManager() {
  LRESULT answer = sendRequest(HOST_SERVICE_MANAGER, 0);
  return answer == 0 || answer == HOST_NOT_UNDERSTOOD ? nullptr : (DispatchObject*)answer;
}

void hostAddHotkey(int code, HotkeyRegistration* registration) {
  sendRequest(code, (WPARAM)registration);
}

void hostPlay() { sendPastUs(WM_COMMAND, HOST_CMD_PLAY, 0); }
void hostPause() { sendPastUs(WM_COMMAND, HOST_CMD_PAUSE, 0); }
