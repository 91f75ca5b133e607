// Reading a text line by line.
#include "textLines.h"

bool readLine(const char* text, size_t length, size_t start, TextLine* line) {
  if (!text || start >= length) return false;
  size_t end = start;
  while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
  size_t next = end;
  if (next < length && text[next] == '\r') ++next;
  if (next < length && text[next] == '\n' && (next == end || text[next - 1] == '\r')) ++next;
  *line = {start, end, next};
  return true;
}
