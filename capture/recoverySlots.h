// The places of recovery copies, shared by the copy's keeper (recovery.cpp) and the start-up
// search (recoveryStart.cpp); nothing else includes this. Each running player holds one slot:
// a number in one of the data folders, its copy lumo_unsaved[-N].cue held by a lock file opened
// without sharing, which the system deletes when the player ends, however it ends.
#pragma once

#include <windows.h>

#include "../base/limits.h"
#include "recoveredSheet.h"

struct Slot {
  int folder;  // data folder index, -1: none
  int number;
  HANDLE lock;
  char copyPath[kPathBytes];
  char tempPath[kPathBytes];
};

// An empty slot, holding nothing.
void clearSlot(Slot* slot);

// The slot number a copy's file name stands for; 0 for any other name (a damaged copy).
int slotNumberOfName(const char* name);
// The name pattern of every copy.
extern const char kCopyPattern[];

// Takes slot `number` in data folder `folder`: its lock opened without sharing. Fails while
// another player holds it (last error ERROR_SHARING_VIOLATION), or when the folder takes no file.
bool takeSlot(int folder, int number, Slot* slot);
void releaseSlot(Slot* slot);
// A new slot in data folder `folder`: the first number that takes a lock and has no copy of
// another player's (held, or left for a later start). This player's tag follows the slot's
// number. False when the folder has none or takes no file.
bool takeFreeSlotIn(int folder, Slot* slot);
// Makes the slot this player's: its tag follows the slot's number.
void useSlotTag(const Slot& slot);

// The start-up search (recoveryStart.cpp): takes back the copy that no running player holds
// whose audio file is currentAudio (UTF-8; empty: none), else the newest one, into start, its
// slot into taken (the lock held); a damaged copy is set aside. False when there is none to take.
bool takeBackCopy(const char* currentAudio, RecoveryStart* start, Slot* taken);
