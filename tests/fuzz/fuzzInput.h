// Helpers shared by the fuzzers: the input as a NUL-terminated text in a heap block of its exact
// size, and buffers of exact sizes, so that AddressSanitizer sees any byte written past them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

struct FuzzText {
  FuzzText(const uint8_t* data, size_t size) : bytes(size + 1) {
    memcpy(bytes.data(), data, size);
    bytes[size] = 0;
  }
  const char* c_str() const { return bytes.data(); }
  size_t length() const { return strlen(bytes.data()); }
  std::vector<char> bytes;
};

// A buffer of exactly n bytes, filled with a marker.
struct ExactBuffer {
  explicit ExactBuffer(size_t n) : size(n), data(static_cast<char*>(malloc(n ? n : 1))) { memset(data, 0x5A, size); }
  ~ExactBuffer() { free(data); }
  ExactBuffer(const ExactBuffer&) = delete;
  ExactBuffer& operator=(const ExactBuffer&) = delete;
  size_t size;
  char* data;
};

#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) abort(); \
  } while (0)
