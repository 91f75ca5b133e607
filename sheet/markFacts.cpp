// Finding the caret's mark and the FILE block it stands in.
#include "markFacts.h"

namespace {

// In a sheet without TRACK lines: the nearest INDEX line at or above the caret's line.
bool findLooseIndex(const char* text, size_t length, const SheetLine& caretLine, MarkFacts* facts) {
  bool found = false;
  SheetLine line;
  for (size_t at = 0; at <= caretLine.start && readLine(text, length, at, &line); at = line.next) {
    IndexLine index;
    if (readIndexLine(text, line, &index)) {
      found = index.timeValid;
      facts->line = line;
      facts->mark.timeAt = index.timeAt;
      facts->mark.timeLength = index.timeLength;
      facts->mark.frames = index.frames;
    }
    if (line.next == at) break;
  }
  return found;
}

// The first track's INDEX 00 line at 00:00:00 before its INDEX 01, in any spelling; kNoLine.
size_t discStartLine(const char* text, const TrackFacts& track) {
  SheetLine line;
  for (size_t at = track.trackLine; readLine(text, track.end, at, &line) && line.start < track.index01Line.start;
       at = line.next) {
    IndexLine index;
    if (readIndexLine(text, line, &index) && index.timeValid && index.number == 0 && index.frames == 0)
      return line.start;
  }
  return kNoLine;
}

}  // namespace

bool findMarkFacts(const char* text, size_t length, size_t caret, MarkFacts* facts) {
  if (!text || !facts) return false;
  *facts = MarkFacts();
  facts->ownPregapAt = kNoLine;
  facts->discStartAt = kNoLine;
  SheetLine caretLine = lineHolding(text, length, caret);
  TrackScan scan = {0, 0};
  TrackFacts track;
  if (nextTrack(text, length, &scan, &track)) {
    if (track.ownPregap) facts->ownPregapAt = track.pregapLine.start;
    else facts->discStartAt = discStartLine(text, track);
    // The track the caret stands in; a caret in the header stands in none.
    if (caretLine.start < track.trackLine) return false;
    facts->first = true;
    TrackFacts next;
    while (nextTrack(text, length, &scan, &next) && next.trackLine <= caretLine.start) {
      track = next;
      facts->first = false;
    }
    if (!track.hasIndex01) return false;
    facts->inTrack = true;
    facts->track = track;
    facts->line = track.index01Line;
    facts->mark.timeAt = track.index01TimeAt;
    facts->mark.timeLength = track.index01TimeLength;
    facts->mark.frames = track.index01;
  } else if (!findLooseIndex(text, length, caretLine, facts)) {
    return false;
  }
  facts->block = blockAt(text, length, facts->line.start);
  facts->mark.fileNameAt = facts->block.nameAt;
  facts->mark.fileNameLength = facts->block.nameLength;
  return true;
}

bool movableIndex(const char* text, const MarkFacts& facts, const SheetLine& line, IndexLine* index) {
  return line.start != facts.ownPregapAt && line.start != facts.discStartAt && readIndexLine(text, line, index) &&
         index->timeValid;
}

TimesAround timesAround(const char* text, const MarkFacts& facts, size_t from) {
  TimesAround times = {-1, -1, -1, -1};
  SheetLine line;
  for (size_t at = facts.block.start; readLine(text, facts.block.end, at, &line); at = line.next) {
    IndexLine index;
    if (line.start == facts.discStartAt && times.before < 0) times.before = 0;
    if (!movableIndex(text, facts, line, &index)) continue;
    if (line.start < from) times.before = index.frames;
    if (line.start > facts.line.start && times.after < 0) times.after = index.frames;
    if (line.start < from) continue;
    if (times.earliest < 0 || index.frames < times.earliest) times.earliest = index.frames;
    if (index.frames > times.latest) times.latest = index.frames;
  }
  return times;
}
