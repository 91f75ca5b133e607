// The mark of the caret's track in a cue sheet's text, and moving it: one mark (a nudge) or the
// marks of that track and every later one in its file (a shift). No window, no file: the capture
// code applies the edits to the Cue window's editor.
#pragma once

#include <cstddef>

#include "markTime.h"
#include "textEdit.h"

// The mark of the caret's track (see MarkTime); false when there is none, or its time is not a
// valid cue time.
bool findMark(const char* text, size_t length, size_t caret, MarkTime* mark);

// Moves the caret's mark by deltaFrames as one edit (one undo step): the time rewritten in
// place, and for the sheet's first track an INDEX 00 00:00:00 line added before an INDEX 01 that
// moves past the start, or removed when it moves back to it. The move stops one frame short of
// the valid INDEX times next to the mark in its FILE block (that INDEX 00 line aside), at
// 00:00:00, and at endFrames (the audio's length in frames) unless that is below 0. When the
// limits leave the time where it was, the edit changes nothing (removeLength 0, no text). False
// without a mark; newFrames gets the new time.
bool nudgeMark(const char* text, size_t length, size_t caret, long long deltaFrames,
               long long endFrames, TextEdit* edit, long long* newFrames);

// How many edits shiftMarks may write for this text.
size_t shiftEditsMax(const char* text, size_t length);

// Moves every valid INDEX time of the caret's track and of the later tracks in its FILE block by
// one amount, deltaFrames cut so that none goes below 00:00:00, the earliest stays one frame
// after the last INDEX time before them in the block, and the latest does not pass endFrames
// (unless that is below 0). The first track's INDEX 00 00:00:00 stays and is added or removed as
// by a nudge. Edits (sorted, not overlapping, at most editsMax) go to edits and their number to
// count (0 when the limits leave every time); caretTrackFrames gets the caret's mark's new
// time. False without a mark at the caret, or when editsMax is too few.
bool shiftMarks(const char* text, size_t length, size_t caret, long long deltaFrames,
                long long endFrames, TextEdit* edits, size_t editsMax, size_t* count,
                long long* caretTrackFrames);
