// Save: the sheet goes beside its own audio file, and when it cannot, the user is told why and
// may choose another place.
#pragma once

// Writes the Cue window's text to the cue file beside the sheet's audio file (the playlist
// entry current at its first entry; the current one for a sheet without entries) and says
// where it went. When it cannot be written there, a box says why and offers a Save As dialog.
// Ignored while another box of ours is open.
void saveCueSheet();
