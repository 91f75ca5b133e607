// Saving the Cue window's sheet beside the current playlist entry's file.
#pragma once

#include <cstddef>

// Writes the editor's text to the cue file of the current entry and tells the user where it
// went, or why it was not saved.
void saveCueSheet();

// Writes text (length bytes) to path, creating or emptying the file, and adds CR LF when the
// text does not already end with a line break. Returns whether every byte was written.
bool writeCueFile(const char* path, const char* text, size_t length);
