// The recovery copy: the sheet in the Cue window, kept in a file after every change and at
// quit, so that a crash or a closed player loses at most the entry being typed. Each running
// player keeps its own copy and holds it while it runs; at start a player takes back the newest
// copy that no running player holds. A saved or empty sheet leaves no copy.
#pragma once

#include <windows.h>

#include <cstddef>

#include "recoveredSheet.h"

// The state of the sheet that a copy keeps besides its text.
struct CopiedSheetState {
  int nextEntry;
  const char* audioPath;
  bool unsaved;
  const char* openedPath;  // the file the sheet was opened from; empty: none
  const char* openedForm;  // how that file was written, as a short code
  const char* tracklist;   // the tracklist still to be marked (UTF-8); may be null
  size_t tracklistBytes;
};

// At start-up: starts the copy's writer (which posts doneMessage to notify after each write,
// wParam the error code or 0) and takes this player's copy: of those that no running player
// holds, found beside plugin.ini or in the application-data folder, the one whose audio file is
// currentAudio (UTF-8, the player's current entry), else the newest; or a new name. A copy that
// cannot be read now is left for a later start; one that was read and is damaged is moved
// aside, never deleted.
void startRecovery(HWND notify, UINT doneMessage, const char* currentAudio, RecoveryStart* start);
void freeRestoredSheet(RestoredSheet* sheet);

// Writes the copy (on the writer's thread, within milliseconds): text (length bytes) with the
// sheet's state, or no copy when the sheet is saved or empty. The last copy written stays until
// a newer one stands (in either folder).
void keepRecoveryCopy(const char* text, size_t length, const CopiedSheetState& state);

// After a write, with its error code (0: written) and the tag its notice carried.
// kRecoveryRetry: it failed and the copy moved to the other folder, write it again now;
// kRecoveryTell: no folder takes it, and the user has not been told in this session;
// kRecoveryQuiet: nothing to do (also for the notice of a copy's earlier place).
enum RecoveryNext { kRecoveryRetry, kRecoveryTell, kRecoveryQuiet };
RecoveryNext recoveryWriteDone(DWORD error, LPARAM tag);

// At quit: the last copy, written before this returns unless the disk does not answer within a
// few seconds. Returns false then: the writer's thread still runs and the module must stay loaded.
bool closeRecovery(const char* text, size_t length, const CopiedSheetState& state);
