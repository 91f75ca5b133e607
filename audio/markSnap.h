// Where a mark goes: the rule that moves a pressed mark to the end of a silence near it, offers
// a change point, or leaves it; and the Snap button's search near a mark.
#pragma once

#include <cstddef>

#include "frameFeatures.h"

const long long kPressWindowFrames = 150;  // 2 s either side of a press
const long long kSnapWindowFrames = 75;    // 1 s: the change point of a press, and the Snap button
const long long kLoudContextFrames = 225;  // 3 s either side: the loud level, and the change's context

// The audio the rule may read: the first frames of track, decoded so far, and whether they are
// the whole file (then a window may end at the file's end; otherwise it must be decoded whole).
struct DecodedAudio {
  const FeatureTrack* track;
  size_t frames;  // at most track->count
  bool wholeFile;
};

enum class SnapKind {
  Nothing,      // no silence end or change point near the mark
  NotDecoded,   // the frames around the mark are not decoded yet
  SilenceEnd,   // the first frame of sound after a silence
  ChangePoint,  // where one sound gives way to another
};

struct SnapAnswer {
  SnapKind kind;
  bool moves;          // the mark goes to frame (a change point from placeMark is only offered)
  long long frame;     // where the silence ends or the change is; the mark itself otherwise
  long long distance;  // frame less the mark given: negative when earlier
};

// Where a mark pressed at pressFrame (the key's time less the reaction offset, in frames) goes:
// to the end of the silence of at least 0.15 s that ends nearest to it within 2 s, if any
// (moves; a silence after the press counts only with at most 0.25 s of sound before it, see
// nearestSilenceEnd); otherwise a change point within 1 s that stands out from the 6 s around
// it is offered (does not move); otherwise nothing. NotDecoded when the frames up to 3 s after
// the press are not all decoded, unless the file ends before. The silence threshold comes from
// the 6 s around the press (silenceThreshold).
SnapAnswer placeMark(const DecodedAudio& audio, long long pressFrame);

// The Snap button at a mark: the nearest silence end within 1 s, otherwise the strongest change
// point within 1 s; either moves. Nothing when neither is found.
SnapAnswer snapNear(const DecodedAudio& audio, long long markFrame);
