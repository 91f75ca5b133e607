// The edits of a cue sheet's text that the capture code applies to the Cue window's editor:
// the text edits themselves, the sheet's tracks and FILE blocks, the caret's mark and moving it,
// and placing a new entry.
#pragma once

#include "sheetMarks.h"
#include "sheetPlace.h"
#include "sheetTracks.h"
#include "textEdit.h"
