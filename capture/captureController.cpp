// The capture cycle on the player's window, and the requests of the Cue and Info windows.
#include "captureController.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "../res/resource.h"
#include "../sheet/escapeFilter.h"
#include "../sheet/sheetEdit.h"
#include "../store/settings.h"
#include "../base/platformText.h"
#include "../sheet/fileLine.h"
#include "cueEditor.h"
#include "cueOpen.h"
#include "cueSave.h"
#include "markTools.h"
#include "recovery.h"
#include "sheetState.h"
#include "tagResolver.h"

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
// Each time a formatted entry fills its buffer and may have been cut, the values of the tags
// (other than paths, times and numbers) are cut to half and the entry is formatted again, so that
// the lines a sheet needs (FILE, TRACK, INDEX) stay whole.
const size_t kShortestCut = 1;
const size_t kMessageBytes = kPathBytes + 128;
const size_t kFileBlocksMax = 99;  // FILE blocks looked at for the playing file
const size_t kFileLineBytes = kPathBytes + 32;

struct CaptureState {
  bool marked;           // a mark is pending: its position is the entry's
  int markPositionMs;
  char capturedTitle[kTextBytes];
  char capturedPerformer[kTextBytes];
  char formatted[kTextBytes];
  char headerText[kTextBytes];
  char entryText[kTextBytes];
  TagRecord tags;        // what the tag callbacks read: the entry being (or last) formatted
  HWND cueWindow;
  HWND infoWindow;
  bool restored;            // start-up put a sheet back
  bool noCopyToTell;        // no recovery copy can be written, and the user must hear it
  char setAside[kPathBytes];  // where start-up moved a damaged copy
};

CaptureState gState;  // zero until createCaptureState sets it up
CRITICAL_SECTION gFormatLock;
WNDPROC gSavedHostProc = nullptr;
bool gChained = false;
bool gActive = false;

// Has the player format one template into gState.formatted, then filters it into dest. Returns
// false when the result filled a buffer and may have been cut.
bool formatInto(const char* templateText, char* dest) {
  const FormatCallbacks callbacks = {resolveTagWide, freeTagValueWide, resolveTag, freeTagValue};
  bool filled = hostFormatTemplate(templateText ? templateText : "", callbacks, gState.formatted, kTextBytes);
  applyEscapes(gState.formatted, dest, kTextBytes);
  return !filled && textLength(dest, kTextBytes) < kTextBytes - 1;
}

// Formats the header and the entry, cutting long tag values until both fit whole.
void formatEntry() {
  EnterCriticalSection(&gFormatLock);
  for (size_t cut = kValueChars;; cut /= 2) {  // the first cut is the value block itself
    gState.tags.valueBytesMax = cut;
    bool whole = formatInto(settings().headerTemplate, gState.headerText);
    whole = formatInto(settings().trackTemplate, gState.entryText) && whole;
    if (whole || cut <= kShortestCut) break;
  }
  gState.tags.valueBytesMax = kValueBytes;
  LeaveCriticalSection(&gFormatLock);
}

void tellCue(UINT message, WPARAM wParam) {
  if (gState.cueWindow) SendMessageA(gState.cueWindow, message, wParam, 0);
}

// The facts the recovery copy keeps besides the text; code holds kFormCodeBytes.
RecoveryFacts copyFacts(char* code) {
  formCode(openedSheetForm(), code);
  return RecoveryFacts{entryCounter(), sheetAudioPath(), sheetUnsaved(), openedSheetPath(), code, nullptr, 0};
}

void keepCopy() {
  EditorText text = readEditorText(0);
  if (!text.text) return;
  char code[kFormCodeBytes];
  keepRecoveryCopy(text.text, text.length, copyFacts(code));
  freeEditorText(&text);
}

// Pauses before the window is shown: showing it takes longer than the pause, and every
// moment between the key and the pause would put the entry's INDEX later.
void onMark() {
  if (hostPlayState() == HOST_STATE_PLAYING) hostPause();
  // The moment of the key press is the mark, whatever happens while the track is named; a
  // second press while the Info window is open moves it.
  gState.markPositionMs = hostPositionMs();
  gState.marked = true;
  if (gState.infoWindow) SendMessageA(gState.infoWindow, CAPTURE_SHOW_INFO, 0, 0);
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
  // An opened sheet has its own header.
  return entryCounter() <= 1 && !openedSheetPath()[0];
}

// The FILE block an entry goes into: the one that names the playing file, or, when the sheet
// spans several files and none names it, a new block (its FILE line written into fileLine).
EntryTarget targetFor(const EditorText& sheet, char* fileLine) {
  char current[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), current);
  FileBlock blocks[kFileBlocksMax];
  size_t count = listFileBlocks(sheet.text, sheet.length, blocks, kFileBlocksMax);
  if (count > kFileBlocksMax) count = kFileBlocksMax;
  char folder[kPathBytes];
  sheetFolder(folder);
  for (size_t i = 0; i < count && current[0]; ++i) {
    char named[kPathBytes];
    if (resolveFileName(sheet.text + blocks[i].nameAt, blocks[i].nameLength, folder, named, sizeof named) &&
        samePath(named, current))
      return EntryTarget{(int)i, nullptr};
  }
  // The sheet's own file, or a sheet of no FILE lines: as it always was.
  if (count == 0 || !current[0] || !sheetAudioPath()[0] || samePath(current, sheetAudioPath()))
    return EntryTarget{0, nullptr};
  if (!composeFileLine(current, folder, fileLine, kFileLineBytes)) return EntryTarget{0, nullptr};
  return EntryTarget{-1, fileLine};
}

// Puts the formatted entry into the sheet: in time order and numbered when the sheet's tracks
// are recognised, at the end otherwise.
void placeInSheet(const EditorText& sheet, bool first) {
  char fileLine[kFileLineBytes] = "";
  EntryTarget target = first ? EntryTarget{0, nullptr} : targetFor(sheet, fileLine);
  size_t editsMax = placementEditsMax(sheet.text, sheet.length);
  size_t placedBytes = placedTextBytes(textLength(gState.headerText, kTextBytes),
                                       textLength(gState.entryText, kTextBytes), textLength(fileLine, kFileLineBytes));
  TextEdit* edits = (TextEdit*)GlobalAlloc(GMEM_FIXED, editsMax * sizeof(TextEdit));
  char* placed = (char*)GlobalAlloc(GMEM_FIXED, placedBytes);
  if (edits && placed) {
    EntryPlacement placement;
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

  EditorText sheet = readEditorText(0);
  bool first = followTheSheet(sheet);
  freeEditorText(&sheet);
  gState.tags.entryNumber = entryCounter();
  gState.tags.positionMs = position > offset ? position - offset : 0;
  formatEntry();

  // The sheet belongs to the file that was current at its first entry.
  if (!sheetAudioPath()[0]) {
    char path[kPathBytes];
    hostEntryPathText(hostPlaylistIndex(), path);
    setSheetAudioPath(path);
  }
  // Read again: the player may have run messages of its own while it formatted the entry.
  sheet = readEditorText(0);
  if (sheet.text) placeInSheet(sheet, first);
  freeEditorText(&sheet);
  markSheetChanged();
  keepCopy();

  gState.capturedTitle[0] = '\0';
  gState.tags.entryNumber = entryCounter();
  if (gState.infoWindow) SendMessageA(gState.infoWindow, CAPTURE_TITLE_TAKEN, 0, 0);
  tellCue(CAPTURE_SHOW_CUE, FALSE);

  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
}

void onCancel() {
  gState.marked = false;
  if (hostPlayState() == HOST_STATE_PAUSED) hostPlay();
}

void onSave() {
  // A save asked for while a box of ours is open runs once it has closed.
  if (modalOpen()) {
    postAfterModal(gState.cueWindow, CAPTURE_RETRY, IDC_CUE_SAVE);
    return;
  }
  SaveOutcome outcome = saveCueSheet(gState.cueWindow, keepCopy);
  if (outcome.problemLine > 0) {
    tellCue(CAPTURE_SHOW_CUE, FALSE);
    showEditorLine(outcome.problemLine);
  }
}

void runAction(LPARAM action) {
  switch (action) {
    case CAPTURE_MARK: onMark(); break;
    case CAPTURE_COMMIT: onCommit(); break;
    case CAPTURE_CANCEL: onCancel(); break;
    case CAPTURE_SAVE: onSave(); break;
    case CAPTURE_SHOW: tellCue(CAPTURE_SHOW_CUE, TRUE); break;
    default: break;
  }
}

// "Play <file name> to listen to this mark."
void tellToPlay(const char* fileName) {
  char message[kMessageBytes];
  copyText(message, sizeof message, kPlayFirst);
  appendTo(message, sizeof message, fileName);
  appendTo(message, sizeof message, kPlayToListen);
  guardedMessageBox(gState.cueWindow, message, kCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void createFormatLock() { InitializeCriticalSection(&gFormatLock); }
void deleteFormatLock() { DeleteCriticalSection(&gFormatLock); }

void createCaptureState() {
  forgetSheet();
  gState.marked = false;
  gState.capturedTitle[0] = '\0';
  gState.capturedPerformer[0] = '\0';
  gState.restored = false;
  gState.noCopyToTell = false;
  gState.setAside[0] = '\0';
  gState.tags = TagRecord{gState.capturedTitle, gState.capturedPerformer, entryCounter(), 0, kValueBytes};
  setTagRecord(&gState.tags);
}

void attachCaptureWindows(HWND cueWindow, HWND infoWindow) {
  gState.cueWindow = cueWindow;
  gState.infoWindow = infoWindow;
  attachEditor(cueWindow ? GetDlgItem(cueWindow, IDC_CUE_EDITOR) : nullptr);
}

void detachCaptureWindows() { attachCaptureWindows(nullptr, nullptr); }

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

void requestCapture(LPARAM action) {
  // With our procedure on the player's window the action travels as CAPTURE_MSG, which the
  // player then sees too. With capture switched off only the hot key is off: the windows'
  // actions run all the same.
  if (gActive) hostCapture(action);
  else runAction(action);
}

void showCueSheet() { tellCue(CAPTURE_SHOW_CUE, TRUE); }

void setCapturedTexts(const char* title, const char* performer) {
  copyText(gState.capturedTitle, kTextBytes, title);
  copyText(gState.capturedPerformer, kTextBytes, performer);
}

bool sheetHasUnsavedWork() {
  HWND editor = sheetEditor();
  return sheetUnsaved() && editor && GetWindowTextLengthW(editor) > 0;
}

unsigned sheetChangeCount() { return sheetVersion(); }

void requestReset() {
  forgetSheet();
  setEditorText("");
  keepCopy();
}

void requestOpen() {
  if (!openCueSheet(gState.cueWindow)) return;
  keepCopy();  // the sheet before it is gone; an opened sheet has nothing unsaved yet
  tellCue(CAPTURE_SHOW_CUE, FALSE);
}

void requestListen() {
  char fileName[kPathBytes];
  if (listenToMark(fileName, sizeof fileName) == kMarkToolOtherFile) tellToPlay(fileName);
}

void requestNudge(long long frames) {
  char fileName[kPathBytes];
  MarkToolResult result = moveMark(frames, fileName, sizeof fileName);
  if (result == kMarkToolOtherFile) tellToPlay(fileName);
  if (result != kMarkToolDone) return;
  markSheetChanged();
  keepCopy();
}

bool noteEditorChanged() {
  if (editorChangeIsOurs()) return false;
  markSheetChanged();
  return true;
}

void requestRecoveryCopy() { keepCopy(); }

void requestCopyDone(DWORD error) {
  RecoveryNext next = recoveryWriteDone(error);
  if (next == kRecoveryRetry) keepCopy();
  if (next == kRecoveryTell) gState.noCopyToTell = true;
  requestNotices();
}

void requestNotices() {
  if (!gState.noCopyToTell) return;
  // Said once, when no other box of ours is open; otherwise as soon as it closes.
  if (modalOpen()) {
    postAfterModal(gState.cueWindow, CAPTURE_RETRY, 0);
    return;
  }
  gState.noCopyToTell = false;
  guardedMessageBox(gState.cueWindow, kNoCopy, kCaption, MB_OK | MB_ICONWARNING);
}

bool restoreSheet() {
  RecoveryStart start;
  startRecovery(gState.cueWindow, CAPTURE_COPY_DONE, &start);
  copyText(gState.setAside, sizeof gState.setAside, start.setAside);
  gState.restored = start.restored && sheetEditor();
  if (gState.restored) {
    setEditorText(start.sheet.text);
    setEntryCounter(start.sheet.nextEntry);
    setSheetAudioPath(start.sheet.audioPath);
    if (start.sheet.openedPath[0]) setOpenedSheet(start.sheet.openedPath, formOfCode(start.sheet.openedForm));
    markSheetChanged();
  }
  freeRestoredSheet(&start.sheet);
  return gState.restored;
}

void reportRestore() {
  if (gState.restored) tellCue(CAPTURE_SHOW_CUE, FALSE);
  gState.restored = false;
  if (!gState.setAside[0]) return;
  char message[sizeof kSetAside + kPathBytes];
  copyText(message, sizeof message, kSetAside);
  appendTo(message, sizeof message, gState.setAside);
  gState.setAside[0] = '\0';
  guardedMessageBox(gState.cueWindow, message, kCaption, MB_OK | MB_ICONWARNING);
}

bool closeSheet() {
  EditorText text = readEditorText(0);
  char code[kFormCodeBytes];
  bool closed = closeRecovery(text.text ? text.text : "", text.text ? text.length : 0, copyFacts(code));
  freeEditorText(&text);
  return closed;
}
