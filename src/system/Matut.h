// Matut: the small integer routines the other units share. All values are signed 32-bit;
// arithmetic wraps around modulo 2^32 as the machine does, so no input is undefined.
#pragma once

#include <cstdint>
#include <utility>

// Wrapping arithmetic on signed 32-bit values (helpers for the units above).
constexpr int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t WrapNeg(int32_t a) { return WrapSub(0, a); }
// floor(v / 2), as an arithmetic shift gives it: the centring rule of alignment and text.
constexpr int32_t HalfFloor(int64_t v) { return static_cast<int32_t>(v >> 1); }

// X := X x N, keeping the low 32 bits.
void MulInt(int32_t& x, int32_t n);
// Default when B = 0, else A / B truncated toward zero (INT32_MIN / -1 wraps to INT32_MIN).
int32_t DivOr(int32_t a, int32_t b, int32_t dflt);
// The pair ordered ascending (min, max) and descending (max, min).
std::pair<int32_t, int32_t> MinMax(int32_t a, int32_t b);
std::pair<int32_t, int32_t> MaxMin(int32_t a, int32_t b);
// X clamped into the bounds A and B, given in either order.
void ClampInt(int32_t& x, int32_t a, int32_t b);
// Lo <= X <= Hi; always false when Lo > Hi.
bool InRange(int32_t x, int32_t lo, int32_t hi);

// FitRange flags.
constexpr uint16_t FIT_HIGH = 0x01;      // place at the high end (with FIT_OUTSIDE: beyond it)
constexpr uint16_t FIT_CENTER = 0x02;    // centre between Low and High
constexpr uint16_t FIT_CLAMPLOW = 0x04;  // Start may not lie below Low
constexpr uint16_t FIT_CLAMPHIGH = 0x08; // End may not lie above High
constexpr uint16_t FIT_OUTSIDE = 0x10;   // place before Low (with FIT_HIGH: after High)
constexpr uint16_t FIT_ANYORDER = 0x20;  // accept Low and High in either order
constexpr uint16_t FIT_SUBOFFSET = 0x40; // with FIT_HIGH: subtract the offset

// FitRange results.
constexpr int32_t FIT_PLACED = 0;
constexpr int32_t FIT_EMPTY = 1;    // High < Low without FIT_ANYORDER: Start = End = 0
constexpr int32_t FIT_CLAMPED = 2;

// Places a span of |Len| relative to [Low, High], shifted by Offset, and clamps it.
int32_t FitRange(int32_t len, int32_t offset, int32_t low, int32_t high, int32_t& start,
                 int32_t& end, uint16_t flags);
