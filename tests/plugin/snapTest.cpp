// Marks placed on the audio the player's decoders read: a recording with a gap, marked late, goes
// to the gap's end; Snap moves a mark typed by hand there; a player without the decode-file
// service leaves every mark where it was pressed.
#include <windows.h>

#include <cmath>

#include "pluginFixture.h"
#include "../../player/decodeService.h"
#include "../../player/wideText.h"
#include "../../res/resource.h"

namespace {

const int kRate = 44100;

// 16-bit stereo PCM: a tone, silence from 3.00 s to 3.52 s (the sound is back at frame 264
// exactly), the tone again to 7 s.
std::string gapWave() {
  const int kSamples = kRate * 7;
  const int kGapFrom = kRate * 3, kGapTo = kRate * 352 / 100;
  std::string pcm;
  for (int i = 0; i < kSamples; ++i) {
    double value = i >= kGapFrom && i < kGapTo ? 0 : 8000 * std::sin(i * 2 * 3.14159265 * 440 / kRate);
    short sample = (short)value;
    for (int channel = 0; channel < 2; ++channel) pcm.append((const char*)&sample, 2);
  }
  auto le32 = [](unsigned v) { return std::string({(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}); };
  std::string format = std::string("\x01\x00\x02\x00", 4) + le32(kRate) + le32(kRate * 4) + std::string("\x04\x00\x10\x00", 4);
  return "RIFF" + le32((unsigned)(36 + pcm.size())) + "WAVEfmt " + le32(16) + format + "data" + le32((unsigned)pcm.size()) + pcm;
}

class SnapTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    player->playlist[0].path = folder + "\\gap.wav";
    player->lengthSeconds = 7;
    writeFile(player->playlist[0].path, gapWave());
  }
  // Plays the recording from its start, and waits until the plug-in read it all.
  void playAndWaitForTheAudio() {
    DecodeCounts before = decodeCounts();
    player->startEntry(0);
    EXPECT_TRUE(pumpUntil([&] {
      DecodeCounts now = decodeCounts();
      return now.opened > before.opened && now.open == before.open;
    }, 20000)) << "the recording was decoded";
  }
  // A mark whose key is pressed at ms; returns what the Info window said of it.
  std::string markAt(int ms, const std::string& title) {
    player->seek(ms);
    mark();
    std::string said = fieldText(infoWindow(), IDC_INFO_PLACED);
    typeInfo(title, "P");
    clickOk();
    return said;
  }
  std::string statusLine() { return fieldText(cueWindow(), IDC_CUE_STATUS); }
};

}  // namespace

TEST_F(SnapTest, MarksGoToTheEndOfASilenceAndSnapMovesAMarkThere) {
  start();
  playAndWaitForTheAudio();
  EXPECT_EQ(markAt(3800, "After the gap"), "at the end of a silence, 0.28 s before your key");
  EXPECT_EQ(markAt(6600, "No gap near"), "") << "2 s and more from the gap: where the key was pressed";
  EXPECT_EQ(tracksOf(editorText()), "01:After the gap@00:03:39 02:No gap near@00:06:45 ");

  // A time typed by hand, a little late: Snap (the button, then F6) takes it back to the gap's end.
  std::string sheet = editorText();
  setEditorByHand(sheet.replace(sheet.find("00:03:39"), 8, "00:04:00"));
  caretOn("TITLE \"After");
  clickCue(IDC_CUE_SNAP);
  EXPECT_EQ(tracksOf(editorText()), "01:After the gap@00:03:39 02:No gap near@00:06:45 ");
  EXPECT_EQ(statusLine(), "Snapped to the end of a silence, 0.48 s earlier");
  key(WM_KEYDOWN, VK_F6, false);
  EXPECT_EQ(statusLine(), "Snapped to the end of a silence: the mark was there already");
  caretOn("TITLE \"No gap");
  key(WM_KEYDOWN, VK_F6, false);
  EXPECT_EQ(statusLine(), "Snap: nothing to snap to within a second");
  EXPECT_NE(editorText().find("00:06:45"), std::string::npos) << "nothing moved";
  caretOn("TITLE \"After");
  key(WM_KEYDOWN, 'Z', false, true);
  EXPECT_EQ(tracksOf(editorText()), "01:After the gap@00:04:00 02:No gap near@00:06:45 ") << "one step of Ctrl+Z";

  // Switched off on the General page: a mark stays where the key was pressed.
  stop();
  writeFile(iniPath(), "[LUMO]\r\nsnap=0\r\n");
  start();
  resetSheet();
  player->startEntry(0);
  EXPECT_TRUE(pumpUntil([&] { return decodeCounts().open == 0 && decodeCounts().opened >= 2; }, 20000));
  EXPECT_EQ(markAt(3800, "Off"), "");
  EXPECT_EQ(tracksOf(editorText()), "01:Off@00:03:60 ");
}

TEST_F(SnapTest, APlayerWithoutTheDecodeServiceLeavesMarksWherePressed) {
  for (bool older : {false, true}) {
    SCOPED_TRACE(older ? "an older player" : "a player without the service");
    newPlayer();
    player->playlist[0].path = folder + "\\gap.wav";
    player->lengthSeconds = 7;
    player->decodeService = false;
    player->older = older;
    start();
    player->startEntry(0);
    player->pump(300);
    EXPECT_EQ(markAt(3800, "Pressed"), "");
    EXPECT_EQ(tracksOf(editorText()), "01:Pressed@00:03:60 ");
    caretOn("TITLE \"Pressed");
    clickCue(IDC_CUE_SNAP);
    EXPECT_EQ(statusLine(), "Snap needs a player from 5.12 on: this one decodes no files for plug-ins");
    EXPECT_EQ(tracksOf(editorText()), "01:Pressed@00:03:60 ");
    resetSheet();
    stop();
  }
}
