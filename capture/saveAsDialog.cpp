// The Save As dialog, in UTF-16 through the modal guard.
#include "saveAsDialog.h"

#include <commdlg.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../sheet/cueFileName.h"
#include "../sheet/fileLine.h"
#include "../store/fileSystem.h"

int askToSaveAs(HWND owner, const wchar_t* filter, int* filterIndex, const wchar_t* defaultExtension,
                const char* audioPath, const char* proposedName, char* path) {
  // The folder of the audio file, when it is a file whose folder exists.
  char folder[kPathBytes] = "";
  if (audioPath && !isStreamPath(audioPath)) folderOf(audioPath, folder, sizeof folder);
  if (folder[0] && !isFolder(folder)) folder[0] = '\0';
  wchar_t widePath[kPathChars];
  wchar_t wideFolder[kPathChars];
  toWide(proposedName, widePath, kPathChars);
  bool hasFolder = folder[0] && toWide(folder, wideFolder, kPathChars);
  OPENFILENAMEW request;
  ZeroMemory(&request, sizeof request);
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filter;
  request.nFilterIndex = (DWORD)*filterIndex;
  request.lpstrFile = widePath;
  request.nMaxFile = (DWORD)kPathChars;
  request.lpstrInitialDir = hasFolder ? wideFolder : nullptr;
  request.lpstrDefExt = defaultExtension;
  request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  int chosen = guardedSaveDialog(&request);
  if (chosen == 1) {
    fromWide(widePath, path, kPathBytes);
    *filterIndex = (int)request.nFilterIndex;
  }
  return chosen;
}
