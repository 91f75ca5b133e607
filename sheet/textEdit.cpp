// Edits of a text: applying them, following a position through them, writing their text.
#include "textEdit.h"

#include "../base/text.h"

const char* editText(const TextEdit& edit) { return edit.external ? edit.external : edit.own; }
size_t editLength(const TextEdit& edit) { return edit.external ? edit.externalLength : edit.ownLength; }

size_t mapThroughEdits(size_t position, const TextEdit* edits, size_t count) {
  long long shift = 0;
  for (size_t i = 0; i < count; ++i) {
    const TextEdit& e = edits[i];
    if (position < e.at) break;
    if (position < e.at + e.removeLength) {
      // Inside a replaced stretch: as far from its end as before, not before its start.
      size_t fromEnd = e.at + e.removeLength - position;
      size_t length = editLength(e);
      return (size_t)((long long)e.at + shift) + (fromEnd < length ? length - fromEnd : 0);
    }
    shift += (long long)editLength(e) - (long long)e.removeLength;
  }
  return (size_t)((long long)position + shift);
}

size_t editedLength(size_t length, const TextEdit* edits, size_t count) {
  for (size_t i = 0; i < count; ++i) length = length - edits[i].removeLength + editLength(edits[i]);
  return length;
}

size_t applyEdits(const char* text, size_t length, const TextEdit* edits, size_t count, char* out,
                  size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  size_t at = 0;
  size_t from = 0;
  out[0] = '\0';
  for (size_t i = 0; i < count; ++i) {
    if (!putBytes(out, outBytes, &at, text + from, edits[i].at - from) ||
        !putBytes(out, outBytes, &at, editText(edits[i]), editLength(edits[i])))
      return at;
    from = edits[i].at + edits[i].removeLength;
  }
  putBytes(out, outBytes, &at, text + from, length - from);
  return at;
}

TextEdit ownEdit(size_t at, size_t removeLength) {
  TextEdit edit = {};
  edit.at = at;
  edit.removeLength = removeLength;
  return edit;
}

TextEdit externalEdit(size_t at, size_t removeLength, const char* text, size_t textLength) {
  TextEdit edit = ownEdit(at, removeLength);
  edit.external = text;
  edit.externalLength = textLength;
  return edit;
}

bool putOwn(TextEdit* edit, const char* from, size_t length) {
  return putBytes(edit->own, sizeof edit->own, &edit->ownLength, from, length);
}
