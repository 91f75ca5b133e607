// The start-up search for a recovery copy to take back: every copy in both data folders that no
// running player holds is looked at; a damaged one is set aside, an empty one deleted, and of
// the others the one of the current entry's audio file, else the newest, comes back.
#include "recoverySlots.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../sheet/recoveryText.h"
#include "../store/fileSystem.h"
#include "../store/pluginFolder.h"

namespace {

const char kDamagedStem[] = "lumo_unsaved-damaged";
const char kDamagedExtension[] = ".cue";
const int kDamagedNamesMax = 99;
const int kCandidatesMax = 16;
const size_t kDamagedNameBytes = 64;

// Moves a damaged copy to the first free name lumo_unsaved-damaged[-N].cue in its folder, named
// in aside (asideBytes); false, with aside empty, when it could not be moved.
bool setAside(const char* path, int folder, char* aside, size_t asideBytes) {
  char folderPath[kPathBytes];
  char name[kDamagedNameBytes];
  char number[kNumberTextBytes];
  aside[0] = '\0';
  if (!dataFolder(folder, false, folderPath, sizeof folderPath)) return false;
  for (int n = 1; n <= kDamagedNamesMax; ++n) {
    copyText(name, sizeof name, kDamagedStem);
    if (n > 1) {
      formatInt(number, sizeof number, n);
      appendTo(name, sizeof name, "-");
      appendTo(name, sizeof name, number);
    }
    appendTo(name, sizeof name, kDamagedExtension);
    if (!joinPath(folderPath, name, aside, asideBytes)) break;
    if (moveFile(path, aside, MOVEFILE_WRITE_THROUGH)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  aside[0] = '\0';
  return false;
}

struct Candidate {
  Slot slot;
  unsigned long long written;
  bool ofCurrentAudio;  // its audio file is the player's current entry
  char* bytes;          // the copy's bytes, global memory
  size_t size;
};

struct Search {
  int folder;
  const char* currentAudio;
  Candidate found[kCandidatesMax];
  int count;
  RecoveryStart* start;
};

// Looks at one copy: held by a running player, unreadable now, damaged, empty or a sheet to
// take back (kept as a candidate, its lock held).
bool lookAtCopy(const char* name, void* context) {
  Search* search = (Search*)context;
  int number = slotNumberOfName(name);
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
    if (!search->start->setAside[0])
      setAside(c.slot.copyPath, search->folder, search->start->setAside, sizeof search->start->setAside);
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
  c.ofCurrentAudio = sheet.utf8 && sheet.audioPath[0] && search->currentAudio && search->currentAudio[0] &&
                     samePath(sheet.audioPath, search->currentAudio);
  ++search->count;
  return true;
}

// Whether candidate a comes back before b: the current entry's first, then the newer.
bool comesFirst(const Candidate& a, const Candidate& b) {
  if (a.ofCurrentAudio != b.ofCurrentAudio) return a.ofCurrentAudio;
  return a.written > b.written;
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

bool takeBackCopy(const char* currentAudio, RecoveryStart* start, Slot* taken) {
  // The candidates hold a path each: too large for the stack of a player's thread.
  Search* search = (Search*)GlobalAlloc(GPTR, sizeof(Search));
  if (!search) return false;
  search->start = start;
  search->currentAudio = currentAudio;
  char folder[kPathBytes];
  for (search->folder = 0; search->folder < kDataFolderCount; ++search->folder)
    if (dataFolder(search->folder, false, folder, sizeof folder))
      forEachFileIn(folder, kCopyPattern, lookAtCopy, search);
  int chosen = -1;
  for (int i = 0; i < search->count; ++i)
    if (chosen < 0 || comesFirst(search->found[i], search->found[chosen])) chosen = i;
  for (int i = 0; i < search->count; ++i) {
    Candidate& c = search->found[i];
    if (i == chosen) {
      takeBack(c, &start->sheet);
      start->restored = start->sheet.text != nullptr;
      *taken = c.slot;
      useSlotTag(c.slot);
    } else {
      releaseSlot(&c.slot);  // stays for a later start
    }
    GlobalFree(c.bytes);
  }
  start->othersWaiting = chosen < 0 ? 0 : search->count - 1;
  GlobalFree(search);
  return chosen >= 0;
}
