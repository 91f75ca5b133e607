// Values of the plug-in's own tags, and of every other name through the player's metadata.
#include "tagResolver.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "../host/hostLink.h"
#include "../sheet/tagText.h"

namespace {

const size_t kVideoValueBytes = 64;
const TagRecord* gRecord = nullptr;
const TagRecord kNoRecord = {"", "", 1, 0, kValueBytes};

const TagRecord& record() { return gRecord ? *gRecord : kNoRecord; }
const LONG_PTR kLowestTextAddress = 0x10000;

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
void fillSampleRate(const char*, char* raw, const char*, int) { fillNumber(raw, hostStreamInfo(HOST_STREAM_SAMPLE_RATE)); }

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

void fillVideoInfo(const char*, char* raw, const char*, int) {
  LONG_PTR answer = (LONG_PTR)hostStreamInfo(HOST_STREAM_VIDEO_TEXT);
  if (answer > kLowestTextAddress) copyText(raw, kValueBytes, (const char*)answer);
}

// Asks the player's metadata reader for one field of the current file; true when found.
bool readFileField(const char* field, char* raw, const char* path) {
  ExtendedInfoRequest request = {path, field, raw, (int)kValueBytes};
  bool found = hostFileField(&request);
  raw[kValueBytes - 1] = '\0';
  return found;
}

void fillYear2d(const char*, char* raw, const char* path, int) {
  if (readFileField("year", raw, path)) keepLastTwo(raw);
}

void fillPbState(const char*, char* raw, const char*, int) {
  int state = hostPlayState();
  fillNumber(raw, state == HOST_STATE_PAUSED ? 2 : state);
}

void fillWaTitle(const char*, char* raw, const char* path, int) {
  char* title = (char*)GlobalAlloc(GPTR, kValueBytes);
  if (!title) return;
  TitleHookRequest request = {path, title};
  hostFileTitle(&request);
  title[kValueBytes - 1] = '\0';
  copyText(raw, kValueBytes, title);
  GlobalFree(title);
}

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

TagFill fillFor(const char* tag) {
  for (const TagRow& row : kTags)
    if (lstrcmpiA(tag, row.name) == 0) return row.fill;
  return fillFileField;
}

// Paths, times and numbers are never cut: the lines a sheet needs (FILE, INDEX, TRACK) hold them.
bool keptWhole(TagFill fill) {
  return fill == fillFilePath || fill == fillFileName || fill == fillFileDir || fill == fillFileExt ||
         fill == fillFileType || fill == fillCurPos || fill == fillTrackCount;
}

}  // namespace

void setTagRecord(const TagRecord* tagRecord) { gRecord = tagRecord; }

char* __cdecl resolveTag(const char* tag, void* /*context*/) {
  if (!tag) return nullptr;
  char currentPath[kPathBytes];
  copyText(currentPath, sizeof currentPath, hostEntryPath(hostPlaylistIndex()));
  int positionMs = record().positionMs;

  char raw[kValueBytes] = {0};
  TagFill fill = fillFor(tag);
  fill(tag, raw, currentPath, positionMs);
  if (!raw[0]) return nullptr;
  size_t limit = record().valueBytesMax;
  if (!keptWhole(fill) && limit > 0 && limit < kValueBytes) raw[limit] = '\0';

  char* value = (char*)GlobalAlloc(GPTR, kValueBytes);
  if (!value) return nullptr;
  literalTagValue(raw, value, kValueBytes);
  return value;
}

void __cdecl freeTagValue(char* value, void* /*context*/) {
  if (value) GlobalFree(value);
}
