// Scanning a cue sheet's tracks and FILE blocks.
#include "sheetTracks.h"

#include "../base/text.h"
#include "textEdit.h"

const char kPregapLine[] = "INDEX 00 00:00:00";

namespace {

const char kLineBreak[] = "\r\n";
const long long kTrackNumberMost = 99;

bool isBlankOrBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isFileLine(const char* text, const SheetLine& line) {
  return lineKeyword(text, line, "FILE", nullptr);
}

// Whether the INDEX line is exactly the pregap line the first track gets (after its indentation).
bool isPregapLine(const char* text, const SheetLine& line, const IndexLine& index) {
  return index.number == 0 && index.timeValid && index.frames == 0 &&
         line.end == firstWord(text, line) + sizeof kPregapLine - 1;
}

// A TITLE or PERFORMER line's value into title or performer; false for any other line.
bool readNameLine(const char* text, const SheetLine& line, Span* title, Span* performer) {
  size_t at = 0;
  if (lineKeyword(text, line, "TITLE", &at)) {
    *title = valueAt(text, line, at);
    return true;
  }
  if (lineKeyword(text, line, "PERFORMER", &at)) {
    *performer = valueAt(text, line, at);
    return true;
  }
  return false;
}

int blockOf(const TrackScan& scan) { return scan.fileLines > 0 ? scan.fileLines - 1 : 0; }

// Takes a valid INDEX line of the track that stands at line; previousIsPregap: the line before
// it is an INDEX 00 00:00:00 line, previous.
void takeIndex(const SheetLine& line, const IndexLine& index, const TrackScan& scan, bool previousIsPregap,
               const SheetLine& previous, TrackFacts* track) {
  if (!track->hasFirstIndex) {
    track->hasFirstIndex = true;
    track->firstIndex = index.frames;
    track->firstIndexNumber = index.number;
    track->firstIndexLine = line;
  }
  if (index.number != 1) return;
  track->hasIndex01 = true;
  track->index01 = index.frames;
  track->index01Line = line;
  track->index01TimeAt = index.timeAt;
  track->index01TimeLength = index.timeLength;
  track->block = blockOf(scan);
  track->ownPregap = previousIsPregap;
  if (previousIsPregap) track->pregapLine = previous;
}

}  // namespace

size_t listFileBlocks(const char* text, size_t length, FileBlock* blocks, size_t blocksMax) {
  size_t count = 0;
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    FileBlock block = {line.start, 0, 0};
    if (!readFileLine(text, line, &block.nameAt, &block.nameLength)) continue;
    if (blocks && count < blocksMax) blocks[count] = block;
    ++count;
  }
  return count;
}

BlockBounds blockAt(const char* text, size_t length, size_t at) {
  BlockBounds block = {0, length, 0, 0};
  SheetLine line;
  for (size_t from = 0; readLine(text, length, from, &line); from = line.next) {
    size_t nameAt = 0, nameLength = 0;
    if (!readFileLine(text, line, &nameAt, &nameLength)) continue;
    if (line.start > at) {
      block.end = line.start;
      break;
    }
    block.start = line.start;
    block.nameAt = nameAt;
    block.nameLength = nameLength;
  }
  return block;
}

int countTracks(const char* text, size_t length, bool* empty) {
  int tracks = 0;
  bool blank = true;
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    if (readTrackLine(text, line, nullptr, nullptr, nullptr)) ++tracks;
    for (size_t i = line.start; i < line.end && blank; ++i) blank = isBlankOrBreak(text[i]);
  }
  if (empty) *empty = blank;
  return tracks;
}

int firstTrackNumber(const char* text, size_t length) {
  TrackScan scan = {0, 0};
  TrackFacts track;
  if (!nextTrack(text, length, &scan, &track) || track.number < 1 || track.number > kTrackNumberMost) return 1;
  return (int)track.number;
}

bool nextTrack(const char* text, size_t length, TrackScan* scan, TrackFacts* track) {
  SheetLine line;
  size_t numberAt = 0, numberLength = 0;
  long long number = 0;
  size_t at = scan->at;
  for (; readLine(text, length, at, &line); at = line.next) {
    if (readTrackLine(text, line, &numberAt, &numberLength, &number)) break;
    if (isFileLine(text, line)) ++scan->fileLines;
  }
  if (at >= length) {
    scan->at = length;
    return false;
  }
  *track = TrackFacts();
  track->trackLine = line.start;
  track->numberAt = numberAt;
  track->numberLength = numberLength;
  track->number = number;
  track->trackBlock = track->block = blockOf(*scan);
  SheetLine previous = line;
  bool previousIsPregap = false;
  bool sawIndex00 = false;
  for (at = line.next; readLine(text, length, at, &line); at = line.next) {
    if (readTrackLine(text, line, nullptr, nullptr, nullptr)) break;
    if (isFileLine(text, line)) ++scan->fileLines;
    bool isPregap = false;
    IndexLine index;
    if (!readNameLine(text, line, &track->title, &track->performer) && readIndexLine(text, line, &index)) {
      if (index.timeValid) takeIndex(line, index, *scan, previousIsPregap, previous, track);
      if (index.number == 1 && index.timeValid) track->hasIndex00 = sawIndex00;
      sawIndex00 = sawIndex00 || index.number == 0;
      isPregap = isPregapLine(text, line, index);
    }
    previousIsPregap = isPregap;
    previous = line;
  }
  track->end = at < length ? at : length;
  scan->at = track->end;
  return true;
}

SheetHeader readSheetHeader(const char* text, size_t length) {
  SheetHeader header = {Span{text, 0}, Span{text, 0}};
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    if (readTrackLine(text, line, nullptr, nullptr, nullptr)) break;
    readNameLine(text, line, &header.title, &header.performer);
  }
  return header;
}

bool putPregapLine(char* out, size_t outBytes, size_t* at, const char* text, const SheetLine& index01) {
  return putBytes(out, outBytes, at, text + index01.start, firstWord(text, index01) - index01.start) &&
         putText(out, outBytes, at, kPregapLine) && putText(out, outBytes, at, kLineBreak);
}

PregapChange pregapChange(const TrackFacts& track, bool wasFirst, bool isFirst, long long index01) {
  if (isFirst && index01 > 0 && !track.hasIndex00) return kPregapAdd;
  if (track.ownPregap && wasFirst && !(isFirst && index01 > 0)) return kPregapRemove;
  return kPregapKeep;
}
