// Every point where the plug-in meets the player, in the stand-in that answers as the real player
// does: each row names the player's behaviour and checks what the plug-in must do there; the
// rows of older players follow.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "pluginFixture.h"
#include "../../player/wideText.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

// "Жёлтый 東京" and "Café 東京 – mix".
const std::string kCyrillicTokyo = "\xD0\x96\xD1\x91\xD0\xBB\xD1\x82\xD1\x8B\xD0\xB9 \xE6\x9D\xB1\xE4\xBA\xAC";
const std::string kCafeTokyo = "Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xE2\x80\x93 mix";

// Each row starts as a fresh install: no settings, no recovery copy, no ledger.
void clearFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    bool dll = name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0;
    if (!dll && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + "\\" + name).c_str());
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

bool has(const Events& events, const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

INT_PTR CALLBACK otherPageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class HostPointsTest : public PluginTest {
 public:
  // The rows reach the fixture through these.
  using PluginTest::caretOn;
  using PluginTest::clickCue;
  using PluginTest::commitEntry;
  using PluginTest::cueWindow;
  using PluginTest::dllPath;
  using PluginTest::editorText;
  using PluginTest::folder;
  using PluginTest::iniPath;
  using PluginTest::key;
  using PluginTest::player;
  using PluginTest::pumpUntil;
  using PluginTest::readFile;
  using PluginTest::setEditorByHand;
  using PluginTest::start;
  using PluginTest::stop;
  using PluginTest::writeFile;

  // Starts with these templates, marks once while playing at 1:00 and gives the entry.
  std::string entryWith(const std::string& trackTemplate) {
    writeFile(iniPath(), "[LUMO]\r\nadvformatstring=H\r\nballoontitle=" + trackTemplate + "\r\n");
    start();
    player->playState = HOST_STATE_PLAYING;
    player->positionMs = 60000;
    commitEntry("T", "P");
    std::string text = editorText();
    bool ended = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
    EXPECT_TRUE(ended) << "an entry ends its line";
    if (ended) text.resize(text.size() - 2);
    return text.compare(0, 3, "H\r\n") == 0 ? text.substr(3) : text;
  }
  // The Title format page's field, with text typed into it (a real line break as Ctrl+Enter types it).
  void typeTemplate(int field, const std::string& text) {
    HWND edit = findDescendant(player->preferencesPage(), field);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, (LPARAM)widen(text).c_str());
  }
  std::string pageText(int id) { return windowTextOf(findDescendant(player->preferencesPage(), id)); }
};

struct Point {
  const char* host;    // what the player does
  const char* plugin;  // what the plug-in must do there
  bool ansiWindow;
  std::function<void(HostPointsTest&)> check;
};

}  // namespace

TEST_F(HostPointsTest, EveryPointOfThePlayer) {
  const Point points[] = {
      {"the main window is a Unicode one", "subclassed in its own form: its texts keep every character", false,
       [](HostPointsTest& t) {
         t.start();
         EXPECT_NE(windowProcOf(t.player->window()), StandInPlayer::PlayerWndProc) << "capture installed";
         SetWindowTextW(t.player->window(), widen(kCafeTokyo).c_str());
         EXPECT_EQ(windowTextOf(t.player->window()), kCafeTokyo);
         EXPECT_TRUE(IsWindowUnicode(t.player->window())) << "later subclassers still see a Unicode window";
       }},
      {"an older player's ANSI main window", "subclassed in the ANSI form: it stays ANSI", true,
       [](HostPointsTest& t) {
         t.start();
         EXPECT_NE(windowProcOf(t.player->window()), StandInPlayer::PlayerWndProc);
         SetWindowTextA(t.player->window(), "Caf\xE9");
         EXPECT_EQ(windowTextOf(t.player->window()), "Caf\xC3\xA9");
         EXPECT_FALSE(IsWindowUnicode(t.player->window()));
       }},
      {"298 formats nothing without a file name", "it names the current entry, file tags off", false,
       [](HostPointsTest& t) {
         t.player->playlist[0].path = t.folder + "\\" + kCafeTokyo + ".wav";
         size_t first = t.player->events.size();
         std::string entry = t.entryWith("TITLE \"%trackname%\" FILE \"%filename%\"");
         EXPECT_EQ(entry, "TITLE \"T\" FILE \"" + kCafeTokyo + ".wav\"");
         EXPECT_EQ(t.player->lastRenderFileName, t.player->playlist[0].path);
         EXPECT_EQ(t.player->lastRenderWide.useFileTags, 0);
         EXPECT_FALSE(has(eventsFrom(*t.player, first), "render")) << "no fall-back to the ANSI request";
         t.player->current = 5;  // no entry plays: still a name
         t.commitEntry(kCyrillicTokyo, "P");
         EXPECT_NE(t.editorText().find("TITLE \"" + kCyrillicTokyo + "\""), std::string::npos);
         EXPECT_FALSE(t.player->lastRenderFileName.empty());
       }},
      {"every CR and LF of a formatted result becomes a blank",
       "a real line break in a template reaches the player as an escape: the entry keeps its lines", false,
       [](HostPointsTest& t) {
         t.writeFile(t.iniPath(), "[LUMO]\r\ncurrentpageindex=1\r\n");
         t.start();
         t.player->config();
         t.typeTemplate(IDC_FORMAT_HEADER, "H\\");
         t.typeTemplate(IDC_FORMAT_TRACK, "TRACK %trackcount% AUDIO\\\r\n  TITLE \"%trackname%\"");
         t.player->closePreferences();
         t.commitEntry("T", "P");
         EXPECT_EQ(t.player->renderedTemplates.back(), "TRACK %trackcount% AUDIO\\\\\\r\\n  TITLE \"%trackname%\"");
         EXPECT_EQ(t.editorText(), "H\\\r\nTRACK 01 AUDIO\\\r\n  TITLE \"T\"\r\n")
             << "a backslash before a break stays";
       }},
      {"templates are the player's language: a stray ( ) ] or an open ' gives its syntax-error text",
       "the Title format page previews the player's result and names the template it cannot read", false,
       [](HostPointsTest& t) {
         t.writeFile(t.iniPath(), "[LUMO]\r\ncurrentpageindex=1\r\n");
         t.start();
         t.player->config();
         EXPECT_EQ(t.pageText(IDC_FORMAT_PREVIEW).substr(0, 19), "PERFORMER \"The Band");
         EXPECT_NE(t.pageText(IDC_FORMAT_PREVIEW).find("TITLE \"Sample Title\""), std::string::npos);
         EXPECT_EQ(t.pageText(IDC_FORMAT_PROBLEM), "");
         t.typeTemplate(IDC_FORMAT_TRACK, "REM COMMENT \"Live (FM)\"");
         EXPECT_NE(t.pageText(IDC_FORMAT_PREVIEW).find("[SYNTAX ERROR IN FORMATTING STRING]"), std::string::npos);
         EXPECT_EQ(t.pageText(IDC_FORMAT_PROBLEM).substr(0, 17), "Track formatting:");
         t.typeTemplate(IDC_FORMAT_HEADER, "$nofunction(1)");
         EXPECT_EQ(t.pageText(IDC_FORMAT_PROBLEM).substr(0, 11), "Cue header:");
         t.typeTemplate(IDC_FORMAT_HEADER, "[%nothing% - ]$upper(%artist%)");
         t.typeTemplate(IDC_FORMAT_TRACK, "REM COMMENT \"Live '(FM)' ''74\"");
         EXPECT_EQ(t.pageText(IDC_FORMAT_PREVIEW), "THE BAND\r\nREM COMMENT \"Live (FM) '74\"");
         EXPECT_EQ(t.pageText(IDC_FORMAT_PROBLEM), "");
       }},
      {"851 answers the title with a 16-byte record; 850 is the player's hook point (it writes nothing)",
       "%watitle% from 851, its record's size the buffer's", false,
       [](HostPointsTest& t) {
         EXPECT_EQ(t.entryWith("%watitle%|%videoinfo%"), "Set One|");
         EXPECT_EQ(t.player->lastTitleHookWide.titleChars, 2048);
       }},
      {"126: mode 0 is kHz, mode 5 Hz, mode 4 a UTF-16 text", "%srate% in Hz, %videoinfo% whole", false,
       [](HostPointsTest& t) {
         t.player->sampleRateHz = 48000;
         t.player->videoText = "H.264 " + kCyrillicTokyo;
         t.player->giveVideoText = true;
         EXPECT_EQ(t.entryWith("%srate%|%videoinfo%"), "48000|H.264 " + kCyrillicTokyo);
       }},
      {"the input plug-in writes a field and answers 0", "what it wrote is the value", false,
       [](HostPointsTest& t) {
         t.player->fieldsAnswerZero = true;
         EXPECT_EQ(t.entryWith("%artist%|%year2d%"), "The Band|04");
       }},
      {"105 answers -1 while stopped; Play while stopped starts from 0:00",
       "a mark while stopped is at 00:00:00; Listen plays, then jumps to the mark", false,
       [](HostPointsTest& t) {
         t.start();
         t.player->positionMs = 90000;
         t.commitEntry("Stopped", "P");
         EXPECT_EQ(tracksOf(t.editorText()), "01:Stopped@00:00:00 ");
         t.setEditorByHand(t.editorText() + "\r\nTRACK 02 AUDIO\r\n    TITLE \"Two\"\r\n    INDEX 01 01:00:00");
         t.player->playState = HOST_STATE_STOPPED;
         t.caretOn("TITLE \"Two");
         size_t first = t.player->events.size();
         t.clickCue(IDC_CUE_LISTEN);
         Events events = eventsFrom(*t.player, first);
         auto play = std::find(events.begin(), events.end(), "cmd play");
         ASSERT_NE(play, events.end());
         EXPECT_NE(std::find(play, events.end(), "jump 58000"), events.end()) << "after Play";
         EXPECT_EQ(t.player->position(), 58000);
       }},
      {"the player's notifications (3003, 13003, 603) pass its window", "our procedure passes them on", false,
       [](HostPointsTest& t) {
         t.start();
         t.player->startEntry(0);
         EXPECT_EQ(t.player->notificationsHeard, 3);
       }},
      {"Global Hotkeys takes Ctrl+Alt with the arrows", "Alt+PgUp and Alt+PgDn shift every later mark", false,
       [](HostPointsTest& t) {
         t.start();
         t.player->playState = HOST_STATE_PLAYING;
         for (int minute : {1, 2, 3}) {
           t.player->positionMs = 60000 * minute;
           t.commitEntry("T" + std::to_string(minute), "P");
         }
         t.caretOn("TITLE \"T2");
         t.key(WM_SYSKEYDOWN, VK_NEXT, false, false, true);
         EXPECT_EQ(tracksOf(t.editorText()), "01:T1@01:00:00 02:T2@02:00:01 03:T3@03:00:01 ");
         t.key(WM_SYSKEYDOWN, VK_PRIOR, true, false, true);
         EXPECT_EQ(tracksOf(t.editorText()), "01:T1@01:00:00 02:T2@01:59:01 03:T3@02:59:01 ");
       }},
      {"332 keeps the record and writes its identifier only with the preferences; 380 takes its address",
       "Configure opens the plug-in's page, also when another page was registered first", false,
       [](HostPointsTest& t) {
         ASSERT_TRUE(t.player->load(t.dllPath));
         static PrefsPageRecord other = {};
         other = {t.player->module(), IDD_ABOUT, otherPageProc, "Playback", 0, 0, 0};
         SendMessageW(t.player->window(), HOST_IPC, (WPARAM)&other, HOST_REGISTER_PAGE);
         t.player->init();
         t.player->config();
         EXPECT_EQ(t.player->shownPages, std::vector<std::string>({"record 1"}));
         EXPECT_NE(findDescendant(t.player->preferencesPage(), IDC_PREFS_TABS), nullptr) << "the LUMO page";
       }},
      {"quit comes after the main window is gone; the DLL stays loaded",
       "the sheet is kept, the windows go, and the next start brings the sheet back", false,
       [](HostPointsTest& t) {
         t.start();
         t.player->playState = HOST_STATE_PLAYING;
         t.player->positionMs = 60000;
         t.commitEntry("Kept", "P");
         t.stop();
         EXPECT_EQ(t.cueWindow(), nullptr);
         EXPECT_NE(t.readFile(t.folder + "\\lumo_unsaved.cue").find("TITLE \"Kept\""), std::string::npos);
         EXPECT_NE(t.readFile(t.iniPath()), "<missing>") << "settings written";
         EXPECT_NE(GetModuleHandleA(t.dllPath.c_str()), nullptr);
         EXPECT_EQ(t.player->module(), nullptr);
         t.start();
         EXPECT_TRUE(t.pumpUntil([&] { return t.cueWindow() && IsWindowVisible(t.cueWindow()); }));
         EXPECT_EQ(tracksOf(t.editorText()), "01:Kept@01:00:00 ");
       }},
      // Older players.
      {"an older player lacks 851 (answers 1, writes nothing); a plug-in hooked into 850 writes",
       "%watitle% falls back to 850 with a 16-byte record", false,
       [](HostPointsTest& t) {
         t.player->older = true;
         t.player->titleHook = true;
         t.player->titleHookText = "Hooked Title";
         EXPECT_EQ(t.entryWith("%watitle%"), "Hooked Title");
         EXPECT_EQ(t.player->lastTitleHook.titleChars, 2048);
       }},
      {"an older player answers mode 5 with 0 and gives ANSI video text", "%srate% from the kHz", false,
       [](HostPointsTest& t) {
         t.player->older = true;
         t.player->fieldsAnswerZero = true;
         t.player->videoText = "H.264 Caf\xC3\xA9";
         t.player->giveVideoText = true;
         EXPECT_EQ(t.entryWith("%srate%|%videoinfo%|%artist%"), "44100|H.264 Caf\xC3\xA9|The Band");
       }},
  };
  for (const Point& point : points) {
    SCOPED_TRACE(std::string(point.host) + " -> " + point.plugin);
    newPlayer(point.ansiWindow);
    clearFolder(folder);
    clearFolder(appDataFolder());
    point.check(*this);
    if (player->module()) stop();
  }
}
