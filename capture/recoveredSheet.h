// What a start takes back of an earlier copy: the sheet and its state, and what it found
// besides. Filled by the start-up search (recoveryStart.cpp), handed out by startRecovery.
#pragma once

#include "../base/limits.h"

struct RestoredSheet {
  char* text;  // global memory, NUL-terminated; free it with freeRestoredSheet
  int nextEntry;
  char audioPath[kPathBytes];
  char openedPath[kPathBytes];
  char openedForm[kPathBytes];
  char* tracklist;  // global memory, NUL-terminated, or null
};

struct RecoveryStart {
  bool restored;              // sheet holds a copy taken back
  RestoredSheet sheet;
  int othersWaiting;          // copies besides it that no running player holds: later starts take them
  char setAside[kPathBytes];  // where a damaged copy was moved; empty when none was
};
