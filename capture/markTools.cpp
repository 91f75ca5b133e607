// Listen and nudge on the Cue window's editor.
#include "markTools.h"

#include <windows.h>

#include "../host/hostLink.h"
#include "../sheet/cueTime.h"
#include "../sheet/sheetEdit.h"
#include "../store/settings.h"
#include "cueEditor.h"
#include "cueWindow.h"
#include "recovery.h"
#include "sheetState.h"

namespace {

const long long kMsPerSecond = 1000;

size_t caretOf(HWND editor) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  return end;
}

void listenAt(long long frames) {
  int state = hostPlayState();
  if (state == HOST_STATE_STOPPED || state == HOST_STATE_PAUSED) hostPlay();
  const long long kLatestMs = 0x7FFFFFFF;  // a time typed by hand may lie past any position
  long long ms = frames * kMsPerSecond / kFramesPerSecond - settings().listenLeadSeconds * kMsPerSecond;
  hostJumpTo(ms < 0 ? 0 : ms > kLatestMs ? (int)kLatestMs : (int)ms);
}

}  // namespace

long long nudgeStep() { return GetKeyState(VK_SHIFT) < 0 ? kFramesPerSecond : 1; }

void listenToMark() {
  HWND editor = cueEditor();
  if (!editor) return;
  EditorText copy = readEditorText(0);
  MarkTime mark;
  bool found = copy.text && findMark(copy.text, copy.length, caretOf(editor), &mark);
  freeEditorText(&copy);
  if (found) listenAt(mark.frames);
}

void moveMark(long long frames) {
  HWND editor = cueEditor();
  if (!editor) return;
  EditorText copy = readEditorText(0);
  TextEdit edit;
  long long moved = 0;
  bool found = copy.text && nudgeMark(copy.text, copy.length, caretOf(editor), frames, -1, &edit, &moved);
  if (found) applyToEditor(copy.text, copy.length, &edit, 1, true);
  freeEditorText(&copy);
  if (!found) return;
  markSheetChanged();
  keepRecoveryCopy();
  listenAt(moved);
}
