// The capture controller: our procedure on the player's window, the sheet's state and the
// mark, commit, cancel and save actions that CAPTURE_MSG carries.
#pragma once

#include "../host/hostContract.h"

// The lock held by a commit across both title formattings; created first at start-up and
// deleted last at shutdown.
void createFormatLock();
void deleteFormatLock();

// A new sheet and no mark pending, at start-up.
void createCaptureState();

// Puts CaptureProc in front of the player's window procedure, or turns its actions back on
// when it is still in the chain. Does nothing while it is installed.
void installCapture();
// Turns the actions off, and takes CaptureProc out of the chain when it is the window's
// current procedure. A procedure that another program put in front of it is never cut out:
// CaptureProc then stays in the chain and only passes messages on.
void removeCapture();
// Whether CaptureProc is still part of the window's procedure chain.
bool captureChained();

LRESULT CALLBACK CaptureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Empties the sheet: numbering restarts at 1 and the next entry writes the header again.
void resetSheet();

// Carries out an action of the Info or Cue window (commit, cancel, save), whether capture is
// switched on or not.
void requestCapture(LPARAM action);

// Takes the texts of the Info window's two fields.
void setCapturedTexts(const char* title, const char* performer);

// Read by the tag resolver while a commit formats its templates.
const char* capturedTitle();
const char* capturedPerformer();
// The playback position of the entry: the mark's (or, without one, the position at the
// commit), less the reaction time, never below 0.
int entryPositionMs();
