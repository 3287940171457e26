// The font object and the text engine on real device contexts, with a real TrueType font.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "GdiExhaustion.h"
#include "RectCompare.h"
#include "TestBitmap.h"
#include "draw/DCTxtOut.h"

namespace {

class TxtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { DCTxtOutStartup(); }
  void TearDown() override { DCTxtOutShutdown(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TxtEnvironment);

constexpr COLORREF Back = RGB(0x12, 0x34, 0x56), Fill = RGB(0, 200, 0), Ink = RGB(0, 0, 0);
const char kFace[] = "DejaVu Sans";  // the TrueType font every test machine has

HFONT MakeFont(int32_t height, int32_t escapement = 0, BYTE italic = 0) {
  return CreateFontA(height, 0, escapement, escapement, FW_NORMAL, italic, 0, 0, DEFAULT_CHARSET, 0,
                     0, NONANTIALIASED_QUALITY, 0, kFace);
}

// A bitmap with a font, a brush and black text selected into it.
class TextCanvas : public TestBitmap {
 public:
  TextCanvas(int32_t w, int32_t h, int32_t escapement = 0)
      : TestBitmap(w, h, Back), font_(MakeFont(-16, escapement)), brush_(CreateSolidBrush(Fill)) {
    oldFont_ = SelectObject(Dc(), font_);
    oldBrush_ = SelectObject(Dc(), brush_);
    SetTextColor(Dc(), Ink);
    GetTextMetricsA(Dc(), &tm);
  }
  ~TextCanvas() {
    SelectObject(Dc(), oldFont_);
    SelectObject(Dc(), oldBrush_);
    DeleteObject(font_);
    DeleteObject(brush_);
  }
  TTxt_Info Out(const std::string& text, const RECT& rect, uint32_t flags, int32_t maxWidth = 0) {
    TTxt_Info info{};
    TxtOut(text, maxWidth, 0, &rect, &info, flags, Dc());
    return info;
  }
  TEXTMETRICA tm{};

 private:
  HFONT font_;
  HBRUSH brush_;
  HGDIOBJ oldFont_, oldBrush_;
};

// Counts change notifications and remembers what they carried.
struct Listener {
  int calls = 0;
  TTxt_Font* font = nullptr;
  static void OnChange(void* object, TTxt_Font& font) {
    Listener* self = static_cast<Listener*>(object);
    ++self->calls;
    self->font = &font;
  }
  void Attach(TTxt_Font& f) { f.OnChange = {&Listener::OnChange, this}; }
};

bool SameLogFont(const LOGFONTA& a, const LOGFONTA& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(DCTxtOut, StartUp) {
  EXPECT_GT(ScreenPixelsPerInchY, 0);
  EXPECT_EQ(TxtTabStep, 48);
}

TEST(TTxt_Font, CreateHasNoFont) {
  TTxt_Font f;
  EXPECT_EQ(f.Handle, nullptr);
  EXPECT_EQ(f.Color, 0u);
  EXPECT_EQ(f.PointSize, 0);
  EXPECT_EQ(f.PixelsPerInch, ScreenPixelsPerInchY);
  EXPECT_TRUE(SameLogFont(f.LogFont, LOGFONTA{}));
  EXPECT_FALSE(f.UpdateLock || f.ChangePending);
  EXPECT_EQ(f.OnChange.Code, nullptr);
}

TEST(TTxt_Font, CreateFromHandleBuildsItsOwnFont) {
  const HFONT given = MakeFont(-20, 0, 1);
  HFONT own;
  {
    TTxt_Font f(given);
    own = f.Handle;
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, given);
    EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(f.LogFont.lfHeight, -20);
    EXPECT_EQ(f.LogFont.lfItalic, 1);
    EXPECT_STREQ(f.LogFont.lfFaceName, kFace);
    EXPECT_EQ(f.PointSize, -MulDiv(-20, 72, ScreenPixelsPerInchY));
    if (ScreenPixelsPerInchY == 96) {
      EXPECT_EQ(f.PointSize, 15);
    }
  }
  EXPECT_EQ(GetObjectType(own), 0u) << "destroying the object deletes its font";
  EXPECT_EQ(GetObjectType(given), static_cast<DWORD>(OBJ_FONT)) << "the given font is not adopted";
  DeleteObject(given);
}

TEST(TTxt_Font, WithoutAFontTheBuiltInDefault) {
  const HPEN pen = CreatePen(PS_SOLID, 1, 0);
  for (const HGDIOBJ h : {static_cast<HGDIOBJ>(nullptr), static_cast<HGDIOBJ>(pen)}) {
    TTxt_Font f(static_cast<HFONT>(h));  // nothing, or something that is not a font
    ASSERT_NE(f.Handle, nullptr);
    EXPECT_STREQ(f.LogFont.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(f.LogFont.lfHeight, -11);
    EXPECT_EQ(f.LogFont.lfWeight, 400);
    EXPECT_EQ(f.LogFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(f.LogFont.lfItalic, 0);
    if (ScreenPixelsPerInchY == 96) {
      EXPECT_EQ(f.PointSize, 8);
    }
  }
  DeleteObject(pen);
}

TEST(TTxt_Font, ChangeNotification) {
  TTxt_Font f;
  Listener l;
  l.Attach(f);
  f.EnsureHandle();  // no font yet: the default, one change
  EXPECT_EQ(l.calls, 1);
  EXPECT_EQ(l.font, &f);
  f.EnsureHandle();  // has one: nothing
  EXPECT_EQ(l.calls, 1);

  const HFONT other = MakeFont(-30);
  f.AssignHandle(other);
  EXPECT_EQ(l.calls, 2);
  EXPECT_EQ(f.LogFont.lfHeight, -30);
  const LOGFONTA before = f.LogFont;
  const HFONT handle = f.Handle;
  const HPEN pen = CreatePen(PS_SOLID, 1, 0);
  f.AssignHandle(nullptr);  // describes no font: nothing changes, nothing is told
  f.AssignHandle(reinterpret_cast<HFONT>(pen));
  EXPECT_EQ(l.calls, 2);
  EXPECT_TRUE(SameLogFont(f.LogFont, before));
  EXPECT_EQ(f.Handle, handle);

  // While locked, changes are only marked; the owner's notification clears the mark.
  f.UpdateLock = true;
  f.SetDefault();
  EXPECT_EQ(l.calls, 2);
  EXPECT_TRUE(f.ChangePending);
  f.UpdateLock = false;
  f.Notify();
  EXPECT_EQ(l.calls, 3);
  EXPECT_FALSE(f.ChangePending);

  f.ReleaseHandle();
  EXPECT_EQ(f.Handle, nullptr);
  EXPECT_EQ(l.calls, 3);
  DeleteObject(pen);
  DeleteObject(other);
}

TEST(TTxt_Font, ChangedIsTheOverridableHook) {
  struct Counting : TTxt_Font {
    int changes = 0;
    void Changed() override {
      ++changes;
      TTxt_Font::Changed();
    }
  };
  Counting f;
  f.SetDefault();
  f.Recreate();
  EXPECT_EQ(f.changes, 2);
}

TEST(TTxt_Font, RefusedCreationKeepsTheDescriptionAndStillNotifies) {
  // A font object without a font: replacing one would first free a handle for the new font.
  TTxt_Font f;
  Listener l;
  l.Attach(f);
  LOGFONTA wanted = TxtDefaultLogFont;
  wanted.lfHeight = -40;
  wanted.lfWeight = FW_BOLD;
  {
    GdiExhaustion gdi;
    if (!gdi.Exhausted()) GTEST_SKIP() << "the GDI handle table never filled";
    f.AssignLogFont(wanted);
    EXPECT_EQ(f.Handle, nullptr);
    EXPECT_TRUE(SameLogFont(f.LogFont, wanted));
    EXPECT_EQ(l.calls, 1);
    if (ScreenPixelsPerInchY == 96) {
      EXPECT_EQ(f.PointSize, 30);
    }
  }
  f.EnsureHandle();  // with handles to be had again, the default comes back
  EXPECT_NE(f.Handle, nullptr);
  EXPECT_EQ(f.LogFont.lfHeight, -11);
  EXPECT_EQ(l.calls, 2);
}

TEST(TxtOut, MeasuresWithTheSelectedFont) {
  TextCanvas c(200, 100);
  const TTxt_Info info = c.Out("Hello world", RECT{0, 0, 1000, 100}, 0);
  EXPECT_EQ(info.Lines, 1);
  EXPECT_EQ(info.FontHeight, c.tm.tmHeight);
  EXPECT_EQ(info.Descent, c.tm.tmDescent);
  EXPECT_EQ(info.Height, c.tm.tmHeight);
  EXPECT_EQ(info.MaxChars, 11);
  EXPECT_EQ(info.Direction, TXT_DIR_0);
  EXPECT_TRUE(IsRectZero(c.InkBounds(Back))) << "measuring draws nothing";
  // The layout width holds the advances and the glyphs' overhangs at both ends.
  SIZE extent;
  TxtExtent("Hello world", c.Dc(), extent);
  EXPECT_NEAR(info.Width, extent.cx, 3);
  EXPECT_EQ(extent.cy, c.tm.tmHeight);
  // Wrapped at a width between the two words' lengths: two lines.
  const TTxt_Info wrapped = c.Out("Hello world", RECT{0, 0, info.Width - 1, 100}, 0);
  EXPECT_EQ(wrapped.Lines, 2);
  EXPECT_EQ(wrapped.Height, 2 * c.tm.tmHeight);
  // TxtExtent reads tabs and returns as characters.
  SIZE a, b, ab;
  TxtExtent("a", c.Dc(), a);
  TxtExtent("\tb", c.Dc(), b);
  TxtExtent("a\tb", c.Dc(), ab);
  EXPECT_EQ(ab.cx, a.cx + b.cx);
  EXPECT_LT(ab.cx, 48);
}

TEST(TxtOut, DrawsLineBoxesAndText) {
  TextCanvas c(200, 60);
  const RECT rect{10, 5, 190, 55};
  SetBkMode(c.Dc(), OPAQUE);
  const TTxt_Info info = c.Out("Hello\rab", rect, TXT_DRAW);
  EXPECT_EQ(GetBkMode(c.Dc()), OPAQUE) << "the background mode comes back";
  // The first line's box is the wider; both start at the rectangle's left.
  const RECT ink = c.InkBounds(Back);
  EXPECT_EQ(ink, (RECT{10, 5, 10 + info.Width, 5 + 2 * c.tm.tmHeight}));
  EXPECT_EQ(c.Pixel(10, 5), Fill);
  EXPECT_EQ(c.Pixel(10 + info.Width - 1, 5), Fill);
  EXPECT_EQ(c.Pixel(10 + info.Width - 1, 5 + c.tm.tmHeight + 1), Back) << "second box narrower";
  // Black text lies inside the boxes, drawn transparently (no opaque cell background).
  int black = 0;
  for (int32_t y = 0; y < c.Height(); ++y) {
    for (int32_t x = 0; x < c.Width(); ++x) {
      const COLORREF p = c.Pixel(x, y);
      EXPECT_TRUE(p == Back || p == Fill || p == Ink) << x << "," << y;
      black += p == Ink;
    }
  }
  EXPECT_GT(black, 20);
}

TEST(TxtOut, TextInRunsAtTabStops) {
  // "ab" and "cd" drawn by hand at the line start and the first tab stop (48) must give
  // exactly the pixels of the tabbed line.
  TextCanvas laidOut(200, 40), byHand(200, 40);
  const RECT rect{5, 5, 195, 35};
  TTxt_Info info{};
  TxtOut("ab\tcd", 0, 0, &rect, &info, TXT_DRAW | TXT_NOLINEFILL, laidOut.Dc());
  ABC abc{};
  GetCharABCWidthsA(byHand.Dc(), 'a', 'a', &abc);
  const int32_t lead = abc.abcA < 0 ? -abc.abcA : 0;
  SetBkMode(byHand.Dc(), TRANSPARENT);
  ExtTextOutA(byHand.Dc(), 5 + lead, 5, 0, &rect, "ab", 2, nullptr);
  ExtTextOutA(byHand.Dc(), 5 + lead + 48, 5, 0, &rect, "cd", 2, nullptr);
  EXPECT_TRUE(laidOut.SameAs(byHand));
  EXPECT_GE(laidOut.InkBounds(Back).right, 5 + 48);
  SIZE cd;
  TxtExtent("cd", laidOut.Dc(), cd);
  EXPECT_NEAR(info.Width, 48 + cd.cx, 3);
}

TEST(TxtOut, FillsTheRectangleAndClips) {
  TextCanvas c(100, 40);
  const RECT rect{10, 10, 60, 30};
  c.Out("", rect, TXT_DRAW | TXT_FILLRECT | TXT_NOLINEFILL);
  EXPECT_EQ(c.InkBounds(Back), rect) << "an empty text still fills the rectangle";

  // A centred line wider than the rectangle: clipped, nothing outside it.
  TextCanvas clipped(100, 40);
  const TTxt_Info info =
      clipped.Out("WWWWWWWW", rect, TXT_DRAW | TXT_CLIP | TXT_HCENTER | TXT_NOWRAP);
  EXPECT_GT(info.Width, 50);
  EXPECT_EQ(clipped.InkBounds(Back), (RECT{10, 10, 60, 10 + clipped.tm.tmHeight}));
  TextCanvas unclipped(100, 40);
  unclipped.Out("WWWWWWWW", rect, TXT_DRAW | TXT_HCENTER | TXT_NOWRAP);
  EXPECT_LT(unclipped.InkBounds(Back).left, 10);
}

TEST(TxtOut, WritingDirections) {
  struct Case {
    int32_t escapement;
    int32_t direction;
  };
  const Case cases[] = {
      {0, TXT_DIR_0}, {900, TXT_DIR_90}, {1800, TXT_DIR_180}, {2700, TXT_DIR_270}, {450, 0}};
  for (const Case& k : cases) {
    TextCanvas c(100, 100, k.escapement);
    const TTxt_Info info = c.Out("ab", RECT{0, 0, 100, 100}, 0);
    EXPECT_EQ(info.Direction, k.direction) << k.escapement;
  }
  // Upwards at 90 degrees: the line box stands at the left, from the bottom up.
  TextCanvas c(100, 100, 900);
  const RECT rect{10, 10, 90, 90};
  const TTxt_Info info = c.Out("Hello", rect, TXT_DRAW);
  RECT size;
  TxtInfoToRect(info, size);
  EXPECT_EQ(size, (RECT{0, 0, c.tm.tmHeight, info.Width}));
  EXPECT_EQ(c.InkBounds(Back), (RECT{10, 90 - info.Width, 10 + c.tm.tmHeight, 90}));
  EXPECT_EQ(c.Pixel(10, 89), Fill);
}

// The built-in default face is a raster font on Windows: such a font is measured by its plain
// character widths less the overhang, and always writes at 0 degrees. Wine's own raster
// "MS Sans Serif" is added for this test alone; its simulated bold overhangs.
TEST(TxtOut, RasterFontIsMeasuredByItsWidths) {
  const char file[] = "Z:\\usr\\share\\wine\\fonts\\sserife.fon";
  ASSERT_GT(AddFontResourceExA(file, FR_PRIVATE, nullptr), 0) << "Wine's raster fonts";
  for (const LONG escapement : {0, 900}) {
    TestBitmap bitmap(200, 200, Back);
    LOGFONTA lf = TxtDefaultLogFont;
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = escapement;
    const HFONT font = CreateFontIndirectA(&lf);
    const HGDIOBJ old = SelectObject(bitmap.Dc(), font);
    TEXTMETRICA tm;
    GetTextMetricsA(bitmap.Dc(), &tm);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0) << "a raster font";
    INT widths[256];
    GetCharWidthA(bitmap.Dc(), 0, 255, widths);
    const std::string text = "Hello";
    int32_t expected = tm.tmOverhang;
    for (const char c : text) expected += widths[static_cast<unsigned char>(c)] - tm.tmOverhang;
    TTxt_Info info{};
    const RECT rect{0, 0, 200, 200};
    TxtOut(text, 0, 0, &rect, &info, 0, bitmap.Dc());
    EXPECT_EQ(info.Width, expected) << "overhang " << tm.tmOverhang;
    EXPECT_EQ(info.Direction, TXT_DIR_0) << escapement;
    SelectObject(bitmap.Dc(), old);
    DeleteObject(font);
  }
  RemoveFontResourceExA(file, FR_PRIVATE, nullptr);
}
