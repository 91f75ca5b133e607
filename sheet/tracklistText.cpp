// Reading the lines of a pasted track list.
#include "tracklistText.h"

#include "sheetLines.h"

namespace {

const unsigned kNoBreakSpace = 0xA0;
const unsigned kZeroWidthNoBreakSpace = 0xFEFF;  // a byte order mark when it leads a text
const size_t kLeadDigitsMax = 3;                 // of a track number, or a time's first field

// Spaces, TABs, line breaks and other control characters, U+00A0 and U+FEFF.
bool isBlank(unsigned c) {
  return c <= ' ' || (c >= 0x7F && c <= 0x9F) || c == kNoBreakSpace || c == kZeroWidthNoBreakSpace;
}
bool isDash(unsigned c) { return c == '-' || c == 0x2013 || c == 0x2014; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The character at at (before end): its code point, and its length as the return value.
unsigned charAt(const char* text, size_t at, size_t end, size_t* length) {
  unsigned c;
  *length = utf8Decode(text, end, at, &c);
  return c;
}

bool blankAt(const char* text, size_t at, size_t end) {
  size_t n;
  return at < end && isBlank(charAt(text, at, end, &n));
}

size_t skipBlanks(const char* text, size_t at, size_t end) {
  size_t n;
  while (at < end && isBlank(charAt(text, at, end, &n))) at += n;
  return at;
}

// Where the text before end stops being blank at its end.
size_t trimEnd(const char* text, size_t start, size_t end) {
  size_t last = start;  // after the last character that is not blank
  for (size_t at = start, n; at < end; at += n)
    if (!isBlank(charAt(text, at, end, &n))) last = at + n;
  return last;
}

size_t digitsAt(const char* text, size_t at, size_t end) {
  size_t n = 0;
  while (at + n < end && isDigit(text[at + n])) ++n;
  return n;
}

// A track number "01." or "1)" at at, not followed by a digit: its length, 0 when there is none.
size_t trackNumberAt(const char* text, size_t at, size_t end) {
  size_t digits = digitsAt(text, at, end);
  if (digits == 0 || digits > kLeadDigitsMax || at + digits >= end) return 0;
  char mark = text[at + digits];
  if (mark != '.' && mark != ')') return 0;
  if (at + digits + 1 < end && isDigit(text[at + digits + 1])) return 0;
  return digits + 1;
}

// A time "M:SS", "H:MM:SS" (the first field up to three digits, the others two), with an optional
// fraction ".d", at at: its length, 0 when there is none.
size_t timeAt(const char* text, size_t at, size_t end) {
  size_t p = at + digitsAt(text, at, end);
  if (p == at || p - at > kLeadDigitsMax) return 0;
  int fields = 1;
  while (fields < 3 && p + 2 < end && text[p] == ':' && digitsAt(text, p + 1, end) == 2) {
    p += 3;
    ++fields;
  }
  if (fields == 1) return 0;
  if (p + 1 < end && text[p] == '.' && isDigit(text[p + 1])) p += 1 + digitsAt(text, p + 1, end);
  return p - at;
}

// A time at at, bare and followed by a blank or the end, or in [ ] or ( ): its length, 0 when
// there is none.
size_t leadingTimeAt(const char* text, size_t at, size_t end) {
  if (at < end && (text[at] == '[' || text[at] == '(')) {
    size_t time = timeAt(text, at + 1, end);
    char close = text[at] == '[' ? ']' : ')';
    return time > 0 && at + 1 + time < end && text[at + 1 + time] == close ? time + 2 : 0;
  }
  size_t time = timeAt(text, at, end);
  return time > 0 && (at + time == end || blankAt(text, at + time, end)) ? time : 0;
}

// Drops blanks and a dash standing alone after a leading number or time.
size_t skipSeparator(const char* text, size_t at, size_t end) {
  at = skipBlanks(text, at, end);
  size_t n;
  if (at < end && isDash(charAt(text, at, end, &n)) && (at + n == end || blankAt(text, at + n, end)))
    at = skipBlanks(text, at + n, end);
  return at;
}

// Copies the field from..to into out, cut to kTrackFieldChars characters and trimmed again.
void copyField(const char* text, size_t from, size_t to, char* out) {
  size_t written = 0;
  size_t chars = 0;
  for (size_t at = from, n; at < to && chars < kTrackFieldChars; at += n) {
    unsigned c = charAt(text, at, to, &n);
    written += utf8Encode(isBlank(c) ? ' ' : c, out + written);
    ++chars;
  }
  while (written > 0 && out[written - 1] == ' ') --written;
  out[written] = '\0';
}

bool isBlankLine(const char* text, const SheetLine& line) {
  return skipBlanks(text, line.start, line.end) == line.end;
}

}  // namespace

bool readTracklistLine(const char* line, size_t length, TracklistLine* out) {
  out->performer[0] = '\0';
  out->title[0] = '\0';
  out->hasPerformer = false;
  if (!line) return false;
  size_t at = skipBlanks(line, 0, length);
  size_t end = trimEnd(line, at, length);
  if (at == end) return false;
  bool number = false, time = false;
  for (int i = 0; i < 2; ++i) {
    size_t n;
    if (!number && (n = trackNumberAt(line, at, end)) > 0) {
      number = true;
    } else if (!time && (n = leadingTimeAt(line, at, end)) > 0) {
      time = true;
    } else {
      break;
    }
    at = skipSeparator(line, at + n, end);
  }
  // The first dash with a blank before it and after it.
  bool blankBefore = false;
  for (size_t p = at, n; p < end; p += n) {
    unsigned c = charAt(line, p, end, &n);
    if (blankBefore && isDash(c) && blankAt(line, p + n, end)) {
      copyField(line, at, trimEnd(line, at, p), out->performer);
      copyField(line, skipBlanks(line, p + n, end), end, out->title);
      out->hasPerformer = true;
      return true;
    }
    blankBefore = isBlank(c);
  }
  copyField(line, at, end, out->title);
  return true;
}

bool firstTracklistLine(const char* text, size_t length, size_t* lineStart, size_t* lineEnd, size_t* nextLine) {
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    if (isBlankLine(text, line)) continue;
    *lineStart = line.start;
    *lineEnd = line.end;
    *nextLine = line.next;
    return true;
  }
  return false;
}

size_t countTracklistLines(const char* text, size_t length) {
  size_t count = 0;
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next)
    if (!isBlankLine(text, line)) ++count;
  return count;
}
