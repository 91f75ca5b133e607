// The Cue window's requests of its waveform strip: a press, a drag and a release move the
// caret's mark; the rest keeps the strip up to date.
#include "captureController.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "captureState.h"
#include "cueEditor.h"
#include "cueStrip.h"
#include "markTools.h"
#include "sheetState.h"
#include "stripSheet.h"

namespace {

struct StripDrag {
  bool active;
  EditorText before;  // the sheet as the press found it: the step Ctrl+Z goes back to
};

StripDrag gDrag;  // zero: no drag

// Moves the caret's mark to frame, with no listening; the result of the move.
MarkToolResult moveCaretMarkTo(long long frame, char* fileName) {
  EditorText now = readEditorText();
  MarkToolResult result = moveMarkTo(now, frame, false, fileName, kPathBytes);
  freeEditorText(&now);
  return result;
}

bool sameText(const EditorText& a, const EditorText& b) {
  if (!a.text || !b.text || a.length != b.length) return false;
  for (size_t i = 0; i < a.length; ++i)
    if (a.text[i] != b.text[i]) return false;
  return true;
}

}  // namespace

void requestStripRefresh() { refreshStrip(); }

void requestStripSheetChanged() { stripSheetChanged(); }

void requestLookAtMark() {
  if (!editorChangeIsOurs()) lookAtCaretMark();
}

void requestStripZoom(long long halfFrames) {
  keepStripHalf(halfFrames);
  refreshStrip();
}

void requestStripPress(long long frame) {
  endStripDrag();
  // A mark the user does not see is not moved: the press shows it instead.
  bool seen = stripShowsCaretMark();
  lookAtCaretMark();
  if (!seen) {
    refreshStrip();
    return;
  }
  char fileName[kPathBytes];
  EditorText before = readEditorText();
  MarkToolResult result = before.text ? moveMarkTo(before, frame, false, fileName, sizeof fileName) : kMarkToolNoMark;
  if (result == kMarkToolDone || result == kMarkToolListened) {
    gDrag.active = true;
    gDrag.before = before;
    holdStripRange(true);
  } else {
    freeEditorText(&before);
    if (result == kMarkToolOtherFile) tellToPlay(fileName);
  }
  refreshStrip();
}

void requestStripDrag(long long frame) {
  if (!gDrag.active) return;
  char fileName[kPathBytes];
  moveCaretMarkTo(frame, fileName);
  refreshStrip();
}

void requestStripRelease(long long frame) {
  if (!gDrag.active) return;
  char fileName[kPathBytes];
  moveCaretMarkTo(frame, fileName);
  EditorText after = readEditorText();
  if (after.text && !sameText(gDrag.before, after)) {
    recordStepOf(gDrag.before, nullptr);
    markSheetChanged();
    keepCopy();
  }
  if (after.text) listenToMark(after, fileName, sizeof fileName);
  freeEditorText(&after);
  endStripDrag();
  refreshStrip();
}

void endStripDrag() {
  if (gDrag.active) freeEditorText(&gDrag.before);
  gDrag.active = false;
  holdStripRange(false);
}
