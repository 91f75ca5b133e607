// Reading the lines of a pasted track list.
#include "tracklistText.h"

#include "../base/asciiText.h"

#include "sheetLines.h"

namespace {

const unsigned kNoBreakSpace = 0xA0;
const unsigned kZeroWidthNoBreakSpace = 0xFEFF;  // a byte order mark when it leads a text
const size_t kLeadDigitsMax = 3;                 // of a track number, or a time's first field
const size_t kSideDigitsMax = 2;                 // of a track number after a vinyl side: "B12"
const char kFirstSide = 'A';                     // vinyl sides: A to H (four records)
const char kLastSide = 'H';

// Spaces, TABs, line breaks and other control characters, U+00A0 and U+FEFF.
bool isSpaceLike(unsigned c) {
  return c <= ' ' || (c >= 0x7F && c <= 0x9F) || c == kNoBreakSpace || c == kZeroWidthNoBreakSpace;
}
// Hyphen-minus, U+2010 to U+2015 (hyphens, figure dash, en and em dash, bar), minus sign, small
// and full-width hyphen-minus.
bool isDash(unsigned c) {
  return c == '-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE63 || c == 0xFF0D;
}
// Dashes, asterisks, bullets and the triangles and circles lists are drawn with.
bool isBullet(unsigned c) {
  const unsigned kBullets[] = {'*', 0xB7, 0x2022, 0x2023, 0x2043, 0x25AA, 0x25B8, 0x25BA, 0x25CF, 0x25E6};
  for (unsigned b : kBullets)
    if (c == b) return true;
  return isDash(c);
}

// The character at at (before end): its code point, and its length as the return value.
unsigned charAt(const char* text, size_t at, size_t end, size_t* length) {
  unsigned c;
  *length = utf8Decode(text, end, at, &c);
  return c;
}

bool blankAt(const char* text, size_t at, size_t end) {
  size_t n;
  return at < end && isSpaceLike(charAt(text, at, end, &n));
}

size_t skipBlanks(const char* text, size_t at, size_t end) {
  size_t n;
  while (at < end && isSpaceLike(charAt(text, at, end, &n))) at += n;
  return at;
}

// Where the text before end stops being blank at its end.
size_t trimEnd(const char* text, size_t start, size_t end) {
  size_t last = start;  // after the last character that is not blank
  for (size_t at = start, n; at < end; at += n)
    if (!isSpaceLike(charAt(text, at, end, &n))) last = at + n;
  return last;
}

size_t digitsAt(const char* text, size_t at, size_t end) {
  size_t n = 0;
  while (at + n < end && isDigit(text[at + n])) ++n;
  return n;
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

// A dash standing alone at at (the end or a blank after it): its length, 0 when there is none.
size_t loneDashAt(const char* text, size_t at, size_t end) {
  size_t n;
  bool dash = at < end && isDash(charAt(text, at, end, &n));
  return dash && (at + n == end || blankAt(text, at + n, end)) ? n : 0;
}

// Drops blanks and a dash standing alone after a leading bullet, number or time.
size_t skipSeparator(const char* text, size_t at, size_t end) {
  at = skipBlanks(text, at, end);
  return skipBlanks(text, at + loneDashAt(text, at, end), end);
}

// Where a line's separator stands in from..end (trimmed, from not blank), and its length; 0
// when there is none.
struct Separator {
  size_t at;
  size_t length;
};

Separator findSeparator(const char* text, size_t from, size_t end) {
  // A dash with a blank before it and after it.
  bool blankBefore = false;
  for (size_t p = from, n; p < end; p += n) {
    unsigned c = charAt(text, p, end, &n);
    if (blankBefore && isDash(c) && blankAt(text, p + n, end)) return Separator{p, n};
    blankBefore = isSpaceLike(c);
  }
  // A dash with a blank on one side and text on the other: "Artist -Title", "Artist- Title".
  blankBefore = false;
  for (size_t p = from, n; p < end; p += n) {
    unsigned c = charAt(text, p, end, &n);
    if (p > from && p + n < end && isDash(c) && blankBefore != blankAt(text, p + n, end)) return Separator{p, n};
    blankBefore = isSpaceLike(c);
  }
  // A TAB between two words.
  for (size_t p = from + 1; p < end; ++p)
    if (text[p] == '\t') return Separator{p, 1};
  return Separator{end, 0};
}

// A bullet followed by a blank at at: its length, 0 when there is none.
size_t bulletAt(const char* text, size_t at, size_t end) {
  size_t n;
  return at < end && isBullet(charAt(text, at, end, &n)) && blankAt(text, at + n, end) ? n : 0;
}

// A track number at at: its length, 0 when there is none. "01." and "1)", "A1." (a vinyl side),
// not followed by a digit; "#7"; a bare number followed by a lone dash, or with a leading zero,
// or any in a numbered list; a bare side when a separator comes later.
size_t trackNumberAt(const char* text, size_t at, size_t end, bool numberedList) {
  size_t p = at;
  bool side = p < end && text[p] >= kFirstSide && text[p] <= kLastSide;
  bool hash = p < end && text[p] == '#';
  if (side || hash) ++p;
  size_t digits = digitsAt(text, p, end);
  if (digits == 0 || digits > (side ? kSideDigitsMax : kLeadDigitsMax)) return 0;
  bool leadingZero = digits > 1 && text[p] == '0';
  p += digits;
  if (p < end && (text[p] == '.' || text[p] == ')'))
    return p + 1 < end && isDigit(text[p + 1]) ? 0 : p + 1 - at;
  if (p < end && !blankAt(text, p, end)) return 0;  // "10cc", "B2K"
  if (hash) return p - at;
  size_t rest = skipBlanks(text, p, end);
  if (side) return findSeparator(text, rest, end).length > 0 ? p - at : 0;
  return loneDashAt(text, rest, end) > 0 || leadingZero || numberedList ? p - at : 0;
}

// Copies the field from..to into out, cut to kTrackFieldChars characters and trimmed again.
void copyField(const char* text, size_t from, size_t to, char* out) {
  size_t written = 0;
  size_t chars = 0;
  for (size_t at = from, n; at < to && chars < kTrackFieldChars; at += n) {
    unsigned c = charAt(text, at, to, &n);
    written += utf8Encode(isSpaceLike(c) ? ' ' : c, out + written);
    ++chars;
  }
  while (written > 0 && out[written - 1] == ' ') --written;
  out[written] = '\0';
}

bool isBlankLine(const char* text, const SheetLine& line) {
  return skipBlanks(text, line.start, line.end) == line.end;
}

// The number a line starts with when a blank follows it; -1 when there is none.
long leadingNumber(const char* text, const SheetLine& line) {
  size_t at = skipBlanks(text, line.start, line.end);
  size_t digits = digitsAt(text, at, line.end);
  if (digits == 0 || digits > kLeadDigitsMax || !blankAt(text, at + digits, line.end)) return -1;
  long value = 0;
  for (size_t i = 0; i < digits; ++i) value = value * 10 + (text[at + i] - '0');
  return value;
}

}  // namespace

bool readTracklistLine(const char* line, size_t length, TracklistLine* out, bool numberedList) {
  out->performer[0] = '\0';
  out->title[0] = '\0';
  out->hasPerformer = false;
  if (!line) return false;
  size_t start = skipBlanks(line, 0, length);
  size_t end = trimEnd(line, start, length);
  if (start == end) return false;
  size_t at = start;
  bool number = false, time = false;
  for (int i = 0; i < 3; ++i) {
    size_t n;
    if (i == 0 && (n = bulletAt(line, at, end)) > 0) {
      // a bullet only leads the line
    } else if (!number && (n = trackNumberAt(line, at, end, numberedList)) > 0) {
      number = true;
    } else if (!time && (n = leadingTimeAt(line, at, end)) > 0) {
      time = true;
    } else {
      break;
    }
    at = skipSeparator(line, at + n, end);
  }
  if (at == end) at = start;  // "12.": nothing but a number is the title as it stands
  Separator separator = findSeparator(line, at, end);
  if (separator.length == 0) {
    copyField(line, at, end, out->title);
    return true;
  }
  copyField(line, at, trimEnd(line, at, separator.at), out->performer);
  copyField(line, skipBlanks(line, separator.at + separator.length, end), end, out->title);
  out->hasPerformer = true;
  return true;
}

bool isNumberedTracklist(const char* text, size_t length) {
  long previous = -1;
  SheetLine line;
  for (size_t at = 0; readLine(text, length, at, &line); at = line.next) {
    if (isBlankLine(text, line)) continue;
    long number = leadingNumber(text, line);
    if (previous >= 0 && number == previous + 1) return true;
    previous = number;
  }
  return false;
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
