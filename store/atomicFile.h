// Replacing a file so that at every moment its path holds either the old content whole or the
// new one: a cut file never stands where a whole one was.
#pragma once

#include <windows.h>

#include <cstddef>

// The steps of a replacement, in order.
enum ReplaceStep {
  kReplaceCreateTemp = 1,  // the temporary file is created (emptied if it was there)
  kReplaceWrite,           // the new bytes are written to it
  kReplaceFlush,           // and flushed to the disk
  kReplaceClose,           // and it is closed
  kReplaceBackup,          // the old file is copied to the backup name, when one is given
  kReplaceRename,          // the temporary file takes the file's name, in one rename
  kReplaceAllSteps = kReplaceRename,
};

// Writes bytes to tempPath, which must be in the same folder as path, flushes them, then, when
// backupPath is given and path exists, copies path to backupPath (replacing an older one), and
// finally renames tempPath to path (MoveFileExA, MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH). Path holds its old content whole until that rename, and the new one
// after it. On failure path is as it was and the temporary file is removed. Returns 0, or the
// platform's error code.
DWORD replaceFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                  const char* backupPath);

// The same, stopped after lastStep as a crash there would stop it: the file handle is closed,
// as the system closes it, and nothing is cleaned up. For tests of what each step leaves.
DWORD replaceFileUpTo(const char* path, const char* tempPath, const char* bytes, size_t length,
                      const char* backupPath, int lastStep);

// Whether path names a file (not a folder).
bool isFile(const char* path);

// Fills temp (kPathBytes) with the name of a temporary file in the folder of path, unique to
// this process and moment; false when it would not fit.
bool temporaryNameBeside(const char* path, char* temp);
