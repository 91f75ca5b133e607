// Writing a sheet to a cue file: the file is replaced in one step, and a file this sheet did
// not write is kept as a backup, never over a backup that holds a user's own sheet.
#pragma once

#include <windows.h>

#include <cstddef>

#include "../base/limits.h"

struct CueWrite {
  DWORD error;                 // 0 when written, else the platform's error code
  char backupPath[kPathBytes]; // where the earlier file was kept; empty when none was
};

// Writes text (length bytes; text must have room for two more, which take a closing CR LF
// when the text does not end with a line break) to path. When path holds a file and
// keepEarlier is set (this sheet did not write it), or the file holds other bytes than the
// plug-in wrote (another program changed it since), that file is kept under the first of
// path + ".bak", ".1.bak", ".2.bak"... that is free or holds a backup the plug-in made there of a
// file it wrote itself.
// The new file replaces the old in one step, the backup made in the same step, so a write that
// fails leaves the old file whole, no backup and no temporary file behind.
CueWrite writeCueFile(const char* path, char* text, size_t length, bool keepEarlier);
// The same for a file's bytes as they are (a cue sheet in its encoding, its last line closed).
CueWrite writeCueBytes(const char* path, const char* bytes, size_t length, bool keepEarlier);

// The caption of the box that confirms a write, and its text: the path, then where the earlier
// file was kept when it was; cut to messageBytes.
const char kSavedToCaption[] = "Saved to";
void describeWrite(const char* path, const CueWrite& write, char* message, size_t messageBytes);
