// The plug-in's module handle, the files beside it and its data folders.
#include "pluginFolder.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "fileSystem.h"

namespace {

const wchar_t kAppDataVariable[] = L"APPDATA";
const char kAppDataFolder[] = "LumoMarker";

HINSTANCE gModule = nullptr;
char gPlayerTag = '1';

// The plug-in's folder (UTF-8) with a closing separator into path (pathBytes); false when its
// name was cut or has none.
bool moduleFolder(char* path, size_t pathBytes) {
  path[0] = '\0';
  wchar_t wide[kPathChars];
  DWORD length = GetModuleFileNameW(gModule, wide, (DWORD)kPathChars);
  // A name that filled the buffer may have been cut: no reliable folder then.
  if (length == 0 || length >= kPathChars) return false;
  while (length > 0 && wide[length - 1] != L'\\') --length;
  if (length == 0) return false;
  wide[length] = L'\0';
  size_t bytes = fromWide(wide, path, pathBytes);
  return bytes > 0 && path[bytes - 1] == '\\';
}

}  // namespace

void setPluginModule(HINSTANCE module) { gModule = module; }
HINSTANCE pluginModule() { return gModule; }

bool pathBesideModule(const char* fileName, char* path, size_t pathBytes) {
  char folder[kPathBytes];
  path[0] = '\0';
  if (!moduleFolder(folder, sizeof folder)) return false;
  if (textLength(folder, kPathBytes) + textLength(fileName, kPathBytes) + 1 > pathBytes) return false;
  copyText(path, pathBytes, folder);
  appendTo(path, pathBytes, fileName);
  return true;
}

bool joinPath(const char* folder, const char* name, char* path, size_t pathBytes) {
  size_t length = textLength(folder, kPathBytes);
  path[0] = '\0';
  if (length + 1 + textLength(name, kPathBytes) + 1 > pathBytes) return false;
  copyText(path, pathBytes, folder);
  if (length > 0 && folder[length - 1] != '\\' && folder[length - 1] != '/') appendTo(path, pathBytes, "\\");
  appendTo(path, pathBytes, name);
  return true;
}

bool dataFolder(int which, bool create, char* folder, size_t folderBytes) {
  folder[0] = '\0';
  if (which == 0) {
    char own[kPathBytes];
    if (!moduleFolder(own, sizeof own)) return false;
    size_t length = textLength(own, kPathBytes) - 1;  // without the closing separator
    if (length + 1 > folderBytes) return false;
    copyText(folder, length + 1, own);
    return true;
  }
  if (which != 1) return false;
  wchar_t wide[kPathChars];
  char appData[kPathBytes];
  DWORD length = GetEnvironmentVariableW(kAppDataVariable, wide, (DWORD)kPathChars);
  if (length > 0 && length < kPathChars) fromWide(wide, appData, sizeof appData);
  if (length == 0 || length >= kPathChars || !joinPath(appData, kAppDataFolder, folder, folderBytes)) {
    folder[0] = '\0';
    return false;
  }
  return !create || createFolder(folder);
}

void setPlayerTag(char tag) { gPlayerTag = tag; }
char playerTag() { return gPlayerTag; }
