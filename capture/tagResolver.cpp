// Values of the plug-in's own tags, and of every other name through the player's metadata.
#include "tagResolver.h"

#include "../base/asciiText.h"
#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "../host/hostLink.h"
#include "../sheet/tagText.h"

namespace {

const size_t kVideoValueBytes = 64;
const TagRecord* gRecord = nullptr;
const TagRecord kNoRecord = {"", "", 1, 0, kValueBytes, nullptr};

const TagRecord& record() { return gRecord ? *gRecord : kNoRecord; }

typedef void (*TagFill)(const char* tag, char* raw, const char* currentPath, int positionMs);

void fillNumber(char* raw, int value) { formatInt(raw, kValueBytes, value); }

void fillFilePath(const char*, char* raw, const char* path, int) { copyText(raw, kValueBytes, path); }
void fillFileName(const char*, char* raw, const char* path, int) { fileNameOf(path, raw, kValueBytes); }
void fillFileExt(const char*, char* raw, const char* path, int) { fileExtOf(path, raw, kValueBytes); }
void fillFileDir(const char*, char* raw, const char* path, int) { fileDirOf(path, raw, kValueBytes); }
void fillFileType(const char*, char* raw, const char* path, int) { fileTypeOf(path, raw, kValueBytes); }
void fillCurPos(const char*, char* raw, const char*, int ms) { formatCuePosition(ms, raw, kValueBytes); }
void fillTrackName(const char*, char* raw, const char*, int) { copyText(raw, kValueBytes, record().title); }
void fillPerformer(const char*, char* raw, const char*, int) { copyText(raw, kValueBytes, record().performer); }
void fillTrackCount(const char*, char* raw, const char*, int) { formatInt(raw, kValueBytes, record().entryNumber, 2); }
void fillPlLen(const char*, char* raw, const char*, int) { fillNumber(raw, hostPlaylistCount()); }
void fillPlPos(const char*, char* raw, const char*, int) { fillNumber(raw, hostPlaylistIndex() + 1); }
void fillPlZeroIdx(const char*, char* raw, const char*, int) { fillNumber(raw, hostPlaylistIndex()); }
void fillLength(const char*, char* raw, const char*, int) { formatTrackLength(hostLengthSeconds(), raw, kValueBytes); }
void fillBitrate(const char*, char* raw, const char*, int) { fillNumber(raw, hostStreamInfo(HOST_STREAM_BITRATE)); }
void fillChannelNum(const char*, char* raw, const char*, int) { fillNumber(raw, hostStreamInfo(HOST_STREAM_CHANNELS)); }
void fillSampleRate(const char*, char* raw, const char*, int) { fillNumber(raw, hostSampleRateHz()); }

void fillChannels(const char*, char* raw, const char*, int) {
  copyText(raw, kValueBytes, hostStreamInfo(HOST_STREAM_CHANNELS) == 1 ? "mono" : "stereo");
}

void fillVideoSize(const char*, char* raw, const char*, int) {
  DWORD size = (DWORD)hostStreamInfo(HOST_STREAM_VIDEO_SIZE);
  size_t length = formatInt(raw, kVideoValueBytes, LOWORD(size));
  appendTo(raw, kVideoValueBytes, "x");
  formatInt(raw + length + 1, kVideoValueBytes - length - 1, HIWORD(size));
}

void fillVideoWidth(const char*, char* raw, const char*, int) {
  formatInt(raw, kVideoValueBytes, LOWORD((DWORD)hostStreamInfo(HOST_STREAM_VIDEO_SIZE)));
}

void fillVideoHeight(const char*, char* raw, const char*, int) {
  formatInt(raw, kVideoValueBytes, HIWORD((DWORD)hostStreamInfo(HOST_STREAM_VIDEO_SIZE)));
}

void fillVideoInfo(const char*, char* raw, const char*, int) { hostVideoText(raw, kValueBytes); }

// Asks the player's metadata reader for one field of the current file; true when found.
bool readFileField(const char* field, char* raw, const char* path) {
  return hostFileFieldText(path, field, raw, kValueBytes);
}

void fillYear2d(const char*, char* raw, const char* path, int) {
  if (readFileField("year", raw, path)) keepLastTwo(raw);
}

void fillPbState(const char*, char* raw, const char*, int) {
  int state = hostPlayState();
  fillNumber(raw, state == HOST_STATE_PAUSED ? 2 : state);
}

void fillWaTitle(const char*, char* raw, const char* path, int) { hostFileTitleText(path, raw, kValueBytes); }

void fillFileField(const char* tag, char* raw, const char* path, int) { readFileField(tag, raw, path); }

struct TagRow {
  const char* name;
  TagFill fill;
};

// Compared in this order; a name that matches none goes to the player's metadata reader.
const TagRow kTags[] = {
    {"filepath", fillFilePath},     {"filename", fillFileName},   {"curpos", fillCurPos},
    {"trackname", fillTrackName},   {"performer", fillPerformer}, {"trackcount", fillTrackCount},
    {"fileext", fillFileExt},       {"filedir", fillFileDir},     {"filetype", fillFileType},
    {"pllen", fillPlLen},
    {"plpos", fillPlPos},           {"plzeroidx", fillPlZeroIdx}, {"length", fillLength},
    {"bitrate", fillBitrate},       {"channelnum", fillChannelNum}, {"channels", fillChannels},
    {"srate", fillSampleRate},      {"videosize", fillVideoSize}, {"videowidth", fillVideoWidth},
    {"videoheight", fillVideoHeight}, {"videoinfo", fillVideoInfo}, {"year2d", fillYear2d},
    {"twodigityear", fillYear2d},   {"pbstate", fillPbState},     {"watitle", fillWaTitle},
};

// The longest of our tag names, and one byte more: a name the player gives is read that far.
const size_t kOwnTagNameBytes = 16;

TagFill fillFor(const char* tag) {
  size_t length = textLength(tag, kOwnTagNameBytes);
  for (const TagRow& row : kTags)
    if (sameIgnoringCase(tag, length, row.name)) return row.fill;
  return fillFileField;
}

// Paths, times and numbers are never cut: the lines a sheet needs (FILE, INDEX, TRACK) hold them.
bool keptWhole(TagFill fill) {
  return fill == fillFilePath || fill == fillFileName || fill == fillFileDir || fill == fillFileExt ||
         fill == fillFileType || fill == fillCurPos || fill == fillTrackCount;
}

// The value of a tag (name in UTF-8) as the formatter takes it, literal, into value (UTF-8, at
// most kValueChars - 1 bytes, so that it fits the formatter's value block in either form);
// false when the tag has no value.
bool resolveValue(const char* tag, char* value) {
  char currentPath[kPathBytes];
  if (record().path && record().path[0]) copyText(currentPath, sizeof currentPath, record().path);
  else hostEntryPathText(hostPlaylistIndex(), currentPath);
  char* raw = (char*)GlobalAlloc(GPTR, kValueBytes);
  if (!raw) return false;
  TagFill fill = fillFor(tag);
  fill(tag, raw, currentPath, record().positionMs);
  size_t limit = record().valueBytesMax;
  size_t length = textLength(raw, kValueBytes);
  if (!keptWhole(fill) && limit < length) raw[utf8CutPoint(raw, length, limit)] = '\0';
  literalTagValue(raw, value, kValueChars);
  GlobalFree(raw);
  return value[0] != '\0';
}

}  // namespace

void setTagRecord(const TagRecord* tagRecord) { gRecord = tagRecord; }
const TagRecord* tagRecord() { return gRecord; }

char* __cdecl resolveTag(const char* tag, void* /*context*/) {
  if (!tag) return nullptr;
  char name[kPathBytes];
  ansiToUtf8(tag, textLength(tag, kPathChars - 1), name, sizeof name);
  char value[kValueChars];
  if (!resolveValue(name, value)) return nullptr;
  // The player's ANSI code page takes at most two bytes for each character.
  const size_t kAnsiValueBytes = 2 * kValueChars;
  char* ansi = (char*)GlobalAlloc(GPTR, kAnsiValueBytes);
  if (ansi && utf8ToAnsi(value, textLength(value, kValueChars), ansi, kAnsiValueBytes, nullptr) == (size_t)-1) ansi[0] = '\0';
  if (ansi && !ansi[0]) {
    GlobalFree(ansi);
    return nullptr;
  }
  return ansi;
}

void __cdecl freeTagValue(char* value, void* /*context*/) {
  if (value) GlobalFree(value);
}

wchar_t* __cdecl resolveTagWide(const wchar_t* tag, void* /*context*/) {
  if (!tag) return nullptr;
  char name[kPathBytes];
  fromWide(tag, name, sizeof name);
  char value[kValueChars];
  if (!resolveValue(name, value)) return HOST_EMPTY_TAG_VALUE;
  wchar_t* wide = newWideText(value);
  return wide ? wide : HOST_EMPTY_TAG_VALUE;
}

void __cdecl freeTagValueWide(wchar_t* value, void* /*context*/) {
  if (value && value != HOST_EMPTY_TAG_VALUE) GlobalFree(value);
}
