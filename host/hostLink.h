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
// The player's copy of an entry's path (answered by the player's own procedure); may be null.
const char* hostEntryPath(int index);
bool hostFileField(ExtendedInfoRequest* request);
void hostFileTitle(TitleHookRequest* request);
void hostRenderTemplate(FormatTitleRequest* request);
void hostRegisterPage(PrefsPageRecord* record);
void hostShowPage(int pageId);
int hostNamedRequest(const char* name);
void hostAddHotkey(int code, HotkeyRegistration* registration);

void hostPlay();
void hostPause();
