// The sheet's bookkeeping, one record for the one sheet.
#include "sheetState.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/text.h"

namespace {

struct SheetState {
  int nextEntry;
  bool unsaved;
  unsigned version;
  char audioPath[kPathBytes];
  char writtenPath[kPathBytes];  // the cue file last written; empty when none
};

SheetState gSheet = {1, false, 0, "", ""};

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
  copyText(gSheet.writtenPath, sizeof gSheet.writtenPath, cuePath);
}

bool sheetWrote(const char* cuePath) {
  // Paths name the same file whatever their letter case.
  return gSheet.writtenPath[0] && lstrcmpiA(gSheet.writtenPath, cuePath) == 0;
}

void forgetSheet() {
  gSheet.nextEntry = 1;
  gSheet.unsaved = false;
  ++gSheet.version;
  gSheet.audioPath[0] = '\0';
  gSheet.writtenPath[0] = '\0';
}
