// The recovery copy of the sheet as text: a UTF-8 BOM, two REM lines, which cue readers skip,
// then the Cue window's text byte for byte (UTF-8), so that a user who finds the file can open
// the sheet as it was.
//   REM LUMOMARKER-UNSAVED 5 1234        (the next entry's number, then the text's size)
//   REM LUMOMARKER-AUDIO D:\mixes\set.flac
// Copies of earlier versions have no BOM and hold text in the ANSI code page.
#pragma once

#include <cstddef>

#include "../base/limits.h"

// The largest sheet text a copy may carry; a larger file is no copy of ours.
const size_t kRecoveryTextMaxBytes = 16 * 1024 * 1024;
// Room for the two header lines at their longest: both numbers and a path of kPathBytes.
const size_t kRecoveryHeaderBytes = kPathBytes + 140;

// Writes the BOM and the two header lines (each ending in CR LF) into out, which must hold
// kRecoveryHeaderBytes; returns their length, or 0 when out is smaller, the path is longer than
// a path may be or nextEntry is below 1.
size_t formatRecoveryHeader(char* out, size_t outBytes, int nextEntry, size_t textBytes,
                            const char* audioPath);

struct RecoveredSheet {
  bool utf8;         // the copy has its BOM; without one, text and path are in the ANSI code page
  int nextEntry;
  const char* text;  // inside the bytes given to parseRecovery; not terminated
  size_t textBytes;
  char audioPath[kPathBytes];
};

// Reads a copy from its bytes; false when it is not a whole copy of ours: no header, numbers out
// of range, cut short or longer than its header says, too large, a control character in the
// path, or a NUL in the text (which no editor holds; any other byte is the sheet's own).
bool parseRecovery(const char* bytes, size_t size, RecoveredSheet* sheet);
