// What the plug-in knows of the sheet in the Cue window besides its text: the number of the
// next entry, the audio file the sheet describes, whether it holds changes not yet saved, and
// which cue file it has written.
#pragma once

// The number the next entry gets; 1 for a new sheet, which then writes the header first.
int entryCounter();
void setEntryCounter(int next);

// The playlist entry that was current at the sheet's first entry: the sheet is saved beside
// it. Empty for a sheet without entries (typed by hand), which goes beside the current entry.
const char* sheetAudioPath();
void setSheetAudioPath(const char* path);

// Whether the sheet holds changes that no save has written.
bool sheetUnsaved();
void markSheetChanged();
// Counts the changes: a save notes it when it reads the text.
unsigned sheetVersion();
// After a save of the text as it was at version: nothing unsaved unless the sheet changed since
// (an entry committed while a box of the save was open), and cuePath is a file this sheet wrote.
void markSheetSaved(const char* cuePath, unsigned version);
// Whether this sheet wrote the cue file at path since start-up or the last Reset (it remembers
// the last few places it was saved to).
bool sheetWrote(const char* cuePath);

// A new sheet: numbering from 1, no audio file, nothing unsaved, nothing written.
void forgetSheet();
