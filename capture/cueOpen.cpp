// Reading a cue file: its encoding found (a BOM means UTF-8, text that is valid UTF-8 is UTF-8,
// anything else the ANSI code page), the BOM and the marker line Automatic saving wrote dropped
// and remembered, line ends shown as CR LF.
#include "cueOpen.h"

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
#include "fileDialogs.h"
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
  sheetFolder(folder, sizeof folder);
  if (!folder[0]) {
    char current[kPathBytes];
    hostEntryPathText(hostPlaylistIndex(), current);
    folderOf(current, folder, sizeof folder);
  }
  return askToOpen(owner, kOpenFilter, folder, path);
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

OpenedSheet* readCueSheet(HWND owner) {
  OpenedSheet* sheet = (OpenedSheet*)GlobalAlloc(GPTR, sizeof(OpenedSheet));
  if (!sheet) return nullptr;
  if (askForFile(owner, sheet->path) != 1) {
    freeOpenedSheet(sheet);
    return nullptr;
  }
  size_t size = 0;
  DWORD error = 0;
  char* bytes = readWholeFile(sheet->path, kSheetBytesMax, 0, &size, &error);
  if (!bytes || holdsNul(bytes, size)) {
    if (bytes) GlobalFree(bytes);
    refuse(owner, sheet->path, !bytes ? (error == ERROR_FILE_TOO_LARGE ? kTooLarge : nullptr) : kHoldsNul, error);
    freeOpenedSheet(sheet);
    return nullptr;
  }
  ReadForm read = readCueForm(bytes, size);
  sheet->text = editorTextOf(bytes + read.textAt, size - read.textAt, read.utf8);
  GlobalFree(bytes);
  if (!sheet->text) {
    freeOpenedSheet(sheet);
    return nullptr;
  }
  sheet->form = SheetForm{read.ascii && !read.utf8Form.bom ? kSheetFormAsSetting : read.utf8 ? kEncodingUtf8 : kEncodingAnsi,
                          read.utf8Form};
  return sheet;
}

void takeCueSheet(const OpenedSheet* sheet) {
  forgetSheet();
  setEditorText(sheet->text);
  setOpenedSheet(sheet->path, sheet->form);
  takeAudioOf(sheet->text, sheet->path);
  setEntryCounter(countTracks(sheet->text, textLength(sheet->text, (size_t)-1), nullptr) + 1);
}

void freeOpenedSheet(OpenedSheet* sheet) {
  if (!sheet) return;
  if (sheet->text) GlobalFree(sheet->text);
  GlobalFree(sheet);
}
