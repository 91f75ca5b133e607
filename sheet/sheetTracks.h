// The structure of a cue sheet, read as cue readers (libcue, cuetools) read it; the edits, Listen
// and the nudges, the exports and the check all read tracks here. A FILE block runs from its FILE
// line up to the next FILE line; the lines before the first FILE line belong to block 0, and a
// sheet without FILE lines is block 0 alone. A track runs from its TRACK line up to the next
// TRACK line, whatever FILE lines stand between: a FILE line inside a track names the file of
// the INDEX lines after it, and the track's values (TITLE, PERFORMER) are the last of each in
// it. Values are read with readWord (sheetWords.h).
#pragma once

#include <cstddef>

#include "sheetLines.h"

struct FileBlock {
  size_t lineStart;   // where its FILE line starts
  size_t nameAt;      // the file name, without quotes
  size_t nameLength;
};

// The FILE lines of the text, in order; fills up to blocksMax of them (blocks may be null with
// blocksMax 0) and returns how many there are, which may exceed blocksMax.
size_t listFileBlocks(const char* text, size_t length, FileBlock* blocks, size_t blocksMax);

// The FILE block that holds position at: where it starts and ends, and its FILE line's name
// (nameLength 0 when no FILE line stands before at).
struct BlockBounds {
  size_t start;
  size_t end;
  size_t nameAt;
  size_t nameLength;
};
BlockBounds blockAt(const char* text, size_t length, size_t at);

// TRACK lines in a sheet; empty is set for a text of blanks and line breaks only (a new sheet).
int countTracks(const char* text, size_t length, bool* empty);

// The number the sheet's first TRACK line carries when it is 1 to 99 (a later disc's sheet starts
// at TRACK 05), else 1: the tracks of a sheet are numbered on from it.
int firstTrackNumber(const char* text, size_t length);

// One track as a scan finds it.
struct TrackFacts {
  size_t trackLine;  // where its TRACK line starts
  size_t end;        // where the next TRACK line (or the text's end) starts
  size_t numberAt;
  size_t numberLength;
  long long number;  // its TRACK number
  int trackBlock;    // the FILE block its TRACK line stands in
  int block;         // the FILE block of its INDEX 01 (without one, trackBlock): its recording
  bool hasIndex01;   // an INDEX 01 line with a valid time; of several, the last counts
  long long index01;
  SheetLine index01Line;
  size_t index01TimeAt;
  size_t index01TimeLength;
  bool hasIndex00;   // any INDEX 00 line before the INDEX 01
  bool ownPregap;    // that line is "INDEX 00 00:00:00" right before the INDEX 01 line, which
                     // the first track of a sheet carries when its INDEX 01 is later
  SheetLine pregapLine;
  bool hasFirstIndex;      // any INDEX line with a valid time
  long long firstIndex;    // the first of them, its number and its line
  int firstIndexNumber;
  SheetLine firstIndexLine;
  Span title;        // its last TITLE's value, empty (length 0) when it has none
  Span performer;    // its last PERFORMER's value
};

// Where a scan of tracks stands; start it as {0, 0}.
struct TrackScan {
  size_t at;
  int fileLines;  // FILE lines passed
};

// The next track from the scan's place; false when no TRACK line follows.
bool nextTrack(const char* text, size_t length, TrackScan* scan, TrackFacts* track);

// The sheet's own TITLE and PERFORMER: the last of each before the first TRACK line (empty when
// there is none).
struct SheetHeader {
  Span title;
  Span performer;
};
SheetHeader readSheetHeader(const char* text, size_t length);

extern const char kPregapLine[];  // the INDEX 00 line the first track gets, without indentation

// Appends the INDEX 00 00:00:00 line, indented like the line index01 of text, with a CR LF to
// out (outBytes in all) at *at; false when it does not fit.
bool putPregapLine(char* out, size_t outBytes, size_t* at, const char* text, const SheetLine& index01);

// The sheet's first track carries its own INDEX 00 00:00:00 exactly while its INDEX 01 is later:
// what a change does to that line of track, which was the first (wasFirst) and is now (isFirst),
// its INDEX 01 now at index01 frames.
enum PregapChange { kPregapKeep, kPregapAdd, kPregapRemove };
PregapChange pregapChange(const TrackFacts& track, bool wasFirst, bool isFirst, long long index01);
