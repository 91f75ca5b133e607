// The cue file's name, beside the audio file it describes.
#pragma once

#include <cstddef>

enum CuePathResult {
  kCuePathOk,
  kCuePathNoFile,   // no current file: the player gave no path
  kCuePathStream,   // the entry is a stream (a URL such as http://...), not a file
  kCuePathTooLong,  // the cue file's path would not fit
};

// Whether a playlist entry is a stream address ("scheme://...") rather than a file path.
bool isStreamPath(const char* entryPath);

// Writes into out (outBytes in all) the entry path with the extension of its file name
// replaced by "cue" (the text after the last '.' that follows the last separator); a file name
// without a '.' gets ".cue" appended. Folders are never touched. out is empty on failure.
CuePathResult makeCuePath(const char* entryPath, char* out, size_t outBytes);

// The name a Save As dialog proposes for the sheet of an audio file or stream: the last part of
// its path or address with the extension "cue", without characters a file name cannot hold
// ("cue sheet.cue" when nothing is left). Never empty when outBytes > 13.
void proposeCueName(const char* audioPath, char* out, size_t outBytes);
// The same with another extension (without its dot): "cue sheet.<extension>" when nothing is left.
void proposeFileName(const char* audioPath, const char* extension, char* out, size_t outBytes);
