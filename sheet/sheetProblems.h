// The sheet check's list of problems: each one written as "line N: what is wrong", the first
// kSheetProblemsKept by line kept in order, all of them counted.
#pragma once

#include "sheetCheck.h"
#include "sheetWords.h"

// Empties the list.
void clearProblems(SheetCheck* result);

// Adds the problem "line N: " and pattern, each '@' in it replaced by the next of the spans
// (quoted text cut to a few dozen bytes with "..." at the end, control bytes shown as '?'); the
// whole cut to kProblemChars. Problems may come in any order of lines.
void report(SheetCheck* result, int line, const char* pattern, Span a = Span(), Span b = Span(),
            Span c = Span(), Span d = Span(), Span e = Span(), Span f = Span());
