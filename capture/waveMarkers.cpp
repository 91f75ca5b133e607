// Silence ends and change points across a stretch of decoded audio.
#include "waveMarkers.h"

#include "../audio/changePoints.h"
#include "../audio/silenceRuns.h"

namespace {

size_t framesOf(const DecodedAudio& audio) {
  if (!audio.track) return 0;
  return audio.frames < audio.track->count ? audio.frames : audio.track->count;
}

long long clampTo(long long value, long long least, long long most) {
  return value < least ? least : value > most ? most : value;
}

// The silence threshold of [first, last] and the context around it.
uint8_t stretchThreshold(const DecodedAudio& audio, long long first, long long last) {
  long long n = (long long)framesOf(audio);
  long long from = clampTo(first - kLoudContextFrames, 0, n - 1);
  long long to = clampTo(last + kLoudContextFrames + 1, from + 1, n);
  return silenceThreshold(*audio.track, (size_t)from, (size_t)to);
}

}  // namespace

int silenceEndsIn(const DecodedAudio& audio, long long first, long long last, long long* out, int outMost) {
  size_t frames = framesOf(audio);
  if (frames == 0 || outMost <= 0 || last < first) return 0;
  uint8_t threshold = stretchThreshold(audio, first, last);
  int count = 0;
  // Nearest to the stretch's end, then again before it: the latest first.
  while (count < outMost && last >= first) {
    long long end = nearestSilenceEnd(*audio.track, frames, threshold, first, last, last);
    if (end < 0) break;
    out[count++] = end;
    last = end - 1;
  }
  for (int i = 0; i < count / 2; ++i) {
    long long swap = out[i];
    out[i] = out[count - 1 - i];
    out[count - 1 - i] = swap;
  }
  return count;
}

int changePointsIn(const DecodedAudio& audio, long long first, long long last, long long* out, int outMost) {
  size_t frames = framesOf(audio);
  if (frames == 0 || outMost <= 0 || last < first) return 0;
  uint8_t threshold = stretchThreshold(audio, first, last);
  int count = 0;
  for (long long at = first; at <= last && count < outMost; at += kSnapWindowFrames) {
    long long change = strongestChange(*audio.track, frames, threshold, at - kSnapWindowFrames, at + kSnapWindowFrames,
                                       at - kLoudContextFrames, at + kLoudContextFrames);
    if (change < first || change > last) continue;
    // Windows overlap: a change found again, or one before the last found, is kept once, in order.
    int place = count;
    while (place > 0 && out[place - 1] > change) --place;
    if (place > 0 && out[place - 1] == change) continue;
    for (int i = count; i > place; --i) out[i] = out[i - 1];
    out[place] = change;
    ++count;
  }
  return count;
}
