// Listening to the mark of the track the caret stands in, and moving it by frames: the user
// checks a mark by ear and puts it on the boundary without retyping times.
#pragma once

// Plays from the listen lead before the caret's mark (starting playback when stopped or
// paused). Nothing happens without a mark.
void listenToMark();

// Moves the caret's mark by frames (75 a second; negative is earlier, never below 00:00:00) as
// one undo step, keeps the caret on its line, and listens. Nothing happens without a mark.
void moveMark(long long frames);

// One frame, or one second while Shift is held in the message being handled.
long long nudgeStep();
