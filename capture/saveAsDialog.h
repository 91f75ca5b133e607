// The Save As dialog of Save and Export: opens in the audio file's folder with a name proposed
// after it, and gives back a full path (UTF-8).
#pragma once

#include <windows.h>

// Shows the dialog (owned by owner) with the types of filter (pairs of texts, as the dialog takes
// them) and *filterIndex chosen (from 1; the user's choice comes back in it). Returns 1 with the
// chosen path in path (kPathBytes), else what guardedSaveDialog returns.
int askToSaveAs(HWND owner, const wchar_t* filter, int* filterIndex, const wchar_t* defaultExtension,
                const char* audioPath, const char* proposedName, char* path);
