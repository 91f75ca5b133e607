// The requests of the Cue and Tracklist windows: Reset, Open, Listen, nudges and shifts, undo and
// redo, the tracklist's text, the recovery copy, and what start-up and shutdown ask of the sheet.
#include "captureController.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "captureState.h"
#include "../res/resource.h"
#include "../sheet/tagText.h"
#include "cueEditor.h"
#include "cueStrip.h"
#include "cueExport.h"
#include "fileDialogs.h"
#include "cueOpen.h"
#include "entryMaker.h"
#include "markPlacer.h"
#include "markTools.h"
#include "recovery.h"
#include "sheetHistory.h"
#include "sheetState.h"
#include "stripSheet.h"
#include "tracklist.h"

namespace {

const char kCaption[] = "LUMO";
const char kPlayFirst[] = "Play ";
const char kPlayToListen[] = " to listen to this mark.";
const char kSetAside[] =
    "A recovery copy of an unsaved cue sheet could not be read. It was kept, unchanged, as\r\n";
const char kNoCopy[] =
    "The cue sheet cannot be kept safe against a crash: no recovery copy could be written, "
    "neither beside plugin.ini nor in your application-data folder.\r\n\r\n"
    "Save the sheet now and then. A copy is tried again at every change.";
const char kNewFileBlock[] = "No FILE line of this cue sheet names ";
const char kNewFileBlockAsk[] =
    ", which plays now.\r\n\r\nAdd it as a new FILE block at the end of the sheet, with this mark as its "
    "first track?";
// After " more unsaved cue sheet(s)" the count of the copies a later start takes back.
const char kOneWaits[] =
    " more unsaved cue sheet waits beside plugin.ini or in "
    "%APPDATA%\\LumoMarker. It comes back the next time the player starts.";
const char kMoreWait[] =
    " more unsaved cue sheets wait beside plugin.ini or in "
    "%APPDATA%\\LumoMarker. One comes back each time the player starts.";
const size_t kMessageBytes = kPathBytes + 256;

}  // namespace

void tellToPlay(const char* fileName) {
  char message[kMessageBytes];
  copyText(message, sizeof message, kPlayFirst);
  appendTo(message, sizeof message, fileName);
  appendTo(message, sizeof message, kPlayToListen);
  guardedMessageBox(captureState().cueWindow, message, kCaption, MB_OK | MB_ICONINFORMATION);
}

namespace {

// A change of the marks by a mark tool: into the history when it was made, the user told which
// file to play when it was not.
void afterMarkTool(MarkToolResult result, const char* fileName, const EditorText& before) {
  if (result == kMarkToolOtherFile) tellToPlay(fileName);
  if (result != kMarkToolDone) return;
  recordStepOf(before, nullptr);
  markSheetChanged();
  keepCopy();
}

// Goes back (or forward) to a state of the history.
bool stepHistory(bool undo) {
  // A redo of a tracklist mark whose line no longer leads the tracklist (the list was edited
  // since) would mark a track twice or one that is gone: nothing is redone from here on.
  if (!undo && nextRedoLine() && !tracklistStartsWith(nextRedoLine())) forgetRedo();
  if (!(undo ? canUndo() : canRedo())) return false;
  EditorText now = readEditorText();
  SheetBookkeeping* bookkeeping = (SheetBookkeeping*)GlobalAlloc(GMEM_FIXED, sizeof(SheetBookkeeping));
  HistoryState* to = (HistoryState*)GlobalAlloc(GPTR, sizeof(HistoryState));
  bool moved = false;
  if (now.text && bookkeeping && to) {
    saveBookkeeping(bookkeeping);
    SheetSnapshot snapshot = {now.text, now.length, bookkeeping};
    moved = undo ? undoChange(snapshot, to) : redoChange(snapshot, to);
  }
  if (moved) {
    restoreEditorText(to->text);
    restoreBookkeeping(to->bookkeeping);
    markSheetChanged();
    // The tracklist line of a tracklist mark goes back to the top, or off it again.
    if (to->line) {
      if (undo)
        putBackTracklistLine(to->line);
      else
        dropTracklistLine(to->line);
      sendToWindow(captureState().tracklistWindow, CAPTURE_TRACKLIST_CHANGED, 0);
    }
    keepCopy();
    freeHistoryState(to);
  }
  if (to) GlobalFree(to);
  if (bookkeeping) GlobalFree(bookkeeping);
  freeEditorText(&now);
  return moved;
}

}  // namespace

namespace {

bool sheetHasUnsavedWork() {
  HWND editor = sheetEditor();
  return sheetUnsaved() && editor && GetWindowTextLengthW(editor) > 0;
}

}  // namespace

bool mayDiscardSheet() { return !sheetHasUnsavedWork() || askToDiscardSheet(captureState().cueWindow); }

void requestReset() {
  recordStep(nullptr);
  forgetSheet();
  setEditorText("");
  keepCopy();
}

void requestOpen() {
  HWND owner = captureState().cueWindow;
  unsigned agreed = sheetVersion();
  OpenedSheet* sheet = readCueSheet(owner);
  if (!sheet) return;
  // A mark made while the dialog was open is no part of what the user agreed to discard.
  if (sheetVersion() == agreed || mayDiscardSheet()) {
    recordStep(nullptr);
    takeCueSheet(sheet);
    keepCopy();  // the sheet before it is gone; an opened sheet has nothing unsaved yet
    sendToWindow(owner, CAPTURE_SHOW_CUE, FALSE);
    tellSheetProblems(owner, sheet);
  }
  freeOpenedSheet(sheet);
}

bool deferWhileModal(WPARAM retryId) {
  if (!modalOpen()) return false;
  // A request that cannot wait is not carried out either: the user hears that it was refused.
  if (!postAfterModal(captureState().cueWindow, CAPTURE_RETRY, retryId)) MessageBeep(MB_ICONWARNING);
  return true;
}

void requestExport() {
  if (deferWhileModal(IDC_CUE_EXPORT)) return;
  exportCueSheet(captureState().cueWindow);
}

void requestListen() {
  char fileName[kPathBytes];
  EditorText sheet = readEditorText();
  if (listenToMark(sheet, fileName, sizeof fileName) == kMarkToolOtherFile) tellToPlay(fileName);
  freeEditorText(&sheet);
}

void requestNudge(long long frames) {
  char fileName[kPathBytes];
  EditorText before = readEditorText();
  afterMarkTool(moveMark(before, frames, fileName, sizeof fileName), fileName, before);
  freeEditorText(&before);
}

void requestSnap() {
  char fileName[kPathBytes];
  char said[kPlacementTextBytes];
  EditorText before = readEditorText();
  afterMarkTool(snapCaretMark(before, said, sizeof said, fileName, sizeof fileName), fileName, before);
  freeEditorText(&before);
  sayInCueWindow(said);
  stripLineSpeaksOfCaretMark();
}

void requestShift(long long frames) {
  char fileName[kPathBytes];
  EditorText before = readEditorText();
  afterMarkTool(shiftLaterMarks(before, frames, fileName, sizeof fileName), fileName, before);
  freeEditorText(&before);
}

bool mayMarkIn(const char* path) {
  if (!openedSheetPath()[0]) return true;
  EditorText sheet = readEditorText();
  bool adds = entryAddsFileBlock(sheet, path);
  freeEditorText(&sheet);
  if (!adds) return true;
  char name[kPathBytes];
  fileNameOf(path, name, sizeof name);
  char message[kMessageBytes];
  copyText(message, sizeof message, kNewFileBlock);
  appendTo(message, sizeof message, name);
  appendTo(message, sizeof message, kNewFileBlockAsk);
  return guardedMessageBox(captureState().cueWindow, message, kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool requestUndo() { return stepHistory(true); }
bool requestRedo() { return stepHistory(false); }

void noteEditorChanged() {
  stripSheetChanged();
  if (editorChangeIsOurs()) return;
  markSheetChanged();
  noteHandEdit();
  sendToWindow(captureState().cueWindow, CAPTURE_COPY_SOON, 0);
}

void requestShowTracklist() { sendToWindow(captureState().tracklistWindow, CAPTURE_SHOW_TRACKLIST, 0); }

void requestTracklistEdited(const char* text, size_t length) {
  setTracklistText(text, length);
  sendToWindow(captureState().cueWindow, CAPTURE_COPY_SOON, 0);
}

const char* tracklistForWindow() { return tracklistText(); }

void tracklistLabel(char* out, size_t outBytes) {
  // Where the last tracklist mark went on the audio, before what the next one takes.
  const char* placement = captureState().placement;
  copyText(out, outBytes, "");
  if (placement[0]) {
    copyText(out, outBytes, "Last mark: ");
    appendTo(out, outBytes, placement);
    appendTo(out, outBytes, ". ");
  }
  size_t at = textLength(out, outBytes);
  nextMarkLabel(captureState().capturedPerformer, out + at, outBytes - at);
}

bool tracklistReading(size_t* at, TracklistReading* reading) {
  if (*at == 0) copyText(reading->performer, sizeof reading->performer, captureState().capturedPerformer);
  return nextTracklistReading(at, reading);
}

void requestRecoveryCopy() { keepCopy(); }

void requestCopyDone(DWORD error, LPARAM tag) {
  RecoveryNext next = recoveryWriteDone(error, tag);
  if (next == kRecoveryRetry) keepCopy();
  if (next == kRecoveryTell) captureState().noCopyToTell = true;
  requestNotices();
}

void requestNotices() {
  CaptureState& state = captureState();
  if (!state.noCopyToTell) return;
  // Said once, when no other box of ours is open; otherwise as soon as it closes.
  if (deferWhileModal(0)) return;
  state.noCopyToTell = false;
  guardedMessageBox(state.cueWindow, kNoCopy, kCaption, MB_OK | MB_ICONWARNING);
}

namespace {

// Takes back the copy of currentAudio (else the newest) into the sheet, using start's room.
bool putBackCopy(const char* currentAudio, RecoveryStart& start) {
  CaptureState& state = captureState();
  startRecovery(state.cueWindow, CAPTURE_COPY_DONE, currentAudio, &start);
  copyText(state.setAside, sizeof state.setAside, start.setAside);
  state.othersWaiting = start.othersWaiting;
  state.restored = start.restored && sheetEditor();
  if (state.restored) {
    setEditorText(start.sheet.text);
    setEntryCounter(start.sheet.nextEntry);
    setSheetAudioPath(start.sheet.audioPath);
    if (start.sheet.openedPath[0]) setOpenedSheet(start.sheet.openedPath, formOfCode(start.sheet.openedForm));
    if (start.sheet.text[0]) markSheetChanged();
    if (start.sheet.tracklist) {
      setTracklistText(start.sheet.tracklist, textLength(start.sheet.tracklist, (size_t)-1));
      sendToWindow(state.tracklistWindow, CAPTURE_TRACKLIST_CHANGED, 0);
    }
  }
  freeRestoredSheet(&start.sheet);
  return state.restored;
}

// "1 more unsaved cue sheet waits..." into message (messageBytes).
void describeWaiting(int count, char* message, size_t messageBytes) {
  char number[kNumberTextBytes];
  formatInt(number, sizeof number, count);
  copyText(message, messageBytes, number);
  appendTo(message, messageBytes, count == 1 ? kOneWaits : kMoreWait);
}

}  // namespace

bool restoreSheet() {
  RecoveryStart* start = (RecoveryStart*)GlobalAlloc(GPTR, sizeof(RecoveryStart));
  char* current = (char*)GlobalAlloc(GPTR, kPathBytes);
  bool restored = false;
  if (start && current) {
    // After a crash of several players, the sheet of the file this player plays comes back.
    hostEntryPathText(hostPlaylistIndex(), current);
    restored = putBackCopy(current, *start);
  }
  if (start) GlobalFree(start);
  if (current) GlobalFree(current);
  return restored;
}

void reportRestore() {
  CaptureState& state = captureState();
  if (state.restored) sendToWindow(state.cueWindow, CAPTURE_SHOW_CUE, FALSE);
  if (state.restored && tracklistCount() > 0) sendToWindow(state.tracklistWindow, CAPTURE_SHOW_TRACKLIST, 0);
  int waiting = state.restored ? state.othersWaiting : 0;
  state.restored = false;
  state.othersWaiting = 0;
  if (waiting > 0) {
    char message[kMessageBytes];
    describeWaiting(waiting, message, sizeof message);
    guardedMessageBox(state.cueWindow, message, kCaption, MB_OK | MB_ICONINFORMATION);
  }
  if (!state.setAside[0]) return;
  char message[sizeof kSetAside + kPathBytes];
  copyText(message, sizeof message, kSetAside);
  appendTo(message, sizeof message, state.setAside);
  state.setAside[0] = '\0';
  guardedMessageBox(state.cueWindow, message, kCaption, MB_OK | MB_ICONWARNING);
}

bool closeSheet() {
  EditorText text = readEditorText();
  char code[kFormCodeBytes];
  bool closed =
      closeRecovery(text.text ? text.text : "", text.text ? text.length : 0, copiedSheetState(code, sizeof code));
  freeEditorText(&text);
  return closed;
}
