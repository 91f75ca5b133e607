// The values that survive a restart, kept in plugin.ini beside the DLL, section "LUMO".
#pragma once

#include "../base/limits.h"

struct Settings {
  int enabled;               // non-zero: capture installed
  int currentPageIndex;      // the preferences tab last shown
  char* headerTemplate;      // kTemplateBytes block, owned by the settings store
  char* trackTemplate;       // kTemplateBytes block, owned by the settings store
};

extern const char kDefaultHeaderTemplate[];
extern const char kDefaultTrackTemplate[];

// The live values; the template pointers are null before allocateTemplates succeeds.
Settings& settings();

// Takes the two template blocks from the process heap; false when either cannot be had.
bool allocateTemplates();
void releaseTemplates();

// The full name of plugin.ini, as pathBesideModule gives it.
bool iniFilePath(char* path);

void readSettings();
void writeSettings();
