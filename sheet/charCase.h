// Case conversion of one ANSI character by the system's code page.
#pragma once

char upperChar(char c);
char lowerChar(char c);
