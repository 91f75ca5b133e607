// The tracklist's text in global memory, and its first line taken and put back.
#include "tracklist.h"

#include <windows.h>

#include "../base/text.h"

namespace {

const char kNextPrefix[] = "Next: ";
const char kNextInfo[] = "Next: the Info window";
const char kSeparator[] = " - ";
const char kLineBreak[] = "\r\n";

struct Tracklist {
  char* text;  // global memory, NUL-terminated; null when empty
  size_t length;
};

Tracklist gTracklist = {nullptr, 0};

void replaceText(char* text, size_t length) {
  if (gTracklist.text) GlobalFree(gTracklist.text);
  gTracklist.text = text;
  gTracklist.length = text ? length : 0;
}

}  // namespace

void setTracklistText(const char* text, size_t length) {
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
  if (!readTracklistLine(text + start, end - start, line)) return false;
  char* copy = (char*)GlobalAlloc(GMEM_FIXED, end - start + 1);
  if (!copy) return false;
  CopyMemory(copy, text + start, end - start);
  copy[end - start] = '\0';
  *taken = copy;
  removeTo(next);  // blank lines before the line go with it
  return true;
}

void dropTracklistLine(const char* taken) {
  size_t start = 0, end = 0, next = 0;
  const char* text = tracklistText();
  if (!firstTracklistLine(text, gTracklist.length, &start, &end, &next)) return;
  size_t length = textLength(taken, (size_t)-1);
  if (end - start != length) return;
  for (size_t i = 0; i < length; ++i)
    if (text[start + i] != taken[i]) return;
  removeTo(next);
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

void nextMarkLabel(const char* lastPerformer, char* out, size_t outBytes) {
  size_t start = 0, end = 0, next = 0;
  TracklistLine* line = (TracklistLine*)GlobalAlloc(GMEM_FIXED, sizeof(TracklistLine));
  const char* text = tracklistText();
  bool pending = line && firstTracklistLine(text, gTracklist.length, &start, &end, &next) &&
                 readTracklistLine(text + start, end - start, line);
  if (!pending) {
    copyText(out, outBytes, kNextInfo);
  } else {
    const char* performer = line->hasPerformer ? line->performer : lastPerformer;
    copyText(out, outBytes, kNextPrefix);
    if (performer && performer[0]) {
      appendTo(out, outBytes, performer);
      if (line->title[0]) appendTo(out, outBytes, kSeparator);
    }
    appendTo(out, outBytes, line->title);
  }
  if (line) GlobalFree(line);
}

void clearTracklist() { replaceText(nullptr, 0); }
