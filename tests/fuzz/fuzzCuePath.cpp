// Fuzzes the cue file's name: any entry path, any buffer size.
#include <cstring>
#include <string>

#include "../../sheet/cueFileName.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t outBytes = (size_t)data[0] * 2;  // 0 to 510, around the 260 of a path
  FuzzText path(data + 1, size - 1);
  ExactBuffer out(outBytes);
  CuePathResult result = makeCuePath(path.c_str(), out.data, out.size);
  ExactBuffer proposed(outBytes);
  proposeCueName(path.c_str(), proposed.data, proposed.size);
  if (outBytes) {
    std::string name = proposed.data;
    FUZZ_CHECK(name.size() < outBytes);
    FUZZ_CHECK(name.find_first_of("\\/:*?\"<>|") == std::string::npos);
    if (outBytes > 14) FUZZ_CHECK(name.size() >= 4 && name.compare(name.size() - 4, 4, ".cue") == 0);
  }
  if (result != kCuePathOk) {
    if (outBytes) FUZZ_CHECK(out.data[0] == 0);
    return 0;
  }
  std::string cue = out.data;
  std::string entry = path.c_str();
  FUZZ_CHECK(cue.size() < outBytes);
  FUZZ_CHECK(cue.size() >= 4 && cue.compare(cue.size() - 4, 4, ".cue") == 0);
  // The folder part never changes: the cue file sits beside the entry.
  size_t slash = entry.find_last_of("\\/");
  if (slash != std::string::npos) FUZZ_CHECK(cue.compare(0, slash + 1, entry, 0, slash + 1) == 0);
  FUZZ_CHECK(cue.find_first_of("\\/", slash == std::string::npos ? 0 : slash + 1) == std::string::npos);
  return 0;
}
