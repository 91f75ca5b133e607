// The rules of whole tracks and files. A CD burner (cdrdao) takes each file's audio from its
// first INDEX on: what stands before it is left out, and INDEX 00 00:00:00 before a later
// INDEX 01 keeps it, as the first track's pregap.
#include "trackCheck.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "cueTime.h"
#include "sheetTracks.h"

namespace {

const long long kCdTrackFramesMin = 4 * kFramesPerSecond;
const long long kCdFramesMost = (79 * 60 + 57) * kFramesPerSecond + 74;  // 79:57:74

// Line numbers of positions that come in order, counted from 1 as the check counts them.
struct LineCounter {
  const char* text;
  size_t length;
  size_t at;  // where line `line` starts
  int line;
};

int lineOf(LineCounter* c, size_t position) {
  SheetLine line;
  while (c->at < position && readLine(c->text, c->length, c->at, &line) && line.next <= position) {
    c->at = line.next;
    ++c->line;
  }
  return c->line;
}

// A time written as m:ss:ff into field.
Span timeText(char* field, size_t fieldBytes, long long frames) {
  return Span{field, formatCueTime(frames, field, fieldBytes)};
}

Span numberText(char* field, size_t fieldBytes, long long number) {
  return Span{field, formatInt(field, fieldBytes, number, 2)};
}

// A FILE block's recording length, -1 when not known.
long long blockFrames(const CdFacts& cd, int block) {
  return block >= 0 && (unsigned)block < cd.fileCount ? cd.files[block].frames : -1;
}

// What the CD rules keep while the tracks go by.
struct CdState {
  const CdFacts* cd;
  SheetCheck* result;
  bool pending;          // a track with INDEX 01 whose length is not told yet
  TrackFacts previous;   // that track, and its TRACK line's number
  int previousLine;
  int block;             // the FILE block of the tracks so far, -1 before the first
  long long blockStart;  // where its audio starts for the burner, and its last INDEX 01
  long long blockLast;
  long long disc;        // the blocks before it, in frames
  bool discKnown;        // every one of them with its length known
};

// The pending track lasts to end (-1: not known): reports it when shorter than 4 seconds.
void tellLength(CdState* s, long long end) {
  if (!s->pending) return;
  s->pending = false;
  long long frames = end - s->previous.index01;
  if (end < 0 || frames <= 0 || frames >= kCdTrackFramesMin) return;
  char number[kNumberTextBytes], time[kNumberTextBytes];
  report(s->result, s->previousLine, "TRACK @ lasts @, shorter than the 4 seconds a CD track needs",
         numberText(number, sizeof number, s->previous.number), timeText(time, sizeof time, frames));
}

// The current block's audio is added to the disc's.
void closeBlock(CdState* s) {
  if (s->block < 0) return;
  long long frames = blockFrames(*s->cd, s->block);
  tellLength(s, frames);
  if (frames < 0) s->discKnown = false;
  long long end = frames >= 0 ? frames : s->blockLast;
  if (end > s->blockStart) s->disc += end - s->blockStart;
}

// A track with INDEX 01 of the CD: the one before it ends where it starts, in the same block;
// the first of a block tells the audio a burner leaves out before it.
void takeCdTrack(CdState* s, LineCounter* lines, const TrackFacts& track, int trackLine) {
  if (track.block != s->block) {
    closeBlock(s);
    s->block = track.block;
    bool ownFile = track.trackBlock == track.block && track.hasFirstIndex;
    s->blockStart = ownFile ? track.firstIndex : track.index01;
    s->blockLast = track.index01;
    if (s->blockStart > 0) {
      char time[kNumberTextBytes];
      int line = lineOf(lines, ownFile ? track.firstIndexLine.start : track.index01Line.start);
      report(s->result, line, "a CD burner leaves out the @ of the file before this INDEX: start with INDEX 00 00:00:00",
             timeText(time, sizeof time, s->blockStart));
    }
  }
  tellLength(s, track.index01);
  if (track.index01 > s->blockLast) s->blockLast = track.index01;
  s->pending = true;
  s->previous = track;
  s->previousLine = trackLine;
}

void tellDiscLength(CdState* s, int lastTrackLine) {
  closeBlock(s);
  if (s->disc <= kCdFramesMost) return;
  char time[kNumberTextBytes];
  report(s->result, lastTrackLine,
         s->discKnown ? "the disc lasts @, past the 79:57:74 a CD holds"
                      : "the disc lasts at least @, past the 79:57:74 a CD holds",
         timeText(time, sizeof time, s->disc));
}

// The sheet's first track starts at the beginning of its file: readers such as metaflac refuse
// a first INDEX later than 00:00:00.
void checkFirstTrack(const TrackFacts& track, int line, SheetCheck* result) {
  if (!track.hasFirstIndex || track.firstIndex == 0) return;
  char number[kNumberTextBytes], time[kNumberTextBytes];
  report(result, line, "TRACK @ starts at @: the first track's first INDEX must be 00:00:00 (add INDEX 00 00:00:00)",
         numberText(number, sizeof number, track.number), timeText(time, sizeof time, track.firstIndex));
}

}  // namespace

void checkTracks(const char* text, size_t length, const CdFacts* cd, SheetCheck* result) {
  LineCounter lines = {text, length, 0, 1};
  CdState state = {cd, result, false, TrackFacts(), 0, -1, 0, 0, 0, true};
  TrackScan scan = {0, 0};
  TrackFacts track;
  int trackLine = 0;
  for (bool first = true; nextTrack(text, length, &scan, &track); first = false) {
    trackLine = lineOf(&lines, track.trackLine);
    if (first) checkFirstTrack(track, lineOf(&lines, track.firstIndexLine.start), result);
    if (cd && track.hasIndex01) takeCdTrack(&state, &lines, track, trackLine);
  }
  if (cd) tellDiscLength(&state, trackLine);
}
