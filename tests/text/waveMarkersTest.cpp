// The silence ends and change points the Cue window's strip marks across a stretch of generated
// audio: each boundary once, in order, only those inside the stretch and the frames decoded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../capture/waveMarkers.h"
#include "pcmSignals.h"

namespace {

// Sound; a gap whose end is at 4.61 s (frame 345); a cut at 7.61 s (frame 570 or 571); a gap
// whose end is at 11.01 s (frame 825); sound to 14.01 s.
const std::vector<Piece> kBoundaries = {{Sound::Low, 4, -10},     {Sound::Silence, 0.61, 0}, {Sound::Bright, 3, -12},
                                        {Sound::Low, 3, -10},     {Sound::Silence, 0.4, 0},  {Sound::Bright, 3, -12}};
const long long kGapEnds[] = {345, 825};
const long long kCut = 570;

std::string listed(const long long* frames, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(frames[i]) + " ";
  return text;
}

}  // namespace

TEST(WaveMarkers, EachBoundaryOnceInOrderWithinTheStretchAndTheFramesDecoded) {
  Features f;
  ASSERT_TRUE(extract(encode(render(22050, kBoundaries), 1, SampleType::Int16), {22050, 1, SampleType::Int16}, 4096, &f));
  const long long whole = (long long)f.track.count;
  struct Case {
    const char* name;
    long long first, last, decoded;
    int most;
    std::string silenceEnds;
  };
  const std::string both = std::to_string(kGapEnds[0]) + " " + std::to_string(kGapEnds[1]) + " ";
  const Case cases[] = {
      {"the whole file", 0, whole - 1, whole, kWaveMarkersMost, both},
      {"a stretch before the file and past it", -500, whole + 500, whole, kWaveMarkersMost, both},
      {"the second gap alone", 400, 900, whole, kWaveMarkersMost, std::to_string(kGapEnds[1]) + " "},
      {"room for one: the latest", 0, whole - 1, whole, 1, std::to_string(kGapEnds[1]) + " "},
      {"between the two ends", kGapEnds[0] + 1, kGapEnds[1] - 1, whole, kWaveMarkersMost, ""},
      {"decoded up to the cut", 0, whole - 1, 600, kWaveMarkersMost, std::to_string(kGapEnds[0]) + " "},
      {"nothing decoded", 0, whole - 1, 0, kWaveMarkersMost, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedAudio audio{&f.track, (size_t)c.decoded, c.decoded == whole};
    long long found[kWaveMarkersMost];
    EXPECT_EQ(listed(found, silenceEndsIn(audio, c.first, c.last, found, c.most)), c.silenceEnds);
  }

  // Change points: the cut, and no more than one for each boundary; none in steady sound.
  DecodedAudio audio{&f.track, (size_t)whole, true};
  long long changes[kWaveMarkersMost];
  int count = changePointsIn(audio, 0, whole - 1, changes, kWaveMarkersMost);
  bool cutFound = false;
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(listed(changes, count));
    if (i > 0) {
      EXPECT_GT(changes[i], changes[i - 1]) << "in order, each once";
    }
    bool atCut = changes[i] >= kCut - 1 && changes[i] <= kCut + 1;
    bool atGapEnd = changes[i] == kGapEnds[0] || changes[i] == kGapEnds[1];
    EXPECT_TRUE(atCut || atGapEnd) << changes[i] << " is no boundary";
    cutFound = cutFound || atCut;
  }
  EXPECT_TRUE(cutFound) << listed(changes, count);
  EXPECT_EQ(changePointsIn(audio, 20, 280, changes, kWaveMarkersMost), 0) << "steady sound";
}
