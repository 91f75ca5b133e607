// The words of a cue sheet line as cue readers (libcue, cuetools) read them: a quoted text or
// bare bytes up to a blank. Every user of the sheet's structure reads its values here. Pieces of
// text are spans, never terminated, and nothing reads past their end.
#pragma once

#include <cstddef>

struct Span {  // a piece of text, not terminated
  const char* at;
  size_t length;
};

struct Word {
  Span text;  // between the quotes when quoted
  bool quoted;
};

const int kWordsMax = 2;  // the most words a keyword takes before "more"

// The words after a keyword: the first ones it takes, and where any more begin.
struct Words {
  Word word[kWordsMax];
  int count;
  Span more;  // length 0 when there are no more
};

// Whether span spells name (terminated), in capitals only or, with anyCase, in any case.
bool spanEquals(Span span, const char* name, bool anyCase);

// Whether span begins with prefix (terminated), byte for byte.
bool spanStartsWith(Span span, const char* prefix);

// Index of the name among count names that span spells, or -1.
int findName(Span span, const char* const* names, int count, bool anyCase);

// Reads the next word before end and moves *at past it; false when only blanks are left. A word
// that starts with a double quote is the quoted text up to the first quote after it that no
// backslash stands before (a backslash and a quote are text: "AC\"DC" is AC\"DC), else up to
// the last quote with a backslash before it; but when no quote closes it, or the bytes up to the
// next blank run further than the quoted text ("x"y"), the word is those bytes, quotes and all.
// Any other word is the bytes up to a blank.
bool readWord(const char** at, const char* end, Word* word);

// Reads up to wanted (at most kWordsMax) words from at to end; what follows them goes to more.
void readWords(const char* at, const char* end, int wanted, Words* words);

// Whether every double quote from at to end opens a word and closes it at a blank or the end of
// the line: null when so, else the problem with the first that does not. A quote in a word after
// a quoted one reads as standing inside that quoted text: TITLE "12" Mix".
const char* quoteProblem(const char* at, const char* end);
