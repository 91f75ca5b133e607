// One cue sheet's tracks written as chapters in six formats, from the sheet's text alone.
#pragma once

#include <cstddef>

enum ExportFormat {
  kExportVideoChapters,    // "M:SS Performer - Title" lines for video and mix sites
  kExportFfmetadata,       // FFmpeg's ;FFMETADATA1 file
  kExportMatroska,         // Matroska simple chapters (CHAPTERnn=, CHAPTERnnNAME=)
  kExportWebVtt,           // WebVTT cues
  kExportPodcastJson,      // podcast chapters JSON 1.2.0
  kExportAudacityLabels,   // Audacity's label track text
  kExportFormatCount
};

// The rules video sites keep for a chapter list in a description, as the written list breaks
// them.
enum VideoRule : unsigned {
  kVideoFirstNotAtZero = 1,   // the first entry's own time is not 0:00 (it is written as 0:00)
  kVideoTooFewEntries = 2,    // fewer than three entries
  kVideoEntryTooShort = 4,    // an entry shorter than 10 s (the last one only when the length is known)
  kVideoNotAscending = 8,     // an entry not later than the one before it
};

const long long kVideoEntrySecondsMin = 10;
const int kVideoEntriesMin = 3;

// What an export found, for the caller to tell the user. Filled the same for every format.
struct ExportReport {
  int tracks;           // chapters written: 0 means there is nothing to export
  int leftOut;          // tracks of a second or later FILE block, not written
  int skipped;          // TRACK blocks without a valid INDEX 01, not written
  unsigned videoRules;  // the VideoRule flags the video chapter list breaks
  int shortEntry;       // the first entry (from 1) shorter than 10 s; 0 when none
  int unorderedEntry;   // the first entry (from 1) not later than the one before; 0 when none
  long long firstStart; // the first chapter's own start, in frames (the video list puts it at 0)
  int backslashEnds;    // FFmpeg values that ended in a backslash and got a blank after it: its
                        // reader takes a line ending in one as going on (0 in other formats)
};

// The exact size in bytes (no NUL) of the export of sheet (length bytes of UTF-8, not
// terminated) in format; lengthFrames is the audio's length in frames of 1/75 s, < 0 when
// unknown.
size_t exportBytes(const char* sheet, size_t length, ExportFormat format, long long lengthFrames);

// The file name ending of each format's file: "chapters.txt", "ffmeta", "mkvchapters.txt",
// "vtt", "json", "labels.txt" (without the dot); three formats are text files, and the names tell
// them apart.
const char* exportExtension(ExportFormat format);

// Gives a path (UTF-8, pathBytes in all) the ending of format when it ends with another format's
// (".ffmeta" for format's ".vtt"; letter case aside): the name a Save As dialog proposed for one
// type, kept when the user chose another. Any other path stays. Returns whether it changed; a path
// that would not fit stays too.
bool retypeExportPath(char* path, size_t pathBytes, ExportFormat format);

// Writes the export into out (outBytes bytes in all) and terminates it when outBytes > 0; an out
// smaller than exportBytes + 1 gets the output cut between whole characters. Fills report when
// not null. Returns the bytes written, without the NUL. The output is UTF-8 without a BOM, its
// lines end with LF, and invalid UTF-8 in the sheet comes out as U+FFFD.
size_t exportSheet(const char* sheet, size_t length, ExportFormat format, long long lengthFrames,
                   char* out, size_t outBytes, ExportReport* report);
