// Sizes of the plug-in's text buffers. Text inside the plug-in is UTF-8: a size in bytes includes
// the terminating NUL; "chars" are UTF-16 units, as the windows, the file system and the player
// count them (one UTF-16 unit takes at most 3 UTF-8 bytes, a surrogate pair 4).
#pragma once

#include <cstddef>

const size_t kUtf8BytesPerUnit = 3;

const size_t kPathChars = 260;                           // every file path, as the system limits it
const size_t kPathBytes = kPathChars * kUtf8BytesPerUnit;
const size_t kTemplateChars = 511;                       // the longest template, a line break counting as one
const size_t kTemplateBytes = 2048;                      // a template block: 511 chars and their escapes
const size_t kSentTemplateBytes = kTemplateBytes * 3;    // a template as sent, line breaks as escapes
const size_t kFormatChars = 1024;                        // the player's formatted output, NUL included
const size_t kTextBytes = kFormatChars * 4;              // formatted output, header, entry, captured texts
const size_t kValueChars = 2048;                         // one tag value, NUL included
const size_t kValueBytes = kValueChars * kUtf8BytesPerUnit;
const size_t kNumberTextBytes = 24;                      // one integer in decimal (any long long), or a cue time
