// Fuzzes the audio floor. Any PCM in any format and blocks reads into one frame per started
// frame, each with its lowest sample at or below its highest. Any feature track answers every
// press within the rule's reach: a silence end between silence and lasting sound within 2 s, a
// change point within 1 s, "not decoded" exactly when the frames 3 s after the press are missing,
// and, once decoded, the same answer as with the whole file.
#include <cstdlib>
#include <cstring>

#include "../../audio/featureExtractor.h"
#include "../../audio/markSnap.h"
#include "../../audio/silenceRuns.h"
#include "fuzzInput.h"

namespace {

const size_t kTrackFramesMax = 6000;

void checkExtractor(const uint8_t* head, const uint8_t* pcm, size_t bytes) {
  PcmFormat format;
  format.rate = kPcmRateMin + ((unsigned)head[0] << 8 | head[1]) * 2809u % (kPcmRateMax - kPcmRateMin + 1);
  format.channels = 1 + (head[2] & 7);
  format.type = head[2] & 8 ? SampleType::Float32 : SampleType::Int16;
  size_t block = 1 + head[3] * 7u;
  FeatureTrack* track = (FeatureTrack*)malloc(sizeof(FeatureTrack));
  FeatureExtractor* x = (FeatureExtractor*)malloc(sizeof(FeatureExtractor));
  featureTrackInit(track);
  FUZZ_CHECK(featureExtractorInit(x, format, track));
  for (size_t at = 0; at < bytes; at += block) FUZZ_CHECK(featureExtractorFeed(x, pcm + at, bytes - at < block ? bytes - at : block));
  FUZZ_CHECK(featureExtractorFinish(x));
  size_t samples = bytes / ((format.type == SampleType::Int16 ? 2 : 4) * format.channels);
  size_t started = 0;
  while ((unsigned long long)started * format.rate / 75 < samples) ++started;
  FUZZ_CHECK(track->count == started);
  for (size_t f = 0; f < track->count; ++f) {
    const FrameFeature& r = featureAt(*track, f);
    FUZZ_CHECK(r.low <= r.high && r.low >= -kWaveScale && r.high <= kWaveScale);
    FUZZ_CHECK(format.type == SampleType::Float32 || loudnessDb(r.loudness) <= 0.5f);
  }
  featureTrackFree(track);
  free(track);
  free(x);
}

long long clampedPress(long long press) { return press < 0 ? 0 : press; }

void checkAnswer(const FeatureTrack& track, const DecodedAudio& audio, long long press, bool button) {
  SnapAnswer a = button ? snapNear(audio, press) : placeMark(audio, press);
  long long mark = clampedPress(press), n = (long long)audio.frames;
  FUZZ_CHECK(a.distance == a.frame - press);
  bool missing = audio.wholeFile ? false : mark + kLoudContextFrames >= n;
  FUZZ_CHECK((a.kind == SnapKind::NotDecoded) == missing);
  if (a.kind == SnapKind::Nothing || a.kind == SnapKind::NotDecoded) {
    FUZZ_CHECK(a.frame == press && !a.moves);
    return;
  }
  FUZZ_CHECK(a.frame >= 0 && a.frame < n);
  long long reach = a.kind == SnapKind::SilenceEnd && !button ? kPressWindowFrames : kSnapWindowFrames;
  FUZZ_CHECK(a.frame >= mark - reach && a.frame <= mark + reach);
  FUZZ_CHECK(a.moves == (a.kind == SnapKind::SilenceEnd || button));
  if (a.kind == SnapKind::SilenceEnd) {
    long long from = mark - kLoudContextFrames < 0 ? 0 : mark - kLoudContextFrames;
    long long to = mark + kLoudContextFrames > n ? n : mark + kLoudContextFrames;
    uint8_t threshold = silenceThreshold(track, (size_t)from, (size_t)to);
    // Silence before, sound that stays after (a shorter burst between silences is silence).
    FUZZ_CHECK(a.frame >= kSilenceRunFrames && featureAt(track, (size_t)a.frame - 1).loudness < threshold);
    for (long long f = a.frame; f < a.frame + kSoundBackFrames && f < n; ++f)
      FUZZ_CHECK(featureAt(track, (size_t)f).loudness >= threshold);
  }
  if (!audio.wholeFile) {
    // Decoded far enough, the answer is final.
    DecodedAudio whole{&track, track.count, true};
    SnapAnswer b = button ? snapNear(whole, press) : placeMark(whole, press);
    FUZZ_CHECK(a.kind == b.kind && a.frame == b.frame && a.moves == b.moves);
  }
}

// A track made of the input: three bytes a frame (loudness, change, a wave byte), repeated.
void checkRule(const uint8_t* head, const uint8_t* data, size_t bytes) {
  if (bytes < 3) return;
  FeatureTrack* track = (FeatureTrack*)malloc(sizeof(FeatureTrack));
  featureTrackInit(track);
  size_t frames = 300 + bytes * 2;
  if (frames > kTrackFramesMax) frames = kTrackFramesMax;
  for (size_t f = 0; f < frames; ++f) {
    FrameFeature r;
    r.loudness = data[(f * 3) % bytes];
    r.change = data[(f * 3 + 1) % bytes];
    r.high = (int8_t)(data[(f * 3 + 2) % bytes] & 0x7F);
    r.low = (int8_t)-r.high;
    FUZZ_CHECK(featureTrackAppend(track, r));
  }
  size_t decoded = frames - (head[4] % 200) * (frames / 200);
  size_t stride = 1 + frames / 16;
  for (long long press = -20; press < (long long)frames + 20; press += (long long)stride) {
    for (int button = 0; button < 2; ++button) {
      checkAnswer(*track, DecodedAudio{track, frames, true}, press, button);
      checkAnswer(*track, DecodedAudio{track, decoded, false}, press, button);
    }
  }
  featureTrackFree(track);
  free(track);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  checkExtractor(data, data + 5, size - 5);
  checkRule(data, data + 5, size - 5);
  return 0;
}
