// Save: the sheet goes beside its own audio file, and when it cannot, the user is told why and
// may choose another place.
#pragma once

#include <windows.h>

struct SaveOutcome {
  bool saved;       // a file was written
  int problemLine;  // the user chose not to save a sheet that breaks a rule: its first problem's
                    // line (from 1), for the caret; 0 otherwise
};

// Writes the editor's text to the cue file beside the sheet's audio file (the playlist entry
// current at its first entry; the current one for a sheet without entries) and says where it
// went, in boxes owned by owner. A sheet that breaks a reader's rule, or an empty sheet over an
// existing file, asks first. When it cannot be written there, a box says why and offers a Save
// As dialog. saved is called once a file was written and the sheet marked saved, before the box
// that says where.
SaveOutcome saveCueSheet(HWND owner, void (*saved)());
