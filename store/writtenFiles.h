// The contents of the cue files the plug-in wrote, and the backups it made, remembered across
// restarts (in a small notes file in the data folder), so that a backup holding a user's own
// sheet is never written over: only a backup the plug-in itself made, still as it made it, may
// be replaced.
#pragma once

#include <cstddef>

// Notes that the plug-in wrote these bytes to a file.
void noteWrittenContent(const char* bytes, size_t length);

// Whether the file at path holds bytes that the plug-in wrote (as noted, in this run or an
// earlier one). False for a file that cannot be read.
bool fileHoldsWrittenContent(const char* path);

// Notes that the plug-in made the backup at path (UTF-8), with the content it holds now.
void noteBackupMade(const char* path);

// Whether the file at path is a backup the plug-in made there and still holds what it held
// then: a copy the user made of a file the plug-in wrote is not one, nor a backup changed since.
bool isBackupWeMade(const char* path);
