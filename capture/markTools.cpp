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
#include "markPlacer.h"
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
// names (by its path, or by its folder and base name: a rip re-encoded), or, without one, the
// sheet's audio file (a sheet typed by hand, without either, goes with whatever plays).
// Otherwise fileName gets the name of the mark's recording.
bool markFileIsPlaying(const EditorText& sheet, const MarkTime& mark, char* fileName, size_t fileNameBytes) {
  char audio[kPathBytes];
  char folder[kPathBytes];
  char current[kPathBytes];
  sheetFolder(folder, sizeof folder);
  hostEntryPathText(hostPlaylistIndex(), current);
  if (mark.fileNameLength > 0 &&
      resolveFileName(sheet.text + mark.fileNameAt, mark.fileNameLength, folder, audio, sizeof audio)) {
    if (matchFileLine(sheet.text + mark.fileNameAt, mark.fileNameLength, folder, current) != kFileMatchNone)
      return true;
  } else {
    copyText(audio, sizeof audio, sheetAudioPath());
    if (!audio[0] || samePath(current, audio)) return true;
  }
  fileNameOf(audio, fileName, fileNameBytes);
  return false;
}

// The caret's mark of sheet, when it belongs to the recording that plays: kMarkToolDone to go
// on, else what the tool reports (fileName gets the recording's name with kMarkToolOtherFile).
MarkToolResult caretMark(const EditorText& sheet, MarkTime* mark, char* fileName, size_t fileNameBytes) {
  if (!sheet.text || !findMark(sheet.text, sheet.length, sheet.caret, mark)) return kMarkToolNoMark;
  if (!markFileIsPlaying(sheet, *mark, fileName, fileNameBytes)) return kMarkToolOtherFile;
  return kMarkToolDone;
}

// The file's end in frames, where a moved mark stops; -1 when the player does not know it.
long long fileEndFrames() {
  long long ms = hostLengthMs();
  return ms > 0 ? ms * kFramesPerSecond / 1000 : -1;
}

}  // namespace

MarkToolResult listenToMark(const EditorText& sheet, char* fileName, size_t fileNameBytes) {
  MarkTime mark;
  MarkToolResult found = caretMark(sheet, &mark, fileName, fileNameBytes);
  if (found != kMarkToolDone) return found;
  listenAt(mark.frames);
  return kMarkToolListened;
}

namespace {

// Moves the caret's mark, found as mark, by frames under the nudge's limits; listens with listen.
MarkToolResult moveFoundMark(const EditorText& sheet, long long frames, bool listen) {
  TextEdit edit;
  long long moved = 0;
  if (!nudgeMark(sheet.text, sheet.length, sheet.caret, frames, fileEndFrames(), &edit, &moved))
    return kMarkToolNoMark;
  bool changes = edit.removeLength > 0 || editLength(edit) > 0;
  if (changes) applyToEditor(sheet.text, sheet.length, &edit, 1, false);  // Ctrl+Z is the history's
  if (listen) listenAt(moved);
  return changes ? kMarkToolDone : kMarkToolListened;
}

}  // namespace

MarkToolResult moveMark(const EditorText& sheet, long long frames, char* fileName, size_t fileNameBytes) {
  MarkTime mark;
  MarkToolResult found = caretMark(sheet, &mark, fileName, fileNameBytes);
  if (found != kMarkToolDone) return found;
  return moveFoundMark(sheet, frames, true);
}

MarkToolResult moveMarkTo(const EditorText& sheet, long long frame, bool listen, char* fileName,
                          size_t fileNameBytes) {
  MarkTime mark;
  MarkToolResult found = caretMark(sheet, &mark, fileName, fileNameBytes);
  if (found != kMarkToolDone) return found;
  return moveFoundMark(sheet, frame - mark.frames, listen);
}

MarkToolResult snapCaretMark(const EditorText& sheet, char* said, size_t saidBytes, char* fileName,
                             size_t fileNameBytes) {
  copyText(said, saidBytes, "");
  MarkTime mark;
  MarkToolResult found = caretMark(sheet, &mark, fileName, fileNameBytes);
  if (found != kMarkToolDone) return found;
  char audio[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), audio);
  char text[kPlacementTextBytes];
  SnapAnswer answer = snapMarkOnAudio(audio, mark.frames, text);
  copyText(said, saidBytes, text);
  if (!answer.moves || answer.frame == mark.frames) return kMarkToolListened;
  return moveMark(sheet, answer.frame - mark.frames, fileName, fileNameBytes);
}

MarkToolResult shiftLaterMarks(const EditorText& sheet, long long frames, char* fileName, size_t fileNameBytes) {
  MarkTime mark;
  MarkToolResult found = caretMark(sheet, &mark, fileName, fileNameBytes);
  if (found != kMarkToolDone) return found;
  size_t editsMax = shiftEditsMax(sheet.text, sheet.length);
  TextEdit* edits = editsMax > 0 ? (TextEdit*)GlobalAlloc(GMEM_FIXED, editsMax * sizeof(TextEdit)) : nullptr;
  size_t count = 0;
  long long moved = 0;
  bool shifted = edits && shiftMarks(sheet.text, sheet.length, sheet.caret, frames, fileEndFrames(), edits,
                                     editsMax, &count, &moved);
  if (shifted && count > 0) applyToEditor(sheet.text, sheet.length, edits, count, false);
  if (edits) GlobalFree(edits);
  if (!shifted) return kMarkToolNoMark;
  listenAt(moved);
  return count > 0 ? kMarkToolDone : kMarkToolListened;
}
