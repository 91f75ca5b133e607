// The FILE lines of a sheet that spans several files: naming a recording in a new FILE line, and
// finding the recording a FILE line names. A name stands relative to the sheet's own folder when
// the file lies there or below it, and as a full path otherwise.
#pragma once

#include <cstddef>

// Whether a path is a full one: a drive and a root ("C:\..."), a share ("\\server"), or a root
// of the current drive ("\mixes").
bool isAbsolutePath(const char* path, size_t length);

// `FILE "<name>" <type>` (no line break) for the recording at audioPath in a sheet kept in
// sheetFolder (no closing separator; empty: the full path is used): the name is the path from
// that folder when the file lies in it or in a folder below it ("cd2.flac", "disc 2\cd2.flac"),
// else its full path; the type is its cue file type (MP3, AIFF or WAVE). Written to out
// (outBytes in all); returns the length, 0 when it does not fit.
size_t composeFileLine(const char* audioPath, const char* sheetFolder, char* out, size_t outBytes);

// The recording a FILE line's name (nameLength bytes, not terminated) stands for: the name
// itself when it is a full path, else the name in sheetFolder, its "." and ".." parts resolved
// (see normalizePath). Written to out (outBytes); false when it does not fit or there is no
// folder for a relative name.
bool resolveFileName(const char* name, size_t nameLength, const char* sheetFolder, char* out, size_t outBytes);

// Rewrites a path in place with '\' for '/', without empty and "." parts, each ".." taking the
// part before it away ("D:\a\..\b\.\c.wav" is "D:\b\c.wav"); a ".." at the root of a full path
// goes. Returns the new length.
size_t normalizePath(char* path);

// How a FILE line's name (as resolveFileName reads it) stands for the recording at audioPath:
// the same path, or the same folder and base name with another extension (a rip re-encoded:
// "show.wav" names "show.flac"), or neither. Letter case does not count, nor '/' against '\'.
enum FileMatch { kFileMatchNone, kFileMatchBaseName, kFileMatchPath };
FileMatch matchFileLine(const char* name, size_t nameLength, const char* sheetFolder, const char* audioPath);

// The folder of a path (without the closing separator) into out; empty for a bare name.
void folderOf(const char* path, char* out, size_t outBytes);
