// The sentences about placed and snapped marks.
#include "snapText.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../sheet/cueTime.h"

namespace {

const char kBySilence[] = "at the end of a silence";
const char kByChange[] = "a change";

// A distance in frames as seconds with two decimals, without its sign ("0.21 s").
void putSeconds(long long frames, char* out, size_t outBytes) {
  if (frames < 0) frames = -frames;
  long long hundredths = (frames * 100 + kFramesPerSecond / 2) / kFramesPerSecond;
  char number[kNumberTextBytes];
  formatInt(number, sizeof number, hundredths / 100);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, ".");
  formatInt(number, sizeof number, hundredths % 100, 2);
  appendTo(out, outBytes, number);
  appendTo(out, outBytes, " s");
}

// ", 0.21 s before your key" or ", at your key" after what was found, against "your key" or a
// mark's "earlier"/"later".
void putDistance(long long distance, const char* earlier, const char* later, const char* same, char* out,
                 size_t outBytes) {
  if (distance == 0) {
    appendTo(out, outBytes, same);
    return;
  }
  appendTo(out, outBytes, ", ");
  putSeconds(distance, out, outBytes);
  appendTo(out, outBytes, distance < 0 ? earlier : later);
}

}  // namespace

void describePlacement(const SnapAnswer& answer, char* out, size_t outBytes) {
  copyText(out, outBytes, "");
  if (answer.kind == SnapKind::SilenceEnd && answer.moves) {
    copyText(out, outBytes, kBySilence);
    putDistance(answer.distance, " before your key", " after your key", ", right at your key", out, outBytes);
  } else if (answer.kind == SnapKind::ChangePoint && !answer.moves) {
    copyText(out, outBytes, kByChange);
    if (answer.distance == 0) {
      appendTo(out, outBytes, " right at your key");
    } else {
      appendTo(out, outBytes, " ");
      putSeconds(answer.distance, out, outBytes);
      appendTo(out, outBytes, answer.distance < 0 ? " before your key" : " after your key");
    }
    appendTo(out, outBytes, ": Snap (F6) moves the mark there");
  }
}

void describeSnap(const SnapAnswer& answer, char* out, size_t outBytes) {
  switch (answer.kind) {
    case SnapKind::SilenceEnd:
    case SnapKind::ChangePoint:
      copyText(out, outBytes, answer.kind == SnapKind::SilenceEnd ? "Snapped to the end of a silence" : "Snapped to a change");
      putDistance(answer.distance, " earlier", " later", ": the mark was there already", out, outBytes);
      break;
    case SnapKind::NotDecoded:
      copyText(out, outBytes, "The audio around this mark is still being read");
      break;
    case SnapKind::Nothing:
    default:
      copyText(out, outBytes, "Snap: nothing to snap to within a second");
      break;
  }
}
