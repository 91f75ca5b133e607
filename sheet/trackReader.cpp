// Reading the sheet's tracks and its TITLE and PERFORMER in place.
#include "trackReader.h"

#include "sheetLines.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The value that starts at at on line: between the first and the last double quote (to the
// line's end, trailing blanks dropped, when no quote closes it), or the first word.
TextSpan valueAt(const char* text, const SheetLine& line, size_t at) {
  size_t end = line.end;
  if (at < end && text[at] == '"') {
    ++at;
    size_t close = end;
    while (close > at && text[close - 1] != '"') --close;
    if (close > at) {
      end = close - 1;
    } else {
      while (end > at && isBlank(text[end - 1])) --end;
    }
    return {at, end - at};
  }
  size_t word = at;
  while (word < end && !isBlank(text[word])) ++word;
  return {at, word - at};
}

// Reads a TITLE or PERFORMER line into title or performer; false for any other line.
bool readNameLine(const char* text, const SheetLine& line, TextSpan* title, TextSpan* performer) {
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

}  // namespace

SheetHeader readSheetHeader(const char* text, size_t length) {
  SheetHeader header = {};
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    if (lineKeyword(text, line, "TRACK", nullptr)) break;
    readNameLine(text, line, &header.title, &header.performer);
  }
  return header;
}

bool nextSheetTrack(const char* text, size_t length, TrackWalk* walk, SheetTrack* track) {
  SheetLine line;
  // To the next TRACK line.
  while (readLine(text, length, walk->at, &line)) {
    walk->at = line.next;
    if (lineKeyword(text, line, "FILE", nullptr)) ++walk->files;
    if (!lineKeyword(text, line, "TRACK", nullptr)) continue;
    // The block, up to the next TRACK line or the end.
    SheetTrack block = {};
    bool started = false;
    int filesAtStart = 0;
    while (readLine(text, length, walk->at, &line) && !lineKeyword(text, line, "TRACK", nullptr)) {
      walk->at = line.next;
      if (lineKeyword(text, line, "FILE", nullptr)) ++walk->files;
      if (readNameLine(text, line, &block.title, &block.performer)) continue;
      IndexLine index;
      if (!started && readIndexLine(text, line, &index) && index.number == 1 && index.timeValid) {
        started = true;
        block.start = index.frames;
        filesAtStart = walk->files;
      }
    }
    if (!started) {
      ++walk->skipped;
    } else if (filesAtStart > 1) {
      ++walk->leftOut;
    } else {
      *track = block;
      return true;
    }
  }
  return false;
}
