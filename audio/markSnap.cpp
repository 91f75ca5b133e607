// The rule that places a mark on the audio.
#include "markSnap.h"

#include "changePoints.h"
#include "silenceRuns.h"

namespace {

SnapAnswer answer(SnapKind kind, bool moves, long long frame, long long given) {
  return SnapAnswer{kind, moves, frame, frame - given};
}

// Searches silence ends within reach and change points within kSnapWindowFrames of mark.
SnapAnswer search(const DecodedAudio& audio, long long mark, long long reach, bool changeMoves) {
  size_t frames = audio.frames < audio.track->count ? audio.frames : audio.track->count;
  long long n = (long long)frames, given = mark;
  if (mark < 0) mark = 0;
  if (audio.wholeFile ? mark >= n : mark + kLoudContextFrames >= n)
    return answer(audio.wholeFile ? SnapKind::Nothing : SnapKind::NotDecoded, false, given, given);
  long long from = mark - kLoudContextFrames, to = mark + kLoudContextFrames;
  if (from < 0) from = 0;
  if (to > n) to = n;
  uint8_t threshold = silenceThreshold(*audio.track, (size_t)from, (size_t)to);
  long long end = nearestSilenceEnd(*audio.track, frames, threshold, mark - reach, mark + reach, mark);
  if (end >= 0) return answer(SnapKind::SilenceEnd, true, end, given);
  long long change = strongestChange(*audio.track, frames, threshold, mark - kSnapWindowFrames,
                                     mark + kSnapWindowFrames, from, to);
  if (change >= 0) return answer(SnapKind::ChangePoint, changeMoves, change, given);
  return answer(SnapKind::Nothing, false, given, given);
}

}  // namespace

SnapAnswer placeMark(const DecodedAudio& audio, long long pressFrame) {
  return search(audio, pressFrame, kPressWindowFrames, false);
}

SnapAnswer snapNear(const DecodedAudio& audio, long long markFrame) {
  return search(audio, markFrame, kSnapWindowFrames, true);
}
