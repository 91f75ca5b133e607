// Case conversion of one character (a Unicode code point) by the system's rules.
#pragma once

unsigned upperChar(unsigned codePoint);
unsigned lowerChar(unsigned codePoint);
