// Reading a text line by line, whatever ends its lines.
#pragma once

#include <cstddef>

struct TextLine {
  size_t start;  // its first character
  size_t end;    // after its last character, before the line break
  size_t next;   // the next line's first character; the text's length after the last line
};

// The line that starts at start (CR LF, LF or CR end it); false at the end of the text.
bool readLine(const char* text, size_t length, size_t start, TextLine* line);
