// Checking a cue sheet's text, in one pass line by line, against what cue readers accept.
#include "sheetCheck.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "cueTime.h"
#include "sheetLines.h"

namespace {

const size_t kQuotedChars = 40;           // the most of the sheet's own text a problem quotes
const int kNumberTooLarge = 1000000000;   // a number that reaches it stays there
const int kTrackMax = 99;
const long long kFramesMax = 2147483647;  // readers count frames in a signed 32-bit number
const int kWordsMax = 2;                  // the most words a keyword takes before "more"
const int kProblemsMax = 2147483647;      // the count stops here

struct Span {  // a piece of text, not terminated
  const char* at;
  size_t length;
};

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

struct Word {
  Span text;    // between the quotes when quoted
  bool quoted;
};

// What is known while the lines go by.
struct CheckState {
  SheetCheck* result;
  int line;
  Span lineText;            // the current line without its blanks at either end
  bool sawFile;
  int nextFileLine;         // a FILE line for the next track (readers take one), 0 when none
  bool toldNoFile;          // "comes before any FILE line" is said once
  bool inTrack;
  int trackLine;
  int trackNumber;
  int nextTrack;            // the number the next TRACK should carry
  bool hasStart;            // the current track has its INDEX 01
  int lastIndex;            // the current track's highest index number, -1 before its first
  long long previousStart;  // the track before's INDEX 01 in frames; -1 when none since FILE
  int previousTrack;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c; }

Span spanOf(const char* text) { return Span{text, textLength(text, kProblemChars)}; }

bool equals(Span span, const char* name, bool anyCase) {
  size_t i = 0;
  for (; i < span.length && name[i]; ++i)
    if ((anyCase ? upper(span.at[i]) : span.at[i]) != name[i]) return false;
  return i == span.length && !name[i];
}

bool startsWith(Span span, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i)
    if (i >= span.length || span.at[i] != prefix[i]) return false;
  return true;
}

// Index of the name in names that span spells, or -1.
int findName(Span span, const char* const* names, int count, bool anyCase) {
  for (int i = 0; i < count; ++i)
    if (equals(span, names[i], anyCase)) return i;
  return -1;
}

// Appends count bytes of at to text (textBytes in all), control characters shown as '?'.
void appendBytes(char* text, size_t textBytes, const char* at, size_t count) {
  char piece[kProblemChars + 1];
  size_t n = 0;
  for (; n < count && n < kProblemChars; ++n) piece[n] = (unsigned char)at[n] < 0x20 ? '?' : at[n];
  piece[n] = '\0';
  appendTo(text, textBytes, piece);
}

// Counts a problem and keeps it when it is among the first kSheetProblemsKept by line: each is
// put in its place, since "has no INDEX 01" is found only after the track's later lines.
void keepProblem(SheetCheck* result, int line, const char* text) {
  int count = result->problems < kSheetProblemsKept ? result->problems : kSheetProblemsKept;
  if (result->problems < kProblemsMax) ++result->problems;
  int at = count;
  while (at > 0 && result->kept[at - 1].line > line) --at;
  if (at == kSheetProblemsKept) return;
  int last = count < kSheetProblemsKept ? count : kSheetProblemsKept - 1;
  for (int i = last; i > at; --i) {
    result->kept[i].line = result->kept[i - 1].line;
    copyText(result->kept[i].text, sizeof result->kept[i].text, result->kept[i - 1].text);
  }
  result->kept[at].line = line;
  copyText(result->kept[at].text, sizeof result->kept[at].text, text);
}

// Adds the problem "line N: " and pattern, each '@' in it replaced by the next of the spans,
// cut to kQuotedChars with "..." at the end.
void report(CheckState* s, int line, const char* pattern, Span a = Span(), Span b = Span(),
            Span c = Span(), Span d = Span()) {
  SheetCheck* result = s->result;
  if (result->problems >= kSheetProblemsKept && result->kept[kSheetProblemsKept - 1].line <= line) {
    if (result->problems < kProblemsMax) ++result->problems;  // only counted: no need to write it
    return;
  }
  char text[kProblemChars + 1];
  char number[kNumberTextBytes];
  copyText(text, sizeof text, "line ");
  formatInt(number, sizeof number, line);
  appendTo(text, sizeof text, number);
  appendTo(text, sizeof text, ": ");
  Span spans[] = {a, b, c, d};
  int next = 0;
  const char* run = pattern;
  for (const char* p = pattern;; ++p) {
    if (*p != '@' && *p) continue;
    appendBytes(text, sizeof text, run, (size_t)(p - run));
    if (!*p) break;
    Span span = next < 4 ? spans[next++] : Span();
    if (span.length <= kQuotedChars) {
      appendBytes(text, sizeof text, span.at, span.length);
    } else {
      appendBytes(text, sizeof text, span.at, kQuotedChars - 3);
      appendTo(text, sizeof text, "...");
    }
    run = p + 1;
  }
  keepProblem(result, line, text);
}

// Writes value with at least two digits into field and returns it.
Span twoDigits(char* field, size_t fieldBytes, long long value) {
  return Span{field, formatInt(field, fieldBytes, value, 2)};
}

// Reads the next word before end: a quoted text, or bytes up to a blank. The words of a line
// have passed quotesAreWhole, so no quote stands out of place.
bool readWord(const char** at, const char* end, Word* word) {
  const char* p = *at;
  while (p < end && isBlank(*p)) ++p;
  if (p == end) return false;
  const char* stop = p + 1;
  word->quoted = *p == '"';
  if (word->quoted) {
    while (stop < end && *stop != '"') ++stop;
    word->text = Span{p + 1, (size_t)(stop - p - 1)};
    *at = stop < end ? stop + 1 : end;
  } else {
    while (stop < end && !isBlank(*stop)) ++stop;
    word->text = Span{p, (size_t)(stop - p)};
    *at = stop;
  }
  return true;
}

// Whether every double quote from at to end opens a word and closes it at a blank or the end
// of the line; reports the first that does not. A quote in a word after a quoted one reads as
// standing inside that quoted text: TITLE "12" Mix".
bool quotesAreWhole(CheckState* s, const char* at, const char* end) {
  bool quotedBefore = false;
  while (at < end) {
    while (at < end && isBlank(*at)) ++at;
    if (at == end) break;
    if (*at == '"') {
      const char* close = at + 1;
      while (close < end && *close != '"') ++close;
      if (close == end) {
        report(s, s->line, "a quote is left open");
        return false;
      }
      if (close + 1 < end && !isBlank(close[1])) {
        report(s, s->line, "a double quote stands inside the quoted text");
        return false;
      }
      at = close + 1;
      quotedBefore = true;
    } else {
      for (; at < end && !isBlank(*at); ++at) {
        if (*at == '"') {
          report(s, s->line, quotedBefore ? "a double quote stands inside the quoted text"
                                          : "a double quote stands inside text that is not quoted");
          return false;
        }
      }
    }
  }
  return true;
}

// The words after a keyword: the first ones it takes, and where any more begin.
struct Words {
  Word word[kWordsMax];
  int count;
  Span more;  // length 0 when there are no more
};

void readWords(const char* at, const char* end, int wanted, Words* words) {
  words->count = 0;
  words->more = Span{end, 0};
  while (words->count < wanted && words->count < kWordsMax &&
         readWord(&at, end, &words->word[words->count]))
    ++words->count;
  while (at < end && isBlank(*at)) ++at;
  if (at < end) words->more = Span{at, (size_t)(end - at)};
}

void reportMore(CheckState* s, const Words& words) {
  if (words.more.length > 0)
    report(s, s->line, "unexpected \"@\" at the end of the line", words.more);
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
    report(s, s->line, "\"@\" has no time of the form minutes:seconds:frames", s->lineText);
  else if (read == kCueTimeSecondsTooLarge)
    report(s, s->line, "the time \"@\" has more than 59 seconds", word.text);
  else if (read == kCueTimeFramesTooLarge)
    report(s, s->line, "the time \"@\" has more than 74 frames", word.text);
  else if (frames > kFramesMax)
    report(s, s->line, "the time \"@\" is longer than cue readers can count", word.text);
  else
    return frames;
  return -1;
}

// Reports a keyword that readers take only inside a track (inside: true) or only before the
// first one.
void checkPlace(CheckState* s, Keyword keyword, bool inside) {
  if (inside && !s->inTrack)
    report(s, s->line, "@ stands before the first TRACK; it belongs inside a track",
           spanOf(kKeywords[keyword]));
  if (!inside && s->inTrack)
    report(s, s->line, "@ belongs before the first TRACK", spanOf(kKeywords[keyword]));
}

void closeTrack(CheckState* s) {
  char number[kNumberTextBytes];
  if (s->inTrack && !s->hasStart)
    report(s, s->trackLine, "TRACK @ has no INDEX 01",
           twoDigits(number, sizeof number, s->trackNumber));
}

void checkTrack(CheckState* s, const Words& words) {
  char expected[kNumberTextBytes];
  closeTrack(s);
  int number = words.count > 0 ? numberOf(words.word[0]) : -1;
  if (number < 0) {
    report(s, s->line, "\"@\" needs a number and a type, as in TRACK 01 AUDIO", s->lineText);
    number = s->nextTrack;
  } else {
    if (number > kTrackMax)
      report(s, s->line, "TRACK @ is past 99, the most a cue sheet holds", words.word[0].text);
    else if (number != s->nextTrack)
      report(s, s->line, "TRACK @ should be TRACK @", words.word[0].text,
             twoDigits(expected, sizeof expected, s->nextTrack));
    if (words.count < 2)
      report(s, s->line, "TRACK @ has no type such as AUDIO", words.word[0].text);
    else if (words.word[1].quoted || findName(words.word[1].text, kTrackTypes, countOf(kTrackTypes), false) < 0)
      report(s, s->line, "\"@\" is not a track type (AUDIO, MODE1/2352, MODE2/2352...)",
             words.word[1].text);
    else
      reportMore(s, words);
  }
  if (!s->sawFile && !s->toldNoFile) {
    report(s, s->line, "TRACK @ comes before any FILE line", twoDigits(expected, sizeof expected, number));
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

void checkIndex(CheckState* s, const Words& words) {
  char number[kNumberTextBytes], last[kNumberTextBytes], track[kNumberTextBytes], earlier[kNumberTextBytes];
  const Word& word = words.word[0];
  int index = words.count > 0 && word.text.length == 2 ? numberOf(word) : -1;
  if (index < 0) {
    report(s, s->line, "\"@\" needs a two-digit index number (00 to 99)", s->lineText);
    return;
  }
  long long frames = checkTime(s, words.count > 1 ? words.word[1] : Word{Span{nullptr, 0}, false});
  reportMore(s, words);
  checkPlace(s, kIndex, true);
  if (!s->inTrack) return;
  twoDigits(track, sizeof track, s->trackNumber);
  if (index <= s->lastIndex)
    report(s, s->line, "INDEX @ comes after INDEX @ in TRACK @; index numbers go up", word.text,
           twoDigits(last, sizeof last, s->lastIndex), spanOf(track));
  if (index > s->lastIndex) s->lastIndex = index;
  if (index != 1 || s->hasStart) return;
  s->hasStart = true;
  if (frames < 0) return;
  if (s->previousStart >= 0 && frames <= s->previousStart)
    report(s, s->line, "INDEX 01 @ of TRACK @ is not later than TRACK @'s (@)",
           words.word[1].text, spanOf(track), twoDigits(number, sizeof number, s->previousTrack),
           Span{earlier, formatCueTime(s->previousStart, earlier, sizeof earlier)});
  s->previousStart = frames;
  s->previousTrack = s->trackNumber;
}

void checkFile(CheckState* s, const Words& words) {
  // Before the first TRACK or after a track's first INDEX, a FILE line is for the next track.
  char earlier[kNumberTextBytes];
  if (s->nextFileLine > 0)
    report(s, s->line, "FILE comes again after line @ with no TRACK between them",
           Span{earlier, formatInt(earlier, sizeof earlier, s->nextFileLine)});
  else if (!s->inTrack || s->lastIndex >= 0)
    s->nextFileLine = s->line;
  if (words.count == 0)
    report(s, s->line, "FILE has no file name after it");
  else if (words.more.length > 0 && !words.word[0].quoted)
    report(s, s->line, "the file name holds blanks: put it in double quotes");
  else if (words.count < 2)
    report(s, s->line, "FILE has no type after its name (WAVE, MP3, AIFF, BINARY, MOTOROLA)");
  else if (words.word[1].quoted || findName(words.word[1].text, kFileTypes, countOf(kFileTypes), false) < 0)
    report(s, s->line, "\"@\" is not a file type (WAVE, MP3, AIFF, BINARY, MOTOROLA)",
           words.word[1].text);
  else
    reportMore(s, words);
  s->sawFile = true;
  s->previousStart = -1;  // the times of a new file start again from its beginning
}

// CATALOG, CDTEXTFILE, ISRC, PERFORMER, SONGWRITER and TITLE: one text, quoted or a word.
void checkValue(CheckState* s, Keyword keyword, const Words& words) {
  Span name = spanOf(kKeywords[keyword]);
  if (words.count == 0)
    report(s, s->line, "@ has no text after it", name);
  else if (words.more.length > 0 && !words.word[0].quoted)
    report(s, s->line, "the text after @ holds blanks: put it in double quotes", name);
  else
    reportMore(s, words);
  if (keyword == kCatalog || keyword == kCdTextFile) checkPlace(s, keyword, false);
  if (keyword == kIsrc) checkPlace(s, keyword, true);
}

void checkFlags(CheckState* s, const char* at, const char* end) {
  Word word;
  while (readWord(&at, end, &word)) {
    if (word.quoted || findName(word.text, kFlagNames, countOf(kFlagNames), false) < 0) {
      report(s, s->line, "\"@\" is not a flag (DCP, 4CH, PRE, SCMS)", word.text);
      break;
    }
  }
  checkPlace(s, kFlags, true);
}

// The REM field whose name the text from at starts with, or -1.
int remFieldAt(const char* at, const char* end) {
  for (int i = 0; i < countOf(kRemFields); ++i)
    if (startsWith(Span{at, (size_t)(end - at)}, kRemFields[i])) return i;
  return -1;
}

// A REM line is a comment, except for the fields that readers parse: REM DATE 2004.
void checkRem(CheckState* s, const char* at, const char* end) {
  Word word;
  const char* value = at;
  if (!readWord(&value, end, &word)) return;
  int field = word.quoted ? -1 : remFieldAt(word.text.at, end);
  value = field >= 0 ? word.text.at + textLength(kRemFields[field], kQuotedChars) : at;
  // Any other field name is read as one too, in a word or in quotes: REM UPDATED 2020 holds DATE.
  for (const char* from = value; from < end; ++from) {
    int other = remFieldAt(from, end);
    if (other < 0) continue;
    report(s, s->line, "cue readers see the field \"@\" in this REM comment; reword it",
           spanOf(kRemFields[other]));
    return;
  }
  if (field < 0) return;
  Words words;
  readWords(value, end, 1, &words);
  while (value < end && isBlank(*value)) ++value;
  if (words.count == 0)
    report(s, s->line, "REM @ has no value after it", spanOf(kRemFields[field]));
  else if (words.more.length > 0 && field < kRemOneValueFields)
    report(s, s->line, "REM @ takes one word or a quoted text, not \"@\"", spanOf(kRemFields[field]),
           Span{value, (size_t)(end - value)});
}

void checkLine(CheckState* s, const char* at, const char* end) {
  while (at < end && isBlank(*at)) ++at;
  while (end > at && isBlank(end[-1])) --end;
  if (at == end) return;
  s->lineText = Span{at, (size_t)(end - at)};
  const char* rest = at;
  while (rest < end && !isBlank(*rest)) ++rest;
  Span name = Span{at, (size_t)(rest - at)};
  int keyword = findName(name, kKeywords, countOf(kKeywords), false);
  if (keyword < 0) {
    int anyCase = findName(name, kKeywords, countOf(kKeywords), true);
    if (anyCase >= 0)
      report(s, s->line, "write \"@\" in capitals: @", name, spanOf(kKeywords[anyCase]));
    else
      report(s, s->line, "\"@\" is not a cue keyword (FILE, TRACK, INDEX, TITLE, REM...)", name);
    return;
  }
  if (!quotesAreWhole(s, rest, end)) return;
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
        (equals(word.text, "TRACK", true) || equals(word.text, "INDEX", true)))
      return true;
  }
  return false;
}

void checkSheet(const char* text, size_t length, SheetCheck* result) {
  if (!result) return;
  result->problems = 0;
  for (SheetProblem& problem : result->kept) {
    problem.line = 0;
    problem.text[0] = '\0';
  }
  CheckState s = {};
  s.result = result;
  s.nextTrack = 1;
  s.lastIndex = -1;
  s.previousStart = -1;
  SheetLine line;
  s.line = 1;
  for (size_t start = 0; readLine(text, length, start, &line); start = line.next, ++s.line) {
    checkLine(&s, text + line.start, text + line.end);
    if (endsInLoneCr(text, length, line))
      report(&s, s.line, "the line ends in a CR without LF, which cue readers do not see as a line end");
  }
  closeTrack(&s);
}

void formatProblems(const SheetCheck& result, char* out, size_t outBytes) {
  char number[kNumberTextBytes];
  if (!out || outBytes == 0) return;
  out[0] = '\0';
  int kept = result.problems < kSheetProblemsKept ? result.problems : kSheetProblemsKept;
  for (int i = 0; i < kept; ++i) {
    if (i > 0) appendTo(out, outBytes, "\r\n");
    appendTo(out, outBytes, result.kept[i].text);
  }
  if (result.problems > kept) {
    formatInt(number, sizeof number, result.problems - kept);
    appendTo(out, outBytes, "\r\nand ");
    appendTo(out, outBytes, number);
    appendTo(out, outBytes, " more");
  }
}
