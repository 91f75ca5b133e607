// The cue file: exactly the editor's text, ending with a line break.
#include "cueFile.h"

#include "../base/text.h"
#include "../store/atomicFile.h"
#include "sheetState.h"

namespace {

const char kBackupExtension[] = ".bak";

bool endsWithLineBreak(const char* text, size_t length) {
  return length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r');
}

}  // namespace

CueWrite writeCueFile(const char* path, char* text, size_t length) {
  CueWrite result = {0, ""};
  // Cue readers refuse a sheet whose last line has no line break.
  if (length > 0 && !endsWithLineBreak(text, length)) {
    text[length++] = '\r';
    text[length++] = '\n';
  }
  bool keepEarlier = isFile(path) && !sheetWrote(path);
  if (keepEarlier) {
    size_t pathLength = textLength(path, kPathBytes);
    if (pathLength + sizeof kBackupExtension > kPathBytes) {
      result.error = ERROR_FILENAME_EXCED_RANGE;  // the earlier file could not be kept
      return result;
    }
    copyText(result.backupPath, sizeof result.backupPath, path);
    appendTo(result.backupPath, sizeof result.backupPath, kBackupExtension);
  }
  char temp[kPathBytes];
  if (!temporaryNameBeside(path, temp)) {
    result.error = ERROR_FILENAME_EXCED_RANGE;
    result.backupPath[0] = '\0';
    return result;
  }
  result.error = replaceFile(path, temp, text, length, keepEarlier ? result.backupPath : nullptr);
  if (result.error) result.backupPath[0] = '\0';
  return result;
}
