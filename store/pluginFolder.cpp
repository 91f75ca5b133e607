// The plug-in's module handle, the files beside it and its data folders.
#include "pluginFolder.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "fileSystem.h"

namespace {

const char kAppDataVariable[] = "APPDATA";
const char kAppDataFolder[] = "LumoMarker";

HINSTANCE gModule = nullptr;
char gPlayerTag = '1';

// The plug-in's folder with a closing separator; false when its name was cut or has none.
bool moduleFolder(char* path) {
  DWORD length = GetModuleFileNameA(gModule, path, (DWORD)kPathBytes);
  // A name that filled the buffer may have been cut: no reliable folder then.
  if (length == 0 || length >= kPathBytes) {
    path[0] = '\0';
    return false;
  }
  char* p = path + length;
  while (p > path && *p != '\\') p = CharPrevA(path, p);
  if (*p != '\\') {
    path[0] = '\0';
    return false;
  }
  p = CharNextA(p);
  *p = '\0';
  return true;
}

}  // namespace

void setPluginModule(HINSTANCE module) { gModule = module; }
HINSTANCE pluginModule() { return gModule; }

bool pathBesideModule(const char* fileName, char* path) {
  if (!moduleFolder(path)) return false;
  if (textLength(path, kPathBytes) + textLength(fileName, kPathBytes) + 1 > kPathBytes) {
    path[0] = '\0';
    return false;
  }
  appendTo(path, kPathBytes, fileName);
  return true;
}

bool joinPath(const char* folder, const char* name, char* path) {
  size_t length = textLength(folder, kPathBytes);
  if (length + 1 + textLength(name, kPathBytes) + 1 > kPathBytes) {
    path[0] = '\0';
    return false;
  }
  copyText(path, kPathBytes, folder);
  if (length > 0 && folder[length - 1] != '\\' && folder[length - 1] != '/') appendTo(path, kPathBytes, "\\");
  appendTo(path, kPathBytes, name);
  return true;
}

bool dataFolder(int which, bool create, char* folder) {
  folder[0] = '\0';
  if (which == 0) {
    if (!moduleFolder(folder)) return false;
    folder[textLength(folder, kPathBytes) - 1] = '\0';
    return true;
  }
  if (which != 1) return false;
  char appData[kPathBytes];
  DWORD length = GetEnvironmentVariableA(kAppDataVariable, appData, (DWORD)sizeof appData);
  if (length == 0 || length >= sizeof appData || !joinPath(appData, kAppDataFolder, folder)) {
    folder[0] = '\0';
    return false;
  }
  return !create || createFolder(folder);
}

void setPlayerTag(char tag) { gPlayerTag = tag; }
char playerTag() { return gPlayerTag; }
