// The waveform strip's mapping: frames to columns and back, the zoom steps, the range text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../audio/stripScale.h"

TEST(StripScale, FramesToColumnsAndBack) {
  struct {
    long long centre, half;
    int width;
    long long total, frame, column;  // stripColumnOf(frame) == column
    int click;
    long long clicked;  // stripFrameAt(click) == clicked
  } cases[] = {
      {1000, 300, 600, 0, 700, 0, 0, 700},          // one frame a column: 700..1299
      {1000, 300, 600, 0, 1299, 599, 599, 1299},
      {1000, 300, 600, 0, 699, -1, -5, 700},        // before the range; a click left of it
      {1000, 300, 600, 0, 1300, 600, 9999, 1299},   // past the range; a click right of it
      {1000, 300, 0, 0, 1000, 0, 0, 1000},          // no columns: nothing inside, the centre
      {1000, 300, 1, 0, 1299, 0, 0, 999},           // one column holds all; the middle frame
      {100, 300, 600, 0, 0, 200, 0, 0},             // starts at -200: no time below 0
      {100, 300, 600, 0, -1, 199, 200, 0},
      {1000, 300, 600, 1100, 1099, 399, 450, 1099}, // past the file's end: its last frame
      {1000, 75, 600, 0, 926, 4, 4, 926},           // a frame 4 columns wide
      {1000, 75, 600, 0, 925, 0, 3, 925},           // a column where no frame starts
      {1000, 75, 7, 0, 1000, 3, 3, 1000},           // 150 frames over 7 columns
      {10000, 10, 600, 0, 9925, 0, 599, 10074},     // half-width held at 1 s
      {10000, 100000, 4000, 0, 14499, 3999, 3999, 14498},  // and at 60 s
      {10000, 4500, 4000, 0, 5500, 0, 1, 5503},     // 2.25 frames a column
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.centre) + "±" + std::to_string(c.half) + " on " + std::to_string(c.width) +
                 ", frame " + std::to_string(c.frame) + ", click " + std::to_string(c.click));
    StripScale scale = stripAround(c.centre, c.half, c.width, c.total);
    EXPECT_EQ(stripColumnOf(scale, c.frame), c.column);
    EXPECT_EQ(stripFrameAt(scale, c.click), c.clicked);
  }
}

TEST(StripScale, EveryClickLandsInItsColumnAndColumnsCoverTheRange) {
  for (long long half : {75LL, 300LL, 4500LL}) {
    for (int width : {1, 2, 3, 7, 149, 150, 151, 600, 1000, 4000}) {
      SCOPED_TRACE(std::to_string(half) + " frames either side, " + std::to_string(width) + " columns");
      StripScale scale = stripAround(100000, half, width, 0);
      long long previousTo = scale.first;
      for (int c = 0; c < width; ++c) {
        long long frame = stripFrameAt(scale, c);
        long long at = stripColumnOf(scale, frame);
        long long next = stripColumnOf(scale, frame + 1);
        // Where a frame starts in the column, its own; else the frame drawn across it.
        ASSERT_TRUE(at == c || (at < c && c < next)) << "column " << c << " gave frame " << frame;
        long long from, to;
        stripColumnFrames(scale, c, &from, &to);
        ASSERT_LT(from, to) << "column " << c;
        ASSERT_LE(from, previousTo) << "a frame between columns " << c - 1 << " and " << c;
        ASSERT_TRUE(from <= frame && frame < to) << "column " << c;
        previousTo = to;
      }
      EXPECT_EQ(previousTo, scale.first + scale.frames);
    }
  }
}

TEST(StripScale, WheelStepsAndLimits) {
  const long long s = 75;
  struct {
    long long half;
    int notches;
    long long expected;
  } cases[] = {
      {4 * s, 1, 2 * s},   {4 * s, -1, 8 * s},  {4 * s, 2, 1 * s},   {4 * s, -3, 30 * s},
      {1 * s, 1, 1 * s},   {60 * s, -1, 60 * s}, {4 * s, 100, 1 * s}, {4 * s, -100, 60 * s},
      {5 * s, 1, 4 * s},   {5 * s, -1, 8 * s},  {5 * s, 0, 5 * s},   {15 * s, -1, 30 * s},
      {0, 0, 1 * s},       {0, -1, 2 * s},      {999999, 1, 30 * s}, {76, 1, 1 * s},
      {4 * s, -2147483647 - 1, 60 * s},         {4 * s, 2147483647, 1 * s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.half) + " by " + std::to_string(c.notches));
    EXPECT_EQ(stripZoomed(c.half, c.notches), c.expected);
  }
}

TEST(StripScale, RangeText) {
  const std::string dash = " \xE2\x80\x93 ";
  struct {
    long long centre, half, total;
    std::string expected;
  } cases[] = {
      {8 * 75 + 37, 75, 0, "00:07:37" + dash + "00:09:37"},
      {100, 300, 0, "00:00:00" + dash + "00:05:25"},                // starts before the file
      {1000, 300, 1100, "00:09:25" + dash + "00:14:50"},            // runs past its end
      {5000, 300, 1100, "00:14:50" + dash + "00:14:50"},            // wholly past it
      {-5000, 300, 0, "00:00:00" + dash + "00:00:00"},              // wholly before it
      {100LL * 4500 + 30, 4500, 0, "99:00:30" + dash + "101:00:30"},  // minutes past 99 go on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    char out[kStripRangeTextBytes];
    memset(out, 'x', sizeof out);
    size_t length = stripRangeText(stripAround(c.centre, c.half, 400, c.total), out, sizeof out);
    EXPECT_EQ(std::string(out), c.expected);
    EXPECT_EQ(length, c.expected.size());
  }
  char small[21];  // one short of "00:07:37 – 00:09:37" and its NUL
  memset(small, 'x', sizeof small);
  EXPECT_EQ(stripRangeText(stripAround(637, 75, 400, 0), small, sizeof small), 0u);
  EXPECT_STREQ(small, "") << "all or nothing: never a cut time or half a dash";
}
