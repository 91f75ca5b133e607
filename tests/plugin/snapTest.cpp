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
  EXPECT_TRUE(pumpUntil([&] { return statusLine().empty(); })) << "said of the other mark: " << statusLine();
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

namespace {

// "MM:SS:FF" of a frame count.
std::string cueTimeOf(long long frames) {
  char text[16];
  wsprintfA(text, "%02d:%02d:%02d", (int)(frames / 75 / 60), (int)(frames / 75 % 60), (int)(frames % 75));
  return text;
}

// The frame a click on column means in a strip of width columns showing frames frames from
// first: the middle one of the frames that start in the column (the strip's documented mapping).
long long frameAtColumn(long long first, long long frames, long long width, long long column) {
  long long firstStart = (column * frames + width - 1) / width;
  long long endStart = ((column + 1) * frames + width - 1) / width;
  return first + (endStart > firstStart ? firstStart + (endStart - firstStart - 1) / 2 : firstStart - 1);
}

}  // namespace

TEST_F(SnapTest, TheStripShowsTheCaretsTrackAndAClickOrADragMovesItsMark) {
  start();
  playAndWaitForTheAudio();
  markAt(3800, "After the gap");
  markAt(6600, "No gap near");
  ASSERT_EQ(tracksOf(editorText()), "01:After the gap@00:03:39 02:No gap near@00:06:45 ");
  HWND strip = GetDlgItem(cueWindow(), IDC_CUE_WAVE);
  auto stripShows = [&](const std::string& range) {
    return pumpUntil([&] { return fieldText(cueWindow(), IDC_CUE_WAVE) == range; });
  };
  // Marking, it follows the player (at 6.6 s, frame 495); the caret put in track 1 shows 4 s
  // either side of its mark (frame 264), the end held to the 7 s file.
  EXPECT_TRUE(stripShows("00:02:45 \xE2\x80\x93 00:07:00")) << fieldText(cueWindow(), IDC_CUE_WAVE);
  caretOn("TITLE \"After");
  ASSERT_TRUE(stripShows("00:00:00 \xE2\x80\x93 00:07:00")) << fieldText(cueWindow(), IDC_CUE_WAVE);

  RECT client;
  GetClientRect(strip, &client);
  const long long first = 264 - 300, frames = 600, width = client.right;
  ASSERT_GT(width, 100);
  auto columnOf = [&](long long frame) { return (frame - first) * width / frames; };
  auto mouse = [&](UINT message, long long column) {
    SendMessageW(strip, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM((int)column, 5));
  };
  struct Move {
    const char* what;
    long long pressAt, dragTo;  // frames
    long long expected;         // the new INDEX 01 of track 1, in frames
  };
  const Move moves[] = {
      {"a click", 337, 337, frameAtColumn(first, frames, width, columnOf(337))},
      {"a drag", 300, 420, frameAtColumn(first, frames, width, columnOf(420))},
      {"a drag past the next mark stops a frame short of it", 300, 560, 494},
  };
  for (const Move& move : moves) {
    SCOPED_TRACE(move.what);
    mouse(WM_LBUTTONDOWN, columnOf(move.pressAt));
    if (move.dragTo != move.pressAt) mouse(WM_MOUSEMOVE, columnOf((move.pressAt + move.dragTo) / 2));
    mouse(WM_MOUSEMOVE, columnOf(move.dragTo));
    mouse(WM_LBUTTONUP, columnOf(move.dragTo));
    player->pump();
    EXPECT_EQ(tracksOf(editorText()), "01:After the gap@" + cueTimeOf(move.expected) + " 02:No gap near@00:06:45 ");
    EXPECT_EQ(player->position(), (int)(move.expected * 1000 / 75) - 2000) << "listened from 2 s before";
    EXPECT_EQ(fieldText(cueWindow(), IDC_CUE_WAVE), "00:00:00 \xE2\x80\x93 00:07:00") << "the range stayed";
    key(WM_KEYDOWN, 'Z', false, true);
    EXPECT_EQ(tracksOf(editorText()), "01:After the gap@00:03:39 02:No gap near@00:06:45 ") << "one step of Ctrl+Z";
  }

  // The wheel's zoom (2 s either side) holds for the next track the caret goes to.
  SendMessageW(strip, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  caretOn("TITLE \"No gap");
  EXPECT_TRUE(stripShows("00:04:45 \xE2\x80\x93 00:07:00")) << fieldText(cueWindow(), IDC_CUE_WAVE);
}
