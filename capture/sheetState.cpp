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
  char exportedPaths[kWrittenPathsKept][kPathBytes];  // alike, for the exports
};

SheetState gSheet = {1, false, 0, "", "", {kSheetFormAsSetting, {false, false}}, {}, {}};

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
void setSheetAudioPath(const char* path) { copyText(gSheet.audioPath, sizeof gSheet.audioPath, path); }

void sheetAudioOrCurrentEntry(char* path) {
  if (gSheet.audioPath[0]) copyText(path, kPathBytes, gSheet.audioPath);
  else hostEntryPathText(hostPlaylistIndex(), path);
}

const char* openedSheetPath() { return gSheet.openedPath; }
const SheetForm& openedSheetForm() { return gSheet.openedForm; }
void setOpenedSheet(const char* cuePath, const SheetForm& form) {
  copyText(gSheet.openedPath, sizeof gSheet.openedPath, cuePath);
  gSheet.openedForm = form;
}

void formCode(const SheetForm& form, char* code) {
  const char* letter = form.encoding == kEncodingAnsi ? "a" : form.encoding == kEncodingUtf8 ? "u" : "s";
  copyText(code, kFormCodeBytes, letter);
  if (form.encoding != kEncodingUtf8) return;
  appendTo(code, kFormCodeBytes, form.utf8Form.bom ? "1" : "0");
  appendTo(code, kFormCodeBytes, form.utf8Form.markerLine ? "1" : "0");
}

SheetForm formOfCode(const char* code) {
  SheetForm form = {kSheetFormAsSetting, {false, false}};
  if (code[0] == 'a') form.encoding = kEncodingAnsi;
  if (code[0] == 'u') form = SheetForm{kEncodingUtf8, {code[1] == '1', code[1] && code[2] == '1'}};
  return form;
}

void sheetFolder(char* out) { folderOf(gSheet.openedPath[0] ? gSheet.openedPath : gSheet.audioPath, out, kPathBytes); }

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

void saveSheetFacts(SheetFacts* facts) {
  facts->nextEntry = gSheet.nextEntry;
  copyText(facts->audioPath, sizeof facts->audioPath, gSheet.audioPath);
  copyText(facts->openedPath, sizeof facts->openedPath, gSheet.openedPath);
  facts->openedForm = gSheet.openedForm;
}

void restoreSheetFacts(const SheetFacts& facts) {
  gSheet.nextEntry = facts.nextEntry;
  copyText(gSheet.audioPath, sizeof gSheet.audioPath, facts.audioPath);
  copyText(gSheet.openedPath, sizeof gSheet.openedPath, facts.openedPath);
  gSheet.openedForm = facts.openedForm;
}

void forgetSheet() {
  gSheet.nextEntry = 1;
  gSheet.unsaved = false;
  ++gSheet.version;
  gSheet.audioPath[0] = '\0';
  gSheet.openedPath[0] = '\0';
  gSheet.openedForm = SheetForm{kSheetFormAsSetting, {false, false}};
  for (char* path : gSheet.writtenPaths) path[0] = '\0';
  for (char* path : gSheet.exportedPaths) path[0] = '\0';
}
