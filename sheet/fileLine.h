// The FILE lines of a sheet that spans several files: naming a recording in a new FILE line, and
// finding the recording a FILE line names. A name stands relative to the sheet's own folder when
// the file lies there, and as a full path otherwise.
#pragma once

#include <cstddef>

// Whether a path is a full one: a drive and a root ("C:\..."), a share ("\\server"), or a root
// of the current drive ("\mixes").
bool isAbsolutePath(const char* path, size_t length);

// `FILE "<name>" <type>` (no line break) for the recording at audioPath in a sheet kept in
// sheetFolder (no closing separator; empty: the full path is used): the name is the file name
// when the file lies in that folder, else its full path; the type is its cue file type (MP3,
// AIFF or WAVE). Written to out (outBytes in all); returns the length, 0 when it does not fit.
size_t composeFileLine(const char* audioPath, const char* sheetFolder, char* out, size_t outBytes);

// The recording a FILE line's name (nameLength bytes, not terminated) stands for: the name
// itself when it is a full path, else the name in sheetFolder. Written to out (outBytes);
// false when it does not fit or there is no folder for a relative name.
bool resolveFileName(const char* name, size_t nameLength, const char* sheetFolder, char* out, size_t outBytes);

// The folder of a path (without the closing separator) into out; empty for a bare name.
void folderOf(const char* path, char* out, size_t outBytes);
