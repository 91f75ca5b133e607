// Requests and commands to the player, its timer and its window procedure.
#include "hostLink.h"

namespace {

HWND gHost = nullptr;
WNDPROC gDirect = nullptr;

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

const char* hostEntryPath(int index) {
  return (const char*)callDirect(HOST_IPC, (WPARAM)index, HOST_ENTRY_PATH);
}

bool hostFileField(ExtendedInfoRequest* request) {
  return sendRequest(HOST_FILE_FIELD, (WPARAM)request) != 0;
}

void hostFileTitle(TitleHookRequest* request) { sendRequest(HOST_FILE_TITLE, (WPARAM)request); }

void hostRenderTemplate(FormatTitleRequest* request) {
  callDirect(HOST_IPC, (WPARAM)request, HOST_RENDER_TEMPLATE);
}

void hostRegisterPage(PrefsPageRecord* record) { sendRequest(HOST_REGISTER_PAGE, (WPARAM)record); }
void hostShowPage(int pageId) { sendRequest(HOST_SHOW_PAGE, (WPARAM)pageId); }

int hostNamedRequest(const char* name) { return (int)sendRequest(HOST_NAMED_REQUEST, (WPARAM)name); }

void hostAddHotkey(int code, HotkeyRegistration* registration) {
  sendRequest(code, (WPARAM)registration);
}

void hostPlay() { callDirect(WM_COMMAND, HOST_CMD_PLAY, 0); }
void hostPause() { callDirect(WM_COMMAND, HOST_CMD_PAUSE, 0); }
