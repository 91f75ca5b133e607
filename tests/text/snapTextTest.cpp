// The sentences about placed and snapped marks, for every kind of answer and distance.
#include <gtest/gtest.h>

#include "../../audio/snapText.h"

TEST(SnapText, PlacementsAndSnaps) {
  struct {
    SnapAnswer answer;
    const char* placed;
    const char* snapped;
  } rows[] = {
      {{SnapKind::SilenceEnd, true, 100, -16}, "at the end of a silence, 0.21 s before your key",
       "Snapped to the end of a silence, 0.21 s earlier"},
      {{SnapKind::SilenceEnd, true, 100, 75}, "at the end of a silence, 1.00 s after your key",
       "Snapped to the end of a silence, 1.00 s later"},
      {{SnapKind::SilenceEnd, true, 100, 0}, "at the end of a silence, right at your key",
       "Snapped to the end of a silence: the mark was there already"},
      {{SnapKind::ChangePoint, false, 100, 26}, "a change 0.35 s after your key: Snap (F6) moves the mark there",
       "Snapped to a change, 0.35 s later"},
      {{SnapKind::ChangePoint, false, 100, -1}, "a change 0.01 s before your key: Snap (F6) moves the mark there",
       "Snapped to a change, 0.01 s earlier"},
      {{SnapKind::Nothing, false, 100, 0}, "", "Snap: nothing to snap to within a second"},
      {{SnapKind::NotDecoded, false, 100, 0}, "", "The audio around this mark is still being read"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.placed);
    char text[128];
    describePlacement(row.answer, text, sizeof text);
    EXPECT_STREQ(text, row.placed);
    describeSnap(row.answer, text, sizeof text);
    EXPECT_STREQ(text, row.snapped);
  }
  char tiny[8];
  describePlacement(rows[0].answer, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "at the ") << "cut to the buffer, terminated";
}
