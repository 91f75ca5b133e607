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
#include "cdFacts.h"
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
const char kAnsiLacks[] = "The ANSI code page of this Windows lacks these characters of the cue sheet:\r\n\r\n";
const char kCodePage[] = "Code page ";
const char kReadInLacks[] = ", which the cue sheet was read in, lacks these characters of it:\r\n\r\n";
const char kMore[] = " ...";
const char kMaybeWrong[] =
    " is not its code page, and UTF-8 would keep them so: choose No, then open it again with its "
    "code page chosen among the types of the Open dialog.";
const char kAskUtf8[] = "\r\n\r\nSave it as UTF-8 instead?";
const char kNotConverted[] = "Its text could not be converted to the encoding of its file.";
const int kCharactersListed = 10;
const size_t kListBytes = kCharactersListed * 5 + 8;
const size_t kCheckMessageBytes = sizeof kCheckIntro + kProblemsTextBytes + sizeof kCheckAsk;
const wchar_t kCueExtension[] = L"cue";
const size_t kReasonBytes = 160;
const size_t kMessageBytes = 2 * kPathBytes + kReasonBytes + 256;

// The editor's text, read once when Save is pressed, its file bytes, the window that owns the
// boxes and what to call once the sheet is written.
struct SheetText {
  EditorText copy;
  CueBytes file;
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
  return writeCueBytes(path, text.file.bytes, text.file.length, !sheetWrote(path));
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

// Whether the sheet's text is written as UTF-8: an opened sheet's own form, else the General
// page's encoding.
bool savedAsUtf8() {
  const SheetForm& form = openedSheetForm();
  if (openedSheetPath()[0] && !form.asSetting) return form.file.charset == kCharsetUtf8;
  return settings().encoding != kEncodingAnsi;
}

// A sheet with tracks is checked first (for a CD too when "Check for burning a CD" is on); when
// it breaks a rule, the user is told what and asked. Returns 0 to go on and save, -1 to stop, or
// the first problem's line when the user said No.
int checkBeforeSaving(const EditorText& sheet, HWND owner) {
  if (!sheetNeedsCheck(sheet.text, sheet.length)) return 0;
  SheetCheck check;
  SheetAudioFacts audio;
  if (settings().cdCheck) gatherCdFacts(sheet.text, sheet.length, savedAsUtf8(), &audio);
  checkSheet(sheet.text, sheet.length, &check, settings().cdCheck ? &audio.cd : nullptr);
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

// The form a sheet is written in: an opened sheet's own (opened says so), else the General
// page's.
CueForm formToSave(const EditorText& text, bool* opened) {
  const SheetForm& form = openedSheetForm();
  *opened = openedSheetPath()[0] && !form.asSetting;
  if (*opened) return form.file;
  if (settings().encoding == kEncodingAnsi) return CueForm{kCharsetCodePage, {false, false}, ansiCodePage()};
  if (settings().encoding == kEncodingUtf8) return CueForm{kCharsetUtf8, {false, false}, 0};
  return CueForm{kCharsetUtf8, automaticForm(text.text, text.length), 0};
}

// Whether the user takes UTF-8 for a sheet whose code page lacks some of its characters. For a
// sheet read in that code page the box says too that the code page may not be the sheet's own:
// UTF-8 would keep what it garbled.
bool takeUtf8Instead(const SheetText& text, unsigned codePage, bool opened) {
  char list[kListBytes];
  bool more = false;
  unmappableCharacters(codePage, text.copy.text, text.copy.length, list, sizeof list, kCharactersListed, &more);
  char number[kNumberTextBytes];
  formatInt(number, sizeof number, codePage);
  char message[kMessageBytes];
  copyText(message, sizeof message, opened ? kCodePage : kAnsiLacks);
  if (opened) {
    appendTo(message, sizeof message, number);
    appendTo(message, sizeof message, kReadInLacks);
  }
  appendTo(message, sizeof message, list);
  if (more) appendTo(message, sizeof message, kMore);
  if (opened) {
    appendTo(message, sizeof message, "\r\n\r\nIf some of its other titles look wrong, ");
    appendTo(message, sizeof message, number);
    appendTo(message, sizeof message, kMaybeWrong);
  }
  appendTo(message, sizeof message, kAskUtf8);
  return guardedMessageBox(text.owner, message, kFailCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

// The sheet's file bytes: in its form, or as Automatic writes it when its code page lacks some of
// its characters and the user takes UTF-8. False when nothing is to be written.
bool composeForSheet(SheetText& text) {
  bool opened = false;
  CueForm form = formToSave(text.copy, &opened);
  EncodeResult result = encodeCueText(text.copy.text, text.copy.length, form, &text.file);
  if (result == kEncodeLacks) {
    if (!takeUtf8Instead(text, form.codePage, opened)) return false;
    CueForm automatic = {kCharsetUtf8, automaticForm(text.copy.text, text.copy.length), 0};
    result = encodeCueText(text.copy.text, text.copy.length, automatic, &text.file);
  }
  if (result == kEncoded) return true;
  char message[kMessageBytes];
  copyText(message, sizeof message, kNotSaved);
  appendTo(message, sizeof message, kNotConverted);
  guardedMessageBox(text.owner, message, kFailCaption, MB_OK | MB_ICONWARNING);
  return false;
}

}  // namespace

SaveOutcome saveCueSheet(HWND owner, void (*saved)()) {
  SaveOutcome outcome = {false, 0};
  SheetText text = {readEditorText(), {nullptr, 0, {kCharsetUtf8, {false, false}, 0}}, sheetVersion(), owner, saved};
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
    // An opened sheet in a code page that the user let go to UTF-8 is a UTF-8 sheet from now on:
    // later saves neither ask again nor write it back in its code page.
    const SheetForm& form = openedSheetForm();
    if (outcome.saved && openedSheetPath()[0] && !form.asSetting && form.file.charset == kCharsetCodePage &&
        text.file.form.charset == kCharsetUtf8) {
      copyText(opened, sizeof opened, openedSheetPath());
      setOpenedSheet(opened, SheetForm{false, text.file.form});
    }
  }
  outcome.problemLine = check > 0 ? check : 0;
  freeCueBytes(&text.file);
  freeEditorText(&text.copy);
  return outcome;
}
