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
  const char* path;        // the entry's recording (the file that played at the mark); null or
                           // empty: the player's current entry
};

// The record read by the callbacks from now on (kept by the caller); null: none.
void setTagRecord(const TagRecord* record);
const TagRecord* tagRecord();

// Returns the value of one %tag% as a zero-filled global-memory block that the formatter owns
// until it hands it to freeTagValue, or null when the tag has no value (never an empty text).
// For a player that formats in the ANSI code page: name and value are in it.
char* __cdecl resolveTag(const char* tag, void* context);
void __cdecl freeTagValue(char* value, void* context);

// The same in UTF-16; a tag without a value gives HOST_EMPTY_TAG_VALUE (every name is ours:
// the others are asked of the player's metadata reader).
wchar_t* __cdecl resolveTagWide(const wchar_t* tag, void* context);
void __cdecl freeTagValueWide(wchar_t* value, void* context);
