// Open...: a cue sheet from a file into the editor, every line of it kept, remembered with its
// file and the way that file was written, so that Save writes it back alike.
#pragma once

#include <windows.h>

#include "../base/limits.h"
#include "sheetState.h"

// A sheet read from its file, ready to go into the editor.
struct OpenedSheet {
  char path[kPathBytes];
  char* text;  // UTF-8 with CR LF line ends; global memory
  SheetForm form;
};

// Shows the Open dialog (boxes owned by owner) and reads the chosen file, in the code page of the
// type chosen when it is neither UTF-16 nor UTF-8. A file that cannot be read, is larger than
// 4 MiB or holds a NUL byte is refused with a box that says why; when lines would not be saved
// back as they were, a box lists them and asks first. Returns the sheet (free it with
// freeOpenedSheet), or null when none came in.
OpenedSheet* readCueSheet(HWND owner);

// Puts a sheet read into the editor in place of the one there, remembered with its file and form.
void takeCueSheet(const OpenedSheet* sheet);

// Tells once, in a box owned by owner, the rules of cue readers an opened sheet breaks (the
// check Save makes, without the rules for a CD); says nothing of a sheet that keeps them.
void tellSheetProblems(HWND owner, const OpenedSheet* sheet);

void freeOpenedSheet(OpenedSheet* sheet);
