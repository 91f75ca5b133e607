// Pure text work behind the tag values: times, path pieces and literal values.
#pragma once

#include <cstddef>

// Cue time "MM:SS:FF" of a position in milliseconds: total minutes (at least two digits, no
// wrap at the hour), seconds, and frames of 1/75 s, truncated. Negative positions give 00:00:00.
void formatCuePosition(int positionMs, char* out, size_t outBytes);

// Track length in whole seconds: "MM:SS", or "HH:MM:SS" once there are hours.
void formatTrackLength(int seconds, char* out, size_t outBytes);

// Path pieces. A separator found only at the very first character counts as none, and the
// whole path is the result then.
// Both '\' and '/' separate folders.
void fileNameOf(const char* path, char* out, size_t outBytes);   // after the last separator
void fileDirOf(const char* path, char* out, size_t outBytes);    // before the last separator
void fileExtOf(const char* path, char* out, size_t outBytes);    // after the last '.'

// The cue sheet's file type for an audio file, by the extension of its file name in any letter
// case: "MP3" for .mp3, "AIFF" for .aif and .aiff, "WAVE" for everything else (FLAC, WAV, APE,
// OGG, a stream...). Empty for an empty path.
void fileTypeOf(const char* path, char* out, size_t outBytes);

// Keeps the last two characters (UTF-8) of a text, in place; a shorter text stays whole.
void keepLastTwo(char* text);

// Copies a value so that it reaches the sheet as it stands: each backslash is doubled (the
// escape filter halves it again) and a double quote, which a cue sheet cannot hold inside a
// quoted field, becomes a single quote. Cut to fit outBytes without splitting a doubled pair or
// a UTF-8 character.
void literalTagValue(const char* value, char* out, size_t outBytes);
