// Checking a cue sheet's text against the rules that cue readers enforce, before it is saved.
#pragma once

#include <cstddef>

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

// Whether the sheet must be checked: it holds a TRACK or an INDEX line (the word in any case,
// so that a sheet written in small letters is checked and told so). text is length bytes, not
// terminated.
bool sheetNeedsCheck(const char* text, size_t length);

// Checks a sheet of length bytes (not terminated; CR LF, LF or a lone CR end a line) against
// the rules real cue readers enforce; fills result (problems 0: it keeps them all). Needs no
// memory beyond result and reads nothing past length.
void checkSheet(const char* text, size_t length, SheetCheck* result);

// The kept problems, one per line ("line N: what is wrong", CR LF between them), then
// "and N more" when more were found; cut to outBytes and always terminated.
void formatProblems(const SheetCheck& result, char* out, size_t outBytes);
