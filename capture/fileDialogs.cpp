// The file dialogs, in UTF-16 through the modal guard.
#include "fileDialogs.h"

#include <commdlg.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../sheet/cueFileName.h"
#include "../sheet/fileLine.h"
#include "../store/fileSystem.h"
#include "sheetState.h"

namespace {

const char kDiscardCaption[] = "LUMO";
const char kDiscardText[] = "Discard the unsaved cue sheet?";

// A request for either dialog: its path field holds name, its folder is folder (when it exists).
struct DialogRequest {
  OPENFILENAMEW request;
  wchar_t path[kPathChars];
  wchar_t folder[kPathChars];
};

// A request in global memory (free it with GlobalFree), or null when memory is short.
DialogRequest* newRequest(HWND owner, const wchar_t* filter, const char* name, const char* folderPath, DWORD flags) {
  DialogRequest* d = (DialogRequest*)GlobalAlloc(GPTR, sizeof(DialogRequest));
  if (!d) return nullptr;
  toWide(name, d->path, kPathChars);
  bool hasFolder = folderPath && folderPath[0] && isFolder(folderPath) && toWide(folderPath, d->folder, kPathChars);
  d->request.lStructSize = sizeof d->request;
  d->request.hwndOwner = owner;
  d->request.lpstrFilter = filter;
  d->request.nFilterIndex = 1;
  d->request.lpstrFile = d->path;
  d->request.nMaxFile = (DWORD)kPathChars;
  d->request.lpstrInitialDir = hasFolder ? d->folder : nullptr;
  d->request.Flags = flags | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return d;
}

}  // namespace

int askToSaveAs(HWND owner, const wchar_t* filter, int* filterIndex, const wchar_t* defaultExtension,
                const char* audioPath, const char* proposedName, char* path) {
  char folder[kPathBytes] = "";
  if (audioPath && !isStreamPath(audioPath)) folderOf(audioPath, folder, sizeof folder);
  DialogRequest* dialog = newRequest(owner, filter, proposedName, folder, OFN_OVERWRITEPROMPT);
  if (!dialog) return MODAL_REFUSED;
  dialog->request.nFilterIndex = (DWORD)*filterIndex;
  dialog->request.lpstrDefExt = defaultExtension;
  int chosen = guardedSaveDialog(&dialog->request);
  if (chosen == 1) {
    fromWide(dialog->path, path, kPathBytes);
    *filterIndex = (int)dialog->request.nFilterIndex;
  }
  GlobalFree(dialog);
  return chosen;
}

int askToOpen(HWND owner, const wchar_t* filter, const char* folder, char* path, int* filterIndex) {
  DialogRequest* dialog = newRequest(owner, filter, "", folder, OFN_FILEMUSTEXIST);
  if (!dialog) return MODAL_REFUSED;
  dialog->request.nFilterIndex = (DWORD)*filterIndex;
  int chosen = guardedOpenDialog(&dialog->request);
  if (chosen == 1) {
    fromWide(dialog->path, path, kPathBytes);
    *filterIndex = (int)dialog->request.nFilterIndex;
  }
  GlobalFree(dialog);
  return chosen;
}

bool askToDiscardSheet(HWND owner) {
  unsigned asked = sheetVersion();
  int answer = guardedMessageBox(owner, kDiscardText, kDiscardCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  return answer == IDYES && sheetVersion() == asked;
}
