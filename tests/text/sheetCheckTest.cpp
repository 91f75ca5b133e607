// The sheet check: each rule broken once, sheets that keep them all, the count past ten, the
// formatted text cut to any buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../../sheet/sheetCheck.h"

namespace {

// "a|b" as the lines "a" and "b", each ending in CR LF.
std::string lines(const std::string& bars) {
  std::string text;
  size_t start = 0;
  for (size_t bar; (bar = bars.find('|', start)) != std::string::npos; start = bar + 1)
    text += bars.substr(start, bar - start) + "\r\n";
  return text + bars.substr(start) + "\r\n";
}

// The default output: a header, then tracks at the given INDEX 01 times.
std::string defaultSheet(const std::vector<std::string>& times) {
  std::string text = "PERFORMER \"DJ Example\"|TITLE \"Night Drive\"|FILE \"Night Drive (Live Mix).flac\" WAVE";
  for (size_t i = 0; i < times.size(); ++i) {
    std::string number = (i < 9 ? "0" : "") + std::to_string(i + 1);
    text += "|TRACK " + number + " AUDIO|    TITLE \"Song " + number +
            "\"|    PERFORMER \"Artist\"|    INDEX 01 " + times[i];
  }
  return lines(text);
}

std::string tracks(int count) {
  std::vector<std::string> times;
  for (int i = 0; i < count; ++i) times.push_back(std::to_string(i) + ":00:00");
  return defaultSheet(times);
}

// Every problem found, formatted, with "|" for the line breaks between them.
std::string problemsOf(const std::string& text, SheetCheck* check) {
  checkSheet(text.data(), text.size(), check);
  char out[kProblemsTextBytes];
  formatProblems(*check, out, sizeof out);
  std::string all = out;
  for (size_t at; (at = all.find("\r\n")) != std::string::npos;) all.replace(at, 2, "|");
  return all;
}

const std::string kFile = "FILE \"a.flac\" WAVE|";

}  // namespace

TEST(SheetCheck, EachBrokenRuleIsReportedAtItsLine) {
  std::string long100 = tracks(100);
  struct {
    std::string text;
    const char* problems;
  } cases[] = {
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 12:60:00"), "line 3: the time \"12:60:00\" has more than 59 seconds"},
      {lines(kFile + "TRACK 01 AUDIO|PREGAP 00:00:75|INDEX 01 00:00:00"), "line 3: the time \"00:00:75\" has more than 74 frames"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 01 477218:35:23"),
       "line 5: the time \"477218:35:23\" is longer than cue readers can count"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 0"), "line 3: \"INDEX 01 0\" has no time of the form minutes:seconds:frames"},
      {lines(kFile + "TRACK 01 AUDIO|    INDEX 01    "), "line 3: \"INDEX 01\" has no time of the form minutes:seconds:frames"},
      {lines(kFile + "TRACK 01 AUDIO|POSTGAP 1:00|INDEX 01 00:00:00"), "line 3: \"POSTGAP 1:00\" has no time of the form minutes:seconds:frames"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 100 00:00:00"),
       "line 2: TRACK 01 has no INDEX 01|line 3: \"INDEX 100 00:00:00\" needs an index number (00 to 99)"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 03 AUDIO|INDEX 01 01:00:00"), "line 4: TRACK 03 should be TRACK 02"},
      {long100, "line 400: TRACK 100 is past 99, the most a cue sheet holds"},
      {lines(kFile + "TRACK 4294967297 AUDIO|INDEX 01 00:00:00"), "line 2: TRACK 4294967297 is past 99, the most a cue sheet holds"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 00 00:00:00|TRACK 02 AUDIO|INDEX 01 00:01:00"), "line 2: TRACK 01 has no INDEX 01"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 01 04:00:00|TRACK 03 AUDIO|INDEX 01 03:00:00"),
       "line 7: INDEX 01 03:00:00 of TRACK 03 is not later than INDEX 01 04:00:00 of TRACK 02"},
      // Every INDEX time in sheet order, whatever its number, within one file.
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 01 04:00:00|TRACK 03 AUDIO|INDEX 00 03:59:74|INDEX 01 05:00:00"),
       "line 7: INDEX 00 03:59:74 of TRACK 03 is not later than INDEX 01 04:00:00 of TRACK 02"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 01 04:00:00|TRACK 03 AUDIO|INDEX 00 04:00:00|INDEX 01 05:00:00"),
       "line 7: INDEX 00 04:00:00 of TRACK 03 is not later than INDEX 01 04:00:00 of TRACK 02"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 00 04:00:01|INDEX 01 04:00:00"),
       "line 6: INDEX 01 04:00:00 of TRACK 02 is not later than INDEX 00 04:00:01 of TRACK 02"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 00 00:00:00|INDEX 01 00:00:00"),
       "line 4: INDEX 01 00:00:00 of TRACK 01 is not later than INDEX 00 00:00:00 of TRACK 01"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|INDEX 02 1:00:00|TRACK 02 AUDIO|INDEX 1 00:59:00"),
       "line 6: INDEX 01 00:59:00 of TRACK 02 is not later than INDEX 02 01:00:00 of TRACK 01"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|FILE \"b.wav\" WAVE|TRACK 02 AUDIO|INDEX 01 00:10:00|INDEX 02 00:10:00"),
       "line 7: INDEX 02 00:10:00 of TRACK 02 is not later than INDEX 01 00:10:00 of TRACK 02"},
      {lines(kFile + "TRACK 00 AUDIO|INDEX 01 00:00:00"), "line 2: TRACK 00 should be TRACK 01"},
      {lines(kFile + "TRACK 05 AUDIO|INDEX 01 00:00:00|FILE \"b.wav\" WAVE|TRACK 05 AUDIO|INDEX 01 00:10:00"),
       "line 5: TRACK 05 should be TRACK 06"},
      {lines("TITLE \"x\"|TRACK 01 AUDIO|INDEX 01 00:00:00|TRACK 02 AUDIO|INDEX 01 00:01:00"), "line 2: TRACK 01 comes before any FILE line"},
      {lines(kFile + "TITLE \"Open|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 2: a quote is left open"},
      {lines(kFile + "TRACK 01 AUDIO|TITLE \"12\" Mix\"|INDEX 01 00:00:00"), "line 3: a double quote stands inside the quoted text"},
      {lines(kFile + "TRACK 01 AUDIO|TITLE \"AC\\\\DC\\\\\"|INDEX 01 00:00:00"), "line 3: a backslash stands before the closing quote, which readers then take as text"},
      {lines(kFile + "TRACK 01 AUDIO|TITLE \"AC\\\\DC\\\\ \"|INDEX 01 00:00:00"), ""},
      {lines(kFile + "TRACK 01 AUDIO|TITLE 12\"|INDEX 01 00:00:00"), "line 3: a double quote stands inside text that is not quoted"},
      {lines(kFile + "TRACK 01 AUDIO|  Titel \"x\"|INDEX 01 00:00:00"),
       "line 3: \"Titel\" is no cue keyword and readers drop the sheet: use a REM line"},
      {lines(kFile + "TRACK 01 AUDIO|" + std::string(60, 'X') + "|INDEX 01 00:00:00"),
       "line 3: \"XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX...\" is no cue keyword and readers drop the sheet: use a REM line"},
      // Words some tools write, which a popular player's reader and cdrdao refuse the sheet for.
      {lines("COMPOSER \"Bach\"|GENRE Baroque|" + kFile + "TRACK 01 AUDIO|DISCNUMBER 2|INDEX 01 00:00:00"),
       "line 1: \"COMPOSER\" is no cue keyword and readers drop the sheet: use a REM line|"
       "line 2: \"GENRE\" is no cue keyword and readers drop the sheet: use a REM line|"
       "line 5: \"DISCNUMBER\" is no cue keyword and readers drop the sheet: use a REM line"},
      // The first track starts at the file's start (metaflac refuses it otherwise), whatever its number.
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:30|TRACK 02 AUDIO|INDEX 01 01:00:00"),
       "line 3: TRACK 01 starts at 00:00:30: the first track's first INDEX must be 00:00:00 (add INDEX 00 00:00:00)"},
      {lines(kFile + "TRACK 05 AUDIO|INDEX 00 00:00:10|INDEX 01 00:00:30"),
       "line 3: TRACK 05 starts at 00:00:10: the first track's first INDEX must be 00:00:00 (add INDEX 00 00:00:00)"},
      {lines(kFile + "TRACK 01 AUDIO|ISRC GBAYE000001|INDEX 01 00:00:00|TRACK 02 AUDIO|ISRC gbaye0000001|"
             "INDEX 01 01:00:00|TRACK 03 AUDIO|ISRC GBAYE0A00001|INDEX 01 02:00:00"),
       "line 3: ISRC \"GBAYE000001\" is not 2 capitals, 3 capitals or digits, 7 digits (GBAYE0400001)|"
       "line 6: ISRC \"gbaye0000001\" is not 2 capitals, 3 capitals or digits, 7 digits (GBAYE0400001)|"
       "line 9: ISRC \"GBAYE0A00001\" is not 2 capitals, 3 capitals or digits, 7 digits (GBAYE0400001)"},
      {lines("CATALOG 400638133393|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: CATALOG \"400638133393\" is not 13 digits"},
      {lines("CATALOG 400638133393X|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: CATALOG \"400638133393X\" is not 13 digits"},
      {lines("CATALOG 4006381333932|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"),
       "line 1: CATALOG 4006381333932 has a wrong check digit: its last digit should be 1"},
      {lines(kFile + "TRACK 01 AUDIO|index 01 00:00:00"), "line 2: TRACK 01 has no INDEX 01|line 3: write \"index\" in capitals: INDEX"},
      {"FILE \"a\" WAVE\rTRACK 01 AUDIO\r\nINDEX 01 00:00:00", "line 1: the line ends in a CR without LF, which cue readers do not see as a line end"},
      // What libcue refuses besides.
      {lines(kFile + "TRACK 01 CDG|INDEX 01 00:00:00"), "line 2: \"CDG\" is not a track type (AUDIO, MODE1/2352, MODE2/2352...)"},
      {lines(kFile + "TRACK 01|INDEX 01 00:00:00"), "line 2: TRACK 01 has no type such as AUDIO"},
      {lines(kFile + "TRACK|INDEX 01 00:00:00"), "line 2: \"TRACK\" needs a number and a type, as in TRACK 01 AUDIO"},
      {lines("FILE \"a.flac\" FLAC|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: \"FLAC\" is not a file type (WAVE, MP3, AIFF, BINARY, MOTOROLA)"},
      {lines("FILE \"a.flac\"|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: FILE has no type after its name (WAVE, MP3, AIFF, BINARY, MOTOROLA)"},
      {lines("FILE|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: FILE has no file name after it"},
      {lines("FILE Live Mix.wav WAVE|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: the file name holds blanks: put it in double quotes"},
      {lines(kFile + "TRACK 01 AUDIO|TITLE|INDEX 01 00:00:00"), "line 3: TITLE has no text after it"},
      {lines(kFile + "TRACK 01 AUDIO|PERFORMER Artist One|INDEX 01 00:00:00"), "line 3: the text after PERFORMER holds blanks: put it in double quotes"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00 x"), "line 3: unexpected \"x\" at the end of the line"},
      {lines(kFile + "TRACK 01 AUDIO|FLAGS DCP,PRE|INDEX 01 00:00:00"), "line 3: \"DCP,PRE\" is not a flag (DCP, 4CH, PRE, SCMS)"},
      {lines(kFile + "ISRC GBAYE0000001|TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 2: ISRC stands before the first TRACK; it belongs inside a track"},
      {lines(kFile + "TRACK 01 AUDIO|CATALOG 1234567890128|INDEX 01 00:00:00"), "line 3: CATALOG belongs before the first TRACK"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|INDEX 01 00:01:00"), "line 4: INDEX 01 comes after INDEX 01 in TRACK 01; index numbers go up"},
      {lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|FILE \"b.wav\" WAVE|TITLE \"x\"|FILE \"c.wav\" WAVE|TRACK 02 AUDIO|INDEX 01 00:00:00"),
       "line 6: FILE comes again after line 4 with no TRACK between them"},
      {lines("REM DATE|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: REM DATE has no value after it"},
      {lines("REM GENRE Deep House|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: REM GENRE takes one word or a quoted text, not \"Deep House\""},
      {lines("REM UPDATED 2020|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|REM COMMENT \"GENRE\""),
       "line 1: cue readers see the field \"DATE\" in this REM comment; reword it|"
       "line 5: cue readers see the field \"GENRE\" in this REM comment; reword it"},
      {lines("REM REPLAYGAIN_ALBUM_GAIN|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), "line 1: REM REPLAYGAIN_ALBUM_GAIN has no value after it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SheetCheck check;
    EXPECT_EQ(problemsOf(c.text, &check), c.problems);
  }
}

TEST(SheetCheck, SheetsThatKeepEveryRulePass) {
  std::string lf = defaultSheet({"00:00:00", "04:05:41"});
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  std::string cut = lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00");
  cut.resize(cut.size() - 2);
  const std::string cases[] = {
      defaultSheet({"00:00:00", "59:59:74", "60:00:00", "100:00:00", "477218:35:22"}),
      lf,
      cut,
      tracks(99),
      lines("REM DATE 2004|REM GENRE \"Deep House\"|REM COMMENT \"by hand\" for now|REM|" +
            std::string("CATALOG 1234567890128|CDTEXTFILE \"x.cdt\"|") + kFile +
            "|\t|TRACK 01 AUDIO|\tFLAGS DCP PRE|\tISRC GBAYE0000001|\tSONGWRITER \xC9mile|"
            "\tPREGAP 00:02:00|\tINDEX 00 00:00:00|\tINDEX 01 00:00:30|\tINDEX 02 00:01:00|"
            "\tPOSTGAP 00:01:00|REM REPLAYGAIN_TRACK_GAIN -1.2 dB"),
      lines(kFile + "TRACK 01 AUDIO|INDEX 00 00:00:00|INDEX 01 10:00:00|FILE \"b.mp3\" MP3|INDEX 02 00:00:00|TRACK 02 MODE1/2352|INDEX 01 00:01:00"),
      lines("CATALOG 0000000000000|CATALOG 4006381333931|" + kFile + "TRACK 01 AUDIO|ISRC USRC17607839|INDEX 01 00:00:00"),
      // A later disc's sheet, one-digit index numbers, two files whose times each start at 0.
      lines(kFile + "TRACK 05 AUDIO|INDEX 01 00:00:00|TRACK 06 AUDIO|INDEX 00 00:09:74|INDEX 01 00:10:00|TRACK 07 AUDIO|INDEX 01 00:20:00"),
      lines(kFile + "TRACK 01 AUDIO|INDEX 0 00:00:00|INDEX 1 00:00:01|INDEX 2 00:00:02"),
      lines("FILE \"cd1.flac\" WAVE|TRACK 01 AUDIO|INDEX 00 00:00:00|INDEX 01 00:00:30|TRACK 02 AUDIO|INDEX 01 40:00:00|"
            "FILE \"cd2.flac\" WAVE|TRACK 03 AUDIO|INDEX 01 00:00:00|TRACK 04 AUDIO|INDEX 00 00:10:00|INDEX 01 00:12:00"),
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text);
    SheetCheck check;
    EXPECT_EQ(problemsOf(text, &check), "");
    EXPECT_EQ(check.problems, 0);
  }
}

TEST(SheetCheck, ForACdTheBurnersRulesToo) {
  const AudioFacts cdWav = {60 * 75, kWaveFile, 44100, 16, 2};  // a minute of CD audio
  const AudioFacts unknown = {-1, kWaveUnknown, 0, 0, 0};
  const std::string track2 = "|TRACK 02 AUDIO|INDEX 01 ";
  std::string longTitle = "TITLE \"" + std::string(81, 'x') + "\"";
  struct {
    const char* name;
    std::string text;
    std::vector<AudioFacts> files;
    const char* problems;  // with the CD rules; without them the sheet passes
    bool utf8Text = false;
  } cases[] = {
      {"a sheet for a CD", lines("CATALOG 4006381333931|PERFORMER \"Caf\xC3\xA9\"|" + kFile + "TRACK 01 AUDIO|TITLE \"" +
                                 std::string(80, 'x') + "\"|ISRC GBAYE0000001|FLAGS DCP|SONGWRITER \"W\"|INDEX 00 00:00:00|"
                                 "INDEX 01 00:00:30" + track2 + "00:04:30"), {cdWav}, ""},
      {"under 4 s to the next track", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00" + track2 + "00:03:74"), {cdWav},
       "line 2: TRACK 01 lasts 00:03:74, shorter than the 4 seconds a CD track needs"},
      {"the last, under 4 s to the file's end", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00" + track2 + "00:57:00"),
       {cdWav}, "line 4: TRACK 02 lasts 00:03:00, shorter than the 4 seconds a CD track needs"},
      {"the last, the file's length not known", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00" + track2 + "00:57:00"),
       {unknown}, ""},
      {"the disc's length", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), {{81 * 60 * 75, kWaveFile, 44100, 16, 2}},
       "line 2: the disc lasts 81:00:00, past the 79:57:74 a CD holds"},
      {"at least, from the times", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00" + track2 + "79:58:00"), {unknown},
       "line 4: the disc lasts at least 79:58:00, past the 79:57:74 a CD holds"},
      {"two files add up", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|FILE \"b.wav\" WAVE" + track2 + "00:00:00"),
       {{40 * 60 * 75, kWaveFile, 44100, 16, 2}, {40 * 60 * 75, kWaveFile, 44100, 16, 2}},
       "line 5: the disc lasts 80:00:00, past the 79:57:74 a CD holds"},
      // The burner takes each file from its first INDEX: INDEX 00 00:00:00 keeps the audio before
      // a later INDEX 01 as a pregap; without it, or with a later INDEX 00, it is left out.
      {"INDEX 00 00:00:00 keeps the start", lines(kFile + "TRACK 01 AUDIO|INDEX 00 00:00:00|INDEX 01 00:05:00"), {cdWav}, ""},
      {"a later INDEX 00", lines(kFile + "TRACK 01 AUDIO|INDEX 00 00:02:00|INDEX 01 00:05:00"), {cdWav},
       "line 3: TRACK 01 starts at 00:02:00: the first track's first INDEX must be 00:00:00 (add INDEX 00 00:00:00)|"
       "line 3: a CD burner leaves out the 00:02:00 of the file before this INDEX: start with INDEX 00 00:00:00"},
      {"the second file's start", lines(kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00|FILE \"b.wav\" WAVE" + track2 + "00:05:00"),
       {cdWav, cdWav}, "line 6: a CD burner leaves out the 00:05:00 of the file before this INDEX: start with INDEX 00 00:00:00"},
      {"CD-TEXT", lines("PERFORMER \"\xD0\x96\xD1\x91\"|" + kFile + "TRACK 01 AUDIO|" + longTitle + "|SONGWRITER \"\xE6\x9D\xB1\"|INDEX 01 00:00:00"),
       {cdWav},
       "line 1: PERFORMER holds \"\xD0\x96\", which CD-TEXT (Latin-1) cannot hold|"
       "line 4: TITLE holds 81 characters; CD-TEXT takes at most 80|"
       "line 5: SONGWRITER holds \"\xE6\x9D\xB1\", which CD-TEXT (Latin-1) cannot hold"},
      {"text written as UTF-8", lines("PERFORMER \"Caf\xC3\xA9\"|" + kFile + "TRACK 01 AUDIO|INDEX 01 00:00:00"), {cdWav},
       "line 1: the sheet is saved as UTF-8, which burners read as Latin-1: choose ANSI text", true},
      {"the audio files", lines("FILE \"a.mp3\" MP3|TRACK 01 AUDIO|INDEX 01 00:00:00|FILE \"b.flac\" WAVE" + track2 +
                                 "00:00:00|FILE \"c.wav\" WAVE|TRACK 03 AUDIO|INDEX 01 00:00:00|FILE \"d.wav\" WAVE|"
                                 "TRACK 04 AUDIO|INDEX 01 00:00:00|FILE \"e.wav\" WAVE|TRACK 05 AUDIO|INDEX 01 00:00:00"),
       {cdWav, {-1, kWaveNone, 0, 0, 0}, {-1, kWaveFile, 48000, 24, 2}, {-1, kWaveFile, 44100, 16, 1}, unknown},
       "line 1: a CD burner takes WAV files (type WAVE), not MP3|"
       "line 4: \"b.flac\" is no WAV file, which a CD burner needs|"
       "line 7: \"c.wav\" is 48000 Hz, 24-bit, stereo; a CD takes 44100 Hz, 16-bit, stereo|"
       "line 10: \"d.wav\" is 44100 Hz, 16-bit, mono; a CD takes 44100 Hz, 16-bit, stereo"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SheetCheck check;
    CdFacts cd = {c.files.data(), (unsigned)c.files.size(), c.utf8Text};
    checkSheet(c.text.data(), c.text.size(), &check, &cd);
    char out[kProblemsTextBytes];
    formatProblems(check, out, sizeof out);
    std::string all = out;
    for (size_t at; (at = all.find("\r\n")) != std::string::npos;) all.replace(at, 2, "|");
    EXPECT_EQ(all, c.problems);
    // The first track's start is a rule for every reader; the rest are for a CD only.
    bool always = std::string(c.problems).find("first track's first INDEX") != std::string::npos;
    EXPECT_EQ(problemsOf(c.text, &check).empty(), !always);
  }
}

TEST(SheetCheck, PastTenProblemsTheFirstTenAreKeptInOrder) {
  // TRACK 01's missing INDEX 01 is found last, yet it comes first; megabytes of broken lines
  // are all counted.
  const int broken = 250000;
  std::string text = kFile + "TRACK 01 AUDIO";
  for (int i = 0; i < broken; ++i) text += "|TITLE \"x";
  SheetCheck check;
  std::string expected = "line 2: TRACK 01 has no INDEX 01";
  for (int line = 3; line <= 11; ++line) expected += "|line " + std::to_string(line) + ": a quote is left open";
  EXPECT_EQ(problemsOf(lines(text), &check), expected + "|and " + std::to_string(broken + 1 - 10) + " more");
  EXPECT_EQ(check.problems, broken + 1);
  for (int i = 0; i < kSheetProblemsKept; ++i) EXPECT_EQ(check.kept[i].line, i + 2);
}

TEST(SheetCheck, FormattedProblemsAreCutAndTerminated) {
  SheetCheck check;
  std::string sheet = lines("Titel|TRACK 05 AUDIO|" + std::string(200, 'x'));
  for (int i = 0; i < 12; ++i) sheet += "INDEX 01 0\r\n";
  checkSheet(sheet.data(), sheet.size(), &check);
  char whole[kProblemsTextBytes];
  formatProblems(check, whole, sizeof whole);
  size_t length = strlen(whole);
  ASSERT_GT(length, 10 * 50u);
  for (size_t bytes = 0; bytes <= length + 1; ++bytes) {
    char out[kProblemsTextBytes + 2];
    memset(out, '#', sizeof out);
    formatProblems(check, out, bytes);
    size_t kept = bytes == 0 ? 0 : std::min(length, bytes - 1);
    if (bytes > 0) {
      ASSERT_EQ(std::string(out, kept + 1), std::string(whole, kept) + '\0');
    }
    ASSERT_EQ(out[bytes], '#') << bytes;
  }
}

TEST(SheetCheck, NeedsCheckWhenATrackOrIndexLineStands) {
  struct {
    const char* text;
    size_t cut;  // bytes past the length given
    bool needed;
  } cases[] = {
      {"", 0, false},
      {"PERFORMER \"x\"\r\nTITLE \"TRACK\"\r\nFILE \"a\" WAVE\r\n", 0, false},
      {"REM TRACK 01\r\nTRACKS\r\n", 0, false},
      {"TITLE \"x\"\r\nTRACK 01 AUDIO", 0, true},
      {"FILE \"a\" WAVE\n \tINDEX 01 00:00:00", 0, true},
      {"x\rtrack 01 audio", 0, true},
      {"TITLE \"x\"\r\nTRACK 01", 4, false},  // the length ends it, not a NUL
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(sheetNeedsCheck(c.text, strlen(c.text) - c.cut), c.needed);
  }
}
