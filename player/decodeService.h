// The player's service manager with its decode-file service, for WAV files: 16-bit PCM, mono or
// stereo, 44.1 or 48 kHz; any other file is an unsupported type. Its objects are built by hand as
// the player's compiler builds them (a table whose first entry takes every call as a member
// function, the object in ECX), so a plug-in that calls them any other way fails here too.
// Streams are opened, read and closed on the caller's thread: they share nothing but counts.
#pragma once

#include <windows.h>

#include "../host/hostContract.h"

// The manager's address, as the service-manager request answers it.
void* decodeServiceManager();

// What the plug-in did with the service: open streams now, streams opened in all, bytes read, and
// the longest single read in microseconds. Safe from any thread.
struct DecodeCounts {
  long open;
  long opened;
  long long bytesRead;
  long refusals;  // files the service would not open
};
DecodeCounts decodeCounts();
// Each read waits this long first (microseconds), as a slow decoder would; 0: none.
void setDecodeDelay(long micros);
