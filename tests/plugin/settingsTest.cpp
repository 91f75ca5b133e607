// plugin.ini: defaults, the nine keys, limits and values that must survive a restart.
#include <windows.h>

#include "pluginFixture.h"

namespace {

const char kDefaultHeader[] =
    "PERFORMER \"%artist%\"\\r\\nTITLE \"%title%\"\\r\\nFILE \"%filename%\" %filetype%";
const char kDefaultTrack[] =
    "TRACK %trackcount% AUDIO\\r\\n    TITLE \"%trackname%\"\\r\\n    PERFORMER \"%performer%\"\\r\\n"
    "    INDEX 01 %curpos%";

}  // namespace

TEST_F(PluginTest, NoSettingsFileGivesDefaultsAndQuitWritesAllKeys) {
  start();
  commitEntry("T", "P");
  ASSERT_GE(player->renderedTemplates.size(), 2u);
  EXPECT_EQ(player->renderedTemplates[0], kDefaultHeader);
  EXPECT_EQ(player->renderedTemplates[1], kDefaultTrack);
  stop();
  EXPECT_EQ(readFile(iniPath()), std::string("[LUMO]\r\n"
                                             "enabled=1\r\n"
                                             "usewinampstrayicon=0\r\n"
                                             "balloontimeout=5000\r\n"
                                             "iconindex=6\r\n"
                                             "overridetip=0\r\n"
                                             "displayonpbchange=0\r\n"
                                             "currentpageindex=0\r\n"
                                             "advformatstring=") +
                                 kDefaultHeader + "\r\nballoontitle=" + kDefaultTrack +
                                 "\r\nmarkoffset=0\r\nlistenlead=2\r\nencoding=0\r\ncdcheck=0\r\nsnap=1\r\n");
}

TEST_F(PluginTest, MarkSettingsComeBackWholeAndWithinRange) {
  struct {
    const char* offset;
    const char* lead;
    const char* offsetBack;
    const char* leadBack;
  } cases[] = {
      {"250", "5", "250", "5"},      {"abc", "x1", "0", "2"},     // no numbers: the defaults
      {"99999", "61", "5000", "60"}, {"-3", "-1", "0", "0"},      // held within the range
      {"12ms", " 7 ", "0", "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    writeFile(iniPath(), std::string("[LUMO]\r\nmarkoffset=") + c.offset + "\r\nlistenlead=" + c.lead + "\r\n");
    start();
    stop();
    std::string ini = readFile(iniPath());
    EXPECT_NE(ini.find(std::string("markoffset=") + c.offsetBack + "\r\nlistenlead=" + c.leadBack + "\r\n"),
              std::string::npos) << ini;
  }
}

TEST_F(PluginTest, StoredValuesSurviveRestartAndFixedKeysAreRewritten) {
  writeFile(iniPath(),
            "[Other]\r\nkeep=this\r\n[LUMO]\r\nenabled=0\r\ncurrentpageindex=2\r\n"
            "usewinampstrayicon=9\r\nballoontimeout=1\r\niconindex=1\r\noverridetip=1\r\n"
            "displayonpbchange=1\r\nextra=stays\r\ncdcheck=7\r\n");
  start();
  stop();
  std::string ini = readFile(iniPath());
  for (const char* line : {"enabled=0\r\n", "currentpageindex=2\r\n", "usewinampstrayicon=0\r\n",
                           "balloontimeout=5000\r\n", "iconindex=6\r\n", "overridetip=0\r\n",
                           "displayonpbchange=0\r\n", "extra=stays\r\n", "[Other]\r\nkeep=this\r\n",
                           "cdcheck=1\r\n"}) {
    SCOPED_TRACE(line);
    EXPECT_NE(ini.find(line), std::string::npos) << ini;
  }
}

TEST_F(PluginTest, TemplatesOfAnyLengthFromSettingsAreCutTo511Characters) {
  struct {
    const char* key;
    size_t rendered;  // its place among the first entry's formatting requests
  } keys[] = {{"advformatstring", 0}, {"balloontitle", 1}};
  for (const auto& k : keys) {
    for (size_t length : {510u, 511u, 512u, 600u, 10000u}) {
      SCOPED_TRACE(std::string(k.key) + " " + std::to_string(length));
      writeFile(iniPath(), std::string("[LUMO]\r\n") + k.key + "=" + std::string(length, 'x') + "\r\n");
      start();
      commitEntry("T", "P");
      ASSERT_GE(player->renderedTemplates.size(), 2u);
      EXPECT_EQ(player->renderedTemplates[k.rendered], std::string(length < 511 ? length : 511, 'x'));
      player->renderedTemplates.clear();
      resetSheet();
      stop();
    }
  }
}

TEST_F(PluginTest, TemplatesWithQuotesAndBlanksComeBackUnchanged) {
  // Quoted once more in the file, as the plug-in itself writes such values.
  writeFile(iniPath(),
            "[LUMO]\r\nadvformatstring=\"\"%artist%\"\"\r\nballoontitle=\"  TITLE %trackname%  \"\r\n");
  for (int restart = 0; restart < 3; ++restart) {
    SCOPED_TRACE(restart);
    start();
    commitEntry("T", "P");
    ASSERT_GE(player->renderedTemplates.size(), 2u);
    EXPECT_EQ(player->renderedTemplates[0], "\"%artist%\"");
    EXPECT_EQ(player->renderedTemplates[1], "  TITLE %trackname%  ");
    player->renderedTemplates.clear();
    stop();
  }
  EXPECT_NE(readFile(iniPath()).find("advformatstring=\"\"%artist%\"\"\r\n"), std::string::npos);
}

TEST_F(PluginTest, TemplateWithoutEscapesGivesEntriesWithoutLineBreaks) {
  writeFile(iniPath(), "[LUMO]\r\nadvformatstring=HEAD\r\nballoontitle=TRACK %trackcount%\r\n");
  start();
  commitEntry("T", "P");
  commitEntry("T", "P");
  EXPECT_EQ(editorText(), "HEAD\r\nTRACK 01\r\nTRACK 02\r\n");
}

TEST_F(PluginTest, EarlierDefaultHeaderIsReadAsTodaysAndOthersAreKept) {
  struct {
    const char* stored;
    const char* used;
  } cases[] = {
      {"PERFORMER \"%artist%\"\\r\\nTITLE \"%title%\"\\r\\nFILE \"%filename%\" MP3", kDefaultHeader},
      {"PERFORMER \"%artist%\"\\r\\nFILE \"%filename%\" MP3", "PERFORMER \"%artist%\"\\r\\nFILE \"%filename%\" MP3"},
      {"FILE \"%filename%\" BINARY", "FILE \"%filename%\" BINARY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    writeFile(iniPath(), std::string("[LUMO]\r\nadvformatstring=") + c.stored + "\r\n");
    start();
    commitEntry("T", "P");
    EXPECT_EQ(player->renderedTemplates[0], c.used);
    player->renderedTemplates.clear();
    resetSheet();
    stop();
  }
}

TEST_F(PluginTest, SettingsAreKeptWherePluginIniCannotBeWrittenAndTheNewerIsRead) {
  std::string own = appDataFolder() + "\\LumoMarker\\plugin.ini";
  // plugin.ini cannot be written at quit (held open, as a standard user's Plugins folder refuses
  // it): the section goes to the plug-in's own plugin.ini, where the recovery copy goes.
  writeFile(iniPath(), "[LUMO]\r\nadvformatstring=FROM PLUGINS\r\n");
  start();
  HANDLE held = CreateFileA(iniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  stop();
  CloseHandle(held);
  EXPECT_NE(readFile(own).find("[LUMO]\r\nenabled=1\r\n"), std::string::npos) << readFile(own);
  EXPECT_NE(readFile(own).find("advformatstring=FROM PLUGINS\r\n"), std::string::npos);
  EXPECT_EQ(readFile(iniPath()), "[LUMO]\r\nadvformatstring=FROM PLUGINS\r\n");

  // Each start reads the section written last; quit writes plugin.ini again where it can.
  auto age = [](const std::string& path, int minutes) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER at = {{now.dwLowDateTime, now.dwHighDateTime}};
    at.QuadPart -= (ULONGLONG)minutes * 60 * 10000000;
    FILETIME written = {at.LowPart, at.HighPart};
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
  };
  struct {
    const char* plugins;
    const char* ownCopy;
    bool ownNewer;
    const char* used;
  } cases[] = {
      {"[LUMO]\r\nadvformatstring=P\r\n", "[LUMO]\r\nadvformatstring=O\r\n", true, "O"},
      {"[LUMO]\r\nadvformatstring=P\r\n", "[LUMO]\r\nadvformatstring=O\r\n", false, "P"},
      {"[Other]\r\nkeep=this\r\n", "[LUMO]\r\nadvformatstring=O\r\n", false, "O"},  // no section there
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.used) + (c.ownNewer ? ", own copy newer" : ", plugin.ini newer"));
    writeFile(iniPath(), c.plugins);
    writeFile(own, c.ownCopy);
    age(c.ownNewer ? iniPath() : own, 10);
    start();
    commitEntry("T", "P");
    ASSERT_FALSE(player->renderedTemplates.empty());
    EXPECT_EQ(player->renderedTemplates[0], c.used);
    player->renderedTemplates.clear();
    resetSheet();
    stop();
    EXPECT_NE(readFile(iniPath()).find(std::string("advformatstring=") + c.used + "\r\n"), std::string::npos)
        << readFile(iniPath());
  }
}
