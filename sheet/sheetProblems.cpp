// The problems the sheet check finds: kept in line order, counted past the kept ones, formatted.
#include "sheetProblems.h"

#include "../base/limits.h"
#include "../base/text.h"

namespace {

const size_t kQuotedChars = 40;       // the most of the sheet's own text a problem quotes
const int kProblemsMax = 2147483647;  // the count stops here
const int kSpansMax = 6;

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

}  // namespace

void clearProblems(SheetCheck* result) {
  result->problems = 0;
  for (SheetProblem& problem : result->kept) {
    problem.line = 0;
    problem.text[0] = '\0';
  }
}

void report(SheetCheck* result, int line, const char* pattern, Span a, Span b, Span c, Span d,
            Span e, Span f) {
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
  const Span spans[kSpansMax] = {a, b, c, d, e, f};
  int next = 0;
  const char* run = pattern;
  for (const char* p = pattern;; ++p) {
    if (*p != '@' && *p) continue;
    appendBytes(text, sizeof text, run, (size_t)(p - run));
    if (!*p) break;
    Span span = next < kSpansMax ? spans[next++] : Span();
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
