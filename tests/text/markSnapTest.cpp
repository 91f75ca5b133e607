// Where the mark rule puts a press, and what the Snap button finds, on generated audio.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "../../audio/markSnap.h"
#include "pcmSignals.h"

namespace {

const long long kAnyFrame = -1;  // a change point may fall one frame either side of the cut

struct Case {
  const char* name;
  const std::vector<Piece>* pieces;
  long long press;          // frame
  long long decoded;        // frames decoded; -1: the whole file
  SnapKind kind;
  long long frame;          // where the answer points
  long long changeAt;       // for a change point: the cut, give or take a frame
};

// The features of each signal, read once (at 22,050 Hz, mono: the frames are those of any rate).
const Features& featuresOf(const std::vector<Piece>* pieces) {
  static std::map<const std::vector<Piece>*, std::unique_ptr<Features>> read;
  std::unique_ptr<Features>& f = read[pieces];
  if (!f) {
    f.reset(new Features);
    EXPECT_TRUE(extract(encode(render(22050, *pieces), 1, SampleType::Int16), {22050, 1, SampleType::Int16}, 4096, f.get()));
  }
  return *f;
}

void check(const Case& c, bool button) {
  SCOPED_TRACE(std::string(c.name) + (button ? ", Snap" : ", press") + " at " + std::to_string(c.press));
  const Features& f = featuresOf(c.pieces);
  bool whole = c.decoded < 0;
  DecodedAudio audio{&f.track, whole ? f.track.count : (size_t)c.decoded, whole};
  SnapAnswer a = button ? snapNear(audio, c.press) : placeMark(audio, c.press);
  EXPECT_EQ((int)a.kind, (int)c.kind);
  if (c.kind == SnapKind::ChangePoint) {
    EXPECT_NEAR(a.frame, c.changeAt, 1);
  } else {
    EXPECT_EQ(a.frame, c.frame);
  }
  EXPECT_EQ(a.distance, a.frame - c.press);
  bool moves = c.kind == SnapKind::SilenceEnd || (button && c.kind == SnapKind::ChangePoint);
  EXPECT_EQ(a.moves, moves);
}

// Sound, 0.61 s of silence, other sound: the sound is back at 4.61 s, in frame 345.
const std::vector<Piece> kGap = {{Sound::Low, 4, -10}, {Sound::Silence, 0.61, 0}, {Sound::Bright, 4, -12}};
// A cut at 4.005 s, in frame 300.
const std::vector<Piece> kCut = {{Sound::Low, 4.005, -10}, {Sound::Bright, 4, -12}};
const std::vector<Piece> kCrossfade = {{Sound::Low, 4, -10}, {Sound::LowToBright, 8, -10}, {Sound::Bright, 4, -12}};
const std::vector<Piece> kSilenceFirst = {{Sound::Silence, 1.3, 0}, {Sound::Low, 4, -10}};
const std::vector<Piece> kSilenceLast = {{Sound::Low, 4, -10}, {Sound::Silence, 2, 0}};
const std::vector<Piece> kShort = {{Sound::Silence, 0.3, 0}, {Sound::Low, 1.2, -10}};
// A cut at 3.005 s (frame 225), a second of the new sound, then a pause.
const std::vector<Piece> kPauseAfterCut = {{Sound::Bright, 3.005, -12}, {Sound::Low, 1, -10}, {Sound::Silence, 0.3, 0}, {Sound::Low, 3, -10}};
// Gaps ending at 2.3 s and 3.6 s (frames 172 and 270).
const std::vector<Piece> kTwoGaps = {{Sound::Low, 2, -10}, {Sound::Silence, 0.3, 0}, {Sound::Low, 1, -10}, {Sound::Silence, 0.3, 0}, {Sound::Low, 3, -10}};
// A gap of 0.64 s with a click of 0.04 s at 4.3 s (frame 322) in it: the sound is back in frame 348.
const std::vector<Piece> kGapWithClick = {{Sound::Low, 4, -10}, {Sound::Silence, 0.3, 0}, {Sound::Hiss, 0.04, -30},
                                          {Sound::Silence, 0.3, 0}, {Sound::Bright, 4, -12}};
const std::vector<Piece> kShortGap = {{Sound::Low, 4, -10}, {Sound::Silence, 0.12, 0}, {Sound::Low, 4, -10}};
const std::vector<Piece> kQuietHiss = {{Sound::Low, 4, -10}, {Sound::Hiss, 0.61, -70}, {Sound::Bright, 4, -12}};
// A quiet song (its loud level less 40 dB is about -69 dB) with hiss at -64 dB in the gap; and
// with hiss at -55 dB, too loud a floor to count as silence whatever the song (a change into it at
// frame 300).
const std::vector<Piece> kHissInQuietSong = {{Sound::Low, 4, -22}, {Sound::Hiss, 0.61, -64}, {Sound::Bright, 4, -24}};
const std::vector<Piece> kLoudFloorInQuietSong = {{Sound::Low, 4, -22}, {Sound::Hiss, 0.61, -55}, {Sound::Bright, 4, -24}};
// Hiss from 4 s to 4.61 s: a change into it (frame 300) and out of it.
const std::vector<Piece> kLoudHiss = {{Sound::Low, 4, -10}, {Sound::Hiss, 0.61, -45}, {Sound::Low, 4, -10}};

}  // namespace

TEST(MarkSnap, PlacesAPress) {
  const SnapKind silenceEnd = SnapKind::SilenceEnd, change = SnapKind::ChangePoint, nothing = SnapKind::Nothing;
  Case cases[] = {
      {"late press at a gap", &kGap, 357, -1, silenceEnd, 345, 0},
      {"early press in the gap", &kGap, 319, -1, silenceEnd, 345, 0},
      {"press 2 s after the gap", &kGap, 495, -1, silenceEnd, 345, 0},
      {"press past 2 s after the gap", &kGap, 496, -1, nothing, 496, 0},
      {"press 2 s before the gap's end, in the sound before it", &kGap, 195, -1, nothing, 195, 0},
      {"gap, not decoded up to 3 s after the press", &kGap, 357, 357 + 225, SnapKind::NotDecoded, 357, 0},
      {"gap, decoded 3 s after the press", &kGap, 357, 357 + 226, silenceEnd, 345, 0},
      {"hard cut: offered", &kCut, 310, -1, change, kAnyFrame, 300},
      {"crossfade", &kCrossfade, 600, -1, nothing, 600, 0},
      {"silence at the start", &kSilenceFirst, 107, -1, silenceEnd, 97, 0},
      {"silence at the end", &kSilenceLast, 300, -1, nothing, 300, 0},
      {"shorter than the window", &kShort, 30, -1, silenceEnd, 22, 0},
      {"shorter than the window, decoding", &kShort, 30, 112, SnapKind::NotDecoded, 30, 0},
      {"press before the file", &kGap, -40, -1, nothing, -40, 0},
      {"press past the file's end", &kGap, 650, -1, nothing, 650, 0},
      {"pause after heard sound", &kPauseAfterCut, 228, -1, change, kAnyFrame, 225},
      {"nearest of two gaps, the later", &kTwoGaps, 250, -1, silenceEnd, 270, 0},
      {"nearest of two gaps, the earlier", &kTwoGaps, 200, -1, silenceEnd, 172, 0},
      {"a click in a gap is silence", &kGapWithClick, 324, -1, silenceEnd, 348, 0},
      {"0.12 s is no gap", &kShortGap, 305, -1, nothing, 305, 0},
      {"hiss at -70 dB in the gap", &kQuietHiss, 357, -1, silenceEnd, 345, 0},
      {"hiss above a quiet song's loud level less 40 dB", &kHissInQuietSong, 357, -1, silenceEnd, 345, 0},
      {"hiss at -55 dB in a quiet song is sound", &kLoudFloorInQuietSong, 357, -1, change, kAnyFrame, 300},
      {"hiss at -45 dB is sound", &kLoudHiss, 305, -1, change, kAnyFrame, 300},
  };
  for (const Case& c : cases) check(c, false);
}

TEST(MarkSnap, SnapsNearAMark) {
  Case cases[] = {
      {"gap within 1 s", &kGap, 420, -1, SnapKind::SilenceEnd, 345, 0},
      {"gap past 1 s", &kGap, 421, -1, SnapKind::Nothing, 421, 0},
      {"hard cut", &kCut, 330, -1, SnapKind::ChangePoint, kAnyFrame, 300},
      {"hard cut past 1 s", &kCut, 380, -1, SnapKind::Nothing, 380, 0},
      {"not decoded", &kCut, 330, 400, SnapKind::NotDecoded, 330, 0},
  };
  for (const Case& c : cases) check(c, true);
}
