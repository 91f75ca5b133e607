// Writes one file on a thread of its own, so that the player's thread never waits for the disk:
// each request replaces the file in one step (see atomicFile.h) or deletes it. Only the newest
// request counts: one that a newer request replaces before it was carried out is dropped.
#pragma once

#include <windows.h>

#include <cstddef>

// Starts the thread; false when it cannot be had, and requests are then carried out at once
// on the caller's thread. Each request carried out posts doneMessage to notify, when given, with
// wParam 0 when it succeeded and the error code when it failed, and lParam the request's tag.
bool startFileWriter(HWND notify, UINT doneMessage);

// Hands over a request for the file at path: bytes (length of them, global memory that the
// writer now owns and frees) to be written through tempPath, or null bytes to delete path. The
// tag comes back with its notice.
void requestFileWrite(const char* path, const char* tempPath, char* bytes, size_t length, LPARAM tag);

// Carries out the request still pending, then ends the thread, waiting at most waitMs. Returns
// false when the thread is still running then (a stuck disk or network folder): it is left to
// finish on its own, and the code it runs must stay loaded.
bool stopFileWriter(DWORD waitMs);

// The error code of the last request carried out (0: it succeeded, or none was); read it after
// stopFileWriter returned true.
DWORD lastFileWriteError();
