// The recovery copy's text: a BOM and REM lines, then the sheet byte for byte; copies of earlier
// versions without the BOM.
#include <gtest/gtest.h>

#include <string>

#include "../../sheet/recoveryText.h"

namespace {

std::string copyOf(int next, const std::string& audio, const std::string& text, const char* opened = "",
                   const std::string& tracklist = "") {
  CopyHeader header = {next, text.size(), audio.c_str(), opened, "u10", tracklist.data(), tracklist.size()};
  std::string out(recoveryHeaderBytes(header) + 1, '\0');
  size_t length = formatRecoveryHeader(header, &out[0], out.size());
  return out.substr(0, length) + text;
}

}  // namespace

TEST(RecoveryText, CopiesComeBackWhole) {
  // Whatever the editor held comes back, control characters pasted into a title too.
  std::string sheet = "PERFORMER \"Bj\xC3\xB6rk\"\r\nTRACK 01 AUDIO\r\n\tINDEX 01 00:00:00\r\n\xE6\x9D\xB1 \a\x1B\f\x01";
  std::string copy = copyOf(12, "D:\\mixes\\set.flac", sheet);
  std::string header = "REM LUMOMARKER-UNSAVED 12 " + std::to_string(sheet.size()) +
                       "\r\nREM LUMOMARKER-AUDIO D:\\mixes\\set.flac\r\n";
  EXPECT_EQ(copy.substr(0, copy.find(sheet)), "\xEF\xBB\xBF" + header);
  RecoveredSheet back;
  ASSERT_TRUE(parseRecovery(copy.data(), copy.size(), &back));
  EXPECT_TRUE(back.utf8);
  EXPECT_EQ(back.nextEntry, 12);
  EXPECT_EQ(std::string(back.text, back.textBytes), sheet);
  EXPECT_STREQ(back.audioPath, "D:\\mixes\\set.flac");
  EXPECT_STREQ(back.openedPath, "");

  // An opened sheet's file and form, and the tracklist still to be marked (blank lines left out);
  // a sheet whose first line looks like a tracklist line stays the sheet's.
  std::string own = "REM LUMOMARKER-NEXT mine\r\nREM typed\r\n";
  copy = copyOf(1, "", own, "D:\\set.cue", "A - One\n\n  \r\nB - Two");
  EXPECT_NE(copy.find("REM LUMOMARKER-OPENED u10 D:\\set.cue\r\nREM LUMOMARKER-NEXT A - One\r\n"
                      "REM LUMOMARKER-NEXT B - Two\r\n" + own),
            std::string::npos);
  ASSERT_TRUE(parseRecovery(copy.data(), copy.size(), &back));
  EXPECT_STREQ(back.openedPath, "D:\\set.cue");
  EXPECT_STREQ(back.openedForm, "u10");
  EXPECT_EQ(std::string(back.text, back.textBytes), own);
  std::string tracklist(back.tracklistLinesBytes + 1, '\0');
  tracklist.resize(recoveredTracklist(back, &tracklist[0], tracklist.size()));
  EXPECT_EQ(tracklist, "A - One\r\nB - Two\r\n");

  // The largest counter a copy may hold.
  copy = copyOf(2147483647, "", "x");
  ASSERT_TRUE(parseRecovery(copy.data(), copy.size(), &back));
  EXPECT_EQ(back.nextEntry, 2147483647);

  // An earlier version's copy: no BOM, the text in the ANSI code page.
  copy = header + sheet;
  ASSERT_TRUE(parseRecovery(copy.data(), copy.size(), &back));
  EXPECT_FALSE(back.utf8);
  EXPECT_EQ(std::string(back.text, back.textBytes), sheet);
}

TEST(RecoveryText, DamagedCopiesAreRefused) {
  std::string good = copyOf(3, "C:\\a.mp3", "TRACK 01 AUDIO\r\n    INDEX 01 00:00:00");
  std::string header = good.substr(0, good.find("TRACK"));
  struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"cut short", good.substr(0, good.size() - 1)},
      {"cut in the header", good.substr(0, 30)},
      {"longer than it says", good + "x"},
      {"a NUL", header.substr(0, header.size()) + std::string("TRACK 01 AUDIO\0\r\n    INDEX 01 00:00:", 37)},
      {"control byte in the path", copyOf(3, "C:\\a\x01.mp3", "TRACK 01 AUDIO")},
      {"not ours", "PERFORMER \"A\"\r\n"},
      {"0xFF", std::string(100, '\xFF')},
      {"counter 0", "REM LUMOMARKER-UNSAVED 0 1\r\nREM LUMOMARKER-AUDIO \r\nx"},
      {"no counter", "REM LUMOMARKER-UNSAVED  1\r\nREM LUMOMARKER-AUDIO \r\nx"},
      {"huge size", "REM LUMOMARKER-UNSAVED 2 99999999999\r\nREM LUMOMARKER-AUDIO \r\nx"},
      // Ten digits that would wrap around to 1 in 32 bits.
      {"counter past 32 bits", "REM LUMOMARKER-UNSAVED 4294967297 1\r\nREM LUMOMARKER-AUDIO \r\nx"},
      {"size past 32 bits", "REM LUMOMARKER-UNSAVED 2 4294967297\r\nREM LUMOMARKER-AUDIO \r\nx"},
      {"counter past the largest", "REM LUMOMARKER-UNSAVED 2147483648 1\r\nREM LUMOMARKER-AUDIO \r\nx"},
      {"path too long", "REM LUMOMARKER-UNSAVED 2 1\r\nREM LUMOMARKER-AUDIO " + std::string(kPathBytes, 'p') + "\r\nx"},
      {"opened without a path", "REM LUMOMARKER-UNSAVED 2 1\r\nREM LUMOMARKER-AUDIO \r\nREM LUMOMARKER-OPENED u10 \r\nx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecoveredSheet back;
    EXPECT_FALSE(parseRecovery(c.bytes.data(), c.bytes.size(), &back));
  }
  char small[8];
  CopyHeader fits = {2, 1, "C:\\a", "", "", nullptr, 0};
  EXPECT_EQ(formatRecoveryHeader(fits, small, sizeof small), 0u);
  std::string longPath(kPathBytes, 'p');
  char header2[kRecoveryHeaderBytes];
  CopyHeader tooLong = {2, 1, longPath.c_str(), "", "", nullptr, 0};
  EXPECT_EQ(formatRecoveryHeader(tooLong, header2, sizeof header2), 0u);
}
