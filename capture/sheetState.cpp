// The sheet's bookkeeping, one record for the one sheet.
#include "sheetState.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
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
};

SheetState gSheet = {1, false, 0, "", "", {kSheetFormAsSetting, {false, false}}, {}};

}  // namespace

int entryCounter() { return gSheet.nextEntry; }
void setEntryCounter(int next) { gSheet.nextEntry = next < 1 ? 1 : next; }

const char* sheetAudioPath() { return gSheet.audioPath; }
void setSheetAudioPath(const char* path) { copyText(gSheet.audioPath, sizeof gSheet.audioPath, path); }

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
  const char* letter = form.encoding == kEncodingAnsi ? "a" : form.encoding == kEncodingUtf8 ? "u" : "s";
  copyText(code, codeBytes, letter);
  if (form.encoding != kEncodingUtf8) return;
  appendTo(code, codeBytes, form.utf8Form.bom ? "1" : "0");
  appendTo(code, codeBytes, form.utf8Form.markerLine ? "1" : "0");
}

SheetForm formOfCode(const char* code) {
  SheetForm form = {kSheetFormAsSetting, {false, false}};
  if (code[0] == 'a') form.encoding = kEncodingAnsi;
  if (code[0] == 'u') form = SheetForm{kEncodingUtf8, {code[1] == '1', code[1] && code[2] == '1'}};
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

void noteWrittenFile(const char* cuePath) {
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
  gSheet.openedForm = SheetForm{kSheetFormAsSetting, {false, false}};
  for (char* path : gSheet.writtenPaths) path[0] = '\0';
}
