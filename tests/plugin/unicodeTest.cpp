// Any script in titles, templates and file names: from the windows through the player's requests
// to the cue file's name and bytes, with a player of UTF-16 requests and an older one.
#include <windows.h>

#include <algorithm>

#include "pluginFixture.h"
#include "../../player/wideText.h"
#include "../../res/resource.h"

namespace {

// "Жёлтый 東京 🎵" (an emoji as a surrogate pair) and "Björk".
const std::string kTitle = "\xD0\x96\xD1\x91\xD0\xBB\xD1\x82\xD1\x8B\xD0\xB9 \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5";
const std::string kPerformer = "Bj\xC3\xB6rk";
const std::string kCafeTokyo = "Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xE2\x80\x93 mix";  // Café 東京 – mix
const std::string kCafe = "Caf\xC3\xA9 \xE2\x80\x93 mix";                                 // Café – mix

class UnicodeTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_EQ(GetACP(), 1252u) << "the tests run with code page 1252 (scripts/env.sh sets the locale)";
    player->positionMs = 60000;
  }
  // The names of the files in the test's folder that end in ".cue" (UTF-8).
  std::vector<std::string> cueFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(widen(folder + "\\*.cue").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = narrow(data.cFileName);
      if (name.compare(0, 5, "lumo_") != 0) names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
};

}  // namespace

TEST_F(UnicodeTest, AnyScriptReachesTheFileAsTypedInEachEncoding) {
  struct {
    const char* name;
    int encoding;
    std::string audio;          // the recording's name, without ".wav"
    std::deque<int> answers;    // to the boxes Save shows
    bool written;
    std::string prefix;         // what stands before the editor's text in the file
    bool ansi;                  // the file holds the text in code page 1252
  } cases[] = {
      {"automatic", 0, kCafeTokyo, {}, true, kBom + kMarker, false},
      {"UTF-8 without BOM", 1, kCafeTokyo, {}, true, "", false},
      {"ANSI refused", 2, kCafeTokyo, {IDNO}, false, "", false},
      {"ANSI refused, UTF-8 instead", 2, kCafeTokyo, {IDYES}, true, kBom + kMarker, false},
      {"ANSI it can hold", 2, kCafe, {}, true, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(iniPath(), "[LUMO]\r\nencoding=" + std::to_string(c.encoding) + "\r\n");
    player->playlist[0].path = folder + "\\" + c.audio + ".wav";
    player->messageBoxes.clear();
    start();
    commitEntry(c.encoding == 2 && c.ansi ? "Caf\xC3\xA9" : kTitle, kPerformer);
    std::string sheet = editorText();
    EXPECT_NE(sheet.find("FILE \"" + c.audio + ".wav\" WAVE"), std::string::npos) << "the file's real name";
    player->boxAnswers = c.answers;
    clickCue(IDC_CUE_SAVE);
    std::string cuePath = folder + "\\" + c.audio + ".cue";
    std::string expected = c.prefix + (c.ansi ? toAnsi(sheet) : sheet);
    EXPECT_EQ(readFile(cuePath), c.written ? expected : "<missing>");
    EXPECT_EQ(cueFiles(), c.written ? std::vector<std::string>{c.audio + ".cue"} : std::vector<std::string>{})
        << "named by its UTF-16 name";
    if (!c.answers.empty()) {
      EXPECT_EQ(player->messageBoxes[0].text,
                "The ANSI code page of this Windows lacks these characters of the cue sheet:\r\n\r\n"
                "\xE6\x9D\xB1 \xE4\xBA\xAC \xD0\x96 \xD1\x91 \xD0\xBB \xD1\x82 \xD1\x8B \xD0\xB9 \xF0\x9F\x8E\xB5"
                "\r\n\r\nSave it as UTF-8 instead?");
      EXPECT_EQ(player->messageBoxes[0].buttons, std::vector<int>({IDYES, IDNO}));
    }
    resetSheet();
    stop();
    DeleteFileW(widen(cuePath).c_str());
  }
}

TEST_F(UnicodeTest, AnOlderPlayerIsAskedInItsCodePageAndNeverNamesAFileWithAQuestionMark) {
  player->older = true;
  player->playlist[0].path = folder + "\\" + kCafeTokyo + ".wav";
  start();
  size_t first = player->events.size();
  commitEntry(kPerformer, "P");  // "Björk": the code page has it
  std::vector<std::string> events = eventsFrom(*player, first);
  EXPECT_NE(std::find(events.begin(), events.end(), "render"), events.end()) << "the ANSI request";
  EXPECT_NE(std::find(events.begin(), events.end(), "ipc 298"), events.end()) << "after the UTF-16 one";
  std::string sheet = editorText();
  EXPECT_NE(sheet.find("TITLE \"" + kPerformer + "\""), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("FILE \"Caf\xC3\xA9 ?? \xE2\x80\x93 mix.wav\""), std::string::npos)
      << "what the older player gives";
  player->boxAnswers.assign(1, IDNO);
  clickCue(IDC_CUE_SAVE);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_NE(player->messageBoxes[0].text.find("only in the ANSI code page"), std::string::npos)
      << player->messageBoxes[0].text;
  EXPECT_NE(player->messageBoxes[0].text.find("Save it somewhere else?"), std::string::npos);
  EXPECT_EQ(cueFiles(), std::vector<std::string>());

  // A name the code page holds is saved as ever.
  player->playlist[0].path = folder + "\\" + kCafe + ".wav";
  resetSheet();
  commitEntry("T", "P");
  clickCue(IDC_CUE_SAVE);
  EXPECT_EQ(cueFiles(), std::vector<std::string>({kCafe + ".cue"}));
}

TEST_F(UnicodeTest, TemplatesKeepEveryCharacterThroughARestart) {
  // "Пример 東京 🎵" typed on the Title format page.
  const std::string kTemplate = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80 \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5 %trackname%";
  writeFile(iniPath(), "[Other]\r\nkeep=\xE9\r\n[LUMO]\r\ncurrentpageindex=1\r\n");
  start();
  player->config();
  HWND field = findDescendant(player->preferencesPage(), IDC_FORMAT_TRACK);
  ASSERT_NE(field, nullptr);
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, EM_REPLACESEL, TRUE, (LPARAM)widen(kTemplate).c_str());  // typed
  player->closePreferences();
  stop();
  std::string ini = readFile(iniPath());
  EXPECT_NE(ini.find("balloontitle=" + kTemplate + "\r\n"), std::string::npos) << "stored as UTF-8";
  EXPECT_EQ(ini.compare(0, 17, "[Other]\r\nkeep=\xE9\r\n"), 0) << "the rest of the file as it was";
  start();
  commitEntry("T", "P");
  EXPECT_EQ(player->renderedTemplates.back(), kTemplate);
  resetSheet();
  stop();

  // A template an earlier version stored in the ANSI code page.
  writeFile(iniPath(), "[LUMO]\r\nballoontitle=Caf\xE9 %trackname%\r\n");
  start();
  commitEntry("T", "P");
  EXPECT_EQ(player->renderedTemplates.back(), "Caf\xC3\xA9 %trackname%");
}

TEST_F(UnicodeTest, AnEmojiCutAtTheInfoFieldsLimitLeavesNoHalfOfIt) {
  start();
  mark();
  HWND title = GetDlgItem(infoWindow(), IDC_INFO_TITLE);
  std::wstring typed = std::wstring(254, L'a') + L"\xD83C\xDFB5";  // its second half lies past 255 units
  SendMessageW(title, EM_REPLACESEL, TRUE, (LPARAM)typed.c_str());
  ASSERT_EQ(GetWindowTextLengthW(title), 255) << "the field kept the first half";
  SetDlgItemTextW(infoWindow(), IDC_INFO_PERFORMER, L"P");
  clickOk();
  EXPECT_NE(editorText().find("TITLE \"" + std::string(254, 'a') + "\"\r\n"), std::string::npos) << editorText();
}
