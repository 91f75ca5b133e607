// The sheet as the strip reads it, kept until the editor's text, its caret or the playing file
// changes.
#include "stripSheet.h"

#include <windows.h>

#include "../base/platformText.h"
#include "../base/text.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetEdit.h"
#include "cueEditor.h"
#include "sheetState.h"

namespace {

struct SheetRead {
  bool valid;
  DWORD caretUnit;  // EM_GETSEL's end when read
  int units;        // the text's length then
  unsigned version;
  char playing[kPathBytes];
  EditorText text;
  CaretMark caret;
  char marksPath[kPathBytes];  // the recording whose marks are listed
  long long* marks;            // from HeapAlloc: the INDEX 01 of each of its tracks
  size_t* marksAt;             // where each time stands
  size_t count;
};

SheetRead gRead;  // zero: nothing read

void freeMarks() {
  if (gRead.marks) HeapFree(GetProcessHeap(), 0, gRead.marks);
  if (gRead.marksAt) HeapFree(GetProcessHeap(), 0, gRead.marksAt);
  gRead.marks = nullptr;
  gRead.marksAt = nullptr;
  gRead.count = 0;
  gRead.marksPath[0] = '\0';
}

// The recording of the marks under a FILE line (its name at nameAt, nameLength bytes; 0: no
// FILE line): the playing file when the line names it, else the file it names; without a FILE
// line the sheet's audio file, else the playing one. Into out (kPathBytes); empty when unknown.
void recordingOf(const char* text, size_t nameAt, size_t nameLength, const char* playing, char* out) {
  out[0] = '\0';
  if (nameLength == 0) {
    copyText(out, kPathBytes, sheetAudioPath()[0] ? sheetAudioPath() : playing);
    return;
  }
  char folder[kPathBytes];
  sheetFolder(folder, sizeof folder);
  if (playing[0] && matchFileLine(text + nameAt, nameLength, folder, playing) != kFileMatchNone)
    copyText(out, kPathBytes, playing);
  else if (!resolveFileName(text + nameAt, nameLength, folder, out, kPathBytes))
    out[0] = '\0';
}

// Reads the editor again when anything it depends on changed.
void readSheet(const char* playing) {
  HWND editor = sheetEditor();
  DWORD start = 0;
  DWORD end = 0;
  if (editor) SendMessageW(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  int units = editor ? GetWindowTextLengthW(editor) : 0;
  if (gRead.valid && end == gRead.caretUnit && units == gRead.units && sheetVersion() == gRead.version &&
      textsEqual(playing, gRead.playing))
    return;
  forgetStripSheet();
  gRead.valid = true;
  gRead.caretUnit = end;
  gRead.units = units;
  gRead.version = sheetVersion();
  copyText(gRead.playing, sizeof gRead.playing, playing);
  gRead.text = readEditorText();
  MarkTime mark;
  const EditorText& sheet = gRead.text;
  if (!sheet.text || !findMark(sheet.text, sheet.length, sheet.caret, &mark)) return;
  gRead.caret.found = true;
  gRead.caret.frames = mark.frames;
  gRead.caret.timeAt = mark.timeAt;
  recordingOf(sheet.text, mark.fileNameAt, mark.fileNameLength, playing, gRead.caret.path);
}

// Lists the marks of the recording at path, in two passes: how many, then which.
void listMarks(const char* path) {
  freeMarks();
  copyText(gRead.marksPath, sizeof gRead.marksPath, path);
  const EditorText& sheet = gRead.text;
  if (!sheet.text) return;
  for (int pass = 0; pass < 2; ++pass) {
    size_t count = 0;
    int block = -1;
    bool blockShown = false;
    TrackScan scan = {0, 0};
    TrackFacts track;
    while (nextTrack(sheet.text, sheet.length, &scan, &track)) {
      if (!track.hasIndex01) continue;
      if (track.block != block) {
        block = track.block;
        BlockBounds bounds = blockAt(sheet.text, sheet.length, track.index01TimeAt);
        char recording[kPathBytes];
        recordingOf(sheet.text, bounds.nameAt, bounds.nameLength, gRead.playing, recording);
        blockShown = recording[0] && samePath(recording, path);
      }
      if (!blockShown) continue;
      if (pass == 1 && count < gRead.count) {
        gRead.marks[count] = track.index01;
        gRead.marksAt[count] = track.index01TimeAt;
      }
      ++count;
    }
    if (pass == 1 || count == 0) return;
    gRead.marks = (long long*)HeapAlloc(GetProcessHeap(), 0, count * sizeof(long long));
    gRead.marksAt = (size_t*)HeapAlloc(GetProcessHeap(), 0, count * sizeof(size_t));
    if (!gRead.marks || !gRead.marksAt) {
      freeMarks();
      return;
    }
    gRead.count = count;
  }
}

}  // namespace

void stripSheetChanged() { gRead.valid = false; }

const CaretMark& caretMarkFor(const char* playing) {
  readSheet(playing);
  return gRead.caret;
}

int marksOfRecording(const char* path, const char* playing, long long from, long long to, long long* marks, int most,
                     int* current) {
  *current = -1;
  readSheet(playing);
  if (!path[0]) return 0;
  if (!samePath(path, gRead.marksPath)) listMarks(path);
  int count = 0;
  for (size_t i = 0; i < gRead.count && count < most; ++i) {
    if (gRead.marks[i] < from || gRead.marks[i] > to) continue;
    if (gRead.caret.found && gRead.marksAt[i] == gRead.caret.timeAt) *current = count;
    marks[count++] = gRead.marks[i];
  }
  return count;
}

void forgetStripSheet() {
  freeMarks();
  freeEditorText(&gRead.text);
  gRead.caret = CaretMark{};
  gRead.valid = false;
}
