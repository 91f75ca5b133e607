// The file calls, with the names as the plug-in holds them.
#include "fileSystem.h"

#include "../base/limits.h"
#include "../base/text.h"

HANDLE openFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
}

DWORD pathAttributes(const char* path) { return GetFileAttributesA(path); }

bool isFile(const char* path) {
  DWORD attributes = pathAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const char* path) {
  DWORD attributes = pathAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool moveFile(const char* from, const char* to, DWORD flags) { return MoveFileExA(from, to, flags) != FALSE; }
bool deleteFile(const char* path) { return DeleteFileA(path) != FALSE; }
bool copyFile(const char* from, const char* to) { return CopyFileA(from, to, FALSE) != FALSE; }
bool createFolder(const char* path) { return CreateDirectoryA(path, nullptr) || isFolder(path); }

DWORD replaceWithBackup(const char* path, const char* replacement, const char* backup) {
  if (ReplaceFileA(path, replacement, backup, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) return 0;
  DWORD error = GetLastError();
  return error ? error : ERROR_WRITE_FAULT;
}

unsigned long long lastWriteTime(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
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
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(search, &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !found(data.cFileName, context)) break;
  } while (FindNextFileA(find, &data));
  FindClose(find);
}
