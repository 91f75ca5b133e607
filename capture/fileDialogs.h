// The file dialogs of Save, Export and Open: they open in the folder of the file the sheet belongs
// to and give back a full path (UTF-8); and the question before a sheet is replaced.
#pragma once

#include <windows.h>

// The Save As dialog (owned by owner) with the types of filter (pairs of texts, as the dialog takes
// them) and *filterIndex chosen (from 1; the user's choice comes back in it), opening in the folder
// of audioPath with proposedName. Returns 1 with the chosen path in path (kPathBytes), else what
// guardedSaveDialog returns.
int askToSaveAs(HWND owner, const wchar_t* filter, int* filterIndex, const wchar_t* defaultExtension,
                const char* audioPath, const char* proposedName, char* path);

// The Open dialog, opening in folder (empty: the dialog's own choice) with *filterIndex chosen;
// alike.
int askToOpen(HWND owner, const wchar_t* filter, const char* folder, char* path, int* filterIndex);

// "Discard the unsaved cue sheet?" (Yes and No, No the default; owned by owner): true only for
// Yes, and only when no change of the sheet came in while the question was open (a mark made
// meanwhile was not part of what Yes discards).
bool askToDiscardSheet(HWND owner);
