// One writer thread with a slot for the newest request.
#include "fileWriter.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "atomicFile.h"
#include "fileSystem.h"

namespace {

struct WriteRequest {
  bool pending;
  char path[kPathBytes];
  char tempPath[kPathBytes];
  char* bytes;  // null: delete the file
  size_t length;
  LPARAM tag;
};

struct FileWriter {
  HANDLE thread;
  HANDLE wake;  // auto-reset: a request is pending, or the writer must stop
  CRITICAL_SECTION lock;
  bool stopping;
  HWND notify;
  UINT doneMessage;
  WriteRequest slot;
  DWORD lastError;  // of the last request carried out
};

FileWriter gWriter;

void carryOut(WriteRequest& request) {
  DWORD error = 0;
  if (request.bytes) {
    error = replaceFile(request.path, request.tempPath, request.bytes, request.length, nullptr);
    GlobalFree(request.bytes);
  } else if (!deleteFile(request.path) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    error = GetLastError();
  }
  gWriter.lastError = error;
  if (gWriter.notify) PostMessageA(gWriter.notify, gWriter.doneMessage, error, request.tag);
}

DWORD WINAPI writerThread(void*) {
  for (;;) {
    WaitForSingleObject(gWriter.wake, INFINITE);
    EnterCriticalSection(&gWriter.lock);
    WriteRequest request = gWriter.slot;
    gWriter.slot.pending = false;
    gWriter.slot.bytes = nullptr;
    bool stopping = gWriter.stopping;
    LeaveCriticalSection(&gWriter.lock);
    if (request.pending) carryOut(request);
    if (stopping) return 0;
  }
}

}  // namespace

bool startFileWriter(HWND notify, UINT doneMessage) {
  gWriter.thread = nullptr;
  gWriter.stopping = false;
  gWriter.notify = notify;
  gWriter.doneMessage = doneMessage;
  gWriter.slot.pending = false;
  gWriter.slot.bytes = nullptr;
  gWriter.lastError = 0;
  InitializeCriticalSection(&gWriter.lock);
  gWriter.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (gWriter.wake) gWriter.thread = CreateThread(nullptr, 0, writerThread, nullptr, 0, nullptr);
  return gWriter.thread != nullptr;
}

void requestFileWrite(const char* path, const char* tempPath, char* bytes, size_t length, LPARAM tag) {
  WriteRequest request = {true, "", "", bytes, length, tag};
  copyText(request.path, sizeof request.path, path);
  copyText(request.tempPath, sizeof request.tempPath, tempPath);
  if (!gWriter.thread) {
    carryOut(request);
    return;
  }
  EnterCriticalSection(&gWriter.lock);
  if (gWriter.slot.pending && gWriter.slot.bytes) GlobalFree(gWriter.slot.bytes);  // outdated
  gWriter.slot = request;
  LeaveCriticalSection(&gWriter.lock);
  SetEvent(gWriter.wake);
}

bool stopFileWriter(DWORD waitMs) {
  gWriter.notify = nullptr;  // nobody is left to answer
  if (gWriter.thread) {
    EnterCriticalSection(&gWriter.lock);
    gWriter.stopping = true;
    LeaveCriticalSection(&gWriter.lock);
    SetEvent(gWriter.wake);
    // The thread still uses the lock and the event while it runs: they stay with it.
    if (WaitForSingleObject(gWriter.thread, waitMs) != WAIT_OBJECT_0) return false;
    CloseHandle(gWriter.thread);
    gWriter.thread = nullptr;
  }
  if (gWriter.wake) CloseHandle(gWriter.wake);
  gWriter.wake = nullptr;
  DeleteCriticalSection(&gWriter.lock);
  return true;
}

DWORD lastFileWriteError() { return gWriter.lastError; }
