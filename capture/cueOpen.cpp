// Reading a cue file: its encoding found (a BOM means UTF-16 or UTF-8; otherwise the code page
// the user chose among the Open dialog's types, or UTF-8 when the text is valid UTF-8, else the
// ANSI code page), the BOM and the marker line Automatic saving wrote dropped and remembered, line
// ends shown as CR LF, and the user asked first when some lines would not be saved back as they
// were.
#include "cueOpen.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetCheck.h"
#include "../sheet/sheetEdit.h"
#include "../store/fileSystem.h"
#include "../store/settings.h"
#include "cueBytes.h"
#include "cueEditor.h"
#include "fileDialogs.h"
#include "fileErrors.h"
#include "sheetState.h"

namespace {

const char kCaption[] = "LUMO";
const char kNotOpened[] = "The cue sheet was not opened.\r\n\r\n";
const char kTooLarge[] = "It is larger than 4 MiB, far larger than any cue sheet.";
const char kHoldsNul[] = "It holds a NUL byte, which no cue sheet holds: it is no text file.";
const char kNoText[] = "It could not be read as text.";
const char kChangedIntro[] = "These lines of the cue sheet do not read as ";
const char kChangedWhat[] = ", so saving it changes their bytes to what the editor shows:\r\n\r\n";
const char kOtherCodePage[] =
    "\r\n\r\nTo read it in another code page, choose No and open it again with its code page chosen "
    "among the types of the Open dialog.";
const char kOpenAnyway[] = "\r\n\r\nOpen it anyway?";
const size_t kSheetBytesMax = 4 * 1024 * 1024;
const size_t kMessageBytes = kPathBytes + 512;
const char kProblemsIntro[] = "This cue sheet breaks rules that cue readers keep:\r\n\r\n";
const char kProblemsEnd[] = "\r\n\r\nSave names them again until they are mended.";
const size_t kProblemsMessageBytes = sizeof kProblemsIntro + kProblemsTextBytes + sizeof kProblemsEnd;

// The Open dialog's types: the first two read a sheet that is neither UTF-16 nor UTF-8 in the
// ANSI code page, each of the others in its own code page.
struct OpenType {
  const wchar_t* name;
  const wchar_t* pattern;
  unsigned codePage;
};
const OpenType kOpenTypes[] = {
    {L"Cue sheets (*.cue)", L"*.cue", 0},
    {L"All files (*.*)", L"*.*", 0},
    {L"Cue sheets in Arabic (Windows-1256)", L"*.cue", 1256},
    {L"Cue sheets in Baltic (Windows-1257)", L"*.cue", 1257},
    {L"Cue sheets in Central European (Windows-1250)", L"*.cue", 1250},
    {L"Cue sheets in Chinese, simplified (GBK, 936)", L"*.cue", 936},
    {L"Cue sheets in Chinese, traditional (Big5, 950)", L"*.cue", 950},
    {L"Cue sheets in Cyrillic (Windows-1251)", L"*.cue", 1251},
    {L"Cue sheets in Greek (Windows-1253)", L"*.cue", 1253},
    {L"Cue sheets in Hebrew (Windows-1255)", L"*.cue", 1255},
    {L"Cue sheets in Japanese (Shift-JIS, 932)", L"*.cue", 932},
    {L"Cue sheets in Korean (949)", L"*.cue", 949},
    {L"Cue sheets in Thai (874)", L"*.cue", 874},
    {L"Cue sheets in Turkish (Windows-1254)", L"*.cue", 1254},
    {L"Cue sheets in Vietnamese (Windows-1258)", L"*.cue", 1258},
    {L"Cue sheets in Western European (Windows-1252)", L"*.cue", 1252},
};
const int kOpenTypeCount = (int)(sizeof kOpenTypes / sizeof kOpenTypes[0]);
const size_t kFilterChars = 1024;  // the types above, each a name, a pattern and their NULs

// A piece of the filter and its NUL at *at, leaving room for the NUL that ends the filter.
void putPiece(wchar_t* filter, size_t* at, const wchar_t* piece) {
  for (size_t i = 0; piece[i] && *at + 2 < kFilterChars; ++i) filter[(*at)++] = piece[i];
  if (*at + 1 < kFilterChars) filter[(*at)++] = L'\0';
}

// The types as the dialog takes them: each name and pattern ended by a NUL, and a NUL after all.
void composeFilter(wchar_t* filter) {
  size_t at = 0;
  for (const OpenType& type : kOpenTypes) {
    putPiece(filter, &at, type.name);
    putPiece(filter, &at, type.pattern);
  }
  filter[at] = L'\0';
}

// The Open dialog, in the sheet's folder or the playing file's; 1 with a full path in path and
// the code page of the type chosen (0: none named) in codePage.
int askForFile(HWND owner, char* path, unsigned* codePage) {
  char folder[kPathBytes];
  sheetFolder(folder, sizeof folder);
  if (!folder[0]) {
    char current[kPathBytes];
    hostEntryPathText(hostPlaylistIndex(), current);
    folderOf(current, folder, sizeof folder);
  }
  wchar_t filter[kFilterChars];
  composeFilter(filter);
  int type = 1;
  int chosen = askToOpen(owner, filter, folder, path, &type);
  *codePage = type >= 1 && type <= kOpenTypeCount ? kOpenTypes[type - 1].codePage : 0;
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

void appendNumber(char* message, long long number) {
  char digits[kNumberTextBytes];
  formatInt(digits, sizeof digits, number);
  appendTo(message, kMessageBytes, digits);
}

// Whether the user opens a sheet some of whose lines would not be saved back as they were.
bool openDespiteChanges(HWND owner, const DecodedCue& cue) {
  if (cue.changedLines == 0) return true;
  char message[kMessageBytes];
  copyText(message, sizeof message, kChangedIntro);
  if (cue.form.charset == kCharsetCodePage) {
    appendTo(message, sizeof message, "code page ");
    appendNumber(message, cue.form.codePage);
  } else {
    appendTo(message, sizeof message, cue.form.charset == kCharsetUtf8 ? "UTF-8" : "UTF-16");
  }
  appendTo(message, sizeof message, kChangedWhat);
  int listed = cue.changedLines < kChangedLinesKept ? cue.changedLines : kChangedLinesKept;
  for (int i = 0; i < listed; ++i) {
    appendTo(message, sizeof message, i == 0 ? "line " : ", line ");
    appendNumber(message, cue.changed[i]);
  }
  if (cue.changedLines > listed) {
    appendTo(message, sizeof message, " and ");
    appendNumber(message, cue.changedLines - listed);
    appendTo(message, sizeof message, " more");
  }
  if (cue.form.charset == kCharsetCodePage) appendTo(message, sizeof message, kOtherCodePage);
  appendTo(message, sizeof message, kOpenAnyway);
  return guardedMessageBox(owner, message, kCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
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
  unsigned codePage = 0;
  if (askForFile(owner, sheet->path, &codePage) != 1) {
    freeOpenedSheet(sheet);
    return nullptr;
  }
  size_t size = 0;
  DWORD error = 0;
  char* bytes = readWholeFile(sheet->path, kSheetBytesMax, 0, &size, &error);
  DecodedCue cue = {};
  DecodeResult read = bytes ? decodeCueFile(bytes, size, codePage, &cue) : kDecodeFailed;
  if (read != kDecoded) {
    const char* why = read == kDecodeNul ? kHoldsNul : bytes ? kNoText : nullptr;
    if (!bytes && error == ERROR_FILE_TOO_LARGE) why = kTooLarge;
    refuse(owner, sheet->path, why, error);
  }
  if (bytes) GlobalFree(bytes);
  if (read != kDecoded || !openDespiteChanges(owner, cue)) {
    freeDecodedCue(&cue);
    freeOpenedSheet(sheet);
    return nullptr;
  }
  sheet->text = cue.text;  // the sheet owns it from here
  sheet->form = SheetForm{cue.ascii, cue.form};
  return sheet;
}

void takeCueSheet(const OpenedSheet* sheet) {
  forgetSheet();
  setEditorText(sheet->text);
  setOpenedSheet(sheet->path, sheet->form);
  takeAudioOf(sheet->text, sheet->path);
  size_t length = textLength(sheet->text, (size_t)-1);
  setEntryCounter(firstTrackNumber(sheet->text, length) + countTracks(sheet->text, length, nullptr));
}

void tellSheetProblems(HWND owner, const OpenedSheet* sheet) {
  size_t length = textLength(sheet->text, (size_t)-1);
  if (!sheetNeedsCheck(sheet->text, length)) return;
  SheetCheck check;
  checkSheet(sheet->text, length, &check);
  if (check.problems == 0) return;
  char problems[kProblemsTextBytes];
  char message[kProblemsMessageBytes];
  formatProblems(check, problems, sizeof problems);
  copyText(message, sizeof message, kProblemsIntro);
  appendTo(message, sizeof message, problems);
  appendTo(message, sizeof message, kProblemsEnd);
  guardedMessageBox(owner, message, kCaption, MB_OK | MB_ICONWARNING);
}

void freeOpenedSheet(OpenedSheet* sheet) {
  if (!sheet) return;
  if (sheet->text) GlobalFree(sheet->text);
  GlobalFree(sheet);
}
