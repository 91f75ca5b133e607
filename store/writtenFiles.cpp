// The notes: a line "<hash> <size>" for each content written and "<hash> <size> <path>" for each
// backup made, the newest last, in the first data folder that takes the file. A content is known
// by its 64-bit FNV-1a hash and its size.
#include "writtenFiles.h"

#include <windows.h>

#include "../base/limits.h"
#include "../base/text.h"
#include "atomicFile.h"
#include "fileSystem.h"
#include "pluginFolder.h"

namespace {

const char kNotesName[] = "lumo_written.txt";  // in each data folder

const int kNotesKept = 256;
const size_t kHashDigits = 16;
const size_t kNoteBytes = kHashDigits + 1 + kNumberTextBytes + 2;  // hash, blank, size, CR LF
const size_t kBackupNoteBytes = kNoteBytes + 1 + kPathBytes;      // and a blank and a path
const size_t kNotesBytesMax = (size_t)kNotesKept * kBackupNoteBytes;
const size_t kContentBytesMax = 64 * 1024 * 1024;  // larger files are no sheets of ours

struct Content {
  unsigned long long hash;
  size_t length;
};

Content contentOf(const char* bytes, size_t length) {
  unsigned long long hash = 14695981039346656037ULL;
  for (size_t i = 0; i < length; ++i) {
    hash ^= (unsigned char)bytes[i];
    hash *= 1099511628211ULL;
  }
  return Content{hash, length};
}

// "<16 hex digits> <size>" of one content, then " <path>" when a path is given, and CR LF, into
// out (outBytes); false, with out empty, when it does not fit.
bool formatNote(const Content& content, const char* path, char* out, size_t outBytes) {
  const char kHex[] = "0123456789abcdef";
  char hash[kHashDigits + 1];
  for (size_t i = 0; i < kHashDigits; ++i) hash[i] = kHex[(content.hash >> (4 * (kHashDigits - 1 - i))) & 15];
  hash[kHashDigits] = '\0';
  char size[kNumberTextBytes];
  formatInt(size, sizeof size, (long long)content.length);
  size_t at = 0;
  out[0] = '\0';
  bool fits = putText(out, outBytes, &at, hash) && putText(out, outBytes, &at, " ") &&
              putText(out, outBytes, &at, size) &&
              (!path || (putText(out, outBytes, &at, " ") && putText(out, outBytes, &at, path))) &&
              putText(out, outBytes, &at, "\r\n");
  if (!fits) out[0] = '\0';
  return fits;
}

// The content of the file at path; false when it cannot be read.
bool contentOfFile(const char* path, Content* content) {
  size_t length = 0;
  DWORD error = 0;
  char* bytes = readWholeFile(path, kContentBytesMax, 0, &length, &error);
  if (!bytes) return false;
  *content = contentOf(bytes, length);
  GlobalFree(bytes);
  return true;
}

// The notes of data folder `which` (global memory, free it), or null.
char* readNotes(int which, size_t* length) {
  char folder[kPathBytes];
  char path[kPathBytes];
  DWORD error = 0;
  if (!dataFolder(which, false, folder, sizeof folder) || !joinPath(folder, kNotesName, path, sizeof path))
    return nullptr;
  return readWholeFile(path, kNotesBytesMax * 2, 0, length, &error);
}

// Whether one line of the notes is note (which ends with its CR LF).
bool notesHold(const char* notes, size_t length, const char* note) {
  size_t noteLength = textLength(note, kBackupNoteBytes);
  for (size_t at = 0; at + noteLength <= length;) {
    size_t i = 0;
    while (i < noteLength && notes[at + i] == note[i]) ++i;
    if (i == noteLength) return true;
    while (at < length && notes[at] != '\n') ++at;
    ++at;
  }
  return false;
}

bool knownNote(const char* note) {
  for (int which = 0; which < kDataFolderCount; ++which) {
    size_t length = 0;
    char* notes = readNotes(which, &length);
    bool known = notes && notesHold(notes, length, note);
    if (notes) GlobalFree(notes);
    if (known) return true;
  }
  return false;
}

// Writes the notes, the newest kNotesKept of them, into data folder `which`.
bool writeNotes(int which, const char* notes, size_t length) {
  char folder[kPathBytes];
  char path[kPathBytes];
  char temp[kPathBytes];
  if (!dataFolder(which, true, folder, sizeof folder) || !joinPath(folder, kNotesName, path, sizeof path) ||
      !temporaryNameBeside(path, playerTag(), temp, sizeof temp))
    return false;
  size_t lines = 0;
  for (size_t i = 0; i < length; ++i) lines += notes[i] == '\n';
  size_t from = 0;
  for (; lines > (size_t)kNotesKept && from < length; ++from)
    if (notes[from] == '\n') --lines;
  return replaceFile(path, temp, notes + from, length - from, nullptr) == 0;
}

}  // namespace

namespace {

// Adds a note to the notes of the first data folder that takes them.
void addNote(const char* note) {
  size_t noteLength = textLength(note, kBackupNoteBytes);
  for (int which = 0; which < kDataFolderCount; ++which) {
    size_t known = 0;
    char* notes = readNotes(which, &known);
    char* all = (char*)GlobalAlloc(GMEM_FIXED, known + noteLength + 1);
    bool written = false;
    if (all) {
      if (notes) CopyMemory(all, notes, known);
      CopyMemory(all + known, note, noteLength);
      written = writeNotes(which, all, known + noteLength);
      GlobalFree(all);
    }
    if (notes) GlobalFree(notes);
    if (written) return;
  }
}

}  // namespace

void noteWrittenContent(const char* bytes, size_t length) {
  char note[kBackupNoteBytes];
  formatNote(contentOf(bytes, length), nullptr, note, sizeof note);
  addNote(note);
}

bool fileHoldsWrittenContent(const char* path) {
  Content content;
  char note[kBackupNoteBytes];
  if (!contentOfFile(path, &content)) return false;
  formatNote(content, nullptr, note, sizeof note);
  return knownNote(note);
}

void noteBackupMade(const char* path) {
  Content content;
  char note[kBackupNoteBytes];
  if (contentOfFile(path, &content) && formatNote(content, path, note, sizeof note)) addNote(note);
}

bool isBackupWeMade(const char* path) {
  Content content;
  char note[kBackupNoteBytes];
  return contentOfFile(path, &content) && formatNote(content, path, note, sizeof note) && knownNote(note);
}
