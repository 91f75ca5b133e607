// Writing the sheet's tracks as chapters: one walk over the tracks per output, the same code
// counting the bytes and writing them.
#include "chapterExport.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "cueTime.h"
#include "sheetTracks.h"

namespace {

const size_t kUnlimited = (size_t)-1;
// Past the longest time a sheet can hold (twelve digits of minutes), short of overflow below.
const long long kSecondsPerHour = 3600;
const size_t kPieceBytes = 8;  // one written character: an escape and up to four bytes

// The text being made: counted only when out is null, else written while it fits in room, and
// then cut between whole characters.
struct Output {
  char* out;
  size_t room;    // bytes for text, the NUL not among them
  size_t length;  // bytes made so far
  bool full;      // a piece did not fit whole: nothing more is written
  int backslashEnds;  // FFmpeg values given a blank after a final backslash
};

const char* const kExtensions[kExportFormatCount] = {"chapters.txt", "ffmeta", "mkvchapters.txt",
                                                     "vtt",          "json",   "labels.txt"};

// Adds count bytes that start on a character's start and hold whole characters.
void put(Output* o, const char* bytes, size_t count) {
  if (o->full) return;
  if (o->out) {
    if (count > o->room - o->length) {
      o->full = true;
      count = utf8CutPoint(bytes, count, o->room - o->length);
    }
    for (size_t i = 0; i < count; ++i) o->out[o->length + i] = bytes[i];
  }
  o->length += count;
}

void put(Output* o, const char* text) { put(o, text, textLength(text, kUnlimited)); }

void putNumber(Output* o, long long value, int minDigits = 1) {
  char field[kNumberTextBytes];
  put(o, field, formatInt(field, sizeof field, value, minDigits));
}

long long roundedSeconds(long long frames) { return (frames * 2 + kFramesPerSecond) / (2 * kFramesPerSecond); }
long long roundedMilliseconds(long long frames) { return (frames * 80 + 3) / 6; }  // frames * 40 / 3

// "M:SS", or "H:MM:SS" when hours is set.
void putClock(Output* o, long long seconds, bool hours) {
  if (hours) {
    putNumber(o, seconds / kSecondsPerHour);
    put(o, ":");
    putNumber(o, seconds / 60 % 60, 2);
  } else {
    putNumber(o, seconds / 60);
  }
  put(o, ":");
  putNumber(o, seconds % 60, 2);
}

// "HH:MM:SS.mmm", hours at least two digits.
void putTimestamp(Output* o, long long frames) {
  long long ms = roundedMilliseconds(frames);
  putNumber(o, ms / 1000 / kSecondsPerHour, 2);
  put(o, ":");
  putNumber(o, ms / 1000 / 60 % 60, 2);
  put(o, ":");
  putNumber(o, ms / 1000 % 60, 2);
  put(o, ".");
  putNumber(o, ms % 1000, 3);
}

// Seconds with up to three decimals and no trailing zeros: 0, 65.5, 65.333.
void putShortSeconds(Output* o, long long frames) {
  long long ms = roundedMilliseconds(frames);
  putNumber(o, ms / 1000);
  long long fraction = ms % 1000;
  if (fraction == 0) return;
  int digits = 3;
  for (; fraction % 10 == 0; fraction /= 10) --digits;
  put(o, ".");
  putNumber(o, fraction, digits);
}

// Seconds with six decimals: 65.333333.
void putLongSeconds(Output* o, long long frames) {
  putNumber(o, frames / kFramesPerSecond);
  put(o, ".");
  putNumber(o, (frames % kFramesPerSecond * 80000 + 3) / 6, 6);  // microseconds, rounded
}

bool isControlOrBreak(unsigned c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

// One character of a value, as the format needs it; returns the character it stands for in the
// output (a blank for a control character in most formats).
unsigned putChar(Output* o, unsigned c, ExportFormat format) {
  char piece[kPieceBytes];
  size_t n = 0;
  if (isControlOrBreak(c) && format == kExportPodcastJson) {
    const char* hex = "0123456789abcdef";
    char escape[] = {'\\', 'u', hex[(c >> 12) & 15], hex[(c >> 8) & 15], hex[(c >> 4) & 15], hex[c & 15]};
    put(o, escape, sizeof escape);
  } else if (isControlOrBreak(c)) {
    put(o, " ");
    return ' ';
  } else if (format == kExportWebVtt && (c == '&' || c == '<' || c == '>')) {
    put(o, c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
  } else {
    if ((format == kExportFfmetadata && (c == '=' || c == ';' || c == '#' || c == '\\')) ||
        (format == kExportPodcastJson && (c == '"' || c == '\\')))
      piece[n++] = '\\';
    n += utf8Encode(c, piece + n);
    put(o, piece, n);
  }
  return c;
}

// Writes a value; returns its last character as written, 0 when it is empty.
unsigned putValue(Output* o, Span value, ExportFormat format) {
  size_t at = 0;
  unsigned last = 0;
  while (at < value.length) {
    unsigned c;
    at += utf8Decode(value.at, value.length, at, &c);
    last = putChar(o, c, format);
  }
  return last;
}

// Ends a value: FFmpeg's reader takes a line that ends in a backslash, escaped or not, as going
// on into the next line, so such a value gets a blank after it.
void endValue(Output* o, unsigned last, ExportFormat format) {
  if (format != kExportFfmetadata || last != '\\') return;
  put(o, " ");
  ++o->backslashEnds;
}

// "Performer - Title", without " - " when either is empty.
void putChapterText(Output* o, const TrackFacts& track, ExportFormat format) {
  unsigned last = putValue(o, track.performer, format);
  if (track.performer.length > 0 && track.title.length > 0) put(o, " - ");
  if (track.title.length > 0) last = putValue(o, track.title, format);
  endValue(o, last, format);
}

// The tracks one after another, each with the one that follows it: the tracks of the first FILE
// block (tracks before any FILE line count as in it) that have a valid INDEX 01.
struct ChapterWalk {
  const char* sheet;
  size_t length;
  TrackScan scan;
  int leftOut;           // tracks whose INDEX 01 stands in a later FILE block
  int skipped;           // tracks without a valid INDEX 01
  TrackFacts track;      // the current chapter
  TrackFacts following;  // the next one, when hasFollowing
  bool hasFollowing;
  int number;            // the current chapter's, from 1
};

// The next track that is a chapter; false at the end, when the walk's counts are complete.
bool nextChapterTrack(ChapterWalk* w, TrackFacts* track) {
  while (nextTrack(w->sheet, w->length, &w->scan, track)) {
    if (!track->hasIndex01) ++w->skipped;
    else if (track->block > 0) ++w->leftOut;
    else return true;
  }
  return false;
}

void startChapters(ChapterWalk* w, const char* sheet, size_t length) {
  w->sheet = sheet;
  w->length = length;
  w->scan = TrackScan{0, 0};
  w->leftOut = 0;
  w->skipped = 0;
  w->hasFollowing = nextChapterTrack(w, &w->following);
  w->number = 0;
}

bool nextChapter(ChapterWalk* w) {
  if (!w->hasFollowing) return false;
  w->track = w->following;
  w->hasFollowing = nextChapterTrack(w, &w->following);
  ++w->number;
  return true;
}

// Where the current chapter ends: the next start, else the audio's length, when later than its
// start; else a second after it.
long long chapterEnd(const ChapterWalk& w, long long lengthFrames) {
  long long start = w.track.index01;
  long long end = w.hasFollowing ? w.following.index01 : lengthFrames;
  return end > start ? end : start + kFramesPerSecond;
}

// The time the video chapter list writes for the current chapter, in seconds.
long long videoSeconds(const ChapterWalk& w) { return w.number == 1 ? 0 : roundedSeconds(w.track.index01); }

// Counts the chapters and checks the video list's rules; hours: the list needs H:MM:SS.
void survey(const char* sheet, size_t length, long long lengthFrames, ExportReport* report, bool* hours) {
  *report = ExportReport();
  *hours = false;
  ChapterWalk w;
  startChapters(&w, sheet, length);
  while (nextChapter(&w)) {
    long long seconds = videoSeconds(w);
    if (seconds >= kSecondsPerHour) *hours = true;
    if (w.number == 1) report->firstStart = w.track.index01;
    if (w.number == 1 && roundedSeconds(w.track.index01) != 0) report->videoRules |= kVideoFirstNotAtZero;
    bool lengthKnown = w.hasFollowing || lengthFrames >= 0;
    long long next = w.hasFollowing ? roundedSeconds(w.following.index01) : roundedSeconds(lengthFrames);
    if (w.hasFollowing && next <= seconds) {
      report->videoRules |= kVideoNotAscending;
      if (report->unorderedEntry == 0) report->unorderedEntry = w.number + 1;
    } else if (lengthKnown && next - seconds < kVideoEntrySecondsMin) {
      report->videoRules |= kVideoEntryTooShort;
      if (report->shortEntry == 0) report->shortEntry = w.number;
    }
  }
  report->tracks = w.number;
  if (w.number < kVideoEntriesMin) report->videoRules |= kVideoTooFewEntries;
  report->leftOut = w.leftOut;
  report->skipped = w.skipped;
}

void writeExport(Output* o, const char* sheet, size_t length, ExportFormat format, long long lengthFrames,
                 bool hours) {
  ChapterWalk w;
  startChapters(&w, sheet, length);
  if (format == kExportFfmetadata) {
    SheetHeader header = readSheetHeader(sheet, length);
    put(o, ";FFMETADATA1\n");
    const char* keys[] = {"title=", "artist="};
    Span values[] = {header.title, header.performer};
    for (int i = 0; i < 2; ++i) {
      if (values[i].length == 0) continue;
      put(o, keys[i]);
      endValue(o, putValue(o, values[i], format), format);
      put(o, "\n");
    }
  }
  if (format == kExportWebVtt) put(o, "WEBVTT\n\n");
  if (format == kExportPodcastJson) put(o, "{\"version\":\"1.2.0\",\"chapters\":[");
  while (nextChapter(&w)) {
    const TrackFacts& t = w.track;
    switch (format) {
      case kExportVideoChapters:
        putClock(o, videoSeconds(w), hours);
        if (t.performer.length + t.title.length > 0) put(o, " ");
        break;
      case kExportFfmetadata:
        put(o, "[CHAPTER]\nTIMEBASE=1/75\nSTART=");
        putNumber(o, t.index01);
        put(o, "\nEND=");
        putNumber(o, chapterEnd(w, lengthFrames));
        put(o, "\ntitle=");
        break;
      case kExportMatroska:
        put(o, "CHAPTER");
        putNumber(o, w.number, 2);
        put(o, "=");
        putTimestamp(o, t.index01);
        put(o, "\nCHAPTER");
        putNumber(o, w.number, 2);
        put(o, "NAME=");
        break;
      case kExportWebVtt:
        putTimestamp(o, t.index01);
        put(o, " --> ");
        putTimestamp(o, chapterEnd(w, lengthFrames));
        put(o, "\n");
        break;
      case kExportPodcastJson:
        put(o, w.number == 1 ? "{\"startTime\":" : ",{\"startTime\":");
        putShortSeconds(o, t.index01);
        put(o, ",\"title\":\"");
        break;
      case kExportAudacityLabels:
        putLongSeconds(o, t.index01);
        put(o, "\t");
        putLongSeconds(o, t.index01);
        put(o, "\t");
        break;
      case kExportFormatCount:
        break;
    }
    putChapterText(o, t, format);
    put(o, format == kExportPodcastJson ? "\"}" : format == kExportWebVtt ? "\n\n" : "\n");
  }
  if (format == kExportPodcastJson) put(o, "]}\n");
}

// Puts the arguments in range: no sheet reads as an empty one, a negative length as unknown (-1),
// and a length past any sheet's times as that limit. False for an unknown format.
bool takeArguments(const char** sheet, size_t* length, ExportFormat format, long long* lengthFrames) {
  if (!*sheet) *length = 0;
  if (*lengthFrames < 0) *lengthFrames = -1;
  if (*lengthFrames > kCueFramesMost) *lengthFrames = kCueFramesMost;
  return format >= 0 && format < kExportFormatCount;
}

}  // namespace

size_t exportBytes(const char* sheet, size_t length, ExportFormat format, long long lengthFrames) {
  if (!takeArguments(&sheet, &length, format, &lengthFrames)) return 0;
  ExportReport report;
  bool hours;
  survey(sheet, length, lengthFrames, &report, &hours);
  Output o = {nullptr, kUnlimited, 0, false, 0};
  writeExport(&o, sheet, length, format, lengthFrames, hours);
  return o.length;
}

size_t exportSheet(const char* sheet, size_t length, ExportFormat format, long long lengthFrames,
                   char* out, size_t outBytes, ExportReport* report) {
  bool known = takeArguments(&sheet, &length, format, &lengthFrames);
  ExportReport found;
  bool hours;
  survey(sheet, length, lengthFrames, &found, &hours);
  if (report) *report = found;
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  if (!known) return 0;
  Output o = {out, outBytes - 1, 0, false, 0};
  writeExport(&o, sheet, length, format, lengthFrames, hours);
  out[o.length] = '\0';
  if (report) report->backslashEnds = o.backslashEnds;
  return o.length;
}

const char* exportExtension(ExportFormat format) {
  return format >= 0 && format < kExportFormatCount ? kExtensions[format] : "";
}

namespace {

// The length of the ending "." + extension when path (length bytes) ends with it, letter case
// aside; 0 when it does not.
size_t endingLength(const char* path, size_t length, const char* extension) {
  size_t n = textLength(extension, kUnlimited);
  if (length < n + 1 || path[length - n - 1] != '.') return 0;
  for (size_t i = 0; i < n; ++i) {
    char c = path[length - n + i];
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    if (c != extension[i]) return 0;
  }
  return n + 1;
}

}  // namespace

bool retypeExportPath(char* path, size_t pathBytes, ExportFormat format) {
  if (!path || format < 0 || format >= kExportFormatCount) return false;
  size_t length = textLength(path, pathBytes);
  if (endingLength(path, length, kExtensions[format]) > 0) return false;
  for (const char* other : kExtensions) {
    size_t ending = endingLength(path, length, other);
    if (ending == 0) continue;
    size_t stem = length - ending;
    if (stem + 1 + textLength(kExtensions[format], kUnlimited) + 1 > pathBytes) return false;
    path[stem] = '\0';
    appendTo(path, pathBytes, ".");
    appendTo(path, pathBytes, kExtensions[format]);
    return true;
  }
  return false;
}
