// Edits of a text: what the sheet edits hand to the capture code, and the bounded writing they
// are built with. No window, no file.
#pragma once

#include <cstddef>

const size_t kEditTextBytes = 96;  // an edit's own text: a number, an INDEX 00 line, a time

// One change: removeLength characters at `at` (in the text before any edit) give way to a text,
// the edit's own or, when external is set, that one.
struct TextEdit {
  size_t at;
  size_t removeLength;
  const char* external;
  size_t externalLength;
  char own[kEditTextBytes];
  size_t ownLength;
};

const char* editText(const TextEdit& edit);
size_t editLength(const TextEdit& edit);

// Edits are sorted by position and do not overlap. Where a position of the text before them
// stands afterwards: shifted by what they add and remove before it; a position inside a
// replaced stretch stays as far from the end of what replaced it, never before its start (a
// caret in a rewritten time keeps its place, also under an INDEX 00 line added above).
size_t mapThroughEdits(size_t position, const TextEdit* edits, size_t count);

// The length of the text after the edits, and that text written to out (outBytes in all, cut to
// fit and terminated); returns the length written.
size_t editedLength(size_t length, const TextEdit* edits, size_t count);
size_t applyEdits(const char* text, size_t length, const TextEdit* edits, size_t count, char* out,
                  size_t outBytes);

// An edit that removes removeLength characters at `at` and puts its own text, empty so far.
TextEdit ownEdit(size_t at, size_t removeLength);
// An edit whose text is textLength characters of text, which must outlive it.
TextEdit externalEdit(size_t at, size_t removeLength, const char* text, size_t textLength);

// Appends to an edit's own text; false when it does not fit.
bool putOwn(TextEdit* edit, const char* from, size_t length);
