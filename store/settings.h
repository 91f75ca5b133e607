// The values that survive a restart, kept in plugin.ini beside the DLL, section "LUMO".
#pragma once

#include <cstddef>

#include "../base/limits.h"
#include "../base/windowLayout.h"

// Where the user left one of the windows: its top-left corner and its size, in pixels.
struct WindowPlace {
  bool known;  // false: the user never moved it; it is laid out anew
  int left;
  int top;
  int width;
  int height;
};

struct Settings {
  int enabled;               // non-zero: capture installed
  int currentPageIndex;      // the preferences tab last shown
  char* headerTemplate;      // kTemplateBytes block, owned by the settings store
  char* trackTemplate;       // kTemplateBytes block, owned by the settings store
  int markOffsetMs;          // a mark's time lies this much before the key press
  int listenLeadSeconds;     // Listen starts this long before a mark
  int encoding;              // how a cue file's text is written: one of the CueEncoding values
  int cdCheck;               // non-zero: Save also checks what burning a CD needs
  int snap;                  // non-zero: a mark goes to the end of a silence near it
  WindowPlace windows[kLaidOutWindows];  // the Cue, Tracklist and Info windows, by LaidOutWindow
};

// How a cue file's text is written.
enum CueEncoding {
  kEncodingAutomatic = 0,  // ASCII as it is; anything else UTF-8 with a BOM
  kEncodingUtf8 = 1,       // UTF-8 without a BOM
  kEncodingAnsi = 2,       // the ANSI code page of this Windows
  kEncodingLast = kEncodingAnsi,
};

// The ranges of the two mark settings; a value outside is taken as the nearest inside.
const int kMarkOffsetMsMax = 5000;
const int kMarkOffsetMsDefault = 0;
const int kListenLeadSecondsMax = 60;
const int kListenLeadSecondsDefault = 2;

// value held within 0 and largest.
int clampSetting(int value, int largest);

extern const char kDefaultHeaderTemplate[];
extern const char kDefaultTrackTemplate[];

// The live values; the template pointers are null before allocateTemplates succeeds.
Settings& settings();

// Takes the two template blocks from the process heap; false when either cannot be had.
bool allocateTemplates();
void releaseTemplates();

// The full name of plugin.ini beside the DLL into path (pathBytes), as pathBesideModule gives it.
bool iniFilePath(char* path, size_t pathBytes);

void readSettings();
void writeSettings();
