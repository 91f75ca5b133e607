// Where the plug-in's three windows first stand on a screen: side by side within its work area,
// so that none hides another (the Cue window on the left, the Tracklist and Info windows to its
// right or below it). Plain numbers in pixels; no window is touched here.
#pragma once

struct Box {
  int left;
  int top;
  int right;   // past the last column
  int bottom;  // past the last row
};

// The windows laid out, in this order.
enum LaidOutWindow { kLaidOutCue = 0, kLaidOutTracklist, kLaidOutInfo, kLaidOutWindows };

// The gap between two windows side by side.
const int kWindowGap = 8;

// Places windows of widths and heights (kLaidOutWindows of each) into placed, side by side and
// the group centred in work, in the arrangement where they cover each other least (the Cue
// window counting most). Where work is too small windows are moved back into it, over another if
// they must; no window starts left of or above work.
void layOutSideBySide(const Box& work, const int* widths, const int* heights, Box* placed);

// Whether two boxes share any pixel.
bool boxesOverlap(const Box& a, const Box& b);
