// The waveform strip under the Cue editor: the audio around the caret's mark, or, while marks
// are being made, around the play position; the marks of the file shown (the caret's one
// highlighted), the silence ends and change points found there, and where the player is.
//
// Marking, the strip follows the play position: from a mark made with the hot key (or from the
// tracklist) on, while the player plays or pauses. The user looks at the caret's mark as soon
// as the caret moves in the editor by hand, a key or click reaches the editor, a mark button
// is pressed or the strip is clicked: the strip then stays on the caret's track until the next
// mark, or until playback that went through its range runs on past its end (a Listen heard
// out), or while the player is stopped.
#pragma once

#include <windows.h>

// The strip to keep up to date; null detaches it and frees the audio copies.
void attachStrip(HWND strip);

// Brings the strip up to date with the sheet, the caret, the player and the audio read so far;
// the strip is changed (and drawn) only where something changed.
void refreshStrip();

// A file begins to play: the current entry is asked for again.
void stripHearsFileStart();

// The line under the editor now speaks of the caret's mark (what Snap found): it is emptied
// once the caret stands on another mark.
void stripLineSpeaksOfCaretMark();

// The user looks at the caret's mark.
void lookAtCaretMark();
// A mark is being made: the strip follows the play position.
void followPlayPosition();

// The half-width the wheel chose, kept for the ranges to come.
void keepStripHalf(long long halfFrames);
// While a drag on the strip lasts, its range stays where it is.
void holdStripRange(bool hold);

// Whether the caret's mark stands on the strip as it was drawn last (highlighted): only then
// does a click on it move that mark.
bool stripShowsCaretMark();
