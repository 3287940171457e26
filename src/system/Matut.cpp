// Integer arithmetic.
#include "system/Matut.h"

#include <algorithm>

void MulInt(int32_t& x, int32_t n) {
  x = static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(n));
}

int32_t DivOr(int32_t a, int32_t b, int32_t dflt) {
  if (b == 0) return dflt;
  if (b == -1) return WrapNeg(a);  // INT32_MIN / -1 would trap
  return a / b;
}

std::pair<int32_t, int32_t> MinMax(int32_t a, int32_t b) {
  return {std::min(a, b), std::max(a, b)};
}

std::pair<int32_t, int32_t> MaxMin(int32_t a, int32_t b) {
  return {std::max(a, b), std::min(a, b)};
}

void ClampInt(int32_t& x, int32_t a, int32_t b) {
  const auto [lo, hi] = MinMax(a, b);
  if (x < lo) x = lo;
  if (x > hi) x = hi;
}

bool InRange(int32_t x, int32_t lo, int32_t hi) { return lo <= x && x <= hi; }

int32_t FitRange(int32_t len, int32_t offset, int32_t low, int32_t high, int32_t& start,
                 int32_t& end, uint16_t flags) {
  if (high < low) {
    if (!(flags & FIT_ANYORDER)) {
      start = end = 0;
      return FIT_EMPTY;
    }
    std::swap(low, high);
  }
  const int32_t span = len < 0 ? WrapNeg(len) : len;
  int32_t s;
  int32_t e;
  if (flags & FIT_CENTER) {
    // Truncation toward zero, as the division of the machine does.
    const int64_t room = static_cast<int64_t>(high) - low - span;
    s = WrapAdd(low, static_cast<int32_t>(room / 2));
    e = WrapAdd(s, span);
  } else {
    switch (flags & (FIT_HIGH | FIT_OUTSIDE)) {
      case 0:
        s = low;
        e = WrapAdd(low, span);
        break;
      case FIT_HIGH:
        s = WrapSub(high, span);
        e = high;
        break;
      case FIT_OUTSIDE:
        s = WrapSub(low, span);
        e = low;
        break;
      default:
        s = high;
        e = WrapAdd(high, span);
        break;
    }
    const bool subtract = (flags & FIT_SUBOFFSET) && (flags & FIT_HIGH);
    const int32_t d = subtract ? WrapNeg(offset) : offset;
    s = WrapAdd(s, d);
    e = WrapAdd(e, d);
  }
  int32_t result = FIT_PLACED;
  if ((flags & FIT_CLAMPLOW) && s < low) {
    s = low;
    e = std::max(e, s);
    result = FIT_CLAMPED;
  }
  if ((flags & FIT_CLAMPHIGH) && e > high) {
    e = high;
    s = std::min(s, e);
    result = FIT_CLAMPED;
  }
  start = s;
  end = e;
  return result;
}
