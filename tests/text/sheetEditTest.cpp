// Marks, nudges and entries placed in time order, on the sheet's text alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../sheet/cueTime.h"
#include "sheetTexts.h"

namespace {

const std::string kHeader = "PERFORMER \"P\"\r\nTITLE \"T\"\r\nFILE \"a.flac\" WAVE";

// The sheet after placing an entry (the sheet's first, with the header, when first is set), and
// how it was placed.
std::string placed(const std::string& sheet, const std::string& newEntry, EntryPlacement* how,
                   bool first = false) {
  std::vector<TextEdit> edits(placementEditsMax(sheet.data(), sheet.size()));
  std::string text(placedTextBytes(kHeader.size(), newEntry.size(), 0), '\0');
  size_t count = placeEntry(sheet.data(), sheet.size(), first ? kHeader.c_str() : nullptr, newEntry.c_str(),
                            EntryTarget{0, nullptr}, &text[0], text.size(), edits.data(), edits.size(), how);
  edits.resize(count);
  return edited(sheet, edits);
}

}  // namespace

TEST(SheetEdit, MarkOfTheCaretsTrack) {
  std::string sheet = kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n\r\n" + entry(2, "B", "04:05:41");
  struct {
    const char* where;
    std::string text;
    size_t caret;
    long long frames;  // -1: no mark
  } cases[] = {
      {"header", sheet, 5, -1},
      {"TRACK line", sheet, sheet.find("TRACK 02") + 3, (4 * 60 + 5) * 75 + 41},
      {"INDEX line", sheet, sheet.find("INDEX 01 00:00:00") + 2, 0},
      {"blank line between tracks", sheet, sheet.find("\r\n\r\n") + 2, 0},
      {"last track, end of text", sheet, sheet.size(), (4 * 60 + 5) * 75 + 41},
      {"no TRACK lines: the INDEX above", "REM x\r\nINDEX 01 01:00:00\r\nREM y\r\nINDEX 01 02:00:00",
       20, 60 * 75},
      {"no TRACK lines, caret above every INDEX", "REM x\r\nINDEX 01 01:00:00", 2, -1},
      {"a track without a valid INDEX 01", "TRACK 01 AUDIO\r\n  INDEX 01 1:2", 3, -1},
      {"empty editor", "", 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    MarkTime mark;
    bool found = findMark(c.text.data(), c.text.size(), c.caret, &mark);
    EXPECT_EQ(found, c.frames >= 0);
    if (found) {
      EXPECT_EQ(mark.frames, c.frames);
      char time[16];
      formatCueTime(c.frames, time, sizeof time);
      EXPECT_EQ(c.text.substr(mark.timeAt, mark.timeLength), time) << "where the time stands";
    }
  }
}

TEST(SheetEdit, NudgesAcrossBoundariesAndTheFirstTracksStart) {
  struct {
    const char* time;
    long long delta;
    const char* moved;
  } cases[] = {
      {"00:00:74", 1, "00:01:00"},   {"00:59:74", 1, "01:00:00"},   {"59:59:74", 1, "60:00:00"},
      {"99:59:74", 1, "100:00:00"},  {"100:00:00", -1, "99:59:74"}, {"00:00:00", -1, "00:00:00"},
      {"00:00:30", -75, "00:00:01"}, {"01:00:00", 75, "01:01:00"},  {"1:02:03", 0, "1:02:03"},
      {"999999999999:59:74", 1, "999999999999:59:74"},  // the latest time a cue time holds
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.time) + " by " + std::to_string(c.delta));
    // A second track: its time is rewritten in place and nothing else changes.
    std::string sheet = kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(2, "B", c.time);
    TextEdit edit;
    ASSERT_TRUE(nudgeMark(sheet.data(), sheet.size(), sheet.size(), c.delta, -1, &edit, nullptr));
    EXPECT_EQ(edited(sheet, {edit}), kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(2, "B", c.moved));
  }
  // The first track gains INDEX 00 when it moves past the start, and loses it coming back.
  std::string atStart = kHeader + "\r\n" + entry(1, "A", "00:00:00");
  TextEdit edit;
  long long frames = -1;
  ASSERT_TRUE(nudgeMark(atStart.data(), atStart.size(), atStart.size(), 1, -1, &edit, &frames));
  std::string later = edited(atStart, {edit});
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(later, kHeader + "\r\nTRACK 01 AUDIO\r\n    TITLE \"A\"\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:00:01");
  ASSERT_TRUE(nudgeMark(later.data(), later.size(), later.size(), -1, -1, &edit, &frames));
  EXPECT_EQ(edited(later, {edit}), atStart);
  EXPECT_FALSE(nudgeMark(kHeader.data(), kHeader.size(), 3, 1, -1, &edit, &frames)) << "no mark";
}

TEST(SheetEdit, EntriesGoInTimeOrderNumberedFromOne) {
  std::string two = kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(2, "B", "10:00:00");
  struct {
    const char* name;
    std::string sheet;
    std::string entry;
    std::string expected;
    bool ordered;
    bool atEnd;
    bool first = false;
  } cases[] = {
      {"new sheet", "", entry(7, "A", "00:00:00"), kHeader + "\r\n" + entry(1, "A", "00:00:00"), true, true, true},
      {"new sheet after a late first mark", " \r\n", entry(1, "A", "00:00:69"),
       kHeader + "\r\nTRACK 01 AUDIO\r\n    TITLE \"A\"\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:00:69", true, false, true},
      {"first entry after notes typed by hand", "my notes", entry(1, "A", "00:00:00"),
       "my notes\r\n" + kHeader + "\r\n" + entry(1, "A", "00:00:00"), true, true, true},
      {"every track deleted by hand, the header kept", kHeader, entry(5, "G", "00:10:00"),
       kHeader + "\r\nTRACK 01 AUDIO\r\n    TITLE \"G\"\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:10:00", true, true},
      {"later than all", two, entry(3, "C", "20:00:00"), two + "\r\n" + entry(3, "C", "20:00:00"), true, true},
      {"an opened sheet ending in its line break", two + "\r\n", entry(3, "C", "20:00:00"),
       two + "\r\n" + entry(3, "C", "20:00:00"), true, true},
      {"an opened sheet of a header alone", kHeader + "\r\n", entry(5, "G", "00:00:00"),
       kHeader + "\r\n" + entry(1, "G", "00:00:00"), true, true},
      {"in the middle", two, entry(3, "M", "05:00:00"),
       kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(2, "M", "05:00:00") + "\r\n" +
           entry(3, "B", "10:00:00"), true, false},
      {"same time as a track: after it", two, entry(3, "E", "10:00:00"),
       two + "\r\n" + entry(3, "E", "10:00:00"), true, true},
      {"before the first, which then loses INDEX 00",
       kHeader + "\r\nTRACK 01 AUDIO\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:01:00", entry(2, "F", "00:00:10"),
       kHeader + "\r\nTRACK 01 AUDIO\r\n    TITLE \"F\"\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:00:10\r\n"
                 "TRACK 02 AUDIO\r\n    INDEX 01 00:01:00", true, false},
      {"an entry deleted by hand", kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(3, "C", "09:00:00"),
       entry(3, "D", "12:00:00"),
       kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\n" + entry(2, "C", "09:00:00") + "\r\n" +
           entry(3, "D", "12:00:00"), true, false},
      {"%trackcount% in other lines is left", two, "TRACK 03 AUDIO\r\n  TITLE \"No. 03\"\r\n  INDEX 01 01:00:00",
       kHeader + "\r\n" + entry(1, "A", "00:00:00") + "\r\nTRACK 02 AUDIO\r\n  TITLE \"No. 03\"\r\n  INDEX 01 01:00:00\r\n" +
           entry(3, "B", "10:00:00"), true, false},
      {"a later disc's sheet keeps its first number",
       kHeader + "\r\n" + entry(5, "A", "00:00:00") + "\r\n" + entry(6, "B", "10:00:00"), entry(3, "M", "05:00:00"),
       kHeader + "\r\n" + entry(5, "A", "00:00:00") + "\r\n" + entry(6, "M", "05:00:00") + "\r\n" +
           entry(7, "B", "10:00:00"), true, false},
      {"before a later disc's first track: it takes the number and INDEX 00",
       kHeader + "\r\nTRACK 05 AUDIO\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:01:00", entry(2, "F", "00:00:10"),
       kHeader + "\r\nTRACK 05 AUDIO\r\n    TITLE \"F\"\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:00:10\r\n"
                 "TRACK 06 AUDIO\r\n    INDEX 01 00:01:00", true, false},
      {"a track without INDEX 01: added at the end", two + "\r\nTRACK 03 AUDIO", entry(4, "Z", "01:00:00"),
       two + "\r\nTRACK 03 AUDIO\r\n" + entry(4, "Z", "01:00:00"), false, true},
      {"a template without TRACK lines", "HEAD\r\nline 01", "line 02", "HEAD\r\nline 01\r\nline 02", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EntryPlacement how;
    EXPECT_EQ(placed(c.sheet, c.entry, &how, c.first), c.expected);
    EXPECT_EQ(how.ordered, c.ordered);
    EXPECT_EQ(how.atEnd, c.atEnd);
  }
}

TEST(SheetEdit, PositionsFollowTheEdits) {
  std::string sheet = "abcdef";
  std::vector<TextEdit> edits(2);
  edits[0] = {1, 0, "XY", 2, "", 0};   // insert before b
  edits[1] = {3, 2, "Z", 1, "", 0};    // de -> Z
  EXPECT_EQ(edited(sheet, edits), "aXYbcZf");
  struct {
    size_t before, after;
  } cases[] = {{0, 0}, {1, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 6}, {6, 7}};
  for (const auto& c : cases) EXPECT_EQ(mapThroughEdits(c.before, edits.data(), edits.size()), c.after) << c.before;
}
