// Shifting the marks of the caret's track and of every later track in its FILE block together.
#include "sheetMarks.h"

#include "../base/limits.h"
#include "cueTime.h"
#include "markFacts.h"

namespace {

// The move for every time from position from on, cut to the limits (see shiftMarks).
long long clampedShift(const TimesAround& times, long long delta, long long endFrames) {
  if (times.earliest < 0) return 0;
  if (delta < 0) {
    long long lowest = times.before >= 0 ? times.before + 1 : 0;
    long long most = lowest - times.earliest;  // the furthest move earlier, as a negative number
    if (most > 0) return 0;
    return delta < most ? most : delta;
  }
  long long highest = endFrames >= 0 && endFrames < kCueFramesMost ? endFrames : kCueFramesMost;
  long long most = highest - times.latest;
  if (most < 0) return 0;
  return delta > most ? most : delta;
}

// Appends an edit; false when there is no room for it.
bool addEdit(TextEdit* edits, size_t editsMax, size_t* count, const TextEdit& edit) {
  if (*count >= editsMax) return false;
  edits[(*count)++] = edit;
  return true;
}

// No edits at all when they do not all fit; returns false.
bool tooMany(size_t* count) {
  *count = 0;
  return false;
}

}  // namespace

size_t shiftEditsMax(const char* text, size_t length) {
  size_t count = 1;  // the first track's INDEX 00 line
  SheetLine line;
  IndexLine index;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next)
    if (readIndexLine(text, line, &index)) ++count;
  return count;
}

bool shiftMarks(const char* text, size_t length, size_t caret, long long deltaFrames,
                long long endFrames, TextEdit* edits, size_t editsMax, size_t* count,
                long long* caretTrackFrames) {
  MarkFacts facts;
  if (!count || !findMarkFacts(text, length, caret, &facts)) return false;
  *count = 0;
  size_t from = facts.inTrack ? facts.track.trackLine : facts.line.start;
  long long shift = clampedShift(timesAround(text, facts, from), deltaFrames, endFrames);
  long long start = facts.mark.frames + shift;
  if (caretTrackFrames) *caretTrackFrames = start;
  if (shift == 0) return true;

  // The first track keeps its INDEX 00 00:00:00 exactly while its INDEX 01 is later than that.
  bool first = facts.inTrack && facts.first;
  const TrackFacts& track = facts.track;
  PregapChange pregap = first ? pregapChange(track, true, true, start) : kPregapKeep;
  SheetLine line;
  for (size_t at = from; readLine(text, facts.block.end, at, &line); at = line.next) {
    if (pregap == kPregapRemove && line.start == track.pregapLine.start &&
        !addEdit(edits, editsMax, count, ownEdit(line.start, line.next - line.start)))
      return tooMany(count);
    if (pregap == kPregapAdd && line.start == track.index01Line.start) {
      TextEdit edit = ownEdit(line.start, 0);
      if (putPregapLine(edit.own, sizeof edit.own, &edit.ownLength, text, line) &&
          !addEdit(edits, editsMax, count, edit))
        return tooMany(count);
    }
    IndexLine index;
    if (!movableIndex(text, facts, line, &index)) continue;
    TextEdit edit = ownEdit(index.timeAt, index.timeLength);
    char time[kNumberTextBytes];
    putOwn(&edit, time, formatCueTime(index.frames + shift, time, sizeof time));
    if (!addEdit(edits, editsMax, count, edit)) return tooMany(count);
  }
  return true;
}
