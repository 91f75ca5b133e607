// The strip's copies of the decoded audio's envelope, a few files kept, the one used longest
// ago giving its room to a new one.
#include "waveCopies.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"

namespace {

const size_t kCopiesKept = 4;               // the sheet's files, the playing one among them
const size_t kFirstCopyFrames = 16384;      // 3.6 minutes; the array doubles from there
const size_t kBytesPerFrame = 2;

struct Copy {
  char path[kPathBytes];
  signed char* minMax;  // from HeapAlloc, capacity frames
  size_t capacity;
  size_t frames;
  bool whole;
  unsigned lastUsed;
};

Copy gCopies[kCopiesKept];  // zero: no copy
unsigned gUses = 0;

void freeCopy(Copy* copy) {
  if (copy->minMax) HeapFree(GetProcessHeap(), 0, copy->minMax);
  *copy = Copy{};
}

// The copy of path, made empty in the room used longest ago when there is none.
Copy* copyOf(const char* path) {
  Copy* oldest = &gCopies[0];
  for (Copy& copy : gCopies) {
    if (copy.path[0] && samePath(copy.path, path)) return &copy;
    if (!copy.path[0] || (oldest->path[0] && copy.lastUsed < oldest->lastUsed)) oldest = &copy;
  }
  freeCopy(oldest);
  copyText(oldest->path, sizeof oldest->path, path);
  return oldest;
}

// Room for frames frames; false, with the copy as it was, when memory is short.
bool makeRoom(Copy* copy, size_t frames) {
  if (frames <= copy->capacity) return true;
  size_t capacity = copy->capacity ? copy->capacity : kFirstCopyFrames;
  while (capacity < frames) capacity *= 2;
  if (capacity > kFeatureFramesMax) capacity = kFeatureFramesMax;
  HANDLE heap = GetProcessHeap();
  void* grown = copy->minMax ? HeapReAlloc(heap, 0, copy->minMax, capacity * kBytesPerFrame)
                             : HeapAlloc(heap, 0, capacity * kBytesPerFrame);
  if (!grown) return false;
  copy->minMax = (signed char*)grown;
  copy->capacity = capacity;
  return true;
}

void copyFrames(Copy* copy, const DecodedAudio& audio) {
  size_t frames = audio.frames < audio.track->count ? audio.frames : audio.track->count;
  if (frames > kFeatureFramesMax) frames = kFeatureFramesMax;
  if (frames <= copy->frames || !makeRoom(copy, frames)) return;
  for (size_t f = copy->frames; f < frames; ++f) {
    const FrameFeature& feature = featureAt(*audio.track, f);
    copy->minMax[f * kBytesPerFrame] = feature.low;
    copy->minMax[f * kBytesPerFrame + 1] = feature.high;
  }
  copy->frames = frames;
}

}  // namespace

WaveCopy waveCopyOf(const char* path) {
  WaveCopy answer = {nullptr, 0, 0, decodedAudioOf(path)};
  if (!path || !path[0]) return answer;
  Copy* copy = copyOf(path);
  copy->lastUsed = ++gUses;
  if (!copy->whole && answer.decoded.state == kDecodeUnknown) {
    wantAudioOf(path);
    answer.decoded = decodedAudioOf(path);
  }
  // A file read again from its start adds nothing until it passes what was copied.
  if (!copy->whole && answer.decoded.audio.track) {
    copyFrames(copy, answer.decoded.audio);
    copy->whole = answer.decoded.state == kDecodeDone && copy->frames == answer.decoded.audio.frames;
  }
  answer.minMax = copy->minMax;
  answer.frames = (long long)copy->frames;
  answer.totalFrames = copy->whole ? (long long)copy->frames : 0;
  return answer;
}

void freeWaveCopies() {
  for (Copy& copy : gCopies) freeCopy(&copy);
  gUses = 0;
}
