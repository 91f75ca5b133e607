// The capture cycle on the player's window.
#include "captureController.h"

#include "../host/hostLink.h"
#include "../base/limits.h"
#include "../store/settings.h"
#include "../base/text.h"
#include "cueSave.h"
#include "cueWindow.h"
#include "../sheet/escapeFilter.h"
#include "infoWindow.h"
#include "recovery.h"
#include "sheetState.h"
#include "tagResolver.h"

namespace {

const char kLineBreak[] = "\r\n";

struct CaptureState {
  char* firstEntry;      // kFirstEntryBytes, zero-filled global memory: CR LF and the first
                         // entry, kept until the header is written before it
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

  // The sheet belongs to the file that was current at its first entry.
  if (!sheetAudioPath()[0]) setSheetAudioPath(hostEntryPath(hostPlaylistIndex()));
  if (entryCounter() <= 1) {
    appendTo(gState.firstEntry, kFirstEntryBytes, kLineBreak);
    appendTo(gState.firstEntry, kFirstEntryBytes, gState.entryText);
    copyText(gState.appendedText, kAppendBytes, gState.headerText);
    appendTo(gState.appendedText, kAppendBytes, gState.firstEntry);
  } else {
    copyText(gState.appendedText, kAppendBytes, kLineBreak);
    appendTo(gState.appendedText, kAppendBytes, gState.entryText);
  }
  setEntryCounter(entryCounter() + 1);
  appendToEditor(gState.appendedText);
  markSheetChanged();
  keepRecoveryCopy();

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
  forgetSheet();
  gState.capturedTitle[0] = '\0';
  gState.capturedPerformer[0] = '\0';
  gState.firstEntry = (char*)GlobalAlloc(GPTR, kFirstEntryBytes);
  gState.appendedText = (char*)GlobalAlloc(GPTR, kAppendBytes);
  if (gState.firstEntry && gState.appendedText) return true;
  releaseCaptureState();
  return false;
}

void releaseCaptureState() {
  if (gState.firstEntry) GlobalFree(gState.firstEntry);
  if (gState.appendedText) GlobalFree(gState.appendedText);
  gState.firstEntry = nullptr;
  gState.appendedText = nullptr;
}

void installCapture() {
  if (gActive) return;
  if (!gChained) {
    if (!hostWindow() || !gState.appendedText) return;
    WNDPROC previous = hostReplaceWindowProc(CaptureProc);
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
  if (hostWindowProc() != CaptureProc) return;
  hostReplaceWindowProc(gSavedHostProc);
  gChained = false;
  gSavedHostProc = nullptr;
  hostLinkSetDirect(nullptr);
}

bool captureChained() { return gChained; }

LRESULT CALLBACK CaptureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Taken first: an action that shows a box may see the plug-in shut down before it returns.
  WNDPROC next = gSavedHostProc;
  if (message == CAPTURE_MSG && gActive) runAction(lParam);
  if (!next) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(next, window, message, wParam, lParam);
}

void resetSheet() {
  forgetSheet();
  if (gState.firstEntry) gState.firstEntry[0] = '\0';
  setEditorText("");
  keepRecoveryCopy();
}

void requestCapture(LPARAM action) {
  // With our procedure on the player's window the action travels as CAPTURE_MSG, which the
  // player then sees too. With capture switched off only the hot key is off: the windows'
  // actions run all the same.
  if (gActive) hostCapture(action);
  else runAction(action);
}

void setCapturedTexts(const char* title, const char* performer) {
  copyText(gState.capturedTitle, kTextBytes, title);
  copyText(gState.capturedPerformer, kTextBytes, performer);
}

const char* capturedTitle() { return gState.capturedTitle; }
const char* capturedPerformer() { return gState.capturedPerformer; }
