// The cue file: exactly the editor's text, ending with a line break.
#include "cueFile.h"

#include "../base/pathText.h"
#include "../base/text.h"
#include "../store/atomicFile.h"
#include "../store/fileSystem.h"
#include "../store/pluginFolder.h"
#include "../store/writtenFiles.h"

namespace {

const char kBackupExtension[] = ".bak";
const int kBackupNamesMax = 99;
// Temporary files of earlier versions were named ~lumo<digits>.tmp; one left by a crash is
// removed once it is older than a save could take.
const char kOldTempPattern[] = "~lumo*.tmp";
const unsigned long long kStaleAge = 60ULL * 10000000ULL;  // a minute, in 100 ns units

bool endsWithLineBreak(const char* text, size_t length) {
  return length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r');
}

// path + ".bak" for number 0, path + ".N.bak" for the others; false when it does not fit.
bool backupName(const char* path, int number, char* backup) {
  char digits[kNumberTextBytes];
  size_t length = textLength(path, kPathBytes);
  size_t needed = length + sizeof kBackupExtension;
  if (number > 0) needed += 1 + formatInt(digits, sizeof digits, number);
  if (needed > kPathBytes) return false;
  copyText(backup, kPathBytes, path);
  if (number > 0) {
    appendTo(backup, kPathBytes, ".");
    appendTo(backup, kPathBytes, digits);
  }
  appendTo(backup, kPathBytes, kBackupExtension);
  return true;
}

// The first backup name that is free or holds a backup the plug-in made there of a file it
// wrote itself (and that nobody changed since); false when none fits.
bool chooseBackup(const char* path, char* backup) {
  for (int number = 0; number <= kBackupNamesMax; ++number) {
    if (!backupName(path, number, backup)) break;
    if (!isFile(backup) && !isFolder(backup)) return true;
    if (isFile(backup) && isBackupWeMade(backup) && fileHoldsWrittenContent(backup)) return true;
  }
  backup[0] = '\0';
  return false;
}

struct StaleSearch {
  char folder[kPathBytes];
  unsigned long long now;
};

bool removeIfStale(const char* name, void* context) {
  StaleSearch* search = (StaleSearch*)context;
  char path[kPathBytes];
  if (!joinPath(search->folder, name, path, sizeof path)) return true;
  unsigned long long written = lastWriteTime(path);
  if (written != 0 && written + kStaleAge < search->now) deleteFile(path);
  return true;
}

void removeStaleTemporaryFiles(const char* path) {
  StaleSearch search;
  size_t length = textLength(path, kPathBytes);
  copyText(search.folder, fileNameStart(path, length) + 1, path);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  search.now = ((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime;
  if (search.folder[0]) forEachFileIn(search.folder, kOldTempPattern, removeIfStale, &search);
}

}  // namespace

CueWrite writeCueFile(const char* path, char* text, size_t length, bool keepEarlier) {
  // Cue readers refuse a sheet whose last line has no line break.
  if (length > 0 && !endsWithLineBreak(text, length)) {
    text[length++] = '\r';
    text[length++] = '\n';
  }
  return writeCueBytes(path, text, length, keepEarlier);
}

CueWrite writeCueBytes(const char* path, const char* bytes, size_t length, bool keepEarlier) {
  CueWrite result = {0, ""};
  // A file this sheet wrote that holds something else now was changed by another program.
  if (!keepEarlier && isFile(path) && !fileHoldsWrittenContent(path)) keepEarlier = true;
  if (keepEarlier && isFile(path) && !chooseBackup(path, result.backupPath)) {
    result.error = ERROR_FILENAME_EXCED_RANGE;  // the earlier file could not be kept
    return result;
  }
  char temp[kPathBytes];
  if (!temporaryNameBeside(path, playerTag(), temp, sizeof temp)) {
    result.error = ERROR_FILENAME_EXCED_RANGE;
    result.backupPath[0] = '\0';
    return result;
  }
  removeStaleTemporaryFiles(path);
  result.error = replaceUsersFile(path, temp, bytes, length, result.backupPath[0] ? result.backupPath : nullptr);
  if (result.error) {
    result.backupPath[0] = '\0';
    return result;
  }
  noteWrittenContent(bytes, length);
  if (result.backupPath[0]) noteBackupMade(result.backupPath);
  return result;
}

void describeWrite(const char* path, const CueWrite& write, char* message, size_t messageBytes) {
  copyText(message, messageBytes, path);
  if (!write.backupPath[0]) return;
  appendTo(message, messageBytes, "\r\nThe earlier file was kept as ");
  appendTo(message, messageBytes, write.backupPath);
}
