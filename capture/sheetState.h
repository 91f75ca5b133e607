// What the plug-in knows of the sheet in the Cue window besides its text: the number of the
// next entry, the audio file the sheet describes, the cue file it was opened from and how that
// was written, whether it holds changes not yet saved, and which cue file it has written.
#pragma once

#include <cstddef>

#include "../base/limits.h"
#include "../sheet/cueEncoding.h"

// How an opened sheet's file was written, so that Save writes it back alike.
struct SheetForm {
  bool asSetting;  // plain ASCII without a BOM: any encoding writes it alike, the General page's
                   // setting decides
  CueForm file;    // otherwise: the encoding, BOM and marker line as they were
};

// The number the next entry gets; 1 for a new sheet, which then writes the header first.
int entryCounter();
void setEntryCounter(int next);

// The playlist entry that was current at the sheet's first entry: the sheet is saved beside
// it. Empty for a sheet without entries (typed by hand), which goes beside the current entry.
const char* sheetAudioPath();
void setSheetAudioPath(const char* path);
// The audio file the sheet's files go beside, into path (pathBytes): its own, or the current
// playlist entry's for a sheet without entries (read at once: it may change while a box is open).
void sheetAudioOrCurrentEntry(char* path, size_t pathBytes);

// The cue file the sheet was opened from (Save writes it back there), and how it was written;
// empty for a sheet made here.
const char* openedSheetPath();
const SheetForm& openedSheetForm();
void setOpenedSheet(const char* cuePath, const SheetForm& form);
// The form as a short code for the recovery copy, and back: "s" (as the setting), "a" with the
// code page's number ("a" alone, from earlier versions: the ANSI code page), "u" with two digits
// (BOM and marker line), "l" and "b" (UTF-16 little and big endian).
const size_t kFormCodeBytes = 8;
void formCode(const SheetForm& form, char* code, size_t codeBytes);
SheetForm formOfCode(const char* code);

// The folder a FILE line's relative name stands in: the opened sheet's folder, else the folder
// of the sheet's audio file (beside which it is saved), into out (outBytes).
void sheetFolder(char* out, size_t outBytes);

// Whether the sheet holds changes that no save has written.
bool sheetUnsaved();
void markSheetChanged();
// Counts the changes: a save notes it when it reads the text.
unsigned sheetVersion();
// After a save of the text as it was at version: nothing unsaved unless the sheet changed since
// (an entry committed while a box of the save was open), and cuePath is a file this sheet wrote.
void markSheetSaved(const char* cuePath, unsigned version);
// Notes a cue file this sheet wrote.
void noteWrittenFile(const char* path);
// Whether this sheet wrote the cue file at path since start-up or the last Reset (it remembers
// the last few places it was saved to).
bool sheetWrote(const char* cuePath);
// The same for the files its exports wrote: writing one of them again makes no backup of it.
void noteExportedFile(const char* path);
bool sheetExported(const char* path);

// What an undo step puts back besides the text.
struct SheetBookkeeping {
  int nextEntry;
  char audioPath[kPathBytes];
  char openedPath[kPathBytes];
  SheetForm openedForm;
};
void saveBookkeeping(SheetBookkeeping* bookkeeping);
void restoreBookkeeping(const SheetBookkeeping& bookkeeping);

// A new sheet: numbering from 1, no audio file, not opened, nothing unsaved, nothing written.
void forgetSheet();
