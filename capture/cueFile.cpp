// The cue file: exactly the editor's text, ending with a line break.
#include "cueFile.h"

#include <windows.h>

#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "../base/limits.h"
#include "../base/text.h"
#include "../sheet/cueFileName.h"
#include "cueWindow.h"

namespace {

const char kSavedCaption[] = "Saved to";
const char kFailCaption[] = "LUMO";
const char kNoFileText[] = "The cue sheet was not saved: there is no current file in the playlist.";
const char kTooLongText[] =
    "The cue sheet was not saved: the path of the current file is too long for a cue file "
    "beside it.";
const char kWriteFailedText[] = "The cue sheet was not saved. This file could not be written:\r\n";
const size_t kMessageBytes = kPathBytes + sizeof kWriteFailedText;

bool endsWithLineBreak(const char* text, size_t length) {
  return length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r');
}

bool writeAll(HANDLE file, const char* bytes, size_t length) {
  DWORD written = 0;
  return WriteFile(file, bytes, (DWORD)length, &written, nullptr) && written == (DWORD)length;
}

void tellFailure(const char* text) {
  guardedMessageBox(nullptr, text, kFailCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

bool writeCueFile(const char* path, const char* text, size_t length) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = writeAll(file, text, length);
  if (ok && length > 0 && !endsWithLineBreak(text, length)) ok = writeAll(file, "\r\n", 2);
  if (!CloseHandle(file)) ok = false;
  return ok;
}

void saveCueSheet() {
  // A Save pressed while one of our boxes waits for the user is ignored.
  if (modalOpen()) return;
  char cuePath[kPathBytes];
  switch (makeCuePath(hostEntryPath(hostPlaylistIndex()), cuePath, sizeof cuePath)) {
    case kCuePathNoFile:
      tellFailure(kNoFileText);
      return;
    case kCuePathTooLong:
      tellFailure(kTooLongText);
      return;
    case kCuePathOk:
      break;
  }

  HWND editor = cueEditor();
  int length = editor ? GetWindowTextLengthA(editor) : 0;
  char* text = (char*)GlobalAlloc(GPTR, (SIZE_T)length + 1);
  bool saved = false;
  if (text) {
    int got = length > 0 ? GetWindowTextA(editor, text, length + 1) : 0;
    saved = writeCueFile(cuePath, text, (size_t)(got > 0 ? got : 0));
    GlobalFree(text);
  }

  if (saved) {
    guardedMessageBox(nullptr, cuePath, kSavedCaption, MB_OK);
  } else {
    char message[kMessageBytes];
    copyText(message, sizeof message, kWriteFailedText);
    appendTo(message, sizeof message, cuePath);
    tellFailure(message);
  }
}
