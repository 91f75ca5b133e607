// The bytes of a cue file in the encoding chosen on the General page: ASCII as it stands, else
// UTF-8 (with a BOM and a REM line first under Automatic), or the ANSI code page, which is never
// written with a '?' standing in for a character it lacks: the user is asked first.
#pragma once

#include <windows.h>

#include <cstddef>

#include "../sheet/cueEncoding.h"

// A cue file's bytes in global memory with room for two more (the closing line break writeCueFile
// may add); free them with freeCueBytes.
struct CueBytes {
  char* bytes;
  size_t length;
  int encoding;       // what they are in: kEncodingUtf8 or kEncodingAnsi (ASCII counts as either)
  Utf8Form utf8Form;  // with kEncodingUtf8: whether a BOM and the marker line come first
};

// Composes the file bytes of text (UTF-8, length bytes) in encoding (a CueEncoding); with
// kEncodingUtf8, utf8Form (when given) says whether a BOM and the marker line come first. With
// ANSI and characters the code page lacks, a box owned by owner lists up to 10 of them and asks
// "Save it as UTF-8 instead?": Yes gives the Automatic form (out says so), No gives false
// (nothing to write).
// False too when memory is short.
bool composeCueBytes(const char* text, size_t length, int encoding, const Utf8Form* utf8Form, HWND owner,
                     CueBytes* out);
void freeCueBytes(CueBytes* bytes);
