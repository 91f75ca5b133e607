// Fuzzes the recovery copy's text: any bytes are read without overrun, and a copy written from
// any sheet reads back as that sheet, unless the sheet holds a NUL, which no editor holds.
#include <cstring>
#include <string>

#include "../../sheet/recoveryText.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Any bytes as a copy, in a buffer of exactly their size.
  ExactBuffer bytes(size);
  if (size) memcpy(bytes.data, data, size);
  RecoveredSheet sheet;
  if (parseRecovery(bytes.data, size, &sheet)) {
    FUZZ_CHECK(sheet.nextEntry >= 1);
    FUZZ_CHECK(sheet.text >= bytes.data && sheet.text + sheet.textBytes == bytes.data + size);
    FUZZ_CHECK(strlen(sheet.audioPath) < sizeof sheet.audioPath);
  }

  // The same bytes as a sheet, written and read back.
  if (size < 2) return 0;
  int next = 1 + data[0] * 97;
  size_t audioLength = data[1] % 40;
  if (2 + audioLength > size) return 0;
  std::string audio((const char*)data + 2, audioLength);
  std::string text((const char*)data + 2 + audioLength, size - 2 - audioLength);
  char header[kRecoveryHeaderBytes];
  size_t headerLength = formatRecoveryHeader(header, sizeof header, next, text.size(), audio.c_str());
  if (audio.find('\0') != std::string::npos) return 0;  // a path ends at its NUL
  FUZZ_CHECK(headerLength > 0 && headerLength < sizeof header);
  std::string copy = std::string(header, headerLength) + text;
  bool clean = true;
  for (unsigned char c : text) clean = clean && c != 0;  // the editor holds any character but NUL
  for (unsigned char c : audio) clean = clean && c >= 0x20;
  ExactBuffer exact(copy.size());
  memcpy(exact.data, copy.data(), copy.size());
  bool read = parseRecovery(exact.data, copy.size(), &sheet);
  FUZZ_CHECK(read == clean);
  if (read) {
    FUZZ_CHECK(sheet.nextEntry == next);
    FUZZ_CHECK(std::string(sheet.text, sheet.textBytes) == text);
    FUZZ_CHECK(audio == sheet.audioPath);
  }
  return 0;
}
