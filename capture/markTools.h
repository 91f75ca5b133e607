// Listening to the mark of the track the caret stands in, and moving it by frames: the user
// checks a mark by ear and puts it on the boundary without retyping times. Both act only on the
// sheet's own audio file: another recording playing would be heard, and marked, wrongly.
#pragma once

#include <cstddef>

#include "cueEditor.h"

enum MarkToolResult {
  kMarkToolDone,       // the mark moved, and it was listened to
  kMarkToolListened,   // it was listened to, and nothing moved (a limit held it, or Listen)
  kMarkToolNoMark,     // the caret's track has no mark: nothing happens
  kMarkToolOtherFile,  // the player's current entry is not the sheet's audio file: nothing moves
};

// Each tool acts on the caret's mark of sheet, the editor's text as read just before.

// Plays from the listen lead before the caret's mark (starting playback when stopped or
// paused). With kMarkToolOtherFile, fileName (fileNameBytes) gets the name of the file to play.
MarkToolResult listenToMark(const EditorText& sheet, char* fileName, size_t fileNameBytes);

// Moves the caret's mark by frames (75 a second; negative is earlier, never below 00:00:00, never
// past the marks beside it or the file's end), keeps the caret on its line, and listens.
MarkToolResult moveMark(const EditorText& sheet, long long frames, char* fileName, size_t fileNameBytes);

// The same to frame, listening there only with listen: a drag moves the mark many times and
// listens once, at its end.
MarkToolResult moveMarkTo(const EditorText& sheet, long long frame, bool listen, char* fileName,
                          size_t fileNameBytes);

// Moves the caret's mark to the nearest end of a silence, or else the strongest change point,
// within a second of it in the decoded audio of the recording that plays (never past the marks
// beside it: the nudge's limits), then listens; said (saidBytes) gets what the user reads about
// what it found. kMarkToolListened: nothing to move to.
MarkToolResult snapCaretMark(const EditorText& sheet, char* said, size_t saidBytes, char* fileName,
                             size_t fileNameBytes);

// Moves the caret's mark and every later mark of its file by frames: never
// below 00:00:00, never past the mark before them, never past the file's end when the player
// knows it; then listens at the caret's mark.
MarkToolResult shiftLaterMarks(const EditorText& sheet, long long frames, char* fileName,
                               size_t fileNameBytes);

