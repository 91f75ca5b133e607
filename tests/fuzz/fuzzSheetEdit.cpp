// Fuzzes the sheet edits on any sheet: finding the mark, a nudge, a shift of later marks and
// placing an entry give edits inside the text, sorted and apart, that apply to exactly the
// length they promise without writing past any buffer; a moved mark is found again where the
// caret went, at its new time; a sheet that passed the check still does after a move.
#include <string>
#include <vector>

#include "../../base/limits.h"
#include "../../sheet/cueTime.h"
#include "../../sheet/sheetCheck.h"
#include "../../sheet/sheetEdit.h"
#include "fuzzInput.h"
#include "sheetGenerator.h"

namespace {

void checkEdits(size_t length, const TextEdit* edits, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    FUZZ_CHECK(edits[i].at <= length && edits[i].removeLength <= length - edits[i].at);
    FUZZ_CHECK(i == 0 || edits[i - 1].at + edits[i - 1].removeLength <= edits[i].at);
    FUZZ_CHECK(edits[i].external || edits[i].ownLength < sizeof edits[i].own);
  }
}

// The edited text, written into exact buffers: one that holds it all and one cut to smallBytes.
std::string applied(const char* text, size_t length, const TextEdit* edits, size_t count, size_t smallBytes) {
  checkEdits(length, edits, count);
  size_t edited = editedLength(length, edits, count);
  ExactBuffer out(edited + 1);
  FUZZ_CHECK(applyEdits(text, length, edits, count, out.data, out.size) == edited);
  FUZZ_CHECK(out.data[edited] == '\0');
  ExactBuffer cut(smallBytes);
  size_t written = applyEdits(text, length, edits, count, cut.data, cut.size);
  FUZZ_CHECK(smallBytes == 0 || (written < smallBytes && cut.data[written] == '\0'));
  return std::string(out.data, edited);
}

bool passesCheck(const char* text, size_t length) {
  SheetCheck check;
  checkSheet(text, length, &check);
  return check.problems == 0;
}

// The mark at the caret after a move stands at the new time; a move within a known end keeps a
// sheet that passed the check passing.
void checkMoved(const std::string& after, size_t caret, long long frames, bool passed) {
  MarkTime mark;
  FUZZ_CHECK(findMark(after.data(), after.size(), caret, &mark));
  FUZZ_CHECK(mark.frames == frames);
  FUZZ_CHECK(!passed || passesCheck(after.data(), after.size()));
}

long long deltaOf(uint8_t byte) {
  static const long long steps[] = {0, 1, -1, 75, -75, 4500, -4500, 1000000000000LL};
  long long step = steps[byte % 8];
  return byte & 0x80 ? -step : step;
}

void fuzzMarks(const char* text, size_t length, size_t caret, long long delta, long long endFrames,
               size_t smallBytes) {
  MarkTime mark;
  bool found = findMark(text, length, caret, &mark);
  bool passed = found && endFrames >= 0 && passesCheck(text, length);
  if (found) {
    FUZZ_CHECK(mark.timeAt <= length && mark.timeLength <= length - mark.timeAt && mark.frames >= 0);
    FUZZ_CHECK(mark.fileNameAt <= length && mark.fileNameLength <= length - mark.fileNameAt);
  }
  TextEdit edit;
  long long frames = -1;
  FUZZ_CHECK(nudgeMark(text, length, caret, delta, endFrames, &edit, &frames) == found);
  if (found) {
    FUZZ_CHECK(frames >= 0 && (delta == 0 ? frames == mark.frames : true));
    FUZZ_CHECK(endFrames < 0 || mark.frames > endFrames || frames <= endFrames);
    std::string after = applied(text, length, &edit, 1, smallBytes);
    checkMoved(after, mapThroughEdits(caret, &edit, 1), frames, passed);
  }
  size_t editsMax = shiftEditsMax(text, length);
  std::vector<TextEdit> edits(editsMax);
  size_t count = 0;
  FUZZ_CHECK(shiftMarks(text, length, caret, delta, endFrames, edits.data(), editsMax, &count, &frames) == found);
  if (found) {
    FUZZ_CHECK(count <= editsMax && frames >= 0);
    std::string after = applied(text, length, edits.data(), count, smallBytes);
    checkMoved(after, mapThroughEdits(caret, edits.data(), count), frames, passed);
  }
}

void fuzzPlacement(const char* text, size_t length, uint8_t how, uint8_t pick, size_t smallBytes) {
  // A usual entry, a short one, no entry at all, and one whose INDEX 00 line would be too wide.
  const std::string entries[] = {"TRACK 01 AUDIO\r\n    TITLE \"X\"\r\n    INDEX 01 ", "TRACK 7\n  INDEX 1 ",
                                 "line 02 ", "TRACK 01 AUDIO\r\n" + std::string(kEditTextBytes, ' ') + "INDEX 01 "};
  char time[kNumberTextBytes];
  formatCueTime((long long)pick * 997, time, sizeof time);
  std::string entry = entries[pick % 4] + time;
  const char* header = how & 2 ? "PERFORMER \"P\"\r\nFILE \"a.wav\" WAVE" : nullptr;
  int block = (how >> 2) & 7;
  EntryTarget target = {block == 7 ? -1 : block, "FILE \"new.wav\" WAVE"};
  size_t editsMax = placementEditsMax(text, length);
  std::vector<TextEdit> edits(editsMax);
  size_t placedBytes = placedTextBytes(header ? strlen(header) : 0, entry.size(), strlen(target.newFileLine));
  ExactBuffer placed(placedBytes);
  EntryPlacement placement;
  size_t count = placeEntry(text, length, header, entry.c_str(), target, placed.data, placed.size,
                            edits.data(), editsMax, &placement);
  FUZZ_CHECK(count >= 1 && count <= editsMax);
  for (size_t i = 0; i < count; ++i)
    if (edits[i].external)
      FUZZ_CHECK(edits[i].external >= placed.data && edits[i].externalLength < placed.size &&
                 (size_t)(edits[i].external - placed.data) <= placed.size - 1 - edits[i].externalLength);
  std::string after = applied(text, length, edits.data(), count, smallBytes);
  if (placement.ordered) FUZZ_CHECK(countTracks(after.data(), after.size(), nullptr) == placement.tracks);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  // Bytes 0 to 4: the caret's place, how the sheet is read and placed into, the move, the
  // audio's end, the entry; the second byte's lowest bit: the rest as the sheet, or the sheet
  // generated from it.
  std::string input = data[1] & 1 ? generateSheet(data + 5, size - 5) : std::string((const char*)data + 5, size - 5);
  size_t length = input.size();
  ExactBuffer text(length);
  if (length) memcpy(text.data, input.data(), length);
  size_t caret = length * data[0] / 255 + (data[0] == 255 ? 1 : 0);
  long long endFrames = data[3] == 0 ? -1 : (long long)data[3] * 301;
  size_t smallBytes = length * (data[4] % 16) / 16;
  fuzzMarks(text.data, length, caret, deltaOf(data[2]), endFrames, smallBytes);
  fuzzPlacement(text.data, length, data[1], data[4], smallBytes);
  return 0;
}
