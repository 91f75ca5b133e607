// Formatting an entry and placing it into the sheet.
#include "entryMaker.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../host/hostLink.h"
#include "../sheet/escapeFilter.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetEdit.h"
#include "../store/settings.h"
#include "cueEditor.h"
#include "sheetState.h"

namespace {

// Each time a formatted entry fills its buffer and may have been cut, the values of the tags
// (other than paths, times and numbers) are cut to half and the entry is formatted again, so that
// the lines a sheet needs (FILE, TRACK, INDEX) stay whole.
const size_t kShortestCut = 1;
const size_t kFileBlocksMax = 99;  // FILE blocks looked at for the playing file
const size_t kFileLineBytes = kPathBytes + 32;

struct Entry {
  char sent[kSentTemplateBytes];
  char formatted[kTextBytes];
  char header[kTextBytes];
  char entry[kTextBytes];
};

const char kSampleTitle[] = "Sample Title";
const char kSamplePerformer[] = "Sample Performer";
// What the player's formatter writes for a template it cannot read.
const char* const kFormatterComplaints[] = {"[SYNTAX ERROR IN FORMATTING STRING]", "[UNKNOWN FUNCTION]"};

CRITICAL_SECTION gFormatLock;
Entry gEntry;

// Whether the formatter complained about the template it formatted last.
bool formatterComplained() {
  for (const char* complaint : kFormatterComplaints)
    if (containsText(gEntry.formatted, complaint)) return true;
  return false;
}

// Has the player format one template for the file at path, then filters it into dest. Returns
// false when the result filled a buffer and may have been cut.
bool formatInto(const char* templateText, const char* path, char* dest) {
  const FormatCallbacks callbacks = {resolveTagWide, freeTagValueWide, resolveTag, freeTagValue};
  lineBreaksAsEscapes(templateText, gEntry.sent, kSentTemplateBytes);
  bool filled = hostFormatTemplate(gEntry.sent, path, callbacks, gEntry.formatted, kTextBytes);
  applyEscapes(gEntry.formatted, dest, kTextBytes);
  return !filled && textLength(dest, kTextBytes) < kTextBytes - 1;
}

// The entry's recording, into path (kPathBytes): the one that played at the mark, else the
// player's current entry.
void entryPathOf(const TagRecord* tags, char* path) {
  if (tags->path && tags->path[0]) copyText(path, kPathBytes, tags->path);
  else hostEntryPathText(hostPlaylistIndex(), path);
}

// Formats the header and the entry for the recording at path, cutting long tag values until both
// fit whole.
void formatEntry(TagRecord* tags, const char* path) {
  EnterCriticalSection(&gFormatLock);
  for (size_t cut = kValueChars;; cut /= 2) {  // the first cut is the value block itself
    tags->valueBytesMax = cut;
    bool whole = formatInto(settings().headerTemplate, path, gEntry.header);
    whole = formatInto(settings().trackTemplate, path, gEntry.entry) && whole;
    if (whole || cut <= kShortestCut) break;
  }
  tags->valueBytesMax = kValueBytes;
  LeaveCriticalSection(&gFormatLock);
}

// Before an entry is formatted: a sheet emptied by hand is a new one, and in a sheet with
// tracks the next number follows them. Returns whether the entry is the sheet's first, which
// the header goes before.
bool followTheSheet(const EditorText& sheet) {
  bool empty = true;
  int tracks = sheet.text ? countTracks(sheet.text, sheet.length, &empty) : 0;
  if (empty) {
    forgetSheet();
    markSheetChanged();
  } else if (tracks > 0) {
    setEntryCounter(firstTrackNumber(sheet.text, sheet.length) + tracks);
  }
  // An opened sheet has its own header.
  return entryCounter() <= 1 && !openedSheetPath()[0];
}

// The FILE block an entry for the recording at path goes into: the first that names it, else
// the first that names it with another extension (a rip re-encoded); or, when the sheet spans
// several files and none names it, a new block (its FILE line written into fileLine).
EntryTarget targetFor(const EditorText& sheet, const char* path, char* fileLine) {
  FileBlock blocks[kFileBlocksMax];
  size_t count = listFileBlocks(sheet.text, sheet.length, blocks, kFileBlocksMax);
  if (count > kFileBlocksMax) count = kFileBlocksMax;
  char folder[kPathBytes];
  sheetFolder(folder, sizeof folder);
  int baseNamed = -1;
  for (size_t i = 0; i < count && path[0]; ++i) {
    FileMatch match = matchFileLine(sheet.text + blocks[i].nameAt, blocks[i].nameLength, folder, path);
    if (match == kFileMatchPath) return EntryTarget{(int)i, nullptr};
    if (match == kFileMatchBaseName && baseNamed < 0) baseNamed = (int)i;
  }
  if (baseNamed >= 0) return EntryTarget{baseNamed, nullptr};
  // The sheet's own file, or a sheet of no FILE lines: as it always was.
  if (count == 0 || !path[0] || !sheetAudioPath()[0] || samePath(path, sheetAudioPath()))
    return EntryTarget{0, nullptr};
  if (!composeFileLine(path, folder, fileLine, kFileLineBytes)) return EntryTarget{0, nullptr};
  return EntryTarget{-1, fileLine};
}

// An entry placed at the sheet's end ends with a line break, so that typing after it starts a
// line of its own: the last edit, when it reaches the end, gets one (placed has room for it).
void endWithLineBreak(size_t length, TextEdit* edits, size_t count, char* placed, size_t placedBytes) {
  if (count == 0) return;
  TextEdit& last = edits[count - 1];
  size_t end = last.externalLength;
  bool atEnd = last.external == placed && last.at + last.removeLength == length;
  bool broken = end > 0 && (placed[end - 1] == '\n' || placed[end - 1] == '\r');
  if (!atEnd || broken || end + 3 > placedBytes) return;
  placed[end] = '\r';
  placed[end + 1] = '\n';
  placed[end + 2] = '\0';
  last.externalLength = end + 2;
}

// Puts the formatted entry into the sheet: in time order and numbered when the sheet's tracks
// are recognised, at the end otherwise.
void placeInSheet(const EditorText& sheet, bool first, const char* path) {
  char fileLine[kFileLineBytes] = "";
  EntryTarget target = first ? EntryTarget{0, nullptr} : targetFor(sheet, path, fileLine);
  size_t editsMax = placementEditsMax(sheet.text, sheet.length);
  size_t placedBytes = placedTextBytes(textLength(gEntry.header, kTextBytes), textLength(gEntry.entry, kTextBytes),
                                       textLength(fileLine, kFileLineBytes));
  TextEdit* edits = (TextEdit*)GlobalAlloc(GMEM_FIXED, editsMax * sizeof(TextEdit));
  char* placed = (char*)GlobalAlloc(GMEM_FIXED, placedBytes);
  if (edits && placed) {
    EntryPlacement placement;
    size_t count = placeEntry(sheet.text, sheet.length, first ? gEntry.header : nullptr, gEntry.entry, target,
                              placed, placedBytes, edits, editsMax, &placement);
    endWithLineBreak(sheet.length, edits, count, placed, placedBytes);
    if (placement.atEnd && count == 1)
      appendToEditor(placed);
    else
      applyToEditor(sheet.text, sheet.length, edits, count, false);
    setEntryCounter(placement.ordered ? placement.nextNumber : entryCounter() + 1);
  }
  if (edits) GlobalFree(edits);
  if (placed) GlobalFree(placed);
}

}  // namespace

void createFormatLock() { InitializeCriticalSection(&gFormatLock); }
void deleteFormatLock() { DeleteCriticalSection(&gFormatLock); }

void makeEntry(TagRecord* tags, const EditorText& before) {
  bool first = followTheSheet(before);
  tags->entryNumber = entryCounter();
  char path[kPathBytes];
  entryPathOf(tags, path);
  formatEntry(tags, path);

  // The sheet belongs to the file that played at its first entry.
  if (!sheetAudioPath()[0]) setSheetAudioPath(path);
  // Read again: the player may have run messages of its own while it formatted the entry.
  EditorText sheet = readEditorText();
  if (sheet.text) placeInSheet(sheet, first, path);
  freeEditorText(&sheet);
}

bool entryAddsFileBlock(const EditorText& sheet, const char* path) {
  bool empty = true;
  if (!openedSheetPath()[0] || !sheet.text) return false;
  countTracks(sheet.text, sheet.length, &empty);
  char fileLine[kFileLineBytes];
  return !empty && targetFor(sheet, path, fileLine).fileBlock < 0;
}

PreviewProblem previewEntry(char* out, size_t outBytes) {
  out[0] = '\0';
  int position = hostPositionMs();
  TagRecord sample = {kSampleTitle, kSamplePerformer, 1, position > 0 ? position : 0, kValueBytes, nullptr};
  char path[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), path);
  char* header = (char*)GlobalAlloc(GMEM_FIXED, kTextBytes);
  char* entry = (char*)GlobalAlloc(GMEM_FIXED, kTextBytes);
  PreviewProblem problem = kPreviewFine;
  if (header && entry) {
    EnterCriticalSection(&gFormatLock);
    const TagRecord* kept = tagRecord();
    setTagRecord(&sample);
    formatInto(settings().headerTemplate, path, header);
    if (formatterComplained()) problem = kPreviewHeaderUnread;
    formatInto(settings().trackTemplate, path, entry);
    if (problem == kPreviewFine && formatterComplained()) problem = kPreviewTrackUnread;
    setTagRecord(kept);
    LeaveCriticalSection(&gFormatLock);
    copyText(out, outBytes, header);
    appendTo(out, outBytes, "\r\n");
    appendTo(out, outBytes, entry);
  }
  if (header) GlobalFree(header);
  if (entry) GlobalFree(entry);
  return problem;
}
