// Export...: the sheet's tracks as chapters for every place a mix goes (video and mix sites,
// FFmpeg, Matroska, WebVTT, podcasts, Audacity), in the format the Save As dialog's type chooses.
#pragma once

#include <windows.h>

// Shows the Save As dialog, named like the sheet's audio, and writes the chosen format there as a
// cue sheet is written (a temporary file replaced in one step, the earlier file kept as .bak),
// then says where, and what a video site would refuse. A sheet with no track says there is
// nothing to export. Boxes are owned by owner.
void exportCueSheet(HWND owner);
