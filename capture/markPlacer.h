// Where a mark goes on its recording's audio: the end of a silence near the key press, when the
// player decoded that part of the file and "Place marks where a silence ends" is on; where the
// key was pressed otherwise. Also the Snap of a mark that stands.
#pragma once

#include <cstddef>

#include "../audio/markSnap.h"

// The user reads this much about a placement (UTF-8).
const size_t kPlacementTextBytes = 160;

// The position (ms) the entry of a key press takes in the file at path (UTF-8): pressMs is the
// key's position less the reaction time, keyMs the key's own. why (kPlacementTextBytes) gets what
// the user reads about it, empty when the mark stays where it was pressed.
int placeMarkOnAudio(const char* path, int pressMs, int keyMs, char* why);

// The Snap of a mark at markFrames in the file at path: the nearest silence end or change point
// within a second, as the decoded audio gives it; said (kPlacementTextBytes) gets what the user
// reads about it, why nothing moves among it (no decoder in the player, a file it refuses).
SnapAnswer snapMarkOnAudio(const char* path, long long markFrames, char* said);

// The first millisecond within a frame: the position whose frame, floored, is frame.
int msOfFrame(long long frame);
