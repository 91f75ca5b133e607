// The frame features of PCM, table by table: where frames fall, the levels they read, and the
// same audio in every sample type, channel count, rate and block size giving the same frames.
#include <gtest/gtest.h>

#include <string>

#include "../../audio/markSnap.h"
#include "pcmSignals.h"

namespace {

unsigned long long frameStart(unsigned long long frame, unsigned rate) { return frame * rate / 75; }

}  // namespace

TEST(AudioFeatures, FramesFollowTheRateWithoutDrift) {
  struct {
    unsigned rate;
    unsigned long long frame;  // the only frame with sound
    size_t block;
  } cases[] = {
      {8000, 4499, 4096},  // 106 2/3 samples a frame: frame 4499 starts at sample 479893
      {8000, 3, 1},        // blocks of one byte split every sample
      {11025, 700, 333},
      {44100, 1000, 4096},
      {48000, 2, 7},
      {192000, 10, 65536},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, frame " + std::to_string(c.frame));
    // Silence but for the frame's samples, and one frame of silence after it, then a part of a frame.
    unsigned long long from = frameStart(c.frame, c.rate), to = frameStart(c.frame + 1, c.rate);
    unsigned long long length = frameStart(c.frame + 2, c.rate) + 5;
    std::vector<float> mono(length, 0.0f);
    for (unsigned long long i = from; i < to; ++i) mono[i] = 0.5f;
    Features f;
    ASSERT_TRUE(extract(encode(mono, 1, SampleType::Int16), {c.rate, 1, SampleType::Int16}, c.block, &f));
    ASSERT_EQ(f.track.count, c.frame + 3);
    for (size_t n = 0; n < f.track.count; ++n) {
      bool loud = n == c.frame;
      EXPECT_EQ(f.at(n).loudness, loud ? loudnessOfDb(-6.02f) : 0) << "frame " << n;
      EXPECT_EQ(f.at(n).high, loud ? 64 : 0) << "frame " << n;
    }
  }
}

TEST(AudioFeatures, ReadsLevelsAndWave) {
  struct {
    const char* name;
    float amplitude;  // of a 1 kHz sine; negative: a constant of minus that
    SampleType type;
    float db;
    int low, high;
  } cases[] = {
      {"full-scale sine", 1.0f, SampleType::Float32, -3.0f, -127, 127},
      {"full-scale sine, 16-bit", 1.0f, SampleType::Int16, -3.0f, -127, 127},
      {"sine at -20 dB", 0.1f, SampleType::Int16, -23.0f, -13, 13},
      {"float over full scale", 2.0f, SampleType::Float32, 3.0f, -127, 127},
      {"constant -0.25", -0.25f, SampleType::Float32, -12.0f, -32, -32},
      {"one 16-bit step", -1.0f / 32768, SampleType::Int16, -90.5f, 0, 0},
      {"silence", 0.0f, SampleType::Int16, -120.0f, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<float> mono(44100 / 5);
    for (size_t i = 0; i < mono.size(); ++i)
      mono[i] = c.amplitude < 0 ? c.amplitude : c.amplitude * (float)sin(2 * 3.14159265358979 * 1000 * i / 44100);
    Features f;
    ASSERT_TRUE(extract(encode(mono, 2, c.type), {44100, 2, c.type}, 1000, &f));
    ASSERT_EQ(f.track.count, 15u);
    EXPECT_NEAR(loudnessDb(f.at(7).loudness), c.db, 0.5f);
    EXPECT_EQ(f.at(7).low, c.low);
    EXPECT_EQ(f.at(7).high, c.high);
  }
}

TEST(AudioFeatures, EveryFormatGivesTheSameFrames) {
  // Sound, a gap, other sound, a cut, a third sound: 6.6 s.
  std::vector<Piece> pieces = {{Sound::Low, 2.5, -8}, {Sound::Silence, 0.6, 0}, {Sound::Bright, 2.005, -10},
                               {Sound::Low, 1.5, -14}};
  struct {
    const char* name;
    PcmFormat format;
    size_t block;
  } cases[] = {
      {"16-bit mono 44.1 kHz", {44100, 1, SampleType::Int16}, 4096},
      {"float stereo 44.1 kHz", {44100, 2, SampleType::Float32}, 4097},
      {"16-bit stereo 48 kHz", {48000, 2, SampleType::Int16}, 3},
      {"float mono 48 kHz", {48000, 1, SampleType::Float32}, 65536},
      {"16-bit, 8 channels, 44.1 kHz", {44100, 8, SampleType::Int16}, 1000},
  };
  const long long gapEnd = 232, cut = 382;  // 3.1 s and 5.105 s
  Features first;  // the first case's
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Features own;
    Features& f = first.track.count ? own : first;
    ASSERT_TRUE(extract(encode(render(c.format.rate, pieces), c.format.channels, c.format.type), c.format, c.block, &f));
    ASSERT_EQ(f.track.count, 496u);
    // Loudness to a step; a peak to two (samples at another rate miss a sine's top by a few %).
    for (size_t n = 0; n < f.track.count; ++n) {
      ASSERT_NEAR(f.at(n).loudness, first.at(n).loudness, 1) << "frame " << n;
      ASSERT_NEAR(f.at(n).low, first.at(n).low, 2) << "frame " << n;
      ASSERT_NEAR(f.at(n).high, first.at(n).high, 2) << "frame " << n;
    }
    DecodedAudio audio{&f.track, f.track.count, true}, reference{&first.track, first.track.count, true};
    for (long long press : {gapEnd - 20, gapEnd + 17, cut + 9, cut - 30}) {
      SnapAnswer a = placeMark(audio, press), b = placeMark(reference, press);
      EXPECT_EQ((int)a.kind, (int)b.kind) << "press " << press;
      EXPECT_EQ(a.frame, b.frame) << "press " << press;
    }
    EXPECT_EQ(placeMark(audio, gapEnd + 17).frame, gapEnd);
    EXPECT_EQ((int)snapNear(audio, cut + 9).kind, (int)SnapKind::ChangePoint);
  }
}

TEST(AudioFeatures, StopsWhenTheTrackTakesNoMore) {
  // A track two frames short of full (its earlier chunks left out): the third frame is refused,
  // and so is everything after it, as when memory runs out.
  Features f;
  f.track.count = kFeatureFramesMax - 2;
  std::vector<unsigned char> pcm = encode(render(8000, {{Sound::Low, 1, -10}}), 1, SampleType::Int16);
  std::vector<FeatureExtractor> x(1);
  ASSERT_TRUE(featureExtractorInit(&x[0], {8000, 1, SampleType::Int16}, &f.track));
  EXPECT_FALSE(featureExtractorFeed(&x[0], pcm.data(), pcm.size()));
  EXPECT_EQ(f.track.count, kFeatureFramesMax);
  EXPECT_FALSE(featureExtractorFeed(&x[0], pcm.data(), 2));
  EXPECT_FALSE(featureExtractorFinish(&x[0]));
  EXPECT_EQ(f.track.count, kFeatureFramesMax);
}

TEST(AudioFeatures, TakesFormatsWithinTheLimits) {
  struct {
    PcmFormat format;
    bool taken;
  } cases[] = {
      {{8000, 1, SampleType::Int16}, true},     {{7999, 1, SampleType::Int16}, false},
      {{192000, 8, SampleType::Float32}, true}, {{192001, 2, SampleType::Float32}, false},
      {{44100, 0, SampleType::Int16}, false},   {{44100, 9, SampleType::Int16}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.format.rate) + " Hz, " + std::to_string(c.format.channels) + " channels");
    Features f;
    std::vector<FeatureExtractor> x(1);
    EXPECT_EQ(featureExtractorInit(&x[0], c.format, &f.track), c.taken);
  }
}
