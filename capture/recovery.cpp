// Taking, writing, restoring and setting aside recovery copies. A copy is written on the file
// writer's thread: the player's thread only composes it, and never waits for the disk.
// Each player holds its copy by a lock file opened without sharing and deleted when closed (also
// when the process dies), so another player sees at once which copies are in use.
#include "recovery.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../sheet/recoveryText.h"
#include "../store/fileSystem.h"
#include "../store/fileWriter.h"
#include "../store/pluginFolder.h"

namespace {

const char kStem[] = "lumo_unsaved";
const char kCopyExtension[] = ".cue";
const char kLockExtension[] = ".lock";
const char kTempExtension[] = ".tmp";
const char kCopyPattern[] = "lumo_unsaved*.cue";
const char kDamagedStem[] = "lumo_unsaved-damaged";
const int kSlotsMax = 35;  // slot numbers 1..35 give one tag character each: 1..9, a..z
const int kDamagedNamesMax = 99;
const int kCandidatesMax = 16;
const DWORD kQuitWaitMs = 3000;
const size_t kNameBytes = 64;

// One copy's place: its folder, its number and the lock that holds it.
struct Slot {
  int folder;  // data folder index, -1: none
  int number;
  HANDLE lock;
  char copyPath[kPathBytes];
  char tempPath[kPathBytes];
};

struct Recovery {
  Slot slot;
  bool told;    // the user heard in this session that no copy can be written
  bool retried;  // the last write failed and the copy moved to the other folder
  LPARAM place;  // counts the places the copy had: a notice of an earlier one is stale
};

Recovery gRecovery;

// "lumo_unsaved.cue" for number 1, "lumo_unsaved-N.cue" for the others; same with the extension.
void slotName(int number, const char* extension, char* name) {
  copyText(name, kNameBytes, kStem);
  if (number > 1) {
    char digits[kNumberTextBytes];
    formatInt(digits, sizeof digits, number);
    appendTo(name, kNameBytes, "-");
    appendTo(name, kNameBytes, digits);
  }
  appendTo(name, kNameBytes, extension);
}

// The slot number a copy's file name stands for; 0 for any other name (a damaged copy).
int numberOfName(const char* name) {
  size_t stem = sizeof kStem - 1;
  size_t length = textLength(name, kNameBytes);
  size_t extension = sizeof kCopyExtension - 1;
  if (length < stem + extension) return 0;
  if (textsEqual(name + stem, kCopyExtension)) return 1;
  if (name[stem] != '-') return 0;
  int number = 0;
  size_t at = stem + 1;
  for (; at < length - extension && name[at] >= '0' && name[at] <= '9' && number <= kSlotsMax; ++at)
    number = number * 10 + (name[at] - '0');
  bool whole = at == length - extension && at > stem + 1 && textsEqual(name + at, kCopyExtension);
  return whole && number >= 2 && number <= kSlotsMax ? number : 0;
}

char tagOf(int number) { return (char)(number < 10 ? '0' + number : 'a' + number - 10); }

// Takes slot `number` in data folder `folder`: its lock opened without sharing. Fails while
// another player holds it, or when the folder takes no file.
bool takeSlot(int folder, int number, Slot* slot) {
  char path[kPathBytes];
  char name[kNameBytes];
  slot->folder = -1;
  slot->lock = INVALID_HANDLE_VALUE;
  if (!dataFolder(folder, folder > 0, path)) return false;
  slotName(number, kLockExtension, name);
  char lockPath[kPathBytes];
  if (!joinPath(path, name, lockPath)) return false;
  slotName(number, kCopyExtension, name);
  if (!joinPath(path, name, slot->copyPath)) return false;
  slotName(number, kTempExtension, name);
  if (!joinPath(path, name, slot->tempPath)) return false;
  HANDLE lock = openFile(lockPath, GENERIC_WRITE, 0, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
  if (lock == INVALID_HANDLE_VALUE) {
    // A lock that its player has just closed can still be on its way out (a scanner holding it
    // keeps it there), and Windows refuses it with access denied: that slot is busy, while the
    // folder takes files.
    if (GetLastError() == ERROR_ACCESS_DENIED && isFile(lockPath)) SetLastError(ERROR_SHARING_VIOLATION);
    return false;
  }
  slot->folder = folder;
  slot->number = number;
  slot->lock = lock;
  return true;
}

void releaseSlot(Slot* slot) {
  if (slot->lock != INVALID_HANDLE_VALUE) CloseHandle(slot->lock);
  slot->lock = INVALID_HANDLE_VALUE;
  slot->folder = -1;
}

// A new slot: the first number in the first folder that takes a lock and has no copy of
// another player's (held, or left for a later start).
bool takeFreeSlot(int firstFolder, Slot* slot) {
  for (int f = 0; f < kDataFolderCount; ++f) {
    int folder = (firstFolder + f) % kDataFolderCount;
    for (int number = 1; number <= kSlotsMax; ++number) {
      if (!takeSlot(folder, number, slot)) {
        if (GetLastError() == ERROR_SHARING_VIOLATION) continue;
        break;  // the folder takes no file: the next folder
      }
      if (!isFile(slot->copyPath)) {
        setPlayerTag(tagOf(number));
        return true;
      }
      releaseSlot(slot);
    }
  }
  return false;
}

// Moves a damaged copy to the first free name lumo_unsaved-damaged[-N].cue in its folder;
// false when it could not be moved.
bool setAside(const char* path, int folder, char* aside) {
  char folderPath[kPathBytes];
  char name[kNameBytes];
  char number[kNumberTextBytes];
  if (!dataFolder(folder, false, folderPath)) return false;
  for (int n = 1; n <= kDamagedNamesMax; ++n) {
    copyText(name, sizeof name, kDamagedStem);
    if (n > 1) {
      formatInt(number, sizeof number, n);
      appendTo(name, sizeof name, "-");
      appendTo(name, sizeof name, number);
    }
    appendTo(name, sizeof name, kCopyExtension);
    if (!joinPath(folderPath, name, aside)) return false;
    if (moveFile(path, aside, MOVEFILE_WRITE_THROUGH)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  aside[0] = '\0';
  return false;
}

struct Candidate {
  Slot slot;
  unsigned long long written;
  char* bytes;  // the copy's bytes, global memory
  size_t size;
};

struct Search {
  int folder;
  Candidate found[kCandidatesMax];
  int count;
  RecoveryStart* start;
};

// Looks at one copy: held by a running player, unreadable now, damaged, empty or a sheet to
// take back (kept as a candidate, its lock held).
bool lookAtCopy(const char* name, void* context) {
  Search* search = (Search*)context;
  int number = numberOfName(name);
  if (number == 0 || search->count >= kCandidatesMax) return true;
  Candidate& c = search->found[search->count];
  if (!takeSlot(search->folder, number, &c.slot)) return true;  // a running player's
  DWORD error = 0;
  c.bytes = readWholeFile(c.slot.copyPath, kRecoveryHeaderBytes + kRecoveryTextMaxBytes, 0, &c.size, &error);
  RecoveredSheet sheet;
  if (!c.bytes && error != ERROR_FILE_TOO_LARGE) {
    releaseSlot(&c.slot);  // cannot be read now: tried again at the next start
    return true;
  }
  if (!c.bytes || !parseRecovery(c.bytes, c.size, &sheet)) {
    if (!search->start->setAside[0]) setAside(c.slot.copyPath, search->folder, search->start->setAside);
    if (c.bytes) GlobalFree(c.bytes);
    releaseSlot(&c.slot);
    return true;
  }
  if (sheet.textBytes == 0 && sheet.tracklistLinesBytes == 0) {
    deleteFile(c.slot.copyPath);  // a whole copy of an empty sheet holds nothing to keep
    GlobalFree(c.bytes);
    releaseSlot(&c.slot);
    return true;
  }
  c.written = lastWriteTime(c.slot.copyPath);
  ++search->count;
  return true;
}

void takeBack(const Candidate& c, RestoredSheet* sheet) {
  RecoveredSheet copy;
  parseRecovery(c.bytes, c.size, &copy);
  sheet->nextEntry = copy.nextEntry;
  copyText(sheet->openedPath, sizeof sheet->openedPath, copy.openedPath);
  copyText(sheet->openedForm, sizeof sheet->openedForm, copy.openedForm);
  if (copy.tracklistLinesBytes > 0) {
    sheet->tracklist = (char*)GlobalAlloc(GMEM_FIXED, copy.tracklistLinesBytes + 1);
    if (sheet->tracklist) recoveredTracklist(copy, sheet->tracklist, copy.tracklistLinesBytes + 1);
  }
  if (copy.utf8) {
    sheet->text = (char*)GlobalAlloc(GMEM_FIXED, copy.textBytes + 1);
    if (!sheet->text) return;
    CopyMemory(sheet->text, copy.text, copy.textBytes);
    sheet->text[copy.textBytes] = '\0';
    copyText(sheet->audioPath, sizeof sheet->audioPath, copy.audioPath);
    return;
  }
  // A copy of an earlier version, in the ANSI code page: each byte may become three in UTF-8.
  size_t room = copy.textBytes * kUtf8BytesPerUnit + 1;
  sheet->text = (char*)GlobalAlloc(GMEM_FIXED, room);
  if (!sheet->text) return;
  // Should the system convert nothing, the bytes as they stand are still the user's sheet.
  if (ansiToUtf8(copy.text, copy.textBytes, sheet->text, room) == 0 && copy.textBytes > 0) {
    CopyMemory(sheet->text, copy.text, copy.textBytes);
    sheet->text[copy.textBytes] = '\0';
  }
  ansiToUtf8(copy.audioPath, textLength(copy.audioPath, kPathBytes), sheet->audioPath, sizeof sheet->audioPath);
}

}  // namespace

void startRecovery(HWND notify, UINT doneMessage, RecoveryStart* start) {
  *start = RecoveryStart();
  gRecovery.slot.folder = -1;
  gRecovery.slot.lock = INVALID_HANDLE_VALUE;
  gRecovery.told = false;
  gRecovery.retried = false;
  startFileWriter(notify, doneMessage);

  // Every copy that no running player holds, in both folders; the newest comes back.
  Search search = {};
  search.start = start;
  char folder[kPathBytes];
  for (search.folder = 0; search.folder < kDataFolderCount; ++search.folder)
    if (dataFolder(search.folder, false, folder)) forEachFileIn(folder, kCopyPattern, lookAtCopy, &search);
  int newest = -1;
  for (int i = 0; i < search.count; ++i)
    if (newest < 0 || search.found[i].written > search.found[newest].written) newest = i;
  for (int i = 0; i < search.count; ++i) {
    Candidate& c = search.found[i];
    if (i == newest) {
      takeBack(c, &start->sheet);
      start->restored = start->sheet.text != nullptr;
      gRecovery.slot = c.slot;
      setPlayerTag(tagOf(c.slot.number));
    } else {
      releaseSlot(&c.slot);  // stays for a later start
    }
    GlobalFree(c.bytes);
  }
  if (newest < 0) takeFreeSlot(0, &gRecovery.slot);
}

void freeRestoredSheet(RestoredSheet* sheet) {
  if (sheet->text) GlobalFree(sheet->text);
  if (sheet->tracklist) GlobalFree(sheet->tracklist);
  sheet->text = nullptr;
  sheet->tracklist = nullptr;
}

void keepRecoveryCopy(const char* text, size_t length, const RecoveryFacts& facts) {
  Slot& slot = gRecovery.slot;
  // Without a place (no folder took a copy yet), every change tries again.
  if (slot.folder < 0 && !takeFreeSlot(0, &slot)) return;
  bool tracklist = facts.tracklist && facts.tracklistBytes > 0;
  if ((!facts.unsaved || length == 0) && !tracklist) {
    requestFileWrite(slot.copyPath, slot.tempPath, nullptr, 0, gRecovery.place);  // no copy
    return;
  }
  CopyHeader header = {facts.nextEntry, length, facts.audioPath, facts.openedPath, facts.openedForm,
                       facts.tracklist, facts.tracklistBytes};
  size_t headerBytes = recoveryHeaderBytes(header);
  char* bytes = (char*)GlobalAlloc(GMEM_FIXED, headerBytes + 1 + length);
  if (!bytes) return;
  size_t headerLength = formatRecoveryHeader(header, bytes, headerBytes + 1);
  if (headerLength == 0) {
    GlobalFree(bytes);
    return;
  }
  CopyMemory(bytes + headerLength, text, length);
  requestFileWrite(slot.copyPath, slot.tempPath, bytes, headerLength + length, gRecovery.place);  // the writer frees it
}

RecoveryNext recoveryWriteDone(DWORD error, LPARAM tag) {
  if (tag != gRecovery.place) return kRecoveryQuiet;  // about a place the copy has left
  if (error == 0) {
    gRecovery.retried = false;
    return kRecoveryQuiet;
  }
  Slot& slot = gRecovery.slot;
  int next = slot.folder < 0 ? 0 : (slot.folder + 1) % kDataFolderCount;
  if (slot.folder >= 0) {
    deleteFile(slot.copyPath);  // whatever stands there is behind the sheet now
    releaseSlot(&slot);
  }
  ++gRecovery.place;
  if (!gRecovery.retried && takeFreeSlot(next, &slot)) {
    gRecovery.retried = true;
    return kRecoveryRetry;
  }
  // Neither folder took it: the next change tries again from the first.
  gRecovery.retried = false;
  if (gRecovery.told) return kRecoveryQuiet;
  gRecovery.told = true;
  return kRecoveryTell;
}

bool closeRecovery(const char* text, size_t length, const RecoveryFacts& facts) {
  keepRecoveryCopy(text, length, facts);
  if (!stopFileWriter(kQuitWaitMs)) return false;  // the lock stays held until the process ends
  releaseSlot(&gRecovery.slot);
  return true;
}
