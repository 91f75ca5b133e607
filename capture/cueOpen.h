// Open...: a cue sheet from a file into the editor, every line of it kept, remembered with its
// file and the way that file was written, so that Save writes it back alike.
#pragma once

#include <windows.h>

// Shows the Open dialog (boxes owned by owner) and puts the chosen sheet into the editor. A file
// that cannot be read, is larger than 4 MiB or holds a NUL byte is refused with a box that says
// why, and the editor is left as it was. Returns whether a sheet came in.
bool openCueSheet(HWND owner);
