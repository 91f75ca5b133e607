// Sheets of several FILE blocks: the mark's file, placing into a block or a new one, nudges
// stopped by the times around them, and shifting a track with every later one in its file; the
// lines the plug-in does not write stay where they are through all of them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../sheet/cueTime.h"
#include "../../sheet/sheetCheck.h"
#include "sheetTexts.h"

namespace {

// A show in two files, with lines of every kind the plug-in does not write.
const std::string kTwoFiles = lines(
    "CATALOG 1234567890128|CDTEXTFILE \"show.cdt\"|PERFORMER \"P\"|FILE \"cd1.flac\" WAVE|"
    "TRACK 01 AUDIO|    TITLE \"A\"|    INDEX 00 00:00:00|    INDEX 01 00:00:30|"
    "TRACK 02 AUDIO|    FLAGS DCP|    SONGWRITER \"S\"|    PREGAP 00:02:00|    INDEX 01 02:00:24|    INDEX 02 02:10:00|"
    "REM next disc|FILE \"cd2.flac\" WAVE|"
    "TRACK 03 AUDIO|    ISRC GBAYE0000001|    INDEX 00 00:00:00|    INDEX 01 00:00:40|"
    "TRACK 04 AUDIO|    INDEX 00 04:58:00|    INDEX 01 05:00:00|    POSTGAP 00:01:00");

const long long kMinute = 60 * 75;

long long framesOf(const std::string& time) {
  long long frames = -1;
  EXPECT_EQ(parseCueTime(time.data(), time.size(), &frames), kCueTimeOk) << time;
  return frames;
}

size_t caretAt(const std::string& text, const std::string& anchor) {
  size_t at = text.find(anchor);
  EXPECT_NE(at, std::string::npos) << anchor;
  return at == std::string::npos ? 0 : at;
}

bool passesCheck(const std::string& text) {
  SheetCheck check;
  checkSheet(text.data(), text.size(), &check);
  return check.problems == 0;
}

}  // namespace

TEST(SheetBlocks, FileBlocksAndTheMarksFile) {
  FileBlock blocks[3];
  memset(blocks, 0x5A, sizeof blocks);
  ASSERT_EQ(listFileBlocks(kTwoFiles.data(), kTwoFiles.size(), blocks, 1), 2u);
  EXPECT_EQ(kTwoFiles.substr(blocks[0].nameAt, blocks[0].nameLength), "cd1.flac");
  EXPECT_EQ(blocks[1].lineStart, (size_t)0x5A5A5A5A5A5A5A5AULL) << "written past blocksMax";
  ASSERT_EQ(listFileBlocks(kTwoFiles.data(), kTwoFiles.size(), blocks, 3), 2u);
  EXPECT_EQ(blocks[1].lineStart, kTwoFiles.find("FILE \"cd2"));
  EXPECT_EQ(kTwoFiles.substr(blocks[1].nameAt, blocks[1].nameLength), "cd2.flac");

  struct {
    std::string text;
    const char* caretLine;
    const char* file;
  } cases[] = {
      {kTwoFiles, "TRACK 02", "cd1.flac"},
      {kTwoFiles, "REM next disc", "cd1.flac"},  // still TRACK 02's
      {kTwoFiles, "POSTGAP", "cd2.flac"},
      {lines("TRACK 01 AUDIO|INDEX 01 00:00:00"), "INDEX", ""},
      {lines("FILE a.wav WAVE|TRACK 01 AUDIO|INDEX 1 00:00:00"), "INDEX", "a.wav"},
      {lines("FILE \"open|INDEX 01 00:00:00"), "INDEX", "\"open"},  // no quote closes it: a bare word
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " at " + c.caretLine);
    MarkTime mark;
    ASSERT_TRUE(findMark(c.text.data(), c.text.size(), caretAt(c.text, c.caretLine), &mark));
    EXPECT_EQ(c.text.substr(mark.fileNameAt, mark.fileNameLength), c.file);
  }
}

TEST(SheetBlocks, EntriesGoIntoTheirFileBlock) {
  const char* cd3 = "FILE \"cd3.flac\" WAVE";
  std::string noPregap = replaced(kTwoFiles, {{"    INDEX 00 00:00:00|    INDEX 01 00:00:40", "    INDEX 01 00:00:40"}});
  std::string noFile = lines("TRACK 01 AUDIO|    INDEX 01 00:00:00|TRACK 02 AUDIO|    INDEX 01 05:00:00");
  std::string noStart = replaced(kTwoFiles, {{"    INDEX 01 02:00:24|", ""}});
  // A track whose INDEX 01 stands after the next FILE line, as some rippers write the gap.
  std::string crossing = replaced(kTwoFiles, {{"REM next disc|FILE \"cd2.flac\" WAVE|TRACK 03 AUDIO|    ISRC GBAYE0000001|"
                                               "    INDEX 00 00:00:00|", "TRACK 03 AUDIO|    INDEX 00 02:20:00|"
                                               "FILE \"cd2.flac\" WAVE|"}});
  struct {
    const char* name;
    std::string sheet;
    std::string entry;
    EntryTarget target;
    std::string expected;
    bool ordered;
    bool atEnd;
  } cases[] = {
      {"first file, between its tracks", kTwoFiles, entry(9, "X", "01:00:00"), {0, nullptr},
       replaced(kTwoFiles, {{"TRACK 04", "TRACK 05"}, {"TRACK 03", "TRACK 04"},
                            {"TRACK 02 AUDIO", entry(2, "X", "01:00:00") + "|TRACK 03 AUDIO"}}), true, false},
      {"first file, after its tracks: before the next FILE line", kTwoFiles, entry(9, "X", "03:00:00"), {0, nullptr},
       replaced(kTwoFiles, {{"TRACK 04", "TRACK 05"}, {"TRACK 03", "TRACK 04"},
                            {"FILE \"cd2", entry(3, "X", "03:00:00") + "|FILE \"cd2"}}), true, false},
      {"first file, first: INDEX 00 moves to it from the old first", kTwoFiles, entry(9, "X", "00:00:10"), {0, nullptr},
       replaced(kTwoFiles, {{"TRACK 04", "TRACK 05"}, {"TRACK 03", "TRACK 04"}, {"TRACK 02", "TRACK 03"},
                            {"TRACK 01 AUDIO|    TITLE \"A\"|    INDEX 00 00:00:00|",
                             "TRACK 01 AUDIO|    TITLE \"X\"|    INDEX 00 00:00:00|    INDEX 01 00:00:10|"
                             "TRACK 02 AUDIO|    TITLE \"A\"|"}}), true, false},
      {"second file, first: no INDEX 00 of ours", noPregap, entry(9, "X", "00:00:10"), {1, nullptr},
       replaced(noPregap, {{"TRACK 04", "TRACK 05"}, {"TRACK 03 AUDIO", entry(3, "X", "00:00:10") + "|TRACK 04 AUDIO"}}),
       true, false},
      {"second file, last", kTwoFiles, entry(9, "X", "09:00:00"), {1, nullptr},
       kTwoFiles + "\r\n" + entry(5, "X", "09:00:00"), true, true},
      {"a block past the last is the last", kTwoFiles, entry(9, "X", "04:00:00"), {7, nullptr},
       replaced(kTwoFiles, {{"TRACK 04 AUDIO", entry(4, "X", "04:00:00") + "|TRACK 05 AUDIO"}}), true, false},
      {"a new FILE block", kTwoFiles, entry(1, "X", "00:00:00"), {-1, cd3},
       kTwoFiles + "\r\n" + cd3 + "\r\n" + entry(5, "X", "00:00:00"), true, true},
      {"a new FILE block after a track without INDEX 01: as it stands", kTwoFiles + "\r\nTRACK 05 AUDIO",
       entry(9, "X", "00:00:00"), {-1, cd3},
       kTwoFiles + "\r\nTRACK 05 AUDIO\r\n" + cd3 + "\r\n" + entry(9, "X", "00:00:00"), false, true},
      {"a track without INDEX 01: as it stands, at the end of the target's block", noStart, entry(9, "X", "01:00:00"),
       {0, nullptr}, replaced(noStart, {{"FILE \"cd2", entry(9, "X", "01:00:00") + "|FILE \"cd2"}}), false, false},
      {"a track without INDEX 01, the last block: at the end", noStart, entry(9, "X", "09:00:00"), {1, nullptr},
       noStart + "\r\n" + entry(9, "X", "09:00:00"), false, true},
      {"a track whose INDEX 01 is in the next file: the first block ends before it", crossing,
       entry(9, "X", "03:00:00"), {0, nullptr},
       replaced(crossing, {{"TRACK 03 AUDIO", entry(9, "X", "03:00:00") + "|TRACK 03 AUDIO"}}), false, false},
      {"no FILE line: one block", noFile, entry(9, "X", "01:00:00"), {1, nullptr},
       replaced(noFile, {{"TRACK 02", entry(2, "X", "01:00:00") + "|TRACK 03"}}), true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TextEdit> edits(placementEditsMax(c.sheet.data(), c.sheet.size()));
    size_t fileLine = c.target.newFileLine ? strlen(c.target.newFileLine) : 0;
    std::string placed(placedTextBytes(0, c.entry.size(), fileLine), '\0');
    EntryPlacement how;
    edits.resize(placeEntry(c.sheet.data(), c.sheet.size(), nullptr, c.entry.c_str(), c.target, &placed[0],
                            placed.size(), edits.data(), edits.size(), &how));
    std::string after = edited(c.sheet, edits);
    EXPECT_EQ(after, c.expected);
    EXPECT_EQ(how.ordered, c.ordered);
    EXPECT_EQ(how.atEnd, c.atEnd);
    if (c.ordered && c.sheet != noFile) {
      EXPECT_TRUE(passesCheck(after));
    }
  }
}

TEST(SheetBlocks, NudgesStopShortOfTheTimesAround) {
  struct {
    const char* name;
    const char* caretLine;
    long long delta;
    long long endFrames;
    const char* from;  // the text that changes
    const char* to;    // "": nothing changes
    const char* time;  // the new time
    bool tight = false;  // on the sheet where track 3's INDEX 01 stands a frame after its INDEX 00
  } cases[] = {
      {"later: short of the next track", "TRACK 01", 10 * kMinute, -1, "01 00:00:30", "01 02:00:23", "02:00:23"},
      {"earlier: after the track before", "TRACK 02", -10 * kMinute, -1, "02:00:24", "00:00:31", "00:00:31"},
      {"later: short of its own INDEX 02", "TRACK 02", 10 * kMinute, -1, "02:00:24", "02:09:74", "02:09:74"},
      {"earlier: after an INDEX 00 the user wrote", "TRACK 03", -10 * kMinute, -1, "00:00:40", "00:00:01", "00:00:01"},
      {"later: short of the next INDEX 00, whatever the other file holds", "TRACK 03", 10 * kMinute, -1,
       "00:00:40", "04:57:74", "04:57:74"},
      {"later: up to the audio's end", "TRACK 04", 10 * kMinute, 6 * kMinute, "05:00:00", "06:00:00", "06:00:00"},
      {"later: no end known", "TRACK 04", 10 * kMinute, -1, "05:00:00", "15:00:00", "15:00:00"},
      {"past the end already: stays", "TRACK 04", 1, 4 * kMinute, "", "", "05:00:00"},
      {"between two times a frame apart: stays", "TRACK 03", -1, -1, "", "", "00:00:01", true},
      {"no move", "TRACK 02", 0, -1, "", "", "02:00:24"},
      {"the first track to the start: our INDEX 00 goes", "TRACK 01", -10 * kMinute, -1,
       "    INDEX 00 00:00:00|    INDEX 01 00:00:30", "    INDEX 01 00:00:00", "00:00:00"},
  };
  std::string tight = replaced(kTwoFiles, {{"00:00:40", "00:00:01"}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string& sheet = c.tight ? tight : kTwoFiles;
    TextEdit edit;
    long long frames = -1;
    ASSERT_TRUE(nudgeMark(sheet.data(), sheet.size(), caretAt(sheet, c.caretLine), c.delta, c.endFrames,
                          &edit, &frames));
    EXPECT_EQ(frames, framesOf(c.time));
    if (!*c.from) {
      EXPECT_EQ(edit.removeLength, 0u);
      EXPECT_EQ(editLength(edit), 0u);
    }
    EXPECT_EQ(edited(sheet, {edit}), *c.from ? replaced(sheet, {{c.from, c.to}}) : sheet);
  }
  TextEdit edit;
  EXPECT_FALSE(nudgeMark(kTwoFiles.data(), kTwoFiles.size(), 0, 1, -1, &edit, nullptr)) << "no mark";
}

TEST(SheetBlocks, ShiftsMoveLaterTracksOfTheFileTogether) {
  std::string atStart = lines("FILE \"a.flac\" WAVE|TRACK 01 AUDIO|    INDEX 01 00:00:00|TRACK 02 AUDIO|    INDEX 01 01:00:00");
  struct {
    const char* name;
    std::string sheet;
    const char* caretLine;
    long long delta;
    long long endFrames;
    std::vector<std::pair<std::string, std::string>> changes;
    const char* time;  // the caret's track's new INDEX 01
  } cases[] = {
      {"later, its INDEX 02 along, the other file not", kTwoFiles, "TRACK 02", 75, -1,
       {{"02:00:24", "02:01:24"}, {"02:10:00", "02:11:00"}}, "02:01:24"},
      {"the first track later: its INDEX 00 stays", kTwoFiles, "TRACK 01", 75, -1,
       {{"00:00:30", "00:01:30"}, {"02:00:24", "02:01:24"}, {"02:10:00", "02:11:00"}}, "00:01:30"},
      {"later, until the last reaches the end", kTwoFiles, "TRACK 02", 10 * kMinute, framesOf("02:15:00"),
       {{"02:00:24", "02:05:24"}, {"02:10:00", "02:15:00"}}, "02:05:24"},
      {"earlier, until one frame after the track before", kTwoFiles, "TRACK 02", -10 * kMinute, -1,
       {{"02:00:24", "00:00:31"}, {"02:10:00", "00:10:07"}}, "00:00:31"},
      {"earlier, stopped by an INDEX 00 at the file's start", kTwoFiles, "TRACK 03", -75, -1, {}, "00:00:40"},
      {"earlier with its INDEX 00, after the track before", kTwoFiles, "TRACK 04", -10 * kMinute, -1,
       {{"04:58:00", "00:00:41"}, {"05:00:00", "00:02:41"}}, "00:02:41"},
      {"the first track to the start: our INDEX 00 goes, the rest of the file follows", kTwoFiles, "TITLE \"A\"",
       -75, -1,
       {{"    INDEX 00 00:00:00|    INDEX 01 00:00:30", "    INDEX 01 00:00:00"}, {"02:00:24", "01:59:69"},
        {"02:10:00", "02:09:45"}}, "00:00:00"},
      {"earlier while out of order already: stays", replaced(atStart, {{"01:00:00", "00:00:00"}}), "TRACK 02", -75, -1,
       {}, "00:00:00"},
      {"the first track from the start: it gains INDEX 00", atStart, "TRACK 01", 10, -1,
       {{"    INDEX 01 00:00:00", "    INDEX 00 00:00:00|    INDEX 01 00:00:10"}, {"01:00:00", "01:00:10"}}, "00:00:10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TextEdit> edits(shiftEditsMax(c.sheet.data(), c.sheet.size()));
    size_t count = 99;
    long long frames = -1;
    ASSERT_TRUE(shiftMarks(c.sheet.data(), c.sheet.size(), caretAt(c.sheet, c.caretLine), c.delta, c.endFrames,
                           edits.data(), edits.size(), &count, &frames));
    edits.resize(count);
    EXPECT_EQ(frames, framesOf(c.time));
    EXPECT_EQ(edited(c.sheet, edits), replaced(c.sheet, c.changes));
  }
  size_t count = 0;
  std::vector<TextEdit> few(1);
  EXPECT_FALSE(shiftMarks(kTwoFiles.data(), kTwoFiles.size(), 0, 1, -1, few.data(), few.size(), &count, nullptr))
      << "no mark";
  EXPECT_FALSE(shiftMarks(kTwoFiles.data(), kTwoFiles.size(), caretAt(kTwoFiles, "TRACK 02"), 1, -1, few.data(),
                          few.size(), &count, nullptr)) << "room for one edit of two";
  EXPECT_EQ(count, 0u);
}
