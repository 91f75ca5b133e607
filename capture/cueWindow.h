// The Cue window (dialog 104): the cue-sheet editor with Reset and Save.
#pragma once

#include <windows.h>

HWND createCueWindow(HINSTANCE module);
void destroyCueWindow();
HWND cueWindow();
HWND cueEditor();
void showCueWindow();

// The plug-in's own changes of the editor's text, which are no hand edits.
void setEditorText(const char* text);
void appendToEditor(const char* text);

// Adds text at the end of an edit control, without an undo step, and leaves the user's
// selection (or caret) at the same character positions.
void appendText(HWND edit, const char* text);

INT_PTR CALLBACK CueDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
