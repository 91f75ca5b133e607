// The one place that talks to the player: a named function for every request and command, the
// timer on its window and our place in its window procedure chain.
#pragma once

#include "hostContract.h"

// Remembers the player's main window; every request goes there. A Unicode window (the players of
// today) is subclassed and called with the W functions, an ANSI one with the A functions: the
// other kind would pass every text message through a conversion.
void hostLinkOpen(HWND host);
HWND hostWindow();

// The player's own window procedure while ours sits in front of it: requests that must not
// pass through our procedure go straight to it. Null sends them to the window instead.
void hostLinkSetDirect(WNDPROC direct);

// The player's window procedure as it is now, and replacing it; the previous one is returned.
WNDPROC hostWindowProc();
WNDPROC hostReplaceWindowProc(WNDPROC procedure);
// Passes a message of the player's window on to a procedure of its chain (null: the default
// handling), in the window's own character form.
LRESULT hostPassOn(WNDPROC next, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether the player's window still exists: at quit it is already gone.
bool hostWindowAlive();

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
int hostPositionMs();  // -1 (HOST_POSITION_STOPPED) while nothing plays
int hostLengthSeconds();  // -1 or 0 when unknown
// The current entry's length in milliseconds, from the seconds when the player gives no more;
// -1 when unknown.
long long hostLengthMs();
// Moves playback to a position; 0 when done, -1 when nothing plays, 1 past the end.
int hostJumpTo(int positionMs);
int hostStreamInfo(int what);
// The sample rate in Hz: asked in Hz, else from the kHz of older players (44 is 44,100 Hz).
int hostSampleRateHz();
// The player's video description (UTF-8) into text (textBytes); empty when it gives none. The
// player gives UTF-16 text, players before the Unicode ones ANSI text.
void hostVideoText(char* text, size_t textBytes);
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
// Has the player format a template (UTF-8, in the player's title-formatting language) into out
// (outBytes, UTF-8): in UTF-16 when it can, else in the ANSI code page. fileName (UTF-8) is the
// file the request names: the player formats nothing without one, so an empty name is replaced
// by a name of our own; the file's own tags are not used, the callbacks give every value.
// Returns whether the result filled the player's output of kFormatChars, so that it may have
// been cut.
bool hostFormatTemplate(const char* templateText, const char* fileName, const FormatCallbacks& callbacks, char* out,
                        size_t outBytes);

// A metadata field of a file (names and value UTF-8) into value (valueBytes); false when the
// file has no such field. Whatever text the player wrote is the value, whatever it answered.
bool hostFileFieldText(const char* path, const char* field, char* value, size_t valueBytes);
// The player's title for a file into title (titleBytes, UTF-8): asked in UTF-16, else of the
// plug-ins hooked into the ANSI request.
void hostFileTitleText(const char* path, char* title, size_t titleBytes);
// The record stays the player's to read for as long as the plug-in is loaded.
void hostRegisterPage(PrefsPageRecord* record);
// Opens the player's preferences at a registered page.
void hostShowPage(const PrefsPageRecord* record);
int hostNamedRequest(const char* name);
// The player's service manager; null from a player without one.
DispatchObject* hostServiceManager();
void hostAddHotkey(int code, HotkeyRegistration* registration);

void hostPlay();
void hostPause();
