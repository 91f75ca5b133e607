// The Save action: where the sheet goes, what the user is told, and Save As when needed.
#include "cueSave.h"

#include <windows.h>

#include <commdlg.h>

#include "../base/limits.h"
#include "../base/pathText.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../sheet/cueFileName.h"
#include "../sheet/sheetCheck.h"
#include "../store/fileSystem.h"
#include "../store/settings.h"
#include "cueBytes.h"
#include "cueEditor.h"
#include "cueFile.h"
#include "fileErrors.h"
#include "fileDialogs.h"
#include "sheetState.h"

namespace {

const char kFailCaption[] = "LUMO";
const char kNotSaved[] = "The cue sheet was not saved.\r\n\r\n";
const char kAskElsewhere[] = "\r\n\r\nSave it somewhere else?";
const char kNoFile[] = "There is no current file in the playlist to put it beside.";
const char kStream[] = "Its audio is a stream, not a file, so there is no folder to put it in:\r\n";
const char kTooLong[] = "A cue file beside its audio file would have too long a path:\r\n";
const char kNotWritten[] = "This file could not be written:\r\n";
const char kLossyName[] =
    "The player gives the name of its audio file only in the ANSI code page, which lacks some of "
    "its characters ('?' stands for them), so no file can be named after it:\r\n";
const wchar_t kSaveFilter[] = L"Cue sheets (*.cue)\0*.cue\0";
const char kCheckIntro[] = "This cue sheet breaks rules that cue readers keep:\r\n\r\n";
const char kCheckAsk[] = "\r\n\r\nSave it anyway?";
const char kEmptyIntro[] = "The cue sheet is empty.\r\n\r\nReplace ";
const char kEmptyAsk[] = " with an empty file?";
const size_t kCheckMessageBytes = sizeof kCheckIntro + kProblemsTextBytes + sizeof kCheckAsk;
const wchar_t kCueExtension[] = L"cue";
const size_t kReasonBytes = 160;
const size_t kMessageBytes = 2 * kPathBytes + kReasonBytes + 256;

// The editor's text, read once when Save is pressed, its file bytes, the window that owns the
// boxes and what to call once the sheet is written.
struct SheetText {
  EditorText copy;
  CueBytes file;  // with room for the closing line break
  unsigned version;
  HWND owner;
  void (*saved)();
};

// "The cue sheet was not saved." with why, and the question.
void composeFailure(char* message, const char* why, const char* path, DWORD error) {
  copyText(message, kMessageBytes, kNotSaved);
  appendTo(message, kMessageBytes, why);
  appendTo(message, kMessageBytes, path);
  if (error) {
    appendTo(message, kMessageBytes, "\r\n");
    appendFileError(message, kMessageBytes, error, false);
  }
  appendTo(message, kMessageBytes, kAskElsewhere);
}

// Writes the sheet to path; a file there that this sheet did not write is kept as a backup.
CueWrite writeSheet(const char* path, SheetText& text) {
  return writeCueFile(path, text.file.bytes, text.file.length, !sheetWrote(path));
}

// An empty sheet over an existing file is written only when the user says so.
bool emptyMayReplace(const char* path, const SheetText& text) {
  if (text.copy.length > 0 || !isFile(path)) return true;
  char message[kMessageBytes];
  copyText(message, sizeof message, kEmptyIntro);
  appendTo(message, sizeof message, path);
  appendTo(message, sizeof message, kEmptyAsk);
  return guardedMessageBox(text.owner, message, kFailCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// Marks the sheet saved and says where it went. MODAL_ABANDONED when the plug-in was shut down
// while the box was open.
int reportSaved(const char* path, const CueWrite& write, const SheetText& text) {
  markSheetSaved(path, text.version);
  if (text.saved) text.saved();
  char message[kMessageBytes];
  describeWrite(path, write, message, sizeof message);
  return guardedMessageBox(text.owner, message, kSavedToCaption, MB_OK);
}

// The platform's Save As dialog for a cue sheet; 1 with a name chosen into path (kPathBytes).
int askForPlace(HWND owner, const char* audioPath, char* path) {
  char proposed[kPathBytes];
  proposeCueName(audioPath, proposed, sizeof proposed);
  int filterIndex = 1;
  return askToSaveAs(owner, kSaveFilter, &filterIndex, kCueExtension, audioPath, proposed, path);
}

// Offers another place for as long as the user wants one and the writes fail; true when the
// sheet was written somewhere.
bool offerElsewhere(char* message, const char* audioPath, SheetText& text) {
  for (;;) {
    if (guardedMessageBox(text.owner, message, kFailCaption, MB_YESNO | MB_ICONWARNING) != IDYES)
      return false;  // No, or shut down while asking
    char path[kPathBytes];
    if (askForPlace(text.owner, audioPath, path) != 1) return false;
    if (!emptyMayReplace(path, text)) return false;
    CueWrite write = writeSheet(path, text);
    if (!write.error) {
      reportSaved(path, write, text);
      return true;
    }
    composeFailure(message, kNotWritten, path, write.error);
  }
}

// A sheet with tracks is checked first; when it breaks a rule, the user is told what and
// asked. Returns 0 to go on and save, -1 to stop, or the first problem's line when the user
// said No.
int checkBeforeSaving(const EditorText& sheet, HWND owner) {
  if (!sheetNeedsCheck(sheet.text, sheet.length)) return 0;
  SheetCheck check;
  checkSheet(sheet.text, sheet.length, &check);
  if (check.problems == 0) return 0;
  char message[kCheckMessageBytes];
  char problems[kProblemsTextBytes];
  formatProblems(check, problems, sizeof problems);
  copyText(message, sizeof message, kCheckIntro);
  appendTo(message, sizeof message, problems);
  appendTo(message, sizeof message, kCheckAsk);
  int answer = guardedMessageBox(owner, message, kFailCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  if (answer == IDYES) return 0;
  return answer == MODAL_ABANDONED ? -1 : check.kept[0].line;
}

// Whether a path came from a player that names files only in the ANSI code page and lost some
// of its characters on the way: a path cannot hold '?'.
bool isLossyPath(const char* path) {
  for (; *path; ++path)
    if (*path == '?') return true;
  return false;
}

// Writes the sheet to cuePath (an empty sheet over a file only when the user says so); composes
// the failure message otherwise. stop: the user said No.
bool saveToFile(const char* cuePath, SheetText& text, char* message, bool* stop) {
  if (!emptyMayReplace(cuePath, text)) {
    *stop = true;
    return false;
  }
  CueWrite write = writeSheet(cuePath, text);
  if (!write.error) {
    reportSaved(cuePath, write, text);
    return true;
  }
  composeFailure(message, kNotWritten, cuePath, write.error);
  return false;
}

// Writes the sheet beside its audio; composes the failure message otherwise. True when saved.
bool saveBesideAudio(const char* audioPath, SheetText& text, char* message, bool* stop) {
  if (isLossyPath(audioPath)) {
    composeFailure(message, kLossyName, audioPath, 0);
    return false;
  }
  char cuePath[kPathBytes];
  switch (makeCuePath(audioPath, cuePath, sizeof cuePath)) {
    case kCuePathOk:
      return saveToFile(cuePath, text, message, stop);
    case kCuePathNoFile:
      composeFailure(message, kNoFile, "", 0);
      return false;
    case kCuePathStream:
      composeFailure(message, kStream, audioPath, 0);
      return false;
    case kCuePathTooLong:
      composeFailure(message, kTooLong, audioPath, 0);
      return false;
  }
  return false;
}

// The encoding a sheet is written in: an opened sheet's own, else the General page's.
bool composeForSheet(SheetText& text) {
  const SheetForm& form = openedSheetForm();
  bool own = openedSheetPath()[0] && form.encoding != kSheetFormAsSetting;
  int encoding = own ? form.encoding : settings().encoding;
  const Utf8Form* keep = own && form.encoding == kEncodingUtf8 ? &form.utf8Form : nullptr;
  return composeCueBytes(text.copy.text, text.copy.length, encoding, keep, text.owner, &text.file);
}

}  // namespace

SaveOutcome saveCueSheet(HWND owner, void (*saved)()) {
  SaveOutcome outcome = {false, 0};
  SheetText text = {readEditorText(), {nullptr, 0, 0, {false, false}}, sheetVersion(), owner, saved};
  if (!text.copy.text) return outcome;
  int check = checkBeforeSaving(text.copy, owner);
  if (check == 0 && composeForSheet(text)) {
    char audioPath[kPathBytes];
    sheetAudioOrCurrentEntry(audioPath, sizeof audioPath);
    char opened[kPathBytes];
    copyText(opened, sizeof opened, openedSheetPath());
    char message[kMessageBytes];
    bool stop = false;
    outcome.saved = opened[0] ? saveToFile(opened, text, message, &stop)
                              : saveBesideAudio(audioPath, text, message, &stop);
    if (!outcome.saved && !stop) outcome.saved = offerElsewhere(message, opened[0] ? opened : audioPath, text);
    // An opened ANSI sheet the user let go to UTF-8 is a UTF-8 sheet from now on: later saves
    // neither ask again nor write it back in ANSI.
    if (outcome.saved && openedSheetPath()[0] && openedSheetForm().encoding == kEncodingAnsi &&
        text.file.encoding == kEncodingUtf8) {
      copyText(opened, sizeof opened, openedSheetPath());
      setOpenedSheet(opened, SheetForm{kEncodingUtf8, text.file.utf8Form});
    }
  }
  outcome.problemLine = check > 0 ? check : 0;
  freeCueBytes(&text.file);
  freeEditorText(&text.copy);
  return outcome;
}
