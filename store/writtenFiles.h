// The contents of the cue files the plug-in wrote, remembered across restarts (in a small notes
// file in the data folder), so that a backup holding a user's own sheet is never written over:
// only a backup whose content the plug-in itself wrote may be replaced.
#pragma once

#include <cstddef>

// Notes that the plug-in wrote these bytes to a file.
void noteWrittenContent(const char* bytes, size_t length);

// Whether the file at path holds bytes that the plug-in wrote (as noted, in this run or an
// earlier one). False for a file that cannot be read.
bool fileHoldsWrittenContent(const char* path);

