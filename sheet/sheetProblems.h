// The sheet check's list of problems: each one written as "line N: what is wrong", the first
// kSheetProblemsKept by line kept in order, all of them counted.
#pragma once

#include <cstddef>

#include "sheetWords.h"

const int kSheetProblemsKept = 10;      // problems kept for the message; all are counted
const size_t kProblemChars = 120;       // one problem's text, "line N: ..." included
// formatProblems' whole text: every kept problem, the line breaks and "and N more".
const size_t kProblemsTextBytes = kSheetProblemsKept * (kProblemChars + 2) + 32;

struct SheetProblem {
  int line;  // counted from 1
  char text[kProblemChars + 1];
};

struct SheetCheck {
  int problems;  // all that were found
  SheetProblem kept[kSheetProblemsKept];  // the first ones in the text, in its order
};

// Empties the list.
void clearProblems(SheetCheck* result);

// Adds the problem "line N: " and pattern, each '@' in it replaced by the next of the spans
// (quoted text cut to a few dozen bytes with "..." at the end, control bytes shown as '?'); the
// whole cut to kProblemChars. Problems may come in any order of lines.
void report(SheetCheck* result, int line, const char* pattern, Span a = Span(), Span b = Span(),
            Span c = Span(), Span d = Span(), Span e = Span(), Span f = Span());

// The kept problems, one per line ("line N: what is wrong", CR LF between them), then
// "and N more" when more were found; cut to outBytes and always terminated.
void formatProblems(const SheetCheck& result, char* out, size_t outBytes);
