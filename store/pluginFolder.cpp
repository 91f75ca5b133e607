// The plug-in's module handle and the files beside it.
#include "pluginFolder.h"

#include "../base/limits.h"
#include "../base/text.h"

namespace {

HINSTANCE gModule = nullptr;

}  // namespace

void setPluginModule(HINSTANCE module) { gModule = module; }
HINSTANCE pluginModule() { return gModule; }

bool pathBesideModule(const char* fileName, char* path) {
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
  size_t folderLength = (size_t)(p - path);
  if (folderLength + textLength(fileName, kPathBytes) + 1 > kPathBytes) {
    path[0] = '\0';
    return false;
  }
  appendTo(path, kPathBytes, fileName);
  return true;
}
