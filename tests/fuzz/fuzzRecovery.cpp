// Fuzzes the recovery copy's text: any bytes are read without overrun, and a copy written from
// any sheet, opened file and tracklist reads back as them, unless the sheet holds a NUL, which
// no editor holds.
#include <cstring>
#include <string>

#include "../../sheet/recoveryText.h"
#include "fuzzInput.h"

namespace {

// The tracklist's lines that are not blank, each ended by CR LF.
std::string tracklistLines(const std::string& tracklist) {
  std::string out, line;
  auto flush = [&] {
    if (line.find_first_not_of(" \t") != std::string::npos) out += line + "\r\n";
    line.clear();
  };
  for (size_t i = 0; i < tracklist.size(); ++i) {
    char c = tracklist[i];
    if (c == '\r' || c == '\n') {
      flush();
      if (c == '\r' && i + 1 < tracklist.size() && tracklist[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  flush();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Any bytes as a copy, in a buffer of exactly their size.
  ExactBuffer bytes(size);
  if (size) memcpy(bytes.data, data, size);
  RecoveredSheet sheet;
  if (parseRecovery(bytes.data, size, &sheet)) {
    FUZZ_CHECK(sheet.nextEntry >= 1);
    FUZZ_CHECK(sheet.text >= bytes.data && sheet.text + sheet.textBytes == bytes.data + size);
    FUZZ_CHECK(strlen(sheet.audioPath) < sizeof sheet.audioPath);
    ExactBuffer list(sheet.tracklistLinesBytes + 1);
    FUZZ_CHECK(recoveredTracklist(sheet, list.data, list.size) <= sheet.tracklistLinesBytes);
  }

  // The same bytes as a sheet, its audio path, an opened file and a tracklist, written and read back.
  if (size < 4) return 0;
  int next = 1 + data[0] * 97;
  size_t audioLength = data[1] % 40;
  size_t tracklistLength = data[2] % 60;
  bool opened = data[3] & 1;
  if (4 + audioLength + tracklistLength > size) return 0;
  std::string audio((const char*)data + 4, audioLength);
  std::string tracklist((const char*)data + 4 + audioLength, tracklistLength);
  std::string text((const char*)data + 4 + audioLength + tracklistLength, size - 4 - audioLength - tracklistLength);
  if (audio.find('\0') != std::string::npos) return 0;  // a path ends at its NUL
  CopyHeader header = {next, text.size(), audio.c_str(), opened ? "D:\\set.cue" : "", "u10",
                       tracklist.data(), tracklist.size()};
  ExactBuffer out(recoveryHeaderBytes(header) + 1);
  size_t headerLength = formatRecoveryHeader(header, out.data, out.size);
  bool cleanPath = true;
  for (unsigned char c : audio) cleanPath = cleanPath && c >= 0x20;
  bool cleanTracklist = tracklist.find('\0') == std::string::npos;
  FUZZ_CHECK((headerLength > 0) == (cleanPath && cleanTracklist));
  if (headerLength == 0) return 0;
  FUZZ_CHECK(headerLength == recoveryHeaderBytes(header));
  std::string copy = std::string(out.data, headerLength) + text;
  ExactBuffer exact(copy.size());
  memcpy(exact.data, copy.data(), copy.size());
  bool read = parseRecovery(exact.data, copy.size(), &sheet);
  FUZZ_CHECK(read == (text.find('\0') == std::string::npos));
  if (read) {
    FUZZ_CHECK(sheet.utf8 && sheet.nextEntry == next);
    FUZZ_CHECK(std::string(sheet.text, sheet.textBytes) == text);
    FUZZ_CHECK(audio == sheet.audioPath);
    FUZZ_CHECK(std::string(sheet.openedPath) == (opened ? "D:\\set.cue" : ""));
    ExactBuffer list(sheet.tracklistLinesBytes + 1);
    size_t listLength = recoveredTracklist(sheet, list.data, list.size);
    FUZZ_CHECK(std::string(list.data, listLength) == tracklistLines(tracklist));
  }
  return 0;
}
