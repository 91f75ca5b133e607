// The capture cycle on the player's window: the mark, commit, cancel, save and show actions that
// CAPTURE_MSG carries, and the controller's state.
#include "captureController.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../decode/decodedFiles.h"
#include "../host/hostLink.h"
#include "../res/resource.h"
#include "../store/settings.h"
#include "captureState.h"
#include "cueEditor.h"
#include "cueSave.h"
#include "cueStrip.h"
#include "entryMaker.h"
#include "keyRepeat.h"
#include "recovery.h"
#include "sheetHistory.h"
#include "sheetState.h"
#include "tracklist.h"

namespace {

const char kCaption[] = "LUMO";
const char kTracksLeft[] = "The tracklist still holds ";
const char kTracksLeftAsk[] = " tracks not marked. Save anyway?";

CaptureState gState;  // zero until createCaptureState sets it up
WNDPROC gSavedHostProc = nullptr;
bool gChained = false;
bool gActive = false;
void (*gMakeWindows)() = nullptr;

// The windows an action shows, made now when the player has not shown yet.
void needWindows() {
  if (!gState.cueWindow && gMakeWindows) gMakeWindows();
}

// The recording the entry of a mark goes into: the current entry at the mark, or now.
void entryRecording(char* path) {
  if (gState.markPath[0])
    copyText(path, kPathBytes, gState.markPath);
  else
    hostEntryPathText(hostPlaylistIndex(), path);
}

// Tells the Info window where the pending mark goes on the audio, as far as it is read now.
void sayWhereTheMarkGoes() {
  int offset = settings().markOffsetMs;
  int position = gState.markPositionMs;
  char why[kPlacementTextBytes];
  placeMarkOnAudio(gState.markPath, position > offset ? position - offset : 0, position, why);
  sayInWindow(gState.infoWindow, why);
}

// Makes the entry for the captured texts at a position (the reaction time taken off) and notes
// the change (into the history with takenLine, the tracklist line it took, or null); with
// resume, playback goes on when the mark stopped it.
void commitAt(int positionMs, bool resume, const char* takenLine) {
  int offset = settings().markOffsetMs;
  char path[kPathBytes];
  entryRecording(path);
  gState.tags.positionMs = placeMarkOnAudio(path, positionMs > offset ? positionMs - offset : 0, positionMs,
                                            gState.placement);
  EditorText before = readEditorText();
  recordStepOf(before, takenLine);
  makeEntry(&gState.tags, before);
  gState.markPath[0] = '\0';  // the tags of later formatting are the current entry's
  freeEditorText(&before);
  markSheetChanged();
  keepCopy();

  gState.capturedTitle[0] = '\0';
  gState.tags.entryNumber = entryCounter();
  sendToWindow(gState.infoWindow, CAPTURE_TITLE_TAKEN, 0);
  sendToWindow(gState.cueWindow, CAPTURE_SHOW_CUE, FALSE);
  if (!resume) return;
  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
}

// A mark while the tracklist holds a track: its first line is the entry at once, at the moment
// of the key press; the music plays on and no window asks anything (unless the mark would add a
// FILE block to an opened sheet).
void markFromTracklist() {
  int position = hostPositionMs();
  hostEntryPathText(hostPlaylistIndex(), gState.markPath);
  if (!mayMarkIn(gState.markPath)) return;
  wantAudioOf(gState.markPath);
  followPlayPosition();
  TracklistLine* line = (TracklistLine*)GlobalAlloc(GMEM_FIXED, sizeof(TracklistLine));
  char* taken = nullptr;
  if (!line) return;
  if (takeTracklistLine(line, &taken)) {
    // A line that names no performer takes the last one used, as the Info window keeps it.
    setCapturedTexts(line->title, line->hasPerformer ? line->performer : gState.capturedPerformer);
    // The sheet as it was goes into the history with the line, so that Ctrl+Z puts it back.
    commitAt(position, false, taken);
    GlobalFree(taken);
    wchar_t* performer = newWideText(gState.capturedPerformer);
    if (performer) sendToWindow(gState.infoWindow, CAPTURE_PERFORMER_USED, 0, (LPARAM)performer);
    if (performer) GlobalFree(performer);
    sendToWindow(gState.tracklistWindow, CAPTURE_TRACKLIST_CHANGED, 0);
  }
  GlobalFree(line);
}

// Pauses before the window is shown: showing it takes longer than the pause, and every
// moment between the key and the pause would put the entry's INDEX later.
void onMark() {
  if (hotKeyRepeats()) return;  // the key held down after a tracklist mark
  if (tracklistCount() > 0 && !gState.marked) {
    takeHotKeyPress();
    markFromTracklist();
    return;
  }
  if (hostPlayState() == HOST_STATE_PLAYING) hostPause();
  // The moment of the key press is the mark, whatever happens while the track is named; a
  // second press while the Info window is open moves it. The entry goes under the FILE line of
  // the recording that plays now, even if the player has moved on by the commit.
  int position = hostPositionMs();
  char path[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), path);
  bool asked = gState.marked && textsEqual(path, gState.markPath);
  if (!asked && !mayMarkIn(path)) {
    if (!gState.marked && hostPlayState() == HOST_STATE_PAUSED) hostPlay();  // as a cancel does
    return;
  }
  gState.markPositionMs = position;
  copyText(gState.markPath, sizeof gState.markPath, path);
  gState.marked = true;
  wantAudioOf(path);
  followPlayPosition();
  sendToWindow(gState.infoWindow, CAPTURE_SHOW_INFO, 0);
  sayWhereTheMarkGoes();
}

void onCommit() {
  int position = gState.marked ? gState.markPositionMs : hostPositionMs();
  if (!gState.marked) gState.markPath[0] = '\0';  // the entry's recording: the current entry
  gState.marked = false;
  commitAt(position, true, nullptr);
  gState.placement[0] = '\0';  // the Info window said it; the tracklist's line says its own
  sayInWindow(gState.infoWindow, "");
}

void onCancel() {
  gState.marked = false;
  sayInWindow(gState.infoWindow, "");
  if (hostPlayState() == HOST_STATE_PAUSED) hostPlay();
}

// Whether to save while tracks of the tracklist wait to be marked: the user is asked.
bool saveWithTracksLeft() {
  size_t left = tracklistCount();
  if (left == 0) return true;
  char number[kNumberTextBytes];
  formatInt(number, sizeof number, (long long)left);
  char message[sizeof kTracksLeft + kNumberTextBytes + sizeof kTracksLeftAsk];
  copyText(message, sizeof message, kTracksLeft);
  appendTo(message, sizeof message, number);
  appendTo(message, sizeof message, kTracksLeftAsk);
  return guardedMessageBox(gState.cueWindow, message, kCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void onSave() {
  // A save asked for while a box of ours is open runs once it has closed.
  if (deferWhileModal(IDC_CUE_SAVE)) return;
  if (!saveWithTracksLeft()) return;
  SaveOutcome outcome = saveCueSheet(gState.cueWindow, keepCopy);
  if (outcome.problemLine > 0) {
    sendToWindow(gState.cueWindow, CAPTURE_SHOW_CUE, FALSE);
    showEditorLine(outcome.problemLine);
  }
}

void runAction(LPARAM action) {
  needWindows();
  switch (action) {
    case CAPTURE_MARK: onMark(); break;
    case CAPTURE_COMMIT: onCommit(); break;
    case CAPTURE_CANCEL: onCancel(); break;
    case CAPTURE_SAVE: onSave(); break;
    case CAPTURE_SHOW: sendToWindow(gState.cueWindow, CAPTURE_SHOW_CUE, TRUE); break;
    default: break;
  }
}

}  // namespace

void sayInWindow(HWND window, const char* text) {
  wchar_t* wide = window ? newWideText(text ? text : "") : nullptr;
  if (wide) SendMessageW(window, CAPTURE_SAY, 0, (LPARAM)wide);
  if (wide) GlobalFree(wide);
}

void sayInCueWindow(const char* text) { sayInWindow(gState.cueWindow, text); }

CaptureState& captureState() { return gState; }

void sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window) SendMessageW(window, message, wParam, lParam);
}

CopiedSheetState copiedSheetState(char* code, size_t codeBytes) {
  formCode(openedSheetForm(), code, codeBytes);
  return CopiedSheetState{entryCounter(), sheetAudioPath(), sheetUnsaved(), openedSheetPath(), code,
                       tracklistText(), tracklistLength()};
}

void keepCopy() {
  EditorText text = readEditorText();
  if (!text.text) return;
  char code[kFormCodeBytes];
  keepRecoveryCopy(text.text, text.length, copiedSheetState(code, sizeof code));
  freeEditorText(&text);
}

void recordStepOf(const EditorText& before, const char* takenLine) {
  if (!before.text) return;
  SheetBookkeeping* bookkeeping = (SheetBookkeeping*)GlobalAlloc(GMEM_FIXED, sizeof(SheetBookkeeping));
  if (!bookkeeping) return;
  saveBookkeeping(bookkeeping);
  recordChange(SheetSnapshot{before.text, before.length, bookkeeping}, takenLine);
  GlobalFree(bookkeeping);
}

void recordStep(const char* takenLine) {
  EditorText text = readEditorText();
  recordStepOf(text, takenLine);
  freeEditorText(&text);
}

void createCaptureState() {
  forgetSheet();
  gState.marked = false;
  gState.capturedTitle[0] = '\0';
  gState.capturedPerformer[0] = '\0';
  gState.restored = false;
  gState.noCopyToTell = false;
  gState.setAside[0] = '\0';
  gState.markPath[0] = '\0';
  gState.othersWaiting = 0;
  gState.placement[0] = '\0';
  gState.tags =
      TagRecord{gState.capturedTitle, gState.capturedPerformer, entryCounter(), 0, kValueBytes, gState.markPath};
  setTagRecord(&gState.tags);
}

void attachCaptureWindows(HWND cueWindow, HWND infoWindow, HWND tracklistWindow) {
  if (cueWindow) openDecoding(cueWindow, CAPTURE_DECODE_PROGRESS);
  gState.cueWindow = cueWindow;
  gState.infoWindow = infoWindow;
  gState.tracklistWindow = tracklistWindow;
  attachEditor(cueWindow ? GetDlgItem(cueWindow, IDC_CUE_EDITOR) : nullptr);
  attachStrip(cueWindow ? GetDlgItem(cueWindow, IDC_CUE_WAVE) : nullptr);
}

void detachCaptureWindows() {
  endStripDrag();
  attachCaptureWindows(nullptr, nullptr, nullptr);
  clearHistory();
  clearTracklist();
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
  // At quit the player's window is already gone, and our place in its chain with it.
  if (!hostWindowAlive()) {
    gChained = false;
    gSavedHostProc = nullptr;
    hostLinkSetDirect(nullptr);
    return;
  }
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
  // A file begins to play: its audio is read in the background, for the marks to come.
  if (message == HOST_IPC && lParam == HOST_NOTIFY_FILE_STARTS_WIDE && wParam > (WPARAM)HOST_NOT_UNDERSTOOD) {
    wantAudioOfWide((const wchar_t*)wParam);
    stripHearsFileStart();
  }
  return hostPassOn(next, window, message, wParam, lParam);
}

void requestCapture(LPARAM action) {
  // With our procedure on the player's window the action travels as CAPTURE_MSG, which the
  // player then sees too. With capture switched off only the hot key is off: the windows'
  // actions run all the same.
  if (gActive) hostCapture(action);
  else runAction(action);
}

void showCueSheet() {
  needWindows();
  sendToWindow(gState.cueWindow, CAPTURE_SHOW_CUE, TRUE);
}

void setWindowsMaker(void (*makeWindows)()) { gMakeWindows = makeWindows; }

void setCapturedTexts(const char* title, const char* performer) {
  copyText(gState.capturedTitle, kTextBytes, title);
  copyText(gState.capturedPerformer, kTextBytes, performer);
}
