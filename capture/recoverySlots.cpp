// Naming, taking and releasing the slots of recovery copies.
#include "recoverySlots.h"

#include "../base/asciiText.h"
#include "../base/text.h"
#include "../store/fileSystem.h"
#include "../store/pluginFolder.h"

const char kCopyPattern[] = "lumo_unsaved*.cue";

namespace {

const char kStem[] = "lumo_unsaved";
const char kCopyExtension[] = ".cue";
const char kLockExtension[] = ".lock";
const char kTempExtension[] = ".tmp";
const int kSlotsMax = 35;  // slot numbers 1..35 give one tag character each: 1..9, a..z
const size_t kNameBytes = 64;

// "lumo_unsaved.cue" for number 1, "lumo_unsaved-N.cue" for the others, into name (nameBytes);
// same with the other extensions.
void slotName(int number, const char* extension, char* name, size_t nameBytes) {
  copyText(name, nameBytes, kStem);
  if (number > 1) {
    char digits[kNumberTextBytes];
    formatInt(digits, sizeof digits, number);
    appendTo(name, nameBytes, "-");
    appendTo(name, nameBytes, digits);
  }
  appendTo(name, nameBytes, extension);
}

char tagOf(int number) { return (char)(number < 10 ? '0' + number : 'a' + number - 10); }

}  // namespace

void clearSlot(Slot* slot) {
  slot->folder = -1;
  slot->number = 0;
  slot->lock = INVALID_HANDLE_VALUE;
  slot->copyPath[0] = '\0';
  slot->tempPath[0] = '\0';
}

int slotNumberOfName(const char* name) {
  size_t stem = sizeof kStem - 1;
  size_t length = textLength(name, kNameBytes);
  size_t extension = sizeof kCopyExtension - 1;
  if (length < stem + extension) return 0;
  if (textsEqual(name + stem, kCopyExtension)) return 1;
  if (name[stem] != '-') return 0;
  int number = 0;
  size_t at = stem + 1;
  for (; at < length - extension && isDigit(name[at]) && number <= kSlotsMax; ++at)
    number = number * 10 + (name[at] - '0');
  bool whole = at == length - extension && at > stem + 1 && textsEqual(name + at, kCopyExtension);
  return whole && number >= 2 && number <= kSlotsMax ? number : 0;
}

bool takeSlot(int folder, int number, Slot* slot) {
  char path[kPathBytes];
  char name[kNameBytes];
  clearSlot(slot);
  if (!dataFolder(folder, folder > 0, path, sizeof path)) return false;
  slotName(number, kLockExtension, name, sizeof name);
  char lockPath[kPathBytes];
  if (!joinPath(path, name, lockPath, sizeof lockPath)) return false;
  slotName(number, kCopyExtension, name, sizeof name);
  if (!joinPath(path, name, slot->copyPath, sizeof slot->copyPath)) return false;
  slotName(number, kTempExtension, name, sizeof name);
  if (!joinPath(path, name, slot->tempPath, sizeof slot->tempPath)) return false;
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

bool takeFreeSlotIn(int folder, Slot* slot) {
  for (int number = 1; number <= kSlotsMax; ++number) {
    if (!takeSlot(folder, number, slot)) {
      if (GetLastError() == ERROR_SHARING_VIOLATION) continue;
      return false;  // the folder takes no file
    }
    if (!isFile(slot->copyPath)) {
      useSlotTag(*slot);
      return true;
    }
    releaseSlot(slot);
  }
  return false;
}

void useSlotTag(const Slot& slot) { setPlayerTag(tagOf(slot.number)); }
