// Finding the caret's mark and nudging it within the times around it.
#include "sheetMarks.h"

#include "../base/limits.h"
#include "cueTime.h"
#include "markFacts.h"

namespace {

// The mark moved by delta, never past lowest or highest in the direction it moves, nor back.
long long movedWithin(long long frames, long long delta, long long lowest, long long highest) {
  if (delta > 0) {
    long long moved = delta > highest - frames ? highest : frames + delta;
    return moved > frames ? moved : frames;
  }
  if (delta < 0) {
    long long moved = delta < lowest - frames ? lowest : frames + delta;
    return moved < frames ? moved : frames;
  }
  return frames;
}

// For the first track, the nudge's one edit from the INDEX 00 line (added or removed) up to the
// end of the new time; false when that does not apply or the indentation does not fit.
bool firstTrackEdit(const char* text, const MarkFacts& facts, long long moved, const char* time,
                    size_t timeLength, TextEdit* edit) {
  const TrackFacts& first = facts.track;
  if (!facts.inTrack || !facts.first) return false;
  size_t timeEnd = facts.mark.timeAt + facts.mark.timeLength;
  size_t indentAndKeyword = facts.mark.timeAt - first.index01Line.start;
  switch (pregapChange(first, true, true, moved)) {
    case kPregapAdd:
      *edit = ownEdit(first.index01Line.start, timeEnd - first.index01Line.start);
      return putPregapLine(edit->own, sizeof edit->own, &edit->ownLength, text, first.index01Line) &&
             putOwn(edit, text + first.index01Line.start, indentAndKeyword) && putOwn(edit, time, timeLength);
    case kPregapRemove:
      *edit = ownEdit(first.pregapLine.start, timeEnd - first.pregapLine.start);
      return putOwn(edit, text + first.index01Line.start, indentAndKeyword) && putOwn(edit, time, timeLength);
    default:
      return false;
  }
}

}  // namespace

bool findMark(const char* text, size_t length, size_t caret, MarkTime* mark) {
  MarkFacts facts;
  if (!mark || !findMarkFacts(text, length, caret, &facts)) return false;
  *mark = facts.mark;
  return true;
}

bool nudgeMark(const char* text, size_t length, size_t caret, long long deltaFrames,
               long long endFrames, TextEdit* edit, long long* newFrames) {
  MarkFacts facts;
  if (!edit || !findMarkFacts(text, length, caret, &facts)) return false;
  TimesAround times = timesAround(text, facts, facts.line.start);
  long long lowest = times.before >= 0 ? times.before + 1 : 0;
  long long highest = times.after >= 0 ? times.after - 1 : kCueFramesMost;
  if (endFrames >= 0 && endFrames < highest) highest = endFrames;
  long long moved = movedWithin(facts.mark.frames, deltaFrames, lowest, highest);
  if (newFrames) *newFrames = moved;
  if (moved == facts.mark.frames) {
    *edit = ownEdit(facts.mark.timeAt, 0);
    return true;
  }
  char time[kNumberTextBytes];
  size_t timeLength = formatCueTime(moved, time, sizeof time);
  // The first track keeps INDEX 00 00:00:00 exactly while its INDEX 01 is later than that;
  // otherwise, or when an unusual indentation does not fit, the time alone.
  if (!firstTrackEdit(text, facts, moved, time, timeLength, edit)) {
    *edit = ownEdit(facts.mark.timeAt, facts.mark.timeLength);
    putOwn(edit, time, timeLength);
  }
  return true;
}
