// The values that survive a restart, kept in plugin.ini beside the DLL, section "LUMO".
#pragma once

#include "limits.h"

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

// Fills path (kPathBytes) with the full name of a file in the plug-in's own folder; false
// (and an empty path) when it cannot be formed within kPathBytes.
bool pathBesideModule(const char* fileName, char* path);

// The full name of plugin.ini, as pathBesideModule gives it.
bool iniFilePath(char* path);

void readSettings();
void writeSettings();
