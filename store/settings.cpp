// Reading and writing plugin.ini. The [LUMO] section is read and written as bytes by the plug-in
// itself (base/iniText.h), not through the system's profile functions: those pass every value
// through the ANSI code page, which on a double-byte code page does not carry every UTF-8 byte
// sequence. Values are UTF-8; a value that is not valid UTF-8 was written by an earlier version
// in the ANSI code page and is read in it. The rest of the file keeps its bytes. A plugin.ini in
// UTF-16 (which the profile functions read and write whole) is left to them.
// Where plugin.ini cannot be written (a standard user's Plugins folder), the section goes into a
// plugin.ini of the plug-in's own in the application-data folder, beside the recovery copy; at
// start the newer of the two sections is read.
#include "settings.h"

#include <windows.h>

#include <cstring>

#include "../base/iniText.h"
#include "../base/platformText.h"
#include "../base/settingsText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "atomicFile.h"
#include "fileSystem.h"
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
const wchar_t kSectionWide[] = L"LUMO";
const char kIniName[] = "plugin.ini";
const size_t kIniBytesMax = 16 * 1024 * 1024;  // far past any plugin.ini; a larger one is not touched
// A stored template may carry escapes for line breaks and a pair of quotes.
const size_t kStoredTemplateBytes = 2 * kTemplateBytes + 3;
const int kKeyCount = 17;  // the keys composeValues writes, the windows' places among them
// The keys of the windows' places, by LaidOutWindow; each holds "left,top,width,height".
const char* const kWindowKeys[kLaidOutWindows] = {"cuewindow", "tracklistwindow", "infowindow"};
const int kPlaceNumbers = 4;
const size_t kPlaceTextBytes = kPlaceNumbers * kNumberTextBytes;
const size_t kIniKeyChars = 64;  // a key's name, as the profile functions are given it

Settings gSettings = {1, 0, nullptr, nullptr, kMarkOffsetMsDefault, kListenLeadSecondsDefault, kEncodingAutomatic, 0, 1, {}};

// The two places of the section: plugin.ini beside the DLL, and the plug-in's own copy.
enum IniPlace { kIniBesidePlugin = 0, kIniOwnCopy = 1, kIniPlaces = 2, kIniNone = -1 };

// plugin.ini as read: its bytes, or, for a UTF-16 file, the path for the profile functions.
struct IniFile {
  char path[kPathBytes];
  char* bytes;  // global memory; null when there is no file or it is UTF-16
  size_t length;
  bool wide;
  bool hasSection;  // it holds [LUMO] (a UTF-16 file is taken to)
};

int gReadFrom = kIniNone;  // where the values in use were read

bool isWideFile(const char* bytes, size_t length) {
  return length >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE;
}

// The path of the section's file at place into path (pathBytes); with create, the folder it
// goes in is made.
bool iniPathAt(int place, bool create, char* path, size_t pathBytes) {
  if (place == kIniBesidePlugin) return iniFilePath(path, pathBytes);
  char folder[kPathBytes];
  path[0] = '\0';
  return dataFolder(kIniOwnCopy, create, folder, sizeof folder) && joinPath(folder, kIniName, path, pathBytes);
}

// Reads the file at place; false when there is none or it cannot be read (its path is kept).
bool openIni(int place, IniFile* ini) {
  ini->bytes = nullptr;
  ini->length = 0;
  ini->wide = false;
  ini->hasSection = false;
  if (!iniPathAt(place, false, ini->path, sizeof ini->path)) return false;
  DWORD error = 0;
  ini->bytes = readWholeFile(ini->path, kIniBytesMax, 0, &ini->length, &error);
  if (ini->bytes && isWideFile(ini->bytes, ini->length)) {
    GlobalFree(ini->bytes);
    ini->bytes = nullptr;
    ini->wide = true;
  }
  ini->hasSection = ini->wide || (ini->bytes && iniHasSection(ini->bytes, ini->length, kSection));
  return ini->bytes || ini->wide;
}

void closeIni(IniFile* ini) {
  if (ini->bytes) GlobalFree(ini->bytes);
  ini->bytes = nullptr;
}

// A stored value as UTF-8 into value (valueBytes); false when the key is not there.
bool readValue(const IniFile& ini, const char* key, char* value, size_t valueBytes) {
  value[0] = '\0';
  if (ini.wide) {
    wchar_t wideKey[kIniKeyChars];
    wchar_t* wide = (wchar_t*)GlobalAlloc(GPTR, valueBytes * sizeof(wchar_t));
    wchar_t widePath[kPathChars];
    bool found = false;
    if (wide && toWide(key, wideKey, kIniKeyChars) && toWide(ini.path, widePath, kPathChars)) {
      const wchar_t kMissing[] = {0xFFFF, 0};
      GetPrivateProfileStringW(kSectionWide, wideKey, kMissing, wide, (DWORD)valueBytes, widePath);
      found = !(wide[0] == 0xFFFF && wide[1] == 0);
      if (found) fromWide(wide, value, valueBytes);
    }
    if (wide) GlobalFree(wide);
    return found;
  }
  char* stored = (char*)GlobalAlloc(GPTR, valueBytes);
  if (!stored) return false;
  bool found = iniRead(ini.bytes, ini.length, kSection, key, stored, valueBytes);
  size_t length = textLength(stored, valueBytes);
  if (isValidUtf8(stored, length)) copyText(value, valueBytes, stored);
  else ansiToUtf8(stored, length, value, valueBytes);
  GlobalFree(stored);
  return found;
}

// An integer key; a missing key or one that holds no number gives the fallback.
int readNumber(const IniFile& ini, const char* key, int fallback) {
  char text[kNumberTextBytes * 2];
  int value = fallback;
  if (readValue(ini, key, text, sizeof text)) parseSettingInt(text, &value);
  return value;
}

// Reads a template into its block: the stored text whole, then cut to kTemplateChars
// characters as it formats, so that line breaks stored as escapes never push its end out.
void readTemplate(const IniFile& ini, const char* key, const char* fallback, char* block) {
  char* stored = (char*)GlobalAlloc(GPTR, kStoredTemplateBytes);
  if (!stored) {
    copyText(block, kTemplateBytes, fallback);
    return;
  }
  if (!readValue(ini, key, stored, kStoredTemplateBytes)) copyText(stored, kStoredTemplateBytes, fallback);
  cutTemplate(stored, kTemplateChars);
  copyText(block, kTemplateBytes, stored);
  GlobalFree(stored);
}

// A window's place; not known when the key is missing or holds no four numbers.
WindowPlace readPlace(const IniFile& ini, const char* key) {
  char text[kPlaceTextBytes];
  int numbers[kPlaceNumbers];
  WindowPlace place = {false, 0, 0, 0, 0};
  if (readValue(ini, key, text, sizeof text) && parseSettingInts(text, numbers, kPlaceNumbers) && numbers[2] > 0 &&
      numbers[3] > 0)
    place = WindowPlace{true, numbers[0], numbers[1], numbers[2], numbers[3]};
  return place;
}

// The values in the order they are written.
struct StoredValues {
  char numbers[kKeyCount][kNumberTextBytes];
  char places[kLaidOutWindows][kPlaceTextBytes];
  char header[kStoredTemplateBytes];
  char track[kStoredTemplateBytes];
  IniValue values[kKeyCount];
  size_t count;
};

void addNumber(StoredValues* s, const char* key, int value) {
  formatInt(s->numbers[s->count], kNumberTextBytes, value);
  s->values[s->count] = IniValue{key, s->numbers[s->count]};
  ++s->count;
}

void composeValues(StoredValues* s) {
  s->count = 0;
  addNumber(s, "enabled", gSettings.enabled);
  addNumber(s, "usewinampstrayicon", 0);
  addNumber(s, "balloontimeout", 5000);
  addNumber(s, "iconindex", 6);
  addNumber(s, "overridetip", 0);
  addNumber(s, "displayonpbchange", 0);
  addNumber(s, "currentpageindex", gSettings.currentPageIndex);
  bool header = encodeSettingText(gSettings.headerTemplate, s->header, sizeof s->header);
  bool track = encodeSettingText(gSettings.trackTemplate, s->track, sizeof s->track);
  if (header) s->values[s->count++] = IniValue{"advformatstring", s->header};
  if (track) s->values[s->count++] = IniValue{"balloontitle", s->track};
  addNumber(s, "markoffset", gSettings.markOffsetMs);
  addNumber(s, "listenlead", gSettings.listenLeadSeconds);
  addNumber(s, "encoding", gSettings.encoding);
  addNumber(s, "cdcheck", gSettings.cdCheck);
  addNumber(s, "snap", gSettings.snap);
  for (int i = 0; i < kLaidOutWindows; ++i) {
    const WindowPlace& place = gSettings.windows[i];
    int numbers[kPlaceNumbers] = {place.left, place.top, place.width, place.height};
    if (place.known && formatSettingInts(numbers, kPlaceNumbers, s->places[i], sizeof s->places[i]))
      s->values[s->count++] = IniValue{kWindowKeys[i], s->places[i]};
  }
}

bool writeWide(const IniFile& ini, const StoredValues& s) {
  wchar_t widePath[kPathChars];
  if (!toWide(ini.path, widePath, kPathChars)) return false;
  bool written = true;
  for (size_t i = 0; i < s.count; ++i) {
    wchar_t wideKey[kIniKeyChars];
    wchar_t* value = newWideText(s.values[i].value);
    written = written && value && toWide(s.values[i].key, wideKey, kIniKeyChars) &&
              WritePrivateProfileStringW(kSectionWide, wideKey, value, widePath);
    if (value) GlobalFree(value);
  }
  return written;
}

// Writes the values into the file at place; true when it holds them afterwards. A file that
// holds them already is left as it is when keepSame is set (its time then still says when they
// were last changed).
bool writeIniAt(int place, const StoredValues& stored, bool keepSame) {
  IniFile ini;
  bool exists = openIni(place, &ini);
  bool done = false;
  if (ini.wide) {
    done = writeWide(ini, stored);
  } else if (ini.path[0] && (exists || !isFile(ini.path))) {
    // A file that is there but cannot be read is never written over.
    const char* old = ini.bytes ? ini.bytes : "";
    size_t room = iniEditedBytesMax(ini.length, kSection, stored.values, stored.count);
    char* edited = (char*)GlobalAlloc(GMEM_FIXED, room);
    char temp[kPathBytes];
    size_t length = edited ? iniEdit(old, ini.length, kSection, stored.values, stored.count, edited, room) : 0;
    bool same = length == ini.length && length > 0 && ini.bytes && memcmp(edited, ini.bytes, length) == 0;
    if (same && keepSame) {
      done = true;
    } else if (length > 0 && (place == kIniBesidePlugin || iniPathAt(place, true, ini.path, sizeof ini.path)) &&
               temporaryNameBeside(ini.path, playerTag(), temp, sizeof temp)) {
      done = replaceFile(ini.path, temp, edited, length, nullptr) == 0;
    }
    if (edited) GlobalFree(edited);
  }
  closeIni(&ini);
  return done;
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

bool iniFilePath(char* path, size_t pathBytes) { return pathBesideModule(kIniName, path, pathBytes); }

void readSettings() {
  gSettings.enabled = 1;
  gSettings.currentPageIndex = 0;
  gSettings.markOffsetMs = kMarkOffsetMsDefault;
  gSettings.listenLeadSeconds = kListenLeadSecondsDefault;
  gSettings.encoding = kEncodingAutomatic;
  gSettings.cdCheck = 0;
  gSettings.snap = 1;
  for (WindowPlace& place : gSettings.windows) place = WindowPlace{false, 0, 0, 0, 0};
  // The section of either place; of both, the one written last.
  IniFile files[kIniPlaces];
  gReadFrom = kIniNone;
  for (int place = 0; place < kIniPlaces; ++place) {
    if (!openIni(place, &files[place]) || !files[place].hasSection) continue;
    if (gReadFrom == kIniNone || lastWriteTime(files[place].path) > lastWriteTime(files[gReadFrom].path))
      gReadFrom = place;
  }
  if (gReadFrom == kIniNone) {
    copyText(gSettings.headerTemplate, kTemplateBytes, kDefaultHeaderTemplate);
    copyText(gSettings.trackTemplate, kTemplateBytes, kDefaultTrackTemplate);
  } else {
    const IniFile& ini = files[gReadFrom];
    gSettings.enabled = readNumber(ini, "enabled", gSettings.enabled);
    gSettings.currentPageIndex = readNumber(ini, "currentpageindex", 0);
    gSettings.markOffsetMs = clampSetting(readNumber(ini, "markoffset", kMarkOffsetMsDefault), kMarkOffsetMsMax);
    gSettings.listenLeadSeconds =
        clampSetting(readNumber(ini, "listenlead", kListenLeadSecondsDefault), kListenLeadSecondsMax);
    gSettings.encoding = clampSetting(readNumber(ini, "encoding", kEncodingAutomatic), kEncodingLast);
    gSettings.cdCheck = clampSetting(readNumber(ini, "cdcheck", 0), 1);
    gSettings.snap = clampSetting(readNumber(ini, "snap", 1), 1);
    readTemplate(ini, "advformatstring", kDefaultHeaderTemplate, gSettings.headerTemplate);
    if (textsEqual(gSettings.headerTemplate, kEarlierDefaultHeader))
      copyText(gSettings.headerTemplate, kTemplateBytes, kDefaultHeaderTemplate);
    readTemplate(ini, "balloontitle", kDefaultTrackTemplate, gSettings.trackTemplate);
    for (int i = 0; i < kLaidOutWindows; ++i) gSettings.windows[i] = readPlace(ini, kWindowKeys[i]);
  }
  for (int place = 0; place < kIniPlaces; ++place) closeIni(&files[place]);
}

void writeSettings() {
  StoredValues* stored = (StoredValues*)GlobalAlloc(GPTR, sizeof(StoredValues));
  if (!stored) return;
  composeValues(stored);
  // plugin.ini first; where it cannot be written, the plug-in's own copy. A file left as it was
  // must be the one read, so that it stays the newer one.
  if (!writeIniAt(kIniBesidePlugin, *stored, gReadFrom != kIniOwnCopy))
    writeIniAt(kIniOwnCopy, *stored, gReadFrom == kIniOwnCopy);
  GlobalFree(stored);
}
