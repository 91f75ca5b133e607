// The controller's own state and the helpers its two files share (captureController.cpp: the
// actions on the player's window; captureRequests.cpp: the windows' requests). Nothing else
// includes this.
#pragma once

#include <windows.h>

#include "../base/limits.h"
#include "cueEditor.h"
#include "markPlacer.h"
#include "recovery.h"
#include "sheetState.h"
#include "tagResolver.h"

struct CaptureState {
  bool marked;             // a mark is pending: its position is the entry's
  int markPositionMs;
  char markPath[kPathBytes];  // the player's current entry at the mark (empty: at the commit):
                              // the entry's recording and FILE block
  char placement[kPlacementTextBytes];  // where the last mark went on the audio, and why
  char capturedTitle[kTextBytes];
  char capturedPerformer[kTextBytes];
  TagRecord tags;          // what the tag callbacks read: the entry being (or last) formatted
  HWND cueWindow;
  HWND infoWindow;
  HWND tracklistWindow;
  bool restored;           // start-up put a sheet back
  bool noCopyToTell;       // no recovery copy can be written, and the user must hear it
  char setAside[kPathBytes];  // where start-up moved a damaged copy
  int othersWaiting;          // unsaved copies besides the restored one, for later starts
};

CaptureState& captureState();

// What the recovery copy keeps besides the text, as the sheet stands; its form code is written
// into code (codeBytes, kFormCodeBytes will do), which the result points to.
CopiedSheetState copiedSheetState(char* code, size_t codeBytes);
// Writes the recovery copy of the sheet as it stands.
void keepCopy();
// Puts a line (UTF-8) into a window's place for what a mark did (CAPTURE_SAY), when it exists.
void sayInWindow(HWND window, const char* text);
void sayInCueWindow(const char* text);
// Sends a message to one of the windows, when it exists.
void sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0);
// Before a change of the plug-in's: keeps the sheet as it is for Ctrl+Z, with the tracklist
// line the change takes (or null); recordStepOf keeps before, the editor's text already read.
void recordStep(const char* takenLine);
void recordStepOf(const EditorText& before, const char* takenLine);
// "Play <file name> to listen to this mark.", in a box.
void tellToPlay(const char* fileName);
// Ends a drag on the strip that no release will end (the windows go).
void endStripDrag();
// Whether a mark in the recording at path may go into the sheet: true unless it would add a FILE
// block to an opened sheet and the user, asked, says No.
bool mayMarkIn(const char* path);
