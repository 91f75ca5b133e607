// Files and folders by the plug-in's own text for their names: every file call of the plug-in
// goes through here, so that names reach the system in one way.
#pragma once

#include <windows.h>

#include <cstddef>

HANDLE openFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD pathAttributes(const char* path);  // INVALID_FILE_ATTRIBUTES when there is nothing
bool setPathAttributes(const char* path, DWORD attributes);
bool isFile(const char* path);    // a file, not a folder
bool isFolder(const char* path);
bool moveFile(const char* from, const char* to, DWORD flags);
bool deleteFile(const char* path);
bool copyFile(const char* from, const char* to);  // replaces an existing file at to
bool createFolder(const char* path);              // true when it exists afterwards
// Replaces path with replacement in one step of the system, the old file moved to backup (null:
// none). The replaced file keeps its identity, attributes and security. 0 or an error code.
DWORD replaceWithBackup(const char* path, const char* replacement, const char* backup);
// The time a file was last written, in 100 ns units; 0 when it cannot be read.
unsigned long long lastWriteTime(const char* path);

// Reads a whole file of at most maxBytes into a global block with `spare` zero bytes after it
// (free it with GlobalFree). Null with error set when it cannot be opened or read, or
// ERROR_FILE_TOO_LARGE when it is larger.
char* readWholeFile(const char* path, size_t maxBytes, size_t spare, size_t* size, DWORD* error);

// Calls found(name, context) for each file (not folder) in folder whose name matches pattern
// (wildcards * and ?); stops when it returns false.
void forEachFileIn(const char* folder, const char* pattern, bool (*found)(const char* name, void* context),
                   void* context);
