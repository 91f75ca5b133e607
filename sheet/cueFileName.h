// The cue file's name, beside the audio file it describes.
#pragma once

#include <cstddef>

enum CuePathResult {
  kCuePathOk,
  kCuePathNoFile,   // no current file: the player gave no path
  kCuePathTooLong,  // the cue file's path would not fit
};

// Writes into out (outBytes in all) the entry path with the extension of its file name
// replaced by "cue" (the text after the last '.' that follows the last '\'); a file name
// without a '.' gets ".cue" appended. Folders are never touched. out is empty on failure.
CuePathResult makeCuePath(const char* entryPath, char* out, size_t outBytes);
