// The tag callbacks given to the player's title formatter.
#pragma once

#include "../host/hostContract.h"

// Returns the value of one %tag% as a zero-filled global-memory block that the formatter owns
// until it hands it to freeTagValue, or null when the tag has no value (never an empty text).
char* __cdecl resolveTag(const char* tag, void* context);

// Frees a value block that resolveTag returned.
void __cdecl freeTagValue(char* value, void* context);
