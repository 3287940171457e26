#include "draw/GraphUt.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

RECT R(int32_t l, int32_t t, int32_t r, int32_t b) {
  RECT c;
  SetRectLTRB(l, t, r, b, c);
  return c;
}

}  // namespace

bool operator==(const RECT& a, const RECT& b) { return RectsEqual(a, b); }
std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

TEST(GraphUt, BasicArithmetic) {
  const RECT a = R(10, 20, 110, 70);
  EXPECT_EQ(RectWidth(a), 100);
  EXPECT_EQ(RectHeight(a), 50);
  EXPECT_TRUE(IsRectZero(R(0, 0, 0, 0)));
  EXPECT_FALSE(IsRectZero(R(0, 0, 0, 1)));

  RECT c;
  RectFromBounds(5, 6, 10, 20, c);
  EXPECT_EQ(c, R(5, 6, 15, 26));
  RectFromSize(7, 8, c);
  EXPECT_EQ(c, R(0, 0, 7, 8));
  RectSizeRect(a, c);
  EXPECT_EQ(c, R(0, 0, 100, 50));
  InflateRectBy(a, R(1, 2, 3, 4), c);
  EXPECT_EQ(c, R(9, 18, 113, 74));
  DeflateRectBy(a, R(1, 2, 3, 4), c);
  EXPECT_EQ(c, R(11, 22, 107, 66));
  AddRects(a, R(1, 2, 3, 4), c);
  EXPECT_EQ(c, R(11, 22, 113, 74));
  ClearRect(c);
  EXPECT_TRUE(IsRectZero(c));

  RECT r = R(10, 10, 20, 20);
  InflateSides(r, 2, SIDE_LEFT | SIDE_BOTTOM);
  EXPECT_EQ(r, R(8, 10, 20, 22));
  InflateSidesXY(r, -1, 3, SIDE_ALL);
  EXPECT_EQ(r, R(9, 7, 19, 25));
}

TEST(GraphUt, OutputMayBeAnInput) {
  RECT a = R(10, 20, 110, 70);
  InflateRectBy(a, a, a);
  EXPECT_EQ(a, R(0, 0, 220, 140));
  RECT s = R(0, 0, 100, 50), b;
  SplitShadow(s, s, b, 2, -3);
  EXPECT_EQ(s, R(0, 3, 98, 50));
  EXPECT_EQ(b, R(2, 0, 100, 47));
  RECT u = R(0, 0, 10, 10);
  IntersectRects(u, R(5, 5, 20, 20), u);
  EXPECT_EQ(u, R(5, 5, 10, 10));
}

TEST(GraphUt, AlignRect) {
  struct Case {
    RECT within;
    int32_t w, h;
    uint32_t flags;
    RECT expected;
  };
  const Case cases[] = {
      {R(0, 0, 10, 10), 5, 4, 0x00, R(0, 0, 5, 4)},
      {R(0, 0, 10, 10), 5, 4, 0x01, R(5, 0, 10, 4)},
      {R(0, 0, 10, 10), 5, 4, 0x02, R(5, 6, 10, 10)},
      {R(0, 0, 10, 10), 5, 4, 0x04, R(0, 6, 5, 10)},
      {R(0, 0, 10, 10), 5, 4, 0x08, R(2, 3, 7, 7)},
      {R(0, 0, 10, 10), 13, 4, 0x08, R(-2, 3, 11, 7)},   // floor(-3 / 2) = -2
      {R(0, 0, 10, 10), 5, 4, 0x09, R(5, 3, 10, 7)},     // right edge, centred vertically
      {R(0, 0, 10, 10), 5, 4, 0x108, R(2, 3, 7, 7)},     // only the low byte counts
  };
  for (const auto& c : cases) {
    RECT out;
    AlignRect(c.within, c.w, c.h, c.flags, out);
    EXPECT_EQ(out, c.expected) << "flags " << c.flags << " w " << c.w;
  }
}

TEST(GraphUt, PlaceRect) {
  RECT c;
  // Horizontally at the right end, 5 in from it; vertically centred, then moved by DY.
  PlaceRect(R(0, 0, 20, 10), R(0, 0, 100, 50), -5, 3, 0x0201, c);
  EXPECT_EQ(c, R(75, 23, 95, 33));
  // A centred span gets its offset after clamping.
  int32_t start, end;
  FitSpan(200, 4, 0, 100, start, end, 0x0E);
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 104);
  // An empty range gives 0 and 0 and no offset.
  FitSpan(10, 4, 50, 0, start, end, 0x02);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
}

TEST(GraphUt, IntersectAndUnion) {
  RECT c;
  IntersectRects(R(0, 0, 10, 10), R(10, 0, 20, 10), c);
  EXPECT_EQ(c, R(10, 0, 10, 10));  // touching: empty but not zeroed
  IntersectRects(R(0, 0, 10, 10), R(11, 0, 20, 10), c);
  EXPECT_EQ(c, R(0, 0, 0, 0));
  UnionRects(R(5, 5, 10, 10), R(0, 0, 0, 0), c);
  EXPECT_EQ(c, R(0, 0, 10, 10));  // the zero rectangle reaches out to the origin
  UnionRects(R(5, 5, 10, 10), R(20, 1, 30, 8), c);
  EXPECT_EQ(c, R(5, 1, 30, 10));
  UnionRects(R(10, 10, 0, 0), R(10, 10, 0, 0), c);
  EXPECT_EQ(c, R(0, 0, 0, 0));  // inverted inputs
}

TEST(GraphUt, DockRect) {
  struct Case {
    RECT out, area;
    int32_t hMargin, vMargin;
    uint32_t flags;
    RECT outAfter, areaAfter;
  };
  const RECT area = R(0, 0, 100, 100);
  const Case cases[] = {
      {R(0, 0, 0, 20), area, 0, 4, DOCK_TOP, R(0, 4, 100, 24), R(0, 24, 100, 100)},
      {R(0, 0, 0, 20), area, 0, 4, DOCK_BOTTOM, R(0, 76, 100, 96), R(0, 0, 100, 76)},
      {R(0, 0, 30, 0), area, 2, 0, DOCK_LEFT, R(2, 0, 32, 100), R(32, 0, 100, 100)},
      {R(0, 0, 30, 0), area, 2, 0, DOCK_RIGHT, R(68, 0, 98, 100), R(0, 0, 68, 100)},
      {R(1, 2, 3, 4), area, 5, 5, DOCK_FILL | DOCK_CLIP | DOCK_TOP, area, area},
      {R(0, 0, 0, 200), area, 0, 0, DOCK_TOP | DOCK_CLIP, R(0, 0, 100, 100),
       R(0, 200, 100, 100)},
      // Top then left, each acting on what the one before left.
      {R(0, 0, 30, 20), area, 0, 0, DOCK_TOP | DOCK_LEFT, R(0, 20, 100, 100),
       R(100, 20, 100, 100)},
  };
  for (const auto& c : cases) {
    RECT out = c.out, a = c.area;
    DockRect(out, a, c.hMargin, c.vMargin, c.flags);
    EXPECT_EQ(out, c.outAfter) << std::hex << c.flags;
    EXPECT_EQ(a, c.areaAfter) << std::hex << c.flags;
  }
}
