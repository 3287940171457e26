// Byte-range comparison and search.
#include <cstring>

#include "system/Memory.h"

namespace {

inline unsigned char FoldUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

inline unsigned char FoldLower(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Index of the first of n bytes where a and b differ (ASCII letters folded unless exact),
// or n when they agree.
int32_t FirstDifference(const unsigned char* a, const unsigned char* b, int32_t n, bool exact) {
  if (exact) {
    if (std::memcmp(a, b, n) == 0) return n;
    int32_t i = 0;
    while (a[i] == b[i]) ++i;
    return i;
  }
  for (int32_t i = 0; i < n; ++i)
    if (a[i] != b[i] && FoldUpper(a[i]) != FoldUpper(b[i])) return i;
  return n;
}

}  // namespace

void MemCompare(const void* p1, int32_t start1, int32_t end1, const void* p2, int32_t start2,
                int32_t end2, int32_t limit, uint32_t flags, TMem_Compare& result) {
  result = {};
  if (!p1 || !p2 || start1 < 0 || end1 <= 0 || end1 < start1 || start2 < 0 || end2 <= 0 ||
      end2 < start2)
    return;
  const int32_t len1 = end1 - start1;
  const int32_t len2 = end2 - start2;
  int32_t outcome = CMP_EQUAL;
  int32_t n = len1;
  if (!(flags & MC_FIRSTLENGTH)) {
    if (len1 < len2) outcome = CMP_LESS;
    if (len1 > len2) {
      outcome = CMP_GREATER;
      n = len2;
    }
  }
  if (limit == 0) return;
  if (limit > 0 && limit <= n) {
    outcome = CMP_EQUAL;
    n = limit;
  }
  // With MC_FIRSTLENGTH the first range may be the longer one: the second range's end then
  // sorts before any byte, as an end always does, and nothing past it is read.
  if (n > len2) {
    outcome = CMP_GREATER;
    n = len2;
  }
  const auto* a = static_cast<const unsigned char*>(p1) + start1;
  const auto* b = static_cast<const unsigned char*>(p2) + start2;
  const bool exact = flags & MC_EXACT;
  const int32_t i = FirstDifference(a, b, n, exact);
  if (i < n) {
    const unsigned char ca = exact ? a[i] : FoldUpper(a[i]);
    const unsigned char cb = exact ? b[i] : FoldUpper(b[i]);
    result.Outcome = ca < cb ? CMP_LESS : CMP_GREATER;
    result.Offset1 = start1 + i;
    result.Offset2 = start2 + i;
    return;
  }
  result.Outcome = outcome;
  if (outcome != CMP_EQUAL) {
    result.Offset1 = start1 + n;
    result.Offset2 = start2 + n;
  }
}

namespace {

// The first position in [from, to) holding c (or, folded, either case of c); to when none.
int32_t ScanFirstByte(const unsigned char* text, int32_t from, int32_t to, unsigned char c,
                      bool exact) {
  if (from >= to) return to;
  const unsigned char lower = FoldLower(c);
  const unsigned char upper = FoldUpper(c);
  if (exact || lower == upper) {
    const void* hit = std::memchr(text + from, c, to - from);
    return hit ? static_cast<int32_t>(static_cast<const unsigned char*>(hit) - text) : to;
  }
  for (int32_t p = from; p < to; ++p)
    if (text[p] == lower || text[p] == upper) return p;
  return to;
}

}  // namespace

void MemSearch(const void* text, int32_t textLength, const void* pattern, int32_t patternLength,
               int32_t regionStart, int32_t regionLength, uint32_t flags,
               MemSearchCallback callback, void* data) {
  if (!text || !pattern || patternLength <= 0 || regionStart < 0 || regionStart >= textLength)
    return;
  const int32_t available = textLength - regionStart;
  const int32_t region = (regionLength < 0 || regionLength > available) ? available : regionLength;
  const int32_t regionEnd = regionStart + region;
  if (patternLength > region) return;
  // Matches must lie wholly inside the region: the last candidate start is this one.
  const int32_t lastStart = regionEnd - patternLength;
  const auto* t = static_cast<const unsigned char*>(text);
  const auto* pat = static_cast<const unsigned char*>(pattern);
  const bool exact = flags & MS_EXACT;

  int32_t p = regionStart;
  while (p <= lastStart) {
    p = ScanFirstByte(t, p, lastStart + 1, pat[0], exact);
    if (p > lastStart) return;
    if (FirstDifference(t + p + 1, pat + 1, patternLength - 1, exact) == patternLength - 1) {
      const int32_t resume = (flags & MS_NOOVERLAP) ? p + patternLength : p + 1;
      const int32_t left = resume <= lastStart ? lastStart + 1 - resume : 0;
      if (!callback || !callback(data, left, resume, -1, 0, patternLength, p)) return;
      if (flags & MS_FIRSTONLY) return;
      p = resume;
    } else {
      ++p;
    }
  }
}

namespace {

struct Collector {
  TMem_Array* target;
  int32_t count;
};

bool CollectMatch(void* data, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t offset) {
  auto* collector = static_cast<Collector*>(data);
  if (ArrAppendInt(*collector->target, offset) < 0) return false;  // no memory: stop here
  ++collector->count;
  return true;
}

}  // namespace

int32_t MemSearchCollect(const void* text, int32_t textLength, const void* pattern,
                         int32_t patternLength, int32_t regionStart, int32_t regionLength,
                         uint32_t flags, TMem_Array& target) {
  if (target.ElemSize != 1 && target.ElemSize != 2 && target.ElemSize != 4) return 0;
  // The collector travels as the callback's data, which keeps the search reentrant.
  Collector collector{&target, 0};
  MemSearch(text, textLength, pattern, patternLength, regionStart, regionLength, flags,
            CollectMatch, &collector);
  return collector.count;
}
