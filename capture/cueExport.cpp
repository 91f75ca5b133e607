// Writing an export of the sheet's tracks.
#include "cueExport.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "../controls/modalGuard.h"
#include "../host/hostLink.h"
#include "../sheet/chapterExport.h"
#include "../sheet/cueEncoding.h"
#include "../sheet/cueFileName.h"
#include "../sheet/cueTime.h"
#include "../sheet/fileLine.h"
#include "../sheet/tagText.h"
#include "cueEditor.h"
#include "cueFile.h"
#include "fileErrors.h"
#include "fileDialogs.h"
#include "sheetState.h"

namespace {

const char kCaption[] = "LUMO";
const char kNothing[] = "There is nothing to export: the cue sheet holds no track with an INDEX 01 time.";
const char kNotSaved[] = "The export was not saved.\r\n\r\nThis file could not be written:\r\n";
const char kSitesRefuse[] = "\r\n\r\nVideo sites will refuse this chapter list:";
const char kTooFew[] = "\r\n- it has fewer than 3 chapters";
const char kTooShortFirst[] = "\r\n- chapter ";
const char kTooShort[] = " is shorter than 10 seconds";
const char kNotAfter[] = " does not come after the one before it";
const char kLeftOut[] = " tracks of the sheet's later files are not in it: chapters are times in one recording.";
const char kSkipped[] = " tracks without an INDEX 01 time are not in it.";
const char kFirstMoved[] = "\r\n\r\nThe first chapter starts at ";
const char kFirstMovedAt[] = " in the sheet; it is listed at 0:00, where video sites want the first chapter.";
const char kBackslashEnds[] = " titles ended in a backslash and got a blank after it: FFmpeg would read "
                              "the next line into them.";
const char kOwnFile[] =
    "\r\n\r\nThis is the cue sheet's own file (or its recording): an export never replaces it. "
    "Choose another name.";
const size_t kMessageBytes = 2 * kPathBytes + 512;
const size_t kLineBreakRoom = 2;  // writeCueFile may add CR LF

// The types of the Save As dialog, in the order of ExportFormat, and the extension each adds to
// a name typed without one (the names proposed tell the three text types apart: exportExtension).
const wchar_t kExportFilter[] =
    L"Chapter list for video and mix sites (*.txt)\0*.txt\0"
    L"FFmpeg metadata (*.ffmeta)\0*.ffmeta\0"
    L"Matroska chapters (*.txt)\0*.txt\0"
    L"WebVTT chapters (*.vtt)\0*.vtt\0"
    L"Podcast chapters (*.json)\0*.json\0"
    L"Audacity labels (*.txt)\0*.txt\0";
const wchar_t* const kWideExtensions[kExportFormatCount] = {L"txt", L"ffmeta", L"txt", L"vtt", L"json", L"txt"};

int gLastType = 1;  // the type chosen last, from 1: the next export proposes it again

void appendNumber(char* message, long long number) {
  char digits[kNumberTextBytes];
  formatInt(digits, sizeof digits, number);
  appendTo(message, kMessageBytes, digits);
}

// "M:SS", or "H:MM:SS" from an hour on, as the chapter list writes its times.
void formatClock(long long seconds, char* out, size_t outBytes) {
  const long long kSecondsPerHour = 3600;
  size_t at = 0;
  if (seconds >= kSecondsPerHour) {
    at = formatInt(out, outBytes, seconds / kSecondsPerHour);
    at = appendTo(out, outBytes, ":");
    formatInt(out + at, outBytes - at, seconds / 60 % 60, 2);
  } else {
    formatInt(out, outBytes, seconds / 60);
  }
  at = appendTo(out, outBytes, ":");
  formatInt(out + at, outBytes - at, seconds % 60, 2);
}

// What the user must know of what was written: the video sites' rules it breaks, and the tracks
// it leaves out.
void appendReport(char* message, ExportFormat format, const ExportReport& report) {
  if (format == kExportVideoChapters &&
      (report.videoRules & (kVideoTooFewEntries | kVideoEntryTooShort | kVideoNotAscending))) {
    appendTo(message, kMessageBytes, kSitesRefuse);
    if (report.videoRules & kVideoTooFewEntries) appendTo(message, kMessageBytes, kTooFew);
    if (report.videoRules & kVideoEntryTooShort) {
      appendTo(message, kMessageBytes, kTooShortFirst);
      appendNumber(message, report.shortEntry);
      appendTo(message, kMessageBytes, kTooShort);
    }
    if (report.videoRules & kVideoNotAscending) {
      appendTo(message, kMessageBytes, kTooShortFirst);
      appendNumber(message, report.unorderedEntry);
      appendTo(message, kMessageBytes, kNotAfter);
    }
  }
  if (report.leftOut > 0) {
    appendTo(message, kMessageBytes, "\r\n\r\n");
    appendNumber(message, report.leftOut);
    appendTo(message, kMessageBytes, kLeftOut);
  }
  if (report.skipped > 0) {
    appendTo(message, kMessageBytes, "\r\n\r\n");
    appendNumber(message, report.skipped);
    appendTo(message, kMessageBytes, kSkipped);
  }
  if (format == kExportVideoChapters && (report.videoRules & kVideoFirstNotAtZero)) {
    char time[kNumberTextBytes];
    formatClock((report.firstStart + kFramesPerSecond / 2) / kFramesPerSecond, time, sizeof time);
    appendTo(message, kMessageBytes, kFirstMoved);
    appendTo(message, kMessageBytes, time);
    appendTo(message, kMessageBytes, kFirstMovedAt);
  }
  if (report.backslashEnds > 0) {
    appendTo(message, kMessageBytes, "\r\n\r\n");
    appendNumber(message, report.backslashEnds);
    appendTo(message, kMessageBytes, kBackslashEnds);
  }
}

// Whether path is the sheet's own cue file (opened from, saved to, or where Save puts it) or its
// recording: an export must not replace either.
bool isSheetsOwnFile(const char* path, const char* audioPath) {
  char cuePath[kPathBytes];
  if (sheetWrote(path) || samePath(path, openedSheetPath()) || samePath(path, audioPath)) return true;
  return makeCuePath(audioPath, cuePath, sizeof cuePath) == kCuePathOk && samePath(path, cuePath);
}

// The Save As dialog until it gives a path that is not the sheet's own file: 1 with the path
// (its ending that of the type chosen, should the user have changed the type and kept the name
// proposed) in path, and the type chosen in *type; else what the dialog gave.
int askForExportPath(HWND owner, const char* audio, int* type, char* path) {
  char proposed[kPathBytes];
  proposeFileName(audio, exportExtension((ExportFormat)(*type - 1)), proposed, sizeof proposed);
  for (;;) {
    int chosen = askToSaveAs(owner, kExportFilter, type, kWideExtensions[*type - 1], audio, proposed, path);
    if (chosen != 1) return chosen;
    if (*type < 1 || *type > kExportFormatCount) *type = 1;
    retypeExportPath(path, kPathBytes, (ExportFormat)(*type - 1));
    if (!isSheetsOwnFile(path, audio)) return 1;
    char message[kMessageBytes];
    copyText(message, sizeof message, path);
    appendTo(message, sizeof message, kOwnFile);
    if (guardedMessageBox(owner, message, kCaption, MB_OK | MB_ICONWARNING) != IDOK) return MODAL_REFUSED;
    fileNameOf(path, proposed, sizeof proposed);
  }
}

// The audio's length in frames when the player knows it: the sheet's audio (by its path, or by
// its folder and base name) is its current entry.
long long audioLengthFrames(const char* audioPath) {
  char current[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), current);
  if (!audioPath[0] || matchFileLine(audioPath, textLength(audioPath, kPathBytes), "", current) == kFileMatchNone)
    return -1;
  int seconds = hostLengthSeconds();
  return seconds > 0 ? seconds * kFramesPerSecond : -1;
}

}  // namespace

void exportCueSheet(HWND owner) {
  EditorText sheet = readEditorText();
  if (!sheet.text) return;
  ExportReport report;
  char probe[1];
  exportSheet(sheet.text, sheet.length, kExportAudacityLabels, -1, probe, sizeof probe, &report);
  if (report.tracks == 0) {
    freeEditorText(&sheet);
    guardedMessageBox(owner, kNothing, kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  char audio[kPathBytes];
  sheetAudioOrCurrentEntry(audio, sizeof audio);
  char path[kPathBytes];
  int type = gLastType;
  if (askForExportPath(owner, audio, &type, path) != 1) {
    freeEditorText(&sheet);
    return;
  }
  gLastType = type;
  ExportFormat format = (ExportFormat)(gLastType - 1);
  long long lengthFrames = audioLengthFrames(audio);
  size_t bytes = exportBytes(sheet.text, sheet.length, format, lengthFrames);
  char* text = (char*)GlobalAlloc(GMEM_FIXED, kUtf8BomBytes + bytes + 1 + kLineBreakRoom);
  if (!text) {
    freeEditorText(&sheet);
    return;
  }
  size_t length = exportSheet(sheet.text, sheet.length, format, lengthFrames, text + kUtf8BomBytes, bytes + 1, &report);
  freeEditorText(&sheet);
  // mkvmerge reads a chapter file without a BOM in the system's code page (on Linux its locale),
  // losing every name outside it: names beyond ASCII get the BOM that says UTF-8.
  size_t start = kUtf8BomBytes;
  if (format == kExportMatroska && !isAscii(text + start, length)) {
    CopyMemory(text, kUtf8Bom, kUtf8BomBytes);
    start = 0;
    length += kUtf8BomBytes;
  }
  CueWrite write = writeCueFile(path, text + start, length, !sheetExported(path));
  GlobalFree(text);

  char message[kMessageBytes];
  if (write.error) {
    copyText(message, sizeof message, kNotSaved);
    appendTo(message, sizeof message, path);
    appendTo(message, sizeof message, "\r\n");
    appendFileError(message, sizeof message, write.error, false);
    guardedMessageBox(owner, message, kCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  noteExportedFile(path);
  describeWrite(path, write, message, sizeof message);
  appendReport(message, format, report);
  guardedMessageBox(owner, message, kSavedToCaption, MB_OK);
}
