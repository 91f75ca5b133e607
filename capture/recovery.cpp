// Keeping this player's recovery copy: written on the file writer's thread (the player's thread
// only composes it, and never waits for the disk), moved to the other data folder when a write
// fails. The copy written last stays, and its slot stays held, until a newer copy stands.
#include "recovery.h"

#include "../sheet/recoveryText.h"
#include "../store/fileSystem.h"
#include "../store/fileWriter.h"
#include "../store/pluginFolder.h"
#include "recoverySlots.h"

namespace {

const DWORD kQuitWaitMs = 3000;

struct Recovery {
  Slot slot;      // where copies are written now
  Slot previous;  // a place whose copy is the last one written, kept until one stands in slot
  bool told;      // the user heard in this session that no copy can be written
  bool retried;   // the last write failed and the copy moved to the other folder
  LPARAM place;   // counts the places the copy had: a notice of an earlier one is stale
};

Recovery gRecovery;

// A copy stands in the current place: the one in the place before is behind it now.
void dropPrevious() {
  if (gRecovery.previous.folder < 0) return;
  deleteFile(gRecovery.previous.copyPath);
  releaseSlot(&gRecovery.previous);
}

// A place for the copy from data folder firstFolder on: in the folder of the last copy written,
// that copy's own slot (its copy is replaced in one step), else a free slot.
bool takePlace(int firstFolder) {
  for (int f = 0; f < kDataFolderCount; ++f) {
    int folder = (firstFolder + f) % kDataFolderCount;
    if (gRecovery.previous.folder == folder) {
      gRecovery.slot = gRecovery.previous;
      clearSlot(&gRecovery.previous);
      useSlotTag(gRecovery.slot);
      return true;
    }
    if (takeFreeSlotIn(folder, &gRecovery.slot)) return true;
  }
  return false;
}

}  // namespace

void startRecovery(HWND notify, UINT doneMessage, const char* currentAudio, RecoveryStart* start) {
  *start = RecoveryStart();
  clearSlot(&gRecovery.slot);
  clearSlot(&gRecovery.previous);
  gRecovery.told = false;
  gRecovery.retried = false;
  startFileWriter(notify, doneMessage);
  if (!takeBackCopy(currentAudio, start, &gRecovery.slot)) takePlace(0);
}

void freeRestoredSheet(RestoredSheet* sheet) {
  if (sheet->text) GlobalFree(sheet->text);
  if (sheet->tracklist) GlobalFree(sheet->tracklist);
  sheet->text = nullptr;
  sheet->tracklist = nullptr;
}

void keepRecoveryCopy(const char* text, size_t length, const CopiedSheetState& state) {
  Slot& slot = gRecovery.slot;
  // Without a place (no folder took a copy yet), every change tries again.
  if (slot.folder < 0 && !takePlace(0)) return;
  bool tracklist = state.tracklist && state.tracklistBytes > 0;
  if ((!state.unsaved || length == 0) && !tracklist) {
    requestFileWrite(slot.copyPath, slot.tempPath, nullptr, 0, gRecovery.place);  // no copy
    return;
  }
  CopyHeader header = {state.nextEntry, length, state.audioPath, state.openedPath, state.openedForm,
                       state.tracklist, state.tracklistBytes};
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
    dropPrevious();
    return kRecoveryQuiet;
  }
  Slot& slot = gRecovery.slot;
  int next = slot.folder < 0 ? 0 : (slot.folder + 1) % kDataFolderCount;
  if (slot.folder >= 0) {
    // The copy that stands here is the last one written, unless one place before it still
    // waits for a newer copy: then nothing of this place was ever written.
    if (gRecovery.previous.folder < 0) gRecovery.previous = slot;
    else releaseSlot(&slot);
    clearSlot(&slot);
  }
  ++gRecovery.place;
  if (!gRecovery.retried && takePlace(next)) {
    gRecovery.retried = true;
    return kRecoveryRetry;
  }
  // Neither folder took it: the next change tries again from the first.
  gRecovery.retried = false;
  if (gRecovery.told) return kRecoveryQuiet;
  gRecovery.told = true;
  return kRecoveryTell;
}

bool closeRecovery(const char* text, size_t length, const CopiedSheetState& state) {
  keepRecoveryCopy(text, length, state);
  if (!stopFileWriter(kQuitWaitMs)) return false;  // the locks stay held until the process ends
  if (gRecovery.slot.folder >= 0 && lastFileWriteError() == 0) dropPrevious();
  releaseSlot(&gRecovery.previous);
  releaseSlot(&gRecovery.slot);
  return true;
}
