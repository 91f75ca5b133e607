// The plug-in's own changes of the sheet (a commit, a tracklist mark, a nudge, a shift, Open,
// Reset), taken back one by one with Ctrl+Z and done again with Ctrl+Y. Each step keeps the
// editor's text and the sheet's bookkeeping as it was. A hand edit is never taken back here: once
// the user typed, the steps before it are gone and Ctrl+Z is the editor's own again.
#pragma once

#include <cstddef>

#include "sheetState.h"

const int kHistorySteps = 128;                    // steps kept; the oldest give way
const size_t kHistoryBytes = 64u * 1024 * 1024;   // text kept in all steps; the oldest give way

// The sheet as it stands now, given to each call.
struct SheetSnapshot {
  const char* text;  // UTF-8, length bytes
  size_t length;
  const SheetBookkeeping* bookkeeping;
};

// Before a change of the plug-in's: keeps the sheet as it is. takenLine: the tracklist line the
// change marks (it goes back to the tracklist with an undo), or null. Forgets what could be redone.
void recordChange(const SheetSnapshot& now, const char* takenLine);

// The user typed into the editor: every step is forgotten, so that nothing taken back later
// undoes the typing.
void noteHandEdit();

bool canUndo();
bool canRedo();
// The tracklist line the next redo takes off the tracklist again; null when none.
const char* nextRedoLine();
// Forgets what could be redone: the tracklist no longer holds what a redo would take.
void forgetRedo();

// The state an undo or redo goes to: text and line in global memory (free both with
// freeHistoryState), bookkeeping. line: the tracklist line to put back (undo) or take off again
// (redo), null when none.
struct HistoryState {
  char* text;
  size_t length;
  SheetBookkeeping bookkeeping;
  char* line;
};
// Steps back (or forward) from now; false when there is nothing to take back (or redo).
bool undoChange(const SheetSnapshot& now, HistoryState* to);
bool redoChange(const SheetSnapshot& now, HistoryState* to);
void freeHistoryState(HistoryState* state);

// Forgets every step, at quit.
void clearHistory();
