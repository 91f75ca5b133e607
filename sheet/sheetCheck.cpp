// Checking a cue sheet's text, in one pass line by line, against what cue readers accept.
#include "sheetCheck.h"

#include "../base/asciiText.h"
#include "../base/limits.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "cueTime.h"
#include "valueCheck.h"
#include "sheetLines.h"
#include "sheetProblems.h"
#include "sheetWords.h"
#include "trackCheck.h"

namespace {

const int kNumberTooLarge = 1000000000;   // a number that reaches it stays there
const int kTrackMax = 99;
const size_t kIndexDigitsMax = 2;
const long long kFramesMax = 2147483647;  // readers count frames in a signed 32-bit number
const size_t kNameChars = 40;             // the longest name a problem quotes from this file

enum Keyword {
  kCatalog, kCdTextFile, kFile, kFlags, kIndex, kIsrc, kPerformer, kPostgap, kPregap, kRem,
  kSongwriter, kTitle, kTrack, kKeywordCount
};
const char* const kKeywords[kKeywordCount] = {
    "CATALOG", "CDTEXTFILE", "FILE", "FLAGS", "INDEX", "ISRC", "PERFORMER", "POSTGAP", "PREGAP",
    "REM", "SONGWRITER", "TITLE", "TRACK"};
const char* const kFileTypes[] = {"WAVE", "MP3", "AIFF", "BINARY", "MOTOROLA"};
// The types that cue readers agree on (libcue refuses CDG and CDI/...).
const char* const kTrackTypes[] = {"AUDIO", "MODE1/2048", "MODE1/2352", "MODE2/2336", "MODE2/2352"};
const char* const kFlagNames[] = {"DCP", "4CH", "PRE", "SCMS"};
// REM fields that readers parse wherever the name stands in a REM line, even inside a word; the
// first kRemOneValueFields take exactly one value, the others one or more.
const char* const kRemFields[] = {"DATE", "GENRE", "REPLAYGAIN_ALBUM_GAIN", "REPLAYGAIN_ALBUM_PEAK",
                                  "REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_TRACK_PEAK"};
const int kRemOneValueFields = 2;

template <size_t N>
int countOf(const char* const (&)[N]) {
  return (int)N;
}

// What is known while the lines go by.
struct CheckState {
  SheetCheck* result;
  const CdFacts* cd;        // null unless the sheet is meant for a CD
  bool toldUtf8;            // "saved as UTF-8" is said once
  unsigned fileLines;       // FILE lines so far
  int line;
  Span lineText;            // the current line without its blanks at either end
  bool sawFile;
  int nextFileLine;         // a FILE line for the next track (readers take one), 0 when none
  bool toldNoFile;          // "comes before any FILE line" is said once
  bool inTrack;
  int trackLine;
  int trackNumber;
  int nextTrack;            // the number the next TRACK should carry; 0 before the first
  bool hasStart;            // the current track has its INDEX 01
  int lastIndex;            // the current track's highest index number, -1 before its first
  long long previousTime;   // the last INDEX time in frames; -1 when none since the FILE line
  int previousIndex;        // that INDEX line's number and its track's
  int previousTrack;
};


Span spanOf(const char* text) { return Span{text, textLength(text, kNameChars)}; }

// Writes value with at least two digits into field and returns it.
Span twoDigits(char* field, size_t fieldBytes, long long value) {
  return Span{field, formatInt(field, fieldBytes, value, 2)};
}

void reportMore(CheckState* s, const Words& words) {
  if (words.more.length > 0)
    report(s->result, s->line, "unexpected \"@\" at the end of the line", words.more);
}

// A number of digits only (kNumberTooLarge for any larger), or -1.
int numberOf(const Word& word) {
  if (word.quoted || word.text.length == 0) return -1;
  int value = 0;
  for (size_t i = 0; i < word.text.length; ++i) {
    if (!isDigit(word.text.at[i])) return -1;
    value = value >= kNumberTooLarge / 10 ? kNumberTooLarge : value * 10 + (word.text.at[i] - '0');
  }
  return value;
}

// The time in frames, or -1 after the problem with it is reported (word absent: length 0).
long long checkTime(CheckState* s, const Word& word) {
  long long frames = 0;
  CueTimeResult read = word.quoted ? kCueTimeMalformed
                                   : parseCueTime(word.text.at, word.text.length, &frames);
  if (read == kCueTimeMalformed)
    report(s->result, s->line, "\"@\" has no time of the form minutes:seconds:frames", s->lineText);
  else if (read == kCueTimeSecondsTooLarge)
    report(s->result, s->line, "the time \"@\" has more than 59 seconds", word.text);
  else if (read == kCueTimeFramesTooLarge)
    report(s->result, s->line, "the time \"@\" has more than 74 frames", word.text);
  else if (frames > kFramesMax)
    report(s->result, s->line, "the time \"@\" is longer than cue readers can count", word.text);
  else
    return frames;
  return -1;
}

// Reports a keyword that readers take only inside a track (inside: true) or only before the
// first one.
void checkPlace(CheckState* s, Keyword keyword, bool inside) {
  if (inside && !s->inTrack)
    report(s->result, s->line, "@ stands before the first TRACK; it belongs inside a track",
           spanOf(kKeywords[keyword]));
  if (!inside && s->inTrack)
    report(s->result, s->line, "@ belongs before the first TRACK", spanOf(kKeywords[keyword]));
}

void closeTrack(CheckState* s) {
  char number[kNumberTextBytes];
  if (s->inTrack && !s->hasStart)
    report(s->result, s->trackLine, "TRACK @ has no INDEX 01",
           twoDigits(number, sizeof number, s->trackNumber));
}

// The first track may carry any number from 1 (a sheet of a later disc starts at TRACK 05);
// the others go on from it one by one.
void checkTrack(CheckState* s, const Words& words) {
  char expected[kNumberTextBytes];
  closeTrack(s);
  int wanted = s->nextTrack > 0 ? s->nextTrack : 1;
  int number = words.count > 0 ? numberOf(words.word[0]) : -1;
  if (number < 0) {
    report(s->result, s->line, "\"@\" needs a number and a type, as in TRACK 01 AUDIO", s->lineText);
    number = wanted;
  } else {
    if (number > kTrackMax)
      report(s->result, s->line, "TRACK @ is past 99, the most a cue sheet holds", words.word[0].text);
    else if (s->nextTrack > 0 ? number != wanted : number == 0)
      report(s->result, s->line, "TRACK @ should be TRACK @", words.word[0].text,
             twoDigits(expected, sizeof expected, wanted));
    if (words.count < 2)
      report(s->result, s->line, "TRACK @ has no type such as AUDIO", words.word[0].text);
    else if (words.word[1].quoted || findName(words.word[1].text, kTrackTypes, countOf(kTrackTypes), false) < 0)
      report(s->result, s->line, "\"@\" is not a track type (AUDIO, MODE1/2352, MODE2/2352...)",
             words.word[1].text);
    else
      reportMore(s, words);
  }
  if (!s->sawFile && !s->toldNoFile) {
    report(s->result, s->line, "TRACK @ comes before any FILE line", twoDigits(expected, sizeof expected, number));
    s->toldNoFile = true;
  }
  s->inTrack = true;
  s->nextFileLine = 0;
  s->trackLine = s->line;
  s->trackNumber = number;
  s->nextTrack = number + 1;
  s->hasStart = false;
  s->lastIndex = -1;
}

// Index numbers of one or two digits go up within a track; every INDEX time is later than the
// one before it in the same file, whichever tracks and numbers they have.
void checkIndex(CheckState* s, const Words& words) {
  char number[kNumberTextBytes], last[kNumberTextBytes], track[kNumberTextBytes],
      earlierTrack[kNumberTextBytes], earlier[kNumberTextBytes];
  const Word& word = words.word[0];
  int index = words.count > 0 && word.text.length <= kIndexDigitsMax ? numberOf(word) : -1;
  if (index < 0) {
    report(s->result, s->line, "\"@\" needs an index number (00 to 99)", s->lineText);
    return;
  }
  long long frames = checkTime(s, words.count > 1 ? words.word[1] : Word{Span{nullptr, 0}, false});
  reportMore(s, words);
  checkPlace(s, kIndex, true);
  if (!s->inTrack) return;
  twoDigits(track, sizeof track, s->trackNumber);
  twoDigits(number, sizeof number, index);
  if (index <= s->lastIndex)
    report(s->result, s->line, "INDEX @ comes after INDEX @ in TRACK @; index numbers go up",
           spanOf(number), twoDigits(last, sizeof last, s->lastIndex), spanOf(track));
  if (index > s->lastIndex) s->lastIndex = index;
  if (index == 1) s->hasStart = true;
  if (frames < 0) return;
  if (s->previousTime >= 0 && frames <= s->previousTime)
    report(s->result, s->line, "INDEX @ @ of TRACK @ is not later than INDEX @ @ of TRACK @",
           spanOf(number), words.word[1].text, spanOf(track),
           twoDigits(last, sizeof last, s->previousIndex),
           Span{earlier, formatCueTime(s->previousTime, earlier, sizeof earlier)},
           twoDigits(earlierTrack, sizeof earlierTrack, s->previousTrack));
  s->previousTime = frames;
  s->previousIndex = index;
  s->previousTrack = s->trackNumber;
}

void checkFile(CheckState* s, const Words& words) {
  // Before the first TRACK or after a track's first INDEX, a FILE line is for the next track.
  char earlier[kNumberTextBytes];
  if (s->nextFileLine > 0)
    report(s->result, s->line, "FILE comes again after line @ with no TRACK between them",
           Span{earlier, formatInt(earlier, sizeof earlier, s->nextFileLine)});
  else if (!s->inTrack || s->lastIndex >= 0)
    s->nextFileLine = s->line;
  if (words.count == 0)
    report(s->result, s->line, "FILE has no file name after it");
  else if (words.more.length > 0 && !words.word[0].quoted)
    report(s->result, s->line, "the file name holds blanks: put it in double quotes");
  else if (words.count < 2)
    report(s->result, s->line, "FILE has no type after its name (WAVE, MP3, AIFF, BINARY, MOTOROLA)");
  else if (words.word[1].quoted || findName(words.word[1].text, kFileTypes, countOf(kFileTypes), false) < 0)
    report(s->result, s->line, "\"@\" is not a file type (WAVE, MP3, AIFF, BINARY, MOTOROLA)",
           words.word[1].text);
  else
    reportMore(s, words);
  if (s->cd && words.count == 2) {
    const AudioFacts* facts = s->fileLines < s->cd->fileCount ? &s->cd->files[s->fileLines] : nullptr;
    checkCdAudio(s->result, s->line, words.word[0].text, words.word[1].text, facts);
  }
  ++s->fileLines;
  s->sawFile = true;
  s->previousTime = -1;  // the times of a new file start again from its beginning
}

// CATALOG, CDTEXTFILE, ISRC, PERFORMER, SONGWRITER and TITLE: one text, quoted or a word.
void checkValue(CheckState* s, Keyword keyword, const Words& words) {
  Span name = spanOf(kKeywords[keyword]);
  if (words.count == 0)
    report(s->result, s->line, "@ has no text after it", name);
  else if (words.more.length > 0 && !words.word[0].quoted)
    report(s->result, s->line, "the text after @ holds blanks: put it in double quotes", name);
  else
    reportMore(s, words);
  if (keyword == kCatalog || keyword == kCdTextFile) checkPlace(s, keyword, false);
  if (keyword == kIsrc) checkPlace(s, keyword, true);
  if (words.count == 0) return;
  if (keyword == kIsrc) checkIsrc(s->result, s->line, words.word[0].text);
  if (keyword == kCatalog) checkCatalog(s->result, s->line, words.word[0].text);
  if (s->cd && (keyword == kTitle || keyword == kPerformer || keyword == kSongwriter))
    checkCdText(s->result, s->line, name, words.word[0].text);
}

void checkFlags(CheckState* s, const char* at, const char* end) {
  Word word;
  while (readWord(&at, end, &word)) {
    if (word.quoted || findName(word.text, kFlagNames, countOf(kFlagNames), false) < 0) {
      report(s->result, s->line, "\"@\" is not a flag (DCP, 4CH, PRE, SCMS)", word.text);
      break;
    }
  }
  checkPlace(s, kFlags, true);
}

// The REM field whose name the text from at starts with, or -1.
int remFieldAt(const char* at, const char* end) {
  for (int i = 0; i < countOf(kRemFields); ++i)
    if (spanStartsWith(Span{at, (size_t)(end - at)}, kRemFields[i])) return i;
  return -1;
}

// A REM line is a comment, except for the fields that readers parse: REM DATE 2004.
void checkRem(CheckState* s, const char* at, const char* end) {
  Word word;
  const char* value = at;
  if (!readWord(&value, end, &word)) return;
  int field = word.quoted ? -1 : remFieldAt(word.text.at, end);
  value = field >= 0 ? word.text.at + textLength(kRemFields[field], kNameChars) : at;
  // Any other field name is read as one too, in a word or in quotes: REM UPDATED 2020 holds DATE.
  for (const char* from = value; from < end; ++from) {
    int other = remFieldAt(from, end);
    if (other < 0) continue;
    report(s->result, s->line, "cue readers see the field \"@\" in this REM comment; reword it",
           spanOf(kRemFields[other]));
    return;
  }
  if (field < 0) return;
  Words words;
  readWords(value, end, 1, &words);
  while (value < end && isBlank(*value)) ++value;
  if (words.count == 0)
    report(s->result, s->line, "REM @ has no value after it", spanOf(kRemFields[field]));
  else if (words.more.length > 0 && field < kRemOneValueFields)
    report(s->result, s->line, "REM @ takes one word or a quoted text, not \"@\"",
           spanOf(kRemFields[field]), Span{value, (size_t)(end - value)});
}

void checkLine(CheckState* s, const char* at, const char* end) {
  while (at < end && isBlank(*at)) ++at;
  while (end > at && isBlank(end[-1])) --end;
  if (at == end) return;
  if (s->cd && s->cd->utf8Text && !s->toldUtf8 && !isAscii(at, (size_t)(end - at))) {
    report(s->result, s->line, "the sheet is saved as UTF-8, which burners read as Latin-1: choose ANSI text");
    s->toldUtf8 = true;
  }
  s->lineText = Span{at, (size_t)(end - at)};
  const char* rest = at;
  while (rest < end && !isBlank(*rest)) ++rest;
  Span name = Span{at, (size_t)(rest - at)};
  int keyword = findName(name, kKeywords, countOf(kKeywords), false);
  if (keyword < 0) {
    int anyCase = findName(name, kKeywords, countOf(kKeywords), true);
    if (anyCase >= 0)
      report(s->result, s->line, "write \"@\" in capitals: @", name, spanOf(kKeywords[anyCase]));
    else
      report(s->result, s->line, "\"@\" is no cue keyword and readers drop the sheet: use a REM line",
             name);
    return;
  }
  if (const char* problem = quoteProblem(rest, end)) {
    report(s->result, s->line, problem);
    return;
  }
  Words words;
  readWords(rest, end, keyword == kTrack || keyword == kIndex || keyword == kFile ? 2 : 1, &words);
  switch (keyword) {
    case kTrack: checkTrack(s, words); break;
    case kIndex: checkIndex(s, words); break;
    case kFile: checkFile(s, words); break;
    case kFlags: checkFlags(s, rest, end); break;
    case kRem: checkRem(s, rest, end); break;
    case kPregap:
    case kPostgap:
      checkTime(s, words.count > 0 ? words.word[0] : Word{Span{nullptr, 0}, false});
      reportMore(s, words);
      checkPlace(s, (Keyword)keyword, true);
      break;
    default: checkValue(s, (Keyword)keyword, words); break;
  }
}

// Whether the line ends in a CR that more text follows on the same line for readers: neither
// LF nor another CR comes next.
bool endsInLoneCr(const char* text, size_t length, const SheetLine& line) {
  return line.end < length && text[line.end] == '\r' && line.next == line.end + 1 &&
         line.next < length && text[line.next] != '\r';
}

}  // namespace

bool sheetNeedsCheck(const char* text, size_t length) {
  SheetLine line;
  for (size_t start = 0; readLine(text, length, start, &line); start = line.next) {
    const char* at = text + line.start;
    const char* end = text + line.end;
    Word word;
    if (readWord(&at, end, &word) && !word.quoted &&
        (spanEquals(word.text, "TRACK", true) || spanEquals(word.text, "INDEX", true)))
      return true;
  }
  return false;
}

void checkSheet(const char* text, size_t length, SheetCheck* result, const CdFacts* cd) {
  if (!result) return;
  clearProblems(result);
  CheckState s = {};
  s.result = result;
  s.cd = cd;
  s.lastIndex = -1;
  s.previousTime = -1;
  SheetLine line;
  s.line = 1;
  for (size_t start = 0; readLine(text, length, start, &line); start = line.next, ++s.line) {
    checkLine(&s, text + line.start, text + line.end);
    if (endsInLoneCr(text, length, line))
      report(result, s.line, "the line ends in a CR without LF, which cue readers do not see as a line end");
  }
  closeTrack(&s);
  checkTracks(text, length, cd, result);
}
