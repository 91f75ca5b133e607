// The capture cycle on the player's window.
#include "captureController.h"

#include "../plugin/hostLink.h"
#include "../plugin/limits.h"
#include "../plugin/settings.h"
#include "../plugin/text.h"
#include "cueFile.h"
#include "cueWindow.h"
#include "escapeFilter.h"
#include "infoWindow.h"
#include "tagResolver.h"

namespace {

const char kLineBreak[] = "\r\n";

struct CaptureState {
  int entryCounter;
  char* headerPrefix;    // kHeaderPrefixBytes, zero-filled global memory
  char* appendedText;    // kAppendBytes, zero-filled global memory
  char capturedTitle[kTextBytes];
  char capturedPerformer[kTextBytes];
  char formatted[kTextBytes];
  char headerText[kTextBytes];
  char entryText[kTextBytes];
};

CaptureState gState;  // zero until createCaptureState sets it up
CRITICAL_SECTION gFormatLock;
WNDPROC gSavedHostProc = nullptr;
bool gChained = false;
bool gActive = false;

// Has the player format one template into gState.formatted, then filters it into dest.
void formatInto(FormatTitleRequest* request, const char* templateText, char* dest) {
  request->templateText = templateText ? templateText : "";
  gState.formatted[0] = '\0';
  hostRenderTemplate(request);
  gState.formatted[kTextBytes - 1] = '\0';
  applyEscapes(gState.formatted, dest, kTextBytes);
}

// Pauses before the window is shown: showing it takes longer than the pause, and every
// moment between the key and the pause would put the entry's INDEX later.
void onMark() {
  if (hostPlayState() == HOST_STATE_PLAYING) hostPause();
  showInfoWindow();
}

void onCommit() {
  FormatTitleRequest request = {nullptr,       hostWindow(), gState.formatted, (int)kTextBytes,
                                resolveTag, freeTagValue};
  EnterCriticalSection(&gFormatLock);
  formatInto(&request, settings().headerTemplate, gState.headerText);
  formatInto(&request, settings().trackTemplate, gState.entryText);
  LeaveCriticalSection(&gFormatLock);

  if (gState.entryCounter <= 1) {
    appendTo(gState.headerPrefix, kHeaderPrefixBytes, kLineBreak);
    appendTo(gState.headerPrefix, kHeaderPrefixBytes, gState.entryText);
    copyText(gState.appendedText, kAppendBytes, gState.headerText);
    appendTo(gState.appendedText, kAppendBytes, gState.headerPrefix);
  } else {
    copyText(gState.appendedText, kAppendBytes, kLineBreak);
    appendTo(gState.appendedText, kAppendBytes, gState.entryText);
  }
  ++gState.entryCounter;
  appendText(cueEditor(), gState.appendedText);

  gState.capturedTitle[0] = '\0';
  clearInfoTitle();

  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
}

void onCancel() {
  if (hostPlayState() == HOST_STATE_PAUSED) hostPlay();
}

void runAction(LPARAM action) {
  switch (action) {
    case CAPTURE_MARK: onMark(); break;
    case CAPTURE_COMMIT: onCommit(); break;
    case CAPTURE_CANCEL: onCancel(); break;
    case CAPTURE_SAVE: saveCueSheet(); break;
    default: break;
  }
}

}  // namespace

void createFormatLock() { InitializeCriticalSection(&gFormatLock); }
void deleteFormatLock() { DeleteCriticalSection(&gFormatLock); }

bool createCaptureState() {
  gState.entryCounter = 1;
  gState.capturedTitle[0] = '\0';
  gState.capturedPerformer[0] = '\0';
  gState.headerPrefix = (char*)GlobalAlloc(GPTR, kHeaderPrefixBytes);
  gState.appendedText = (char*)GlobalAlloc(GPTR, kAppendBytes);
  if (gState.headerPrefix && gState.appendedText) return true;
  releaseCaptureState();
  return false;
}

void releaseCaptureState() {
  if (gState.headerPrefix) GlobalFree(gState.headerPrefix);
  if (gState.appendedText) GlobalFree(gState.appendedText);
  gState.headerPrefix = nullptr;
  gState.appendedText = nullptr;
}

void installCapture() {
  if (gActive) return;
  if (!gChained) {
    HWND host = hostWindow();
    if (!host || !gState.appendedText) return;
    WNDPROC previous = (WNDPROC)SetWindowLongPtrA(host, GWLP_WNDPROC, (LONG_PTR)CaptureProc);
    if (!previous) return;
    gSavedHostProc = previous;
    gChained = true;
    hostLinkSetDirect(gSavedHostProc);
  }
  gActive = true;
}

void removeCapture() {
  gActive = false;
  if (!gChained) return;
  HWND host = hostWindow();
  if ((WNDPROC)GetWindowLongPtrA(host, GWLP_WNDPROC) != CaptureProc) return;
  SetWindowLongPtrA(host, GWLP_WNDPROC, (LONG_PTR)gSavedHostProc);
  gChained = false;
  gSavedHostProc = nullptr;
  hostLinkSetDirect(nullptr);
}

bool captureInstalled() { return gActive; }
bool captureChained() { return gChained; }

LRESULT CALLBACK CaptureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CAPTURE_MSG && gActive) runAction(lParam);
  if (!gSavedHostProc) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(gSavedHostProc, window, message, wParam, lParam);
}

void resetSheet() {
  gState.entryCounter = 1;
  if (gState.headerPrefix) gState.headerPrefix[0] = '\0';
  SetWindowTextA(cueEditor(), "");
}

void setCapturedTexts(const char* title, const char* performer) {
  copyText(gState.capturedTitle, kTextBytes, title);
  copyText(gState.capturedPerformer, kTextBytes, performer);
}

int entryCounter() { return gState.entryCounter; }
const char* capturedTitle() { return gState.capturedTitle; }
const char* capturedPerformer() { return gState.capturedPerformer; }
