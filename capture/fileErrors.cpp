// The errors of file calls, told plainly.
#include "fileErrors.h"

#include "../base/limits.h"
#include "../base/text.h"

namespace {

const char* reasonFor(DWORD error, bool reading) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      if (reading) return "It does not exist.";
      return "Its folder does not exist or cannot be reached.";
    case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: case ERROR_BAD_NET_NAME: case ERROR_NETNAME_DELETED:
    case ERROR_DEV_NOT_EXIST: case ERROR_NOT_READY: case ERROR_UNEXP_NET_ERR:
      return "Its folder does not exist or cannot be reached.";
    case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT:
      if (reading) return "It may not be read: it is protected, or open in another program.";
      return "The folder or the file may not be written to: it is read-only, protected, or open "
             "in another program.";
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION:
      return "Another program holds the file open.";
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL:
      return "The disk is full.";
    case ERROR_FILENAME_EXCED_RANGE: case ERROR_BUFFER_OVERFLOW:
      return "The path is too long.";
    case ERROR_INVALID_NAME:
      return "That is not a valid file name.";
    default:
      return nullptr;
  }
}

}  // namespace

void appendFileError(char* message, size_t messageBytes, DWORD error, bool reading) {
  const char* reason = reasonFor(error, reading);
  if (reason) {
    appendTo(message, messageBytes, reason);
    return;
  }
  char number[kNumberTextBytes];
  formatInt(number, sizeof number, (long long)error);
  appendTo(message, messageBytes, "Windows reported error ");
  appendTo(message, messageBytes, number);
  appendTo(message, messageBytes, ".");
}
