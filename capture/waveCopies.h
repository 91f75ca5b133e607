// The loudness envelope the Cue window's strip draws: for each file it shows, the minimum and
// maximum of every frame copied out of the decoded audio as it grows (2 bytes a frame, about
// 1 MB for 2 hours), so that it stays when the decoder gives its room to other files.
#pragma once

#include "../decode/decodedFiles.h"

struct WaveCopy {
  const signed char* minMax;  // frame n's minimum at 2n, its maximum at 2n + 1; null before any
  long long frames;           // frames copied
  long long totalFrames;      // the file's length once read whole; 0 before
  DecodedFile decoded;        // what the decoder holds of the file now (valid as decodedAudioOf's)
};

// The copy of the file at path (UTF-8), brought up to what the decoder has read. A file the
// decoder holds nothing of is asked for again while its copy is not whole. The array stays
// valid until the next call (it may move as it grows) or freeWaveCopies. Call on the player's
// thread.
WaveCopy waveCopyOf(const char* path);

// Frees every copy.
void freeWaveCopies();
