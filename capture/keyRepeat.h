// A hot key held down sends its action again and again: first after the keyboard's repeat delay,
// then at its repeat rate. A tracklist mark takes one line for each press, not one for each
// repeat.
#pragma once

// Whether the press that just came repeats the tracklist mark taken last: a key that was down
// then is still down, and the press comes under 0.3 s after the one before it (taken or not), or
// before the keyboard's repeat delay and 0.3 s have passed since the mark. Notes the press.
bool hotKeyRepeats();

// The press that just came made a tracklist mark: the keys down now are the ones its repeats
// hold (Shift, Ctrl, Alt and the Windows keys aside: they go with every hot key).
void takeHotKeyPress();
