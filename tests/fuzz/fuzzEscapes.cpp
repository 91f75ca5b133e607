// Fuzzes the escape and case filter: any text, any destination size.
#include "../../sheet/escapeFilter.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t destBytes = data[0];  // 0 to 255, including sizes far below the text
  FuzzText text(data + 1, size - 1);

  ExactBuffer small(destBytes);
  applyEscapes(text.c_str(), small.data, small.size);
  if (destBytes > 0) FUZZ_CHECK(memchr(small.data, 0, small.size) != nullptr);

  // A destination as large as the source always holds the whole output.
  ExactBuffer full(text.length() + 1);
  applyEscapes(text.c_str(), full.data, full.size);
  FUZZ_CHECK(strlen(full.data) <= text.length());
  return 0;
}
