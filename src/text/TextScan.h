// Byte-level helpers shared by the toolkit's source files (not part of the unit's interface).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace strut_scan {

// Texts longer than 2^31 - 1 bytes are seen as their first 2^31 - 1 bytes: positions are
// signed 32-bit throughout.
inline int32_t Len(std::string_view text) {
  return text.size() > INT32_MAX ? INT32_MAX : static_cast<int32_t>(text.size());
}

inline unsigned char Byte(std::string_view text, int32_t i) {
  return static_cast<unsigned char>(text[static_cast<size_t>(i)]);
}

// Blank: any byte up to 0x20 (0xA0 is not blank).
inline bool IsBlank(unsigned char c) { return c <= 0x20; }

inline unsigned char FoldUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// True when view lies (partly) inside the bytes of text: an edit of text would change it.
inline bool Overlaps(const std::string& text, std::string_view view) {
  if (view.empty() || text.empty()) return false;
  const std::less<const char*> before;
  return before(view.data(), text.data() + text.size()) &&
         before(text.data(), view.data() + view.size());
}

// The chosen positions of a text operation (see "Position normalisation" in Strut.h).
struct Positions {
  int32_t Code = 0;        // 0, or TF_EMPTY / TF_BADSTART when the call does nothing
  int32_t Start = 0;       // the normalised start
  int32_t Count = 0;       // how many positions are examined
  bool Backward = false;   // they run from Start down
  uint32_t Flags = 0;      // the flags in effect: TF_BACKWARD as run, TF_WRAP cleared

  // The lowest of the positions: the first byte of the range they make up.
  int32_t Low() const { return Backward ? Start - Count + 1 : Start; }
};

Positions Normalise(int32_t length, int32_t start, int32_t count, uint32_t flags);

}  // namespace strut_scan
