// The side-by-side layout of the plug-in's windows: a few arrangements, each centred in the work
// area and held within it, and the one where the windows cover each other least.
#include "windowLayout.h"

namespace {

int larger(int a, int b) { return a > b ? a : b; }
int smaller(int a, int b) { return a < b ? a : b; }

// Moves box so that it ends within work where it can, then so that it starts within it.
void keepWithin(const Box& work, Box* box) {
  int width = box->right - box->left;
  int height = box->bottom - box->top;
  if (box->right > work.right) box->left = work.right - width;
  if (box->bottom > work.bottom) box->top = work.bottom - height;
  if (box->left < work.left) box->left = work.left;
  if (box->top < work.top) box->top = work.top;
  box->right = box->left + width;
  box->bottom = box->top + height;
}

long long overlapArea(const Box& a, const Box& b) {
  if (!boxesOverlap(a, b)) return 0;
  return (long long)(smaller(a.right, b.right) - larger(a.left, b.left)) *
         (smaller(a.bottom, b.bottom) - larger(a.top, b.top));
}

// The arrangements tried, as the corner of each window within the group.
enum Arrangement {
  kRightColumn,      // Cue | Tracklist over Info
  kInfoBelowCue,     // Cue over Info | Tracklist
  kTracklistBelow,   // Cue over Tracklist | Info
  kArrangements,
};

void arrange(Arrangement arrangement, const int* w, const int* h, Box* placed) {
  int column = w[kLaidOutCue] + kWindowGap;
  int row = h[kLaidOutCue] + kWindowGap;
  int at[kLaidOutWindows][2] = {{0, 0}, {column, 0}, {column, h[kLaidOutTracklist] + kWindowGap}};
  if (arrangement == kInfoBelowCue) {
    at[kLaidOutInfo][0] = 0;
    at[kLaidOutInfo][1] = row;
  } else if (arrangement == kTracklistBelow) {
    at[kLaidOutTracklist][0] = 0;
    at[kLaidOutTracklist][1] = row;
    at[kLaidOutInfo][1] = 0;
  }
  for (int i = 0; i < kLaidOutWindows; ++i) placed[i] = Box{at[i][0], at[i][1], at[i][0] + w[i], at[i][1] + h[i]};
}

// How badly the windows cover each other: the Cue window's sheet matters most.
long long coverage(const Box* placed) {
  const long long kCueWeight = 4;
  return kCueWeight * (overlapArea(placed[kLaidOutCue], placed[kLaidOutTracklist]) +
                       overlapArea(placed[kLaidOutCue], placed[kLaidOutInfo])) +
         overlapArea(placed[kLaidOutTracklist], placed[kLaidOutInfo]);
}

}  // namespace

void layOutSideBySide(const Box& work, const int* widths, const int* heights, Box* placed) {
  long long best = -1;
  for (int a = 0; a < kArrangements; ++a) {
    Box tried[kLaidOutWindows];
    arrange((Arrangement)a, widths, heights, tried);
    int groupWidth = 0;
    int groupHeight = 0;
    for (const Box& box : tried) {
      groupWidth = larger(groupWidth, box.right);
      groupHeight = larger(groupHeight, box.bottom);
    }
    int left = work.left + larger(0, (work.right - work.left - groupWidth) / 2);
    int top = work.top + larger(0, (work.bottom - work.top - groupHeight) / 2);
    for (Box& box : tried) {
      box = Box{box.left + left, box.top + top, box.right + left, box.bottom + top};
      keepWithin(work, &box);
    }
    long long covered = coverage(tried);
    if (best >= 0 && covered >= best) continue;
    best = covered;
    for (int i = 0; i < kLaidOutWindows; ++i) placed[i] = tried[i];
  }
}

bool boxesOverlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
