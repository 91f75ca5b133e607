// Writing, restoring and setting aside the recovery copy. The copy is written on the file
// writer's thread: the player's thread only reads the editor, and never waits for the disk.
#include "recovery.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../sheet/recoveryText.h"
#include "../store/fileWriter.h"
#include "../store/pluginFolder.h"
#include "cueEditor.h"
#include "cueWindow.h"
#include "sheetState.h"

const char RECOVERY_FILE_NAME[] = "lumo_unsaved.cue";

namespace {

const char kTempName[] = "lumo_unsaved.tmp";
const char kDamagedStem[] = "lumo_unsaved-damaged";
const char kDamagedExtension[] = ".cue";
const int kDamagedNamesMax = 99;

struct RecoveryState {
  bool timerPending;
  // A damaged copy could not be moved aside: no copy is written over it in this session.
  bool blocked;
};

RecoveryState gRecovery = {false, false};

// Moves a damaged copy to the first free name lumo_unsaved-damaged[-N].cue; false when it
// could not be moved.
bool setAside(const char* path) {
  char aside[kPathBytes];
  char name[64];
  char number[kNumberTextBytes];
  for (int n = 1; n <= kDamagedNamesMax; ++n) {
    copyText(name, sizeof name, kDamagedStem);
    if (n > 1) {
      formatInt(number, sizeof number, n);
      appendTo(name, sizeof name, "-");
      appendTo(name, sizeof name, number);
    }
    appendTo(name, sizeof name, kDamagedExtension);
    if (!pathBesideModule(name, aside)) return false;
    if (MoveFileExA(path, aside, MOVEFILE_WRITE_THROUGH)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

// Reads the whole file into a global block; null when it cannot be read or is larger than a
// copy may be. The caller frees it.
char* readCopy(const char* path, DWORD* size) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD high = 0;
  *size = GetFileSize(file, &high);
  char* bytes = nullptr;
  if (high == 0 && *size != INVALID_FILE_SIZE && *size <= kRecoveryHeaderBytes + kRecoveryTextMaxBytes) {
    bytes = (char*)GlobalAlloc(GMEM_FIXED, (SIZE_T)*size + 1);
    DWORD got = 0;
    if (bytes && (!ReadFile(file, bytes, *size, &got, nullptr) || got != *size)) {
      GlobalFree(bytes);
      bytes = nullptr;
    }
  }
  CloseHandle(file);
  return bytes;
}

void putIntoEditor(const RecoveredSheet& sheet) {
  char* text = (char*)GlobalAlloc(GMEM_FIXED, sheet.textBytes + 1);
  if (!text) return;
  CopyMemory(text, sheet.text, sheet.textBytes);
  text[sheet.textBytes] = '\0';
  setEditorText(text);
  GlobalFree(text);
  setEntryCounter(sheet.nextEntry);
  setSheetAudioPath(sheet.audioPath);
  markSheetChanged();
}

void stopTimer() {
  if (gRecovery.timerPending && cueWindow()) KillTimer(cueWindow(), RECOVERY_TIMER_ID);
  gRecovery.timerPending = false;
}

}  // namespace

bool restoreRecoveryCopy() {
  gRecovery.timerPending = false;
  gRecovery.blocked = false;
  startFileWriter();
  char path[kPathBytes];
  if (!pathBesideModule(RECOVERY_FILE_NAME, path)) return false;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;  // nothing was left unsaved
  if (!cueEditor()) {
    gRecovery.blocked = true;  // nowhere to put it back: it must not be written over
    return false;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    gRecovery.blocked = true;  // not ours, and nothing can be written there
    return false;
  }
  DWORD size = 0;
  char* bytes = readCopy(path, &size);
  RecoveredSheet sheet;
  bool whole = bytes && parseRecovery(bytes, size, &sheet);
  bool restored = false;
  if (!whole) {
    if (!setAside(path)) gRecovery.blocked = true;
  } else if (sheet.textBytes > 0) {
    putIntoEditor(sheet);
    restored = true;
  } else {
    DeleteFileA(path);  // a whole copy of an empty sheet holds nothing to keep
  }
  if (bytes) GlobalFree(bytes);
  return restored;
}

void keepRecoveryCopy() {
  stopTimer();
  if (gRecovery.blocked) return;
  char path[kPathBytes];
  char temp[kPathBytes];
  if (!pathBesideModule(RECOVERY_FILE_NAME, path) || !pathBesideModule(kTempName, temp)) return;
  EditorText copy = readEditorText(kRecoveryHeaderBytes);  // room for the header
  if (!copy.text) return;
  char header[kRecoveryHeaderBytes];
  size_t headerLength =
      formatRecoveryHeader(header, sizeof header, entryCounter(), copy.length, sheetAudioPath());
  if (!sheetUnsaved() || copy.length == 0 || headerLength == 0) {
    freeEditorText(&copy);
    requestFileWrite(path, temp, nullptr, 0);  // no copy
    return;
  }
  MoveMemory(copy.text + headerLength, copy.text, copy.length);
  CopyMemory(copy.text, header, headerLength);
  requestFileWrite(path, temp, copy.text, headerLength + copy.length);  // the writer frees it
}

void keepRecoveryCopySoon() {
  if (gRecovery.timerPending || !cueWindow()) return;
  gRecovery.timerPending = SetTimer(cueWindow(), RECOVERY_TIMER_ID, kRecoveryDelayMs, nullptr) != 0;
}

void onRecoveryTimer() { keepRecoveryCopy(); }

void closeRecovery() {
  keepRecoveryCopy();
  stopFileWriter();
}
