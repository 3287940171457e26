// The input layout of the toolkit's fuzz targets: a fixed number of control bytes (read as
// little-endian words and single bytes; missing bytes read as 0), then text fields separated
// by a zero byte, the last field taking the rest of the input (zero bytes included).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  uint32_t Word() {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w |= uint32_t{Byte()} << (8 * i);
    return w;
  }
  int32_t Int() { return static_cast<int32_t>(Word()); }
  // The next field up to a zero byte (which is consumed).
  std::string_view Field() {
    const size_t end = rest_.find('\0');
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return field;
  }
  std::string_view Rest() {
    const std::string_view rest = rest_;
    rest_ = {};
    return rest;
  }

 private:
  std::string_view rest_;
};

// A failed invariant is a finding: report it and abort, which libFuzzer records.
#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, \
                   __LINE__);                                                        \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)
