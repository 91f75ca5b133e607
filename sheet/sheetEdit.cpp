// Finding and moving marks, and placing entries in time order.
#include "sheetEdit.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "cueTime.h"
#include "sheetLines.h"

namespace {

const char kLineBreak[] = "\r\n";
const char kPregapLine[] = "INDEX 00 00:00:00";
const size_t kLineBreakChars = 2;
const int kTrackDigits = 2;

// One track as a scan finds it: from its TRACK line up to the next.
struct TrackFacts {
  size_t trackLine;  // where its TRACK line starts
  size_t end;        // where the next TRACK line (or the text's end) starts
  size_t numberAt;
  size_t numberLength;
  bool hasIndex01;   // an INDEX 01 line with a valid time
  long long index01;
  SheetLine index01Line;
  size_t index01TimeAt;
  size_t index01TimeLength;
  bool hasIndex00;       // any INDEX 00 line before the INDEX 01
  bool ownPregap;        // that line is "INDEX 00 00:00:00" right before the INDEX 01 line
  SheetLine pregapLine;
};

// The next track at or after position at; false when no TRACK line follows.
bool nextTrack(const char* text, size_t length, size_t at, TrackFacts* track) {
  SheetLine line;
  size_t numberAt = 0, numberLength = 0;
  long long number = 0;
  while (readLine(text, length, at, &line) &&
         !readTrackLine(text, line, &numberAt, &numberLength, &number))
    at = line.next;
  if (at >= length) return false;
  *track = TrackFacts();
  track->trackLine = line.start;
  track->numberAt = numberAt;
  track->numberLength = numberLength;
  SheetLine previous = line;
  bool previousIsPregap = false;
  for (at = line.next; readLine(text, length, at, &line); at = line.next) {
    if (readTrackLine(text, line, nullptr, nullptr, nullptr)) break;
    IndexLine index;
    if (!track->hasIndex01 && readIndexLine(text, line, &index)) {
      if (index.number == 1 && index.timeValid) {
        track->hasIndex01 = true;
        track->index01 = index.frames;
        track->index01Line = line;
        track->index01TimeAt = index.timeAt;
        track->index01TimeLength = index.timeLength;
        track->ownPregap = previousIsPregap;
        if (previousIsPregap) track->pregapLine = previous;
      } else if (index.number == 0) {
        track->hasIndex00 = true;
        previousIsPregap = index.timeValid && index.frames == 0 &&
                           line.end == firstWord(text, line) + sizeof kPregapLine - 1;
        previous = line;
        continue;
      }
    }
    previousIsPregap = false;
  }
  track->end = at < length ? at : length;
  return true;
}

bool isBlankOrBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Appends length characters of from to out at *at, within outBytes; false when they do not fit.
bool put(char* out, size_t outBytes, size_t* at, const char* from, size_t length) {
  if (*at + length + 1 > outBytes) return false;
  for (size_t i = 0; i < length; ++i) out[(*at)++] = from[i];
  out[*at] = '\0';
  return true;
}

bool putText(char* out, size_t outBytes, size_t* at, const char* text) {
  return put(out, outBytes, at, text, textLength(text, outBytes));
}

// The INDEX 00 00:00:00 line, indented like the INDEX 01 line that follows it, with its break.
bool putPregapLine(char* out, size_t outBytes, size_t* at, const char* text, const SheetLine& index01) {
  return put(out, outBytes, at, text + index01.start, firstWord(text, index01) - index01.start) &&
         putText(out, outBytes, at, kPregapLine) && putText(out, outBytes, at, kLineBreak);
}

size_t trackNumberText(int number, char* out, size_t outBytes) {
  return formatInt(out, outBytes, number, kTrackDigits);
}

TextEdit ownEdit(size_t at, size_t removeLength) {
  TextEdit edit = {};
  edit.at = at;
  edit.removeLength = removeLength;
  return edit;
}

TextEdit externalEdit(size_t at, size_t removeLength, const char* text, size_t textLength) {
  TextEdit edit = ownEdit(at, removeLength);
  edit.external = text;
  edit.externalLength = textLength;
  return edit;
}

bool sameText(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Appends the entry as placed to out at *at: its TRACK line numbered, and as the first track
// with INDEX 00 before a later INDEX 01. False when it does not fit.
bool putPlacedEntry(char* out, size_t outBytes, size_t* at, const char* entry, size_t entryLength,
                    const TrackFacts& track, int number) {
  char digits[kNumberTextBytes];
  size_t digitsLength = trackNumberText(number, digits, sizeof digits);
  bool pregap = number == 1 && track.index01 > 0 && !track.hasIndex00;
  size_t rest = pregap ? track.index01Line.start : entryLength;
  size_t afterNumber = track.numberAt + track.numberLength;
  return put(out, outBytes, at, entry, track.numberAt) &&
         put(out, outBytes, at, digits, digitsLength) &&
         put(out, outBytes, at, entry + afterNumber, rest - afterNumber) &&
         (!pregap || (putPregapLine(out, outBytes, at, entry, track.index01Line) &&
                      put(out, outBytes, at, entry + rest, entryLength - rest)));
}

// The entry as it stands, after CR LF at the sheet's end: one edit.
size_t placeAtEnd(size_t length, const char* entry, size_t entryLength, char* placed,
                  size_t placedBytes, TextEdit* edits) {
  size_t at = 0;
  putText(placed, placedBytes, &at, kLineBreak);
  put(placed, placedBytes, &at, entry, entryLength);
  edits[0] = externalEdit(length, 0, placed, at);
  return 1;
}

}  // namespace

const char* editText(const TextEdit& edit) { return edit.external ? edit.external : edit.own; }
size_t editLength(const TextEdit& edit) { return edit.external ? edit.externalLength : edit.ownLength; }

size_t mapThroughEdits(size_t position, const TextEdit* edits, size_t count) {
  long long shift = 0;
  for (size_t i = 0; i < count; ++i) {
    const TextEdit& e = edits[i];
    if (position < e.at) break;
    if (position < e.at + e.removeLength) {
      // Inside a replaced stretch: as far from its end as before, not before its start.
      size_t fromEnd = e.at + e.removeLength - position;
      size_t length = editLength(e);
      return (size_t)((long long)e.at + shift) + (fromEnd < length ? length - fromEnd : 0);
    }
    shift += (long long)editLength(e) - (long long)e.removeLength;
  }
  return (size_t)((long long)position + shift);
}

size_t editedLength(size_t length, const TextEdit* edits, size_t count) {
  for (size_t i = 0; i < count; ++i) length = length - edits[i].removeLength + editLength(edits[i]);
  return length;
}

size_t applyEdits(const char* text, size_t length, const TextEdit* edits, size_t count, char* out,
                  size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  size_t at = 0;
  size_t from = 0;
  out[0] = '\0';
  for (size_t i = 0; i < count; ++i) {
    if (!put(out, outBytes, &at, text + from, edits[i].at - from) ||
        !put(out, outBytes, &at, editText(edits[i]), editLength(edits[i])))
      return at;
    from = edits[i].at + edits[i].removeLength;
  }
  put(out, outBytes, &at, text + from, length - from);
  return at;
}

bool findMark(const char* text, size_t length, size_t caret, MarkTime* mark) {
  if (!text || !mark) return false;
  SheetLine caretLine = lineHolding(text, length, caret);
  TrackFacts track;
  if (nextTrack(text, length, 0, &track)) {
    // The track the caret stands in; a caret in the header stands in none.
    if (caretLine.start < track.trackLine) return false;
    while (caretLine.start >= track.end && track.end < length && nextTrack(text, length, track.end, &track)) {
    }
    if (!track.hasIndex01) return false;
    *mark = {track.index01TimeAt, track.index01TimeLength, track.index01};
    return true;
  }
  // No TRACK lines: the nearest INDEX line at or above the caret.
  bool found = false;
  SheetLine line;
  for (size_t at = 0; at <= caretLine.start && readLine(text, length, at, &line); at = line.next) {
    IndexLine index;
    if (readIndexLine(text, line, &index)) {
      found = index.timeValid;
      *mark = {index.timeAt, index.timeLength, index.frames};
    }
    if (line.next == at) break;
  }
  return found;
}

bool nudgeMark(const char* text, size_t length, size_t caret, long long deltaFrames,
               TextEdit* edit, long long* newFrames) {
  MarkTime mark;
  if (!findMark(text, length, caret, &mark) || !edit) return false;
  long long moved = mark.frames + deltaFrames < 0 ? 0 : mark.frames + deltaFrames;
  if (newFrames) *newFrames = moved;
  char time[32];
  size_t timeLength = formatCueTime(moved, time, sizeof time);

  // The first track keeps INDEX 00 00:00:00 exactly while its INDEX 01 is later than that.
  TrackFacts first;
  bool isFirst = nextTrack(text, length, 0, &first) && first.hasIndex01 && first.index01TimeAt == mark.timeAt;
  size_t timeEnd = mark.timeAt + mark.timeLength;
  if (isFirst && moved > 0 && !first.hasIndex00) {
    *edit = ownEdit(first.index01Line.start, timeEnd - first.index01Line.start);
    if (putPregapLine(edit->own, sizeof edit->own, &edit->ownLength, text, first.index01Line) &&
        put(edit->own, sizeof edit->own, &edit->ownLength, text + first.index01Line.start,
            mark.timeAt - first.index01Line.start) &&
        put(edit->own, sizeof edit->own, &edit->ownLength, time, timeLength))
      return true;
  } else if (isFirst && moved == 0 && first.ownPregap) {
    *edit = ownEdit(first.pregapLine.start, timeEnd - first.pregapLine.start);
    if (put(edit->own, sizeof edit->own, &edit->ownLength, text + first.index01Line.start,
            mark.timeAt - first.index01Line.start) &&
        put(edit->own, sizeof edit->own, &edit->ownLength, time, timeLength))
      return true;
  }
  // Otherwise, or when an unusual indentation does not fit: the time alone.
  *edit = ownEdit(mark.timeAt, mark.timeLength);
  put(edit->own, sizeof edit->own, &edit->ownLength, time, timeLength);
  return true;
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

size_t placementEditsMax(const char* sheet, size_t length) {
  // Per track at most a number and an INDEX 00 change; the insertion; a little slack.
  return 2 * (size_t)countTracks(sheet, length, nullptr) + 4;
}

size_t placedTextBytes(size_t headerLength, size_t entryLength) {
  return headerLength + entryLength + kEditTextBytes + 2 * kLineBreakChars + 1;
}

size_t placeEntry(const char* sheet, size_t length, const char* header, const char* entry,
                  char* placed, size_t placedBytes, TextEdit* edits, size_t editsMax,
                  EntryPlacement* placement) {
  if (!placed || placedBytes == 0 || !edits || editsMax == 0 || !placement) return 0;
  size_t entryLength = textLength(entry, placedBytes);
  *placement = {false, true, 0};
  TrackFacts entryTrack;
  bool entryOrdered = nextTrack(entry, entryLength, 0, &entryTrack) && entryTrack.hasIndex01;

  bool empty = true;
  int tracks = countTracks(sheet, length, &empty);
  if (header || empty) {  // a new sheet: the header, then the entry as the first track
    size_t at = 0;
    // Notes typed before the first entry stay in front, on lines of their own.
    if (!empty && sheet[length - 1] != '\n' && sheet[length - 1] != '\r') putText(placed, placedBytes, &at, kLineBreak);
    putText(placed, placedBytes, &at, header ? header : "");
    putText(placed, placedBytes, &at, kLineBreak);
    size_t headed = at;
    if (!entryOrdered || !putPlacedEntry(placed, placedBytes, &at, entry, entryLength, entryTrack, 1)) {
      at = headed;
      put(placed, placedBytes, &at, entry, entryLength);
    }
    edits[0] = empty ? externalEdit(0, length, placed, at) : externalEdit(length, 0, placed, at);
    *placement = {entryOrdered, !empty || length == 0, entryOrdered ? tracks + 1 : 0};
    return 1;
  }

  // The track the entry goes before, counted from 1; tracks + 1 when it goes last.
  int before = tracks + 1;
  bool ordered = entryOrdered;
  TrackFacts track;
  int ordinal = 0;
  for (size_t at = 0; ordered && nextTrack(sheet, length, at, &track); at = track.end) {
    ++ordinal;
    if (!track.hasIndex01) ordered = false;
    else if (before > tracks && track.index01 > entryTrack.index01) before = ordinal;
  }
  if (!ordered) return placeAtEnd(length, entry, entryLength, placed, placedBytes, edits);

  bool last = before > tracks;
  size_t placedLength = 0;
  if (last) putText(placed, placedBytes, &placedLength, kLineBreak);
  if (!putPlacedEntry(placed, placedBytes, &placedLength, entry, entryLength, entryTrack, before) ||
      (!last && !putText(placed, placedBytes, &placedLength, kLineBreak))) {
    // An INDEX 00 line too wide for the room kept for it: the entry goes at the end unchanged.
    return placeAtEnd(length, entry, entryLength, placed, placedBytes, edits);
  }
  size_t count = 0;
  ordinal = 0;
  for (size_t at = 0; nextTrack(sheet, length, at, &track) && count + 3 <= editsMax; at = track.end) {
    ++ordinal;
    if (ordinal == before) edits[count++] = externalEdit(track.trackLine, 0, placed, placedLength);
    int number = ordinal < before ? ordinal : ordinal + 1;
    char digits[kNumberTextBytes];
    size_t digitsLength = trackNumberText(number, digits, sizeof digits);
    if (digitsLength != track.numberLength ||
        !sameText(sheet + track.numberAt, digits, digitsLength)) {
      TextEdit edit = ownEdit(track.numberAt, track.numberLength);
      put(edit.own, sizeof edit.own, &edit.ownLength, digits, digitsLength);
      edits[count++] = edit;
    }
    bool first = number == 1;
    if (!first && ordinal == 1 && track.ownPregap) {  // no longer the first track
      edits[count++] = ownEdit(track.pregapLine.start, track.pregapLine.next - track.pregapLine.start);
    } else if (first && track.index01 > 0 && !track.hasIndex00) {
      TextEdit edit = ownEdit(track.index01Line.start, 0);
      if (putPregapLine(edit.own, sizeof edit.own, &edit.ownLength, sheet, track.index01Line))
        edits[count++] = edit;
    } else if (first && track.index01 == 0 && track.ownPregap) {
      edits[count++] = ownEdit(track.pregapLine.start, track.pregapLine.next - track.pregapLine.start);
    }
  }
  if (last && count < editsMax) edits[count++] = externalEdit(length, 0, placed, placedLength);
  *placement = {true, last && count == 1, tracks + 1};
  return count;
}
