// The sheet's bookkeeping, one record for the one sheet.
#include "sheetState.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../decode/decodedFiles.h"
#include "../host/hostLink.h"
#include "../sheet/fileLine.h"
#include "../store/settings.h"

namespace {

// Cue files a sheet remembers having written: its own and the places Save As gave it.
const int kWrittenPathsKept = 8;

struct SheetState {
  int nextEntry;
  bool unsaved;
  unsigned version;
  char audioPath[kPathBytes];
  char openedPath[kPathBytes];
  SheetForm openedForm;
  char writtenPaths[kWrittenPathsKept][kPathBytes];  // the newest first; empty when unused
  char exportedPaths[kWrittenPathsKept][kPathBytes];  // alike, for the exports
};

constexpr SheetForm kFormAsSetting = {true, {kCharsetUtf8, {false, false}, 0}};

// Zero until forgetSheet sets it up at start-up (zero-filled, it takes no room in the DLL's file).
SheetState gSheet;

// Whether paths (kWrittenPathsKept of them) hold path.
bool holdsPath(char (*paths)[kPathBytes], const char* path) {
  for (int i = 0; i < kWrittenPathsKept; ++i)
    if (paths[i][0] && samePath(paths[i], path)) return true;
  return false;
}

// Puts path first in paths, the oldest giving way, unless they hold it.
void notePath(char (*paths)[kPathBytes], const char* path) {
  if (holdsPath(paths, path)) return;
  for (int i = kWrittenPathsKept - 1; i > 0; --i) copyText(paths[i], kPathBytes, paths[i - 1]);
  copyText(paths[0], kPathBytes, path);
}

}  // namespace

int entryCounter() { return gSheet.nextEntry; }
void setEntryCounter(int next) { gSheet.nextEntry = next < 1 ? 1 : next; }

const char* sheetAudioPath() { return gSheet.audioPath; }
void setSheetAudioPath(const char* path) {
  copyText(gSheet.audioPath, sizeof gSheet.audioPath, path);
  wantAudioOf(gSheet.audioPath);  // the sheet's own audio is read for its marks
}

void sheetAudioOrCurrentEntry(char* path, size_t pathBytes) {
  if (gSheet.audioPath[0]) {
    copyText(path, pathBytes, gSheet.audioPath);
    return;
  }
  char current[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), current);
  copyText(path, pathBytes, current);
}

const char* openedSheetPath() { return gSheet.openedPath; }
const SheetForm& openedSheetForm() { return gSheet.openedForm; }
void setOpenedSheet(const char* cuePath, const SheetForm& form) {
  copyText(gSheet.openedPath, sizeof gSheet.openedPath, cuePath);
  gSheet.openedForm = form;
}

void formCode(const SheetForm& form, char* code, size_t codeBytes) {
  const CueForm& file = form.file;
  if (form.asSetting) {
    copyText(code, codeBytes, "s");
  } else if (file.charset == kCharsetCodePage) {
    copyText(code, codeBytes, "a");
    char digits[kNumberTextBytes];
    formatInt(digits, sizeof digits, file.codePage);
    appendTo(code, codeBytes, digits);
  } else if (file.charset == kCharsetUtf8) {
    copyText(code, codeBytes, "u");
    appendTo(code, codeBytes, file.utf8Form.bom ? "1" : "0");
    appendTo(code, codeBytes, file.utf8Form.markerLine ? "1" : "0");
  } else {
    copyText(code, codeBytes, file.charset == kCharsetUtf16Le ? "l" : "b");
  }
}

SheetForm formOfCode(const char* code) {
  SheetForm form = kFormAsSetting;
  if (code[0] == 'a') {
    unsigned codePage = 0;
    for (const char* digit = code + 1; *digit >= '0' && *digit <= '9' && codePage < 100000; ++digit)
      codePage = codePage * 10 + (unsigned)(*digit - '0');
    form = SheetForm{false, {kCharsetCodePage, {false, false}, codePage ? codePage : ansiCodePage()}};
  }
  if (code[0] == 'u') form = SheetForm{false, {kCharsetUtf8, {code[1] == '1', code[1] && code[2] == '1'}, 0}};
  if (code[0] == 'l' || code[0] == 'b')
    form = SheetForm{false, {code[0] == 'l' ? kCharsetUtf16Le : kCharsetUtf16Be, {false, false}, 0}};
  return form;
}

void sheetFolder(char* out, size_t outBytes) {
  folderOf(gSheet.openedPath[0] ? gSheet.openedPath : gSheet.audioPath, out, outBytes);
}

bool sheetUnsaved() { return gSheet.unsaved; }
void markSheetChanged() {
  gSheet.unsaved = true;
  ++gSheet.version;
}

unsigned sheetVersion() { return gSheet.version; }

void markSheetSaved(const char* cuePath, unsigned version) {
  gSheet.unsaved = version != gSheet.version;
  noteWrittenFile(cuePath);
}

void noteWrittenFile(const char* cuePath) { notePath(gSheet.writtenPaths, cuePath); }
bool sheetWrote(const char* cuePath) { return holdsPath(gSheet.writtenPaths, cuePath); }
void noteExportedFile(const char* path) { notePath(gSheet.exportedPaths, path); }
bool sheetExported(const char* path) { return holdsPath(gSheet.exportedPaths, path); }

void saveBookkeeping(SheetBookkeeping* bookkeeping) {
  bookkeeping->nextEntry = gSheet.nextEntry;
  copyText(bookkeeping->audioPath, sizeof bookkeeping->audioPath, gSheet.audioPath);
  copyText(bookkeeping->openedPath, sizeof bookkeeping->openedPath, gSheet.openedPath);
  bookkeeping->openedForm = gSheet.openedForm;
}

void restoreBookkeeping(const SheetBookkeeping& bookkeeping) {
  gSheet.nextEntry = bookkeeping.nextEntry;
  copyText(gSheet.audioPath, sizeof gSheet.audioPath, bookkeeping.audioPath);
  copyText(gSheet.openedPath, sizeof gSheet.openedPath, bookkeeping.openedPath);
  gSheet.openedForm = bookkeeping.openedForm;
}

void forgetSheet() {
  gSheet.nextEntry = 1;
  gSheet.unsaved = false;
  ++gSheet.version;
  gSheet.audioPath[0] = '\0';
  gSheet.openedPath[0] = '\0';
  gSheet.openedForm = kFormAsSetting;
  for (char* path : gSheet.writtenPaths) path[0] = '\0';
  for (char* path : gSheet.exportedPaths) path[0] = '\0';
}
