// Reading a cue file: its encoding found (a BOM means UTF-8, text that is valid UTF-8 is UTF-8,
// anything else the ANSI code page), the BOM and the marker line Automatic saving wrote dropped
// and remembered, line ends shown as CR LF.
#include "cueOpen.h"

#include <commdlg.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "../sheet/cueEncoding.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetEdit.h"
#include "../store/fileSystem.h"
#include "../store/settings.h"
#include "cueEditor.h"
#include "fileErrors.h"
#include "sheetState.h"

namespace {

const char kCaption[] = "LUMO";
const char kNotOpened[] = "The cue sheet was not opened.\r\n\r\n";
const char kTooLarge[] = "It is larger than 4 MiB, far larger than any cue sheet.";
const char kHoldsNul[] = "It holds a NUL byte, which no cue sheet holds: it is no text file.";
const wchar_t kOpenFilter[] = L"Cue sheets (*.cue)\0*.cue\0All files (*.*)\0*.*\0";
const size_t kSheetBytesMax = 4 * 1024 * 1024;
const size_t kMessageBytes = kPathBytes + 256;

// The Open dialog, in the sheet's folder or the playing file's; 1 with a full path in path.
int askForFile(HWND owner, char* path) {
  char folder[kPathBytes];
  sheetFolder(folder);
  if (!folder[0]) {
    char current[kPathBytes];
    hostEntryPathText(hostPlaylistIndex(), current);
    folderOf(current, folder, sizeof folder);
  }
  wchar_t widePath[kPathChars] = L"";
  wchar_t wideFolder[kPathChars];
  bool hasFolder = folder[0] && toWide(folder, wideFolder, kPathChars);
  OPENFILENAMEW request;
  ZeroMemory(&request, sizeof request);
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = kOpenFilter;
  request.lpstrFile = widePath;
  request.nMaxFile = (DWORD)kPathChars;
  request.lpstrInitialDir = hasFolder ? wideFolder : nullptr;
  request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  int chosen = guardedOpenDialog(&request);
  if (chosen == 1) fromWide(widePath, path, kPathBytes);
  return chosen;
}

// "The cue sheet was not opened." with the file and why.
void refuse(HWND owner, const char* path, const char* why, DWORD error) {
  char message[kMessageBytes];
  copyText(message, sizeof message, kNotOpened);
  appendTo(message, sizeof message, path);
  appendTo(message, sizeof message, "\r\n");
  if (why) appendTo(message, sizeof message, why);
  else appendFileError(message, sizeof message, error, true);
  guardedMessageBox(owner, message, kCaption, MB_OK | MB_ICONWARNING);
}

// The sheet's text as the editor shows it (UTF-8, CR LF) in global memory; null when short of it.
char* editorTextOf(const char* text, size_t length, bool utf8) {
  char* utf8Text = nullptr;
  if (!utf8) {
    size_t room = length * kUtf8BytesPerUnit + 1;
    utf8Text = (char*)GlobalAlloc(GMEM_FIXED, room);
    if (!utf8Text) return nullptr;
    length = ansiToUtf8(text, length, utf8Text, room);
    text = utf8Text;
  }
  size_t shown = crLfLength(text, length);
  char* lines = (char*)GlobalAlloc(GMEM_FIXED, shown + 1);
  if (lines) crLfText(text, length, lines, shown + 1);
  if (utf8Text) GlobalFree(utf8Text);
  return lines;
}

// The sheet's audio: the recording its first FILE line names.
void takeAudioOf(const char* text, const char* cuePath) {
  FileBlock first;
  char audio[kPathBytes] = "";
  char folder[kPathBytes];
  folderOf(cuePath, folder, sizeof folder);
  size_t length = textLength(text, (size_t)-1);
  if (listFileBlocks(text, length, &first, 1) > 0)
    resolveFileName(text + first.nameAt, first.nameLength, folder, audio, sizeof audio);
  setSheetAudioPath(audio);
}

}  // namespace

bool openCueSheet(HWND owner) {
  char path[kPathBytes];
  if (askForFile(owner, path) != 1) return false;
  size_t size = 0;
  DWORD error = 0;
  char* bytes = readWholeFile(path, kSheetBytesMax, 0, &size, &error);
  if (!bytes) {
    refuse(owner, path, error == ERROR_FILE_TOO_LARGE ? kTooLarge : nullptr, error);
    return false;
  }
  if (holdsNul(bytes, size)) {
    GlobalFree(bytes);
    refuse(owner, path, kHoldsNul, 0);
    return false;
  }
  ReadForm read = readCueForm(bytes, size);
  char* text = editorTextOf(bytes + read.textAt, size - read.textAt, read.utf8);
  GlobalFree(bytes);
  if (!text) return false;

  SheetForm form = {read.ascii && !read.utf8Form.bom ? kSheetFormAsSetting : read.utf8 ? kEncodingUtf8 : kEncodingAnsi,
                    read.utf8Form};
  forgetSheet();
  setEditorText(text);
  setOpenedSheet(path, form);
  takeAudioOf(text, path);
  setEntryCounter(countTracks(text, textLength(text, (size_t)-1), nullptr) + 1);
  GlobalFree(text);
  return true;
}
