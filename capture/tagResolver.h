// The tag callbacks given to the player's title formatter.
#pragma once

#include <cstddef>

#include "../host/hostContract.h"

// What the plug-in's own tags say about the entry being formatted. The controller owns it and
// fills it in before it asks the player to format; the resolver only reads it.
struct TagRecord {
  const char* title;       // typed in the Info window
  const char* performer;
  int entryNumber;         // %trackcount%
  int positionMs;          // %curpos%: the mark less the reaction time
  size_t valueBytesMax;    // values other than paths and times are cut to this (kValueBytes: none)
};

// The record read by the callbacks from now on (kept by the caller); null: none.
void setTagRecord(const TagRecord* record);

// Returns the value of one %tag% as a zero-filled global-memory block that the formatter owns
// until it hands it to freeTagValue, or null when the tag has no value (never an empty text).
char* __cdecl resolveTag(const char* tag, void* context);

// Frees a value block that resolveTag returned.
void __cdecl freeTagValue(char* value, void* context);
