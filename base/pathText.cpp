// Reading the parts of a file path.
#include "pathText.h"

bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

size_t fileNameStart(const char* path, size_t length) {
  for (size_t i = length; i > 0; --i)
    if (isPathSeparator(path[i - 1])) return i;
  return 0;
}

size_t extensionDot(const char* path, size_t nameStart, size_t length) {
  for (size_t i = length; i > nameStart; --i)
    if (path[i - 1] == '.') return i - 1;
  return length;
}
