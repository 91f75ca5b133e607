// A sheet's tracks as chapters in each format, and the video sites' rules, table by table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../sheet/chapterExport.h"

namespace {

// Past an hour, with = ; # \ & < > --> in a title, an empty performer, a one-word performer,
// CJK, an emoji and an invalid byte; a second FILE block, left out. Audio of 4000 s.
const std::string kMix =
    "REM DATE 2004\r\nPERFORMER \"DJ Ex\"\r\nTITLE \"Night = Drive; #1\"\r\nFILE \"mix.mp3\" MP3\r\n"
    "TRACK 01 AUDIO\r\n  TITLE \"Opening\"\r\n  PERFORMER \"Artist One\"\r\n  INDEX 00 00:00:00\r\n  INDEX 01 00:00:51\r\n"
    "TRACK 02 AUDIO\r\n  TITLE \"A=B; C#D \\ E & <F> -->\"\r\n  PERFORMER \"\"\r\n  INDEX 01 04:04:25\r\n"
    "TRACK 03 AUDIO\r\n  TITLE \"\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5 \xFF\"\r\n  PERFORMER Bj\xC3\xB6rk\r\n"
    "  INDEX 01 61:40:50\r\nFILE \"b.wav\" WAVE\r\nTRACK 04 AUDIO\r\n  INDEX 01 00:00:00\r\n";
const long long kMixFrames = 4000 * 75;
const std::string kMixLast = "Bj\xC3\xB6rk - \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5 \xEF\xBF\xBD";

// LF line ends, no header, quotes inside a title (read as cue readers read it: up to the second
// quote), a TAB in a performer, a track without a valid INDEX 01, an unquoted title of two words
// (its first word); length unknown.
const std::string kQuotes =
    "TRACK 01 AUDIO\n  TITLE \"Say \"Hi\"\"\n  PERFORMER \"Tab\there\"\n  INDEX 01 00:00:00\n"
    "TRACK 02 AUDIO\n  TITLE \"No start\"\n  INDEX 01 00:00:75\n"
    "TRACK 03 AUDIO\n  TITLE Word extra\n  INDEX 01 1:05:37";

// Lone CR line ends, a header and no track.
const std::string kNoTracks = "TITLE \"Only a title\"\rPERFORMER Someone\r";

struct FormatCase {
  const char* name;
  std::string sheet;
  long long lengthFrames;
  std::string expected;
};

// The export in a buffer of exactly its size, with a sentinel past it.
std::string exported(const std::string& sheet, ExportFormat format, long long lengthFrames,
                     ExportReport* report = nullptr) {
  size_t bytes = exportBytes(sheet.data(), sheet.size(), format, lengthFrames);
  std::string out(bytes + 2, '#');
  EXPECT_EQ(exportSheet(sheet.data(), sheet.size(), format, lengthFrames, &out[0], bytes + 1, report), bytes);
  EXPECT_EQ(out[bytes], '\0');
  EXPECT_EQ(out[bytes + 1], '#') << "wrote past the buffer";
  return out.substr(0, bytes);
}

void checkFormat(ExportFormat format, const std::vector<FormatCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(exported(c.sheet, format, c.lengthFrames), c.expected);
  }
}

// A sheet of tracks starting at the given times (frames).
std::string sheetAt(const std::vector<long long>& starts) {
  std::string sheet = "FILE \"a.wav\" WAVE\n";
  for (size_t i = 0; i < starts.size(); ++i) {
    char line[96];
    long long f = starts[i];
    snprintf(line, sizeof line, "TRACK %02d AUDIO\n  TITLE \"T%d\"\n  INDEX 01 %02lld:%02lld:%02lld\n", (int)i + 1,
             (int)i + 1, f / 4500, f / 75 % 60, f % 75);
    sheet += line;
  }
  return sheet;
}

}  // namespace

TEST(ChapterExport, VideoChapterList) {
  checkFormat(kExportVideoChapters, {
      {"past an hour", kMix, kMixFrames,
       "0:00:00 Artist One - Opening\n0:04:04 A=B; C#D \\ E & <F> -->\n1:01:41 " + kMixLast + "\n"},
      {"under an hour", kQuotes, -1, "0:00 Tab here - Say \n1:05 Word\n"},
      {"no tracks", kNoTracks, -1, ""},
  });
}

TEST(ChapterExport, FfmpegMetadata) {
  const std::string chapter = "[CHAPTER]\nTIMEBASE=1/75\nSTART=";
  checkFormat(kExportFfmetadata, {
      {"past an hour", kMix, kMixFrames,
       ";FFMETADATA1\ntitle=Night \\= Drive\\; \\#1\nartist=DJ Ex\n" + chapter + "51\nEND=18325\n"
       "title=Artist One - Opening\n" + chapter + "18325\nEND=277550\ntitle=A\\=B\\; C\\#D \\\\ E & <F> -->\n" +
       chapter + "277550\nEND=300000\ntitle=" + kMixLast + "\n"},
      {"length unknown", kQuotes, -1,
       ";FFMETADATA1\n" + chapter + "0\nEND=4912\ntitle=Tab here - Say \n" + chapter + "4912\nEND=4987\ntitle=Word\n"},
      {"length before the last start", kQuotes, 4000, ";FFMETADATA1\n" + chapter + "0\nEND=4912\ntitle=Tab here - Say \n" +
       chapter + "4912\nEND=4987\ntitle=Word\n"},
      {"no tracks", kNoTracks, -1, ";FFMETADATA1\ntitle=Only a title\nartist=Someone\n"},
  });
}

TEST(ChapterExport, FfmpegValuesNeverEndInABackslash) {
  // FFmpeg's reader joins the next line to one ending in a backslash, escaped or not.
  const std::string sheet =
      "TITLE \"C:\\\"\r\nFILE \"a.wav\" WAVE\r\nTRACK 01 AUDIO\r\n  TITLE \"Dir\\\"\r\n  INDEX 01 00:00:00\r\n"
      "TRACK 02 AUDIO\r\n  PERFORMER \"P\\\"\r\n  INDEX 01 00:01:00\r\n"
      "TRACK 03 AUDIO\r\n  TITLE \"x\\\x01\"\r\n  INDEX 01 00:02:00\r\n";
  const std::string chapter = "[CHAPTER]\nTIMEBASE=1/75\nSTART=";
  ExportReport report;
  EXPECT_EQ(exported(sheet, kExportFfmetadata, 225, &report),
            ";FFMETADATA1\ntitle=C:\\\\ \n" + chapter + "0\nEND=75\ntitle=Dir\\\\ \n" + chapter +
                "75\nEND=150\ntitle=P\\\\ \n" + chapter + "150\nEND=225\ntitle=x\\\\ \n");
  EXPECT_EQ(report.backslashEnds, 3);
  EXPECT_NE(exported(sheet, kExportMatroska, 225, &report).find("NAME=Dir\\\n"), std::string::npos)
      << "other formats as they are";
  EXPECT_EQ(report.backslashEnds, 0);
}

TEST(ChapterExport, FileNamesTellTheFormatsApart) {
  struct {
    const char* path;
    ExportFormat format;
    const char* retyped;  // null: it stays
  } cases[] = {
      {"D:\\m\\mix.chapters.txt", kExportFfmetadata, "D:\\m\\mix.ffmeta"},
      {"D:\\m\\mix.chapters.txt", kExportMatroska, "D:\\m\\mix.mkvchapters.txt"},
      {"D:\\m\\mix.MKVCHAPTERS.TXT", kExportVideoChapters, "D:\\m\\mix.chapters.txt"},
      {"D:\\m\\mix.vtt", kExportAudacityLabels, "D:\\m\\mix.labels.txt"},
      {"D:\\m\\mix.labels.txt", kExportPodcastJson, "D:\\m\\mix.json"},
      {"D:\\m\\mix.mkvchapters.txt", kExportMatroska, nullptr},
      {"D:\\m\\mix.txt", kExportFfmetadata, nullptr},
      {"D:\\m\\my.chapters", kExportWebVtt, nullptr},
      {"D:\\m\\chapters.txt", kExportWebVtt, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    char path[40];
    strcpy(path, c.path);
    EXPECT_EQ(retypeExportPath(path, sizeof path, c.format), c.retyped != nullptr);
    EXPECT_STREQ(path, c.retyped ? c.retyped : c.path);
  }
  char tight[19] = "D:\\m\\a.ffmeta";  // the Matroska ending would not fit
  EXPECT_FALSE(retypeExportPath(tight, sizeof tight, kExportMatroska));
  EXPECT_STREQ(tight, "D:\\m\\a.ffmeta");
}

TEST(ChapterExport, MatroskaSimpleChapters) {
  checkFormat(kExportMatroska, {
      {"past an hour", kMix, kMixFrames,
       "CHAPTER01=00:00:00.680\nCHAPTER01NAME=Artist One - Opening\nCHAPTER02=00:04:04.333\n"
       "CHAPTER02NAME=A=B; C#D \\ E & <F> -->\nCHAPTER03=01:01:40.667\nCHAPTER03NAME=" + kMixLast + "\n"},
      {"under an hour", kQuotes, -1,
       "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Tab here - Say \nCHAPTER02=00:01:05.493\nCHAPTER02NAME=Word\n"},
      {"no tracks", kNoTracks, -1, ""},
  });
  std::vector<long long> starts;
  for (long long i = 0; i < 100; ++i) starts.push_back(i * 6000);  // 80 s apart, past 100 minutes
  std::string many = exported(sheetAt(starts), kExportMatroska, -1);
  EXPECT_NE(many.find("CHAPTER99=02:10:40.000\nCHAPTER99NAME=T99\nCHAPTER100=02:12:00.000\nCHAPTER100NAME=T100\n"),
            std::string::npos);
}

TEST(ChapterExport, WebVtt) {
  checkFormat(kExportWebVtt, {
      {"past an hour", kMix, kMixFrames,
       "WEBVTT\n\n00:00:00.680 --> 00:04:04.333\nArtist One - Opening\n\n00:04:04.333 --> 01:01:40.667\n"
       "A=B; C#D \\ E &amp; &lt;F&gt; --&gt;\n\n01:01:40.667 --> 01:06:40.000\n" + kMixLast + "\n\n"},
      {"length unknown: a second", kQuotes, -1,
       "WEBVTT\n\n00:00:00.000 --> 00:01:05.493\nTab here - Say \n\n00:01:05.493 --> 00:01:06.493\nWord\n\n"},
      {"no tracks", kNoTracks, -1, "WEBVTT\n\n"},
  });
}

TEST(ChapterExport, PodcastJson) {
  checkFormat(kExportPodcastJson, {
      {"past an hour", kMix, kMixFrames,
       "{\"version\":\"1.2.0\",\"chapters\":[{\"startTime\":0.68,\"title\":\"Artist One - Opening\"},"
       "{\"startTime\":244.333,\"title\":\"A=B; C#D \\\\ E & <F> -->\"},{\"startTime\":3700.667,\"title\":\"" +
       kMixLast + "\"}]}\n"},
      {"quotes and a TAB", kQuotes, -1,
       "{\"version\":\"1.2.0\",\"chapters\":[{\"startTime\":0,\"title\":\"Tab\\u0009here - Say \"},"
       "{\"startTime\":65.493,\"title\":\"Word\"}]}\n"},
      {"trailing zeros dropped", sheetAt({0, 5, 2 * 4500 + 60}), -1,
       "{\"version\":\"1.2.0\",\"chapters\":[{\"startTime\":0,\"title\":\"T1\"},{\"startTime\":0.067,\"title\":\"T2\"},"
       "{\"startTime\":120.8,\"title\":\"T3\"}]}\n"},
      {"no tracks", kNoTracks, -1, "{\"version\":\"1.2.0\",\"chapters\":[]}\n"},
  });
}

TEST(ChapterExport, AudacityLabels) {
  checkFormat(kExportAudacityLabels, {
      {"past an hour", kMix, kMixFrames,
       "0.680000\t0.680000\tArtist One - Opening\n244.333333\t244.333333\tA=B; C#D \\ E & <F> -->\n"
       "3700.666667\t3700.666667\t" + kMixLast + "\n"},
      {"a TAB in a label", kQuotes, -1, "0.000000\t0.000000\tTab here - Say \n65.493333\t65.493333\tWord\n"},
      {"no tracks", kNoTracks, -1, ""},
  });
}

TEST(ChapterExport, VideoSiteRulesAndCounts) {
  const long long s = 75;  // frames in a second
  struct {
    const char* name;
    std::string sheet;
    long long lengthFrames;
    unsigned rules;
    int shortEntry, unorderedEntry, tracks, leftOut, skipped;
    long long firstStart;
  } cases[] = {
      {"keeps them all", sheetAt({0, 600 * s, 1200 * s}), 1800 * s, 0, 0, 0, 3, 0, 0, 0},
      {"first within half a second", sheetAt({37, 600 * s, 1200 * s}), -1, 0, 0, 0, 3, 0, 0, 37},
      {"first later", sheetAt({38, 600 * s, 1200 * s}), -1, kVideoFirstNotAtZero, 0, 0, 3, 0, 0, 38},
      {"two entries", sheetAt({0, 600 * s}), -1, kVideoTooFewEntries, 0, 0, 2, 0, 0, 0},
      {"exactly 10 s each", sheetAt({0, 10 * s, 20 * s}), 30 * s, 0, 0, 0, 3, 0, 0, 0},
      {"9.5 s rounds to 10", sheetAt({0, 10 * s - 37, 20 * s}), -1, 0, 0, 0, 3, 0, 0, 0},
      {"a short second entry", sheetAt({0, 100 * s, 109 * s, 200 * s}), -1, kVideoEntryTooShort, 2, 0, 4, 0, 0, 0},
      {"a short last entry, length known", sheetAt({0, 100 * s, 200 * s}), 205 * s, kVideoEntryTooShort, 3, 0, 3, 0, 0, 0},
      {"the same, length unknown", sheetAt({0, 100 * s, 200 * s}), -1, 0, 0, 0, 3, 0, 0, 0},
      {"out of order", sheetAt({0, 100 * s, 50 * s, 300 * s}), -1, kVideoNotAscending, 0, 3, 4, 0, 0, 0},
      {"the same second", sheetAt({0, 100 * s, 100 * s + 30}), -1, kVideoNotAscending, 0, 3, 3, 0, 0, 0},
      {"a second FILE, a track without INDEX 01", kMix, kMixFrames, kVideoFirstNotAtZero, 0, 0, 3, 1, 0, 51},
      {"a skipped track", kQuotes, -1, kVideoTooFewEntries, 0, 0, 2, 0, 1, 0},
      {"no tracks", kNoTracks, -1, kVideoTooFewEntries, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int format = 0; format < kExportFormatCount; ++format) {
      ExportReport report;
      memset(&report, 0x5A, sizeof report);
      exported(c.sheet, (ExportFormat)format, c.lengthFrames, &report);
      EXPECT_EQ(report.videoRules, c.rules);
      EXPECT_EQ(report.shortEntry, c.shortEntry);
      EXPECT_EQ(report.unorderedEntry, c.unorderedEntry);
      EXPECT_EQ(report.tracks, c.tracks);
      EXPECT_EQ(report.leftOut, c.leftOut);
      EXPECT_EQ(report.skipped, c.skipped);
      EXPECT_EQ(report.firstStart, c.firstStart);
    }
  }
}

TEST(ChapterExport, ShortBuffersCutBetweenWholeCharacters) {
  // Every format of a sheet with characters of one to four bytes, in every buffer size. The
  // expected cut is the longest prefix that fits and ends where the whole export has a character
  // start: a byte that is not 10xxxxxx, UTF-8's own rule (the export is valid UTF-8).
  for (int format = 0; format < kExportFormatCount; ++format) {
    SCOPED_TRACE(format);
    std::string whole = exported(kMix, (ExportFormat)format, kMixFrames);
    for (size_t outBytes = 0; outBytes <= whole.size() + 1; ++outBytes) {
      SCOPED_TRACE(outBytes);
      std::string out(outBytes + 1, '#');
      size_t written =
          exportSheet(kMix.data(), kMix.size(), (ExportFormat)format, kMixFrames, &out[0], outBytes, nullptr);
      EXPECT_EQ(out[outBytes], '#');
      if (outBytes == 0) continue;
      size_t expected = std::min(outBytes - 1, whole.size());
      while (expected < whole.size() && ((unsigned char)whole[expected] & 0xC0) == 0x80) --expected;
      EXPECT_EQ(written, expected);
      EXPECT_EQ(out.substr(0, written + 1), whole.substr(0, written) + '\0');
    }
  }
  EXPECT_EQ(exportBytes(kMix.data(), kMix.size(), kExportFormatCount, -1), 0u) << "no such format";
}
