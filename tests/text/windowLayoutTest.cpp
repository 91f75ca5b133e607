// The first places of the Cue, Tracklist and Info windows on screens of several sizes.
#include <gtest/gtest.h>

#include <string>

#include "../../base/windowLayout.h"

namespace {

// The windows' sizes in pixels as Wine gives them (the dialog font's units).
const int kWidths[kLaidOutWindows] = {568, 500, 568};
const int kHeights[kLaidOutWindows] = {524, 396, 218};

int overlapWidth(const Box& a, const Box& b) {
  if (!boxesOverlap(a, b)) return 0;
  return (a.right < b.right ? a.right : b.right) - (a.left > b.left ? a.left : b.left);
}

}  // namespace

TEST(WindowLayout, SideBySideWithinTheWorkAreaCoveringTheCueWindowOnlyWhereTheScreenIsTooSmall) {
  struct {
    const char* name;
    Box work;
    int tracklistOverCue;  // the widest strip of the Cue window the Tracklist window may cover
    bool infoOverCue;      // the Info window may cover the Cue window
  } cases[] = {
      {"1920x1080", {0, 0, 1920, 1080}, 0, false},
      {"1366x768, taskbar below", {0, 0, 1366, 728}, 0, false},
      {"second screen left of the first", {-1280, 0, 0, 1024}, 0, false},
      {"taskbar on the left", {60, 0, 1440, 900}, 0, false},
      // Too narrow for both: the Tracklist window covers the Cue window's right edge only.
      {"1024x768", {0, 0, 1024, 768}, 1076 - 1024, false},
      {"640x480", {0, 0, 640, 480}, 568, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Box placed[kLaidOutWindows];
    layOutSideBySide(c.work, kWidths, kHeights, placed);
    for (int i = 0; i < kLaidOutWindows; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(placed[i].right - placed[i].left, kWidths[i]);
      EXPECT_EQ(placed[i].bottom - placed[i].top, kHeights[i]);
      EXPECT_GE(placed[i].left, c.work.left);
      EXPECT_GE(placed[i].top, c.work.top);
      bool fitsAcross = kWidths[i] <= c.work.right - c.work.left;
      bool fitsDown = kHeights[i] <= c.work.bottom - c.work.top;
      EXPECT_TRUE(!fitsAcross || placed[i].right <= c.work.right);
      EXPECT_TRUE(!fitsDown || placed[i].bottom <= c.work.bottom);
    }
    EXPECT_LE(overlapWidth(placed[kLaidOutCue], placed[kLaidOutTracklist]), c.tracklistOverCue);
    EXPECT_TRUE(c.infoOverCue || !boxesOverlap(placed[kLaidOutCue], placed[kLaidOutInfo]));
    EXPECT_TRUE(c.tracklistOverCue > 0 || !boxesOverlap(placed[kLaidOutTracklist], placed[kLaidOutInfo]));
  }
}
