// Reading and editing an INI section in place.
#include "iniText.h"

#include "asciiText.h"
#include "text.h"
#include "textLines.h"
#include "utf8Text.h"

namespace {

const char kLineBreak[] = "\r\n";


// text[from, to) without blanks at either end.
void trim(const char* text, size_t* from, size_t* to) {
  while (*from < *to && isBlank(text[*from])) ++*from;
  while (*to > *from && isBlank(text[*to - 1])) --*to;
}

bool sameName(const char* text, size_t from, size_t to, const char* name) {
  return sameIgnoringCase(text + from, to - from, name);
}

// Whether the line is a section header; its name's span in *from, *to.
bool sectionName(const char* text, const TextLine& line, size_t* from, size_t* to) {
  size_t a = line.start, b = line.end;
  trim(text, &a, &b);
  if (a >= b || text[a] != '[') return false;
  size_t close = a + 1;
  while (close < b && text[close] != ']') ++close;
  if (close == b) return false;
  *from = a + 1;
  *to = close;
  trim(text, from, to);
  return true;
}

// Whether the line is "key = value" for this key; the value's span in *from, *to.
bool keyLine(const char* text, const TextLine& line, const char* key, size_t* from, size_t* to) {
  size_t equals = line.start;
  while (equals < line.end && text[equals] != '=') ++equals;
  if (equals == line.end) return false;
  size_t a = line.start, b = equals;
  trim(text, &a, &b);
  if (!sameName(text, a, b, key)) return false;
  *from = equals + 1;
  *to = line.end;
  return true;
}

// The section's lines: where its header ends, and after its last line that is not blank.
struct SectionPlace {
  bool found;
  size_t bodyStart;
  size_t bodyEnd;
};

SectionPlace findSection(const char* ini, size_t length, const char* section) {
  SectionPlace place = {false, length, length};
  TextLine line;
  bool inside = false;
  for (size_t at = 0; readLine(ini, length, at, &line); at = line.next) {
    size_t from = 0, to = 0;
    if (sectionName(ini, line, &from, &to)) {
      if (inside) break;
      inside = sameName(ini, from, to, section);
      if (inside) {
        place = {true, line.next, line.next};
      }
      continue;
    }
    size_t a = line.start, b = line.end;
    trim(ini, &a, &b);
    if (inside && a < b) place.bodyEnd = line.next;
  }
  return place;
}

// Finds key's line in the section; false when it has none.
bool findKey(const char* ini, const SectionPlace& place, const char* key, TextLine* found, size_t* from, size_t* to) {
  TextLine line;
  for (size_t at = place.bodyStart; at < place.bodyEnd && readLine(ini, place.bodyEnd, at, &line); at = line.next)
    if (keyLine(ini, line, key, from, to)) {
      *found = line;
      return true;
    }
  return false;
}

bool putKey(char* out, size_t outBytes, size_t* at, const IniValue& value) {
  return putText(out, outBytes, at, value.key) && putText(out, outBytes, at, "=") &&
         putText(out, outBytes, at, value.value ? value.value : "");
}

}  // namespace

bool iniHasSection(const char* ini, size_t length, const char* section) {
  return findSection(ini, length, section).found;
}

bool iniRead(const char* ini, size_t length, const char* section, const char* key, char* value,
             size_t valueBytes) {
  if (!value || valueBytes == 0) return false;
  value[0] = '\0';
  SectionPlace place = findSection(ini, length, section);
  TextLine line;
  size_t from = 0, to = 0;
  if (!place.found || !findKey(ini, place, key, &line, &from, &to)) return false;
  trim(ini, &from, &to);
  if (to - from >= 2 && (ini[from] == '"' || ini[from] == '\'') && ini[to - 1] == ini[from]) {
    ++from;
    --to;
  }
  size_t count = utf8CutPoint(ini + from, to - from, valueBytes - 1);
  for (size_t i = 0; i < count; ++i) value[i] = ini[from + i];
  value[count] = '\0';
  return true;
}

size_t iniEditedBytesMax(size_t length, const char* section, const IniValue* values, size_t count) {
  size_t total = length + textLength(section, (size_t)-1) + 8;
  for (size_t i = 0; i < count; ++i)
    total += textLength(values[i].key, (size_t)-1) + textLength(values[i].value, (size_t)-1) + 4;
  return total + 1;
}

size_t iniEdit(const char* ini, size_t length, const char* section, const IniValue* values, size_t count,
               char* out, size_t outBytes) {
  if (!out || outBytes == 0) return 0;
  out[0] = '\0';
  SectionPlace place = findSection(ini, length, section);
  size_t at = 0;
  size_t copied = 0;  // ini is copied up to here
  bool ok = true;
  if (place.found) {
    // Keys that stand in the section, in the order they stand.
    TextLine line;
    for (size_t pos = place.bodyStart; ok && pos < place.bodyEnd && readLine(ini, place.bodyEnd, pos, &line);
         pos = line.next) {
      for (size_t i = 0; i < count; ++i) {
        size_t from = 0, to = 0;
        TextLine first;
        if (!findKey(ini, place, values[i].key, &first, &from, &to) || first.start != line.start) continue;
        ok = putBytes(out, outBytes, &at, ini + copied, line.start - copied) && putKey(out, outBytes, &at, values[i]);
        copied = line.end;
        break;
      }
    }
    ok = ok && putBytes(out, outBytes, &at, ini + copied, place.bodyEnd - copied);
    copied = place.bodyEnd;
  } else {
    ok = putBytes(out, outBytes, &at, ini, length);
    copied = length;
    if (ok && at > 0 && out[at - 1] != '\n' && out[at - 1] != '\r') ok = putText(out, outBytes, &at, kLineBreak);
    ok = ok && putText(out, outBytes, &at, "[") && putText(out, outBytes, &at, section) &&
         putText(out, outBytes, &at, "]") && putText(out, outBytes, &at, kLineBreak);
  }
  for (size_t i = 0; ok && i < count; ++i) {
    TextLine line;
    size_t from = 0, to = 0;
    if (place.found && findKey(ini, place, values[i].key, &line, &from, &to)) continue;
    // A last line without its break gets one before the new keys.
    if (at > 0 && out[at - 1] != '\n' && out[at - 1] != '\r') ok = putText(out, outBytes, &at, kLineBreak);
    ok = ok && putKey(out, outBytes, &at, values[i]) && putText(out, outBytes, &at, kLineBreak);
  }
  ok = ok && putBytes(out, outBytes, &at, ini + copied, length - copied);
  if (!ok) {
    out[0] = '\0';
    return 0;
  }
  return at;
}
