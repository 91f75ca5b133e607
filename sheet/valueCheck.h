// The sheet check's rules of single values: a track's ISRC, the disc's catalog number, and for a
// CD the CD-TEXT a value becomes and the recording a FILE line names. Each reports to result at
// line.
#pragma once

#include "audioFacts.h"
#include "sheetProblems.h"

void checkIsrc(SheetCheck* result, int line, Span code);
void checkCatalog(SheetCheck* result, int line, Span code);

// The value of keyword (TITLE, PERFORMER or SONGWRITER): at most 80 characters, all in Latin-1.
void checkCdText(SheetCheck* result, int line, Span keyword, Span text);

// The FILE line's file (name, type) is a WAV file of 44.1 kHz, 16 bits, two channels, as far as
// facts (may be null) tell.
void checkCdAudio(SheetCheck* result, int line, Span name, Span type, const AudioFacts* facts);
