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
  kReplaceSwap,            // it takes the file's name, the old file going to the backup name
  kReplaceAllSteps = kReplaceSwap,
};

// Writes bytes to tempPath, which must be in the same folder as path, flushes and closes it,
// then renames it over path in one step (the old file, when backupPath is given, first copied
// there). Path holds its old content whole until that rename and the new one after it; a backup
// is left only by a replacement that succeeded. On failure path is as it was and the temporary
// file is removed. Returns 0, or the platform's error code. For the plug-in's own files.
DWORD replaceFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                  const char* backupPath);

// The same for a file of the user's: when path exists, ReplaceFile puts the new file in its
// place, keeping the file's identity, attributes and security, and moves the old content to
// backupPath (when given) in the same call. Where ReplaceFile is refused (a file system or share
// that lacks it), it falls back to the copy and rename above.
DWORD replaceUsersFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                       const char* backupPath);

// Either, stopped after lastStep as a crash there would stop it: the file handle is closed, as
// the system closes it, and nothing is cleaned up. For tests of what each step leaves.
DWORD replaceFileUpTo(const char* path, const char* tempPath, const char* bytes, size_t length,
                      const char* backupPath, int lastStep, bool keepIdentity);

// Fills temp (tempBytes) with the name of the temporary file for path: in the same folder and
// no longer than path (its name's last two bytes, or more to end on a whole character, become
// '~' and tag), so that every path
// that fits has a temporary name that fits. One tag a running player: two players never write
// the same temporary file. False when it would not fit.
bool temporaryNameBeside(const char* path, char tag, char* temp, size_t tempBytes);
