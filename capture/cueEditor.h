// The Cue window's editor as a sheet: its text read out, and the plug-in's own changes of it
// (which are no hand edits), made so that the user's selection and view stay where they were.
#pragma once

#include <windows.h>

#include <cstddef>

#include "../sheet/sheetEdit.h"

// The edit control the sheet lives in, attached when the Cue window is made; null detaches it.
void attachEditor(HWND editor);
HWND sheetEditor();

// A copy of the editor's text in global memory, NUL-terminated; text is null when memory is
// short. Free it with freeEditorText.
struct EditorText {
  char* text;
  size_t length;
  size_t caret;  // where the caret stands (the end of the selection), in bytes of text
};
EditorText readEditorText();
// The same of another window's text (caret 0).
EditorText readWindowText(HWND window);
void freeEditorText(EditorText* copy);

// Whether the editor's text is being changed by the plug-in right now (its EN_CHANGE is no
// hand edit).
bool editorChangeIsOurs();

void setEditorText(const char* text);
// The same for a text the editor held before (an undo): the selection and the view stay near
// where they were.
void restoreEditorText(const char* text);
void appendToEditor(const char* text);

// Applies edits (sorted, not overlapping, in the coordinates of text, the editor's current
// text) to the editor. The selection and the first line in view follow the edits. With
// undoable, a single edit becomes one step that Ctrl+Z takes back.
void applyToEditor(const char* text, size_t length, const TextEdit* edits, size_t count, bool undoable);

// Puts the caret at the start of line (counted from 1), in view, with the keyboard focus.
void showEditorLine(int line);

// Adds text at the end of an edit control, without an undo step, and leaves the user's
// selection (or caret) at the same character positions.
void appendText(HWND edit, const char* text);
