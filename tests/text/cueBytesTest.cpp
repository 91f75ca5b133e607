// Cue file bytes under the ANSI code pages 1252, 932 and 65001 (UTF-8, since Windows 10): what
// Open reads and says will change, and what Save writes, through the code-page conversions.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "../../base/platformText.h"
#include "../../capture/cueBytes.h"

namespace {

const unsigned kAnsiCodePages[] = {1252, 932, 65001};
const std::string kBom = "\xEF\xBB\xBF";
const std::string kMarker = "REM COMMENT \"LumoMarker\"\r\n";
const std::string kFffd = "\xEF\xBF\xBD";
const DWORD kErrInvalidChars = 0x80;  // WC_ERR_INVALID_CHARS, the one flag UTF-8 takes

// WideCharToMultiByte as Windows keeps its contract: CP_ACP is the ANSI code page set, and UTF-8
// takes no flags and no "used default" question (Wine answers them; Windows fails with 0).
int WINAPI windowsToMultiByte(UINT codePage, DWORD flags, LPCWCH units, int count, LPSTR out, int outBytes,
                              LPCCH defaultChar, LPBOOL usedDefault) {
  if (codePage == CP_ACP) codePage = ansiCodePage();
  if (codePage == CP_UTF8 && ((flags & ~kErrInvalidChars) || defaultChar || usedDefault)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WideCharToMultiByte(codePage, flags, units, count, out, outBytes, defaultChar, usedDefault);
}

// The conversions as on a Windows with this ANSI code page, while it lives.
struct AnsiCodePage {
  explicit AnsiCodePage(unsigned codePage) { setCodePageForTests(codePage, windowsToMultiByte); }
  ~AnsiCodePage() { setCodePageForTests(0, nullptr); }
};

std::string utf16(const std::wstring& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t unit : text) {
    char low = (char)(unit & 0xFF), high = (char)(unit >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// The bytes Save writes for text in form; "<lacks>" or "<failed>" when it writes none.
std::string encoded(const std::string& text, const CueForm& form) {
  CueBytes out;
  EncodeResult result = encodeCueText(text.data(), text.size(), form, &out);
  if (result != kEncoded) return result == kEncodeLacks ? "<lacks>" : "<failed>";
  std::string bytes(out.bytes, out.length);
  freeCueBytes(&out);
  return bytes;
}

}  // namespace

TEST(CueBytes, OpenReadsEachFormSaysWhatWillChangeAndSaveWritesItBack) {
  const std::wstring kWide = L"TITLE \"\x6771\x4EAC \xD83C\xDFB5\"\r\n";  // 東京 🎵
  const std::string kWideUtf8 = "TITLE \"\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5\"\r\n";
  const std::string kShiftJis = "TITLE \"\x93\x8C\x8B\x9E\"\r\n";  // 東京 in code page 932
  const std::string kStrayUtf8 = "REM a\r\nTITLE \"Bj" + kFffd + "rk\"\r\n";
  const std::string kFourFffd = "TITLE \"" + kFffd + kFffd + kFffd + kFffd + "\"\r\n";
  struct {
    const char* name;
    unsigned ansi;    // the only ANSI code page the row is for; 0: every one alike
    std::string bytes;
    unsigned chosen;  // the code page chosen in the Open dialog; 0: none
    DecodeResult result;
    std::string text;
    CueCharset charset;
    unsigned codePage;          // with a code page
    std::vector<int> changed;   // the lines Open names
    std::string back;           // what Save writes for the text unchanged; empty: the bytes read
  } cases[] = {
      {"BOM, marker, LF alone", 0, kBom + kMarker + "TITLE \"\xC3\xA9\"\n", 0, kDecoded, "TITLE \"\xC3\xA9\"\r\n",
       kCharsetUtf8, 0, {}, kBom + kMarker + "TITLE \"\xC3\xA9\"\r\n"},
      {"BOM (over a chosen code page), a stray byte", 0, kBom + "REM a\r\nTITLE \"Bj\xF6rk\"\r\n", 1251, kDecoded,
       kStrayUtf8, kCharsetUtf8, 0, {2}, kBom + kStrayUtf8},
      {"UTF-16 LE", 0, utf16(kWide, false), 0, kDecoded, kWideUtf8, kCharsetUtf16Le, 0, {}, ""},
      {"UTF-16 BE, last line open", 0, utf16(L"REM a\r\nTITLE \"\xE9\"", true), 0, kDecoded,
       "REM a\r\nTITLE \"\xC3\xA9\"", kCharsetUtf16Be, 0, {}, utf16(L"REM a\r\nTITLE \"\xE9\"\r\n", true)},
      {"UTF-16 LE, a lone surrogate, an odd last byte", 0, utf16(L"a\r\n\xD83C" L"b\r\n", false) + "x", 0, kDecoded,
       "a\r\n" + kFffd + "b\r\n" + kFffd, kCharsetUtf16Le, 0, {2, 3}, utf16(L"a\r\n\xFFFD" L"b\r\n\xFFFD\r\n", false)},
      {"UTF-16 with a NUL", 0, utf16(std::wstring(L"a\0b", 3), false), 0, kDecodeNul, "", kCharsetUtf16Le, 0, {}, ""},
      {"Cyrillic chosen", 0, "TITLE \"\xCF\xF0\xE8\xE2\xE5\xF2\"\r\n", 1251, kDecoded,
       "TITLE \"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\"\r\n", kCharsetCodePage, 1251, {}, ""},
      {"Shift-JIS chosen, a lone lead byte", 0, kShiftJis + "REM \x82\r\n", 932, kDecoded,
       "TITLE \"\xE6\x9D\xB1\xE4\xBA\xAC\"\r\nREM \xE3\x83\xBB\r\n", kCharsetCodePage, 932, {2},
       kShiftJis + "REM \x81\x45\r\n"},
      {"a code page chosen over text that looks like UTF-8", 0, "\xC3\xA9\r", 1252, kDecoded, "\xC3\x83\xC2\xA9\r\n",
       kCharsetCodePage, 1252, {}, "\xC3\xA9\r\n"},
      {"neither BOM nor UTF-8, ANSI 1252", 1252, kShiftJis, 0, kDecoded,
       "TITLE \"\xE2\x80\x9C\xC5\x92\xE2\x80\xB9\xC5\xBE\"\r\n", kCharsetCodePage, 1252, {}, ""},
      {"neither BOM nor UTF-8, ANSI 932", 932, kShiftJis, 0, kDecoded, "TITLE \"\xE6\x9D\xB1\xE4\xBA\xAC\"\r\n",
       kCharsetCodePage, 932, {}, ""},
      {"neither BOM nor UTF-8, ANSI 65001", 65001, kShiftJis, 0, kDecoded, kFourFffd, kCharsetCodePage, 65001, {1},
       kFourFffd},
  };
  for (unsigned codePage : kAnsiCodePages) {
    AnsiCodePage ansi(codePage);
    for (const auto& c : cases) {
      if (c.ansi && c.ansi != codePage) continue;
      SCOPED_TRACE(std::string(c.name) + " under " + std::to_string(codePage));
      DecodedCue cue;
      ASSERT_EQ(decodeCueFile(c.bytes.data(), c.bytes.size(), c.chosen, &cue), c.result);
      if (c.result != kDecoded) continue;
      EXPECT_EQ(std::string(cue.text), c.text);
      EXPECT_EQ(cue.length, c.text.size());
      EXPECT_EQ(cue.form.charset, c.charset);
      if (c.charset == kCharsetCodePage) {
        EXPECT_EQ(cue.form.codePage, c.codePage);
      }
      EXPECT_EQ(std::vector<int>(cue.changed, cue.changed + cue.changedLines), c.changed);
      EXPECT_EQ(encoded(c.text, cue.form), c.back.empty() ? c.bytes : c.back);
      freeDecodedCue(&cue);
    }
  }
}

TEST(CueBytes, SaveConvertsToTheAnsiCodePageAndNeverGivesAnEmptyFileForText) {
  const CueForm kBomMarker = {kCharsetUtf8, {true, true}, 0};
  const CueForm kUtf16Be = {kCharsetUtf16Be, {false, false}, 0};
  const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";
  struct {
    const char* name;
    std::string text;
    bool ansiForm;  // in the ANSI code page; else in form
    CueForm form;
    std::string bytes[3];  // under ANSI 1252, 932, 65001
  } cases[] = {
      {"Caf\xC3\xA9 in ANSI", "Caf\xC3\xA9", true, {}, {"Caf\xE9\r\n", "<lacks>", "Caf\xC3\xA9\r\n"}},
      {"Tokyo in ANSI", kTokyo + "\r\n", true, {}, {"<lacks>", "\x93\x8C\x8B\x9E\r\n", kTokyo + "\r\n"}},
      {"empty, ANSI", "", true, {}, {"", "", ""}},
      {"empty, BOM and marker", "", false, kBomMarker, {"", "", ""}},
      {"empty, UTF-16", "", false, kUtf16Be, {"", "", ""}},
  };
  for (int i = 0; i < 3; ++i) {
    AnsiCodePage ansi(kAnsiCodePages[i]);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " under " + std::to_string(kAnsiCodePages[i]));
      CueForm form = c.ansiForm ? CueForm{kCharsetCodePage, {false, false}, ansiCodePage()} : c.form;
      EXPECT_EQ(encoded(c.text, form), c.bytes[i]);
    }
  }
}
