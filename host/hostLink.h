// The one place that talks to the player: a named function for every request and command, the
// timer on its window and our place in its window procedure chain.
#pragma once

#include "hostContract.h"

// Remembers the player's main window; every request goes there.
void hostLinkOpen(HWND host);
HWND hostWindow();

// The player's own window procedure while ours sits in front of it: requests that must not
// pass through our procedure go straight to it. Null sends them to the window instead.
void hostLinkSetDirect(WNDPROC direct);

// The player's window procedure as it is now, and replacing it; the previous one is returned.
WNDPROC hostWindowProc();
WNDPROC hostReplaceWindowProc(WNDPROC procedure);

// A timer on the player's window.
bool hostStartTimer(UINT_PTR id, UINT delayMs, TIMERPROC procedure);
void hostStopTimer(UINT_PTR id);

// Sends CAPTURE_MSG with an action to the player's window, where our procedure carries it out
// before the player's own sees it.
void hostCapture(LPARAM action);

int hostVersion();
int hostPlayState();
int hostPlaylistIndex();  // answered by the player's own procedure
int hostPlaylistCount();
int hostPositionMs();
int hostLengthSeconds();
// Moves playback to a position; 0 when done, -1 when nothing plays, 1 past the end.
int hostJumpTo(int positionMs);
int hostStreamInfo(int what);
// The path of playlist entry index as UTF-8 into path (kPathBytes), empty when there is none;
// answered by the player's own procedure. From a player without UTF-16 paths the path comes in
// the ANSI code page, where a '?' stands for a character it lacks.
void hostEntryPathText(int index, char* path);

// The callbacks a template is formatted with, in UTF-16 and in the ANSI code page, and the
// context given to them.
struct FormatCallbacks {
  TagResolveWideProc resolveWide;
  TagFreeWideProc freeWide;
  TagResolveProc resolveAnsi;
  TagFreeProc freeAnsi;
};
// Has the player format a template (UTF-8) into out (outBytes, UTF-8): in UTF-16 when it can,
// else in the ANSI code page. Returns whether the result filled the player's output of
// kFormatChars, so that it may have been cut.
bool hostFormatTemplate(const char* templateText, const FormatCallbacks& callbacks, char* out, size_t outBytes);

// A metadata field of a file (names and value UTF-8) into value (valueBytes); false when the
// file has no such field.
bool hostFileFieldText(const char* path, const char* field, char* value, size_t valueBytes);
// The player's title for a file into title (titleBytes, UTF-8).
void hostFileTitleText(const char* path, char* title, size_t titleBytes);
void hostRegisterPage(PrefsPageRecord* record);
void hostShowPage(int pageId);
int hostNamedRequest(const char* name);
void hostAddHotkey(int code, HotkeyRegistration* registration);

void hostPlay();
void hostPause();
