// The recovery copy of the sheet as text: a UTF-8 BOM and REM lines, which cue readers skip, then
// the Cue window's text byte for byte (UTF-8), so that a user who finds the file can open the
// sheet as it was.
//   REM LUMOMARKER-UNSAVED 5 1234           (the next entry's number, then the text's size)
//   REM LUMOMARKER-AUDIO D:\mixes\set.flac
//   REM LUMOMARKER-OPENED u10 D:\mixes\set.cue   (when the sheet was opened from a file: how that
//                                                 file was written, and its path)
//   REM LUMOMARKER-NEXT Artist - Title      (a line of the tracklist still to be marked; one each)
// Copies of earlier versions have no BOM, no OPENED or NEXT lines, and hold text in the ANSI
// code page.
#pragma once

#include <cstddef>

#include "../base/limits.h"

// The largest sheet text a copy may carry; a larger file is no copy of ours.
const size_t kRecoveryTextMaxBytes = 16 * 1024 * 1024;
// The largest tracklist a copy may carry.
const size_t kRecoveryTracklistMaxBytes = 4 * 1024 * 1024;
// A copy's first lines at their longest, without the tracklist.
const size_t kRecoveryHeaderBytes = 2 * kPathBytes + 160;
const size_t kOpenedFormBytes = 8;  // the code of how an opened file was written

struct CopyHeader {
  int nextEntry;            // 1 or more
  size_t textBytes;
  const char* audioPath;
  const char* openedPath;   // empty or null: the sheet was not opened from a file
  const char* openedForm;   // a code of letters and digits, shorter than kOpenedFormBytes
  const char* tracklist;    // its lines (CR LF, LF or CR ends them; blank ones are left out)
  size_t tracklistBytes;
};

// The size of the copy's header for these facts, and the header written into out (outBytes in
// all); 0 when out is smaller, a path is longer than a path may be or holds a line break, the
// form code is too long, the tracklist is too large or holds a NUL, or nextEntry is below 1.
size_t recoveryHeaderBytes(const CopyHeader& header);
size_t formatRecoveryHeader(const CopyHeader& header, char* out, size_t outBytes);

struct RecoveredSheet {
  bool utf8;         // the copy has its BOM; without one, text and path are in the ANSI code page
  int nextEntry;
  const char* text;  // inside the bytes given to parseRecovery; not terminated
  size_t textBytes;
  char audioPath[kPathBytes];
  char openedPath[kPathBytes];      // empty when the sheet was not opened
  char openedForm[kOpenedFormBytes];
  const char* tracklistAt;          // the NEXT lines inside the bytes
  size_t tracklistLinesBytes;
};

// Reads a copy from its bytes; false when it is not a whole copy of ours: no header, numbers out
// of range, cut short or longer than its header says, too large, a control character in a path,
// or a NUL in the text (which no editor holds; any other byte is the sheet's own).
bool parseRecovery(const char* bytes, size_t size, RecoveredSheet* sheet);

// The recovered tracklist, its lines joined by CR LF, into out (outBytes in all, at least
// sheet.tracklistLinesBytes + 1); returns its length.
size_t recoveredTracklist(const RecoveredSheet& sheet, char* out, size_t outBytes);
