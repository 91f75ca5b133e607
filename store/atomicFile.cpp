// Write to a temporary file, flush, rename over: the replacement is one rename.
#include "atomicFile.h"

#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/text.h"

namespace {

const char kTempPrefix[] = "~lumo";
const char kTempExtension[] = ".tmp";
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
  DeleteFileA(tempPath);
  return error ? error : ERROR_WRITE_FAULT;
}

}  // namespace

DWORD replaceFileUpTo(const char* path, const char* tempPath, const char* bytes, size_t length,
                      const char* backupPath, int lastStep) {
  HANDLE file = CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
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
  if (lastStep < kReplaceBackup) return 0;

  // A copy, not a rename: the file stays in place, whole, until the last step.
  if (backupPath && isFile(path) && !CopyFileA(path, backupPath, FALSE))
    return undo(GetLastError(), tempPath);
  if (lastStep < kReplaceRename) return 0;
  if (!MoveFileExA(tempPath, path, kMoveFlags)) return undo(GetLastError(), tempPath);
  return 0;
}

DWORD replaceFile(const char* path, const char* tempPath, const char* bytes, size_t length,
                  const char* backupPath) {
  return replaceFileUpTo(path, tempPath, bytes, length, backupPath, kReplaceAllSteps);
}

bool isFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool temporaryNameBeside(const char* path, char* temp) {
  size_t length = textLength(path, kPathBytes);
  size_t folder = fileNameStart(path, length);
  char unique[kNumberTextBytes];
  formatInt(unique, sizeof unique, (long long)GetCurrentProcessId() * 100000 + GetTickCount() % 100000);
  size_t needed = folder + sizeof kTempPrefix - 1 + textLength(unique, sizeof unique) +
                  sizeof kTempExtension - 1;
  if (length >= kPathBytes || needed + 1 > kPathBytes) {
    temp[0] = '\0';
    return false;
  }
  copyText(temp, folder + 1, path);
  appendTo(temp, kPathBytes, kTempPrefix);
  appendTo(temp, kPathBytes, unique);
  appendTo(temp, kPathBytes, kTempExtension);
  return true;
}
