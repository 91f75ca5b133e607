// The file calls: every name goes to the system as UTF-16.
#include "fileSystem.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"

namespace {

// A path's UTF-16 form; one that does not fit the system's limit fails as the system fails it.
struct WidePath {
  wchar_t text[kPathChars];
  bool ok;
  explicit WidePath(const char* path) : ok(toWide(path, text, kPathChars)) {
    if (!ok) SetLastError(ERROR_FILENAME_EXCED_RANGE);
  }
};

}  // namespace

HANDLE openFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  WidePath wide(path);
  if (!wide.ok) return INVALID_HANDLE_VALUE;
  return CreateFileW(wide.text, access, share, nullptr, disposition, flags, nullptr);
}

DWORD pathAttributes(const char* path) {
  WidePath wide(path);
  return wide.ok ? GetFileAttributesW(wide.text) : INVALID_FILE_ATTRIBUTES;
}

bool setPathAttributes(const char* path, DWORD attributes) {
  WidePath wide(path);
  return wide.ok && SetFileAttributesW(wide.text, attributes);
}

bool isFile(const char* path) {
  DWORD attributes = pathAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const char* path) {
  DWORD attributes = pathAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool moveFile(const char* from, const char* to, DWORD flags) {
  WidePath wideFrom(from);
  WidePath wideTo(to);
  return wideFrom.ok && wideTo.ok && MoveFileExW(wideFrom.text, wideTo.text, flags);
}

bool deleteFile(const char* path) {
  WidePath wide(path);
  return wide.ok && DeleteFileW(wide.text);
}

bool copyFile(const char* from, const char* to) {
  WidePath wideFrom(from);
  WidePath wideTo(to);
  return wideFrom.ok && wideTo.ok && CopyFileW(wideFrom.text, wideTo.text, FALSE);
}

bool createFolder(const char* path) {
  WidePath wide(path);
  return wide.ok && (CreateDirectoryW(wide.text, nullptr) || isFolder(path));
}

DWORD replaceWithBackup(const char* path, const char* replacement, const char* backup) {
  WidePath widePath(path);
  WidePath wideReplacement(replacement);
  WidePath wideBackup(backup ? backup : "");
  if (!widePath.ok || !wideReplacement.ok || !wideBackup.ok) return ERROR_FILENAME_EXCED_RANGE;
  if (ReplaceFileW(widePath.text, wideReplacement.text, backup ? wideBackup.text : nullptr,
                   REPLACEFILE_WRITE_THROUGH, nullptr, nullptr))
    return 0;
  DWORD error = GetLastError();
  return error ? error : ERROR_WRITE_FAULT;
}

unsigned long long lastWriteTime(const char* path) {
  WidePath wide(path);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!wide.ok || !GetFileAttributesExW(wide.text, GetFileExInfoStandard, &data)) return 0;
  return ((unsigned long long)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
}

char* readWholeFile(const char* path, size_t maxBytes, size_t spare, size_t* size, DWORD* error) {
  *size = 0;
  *error = 0;
  HANDLE file = openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return nullptr;
  }
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  char* bytes = nullptr;
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    *error = GetLastError();
  } else if (high != 0 || low > maxBytes) {
    *error = ERROR_FILE_TOO_LARGE;
  } else {
    bytes = (char*)GlobalAlloc(GPTR, (SIZE_T)low + spare + 1);
    DWORD got = 0;
    if (!bytes) {
      *error = ERROR_NOT_ENOUGH_MEMORY;
    } else if (!ReadFile(file, bytes, low, &got, nullptr) || got != low) {
      *error = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
      GlobalFree(bytes);
      bytes = nullptr;
    } else {
      *size = low;
    }
  }
  CloseHandle(file);
  return bytes;
}

void forEachFileIn(const char* folder, const char* pattern, bool (*found)(const char* name, void* context),
                   void* context) {
  char search[kPathBytes];
  copyText(search, sizeof search, folder);
  size_t length = textLength(search, sizeof search);
  if (length > 0 && search[length - 1] != '\\' && search[length - 1] != '/') appendTo(search, sizeof search, "\\");
  if (appendTo(search, sizeof search, pattern) + 1 >= sizeof search) return;
  WidePath wide(search);
  if (!wide.ok) return;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(wide.text, &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    char name[kPathBytes];
    fromWide(data.cFileName, name, sizeof name);
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !found(name, context)) break;
  } while (FindNextFileW(find, &data));
  FindClose(find);
}
