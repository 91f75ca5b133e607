// The requests of the Cue and Tracklist windows: Reset, Open, Listen, nudges and shifts, undo and
// redo, the tracklist's text, the recovery copy, and what start-up and shutdown ask of the sheet.
#include "captureController.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "captureState.h"
#include "../res/resource.h"
#include "cueEditor.h"
#include "cueExport.h"
#include "fileDialogs.h"
#include "cueOpen.h"
#include "markTools.h"
#include "recovery.h"
#include "sheetHistory.h"
#include "sheetState.h"
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
const size_t kMessageBytes = kPathBytes + 128;

// "Play <file name> to listen to this mark."
void tellToPlay(const char* fileName) {
  char message[kMessageBytes];
  copyText(message, sizeof message, kPlayFirst);
  appendTo(message, sizeof message, fileName);
  appendTo(message, sizeof message, kPlayToListen);
  guardedMessageBox(captureState().cueWindow, message, kCaption, MB_OK | MB_ICONINFORMATION);
}

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
  if (!(undo ? canUndo() : canRedo())) return false;
  EditorText now = readEditorText();
  SheetFacts* facts = (SheetFacts*)GlobalAlloc(GMEM_FIXED, sizeof(SheetFacts));
  HistoryState* to = (HistoryState*)GlobalAlloc(GPTR, sizeof(HistoryState));
  bool moved = false;
  if (now.text && facts && to) {
    saveSheetFacts(facts);
    SheetSnapshot snapshot = {now.text, now.length, facts};
    moved = undo ? undoChange(snapshot, to) : redoChange(snapshot, to);
  }
  if (moved) {
    restoreEditorText(to->text);
    restoreSheetFacts(to->facts);
    markSheetChanged();
    // The tracklist line of a tracklist mark goes back to the top, or off it again when it is
    // still the first line (the user may have edited the tracklist since).
    if (to->line) {
      if (undo)
        putBackTracklistLine(to->line);
      else
        dropTracklistLine(to->line);
      tell(captureState().tracklistWindow, CAPTURE_TRACKLIST_CHANGED, 0);
    }
    keepCopy();
    freeHistoryState(to);
  }
  if (to) GlobalFree(to);
  if (facts) GlobalFree(facts);
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
    tell(owner, CAPTURE_SHOW_CUE, FALSE);
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

void requestShift(long long frames) {
  char fileName[kPathBytes];
  EditorText before = readEditorText();
  afterMarkTool(shiftLaterMarks(before, frames, fileName, sizeof fileName), fileName, before);
  freeEditorText(&before);
}

bool requestUndo() { return stepHistory(true); }
bool requestRedo() { return stepHistory(false); }

void noteEditorChanged() {
  if (editorChangeIsOurs()) return;
  markSheetChanged();
  noteHandEdit();
  tell(captureState().cueWindow, CAPTURE_COPY_SOON, 0);
}

void requestShowTracklist() { tell(captureState().tracklistWindow, CAPTURE_SHOW_TRACKLIST, 0); }

void requestTracklistEdited(const char* text, size_t length) {
  setTracklistText(text, length);
  tell(captureState().cueWindow, CAPTURE_COPY_SOON, 0);
}

const char* tracklistForWindow() { return tracklistText(); }

void tracklistLabel(char* out, size_t outBytes) { nextMarkLabel(captureState().capturedPerformer, out, outBytes); }

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

bool restoreSheet() {
  CaptureState& state = captureState();
  RecoveryStart start;
  startRecovery(state.cueWindow, CAPTURE_COPY_DONE, &start);
  copyText(state.setAside, sizeof state.setAside, start.setAside);
  state.restored = start.restored && sheetEditor();
  if (state.restored) {
    setEditorText(start.sheet.text);
    setEntryCounter(start.sheet.nextEntry);
    setSheetAudioPath(start.sheet.audioPath);
    if (start.sheet.openedPath[0]) setOpenedSheet(start.sheet.openedPath, formOfCode(start.sheet.openedForm));
    if (start.sheet.text[0]) markSheetChanged();
    if (start.sheet.tracklist) {
      setTracklistText(start.sheet.tracklist, textLength(start.sheet.tracklist, (size_t)-1));
      tell(state.tracklistWindow, CAPTURE_TRACKLIST_CHANGED, 0);
    }
  }
  freeRestoredSheet(&start.sheet);
  return state.restored;
}

void reportRestore() {
  CaptureState& state = captureState();
  if (state.restored) tell(state.cueWindow, CAPTURE_SHOW_CUE, FALSE);
  if (state.restored && tracklistCount() > 0) tell(state.tracklistWindow, CAPTURE_SHOW_TRACKLIST, 0);
  state.restored = false;
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
  bool closed = closeRecovery(text.text ? text.text : "", text.text ? text.length : 0, recoveryFacts(code));
  freeEditorText(&text);
  return closed;
}
