// Walking a cue sheet's lines and reading the TRACK and INDEX lines the plug-in's entries hold.
// The text is not terminated: every function takes its length and never reads past it.
#pragma once

#include <cstddef>

#include "../base/textLines.h"
#include "sheetWords.h"

// A line of the sheet, read with readLine.
using SheetLine = TextLine;

// The line that holds position at.
SheetLine lineHolding(const char* text, size_t length, size_t at);

// Where the line's first word starts (after blanks and TABs).
size_t firstWord(const char* text, const SheetLine& line);

// Whether the line's first word is keyword, in capitals, followed by a blank or the line's end;
// argument gets where what follows it starts (after blanks).
bool lineKeyword(const char* text, const SheetLine& line, const char* keyword, size_t* argument);

// A "TRACK <number> ..." line: where its number stands and what it is; false for any other line
// or a TRACK line without digits.
bool readTrackLine(const char* text, const SheetLine& line, size_t* numberAt, size_t* numberLength,
                   long long* number);

struct IndexLine {
  int number;         // the index number, 0 to 99
  size_t timeAt;      // where its time stands
  size_t timeLength;
  bool timeValid;     // the time is a whole m:ss:ff
  long long frames;   // the time, when valid
};

// An "INDEX <n> <time>" line, its number of one or two digits; false for any other line or one
// without such a number.
bool readIndexLine(const char* text, const SheetLine& line, IndexLine* index);

// A "FILE <name> <type>" line: where its name stands (the first word after FILE, see readWord;
// without the quotes of a quoted name); false for any other line.
bool readFileLine(const char* text, const SheetLine& line, size_t* nameAt, size_t* nameLength);

// The value of a line whose keyword ends before at: its first word (see readWord), without the
// quotes of a quoted one; empty, at the line's end, when there is none. What follows it is no
// part of it.
Span valueAt(const char* text, const SheetLine& line, size_t at);
