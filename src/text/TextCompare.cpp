// Text operations: comparison and the name table.
#include "text/Strut.h"
#include "text/TextScan.h"

using namespace strut_scan;

void TextCompare(std::string_view first, std::string_view second, int32_t start,
                 uint32_t flags, TMem_Compare& result) {
  result = {};
  int32_t end = Len(first);
  if (start < 0 || start >= end || second.empty()) return;
  if (flags & TC_TRIM) {
    while (start < end && IsBlank(Byte(first, start))) ++start;
    while (end > start && IsBlank(Byte(first, end - 1))) --end;
    if (start == end) return;  // nothing but blanks: an empty range
  }
  const int32_t secondLength = Len(second);
  const int32_t limit = (flags & TC_SECONDLENGTH) ? secondLength : -1;
  MemCompare(first.data(), start, end, second.data(), 0, secondLength, limit,
             flags & (TC_EXACT | TC_FIRSTLENGTH), result);
}

bool TextSame(std::string_view first, std::string_view second, uint32_t flags) {
  if (first.empty() && second.empty()) return true;
  TMem_Compare result;
  TextCompare(first, second, 0, flags, result);
  return result.Outcome == CMP_EQUAL;
}

uint32_t NameLookup(std::string_view text, const void* table, uint32_t dflt) {
  if (text.empty() || !table) return dflt;
  const auto* entry = static_cast<const unsigned char*>(table);
  while (const size_t n = entry[0]) {
    const unsigned char* name = entry + 1;
    const unsigned char* value = name + n;
    if (n == text.size()) {
      size_t i = 0;
      while (i < n && FoldUpper(name[i]) == FoldUpper(static_cast<unsigned char>(text[i]))) ++i;
      if (i == n)
        return uint32_t{value[0]} | uint32_t{value[1]} << 8 | uint32_t{value[2]} << 16 |
               uint32_t{value[3]} << 24;
    }
    entry = value + 4;
  }
  return dflt;
}
