// The capture controller: our procedure on the player's window, and every action on the sheet.
// The Cue and Info windows reach the plug-in only through the requests below; the controller
// tells them what to show by the messages below, sent to the windows it was given.
#pragma once

#include "../host/hostContract.h"
#include "tracklist.h"

// Sent by the controller to the Info window: show yourself in front, the caret in the title
// field.
const UINT CAPTURE_SHOW_INFO = WM_APP + 1;
// To the Info window: the typed title went into the sheet; empty the title field.
const UINT CAPTURE_TITLE_TAKEN = WM_APP + 2;
// To the Cue window: show yourself; wParam non-zero: also bring yourself to the front.
const UINT CAPTURE_SHOW_CUE = WM_APP + 3;
// To the Cue window, posted from the recovery writer's thread after each write: wParam is 0 or
// the error code, lParam the write's tag (answer with requestCopyDone).
const UINT CAPTURE_COPY_DONE = WM_APP + 4;
// To the Cue window, posted once a box of ours has closed: an action that waited for it.
// wParam is the id of the button whose click it repeats, or 0 for requestNotices.
const UINT CAPTURE_RETRY = WM_APP + 5;
// To the Tracklist window: the tracklist changed (a mark took its first line, an undo put one
// back); show its text (tracklistForWindow) and the next mark's label anew.
const UINT CAPTURE_TRACKLIST_CHANGED = WM_APP + 6;
// To the Tracklist window: show yourself in front.
const UINT CAPTURE_SHOW_TRACKLIST = WM_APP + 7;
// To the Info window: a tracklist mark used this performer (lParam: its UTF-16 text, valid
// during the message); the performer field keeps it for the next mark.
const UINT CAPTURE_PERFORMER_USED = WM_APP + 8;
// To the Cue window: a hand edit of the sheet or the tracklist; the recovery copy is due a while
// after the first one (not at every keystroke), then requestRecoveryCopy.
const UINT CAPTURE_COPY_SOON = WM_APP + 9;
// To the Cue window, posted by the decoding worker: a file's audio progressed or ended (wParam:
// its DecodeState, lParam: the percent read).
const UINT CAPTURE_DECODE_PROGRESS = WM_APP + 10;
// To the Cue window and the Info window: the line that says where a mark went (lParam: its
// UTF-16 text, valid during the message; empty clears it).
const UINT CAPTURE_SAY = WM_APP + 11;

// A new sheet and no mark pending, at start-up.
void createCaptureState();

// The windows are made once the player shows (by whoever started the plug-in); an action that
// needs them before that calls makeWindows, which makes them and attaches them. Null: none.
void setWindowsMaker(void (*makeWindows)());

// The windows the controller talks to; the Cue window's editor becomes the sheet's editor, and it
// hears how the decoding of audio goes.
void attachCaptureWindows(HWND cueWindow, HWND infoWindow, HWND tracklistWindow);
void detachCaptureWindows();

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

// Carries out an action (mark, commit, cancel, save, show), whether capture is switched on or
// not: with CaptureProc installed the action travels as CAPTURE_MSG, which the player sees too.
void requestCapture(LPARAM action);

// Shows the Cue window in front, as the Show cue sheet action does.
void showCueSheet();

// The Info window's two fields, taken before a commit.
void setCapturedTexts(const char* title, const char* performer);

// The Cue window's requests.
// Whether a box of ours is open; then the request retryId (a button's id, 0 for the notice that
// no recovery copy can be written) is posted to the Cue window to run once it has closed (or,
// should the queue behind the box be full, refused with a beep).
bool deferWhileModal(WPARAM retryId);
// Whether the sheet may be replaced: true when it holds nothing unsaved, else the answer to
// "Discard the unsaved cue sheet?" (Yes, with no mark made while it was asked).
bool mayDiscardSheet();
void requestReset();             // empties the sheet; numbering restarts at 1
void requestOpen();              // Open...: a cue sheet from a file (after mayDiscardSheet)
void requestExport();            // Export...: the sheet's tracks as chapters
void requestListen();            // plays from the listen lead before the caret's mark
void requestNudge(long long frames);  // moves the caret's mark, then listens
void requestSnap();               // moves the caret's mark onto the audio's boundary, then listens
void requestShift(long long frames);  // moves it and every later mark of its file, then listens
// The strip under the editor (cueStrip.h): brought up to date (while the window shows, and as
// the audio is read); the user looks at the caret's mark (a key or a click in the editor, the
// caret put elsewhere); the half-width the wheel chose.
void requestStripRefresh();
void requestStripSheetChanged();  // the editor's text was replaced (WM_SETTEXT)
void requestLookAtMark();
void requestStripZoom(long long halfFrames);
// A press on the strip moves the caret's mark to frame (within the nudge's limits) when the
// strip shows that mark (else it goes to show it, and nothing moves), moves of the
// mouse with the button held move it on, and the release listens there: the whole drag is one
// step of Ctrl+Z.
void requestStripPress(long long frame);
void requestStripDrag(long long frame);
void requestStripRelease(long long frame);
// Ctrl+Z and Ctrl+Y in the editor: false when the plug-in has nothing to take back (or redo),
// and the keys are the editor's own.
bool requestUndo();
bool requestRedo();
void requestShowTracklist();
// The editor's text changed; a hand edit is noted and its copy made due (CAPTURE_COPY_SOON).
void noteEditorChanged();
void requestRecoveryCopy();      // writes the recovery copy now
void requestCopyDone(DWORD error, LPARAM tag);  // answers CAPTURE_COPY_DONE
void requestNotices();           // says what waited for a box to close

// The Tracklist window's requests: its text changed by hand (UTF-8); its text and the next
// mark's label to show (into out, outBytes; the text call returns the text itself).
void requestTracklistEdited(const char* text, size_t length);
const char* tracklistForWindow();
void tracklistLabel(char* out, size_t outBytes);
// The tracks as marks will read them, one by one: start with *at 0 (see nextTracklistReading);
// the first line that names no performer takes the last one used.
bool tracklistReading(size_t* at, TracklistReading* reading);

// At start-up, once the windows are attached: puts an unsaved sheet back. Returns whether one
// came back.
bool restoreSheet();
// Once the player is up: shows what start-up found (a restored sheet, a copy set aside).
void reportRestore();
// At quit, before the windows go: the last recovery copy and no thread left. Returns false
// when the copy's writer could not be stopped in time: the module must then stay loaded.
bool closeSheet();
