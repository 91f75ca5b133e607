// Reading and writing plugin.ini.
#include "settings.h"

#include <windows.h>

#include "../base/settingsText.h"
#include "../base/text.h"
#include "pluginFolder.h"

const char kDefaultHeaderTemplate[] =
    "PERFORMER \"%artist%\"\\r\\nTITLE \"%title%\"\\r\\nFILE \"%filename%\" %filetype%";
const char kDefaultTrackTemplate[] =
    "TRACK %trackcount% AUDIO\\r\\n    TITLE \"%trackname%\"\\r\\n    PERFORMER \"%performer%\"\\r\\n"
    "    INDEX 01 %curpos%";

namespace {

// The header default of earlier versions, which called every file MP3: read as today's.
const char kEarlierDefaultHeader[] =
    "PERFORMER \"%artist%\"\\r\\nTITLE \"%title%\"\\r\\nFILE \"%filename%\" MP3";
const char kSection[] = "LUMO";
const char kIniName[] = "plugin.ini";
// The text of a stored number as read, with room for blanks around it.
const size_t kStoredNumberBytes = 64;
// A stored template may carry escapes for line breaks and a pair of quotes.
const size_t kStoredTemplateBytes = 2 * kTemplateBytes + 3;

Settings gSettings = {1, 0, nullptr, nullptr, kMarkOffsetMsDefault, kListenLeadSecondsDefault};

// An integer key; a missing key or one that holds no number gives the fallback.
int readNumber(const char* key, int fallback, const char* path) {
  char text[kStoredNumberBytes];
  GetPrivateProfileStringA(kSection, key, "", text, (DWORD)sizeof text, path);
  int value = fallback;
  return parseSettingInt(text, &value) ? value : fallback;
}

void writeNumber(const char* key, int value, const char* path) {
  char text[kNumberTextBytes];
  formatInt(text, sizeof text, value);
  WritePrivateProfileStringA(kSection, key, text, path);
}

void writeTemplate(const char* key, const char* value, const char* path) {
  char stored[kStoredTemplateBytes];
  if (encodeSettingText(value, stored, sizeof stored))
    WritePrivateProfileStringA(kSection, key, stored, path);
}

// Reads a template into its block: the stored text whole, then cut to kTemplateChars
// characters as it formats, so that line breaks stored as escapes never push its end out.
void readTemplate(const char* key, const char* fallback, char* block, const char* path) {
  char stored[kStoredTemplateBytes];
  GetPrivateProfileStringA(kSection, key, fallback, stored, (DWORD)sizeof stored, path);
  cutTemplate(stored, kTemplateChars);
  copyText(block, kTemplateBytes, stored);
}

}  // namespace

Settings& settings() { return gSettings; }

int clampSetting(int value, int largest) { return value < 0 ? 0 : value > largest ? largest : value; }

bool allocateTemplates() {
  HANDLE heap = GetProcessHeap();
  gSettings.headerTemplate = (char*)HeapAlloc(heap, HEAP_ZERO_MEMORY, kTemplateBytes);
  gSettings.trackTemplate = (char*)HeapAlloc(heap, HEAP_ZERO_MEMORY, kTemplateBytes);
  if (gSettings.headerTemplate && gSettings.trackTemplate) return true;
  releaseTemplates();
  return false;
}

void releaseTemplates() {
  HANDLE heap = GetProcessHeap();
  if (gSettings.headerTemplate) HeapFree(heap, 0, gSettings.headerTemplate);
  if (gSettings.trackTemplate) HeapFree(heap, 0, gSettings.trackTemplate);
  gSettings.headerTemplate = nullptr;
  gSettings.trackTemplate = nullptr;
}

bool iniFilePath(char* path) { return pathBesideModule(kIniName, path); }

void readSettings() {
  gSettings.enabled = 1;
  gSettings.currentPageIndex = 0;
  gSettings.markOffsetMs = kMarkOffsetMsDefault;
  gSettings.listenLeadSeconds = kListenLeadSecondsDefault;
  char path[kPathBytes];
  if (!iniFilePath(path)) {
    copyText(gSettings.headerTemplate, kTemplateBytes, kDefaultHeaderTemplate);
    copyText(gSettings.trackTemplate, kTemplateBytes, kDefaultTrackTemplate);
    return;
  }
  gSettings.enabled = readNumber("enabled", gSettings.enabled, path);
  gSettings.currentPageIndex = readNumber("currentpageindex", 0, path);
  gSettings.markOffsetMs =
      clampSetting(readNumber("markoffset", kMarkOffsetMsDefault, path), kMarkOffsetMsMax);
  gSettings.listenLeadSeconds =
      clampSetting(readNumber("listenlead", kListenLeadSecondsDefault, path), kListenLeadSecondsMax);
  readTemplate("advformatstring", kDefaultHeaderTemplate, gSettings.headerTemplate, path);
  if (textsEqual(gSettings.headerTemplate, kEarlierDefaultHeader))
    copyText(gSettings.headerTemplate, kTemplateBytes, kDefaultHeaderTemplate);
  readTemplate("balloontitle", kDefaultTrackTemplate, gSettings.trackTemplate, path);
}

void writeSettings() {
  char path[kPathBytes];
  if (!iniFilePath(path)) return;
  writeNumber("enabled", gSettings.enabled, path);
  writeNumber("usewinampstrayicon", 0, path);
  writeNumber("balloontimeout", 5000, path);
  writeNumber("iconindex", 6, path);
  writeNumber("overridetip", 0, path);
  writeNumber("displayonpbchange", 0, path);
  writeNumber("currentpageindex", gSettings.currentPageIndex, path);
  writeTemplate("advformatstring", gSettings.headerTemplate, path);
  writeTemplate("balloontitle", gSettings.trackTemplate, path);
  writeNumber("markoffset", gSettings.markOffsetMs, path);
  writeNumber("listenlead", gSettings.listenLeadSeconds, path);
}
