#include <gtest/gtest.h>

#include <ostream>

#include "GdiExhaustion.h"
#include "RectCompare.h"
#include "TestBitmap.h"
#include "draw/Dcout.h"

namespace {

class DcoutEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { DcoutStartup(); }
  void TearDown() override { DcoutShutdown(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DcoutEnvironment);

constexpr COLORREF Back = RGB(0x12, 0x34, 0x56), A = RGB(255, 0, 0), B = RGB(0, 0, 255),
                   C = RGB(0, 160, 0), Grey = RGB(0x80, 0x80, 0x80), White = RGB(255, 255, 255);
const Legend kLegend{{Back, '.'}, {A, 'a'}, {B, 'b'}, {C, 'c'}, {Grey, 'g'}, {White, 'w'}};

RECT R(int32_t l, int32_t t, int32_t r, int32_t b) { return RECT{l, t, r, b}; }

// A bitmap one pixel larger than the drawing on every side: the drawing's (0, 0) is pixel
// (1, 1), so anything drawn outside the rectangle shows in the picture.
class Canvas : public TestBitmap {
 public:
  Canvas(int32_t w, int32_t h) : TestBitmap(w + 2, h + 2, Back) {
    SetViewportOrgEx(Dc(), 1, 1, nullptr);
    pen_ = CreatePen(PS_SOLID, 1, C);
    old_ = SelectObject(Dc(), pen_);
  }
  ~Canvas() {
    SelectObject(Dc(), old_);
    DeleteObject(pen_);
  }
  HPEN Pen() const { return pen_; }  // the pen selected before each drawing, in colour C
  bool PenRestored() const { return GetCurrentObject(Dc(), OBJ_PEN) == pen_; }

 private:
  HPEN pen_;
  HGDIOBJ old_;
};

// Restarts the unit, so that a test begins with empty caches.
class DcoutCache : public ::testing::Test {
 protected:
  void SetUp() override {
    DcoutShutdown();
    DcoutStartup();
  }
};

COLORREF PenColor(HPEN pen) {
  LOGPEN lp{};
  return GetObjectA(pen, sizeof lp, &lp) == sizeof lp ? lp.lopnColor : 0xFFFFFFFF;
}

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH lb{};
  return GetObjectA(brush, sizeof lb, &lb) == sizeof lb ? lb.lbColor : 0xFFFFFFFF;
}

bool Alive(HGDIOBJ h) { return GetObjectType(h) != 0; }

}  // namespace

TEST(Dcout, ScreenRectIsTheScreen) {
  EXPECT_EQ(ScreenRect, R(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_GT(ScreenRect.right, 0);
}

TEST_F(DcoutCache, NinthColourEvictsTheOldest) {
  HPEN pens[10];
  HBRUSH brushes[10];
  for (int i = 1; i <= 8; ++i) {
    pens[i] = GetPen(RGB(i, 0, 0));
    brushes[i] = GetBrush(RGB(0, i, 0));
    EXPECT_EQ(PenColor(pens[i]), RGB(i, 0, 0));
    EXPECT_EQ(BrushColor(brushes[i]), RGB(0, i, 0));
  }
  for (int i = 1; i <= 8; ++i) {  // hits: the same objects, and no change of order
    EXPECT_EQ(GetPen(RGB(i, 0, 0)), pens[i]);
    EXPECT_EQ(GetBrush(RGB(0, i, 0)), brushes[i]);
  }
  pens[9] = GetPen(RGB(9, 0, 0));
  brushes[9] = GetBrush(RGB(0, 9, 0));
  EXPECT_FALSE(Alive(pens[1]));
  EXPECT_FALSE(Alive(brushes[1]));
  for (int i = 2; i <= 9; ++i) EXPECT_TRUE(Alive(pens[i]) && Alive(brushes[i])) << i;

  // The first colour again: a new object, and the second one goes.
  const HPEN again = GetPen(RGB(1, 0, 0));
  const HBRUSH againBrush = GetBrush(RGB(0, 1, 0));
  EXPECT_EQ(PenColor(again), RGB(1, 0, 0));
  EXPECT_EQ(BrushColor(againBrush), RGB(0, 1, 0));
  EXPECT_FALSE(Alive(pens[2]));
  EXPECT_FALSE(Alive(brushes[2]));
  for (int i = 3; i <= 9; ++i) {
    EXPECT_EQ(GetPen(RGB(i, 0, 0)), pens[i]) << i;
    EXPECT_EQ(GetBrush(RGB(0, i, 0)), brushes[i]) << i;
  }

  // Shut-down deletes every cached object.
  DcoutShutdown();
  EXPECT_FALSE(Alive(again));
  EXPECT_FALSE(Alive(againBrush));
  for (int i = 3; i <= 9; ++i) EXPECT_FALSE(Alive(pens[i]) || Alive(brushes[i])) << i;
}

TEST_F(DcoutCache, RefusedCreationCachesNothing) {
  HPEN pens[9];
  HBRUSH brushes[9];
  for (int i = 1; i <= 8; ++i) {
    pens[i] = GetPen(RGB(i, 0, 0));
    brushes[i] = GetBrush(RGB(0, i, 0));
  }
  GdiExhaustion gdi;
  if (!gdi.Exhausted()) GTEST_SKIP() << "the GDI handle table never filled";
  EXPECT_EQ(GetPen(RGB(50, 0, 0)), nullptr);
  EXPECT_EQ(GetBrush(RGB(0, 50, 0)), nullptr);
  // Nothing was evicted for the refused objects, and the cached ones still answer.
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(GetPen(RGB(i, 0, 0)), pens[i]) << i;
    EXPECT_EQ(GetBrush(RGB(0, i, 0)), brushes[i]) << i;
  }
  // Once the system gives objects again, the colour is created and the cache holds its
  // eight entries: the oldest goes, as for any ninth colour.
  gdi.Release(16);
  const HPEN pen = GetPen(RGB(50, 0, 0));
  const HBRUSH brush = GetBrush(RGB(0, 50, 0));
  EXPECT_EQ(PenColor(pen), RGB(50, 0, 0));
  EXPECT_EQ(BrushColor(brush), RGB(0, 50, 0));
  EXPECT_EQ(GetPen(RGB(50, 0, 0)), pen);
  EXPECT_FALSE(Alive(pens[1]));
  EXPECT_FALSE(Alive(brushes[1]));
  for (int i = 2; i <= 8; ++i) EXPECT_EQ(GetPen(RGB(i, 0, 0)), pens[i]) << i;
}

TEST_F(DcoutCache, FrameColoursSurviveTheirOwnEviction) {
  // The first colour is the oldest of a full cache and the second is new: looking up the
  // second evicts the first, which must still draw its sides.
  GetPen(A);
  for (int i = 1; i <= 7; ++i) GetPen(RGB(i, 0, 0));
  Canvas c(4, 4);
  RECT r = R(0, 0, 4, 4);
  DrawFrame3DColors(c.Dc(), r, 1, A, B, 0);
  EXPECT_EQ(c.Picture(kLegend),
            "......\n"
            ".aaab.\n"
            ".a..b.\n"
            ".a..b.\n"
            ".abbb.\n"
            "......\n");
}

TEST(Dcout, FillRectColor) {
  Canvas c(5, 3);
  FillRectColor(c.Dc(), R(1, 1, 4, 3), A);
  EXPECT_EQ(c.Picture(kLegend),
            ".......\n"
            ".......\n"
            "..aaa..\n"
            "..aaa..\n"
            ".......\n");
}

TEST(DrawFrame3D, RingsAndCorners) {
  Canvas c(10, 10);
  RECT r = R(0, 0, 10, 10);
  DrawFrame3D(c.Dc(), r, 2, GetPen(A), GetPen(B), 0);
  EXPECT_EQ(r, R(2, 2, 8, 8));
  EXPECT_TRUE(c.PenRestored());
  EXPECT_EQ(c.Picture(kLegend),
            "............\n"
            ".aaaaaaaaab.\n"
            ".aaaaaaaabb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aabbbbbbbb.\n"
            ".abbbbbbbbb.\n"
            "............\n");
}

TEST(DrawFrame3D, SkippedTopHandsItsCornerToTheLeft) {
  Canvas c(10, 10);
  RECT r = R(0, 0, 10, 10);
  DrawFrame3D(c.Dc(), r, 2, GetPen(A), GetPen(B), FRAME_SKIP2);
  EXPECT_EQ(r, R(2, 2, 8, 8));
  EXPECT_EQ(c.Picture(kLegend),
            "............\n"
            ".a........b.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aa......bb.\n"
            ".aabbbbbbbb.\n"
            ".abbbbbbbbb.\n"
            "............\n");
}

TEST(DrawFrame3D, OtherDiagonal) {
  struct Case {
    uint16_t flags;
    const char* picture;
  };
  const char* const whole =
      "........\n"
      ".aaaaaa.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".bbbbbb.\n"
      "........\n";
  const char* const noTop =
      "........\n"
      ".b....a.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".b....a.\n"
      ".bbbbbb.\n"
      "........\n";
  const Case cases[] = {
      {FRAME_SPLIT2, whole},
      {FRAME_SPLIT2 | FRAME_SKIP1, noTop},  // the skip bits name top, right, bottom, left
      {FRAME_SPLIT2 | FRAME_SKIPLTRB | FRAME_SKIP2, noTop},  // left, top, right, bottom
      {FRAME_SPLIT2 | 0x00FF, whole},                        // the low byte has no meaning
  };
  for (const Case& k : cases) {
    Canvas c(6, 6);
    RECT r = R(0, 0, 6, 6);
    DrawFrame3D(c.Dc(), r, 1, GetPen(A), GetPen(B), k.flags);
    EXPECT_EQ(c.Picture(kLegend), k.picture) << std::hex << k.flags;
    EXPECT_EQ(r, R(1, 1, 5, 5));
  }
}

TEST(DrawFrame3D, ShrinkOnlyOnDrawnSides) {
  Canvas c(6, 6);
  RECT r = R(0, 0, 6, 6);
  DrawFrame3D(c.Dc(), r, 2, GetPen(A), GetPen(B), FRAME_SHRINKDRAWN | FRAME_SKIP1);
  EXPECT_EQ(r, R(0, 2, 4, 4));
  EXPECT_EQ(c.Picture(kLegend),
            "........\n"
            ".aaaaab.\n"
            ".aaaabb.\n"
            ".....bb.\n"
            ".....bb.\n"
            ".bbbbbb.\n"
            ".bbbbbb.\n"
            "........\n");
}

TEST(DrawFrame3D, OnePen) {
  const char* const ring =
      "......\n"
      ".xxxx.\n"
      ".x..x.\n"
      ".x..x.\n"
      ".xxxx.\n"
      "......\n";
  struct Case {
    COLORREF pen1, pen2;  // Back: no pen (0)
    char drawn;
  };
  const Case cases[] = {{A, Back, 'a'}, {Back, B, 'b'}, {A, A, 'a'}, {Back, Back, 'c'}};
  for (const Case& k : cases) {
    Canvas c(4, 4);
    RECT r = R(0, 0, 4, 4);
    DrawFrame3D(c.Dc(), r, 1, k.pen1 == Back ? nullptr : GetPen(k.pen1),
                k.pen2 == Back ? nullptr : GetPen(k.pen2), 0);
    std::string expected = ring;
    for (char& ch : expected) ch = ch == 'x' ? k.drawn : ch;
    EXPECT_EQ(c.Picture(kLegend), expected) << k.drawn;
    EXPECT_TRUE(c.PenRestored());
  }
}

TEST(FrameList, DrawsEachSpecInsideThePrevious) {
  const TFrameSpec specs[] = {{1, A, B, 0}, {1, C, C, 0}};
  Canvas c(6, 6);
  RECT r = R(0, 0, 6, 6);
  DrawFrameList(c.Dc(), r, TFrameList{2, specs});
  EXPECT_EQ(r, R(2, 2, 4, 4));
  EXPECT_EQ(c.Picture(kLegend),
            "........\n"
            ".aaaaab.\n"
            ".accccb.\n"
            ".ac..cb.\n"
            ".ac..cb.\n"
            ".accccb.\n"
            ".abbbbb.\n"
            "........\n");
  r = R(0, 0, 6, 6);
  DrawFrameList(c.Dc(), r, TFrameList{2, nullptr});
  EXPECT_EQ(r, R(0, 0, 6, 6));
}

TEST(FrameList, SunkenStrip) {
  // The strip a panel draws along its top edge: as high as the frame list's margins.
  RECT margins = R(0, 0, 0, 0);
  FrameListInset(margins, SunkenFrame);
  EXPECT_EQ(margins, R(-1, -1, 1, 1));
  Canvas c(7, 2);
  RECT r = R(0, 0, 7, 2);
  DrawFrameList(c.Dc(), r, SunkenFrame);
  EXPECT_EQ(r, R(1, 1, 6, 1));
  EXPECT_EQ(c.Picture(kLegend),
            ".........\n"
            ".ggggggw.\n"
            ".gwwwwww.\n"
            ".........\n");
}

TEST(FrameList, Insets) {
  struct Case {
    int32_t count;
    uint16_t flags;
    RECT expected;  // from (0, 0, 0, 0)
  };
  const Case cases[] = {
      {2, 0, R(-2, -2, 2, 2)},
      {1, FRAME_SKIP1, R(-1, -1, 1, 1)},  // skipped sides count without FRAME_SHRINKDRAWN
      {1, FRAME_SHRINKDRAWN | FRAME_SKIP1, R(0, -1, 1, 1)},
      {1, FRAME_SHRINKDRAWN | FRAME_SPLIT2 | FRAME_SKIP1, R(-1, 0, 1, 1)},
      {1, FRAME_SHRINKDRAWN | FRAME_SPLIT2 | FRAME_SKIPLTRB | FRAME_SKIP1, R(0, -1, 1, 1)},
      {3, FRAME_SHRINKDRAWN | FRAME_SKIP3 | FRAME_SKIP4, R(-3, -3, 0, 0)},
  };
  for (const Case& k : cases) {
    RECT r = R(0, 0, 0, 0);
    FrameInset(r, k.count, k.flags);
    EXPECT_EQ(r, k.expected) << std::hex << k.flags;
  }
  const TFrameSpec specs[] = {{2, A, B, 0}, {1, A, B, FRAME_SHRINKDRAWN | FRAME_SKIP2}};
  RECT r = R(0, 0, 0, 0);
  FrameListInset(r, TFrameList{1, specs});
  EXPECT_EQ(r, R(-2, -2, 2, 2));
  r = R(10, 10, 20, 20);
  FrameListInset(r, TFrameList{2, specs});
  EXPECT_EQ(r, R(7, 8, 23, 23));
  FrameListInset(r, TFrameList{2, nullptr});
  EXPECT_EQ(r, R(7, 8, 23, 23));
}

TEST(DrawBorder, CornerRules) {
  struct Case {
    uint8_t flags;
    int32_t thickTB, thickLR;
    const char* picture;
    RECT shrunk;
  };
  const Case cases[] = {
      // Each corner belongs to the side that starts there; the second left and right ring
      // reach deeper than the top and bottom and leave their corner pixels empty.
      {0x0F, 1, 2,
       "..........\n"
       ".bbbbbbba.\n"
       ".a.....aa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aa.....a.\n"
       ".abbbbbbb.\n"
       "..........\n",
       R(2, 1, 6, 6)},
      // Left and right own the corners.
      {0x0F | BORDER_LRCORNERS, 1, 2,
       "..........\n"
       ".aabbbbaa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aa....aa.\n"
       ".aabbbbaa.\n"
       "..........\n",
       R(2, 1, 6, 6)},
      // Top and bottom own the corners.
      {0x0F | BORDER_TBCORNERS, 2, 1,
       "..........\n"
       ".bbbbbbbb.\n"
       ".bbbbbbbb.\n"
       ".a......a.\n"
       ".a......a.\n"
       ".a......a.\n"
       ".bbbbbbbb.\n"
       ".bbbbbbbb.\n"
       "..........\n",
       R(1, 2, 7, 5)},
      // Left and top only: by the undrawn sides the lines cover the ring's corner...
      {BORDER_LEFT | BORDER_TOP, 1, 2,
       "..........\n"
       ".bbbbbbbb.\n"
       ".a........\n"
       ".aa.......\n"
       ".aa.......\n"
       ".aa.......\n"
       ".aa.......\n"
       ".a........\n"
       "..........\n",
       R(2, 1, 6, 6)},
      // ... and with BORDER_OUTER run on to the outer edge; only the drawn sides shrink.
      {BORDER_LEFT | BORDER_TOP | BORDER_OUTER, 1, 2,
       "..........\n"
       ".bbbbbbbb.\n"
       ".a........\n"
       ".aa.......\n"
       ".aa.......\n"
       ".aa.......\n"
       ".aa.......\n"
       ".aa.......\n"
       "..........\n",
       R(2, 1, 8, 7)},
  };
  for (const Case& k : cases) {
    Canvas c(8, 7);
    RECT r = R(0, 0, 8, 7);
    DrawBorder(c.Dc(), r, k.thickTB, k.thickLR, GetPen(B), GetPen(A), k.flags);
    EXPECT_EQ(c.Picture(kLegend), k.picture) << std::hex << int{k.flags};
    EXPECT_EQ(r, k.shrunk) << std::hex << int{k.flags};
    EXPECT_TRUE(c.PenRestored());
  }
}

TEST(DrawBorder, Shrinking) {
  struct Case {
    uint8_t flags;
    int32_t thickTB, thickLR;
    RECT shrunk;  // from (10, 10, 30, 30)
  };
  const Case cases[] = {
      {BORDER_LEFT | BORDER_OUTER, 2, 3, R(13, 10, 30, 30)},  // only the drawn left side
      {BORDER_LEFT, 2, 3, R(13, 10, 27, 30)},                 // no top or bottom: no height there
      {BORDER_TOP | BORDER_BOTTOM, 2, 3, R(10, 12, 30, 28)},
      {BORDER_RIGHT | BORDER_LRCORNERS, 2, 3, R(10, 10, 27, 30)},
      {BORDER_TOP | BORDER_LEFT, 0, 0, R(10, 10, 30, 30)},  // nothing at all
      {BORDER_LEFT | BORDER_RIGHT, 5, 0, R(10, 10, 30, 30)},
      {0, 4, 4, R(10, 10, 30, 30)},
  };
  for (const Case& k : cases) {
    TestBitmap b(40, 40, Back);
    RECT r = R(10, 10, 30, 30);
    DrawBorderColor(b.Dc(), r, k.thickTB, k.thickLR, A, k.flags);
    EXPECT_EQ(r, k.shrunk) << std::hex << int{k.flags};
    if (RectsEqual(k.shrunk, R(10, 10, 30, 30))) {
      EXPECT_TRUE(IsRectZero(b.InkBounds(Back))) << "drawn although nothing was asked";
    }
  }
}

TEST(DrawBorder, ZeroPenIsThePreviousPen) {
  Canvas c(5, 4);
  RECT r = R(0, 0, 5, 4);
  DrawBorder(c.Dc(), r, 1, 1, GetPen(B), nullptr, 0x0F);
  EXPECT_EQ(c.Picture(kLegend),
            ".......\n"
            ".bbbbc.\n"
            ".c...c.\n"
            ".c...c.\n"
            ".cbbbb.\n"
            ".......\n");
  EXPECT_TRUE(c.PenRestored());
}
