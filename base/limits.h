// Sizes of the plug-in's text buffers, in bytes including the terminating NUL unless the
// name says characters.
#pragma once

#include <cstddef>

const size_t kPathBytes = 260;          // every file path
const size_t kTemplateBytes = 1024;     // a template block
const size_t kTemplateChars = 511;      // the longest template, a line break counting as one
const size_t kTextBytes = 1024;         // formatted output, header text, entry text, captured texts
const size_t kValueBytes = 2048;        // one tag value
const size_t kNumberTextBytes = 24;     // one integer in decimal (any long long), or a cue time
