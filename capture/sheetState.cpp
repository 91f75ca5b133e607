// The sheet's bookkeeping, one record for the one sheet.
#include "sheetState.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"

namespace {

// Cue files a sheet remembers having written: its own and the places Save As gave it.
const int kWrittenPathsKept = 8;

struct SheetState {
  int nextEntry;
  bool unsaved;
  unsigned version;
  char audioPath[kPathBytes];
  char writtenPaths[kWrittenPathsKept][kPathBytes];  // the newest first; empty when unused
};

SheetState gSheet = {1, false, 0, "", {}};

}  // namespace

int entryCounter() { return gSheet.nextEntry; }
void setEntryCounter(int next) { gSheet.nextEntry = next < 1 ? 1 : next; }

const char* sheetAudioPath() { return gSheet.audioPath; }
void setSheetAudioPath(const char* path) { copyText(gSheet.audioPath, sizeof gSheet.audioPath, path); }

bool sheetUnsaved() { return gSheet.unsaved; }
void markSheetChanged() {
  gSheet.unsaved = true;
  ++gSheet.version;
}

unsigned sheetVersion() { return gSheet.version; }

void markSheetSaved(const char* cuePath, unsigned version) {
  gSheet.unsaved = version != gSheet.version;
  if (sheetWrote(cuePath)) return;
  for (int i = kWrittenPathsKept - 1; i > 0; --i)
    copyText(gSheet.writtenPaths[i], kPathBytes, gSheet.writtenPaths[i - 1]);
  copyText(gSheet.writtenPaths[0], kPathBytes, cuePath);
}

bool sheetWrote(const char* cuePath) {
  for (const char* path : gSheet.writtenPaths)
    if (path[0] && samePath(path, cuePath)) return true;
  return false;
}

void forgetSheet() {
  gSheet.nextEntry = 1;
  gSheet.unsaved = false;
  ++gSheet.version;
  gSheet.audioPath[0] = '\0';
  for (char* path : gSheet.writtenPaths) path[0] = '\0';
}
