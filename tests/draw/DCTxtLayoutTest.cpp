// The layout pass with hand-made metrics: every character is 10 pixels wide and a space 5,
// the font is 10 pixels high, so that every width below can be checked by hand.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "RectCompare.h"
#include "draw/DCTxtOut.h"

namespace {

using Lines = std::vector<std::string>;

struct DrawnRun {
  int32_t x, y;
  std::string text;
  bool operator==(const DrawnRun& o) const { return x == o.x && y == o.y && text == o.text; }
};
std::ostream& operator<<(std::ostream& os, const DrawnRun& r) {
  return os << "(" << r.x << ", " << r.y << ", \"" << r.text << "\")";
}

// Records what a layout reports: the lines of its last pass, and all fills and runs.
struct Recorder : TTxt_Target {
  const char* text = nullptr;
  std::vector<bool> passes;  // drawing or measuring, in order
  Lines lines;
  std::vector<TTxt_Line> details;
  std::vector<RECT> fills;
  std::vector<DrawnRun> runs;

  void PassStarted(bool drawing) override {
    passes.push_back(drawing);
    lines.clear();
    details.clear();
  }
  void LineLaidOut(const TTxt_Line& line) override {
    lines.emplace_back(text + line.Start, text + line.End);
    details.push_back(line);
  }
  void FillBox(const RECT& box) override { fills.push_back(box); }
  void DrawRun(int32_t x, int32_t y, const char* chars, int32_t count) override {
    runs.push_back({x, y, std::string(chars, chars + count)});
  }
};

struct Font {
  TTxt_CharMetrics chars[TXT_CHARCODES];
  TTxt_Metrics metrics;
  Font() {
    for (TTxt_CharMetrics& c : chars) c = {10, 0, 0};
    At(' ') = {5, 0, 0};
    metrics.Height = 10;
    metrics.Descent = 2;
    metrics.Chars = chars;
  }
  TTxt_CharMetrics& At(char c) { return chars[static_cast<uint8_t>(c)]; }
};

struct Result {
  TTxt_Info info{};
  Recorder rec;
};

Result Layout(const std::string& text, int32_t maxWidth, uint32_t flags, const RECT* rect = nullptr,
              const Font& font = Font(), int32_t lineSpacing = 0) {
  Result r;
  r.rec.text = text.data();
  TxtLayout(text.data(), static_cast<int32_t>(text.size()), font.metrics, maxWidth, lineSpacing,
            rect, &r.info, flags, &r.rec);
  return r;
}

}  // namespace

TEST(TxtLayout, LineBreaksAndCountedLines) {
  struct Case {
    std::string text;
    uint32_t flags;
    Lines lines;
    int32_t counted;
  };
  const Case cases[] = {
      {"ab\r\n", 0, {"ab", ""}, 2},
      {"ab\r\n", TXT_TRIM, {"ab", ""}, 1},  // the empty last line is not counted
      {"ab\r", 0, {"ab", ""}, 2},
      {"ab\r", TXT_TRIM, {"ab", ""}, 1},
      {"ab\ncd", 0, {"ab\ncd"}, 1},  // LF alone is an ordinary character
      {"ab\r\rcd", TXT_TRIM, {"ab", "", "cd"}, 3},
      {"ab\r\n\r\n", TXT_TRIM, {"ab", "", ""}, 1},
      {std::string("ab\0cd", 5), 0, {"ab"}, 1},                  // a NUL ends the text...
      {std::string("\0ab", 3), 0, {std::string("\0ab", 3)}, 1},  // ...except as the first
      {"  \r\nx", TXT_TRIM, {"", "x"}, 2},
  };
  for (const Case& k : cases) {
    const Result r = Layout(k.text, 1000, k.flags);
    EXPECT_EQ(r.rec.lines, k.lines) << k.text;
    EXPECT_EQ(r.info.Lines, k.counted) << k.text;
  }
}

TEST(TxtLayout, EmptyText) {
  const RECT rect{0, 0, 50, 20};
  const Result r = Layout("", 0, TXT_DRAW | TXT_FILLRECT, &rect);
  EXPECT_EQ(r.info.Lines, 0);
  EXPECT_EQ(r.info.Width, 0);
  EXPECT_EQ(r.info.Height, 0);
  EXPECT_EQ(r.info.MaxChars, 0);
  EXPECT_EQ(r.info.FontHeight, 10);
  EXPECT_EQ(r.info.Descent, 2);
  EXPECT_EQ(r.rec.fills, (std::vector<RECT>{rect}));  // still filled
  EXPECT_TRUE(r.rec.lines.empty());
  // No info, no target, no text: allowed.
  Font f;
  TxtLayout(nullptr, 5, f.metrics, 10, 0, nullptr, nullptr, TXT_DRAW, nullptr);
  TxtLayout("a b", 3, f.metrics, 0, 0, nullptr, nullptr, TXT_DRAW | TXT_VCENTER, nullptr);
}

TEST(TxtLayout, WrappingAndOverflow) {
  struct Case {
    const char* what;
    std::string text;
    int32_t maxWidth;
    uint32_t flags;
    Lines lines;
    std::vector<int32_t> widths;
    int32_t counted;
  };
  const Case cases[] = {
      {"two words fit, the space after them does not: dropped",
       "aa bb cc",
       45,
       0,
       {"aa bb", "cc"},
       {45, 20},
       2},
      {"the width ends inside the third word: the space stays",
       "aa bb cc",
       55,
       0,
       {"aa bb ", "cc"},
       {50, 20},
       2},
      {"a tab that overflows begins the next line (reaching 48, it fills it alone)",
       "aa bb\tcc",
       45,
       0,
       {"aa bb", "\t", "cc"},
       {45, 48, 20},
       3},
      {"dropped space and the line break behind it",
       "aa bb \r\ncc",
       45,
       0,
       {"aa bb", "cc"},
       {45, 20},
       2},
      {"a word wider than the layout stays whole up to its blank",
       "abcdef gh",
       30,
       0,
       {"abcdef ", "gh"},
       {65, 20},
       2},
      {"a space at the very end that overflows is dropped",
       "ab cd ",
       45,
       0,
       {"ab cd", ""},
       {45, 0},
       2},
      {"... and the empty last line is not counted with trimming",
       "ab cd ",
       45,
       TXT_TRIM,
       {"ab cd", ""},
       {45, 0},
       1},
      {"trimmed leading blanks still allow a break: an empty line first",
       "  abcdef",
       30,
       TXT_TRIM,
       {"", "abcdef"},
       {0, 60},
       2},
      {"a layout width of 0: every blank breaks",
       "ab cd ef",
       0,
       0,
       {"ab ", "cd ", "ef"},
       {25, 25, 20},
       3},
      {"character breaks: one character per line, blanks too, and an empty line",
       "a b",
       0,
       TXT_BREAKCHARS,
       {"a", " ", "b", ""},
       {10, 5, 10, 0},
       4},
      {"... with trimming only the empty last line is not counted",
       "a b",
       0,
       TXT_BREAKCHARS | TXT_TRIM,
       {"a", " ", "b", ""},
       {10, 5, 10, 0},
       3},
      {"character breaks inside a word after a blank",
       "ab cdefg",
       25,
       TXT_BREAKCHARS,
       {"ab ", "cd", "ef", "g"},
       {25, 20, 20, 10},
       4},
      {"no wrapping", "aa bb cc", 10, TXT_NOWRAP, {"aa bb cc"}, {70}, 1},
      {"no wrapping still breaks at returns",
       "aa\rbb cc",
       10,
       TXT_NOWRAP,
       {"aa", "bb cc"},
       {20, 45},
       2},
  };
  for (const Case& k : cases) {
    const Result r = Layout(k.text, k.maxWidth, k.flags);
    EXPECT_EQ(r.rec.lines, k.lines) << k.what;
    std::vector<int32_t> widths;
    for (const TTxt_Line& l : r.rec.details) widths.push_back(l.Width);
    EXPECT_EQ(widths, k.widths) << k.what;
    EXPECT_EQ(r.info.Lines, k.counted) << k.what;
  }
}

TEST(TxtLayout, GrowingWidth) {
  // The first word is wider than 25: the width grows to it and the layout starts again;
  // the space after it then overflows without recording a break, so the width grows again
  // to hold "ef" too. The next space fits a break and "gh" goes to a line of its own.
  Result r = Layout("abcd ef gh", 25, TXT_GROWWIDTH);
  EXPECT_EQ(r.rec.passes.size(), 3u);
  EXPECT_EQ(r.rec.lines, (Lines{"abcd ef", "gh"}));
  EXPECT_EQ(r.info.Width, 65);
  EXPECT_EQ(r.info.Lines, 2);

  // Character breaks take precedence.
  r = Layout("abcd", 25, TXT_GROWWIDTH | TXT_BREAKCHARS);
  EXPECT_EQ(r.rec.lines, (Lines{"ab", "cd"}));

  // Drawing: a measuring pass first, then one drawing pass at the grown width.
  const RECT rect{0, 0, 25, 100};
  r = Layout("abcd ef", 0, TXT_GROWWIDTH | TXT_DRAW | TXT_NOLINEFILL, &rect);
  EXPECT_EQ(r.rec.passes, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{0, 0, "abcd ef"}}));
}

TEST(TxtLayout, WidthsWithOverhangs) {
  Font f;
  f.At('f') = {10, 2, 3};   // reaches 2 left of its origin and 3 beyond its advance
  f.At('g') = {10, 0, -2};  // stops 2 short of its advance
  f.metrics.Overhang = 1;
  // "fg": 2 + 1 (lead and overhang), + 10 + 3 for f, - 3 + 10 - 2 for g = 21. The trailing
  // overhang carries over into the next line: 1 + 2 (-(-2)) + 10 - 2 = 11.
  const RECT rect{100, 0, 200, 50};
  const Result r = Layout("fg\rg", 0, TXT_DRAW | TXT_NOLINEFILL, &rect, f);
  std::vector<int32_t> widths;
  for (const TTxt_Line& l : r.rec.details) widths.push_back(l.Width);
  EXPECT_EQ(widths, (std::vector<int32_t>{21, 11}));
  EXPECT_EQ(r.info.Width, 21);
  // The first run starts its lead to the right, so that the ink begins at the line start.
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{102, 0, "fg"}, {100, 10, "g"}}));
}

TEST(TxtLayout, TrailingBlanksAndTrimming) {
  const RECT rect{0, 0, 100, 50};
  for (const uint32_t trim : {0u, TXT_TRIM}) {
    const Result r = Layout("ab  \rcd  ", 0, TXT_DRAW | TXT_RIGHT | trim, &rect);
    ASSERT_EQ(r.rec.details.size(), 2u);
    for (const TTxt_Line& l : r.rec.details) {
      EXPECT_EQ(l.Width, 30);  // blanks before a return or the end stay in the width
      EXPECT_EQ(l.TrimmedWidth, 20);
    }
    EXPECT_EQ(r.info.Width, 30);
    // Aligned to the right: with trimming without the trailing blanks.
    const int32_t p = trim ? 80 : 70;
    EXPECT_EQ(r.rec.fills, (std::vector<RECT>{{p, 0, 100, 10}, {p, 10, 100, 20}})) << trim;
  }
}

TEST(TxtLayout, TabStops) {
  Font f;
  f.At('W') = {47, 0, 0};
  f.At('X') = {48, 0, 0};
  struct Case {
    std::string text;
    int32_t width;
  };
  const Case cases[] = {
      {"\tb", 58},    // from 0 to 48
      {"W\tb", 58},   // 47 moves to 48
      {"X\tb", 106},  // 48 moves on to 96
      {"b\t\tb", 106},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(Layout(k.text, 1000, 0, nullptr, f).info.Width, k.width) << k.text;
  }
  // Drawn in runs separated by the tabs; a run may be empty.
  const RECT rect{10, 20, 500, 100};
  const Result r = Layout("\tW\tX\tb", 0, TXT_DRAW | TXT_NOLINEFILL, &rect, f);
  EXPECT_EQ(r.rec.runs,
            (std::vector<DrawnRun>{{10, 20, ""}, {58, 20, "W"}, {106, 20, "X"}, {202, 20, "b"}}));
}

TEST(TxtLayout, LineSpacing) {
  Font f;
  f.metrics.Height = 13;
  struct Case {
    int32_t spacing;
    int32_t height;  // of three lines
  };
  const Case cases[] = {{-150, 13 + 2 * 19}, {2, 13 + 2 * 15}, {-100, 39}, {0, 39}, {-50, 25}};
  for (const Case& k : cases) {
    const Result r = Layout("a\rb\rc", 1000, 0, nullptr, f, k.spacing);
    EXPECT_EQ(r.info.Height, k.height) << k.spacing;
    EXPECT_EQ(r.info.FontHeight, 13);
  }
}

TEST(TxtLayout, CentringRoundsDown) {
  // Rectangle 25 x 25; a line 10 wide leaves 15 (7.5 rounds to 7), a line 40 wide -15
  // (-7.5 rounds to -8). Vertically the same with blocks of 1 and 4 lines of 10.
  const RECT rect{0, 0, 25, 25};
  const uint32_t flags = TXT_DRAW | TXT_HCENTER | TXT_VCENTER;
  Result r = Layout("a", 0, flags, &rect);
  EXPECT_EQ(r.rec.fills, (std::vector<RECT>{{7, 7, 17, 17}}));
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{7, 7, "a"}}));
  r = Layout("abcd\ra\ra\ra", 0, flags | TXT_NOWRAP, &rect);
  EXPECT_EQ(r.rec.runs,
            (std::vector<DrawnRun>{{-8, -8, "abcd"}, {7, 2, "a"}, {7, 12, "a"}, {7, 22, "a"}}));
  // Right and bottom alignment.
  r = Layout("a\ra", 0, TXT_DRAW | TXT_RIGHT | TXT_BOTTOM | TXT_NOLINEFILL, &rect);
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{15, 5, "a"}, {15, 15, "a"}}));
  // A single pass places with a block height of 0: centring is a two-pass case only.
  r = Layout("a", 0, TXT_DRAW | TXT_HCENTER | TXT_NOLINEFILL, &rect);
  EXPECT_EQ(r.rec.passes, (std::vector<bool>{true}));
}

TEST(TxtLayout, FourDirections) {
  // Two lines "ab", "cd" of width 20 in (100, 200, 300, 260), and a tab run in the first.
  const RECT rect{100, 200, 300, 260};
  struct Case {
    int32_t direction;
    std::vector<RECT> fills;
    std::vector<DrawnRun> runs;
  };
  const Case cases[] = {
      {TXT_DIR_0,
       {{100, 200, 158, 210}, {100, 210, 120, 220}},
       {{100, 200, "ab"}, {148, 200, "x"}, {100, 210, "cd"}}},
      {TXT_DIR_180,  // right to left, lines upwards from the bottom
       {{242, 250, 300, 260}, {280, 240, 300, 250}},
       {{300, 260, "ab"}, {252, 260, "x"}, {300, 250, "cd"}}},
      {TXT_DIR_90,  // bottom to top, lines rightwards
       {{100, 202, 110, 260}, {110, 240, 120, 260}},
       {{100, 260, "ab"}, {100, 212, "x"}, {110, 260, "cd"}}},
      {TXT_DIR_270,  // top to bottom, lines leftwards
       {{290, 200, 300, 258}, {280, 200, 290, 220}},
       {{300, 200, "ab"}, {300, 248, "x"}, {290, 200, "cd"}}},
  };
  for (const Case& k : cases) {
    Font f;
    f.metrics.Direction = k.direction;
    const Result r = Layout("ab\tx\rcd", 0, TXT_DRAW, &rect, f);
    EXPECT_EQ(r.rec.fills, k.fills) << k.direction;
    EXPECT_EQ(r.rec.runs, k.runs) << k.direction;
    EXPECT_EQ(r.info.Direction, k.direction);
    EXPECT_EQ(r.info.Width, 58);
    EXPECT_EQ(r.info.Height, 20);
    RECT size;
    TxtInfoToRect(r.info, size);
    const bool vertical = k.direction == TXT_DIR_90 || k.direction == TXT_DIR_270;
    EXPECT_EQ(size, (vertical ? RECT{0, 0, 20, 58} : RECT{0, 0, 58, 20}));
  }
  // A layout width of 0 is the rectangle's extent along the writing axis: 200 across, 60
  // up or down, so that "aaaa aaaa" (85) breaks only when written vertically.
  for (const int32_t d : {TXT_DIR_0, TXT_DIR_90, TXT_DIR_180, TXT_DIR_270, 0}) {
    Font f;
    f.metrics.Direction = d;
    const bool vertical = d == TXT_DIR_90 || d == TXT_DIR_270;
    EXPECT_EQ(Layout("aaaa aaaa", 0, 0, &rect, f).info.Lines, vertical ? 2 : 1) << d;
  }
}

TEST(TxtLayout, WholeLinesOnly) {
  // Three lines of 10 in a rectangle 25 high: the third does not fit.
  const RECT rect{0, 0, 100, 25};
  const uint32_t flags = TXT_DRAW | TXT_NOLINEFILL | TXT_WHOLELINES;
  Result r = Layout("a\rb\rc", 0, flags, &rect);
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{0, 0, "a"}, {0, 10, "b"}}));
  EXPECT_EQ(r.info.Lines, 3);  // still counted
  // Bottom-aligned, the block starts at -5: the first line is out.
  r = Layout("a\rb\rc", 0, flags | TXT_BOTTOM, &rect);
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{0, 5, "b"}, {0, 15, "c"}}));
  // Lines that advance backwards (180 degrees) occupy the cell above their position.
  Font f;
  f.metrics.Direction = TXT_DIR_180;
  r = Layout("a\rb\rc", 0, flags, &rect, f);
  EXPECT_EQ(r.rec.runs, (std::vector<DrawnRun>{{100, 25, "a"}, {100, 15, "b"}}));
}

TEST(TxtLayout, FillsAndClipping) {
  const RECT rect{0, 0, 25, 30};
  // The rectangle first, then each line's box; clipped to the rectangle with TXT_CLIP.
  Result r = Layout("abcd\ra", 0, TXT_DRAW | TXT_FILLRECT | TXT_NOWRAP | TXT_HCENTER, &rect);
  EXPECT_EQ(r.rec.fills, (std::vector<RECT>{rect, {-8, 0, 32, 10}, {7, 10, 17, 20}}));
  r = Layout("abcd\ra", 0, TXT_DRAW | TXT_NOWRAP | TXT_HCENTER | TXT_CLIP, &rect);
  EXPECT_EQ(r.rec.fills, (std::vector<RECT>{{0, 0, 25, 10}, {7, 10, 17, 20}}));
  // Measuring draws nothing, even with the fill flags.
  r = Layout("abcd\ra", 0, TXT_FILLRECT | TXT_CLIP, &rect);
  EXPECT_TRUE(r.rec.fills.empty() && r.rec.runs.empty());
  EXPECT_EQ(r.info.MaxChars, 4);
}

TEST(TxtLayout, OddInputsEnd) {
  // Random texts, flags, widths and metrics (negative trails, zero and huge advances): every
  // layout ends, reads only its text, and its lines stay inside the text in order.
  std::mt19937 rng(12345);
  const char alphabet[] = {'a', 'b', ' ', ' ', '\t', '\r', '\n', '\0', 'x'};
  for (int round = 0; round < 3000; ++round) {
    Font f;
    for (TTxt_CharMetrics& c : f.chars) {
      c = {static_cast<int32_t>(rng() % 40) - 5, static_cast<int32_t>(rng() % 4),
           static_cast<int32_t>(rng() % 9) - 4};
    }
    if (round % 10 == 0) f.At('a').Advance = 0x40000000;
    f.metrics.Overhang = static_cast<int32_t>(rng() % 3);
    f.metrics.Direction = 1 << (rng() % 4);
    std::string text(rng() % 24, 'a');
    for (char& ch : text) ch = alphabet[rng() % sizeof alphabet];
    const uint32_t flags = rng() & 0xFFFE;
    const RECT rect{0, 0, static_cast<int32_t>(rng() % 80), static_cast<int32_t>(rng() % 80)};
    const Result r = Layout(text, static_cast<int32_t>(rng() % 60) - 10, flags, &rect, f,
                            static_cast<int32_t>(rng() % 300) - 150);
    int32_t last = 0;
    for (const TTxt_Line& l : r.rec.details) {
      ASSERT_LE(last, l.Start) << round;
      ASSERT_LE(l.Start, l.End) << round;
      ASSERT_LE(l.End, static_cast<int32_t>(text.size())) << round;
      last = l.Start;
    }
  }
}
