// Write to a temporary file, flush, close, then replace in one step.
#include "atomicFile.h"

#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/text.h"
#include "fileSystem.h"

namespace {

const DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

bool writeAll(HANDLE file, const char* bytes, size_t length) {
  // WriteFile takes at most 4 GB at a time; a sheet is far smaller, but never assume.
  const size_t kChunk = 1u << 30;
  while (length > 0) {
    DWORD part = (DWORD)(length < kChunk ? length : kChunk);
    DWORD written = 0;
    if (!WriteFile(file, bytes, part, &written, nullptr) || written != part) return false;
    bytes += part;
    length -= part;
  }
  return true;
}

// Gives up: the temporary file goes; returns the error.
DWORD undo(DWORD error, const char* tempPath) {
  deleteFile(tempPath);
  return error ? error : ERROR_WRITE_FAULT;
}

// Errors after which ReplaceFile left both files as they were, because the system or the share
// does not do it that way: a copy and a rename may still work.
bool replaceUnsupported(DWORD error) {
  return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_INVALID_PARAMETER ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// The attributes a user's file keeps through a replacement.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts the written temporary file in path's place (see replaceFile).
DWORD swapIn(const char* path, const char* tempPath, const char* backupPath, bool keepIdentity) {
  if (!isFile(path)) return moveFile(tempPath, path, kMoveFlags) ? 0 : undo(GetLastError(), tempPath);
  DWORD error = keepIdentity ? replaceWithBackup(path, tempPath, backupPath) : ERROR_NOT_SUPPORTED;
  if (error == 0) return 0;
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && backupPath) {
    // The old file went to the backup name but the new one did not follow: put it back.
    moveFile(backupPath, path, kMoveFlags);
    return undo(error, tempPath);
  }
  if ((error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) && !isFile(path)) {
    // Without a backup name the old file is gone from its name and the new one did not follow:
    // it goes there now, or stays where it is, the one whole copy left.
    return moveFile(tempPath, path, kMoveFlags) ? 0 : GetLastError();
  }
  if (!replaceUnsupported(error)) return undo(error, tempPath);
  // A copy, not a rename: the file stays in place, whole, until the rename.
  bool backupWasThere = backupPath && isFile(backupPath);
  if (backupPath && !copyFile(path, backupPath)) return undo(GetLastError(), tempPath);
  if (moveFile(tempPath, path, kMoveFlags)) return 0;
  error = GetLastError();
  if (backupPath && !backupWasThere) deleteFile(backupPath);  // no backup without a save
  return undo(error, tempPath);
}

}  // namespace

DWORD replaceFileUpTo(const char* path, const char* tempPath, const char* bytes, size_t length,
                      const char* backupPath, int lastStep, bool keepIdentity) {
  HANDLE file = openFile(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  bool ok = true;
  DWORD error = 0;
  if (lastStep >= kReplaceWrite && !writeAll(file, bytes, length)) ok = false;
  if (ok && lastStep >= kReplaceFlush && !FlushFileBuffers(file)) ok = false;
  if (!ok) error = GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) return undo(error, tempPath);
  if (lastStep < kReplaceSwap) return 0;
  return swapIn(path, tempPath, backupPath, keepIdentity);
}

DWORD replaceFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                  const char* backupPath) {
  return replaceFileUpTo(path, tempPath, bytes, length, backupPath, kReplaceAllSteps, false);
}

DWORD replaceUsersFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                       const char* backupPath) {
  DWORD attributes = pathAttributes(path);
  DWORD error = replaceFileUpTo(path, tempPath, bytes, length, backupPath, kReplaceAllSteps, true);
  // ReplaceFile keeps them on Windows; Wine's leaves them with the backup, and the copy and
  // rename that stands in for it where it is refused gives the new file its own.
  DWORD kept = attributes & kKeptAttributes;
  if (error == 0 && attributes != INVALID_FILE_ATTRIBUTES && pathAttributes(path) != attributes)
    setPathAttributes(path, kept ? kept : FILE_ATTRIBUTE_NORMAL);
  return error;
}

bool temporaryNameBeside(const char* path, char tag, char* temp, size_t tempBytes) {
  const size_t kReplaced = 2;
  size_t length = textLength(path, kPathBytes);
  size_t name = fileNameStart(path, length);
  temp[0] = '\0';
  if (length >= kPathBytes || length == name) return false;
  size_t keep = length - name >= kReplaced + 1 ? length - kReplaced : length;
  if (keep + kReplaced + 1 > tempBytes) return false;
  keep = copyText(temp, keep + 1, path);  // whole characters: the marks follow the last one kept
  // A name that already ends in our mark gets another one, so that the two never meet.
  bool endsInMark = keep < length && path[length - 2] == '~' && path[length - 1] == tag;
  temp[keep] = endsInMark ? '#' : '~';
  temp[keep + 1] = tag;
  temp[keep + 2] = '\0';
  return true;
}
