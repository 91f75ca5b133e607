// The tracklist's text in global memory, and its first line taken and put back.
#include "tracklist.h"

#include <windows.h>

#include "../base/text.h"

namespace {

const char kNextPrefix[] = "Next: \"";
const char kNextInfo[] = "Next: the Info window";
const char kBy[] = "\" by ";
const char kAsBefore[] = " (as before)";
const char kLineBreak[] = "\r\n";

struct Tracklist {
  char* text;  // global memory, NUL-terminated; null when empty
  size_t length;
  bool numbered;  // a bare number leads each line
};

Tracklist gTracklist = {nullptr, 0, false};

void replaceText(char* text, size_t length) {
  if (gTracklist.text) GlobalFree(gTracklist.text);
  gTracklist.text = text;
  gTracklist.length = text ? length : 0;
}

}  // namespace

void setTracklistText(const char* text, size_t length) {
  // A single line left of a numbered list reads as the list did.
  if (countTracklistLines(text, length) > 1) gTracklist.numbered = isNumberedTracklist(text, length);
  char* copy = length > 0 ? (char*)GlobalAlloc(GMEM_FIXED, length + 1) : nullptr;
  if (copy) {
    CopyMemory(copy, text, length);
    copy[length] = '\0';
  }
  replaceText(copy, length);
}

const char* tracklistText() { return gTracklist.text ? gTracklist.text : ""; }
size_t tracklistLength() { return gTracklist.length; }
size_t tracklistCount() { return countTracklistLines(tracklistText(), gTracklist.length); }
bool tracklistNumbered() { return gTracklist.numbered; }

namespace {

// Removes the tracklist's text up to next (the first line and the blank lines before it).
void removeTo(size_t next) {
  size_t rest = gTracklist.length - next;
  char* left = rest > 0 ? (char*)GlobalAlloc(GMEM_FIXED, rest + 1) : nullptr;
  if (rest > 0 && !left) return;
  if (left) {
    CopyMemory(left, tracklistText() + next, rest);
    left[rest] = '\0';
  }
  replaceText(left, rest);
}

}  // namespace

bool takeTracklistLine(TracklistLine* line, char** taken) {
  size_t start = 0, end = 0, next = 0;
  const char* text = tracklistText();
  *taken = nullptr;
  if (!firstTracklistLine(text, gTracklist.length, &start, &end, &next)) return false;
  if (!readTracklistLine(text + start, end - start, line, gTracklist.numbered)) return false;
  char* copy = (char*)GlobalAlloc(GMEM_FIXED, end - start + 1);
  if (!copy) return false;
  CopyMemory(copy, text + start, end - start);
  copy[end - start] = '\0';
  *taken = copy;
  removeTo(next);  // blank lines before the line go with it
  return true;
}

namespace {

// Where the line after the first track starts when that track is the line taken; 0 otherwise.
size_t afterTakenLine(const char* taken) {
  size_t start = 0, end = 0, next = 0;
  const char* text = tracklistText();
  if (!firstTracklistLine(text, gTracklist.length, &start, &end, &next)) return 0;
  size_t length = textLength(taken, (size_t)-1);
  if (end - start != length) return 0;
  for (size_t i = 0; i < length; ++i)
    if (text[start + i] != taken[i]) return 0;
  return next;
}

}  // namespace

bool tracklistStartsWith(const char* taken) { return afterTakenLine(taken) > 0; }

void dropTracklistLine(const char* taken) {
  size_t next = afterTakenLine(taken);
  if (next > 0) removeTo(next);
}

void putBackTracklistLine(const char* taken) {
  size_t lineLength = textLength(taken, (size_t)-1);
  size_t length = lineLength + 2 + gTracklist.length;
  char* text = (char*)GlobalAlloc(GMEM_FIXED, length + 1);
  if (!text) return;
  CopyMemory(text, taken, lineLength);
  CopyMemory(text + lineLength, kLineBreak, 2);
  CopyMemory(text + lineLength + 2, tracklistText(), gTracklist.length);
  text[length] = '\0';
  replaceText(text, length);
}

bool nextTracklistReading(size_t* at, TracklistReading* reading) {
  size_t start = 0, end = 0, next = 0;
  const char* text = tracklistText();
  if (*at >= gTracklist.length) return false;
  if (!firstTracklistLine(text + *at, gTracklist.length - *at, &start, &end, &next)) return false;
  readTracklistLine(text + *at + start, end - start, &reading->line, gTracklist.numbered);
  *at += next;
  reading->inherited = !reading->line.hasPerformer;
  if (reading->line.hasPerformer) copyText(reading->performer, sizeof reading->performer, reading->line.performer);
  return true;
}

void nextMarkLabel(const char* lastPerformer, char* out, size_t outBytes) {
  TracklistReading* first = (TracklistReading*)GlobalAlloc(GMEM_FIXED, sizeof(TracklistReading));
  size_t at = 0;
  if (first) copyText(first->performer, sizeof first->performer, lastPerformer);
  if (!first || !nextTracklistReading(&at, first)) {
    copyText(out, outBytes, kNextInfo);
  } else {
    copyText(out, outBytes, kNextPrefix);
    appendTo(out, outBytes, first->line.title);
    appendTo(out, outBytes, first->performer[0] ? kBy : "\"");
    appendTo(out, outBytes, first->performer);
    if (first->performer[0] && first->inherited) appendTo(out, outBytes, kAsBefore);
  }
  if (first) GlobalFree(first);
}

void clearTracklist() {
  replaceText(nullptr, 0);
  gTracklist.numbered = false;
}
