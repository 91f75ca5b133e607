// Listen and nudge on the sheet's editor.
#include "markTools.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../host/hostLink.h"
#include "../sheet/cueTime.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetEdit.h"
#include "../sheet/tagText.h"
#include "../store/settings.h"
#include "cueEditor.h"
#include "sheetState.h"

namespace {

const long long kMsPerSecond = 1000;

void listenAt(long long frames) {
  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
  const long long kLatestMs = 0x7FFFFFFF;  // a time typed by hand may lie past any position
  long long ms = frames * kMsPerSecond / kFramesPerSecond - settings().listenLeadSeconds * kMsPerSecond;
  hostJumpTo(ms < 0 ? 0 : ms > kLatestMs ? (int)kLatestMs : (int)ms);
}

// Whether the player's current entry is the recording a mark belongs to: the one its FILE line
// names, or, without one, the sheet's audio file (a sheet typed by hand, without either, goes
// with whatever plays). Otherwise fileName gets the name of the mark's recording.
bool markFileIsPlaying(const EditorText& sheet, const MarkTime& mark, char* fileName, size_t fileNameBytes) {
  char audio[kPathBytes];
  char folder[kPathBytes];
  sheetFolder(folder);
  if (mark.fileNameLength == 0 ||
      !resolveFileName(sheet.text + mark.fileNameAt, mark.fileNameLength, folder, audio, sizeof audio))
    copyText(audio, sizeof audio, sheetAudioPath());
  if (!audio[0]) return true;
  char current[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), current);
  if (samePath(current, audio)) return true;
  fileNameOf(audio, fileName, fileNameBytes);
  return false;
}

}  // namespace

MarkToolResult listenToMark(char* fileName, size_t fileNameBytes) {
  EditorText copy = readEditorText();
  MarkTime mark;
  bool found = copy.text && findMark(copy.text, copy.length, editorCaret(), &mark);
  bool playing = found && markFileIsPlaying(copy, mark, fileName, fileNameBytes);
  freeEditorText(&copy);
  if (!found) return kMarkToolNoMark;
  if (!playing) return kMarkToolOtherFile;
  listenAt(mark.frames);
  return kMarkToolListened;
}

MarkToolResult moveMark(long long frames, char* fileName, size_t fileNameBytes) {
  EditorText copy = readEditorText();
  MarkTime mark;
  bool found = copy.text && findMark(copy.text, copy.length, editorCaret(), &mark);
  if (found && !markFileIsPlaying(copy, mark, fileName, fileNameBytes)) {
    freeEditorText(&copy);
    return kMarkToolOtherFile;
  }
  // The mark stops at the end of the file when the player knows its length.
  int lengthSeconds = found ? hostLengthSeconds() : 0;
  long long endFrames = lengthSeconds > 0 ? lengthSeconds * kFramesPerSecond : -1;
  TextEdit edit;
  long long moved = 0;
  found = found && nudgeMark(copy.text, copy.length, editorCaret(), frames, endFrames, &edit, &moved);
  bool changes = found && (edit.removeLength > 0 || editLength(edit) > 0);
  if (changes) applyToEditor(copy.text, copy.length, &edit, 1, false);  // Ctrl+Z is the history's
  freeEditorText(&copy);
  if (!found) return kMarkToolNoMark;
  listenAt(moved);
  return changes ? kMarkToolDone : kMarkToolListened;
}

MarkToolResult shiftLaterMarks(long long frames, char* fileName, size_t fileNameBytes) {
  EditorText copy = readEditorText();
  MarkTime mark;
  size_t caret = editorCaret();
  bool found = copy.text && findMark(copy.text, copy.length, caret, &mark);
  if (found && !markFileIsPlaying(copy, mark, fileName, fileNameBytes)) {
    freeEditorText(&copy);
    return kMarkToolOtherFile;
  }
  int lengthSeconds = found ? hostLengthSeconds() : 0;
  long long endFrames = lengthSeconds > 0 ? lengthSeconds * kFramesPerSecond : -1;
  size_t editsMax = found ? shiftEditsMax(copy.text, copy.length) : 0;
  TextEdit* edits = editsMax > 0 ? (TextEdit*)GlobalAlloc(GMEM_FIXED, editsMax * sizeof(TextEdit)) : nullptr;
  size_t count = 0;
  long long moved = 0;
  found = edits && shiftMarks(copy.text, copy.length, caret, frames, endFrames, edits, editsMax, &count, &moved);
  if (found && count > 0) applyToEditor(copy.text, copy.length, edits, count, false);
  if (edits) GlobalFree(edits);
  freeEditorText(&copy);
  if (!found) return kMarkToolNoMark;
  listenAt(moved);
  return count > 0 ? kMarkToolDone : kMarkToolListened;
}
