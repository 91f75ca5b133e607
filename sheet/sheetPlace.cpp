// Placing an entry in time order within a FILE block, and numbering the tracks around it.
#include "sheetPlace.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "sheetTracks.h"

namespace {

const char kLineBreak[] = "\r\n";
const size_t kLineBreakChars = 2;
const int kTrackDigits = 2;
const size_t kPlacementEditsMost = 3;  // edits for one track: the entry before it, its number, INDEX 00

// Where the entry goes, found from the sheet's tracks.
struct Place {
  bool ordered;     // every track has a valid INDEX 01 in the FILE block of its TRACK line
  int tracks;       // in the sheet
  int ordinal;      // the entry's place among the tracks, from 1
  int firstNumber;  // the number the first track keeps (a later disc's sheet starts at TRACK 05)
  size_t at;        // where it is put
  bool atSheetEnd;  // at the end, after a line break (else before the line at `at`)
};

size_t trackNumberText(int number, char* out, size_t outBytes) {
  return formatInt(out, outBytes, number, kTrackDigits);
}

bool sameText(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Appends the entry as placed to out at *at: its TRACK line numbered, and as the first track
// (isFirst) with INDEX 00 before a later INDEX 01. False when it does not fit.
bool putPlacedEntry(char* out, size_t outBytes, size_t* at, const char* entry, size_t entryLength,
                    const TrackFacts& track, int number, bool isFirst) {
  char digits[kNumberTextBytes];
  size_t digitsLength = trackNumberText(number, digits, sizeof digits);
  bool pregap = pregapChange(track, false, isFirst, track.index01) == kPregapAdd;
  size_t rest = pregap ? track.index01Line.start : entryLength;
  size_t afterNumber = track.numberAt + track.numberLength;
  return putBytes(out, outBytes, at, entry, track.numberAt) &&
         putBytes(out, outBytes, at, digits, digitsLength) &&
         putBytes(out, outBytes, at, entry + afterNumber, rest - afterNumber) &&
         (!pregap || (putPregapLine(out, outBytes, at, entry, track.index01Line) &&
                      putBytes(out, outBytes, at, entry + rest, entryLength - rest)));
}

// Whether the text ends with a line break (an opened file's text does).
bool endsWithBreak(const char* text, size_t length) {
  return length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r');
}

// The entry as it stands, one edit: at the end of the target's FILE block, before the line at
// `end` with a line break after it; at the sheet's end (end == length) after a line break
// (unless the sheet ends with one) and the new FILE line when there is one.
size_t placeAsItStands(const char* sheet, size_t length, size_t end, const char* entry, size_t entryLength,
                       const char* fileLine, char* placed, size_t placedBytes, TextEdit* edits,
                       EntryPlacement* placement) {
  size_t at = 0;
  if (end == length && !endsWithBreak(sheet, length)) putText(placed, placedBytes, &at, kLineBreak);
  if (fileLine) {
    putText(placed, placedBytes, &at, fileLine);
    putText(placed, placedBytes, &at, kLineBreak);
  }
  putBytes(placed, placedBytes, &at, entry, entryLength);
  if (end < length) putText(placed, placedBytes, &at, kLineBreak);
  edits[0] = externalEdit(end, 0, placed, at);
  *placement = {false, end == length, 0, 0};
  return 1;
}

// A new sheet: the header, then the entry as the first track, after notes typed before it on
// lines of their own; a sheet of blanks only is replaced. One edit.
size_t placeNewSheet(const char* sheet, size_t length, bool empty, int tracks, const char* header,
                     const char* entry, size_t entryLength, char* placed, size_t placedBytes,
                     TextEdit* edits, EntryPlacement* placement) {
  TrackFacts entryTrack;
  TrackScan scan = {0, 0};
  bool entryOrdered = nextTrack(entry, entryLength, &scan, &entryTrack) && entryTrack.hasIndex01;
  size_t at = 0;
  if (!empty && !endsWithBreak(sheet, length)) putText(placed, placedBytes, &at, kLineBreak);
  if (header && header[0]) {  // a sheet opened from a file has its own header
    putText(placed, placedBytes, &at, header);
    putText(placed, placedBytes, &at, kLineBreak);
  }
  size_t headed = at;
  if (!entryOrdered || !putPlacedEntry(placed, placedBytes, &at, entry, entryLength, entryTrack, 1, true)) {
    at = headed;
    putBytes(placed, placedBytes, &at, entry, entryLength);
  }
  edits[0] = empty ? externalEdit(0, length, placed, at) : externalEdit(length, 0, placed, at);
  *placement = {entryOrdered, !empty || length == 0, entryOrdered ? tracks + 1 : 0, entryOrdered ? tracks + 2 : 0};
  return 1;
}

// Where the FILE line of block index starts; the text's length when there is none.
size_t fileLineStart(const char* text, size_t length, size_t index) {
  SheetLine line;
  size_t seen = 0;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next)
    if (lineKeyword(text, line, "FILE", nullptr) && seen++ == index) return line.start;
  return length;
}

// The target's FILE block: -1 for a new one, the last for any past it.
int targetBlock(const char* sheet, size_t length, const EntryTarget& target) {
  int blocks = (int)listFileBlocks(sheet, length, nullptr, 0);
  int last = blocks > 0 ? blocks - 1 : 0;
  return target.fileBlock < 0 ? -1 : target.fileBlock > last ? last : target.fileBlock;
}

// Where the lines of FILE block `block` end: at the next FILE line, or before it at the TRACK line
// of a track whose INDEX 01 stands past that FILE line; the text's length for the last block.
size_t blockEnd(const char* sheet, size_t length, int block) {
  size_t end = fileLineStart(sheet, length, (size_t)block + 1);
  TrackScan scan = {0, 0};
  TrackFacts track;
  while (nextTrack(sheet, length, &scan, &track) && track.trackLine < end)
    if (track.trackBlock <= block && track.block > block) return track.trackLine;
  return end;
}

// Where an entry starting at entryTime goes for the target: before the target block's first
// track that starts later, else at that block's end; for a new block, at the sheet's end.
Place findPlace(const char* sheet, size_t length, long long entryTime, const EntryTarget& target) {
  Place place = {true, 0, 0, firstTrackNumber(sheet, length), length, true};
  int block = targetBlock(sheet, length, target);
  int upToBlock = 0;  // tracks in the target block and before it
  bool found = false;
  TrackScan scan = {0, 0};
  TrackFacts track;
  while (nextTrack(sheet, length, &scan, &track)) {
    ++place.tracks;
    if (!track.hasIndex01 || track.block != track.trackBlock) place.ordered = false;
    if (found || track.block > block) continue;
    if (track.block == block && track.index01 > entryTime) {
      found = true;
      place.ordinal = place.tracks;
      place.at = track.trackLine;
      place.atSheetEnd = false;
    } else {
      ++upToBlock;
    }
  }
  if (!found) {
    place.ordinal = block < 0 ? place.tracks + 1 : upToBlock + 1;
    place.at = block >= 0 ? blockEnd(sheet, length, block) : length;
    place.atSheetEnd = place.at == length;
  }
  return place;
}

// The edits of one track of the sheet, which was the first (wasFirst) and is now (isFirst): its
// number, and INDEX 00 00:00:00 added or removed by whether it is the first track now.
size_t trackEdits(const char* sheet, const TrackFacts& track, bool wasFirst, bool isFirst, int number,
                  TextEdit* edits) {
  size_t count = 0;
  char digits[kNumberTextBytes];
  size_t digitsLength = trackNumberText(number, digits, sizeof digits);
  if (digitsLength != track.numberLength || !sameText(sheet + track.numberAt, digits, digitsLength)) {
    edits[count] = ownEdit(track.numberAt, track.numberLength);
    putOwn(&edits[count++], digits, digitsLength);
  }
  PregapChange pregap = pregapChange(track, wasFirst, isFirst, track.index01);
  if (pregap == kPregapRemove) {
    edits[count++] = ownEdit(track.pregapLine.start, track.pregapLine.next - track.pregapLine.start);
  } else if (pregap == kPregapAdd) {
    TextEdit edit = ownEdit(track.index01Line.start, 0);
    if (putPregapLine(edit.own, sizeof edit.own, &edit.ownLength, sheet, track.index01Line))
      edits[count++] = edit;
  }
  return count;
}

// The placed text put at the place, every track numbered around it; returns the edits' number.
size_t placeAndNumber(const char* sheet, size_t length, const Place& place, const char* placed,
                      size_t placedLength, TextEdit* edits, size_t editsMax) {
  size_t count = 0;
  bool put = false;
  int ordinal = 0;
  TrackScan scan = {0, 0};
  TrackFacts track;
  while (count + kPlacementEditsMost <= editsMax && nextTrack(sheet, length, &scan, &track)) {
    ++ordinal;
    if (!put && !place.atSheetEnd && track.trackLine >= place.at) {
      edits[count++] = externalEdit(place.at, 0, placed, placedLength);
      put = true;
    }
    int now = ordinal < place.ordinal ? ordinal : ordinal + 1;
    count += trackEdits(sheet, track, ordinal == 1, now == 1, place.firstNumber + now - 1, edits + count);
  }
  if (!put && count < editsMax) edits[count++] = externalEdit(place.at, 0, placed, placedLength);
  return count;
}

}  // namespace

size_t placementEditsMax(const char* sheet, size_t length) {
  // Per track at most a number and an INDEX 00 change; the insertion; a little slack.
  return 2 * (size_t)countTracks(sheet, length, nullptr) + 4;
}

size_t placedTextBytes(size_t headerLength, size_t entryLength, size_t fileLineLength) {
  return headerLength + entryLength + fileLineLength + kEditTextBytes + 3 * kLineBreakChars + 1;
}

size_t placeEntry(const char* sheet, size_t length, const char* header, const char* entry,
                  const EntryTarget& target, char* placed, size_t placedBytes, TextEdit* edits,
                  size_t editsMax, EntryPlacement* placement) {
  if (!placed || placedBytes == 0 || !edits || editsMax == 0 || !placement) return 0;
  size_t entryLength = textLength(entry, placedBytes);
  *placement = {false, true, 0, 0};
  bool empty = true;
  int tracks = countTracks(sheet, length, &empty);
  if (header || empty)
    return placeNewSheet(sheet, length, empty, tracks, header, entry, entryLength, placed,
                         placedBytes, edits, placement);

  const char* fileLine = target.fileBlock < 0 ? target.newFileLine : nullptr;
  TrackFacts entryTrack;
  TrackScan scan = {0, 0};
  Place place = {false, 0, 0, 1, length, true};
  if (nextTrack(entry, entryLength, &scan, &entryTrack) && entryTrack.hasIndex01)
    place = findPlace(sheet, length, entryTrack.index01, target);
  int block = targetBlock(sheet, length, target);
  size_t end = block < 0 ? length : blockEnd(sheet, length, block);
  if (!place.ordered)
    return placeAsItStands(sheet, length, end, entry, entryLength, fileLine, placed, placedBytes, edits, placement);

  size_t placedLength = 0;
  bool fits = true;
  if (place.atSheetEnd) {
    fits = endsWithBreak(sheet, length) || putText(placed, placedBytes, &placedLength, kLineBreak);
    if (fileLine)
      fits = fits && putText(placed, placedBytes, &placedLength, fileLine) &&
             putText(placed, placedBytes, &placedLength, kLineBreak);
  }
  fits = fits && putPlacedEntry(placed, placedBytes, &placedLength, entry, entryLength, entryTrack,
                                place.firstNumber + place.ordinal - 1, place.ordinal == 1) &&
         (place.atSheetEnd || putText(placed, placedBytes, &placedLength, kLineBreak));
  // An INDEX 00 line too wide for the room kept for it: the entry goes at its block's end unchanged.
  if (!fits)
    return placeAsItStands(sheet, length, end, entry, entryLength, fileLine, placed, placedBytes, edits, placement);
  size_t count = placeAndNumber(sheet, length, place, placed, placedLength, edits, editsMax);
  *placement = {true, place.atSheetEnd && count == 1, place.tracks + 1, place.firstNumber + place.tracks + 1};
  return count;
}
