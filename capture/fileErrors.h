// Why a file could not be read or written, in plain words for the boxes that say so.
#pragma once

#include <windows.h>

#include <cstddef>

// Appends to message (messageBytes in all) why the error stopped a read (reading) or a write:
// a sentence for the errors a user meets, else the system's error number.
void appendFileError(char* message, size_t messageBytes, DWORD error, bool reading);
