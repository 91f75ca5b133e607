// Listening to the mark of the track the caret stands in, and moving it by frames: the user
// checks a mark by ear and puts it on the boundary without retyping times. Both act only on the
// sheet's own audio file: another recording playing would be heard, and marked, wrongly.
#pragma once

#include <cstddef>

enum MarkToolResult {
  kMarkToolDone,
  kMarkToolNoMark,     // the caret's track has no mark: nothing happens
  kMarkToolOtherFile,  // the player's current entry is not the sheet's audio file: nothing moves
};

// Plays from the listen lead before the caret's mark (starting playback when stopped or
// paused). With kMarkToolOtherFile, fileName (fileNameBytes) gets the name of the file to play.
MarkToolResult listenToMark(char* fileName, size_t fileNameBytes);

// Moves the caret's mark by frames (75 a second; negative is earlier, never below 00:00:00) as
// one undo step, keeps the caret on its line, and listens.
MarkToolResult moveMark(long long frames, char* fileName, size_t fileNameBytes);

// One frame, or one second while Shift is held in the message being handled.
long long nudgeStep();
