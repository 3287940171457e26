#include "system/Matut.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Matut, SmallRoutines) {
  int32_t x = 0x10000;
  MulInt(x, 0x10001);  // 0x100010000: only the low 32 bits stay
  EXPECT_EQ(x, 0x10000);

  EXPECT_EQ(DivOr(7, 0, 5), 5);
  EXPECT_EQ(DivOr(-7, 2, 0), -3);
  EXPECT_EQ(DivOr(INT32_MIN, -1, 0), INT32_MIN);  // wraps instead of trapping

  EXPECT_EQ(MinMax(5, 3), std::make_pair(3, 5));
  EXPECT_EQ(MaxMin(3, 5), std::make_pair(5, 3));

  for (auto [in, out] : {std::pair{12, 10}, {-1, 0}, {4, 4}}) {
    int32_t v = in;
    ClampInt(v, 10, 0);
    EXPECT_EQ(v, out) << in;
  }

  EXPECT_TRUE(InRange(0, 0, 10));
  EXPECT_TRUE(InRange(10, 0, 10));
  EXPECT_FALSE(InRange(11, 0, 10));
  EXPECT_FALSE(InRange(5, 10, 0));
}

struct FitCase {
  int32_t len, offset, low, high;
  uint16_t flags;
  int32_t start, end, result;
};

TEST(Matut, FitRange) {
  const FitCase cases[] = {
      {10, 5, 0, 100, 0x09, 95, 100, FIT_CLAMPED},  // high end + 5, clamped at High
      {10, 5, 0, 100, 0x49, 85, 95, FIT_PLACED},    // offset subtracted
      {10, 5, 0, 100, 0x40, 5, 15, FIT_PLACED},     // 0x40 means nothing without 0x01
      {13, 7, 0, 10, 0x02, -1, 12, FIT_PLACED},     // centred: truncated, offset unused
      {5, 0, 0, 10, 0x02, 2, 7, FIT_PLACED},
      {4, 0, 0, -7, 0x22, -6, -2, FIT_PLACED},      // -7/2 truncates toward zero: -3
      {10, 0, 10, 0, 0x00, 0, 0, FIT_EMPTY},        // High < Low
      {10, 0, 10, 0, 0x20, 0, 10, FIT_PLACED},      // ... accepted in either order
      {-10, 0, 0, 100, 0x00, 0, 10, FIT_PLACED},    // |Len|
      {10, 0, 20, 30, 0x10, 10, 20, FIT_PLACED},    // outside, before Low
      {10, 0, 20, 30, 0x11, 30, 40, FIT_PLACED},    // outside, after High
      {10, -15, 20, 30, 0x04, 20, 20, FIT_CLAMPED}, // Start clamped, End pulled up
      {10, 0, 20, 25, 0x0C, 20, 25, FIT_CLAMPED},   // both clamps
  };
  for (const auto& c : cases) {
    int32_t start = 77, end = 77;
    EXPECT_EQ(FitRange(c.len, c.offset, c.low, c.high, start, end, c.flags), c.result)
        << "flags " << c.flags << " len " << c.len;
    EXPECT_EQ(start, c.start) << "flags " << c.flags << " len " << c.len;
    EXPECT_EQ(end, c.end) << "flags " << c.flags << " len " << c.len;
  }
}

TEST(Matut, ExtremeValuesWrapWithoutFault) {
  int32_t start = 0, end = 0;
  EXPECT_EQ(FitRange(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, start, end, 0x02), FIT_PLACED);
  FitRange(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, start, end, 0x01);
  EXPECT_EQ(end, WrapAdd(INT32_MAX, INT32_MAX));
}
