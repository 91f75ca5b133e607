// The capture cycle on the player's window.
#include "captureController.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../host/hostLink.h"
#include "../sheet/escapeFilter.h"
#include "../sheet/sheetEdit.h"
#include "../store/settings.h"
#include "cueEditor.h"
#include "cueSave.h"
#include "cueWindow.h"
#include "infoWindow.h"
#include "recovery.h"
#include "sheetState.h"
#include "tagResolver.h"

namespace {

struct CaptureState {
  bool marked;           // a mark is pending: its position is the entry's
  int markPositionMs;
  int entryPositionMs;   // the position of the entry being formatted, reaction time taken off
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
  // The moment of the key press is the mark, whatever happens while the track is named; a
  // second press while the Info window is open moves it.
  gState.markPositionMs = hostPositionMs();
  gState.marked = true;
  showInfoWindow();
}

// Before an entry is formatted: a sheet emptied by hand is a new one, and in a sheet with
// tracks the next number follows them. Returns whether the entry is the sheet's first, which
// the header goes before.
bool followTheSheet(const EditorText& sheet) {
  bool empty = true;
  int tracks = sheet.text ? countTracks(sheet.text, sheet.length, &empty) : 0;
  if (empty) {
    forgetSheet();
    markSheetChanged();
  } else if (tracks > 0) {
    setEntryCounter(tracks + 1);
  }
  return entryCounter() <= 1;
}

// Puts the formatted entry into the sheet: in time order and numbered when the sheet's tracks
// are recognised, at the end otherwise.
void placeInSheet(const EditorText& sheet, bool first) {
  size_t editsMax = placementEditsMax(sheet.text, sheet.length);
  size_t placedBytes = placedTextBytes(textLength(gState.headerText, kTextBytes),
                                       textLength(gState.entryText, kTextBytes), 0);
  TextEdit* edits = (TextEdit*)GlobalAlloc(GMEM_FIXED, editsMax * sizeof(TextEdit));
  char* placed = (char*)GlobalAlloc(GMEM_FIXED, placedBytes);
  if (edits && placed) {
    EntryPlacement placement;
    EntryTarget target = {0, nullptr};
    size_t count = placeEntry(sheet.text, sheet.length, first ? gState.headerText : nullptr,
                              gState.entryText, target, placed, placedBytes, edits, editsMax, &placement);
    if (placement.atEnd && count == 1)
      appendToEditor(placed);
    else
      applyToEditor(sheet.text, sheet.length, edits, count, false);
    setEntryCounter(placement.ordered ? placement.tracks + 1 : entryCounter() + 1);
  }
  if (edits) GlobalFree(edits);
  if (placed) GlobalFree(placed);
}

void onCommit() {
  int position = gState.marked ? gState.markPositionMs : hostPositionMs();
  gState.marked = false;
  int offset = settings().markOffsetMs;
  gState.entryPositionMs = position > offset ? position - offset : 0;

  EditorText sheet = readEditorText(0);
  bool first = followTheSheet(sheet);
  freeEditorText(&sheet);
  FormatTitleRequest request = {nullptr,       hostWindow(), gState.formatted, (int)kTextBytes,
                                resolveTag, freeTagValue};
  EnterCriticalSection(&gFormatLock);
  formatInto(&request, settings().headerTemplate, gState.headerText);
  formatInto(&request, settings().trackTemplate, gState.entryText);
  LeaveCriticalSection(&gFormatLock);

  // The sheet belongs to the file that was current at its first entry.
  if (!sheetAudioPath()[0]) setSheetAudioPath(hostEntryPath(hostPlaylistIndex()));
  // Read again: the player may have run messages of its own while it formatted the entry.
  sheet = readEditorText(0);
  if (sheet.text) placeInSheet(sheet, first);
  freeEditorText(&sheet);
  markSheetChanged();
  keepRecoveryCopy();

  gState.capturedTitle[0] = '\0';
  clearInfoTitle();

  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
}

void onCancel() {
  gState.marked = false;
  if (hostPlayState() == HOST_STATE_PAUSED) hostPlay();
}

void runAction(LPARAM action) {
  switch (action) {
    case CAPTURE_MARK: onMark(); break;
    case CAPTURE_COMMIT: onCommit(); break;
    case CAPTURE_CANCEL: onCancel(); break;
    case CAPTURE_SAVE: saveCueSheet(); break;
    case CAPTURE_SHOW: bringCueWindowUp(); break;
    default: break;
  }
}

}  // namespace

void createFormatLock() { InitializeCriticalSection(&gFormatLock); }
void deleteFormatLock() { DeleteCriticalSection(&gFormatLock); }

void createCaptureState() {
  forgetSheet();
  gState.marked = false;
  gState.capturedTitle[0] = '\0';
  gState.capturedPerformer[0] = '\0';
}

void installCapture() {
  if (gActive) return;
  if (!gChained) {
    if (!hostWindow()) return;
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
int entryPositionMs() { return gState.entryPositionMs; }
