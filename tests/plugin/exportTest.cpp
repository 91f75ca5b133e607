// Export...: the type chosen in the Save As dialog decides the format, written as a cue sheet is
// and confirmed with what a video site would refuse.
#include <windows.h>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

class ExportTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    player->playlist[0].path = folder + "\\mix.wav";
    player->lengthSeconds = 100;
    start();
    // Export... is a button of the Cue window, which the user sees.
    ShowWindow(cueWindow(), SW_SHOW);
    player->pump();
  }
  // Export... with the dialog answered by path and type (from 1; 0: as it opens).
  void exportAs(const std::string& path, int type) {
    player->saveAnswers.assign(1, path);
    if (type > 0) player->saveTypes.assign(1, type);
    player->messageBoxes.clear();
    clickCue(IDC_CUE_EXPORT);
  }
};

}  // namespace

TEST_F(ExportTest, TheChosenTypeIsWrittenAndConfirmed) {
  // Nothing to export yet.
  clickCue(IDC_CUE_EXPORT);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].text,
            "There is nothing to export: the cue sheet holds no track with an INDEX 01 time.");
  EXPECT_TRUE(player->saveDialogs.empty());

  for (int ms : {0, 5000, 70000}) {
    player->positionMs = ms;
    commitEntry(std::string("T") + std::to_string(ms / 1000), "P");
  }
  std::string list = folder + "\\mix.txt";
  exportAs(list, 0);
  ASSERT_EQ(player->saveDialogs.size(), 1u);
  EXPECT_EQ(player->saveDialogs[0].proposedName, "mix.chapters.txt");
  EXPECT_EQ(readFile(list), "0:00 P - T0\n0:05 P - T5\n1:10 P - T70\n");
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].caption, "Saved to");
  EXPECT_EQ(player->messageBoxes[0].text, list + "\r\n\r\nVideo sites will refuse this chapter list:\r\n"
                                                 "- chapter 1 is shorter than 10 seconds");

  // FFmpeg metadata: the last chapter ends at the length the player knows.
  std::string meta = folder + "\\mix.ffmeta";
  exportAs(meta, 2);
  EXPECT_EQ(readFile(meta), ";FFMETADATA1\ntitle=Live 2004\nartist=The Band\n"
                            "[CHAPTER]\nTIMEBASE=1/75\nSTART=0\nEND=375\ntitle=P - T0\n"
                            "[CHAPTER]\nTIMEBASE=1/75\nSTART=375\nEND=5250\ntitle=P - T5\n"
                            "[CHAPTER]\nTIMEBASE=1/75\nSTART=5250\nEND=7500\ntitle=P - T70\n");
  EXPECT_EQ(player->messageBoxes[0].text, meta) << "nothing to refuse";

  // Over a file of the user's: kept as .bak; over our own export: no backup.
  writeFile(list, "the user's list");
  exportAs(list, 1);
  EXPECT_EQ(readFile(list + ".bak"), "the user's list");
  DeleteFileA((list + ".bak").c_str());
  exportAs(list, 1);
  EXPECT_EQ(readFile(list + ".bak"), "<missing>");

  // Matroska chapters: a BOM only when a name goes beyond ASCII (mkvmerge needs it to read UTF-8).
  std::string chapters = folder + "\\chapters.txt";
  exportAs(chapters, 3);
  EXPECT_EQ(readFile(chapters).substr(0, 23), "CHAPTER01=00:00:00.000\n");
  player->positionMs = 90000;
  commitEntry("\xD0\x96\xC3\xA9", "P");
  exportAs(chapters, 3);
  EXPECT_EQ(readFile(chapters).substr(0, 26), "\xEF\xBB\xBF" "CHAPTER01=00:00:00.000\n");
  EXPECT_NE(readFile(chapters).find("CHAPTER04NAME=P - \xD0\x96\xC3\xA9\n"), std::string::npos);
}

TEST_F(ExportTest, TheTypeNamesTheFileAndTheSheetsOwnFilesStay) {
  player->playState = HOST_STATE_PLAYING;
  for (int minute : {5, 6, 7}) {
    player->positionMs = 60000 * minute;
    commitEntry("Dir\\", "P");  // a title ending in a backslash
  }
  // The type changed in the dialog, the name proposed for the first type kept: the file gets the
  // chosen type's name.
  exportAs(folder + "\\mix.chapters.txt", 2);
  EXPECT_EQ(player->saveDialogs.back().proposedName, "mix.chapters.txt");
  EXPECT_EQ(readFile(folder + "\\mix.chapters.txt"), "<missing>");
  std::string meta = readFile(folder + "\\mix.ffmeta");
  EXPECT_NE(meta.find("title=P - Dir\\\\ \n[CHAPTER]"), std::string::npos) << meta;
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_EQ(player->messageBoxes[0].text, folder + "\\mix.ffmeta\r\n\r\n3 titles ended in a backslash and got a "
                                          "blank after it: FFmpeg would read the next line into them.");

  // The video list moves the first chapter to 0:00, and says so.
  exportAs(folder + "\\mix.chapters.txt", 1);
  EXPECT_EQ(readFile(folder + "\\mix.chapters.txt").substr(0, 15), "0:00 P - Dir\\\n6");
  EXPECT_NE(player->messageBoxes[0].text.find("\r\n\r\nThe first chapter starts at 5:00 in the sheet; it is "
                                              "listed at 0:00, where video sites want the first chapter."),
            std::string::npos)
      << player->messageBoxes[0].text;

  // The sheet's cue file and its recording are never replaced: the dialog comes back.
  player->boxAnswers.assign(1, IDYES);  // a title ending in a backslash: save it anyway
  clickCue(IDC_CUE_SAVE);
  std::string cue = readFile(folder + "\\mix.cue");
  ASSERT_NE(cue, "<missing>");
  writeFile(folder + "\\mix.wav", "audio");
  player->saveAnswers = {folder + "\\mix.cue", folder + "\\MIX.WAV", folder + "\\mix.json"};
  player->saveTypes.assign(1, 5);
  player->messageBoxes.clear();
  clickCue(IDC_CUE_EXPORT);
  EXPECT_EQ(player->saveDialogs.size(), 5u);
  std::vector<std::string> told;  // the dialog's own questions (replace the file?) aside
  for (const CaughtMessageBox& box : player->messageBoxes)
    if (box.caption == "LUMO" || box.caption == "Saved to") told.push_back(box.text);
  const std::string ownFile = "\r\n\r\nThis is the cue sheet's own file (or its recording): an export never "
                              "replaces it. Choose another name.";
  EXPECT_EQ(told, std::vector<std::string>({folder + "\\mix.cue" + ownFile, folder + "\\MIX.WAV" + ownFile,
                                            folder + "\\mix.json"}));
  EXPECT_EQ(readFile(folder + "\\mix.cue"), cue);
  EXPECT_EQ(readFile(folder + "\\mix.wav"), "audio");
  EXPECT_EQ(readFile(folder + "\\mix.json").substr(0, 20), "{\"version\":\"1.2.0\",\"");
}
