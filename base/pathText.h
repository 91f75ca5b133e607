// The parts of a file path, read from its text: where the file name starts and where the
// name's extension begins. '\' and, as Windows reads paths, '/' both separate folders.
#pragma once

#include <cstddef>

bool isPathSeparator(char c);

// Where the file name starts in path[0, length): after the last separator, 0 without one.
size_t fileNameStart(const char* path, size_t length);

// Where the '.' before the extension stands in the file name path[nameStart, length): the last
// '.' of the name, or length when the name has none.
size_t extensionDot(const char* path, size_t nameStart, size_t length);
