// Reading the words of a cue sheet line.
#include "sheetWords.h"

#include "../base/asciiText.h"

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c; }

// Where the quoted text that opens at quote ends: its closing quote, or end when none closes it.
const char* closingQuote(const char* quote, const char* end) {
  const char* lastEscaped = end;
  for (const char* p = quote + 1; p < end; ++p) {
    if (*p != '"') continue;
    if (p[-1] != '\\') return p;
    lastEscaped = p;
  }
  return lastEscaped;
}

}  // namespace

bool spanEquals(Span span, const char* name, bool anyCase) {
  size_t i = 0;
  for (; i < span.length && name[i]; ++i)
    if ((anyCase ? upper(span.at[i]) : span.at[i]) != name[i]) return false;
  return i == span.length && !name[i];
}

bool spanStartsWith(Span span, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i)
    if (i >= span.length || span.at[i] != prefix[i]) return false;
  return true;
}

int findName(Span span, const char* const* names, int count, bool anyCase) {
  for (int i = 0; i < count; ++i)
    if (spanEquals(span, names[i], anyCase)) return i;
  return -1;
}

bool readWord(const char** at, const char* end, Word* word) {
  const char* p = *at;
  while (p < end && isBlank(*p)) ++p;
  if (p == end) return false;
  const char* bare = p + 1;
  while (bare < end && !isBlank(*bare)) ++bare;
  const char* close = *p == '"' ? closingQuote(p, end) : end;
  // Readers take the longer of the two readings, the quoted one when they are alike.
  word->quoted = close < end && close + 1 >= bare;
  if (word->quoted) {
    word->text = Span{p + 1, (size_t)(close - p - 1)};
    *at = close + 1;
  } else {
    word->text = Span{p, (size_t)(bare - p)};
    *at = bare;
  }
  return true;
}

void readWords(const char* at, const char* end, int wanted, Words* words) {
  words->count = 0;
  words->more = Span{end, 0};
  while (words->count < wanted && words->count < kWordsMax &&
         readWord(&at, end, &words->word[words->count]))
    ++words->count;
  while (at < end && isBlank(*at)) ++at;
  if (at < end) words->more = Span{at, (size_t)(end - at)};
}

const char* quoteProblem(const char* at, const char* end) {
  bool quotedBefore = false;
  while (at < end) {
    while (at < end && isBlank(*at)) ++at;
    if (at == end) break;
    if (*at == '"') {
      const char* close = at + 1;
      while (close < end && *close != '"') ++close;
      if (close == end) return "a quote is left open";
      // Readers take a backslash before a double quote as an escaped quote: the text runs on.
      if (close[-1] == '\\' && close > at + 1)
        return "a backslash stands before the closing quote, which readers then take as text";
      if (close + 1 < end && !isBlank(close[1])) return "a double quote stands inside the quoted text";
      at = close + 1;
      quotedBefore = true;
    } else {
      for (; at < end && !isBlank(*at); ++at) {
        if (*at == '"')
          return quotedBefore ? "a double quote stands inside the quoted text"
                              : "a double quote stands inside text that is not quoted";
      }
    }
  }
  return nullptr;
}
