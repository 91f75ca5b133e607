// The rule that places a mark, asked with the frames the worker decoded so far.
#include "markPlacer.h"

#include "../audio/snapText.h"
#include "../base/text.h"
#include "../decode/decodedFiles.h"
#include "../sheet/cueTime.h"
#include "../store/settings.h"

namespace {

const char kNeedsDecoder[] = "Snap needs a player from 5.12 on: this one decodes no files for plug-ins";
const char kRefused[] = "Snap: the player's decoders give no audio of this file";

long long frameOfMs(long long ms) { return ms * kFramesPerSecond / 1000; }

}  // namespace

int msOfFrame(long long frame) { return (int)((frame * 1000 + kFramesPerSecond - 1) / kFramesPerSecond); }

int placeMarkOnAudio(const char* path, int pressMs, int keyMs, char* why) {
  why[0] = '\0';
  if (!settings().snap || pressMs < 0) return pressMs;
  DecodedFile file = decodedAudioOf(path);
  if (!file.audio.track) return pressMs;
  SnapAnswer answer = placeMark(file.audio, frameOfMs(pressMs));
  // Told against the key itself, the moment the user knows.
  SnapAnswer told = answer;
  told.distance = answer.frame - frameOfMs(keyMs);
  describePlacement(told, why, kPlacementTextBytes);
  return answer.moves ? msOfFrame(answer.frame) : pressMs;
}

SnapAnswer snapMarkOnAudio(const char* path, long long markFrames, char* said) {
  SnapAnswer none = {SnapKind::Nothing, false, markFrames, 0};
  DecodedFile file = decodedAudioOf(path);
  if (file.state == kDecodeNoDecoder) {
    copyText(said, kPlacementTextBytes, kNeedsDecoder);
    return none;
  }
  if (file.state == kDecodeRefused && file.audio.frames == 0) {
    copyText(said, kPlacementTextBytes, kRefused);
    return none;
  }
  SnapAnswer answer = file.audio.track ? snapNear(file.audio, markFrames)
                                       : SnapAnswer{SnapKind::NotDecoded, false, markFrames, 0};
  describeSnap(answer, said, kPlacementTextBytes);
  return answer;
}
