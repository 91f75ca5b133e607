// One reader of a sheet's structure: the same sheets give the same tracks (where each starts, in
// which file, under which title) to every user of it: Listen and the nudges (the caret's mark),
// the entries placed in time order, the exports and the check. The rows are the sheets where
// users once read them differently, each read as libcue and cuetools read it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../sheet/chapterExport.h"
#include "../../sheet/sheetCheck.h"
#include "sheetTexts.h"

namespace {

struct Track {
  std::string title;
  long long frames;  // INDEX 01; -1 without one
  std::string file;
};

// Where each TRACK line starts (no value in these sheets holds the word).
std::vector<size_t> trackLines(const std::string& text) {
  std::vector<size_t> starts;
  for (size_t at = text.find("TRACK "); at != std::string::npos; at = text.find("TRACK ", at + 1)) starts.push_back(at);
  return starts;
}

// The Audacity labels of the sheet: start (frames) and label of each chapter.
std::vector<std::pair<long long, std::string>> chapters(const std::string& sheet, ExportReport* report) {
  std::string out(exportBytes(sheet.data(), sheet.size(), kExportAudacityLabels, -1) + 1, '\0');
  out.resize(exportSheet(sheet.data(), sheet.size(), kExportAudacityLabels, -1, &out[0], out.size(), report));
  std::vector<std::pair<long long, std::string>> found;
  for (size_t at = 0; at < out.size(); at = out.find('\n', at) + 1) {
    std::string line = out.substr(at, out.find('\n', at) - at);
    found.push_back({std::llround(std::atof(line.c_str()) * 75), line.substr(line.rfind('\t') + 1)});
  }
  return found;
}

}  // namespace

TEST(SheetReader, EveryUserFindsTheSameTracks) {
  const std::string a = "FILE \"a.wav\" WAVE|";
  struct {
    const char* name;
    std::string sheet;
    std::vector<Track> tracks;
    bool ordered;  // entries can be placed in time order: each INDEX 01 in its TRACK line's file
  } cases[] = {
      {"a FILE line inside a track names the file of its INDEX 01",
       lines(a + "TRACK 01 AUDIO|TITLE \"One\"|INDEX 01 00:00:00|TRACK 02 AUDIO|TITLE \"Two\"|INDEX 00 01:00:00|"
                 "FILE \"b.wav\" WAVE|INDEX 01 00:00:00|TRACK 03 AUDIO|TITLE \"Three\"|INDEX 01 01:00:00|"),
       {{"One", 0, "a.wav"}, {"Two", 0, "b.wav"}, {"Three", 4500, "b.wav"}}, false},
      {"a title after the FILE line that follows a track is still that track's",
       lines(a + "TRACK 01 AUDIO|TITLE \"One\"|INDEX 01 00:00:00|FILE \"b.wav\" WAVE|TITLE \"Late\"|"
                 "TRACK 02 AUDIO|TITLE \"Two\"|INDEX 01 00:00:00"),
       {{"Late", 0, "a.wav"}, {"Two", 0, "b.wav"}}, true},
      {"a quote inside a quoted title ends it", lines(a + "TRACK 01 AUDIO|TITLE \"Say \"Hi\"\"|INDEX 01 00:00:00"),
       {{"Say ", 0, "a.wav"}}, true},
      {"a backslash and a quote are text", lines(a + "TRACK 01 AUDIO|TITLE \"AC\\\"DC\"|INDEX 01 00:00:00"),
       {{"AC\\\"DC", 0, "a.wav"}}, true},
      {"a quote left open: the word as it stands", lines(a + "TRACK 01 AUDIO|TITLE \"Open words|INDEX 01 00:00:00"),
       {{"\"Open", 0, "a.wav"}}, true},
      {"bytes longer than the quoted text", lines(a + "TRACK 01 AUDIO|TITLE \"x\"y\"|INDEX 01 00:00:00"),
       {{"\"x\"y\"", 0, "a.wav"}}, true},
      {"a file name whose quote stays open", lines("FILE \"open.wav WAVE|TRACK 01 AUDIO|TITLE T|INDEX 01 00:00:00"),
       {{"T", 0, "\"open.wav"}}, true},
      {"two INDEX 01 lines: the last", lines(a + "TRACK 01 AUDIO|TITLE \"One\"|INDEX 01 00:00:00|INDEX 01 00:01:00"),
       {{"One", 75, "a.wav"}}, true},
      {"a track without INDEX 01",
       lines(a + "TRACK 01 AUDIO|TITLE \"A\"|INDEX 01 00:00:00|TRACK 02 AUDIO|TITLE \"B\"|TRACK 03 AUDIO|TITLE \"C\"|"
                 "INDEX 01 00:10:00"),
       {{"A", 0, "a.wav"}, {"B", -1, "a.wav"}, {"C", 750, "a.wav"}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string& sheet = c.sheet;
    std::vector<size_t> starts = trackLines(sheet);
    ASSERT_EQ(starts.size(), c.tracks.size());
    SheetCheck check;
    checkSheet(sheet.data(), sheet.size(), &check);
    std::string problems;
    for (int i = 0; i < check.problems && i < kSheetProblemsKept; ++i) problems += check.kept[i].text + std::string("|");
    std::vector<std::pair<long long, std::string>> firstFile;
    for (size_t i = 0; i < starts.size(); ++i) {
      const Track& t = c.tracks[i];
      SCOPED_TRACE(t.title);
      // Listen and the nudges: the caret's mark, in its file.
      MarkTime mark;
      ASSERT_EQ(findMark(sheet.data(), sheet.size(), starts[i], &mark), t.frames >= 0);
      if (t.frames >= 0) {
        EXPECT_EQ(mark.frames, t.frames);
        EXPECT_EQ(sheet.substr(mark.fileNameAt, mark.fileNameLength), t.file);
      }
      // The check: a track without INDEX 01 is one.
      char number[8];
      snprintf(number, sizeof number, "%02d", (int)i + 1);
      EXPECT_EQ(problems.find("TRACK " + std::string(number) + " has no INDEX 01") != std::string::npos, t.frames < 0)
          << problems;
      if (t.frames >= 0 && t.file == c.tracks[0].file) firstFile.push_back({t.frames, t.title});
    }
    // The exports: the chapters are the first file's tracks with an INDEX 01.
    ExportReport report;
    EXPECT_EQ(chapters(sheet, &report), firstFile);
    EXPECT_EQ(report.tracks + report.leftOut + report.skipped, (int)c.tracks.size());
    // Placing an entry: in time order and numbered exactly when every track was read whole.
    std::vector<TextEdit> edits(placementEditsMax(sheet.data(), sheet.size()));
    std::string entryText = entry(9, "New", "50:00:00");
    std::string placed(placedTextBytes(0, entryText.size(), 0), '\0');
    EntryPlacement how;
    placeEntry(sheet.data(), sheet.size(), nullptr, entryText.c_str(), EntryTarget{0, nullptr}, &placed[0],
               placed.size(), edits.data(), edits.size(), &how);
    EXPECT_EQ(how.ordered, c.ordered);
  }
}
