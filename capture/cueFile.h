// Writing a sheet to a cue file: the file is replaced in one step, and a file this sheet did
// not write is kept as a backup first.
#pragma once

#include <windows.h>

#include <cstddef>

#include "../base/limits.h"

struct CueWrite {
  DWORD error;                 // 0 when written, else the platform's error code
  char backupPath[kPathBytes]; // where the earlier file was kept; empty when none was
};

// Writes text (length bytes; text must have room for two more, which take a closing CR LF
// when the text does not end with a line break) to path. When path holds a file that this
// sheet has not written since start-up or Reset, that file is first kept as path + ".bak",
// replacing an older one. The new file replaces the old in one rename, so a write that fails
// half-way leaves the old file whole, and no temporary file behind.
CueWrite writeCueFile(const char* path, char* text, size_t length);
