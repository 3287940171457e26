// The layout pass of the text engine: wrapping, overflow, tabs, trimming, growing width and
// character breaks, line placement in the four writing directions, and drawing in runs
// through a target. It reads per-character metrics only, so it makes no system call.
#include <algorithm>

#include "draw/DCTxtOut.h"
#include "system/Matut.h"

int32_t TxtTabStep = 48;

namespace {

constexpr int32_t kTab = 0x09, kLineFeed = 0x0A, kReturn = 0x0D, kSpace = 0x20;
constexpr int32_t kEnd = -1;  // the character after the last one

bool IsBlank(int32_t c) { return c == kSpace || c == kTab; }
// A character after which the one before ends a word.
bool EndsWord(int32_t n) { return n == kEnd || n == kSpace || n == kReturn || n == kTab; }

// The next tab stop strictly after w (unsigned division, as positions are).
int32_t NextTabStop(int32_t w) {
  const uint32_t step = TxtTabStep > 0 ? static_cast<uint32_t>(TxtTabStep) : 48;
  return static_cast<int32_t>((static_cast<uint32_t>(w) / step + 1) * step);
}

// A NUL after the first character ends the text.
int32_t TextEnd(const uint8_t* text, int32_t length) {
  for (int32_t k = 1; k < length; ++k) {
    if (text[k] == 0) return k;
  }
  return std::max(length, 0);
}

// How a writing direction lies on the rectangle.
struct Axes {
  bool WritingIsY;        // the writing axis is y (and the line axis x)
  bool WritingBackwards;  // characters follow one another towards the axis' start
  bool LinesBackwards;    // lines follow one another towards the line axis' start
};

Axes AxesOf(int32_t direction) {
  switch (direction) {
    case TXT_DIR_90:
      return {true, true, false};
    case TXT_DIR_180:
      return {false, true, true};
    case TXT_DIR_270:
      return {true, false, true};
    default:
      return {false, false, false};  // 0 degrees and any other escapement
  }
}

const TTxt_CharMetrics kNoMetrics[TXT_CHARCODES] = {};

// A run's origin.
struct Point {
  int32_t x, y;
};

class LayoutPass {
 public:
  LayoutPass(const uint8_t* text, int32_t end, const TTxt_Metrics& m, const RECT& rect,
             uint32_t flags, int32_t lineHeight, TTxt_Target* target)
      : text_(text),
        end_(end),
        m_(m),
        chars_(m.Chars ? m.Chars : kNoMetrics),
        rect_(rect),
        axes_(AxesOf(m.Direction)),
        flags_(flags),
        lineHeight_(lineHeight),
        target_(target) {}

  // One pass over the text. False when the layout width grew and the pass must start again.
  bool Run(int32_t& maxWidth, bool drawing, int32_t height);
  void ClearFlags(uint32_t flags) { flags_ &= ~flags; }

  int32_t Counted() const { return counted_; }
  int32_t Widest() const { return widest_; }
  int32_t Longest() const { return longest_; }
  int32_t Height() const {
    if (counted_ == 0) return 0;
    return static_cast<int32_t>(m_.Height + static_cast<int64_t>(counted_ - 1) * lineHeight_);
  }

 private:
  const TTxt_CharMetrics& Char(int32_t at) const { return chars_[text_[at]]; }
  int32_t Next(int32_t at) const { return at + 1 < end_ ? text_[at + 1] : kEnd; }
  void StartLine(int32_t at);
  void Add(int32_t c);
  void Emit();
  // The position of the line after one that broke at a blank (the committed end).
  int32_t AfterBreak() const;
  void Draw(const TTxt_Line& line);
  void DrawRuns(const TTxt_Line& line, Point origin);
  Point Along(Point p, int32_t n) const;

  const uint8_t* text_;
  int32_t end_;
  const TTxt_Metrics& m_;
  const TTxt_CharMetrics* chars_;
  RECT rect_;
  Axes axes_;
  uint32_t flags_;
  int32_t lineHeight_;
  TTxt_Target* target_;
  bool drawing_ = false;
  int32_t height_ = 0;

  // The pass.
  int32_t lineCounter_ = 0, counted_ = 0, widest_ = 0, longest_ = 0;
  int32_t trail_ = 0;  // trailing overhang of the last character added
  int32_t firstLead_ = 0;
  // The current line.
  int32_t w_ = 0, lineStart_ = 0, committedEnd_ = 0, committedWidth_ = 0, trimmedWidth_ = 0;
  bool hasBreak_ = false, hasVisible_ = true;
};

void LayoutPass::StartLine(int32_t at) {
  lineStart_ = committedEnd_ = at;
  committedWidth_ = trimmedWidth_ = 0;
  hasBreak_ = false;
  hasVisible_ = (flags_ & TXT_TRIM) == 0;
  firstLead_ = at < end_ ? Char(at).Lead : 0;
  w_ = at < end_ ? WrapAdd(firstLead_, m_.Overhang) : 0;
}

void LayoutPass::Add(int32_t c) {
  if (c == kTab) {
    w_ = NextTabStop(w_);
    return;
  }
  const TTxt_CharMetrics& cm = chars_[c];
  w_ = WrapAdd(WrapAdd(WrapSub(w_, trail_), cm.Advance), cm.Trail);
  trail_ = cm.Trail;
}

void LayoutPass::Emit() {
  const TTxt_Line line{lineCounter_,  lineStart_, committedEnd_, committedWidth_,
                       trimmedWidth_, firstLead_, hasVisible_};
  longest_ = std::max(longest_, committedEnd_ - lineStart_);
  widest_ = std::max(widest_, committedWidth_);
  if (target_) target_->LineLaidOut(line);
  if (drawing_) Draw(line);
  ++lineCounter_;
  if (hasVisible_) counted_ = lineCounter_;
}

int32_t LayoutPass::AfterBreak() const {
  // When the line ended with a word whose following space overflowed, that space is
  // dropped (and a line break right behind it); a tab begins the next line.
  int32_t next = committedEnd_;
  if (next > 0 && text_[next - 1] != kSpace && next < end_ && text_[next] == kSpace) {
    ++next;
    if (next < end_ && text_[next] == kReturn) {
      ++next;
      if (next < end_ && text_[next] == kLineFeed) ++next;
    }
  }
  return next;
}

bool LayoutPass::Run(int32_t& maxWidth, bool drawing, int32_t height) {
  drawing_ = drawing;
  height_ = height;
  lineCounter_ = counted_ = widest_ = longest_ = trail_ = firstLead_ = 0;
  if (target_) target_->PassStarted(drawing);
  if (end_ == 0) return true;
  StartLine(0);
  int32_t i = 0;
  for (;;) {
    if (i >= end_) {  // a line that starts at the end of the text: an empty last line
      Emit();
      return true;
    }
    const int32_t c = text_[i];
    const int32_t n = Next(i);
    if (c == kReturn) {
      Emit();
      i += n == kLineFeed ? 2 : 1;
      StartLine(i);
      continue;
    }
    const int32_t before = w_;
    Add(c);
    if (!(flags_ & TXT_NOWRAP) && w_ > maxWidth) {
      if (hasBreak_) {
        Emit();
        i = AfterBreak();
        StartLine(i);
        continue;
      }
      if (flags_ & TXT_BREAKCHARS) {
        // The first character after the committed end stays, so every line takes one; a
        // visible one makes the line count (steps 4-6 do not run for it).
        if (i == committedEnd_) {
          if (!IsBlank(c)) hasVisible_ = true;
          ++i;
        } else {
          w_ = before;
        }
        committedEnd_ = i;
        committedWidth_ = trimmedWidth_ = w_;
        Emit();
        StartLine(i);
        continue;
      }
      if (flags_ & TXT_GROWWIDTH) {
        if (EndsWord(n)) {
          maxWidth = w_;
          return false;
        }
        ++i;  // no break is recorded inside the word that grows the width
        continue;
      }
      // Otherwise the line runs on past the width and breaks at the next blank.
    }
    if (IsBlank(c)) {
      if (!hasVisible_) {  // a leading blank with TXT_TRIM is dropped
        w_ = 0;
        lineStart_ = i + 1;
      }
      committedEnd_ = i + 1;
      committedWidth_ = w_;
      hasBreak_ = true;
    } else {
      hasVisible_ = true;
      if (EndsWord(n)) {
        committedEnd_ = i + 1;
        committedWidth_ = trimmedWidth_ = w_;
      }
    }
    if (n == kEnd) {
      Emit();
      return true;
    }
    ++i;
  }
}

Point LayoutPass::Along(Point p, int32_t n) const {
  if (axes_.WritingBackwards) n = WrapNeg(n);
  if (axes_.WritingIsY) {
    p.y = WrapAdd(p.y, n);
  } else {
    p.x = WrapAdd(p.x, n);
  }
  return p;
}

void LayoutPass::Draw(const TTxt_Line& line) {
  const bool y = axes_.WritingIsY;
  const int32_t ws = y ? rect_.top : rect_.left, we = y ? rect_.bottom : rect_.right;
  const int32_t ls = y ? rect_.left : rect_.top, le = y ? rect_.right : rect_.bottom;

  // Along the writing axis.
  int32_t e = (flags_ & TXT_TRIM) ? line.TrimmedWidth : line.Width;
  int32_t p = ws;
  if (flags_ & TXT_HCENTER) {
    p = WrapAdd(ws, HalfFloor(static_cast<int64_t>(we) - ws - e));
  } else if (flags_ & TXT_RIGHT) {
    p = WrapSub(we, e);
  }
  if (axes_.WritingBackwards) {
    p = WrapSub(we, WrapSub(p, ws));
    e = WrapNeg(e);
  }

  // Along the line axis.
  int32_t b = ls;
  if (flags_ & TXT_VCENTER) {
    b = WrapAdd(ls, HalfFloor(static_cast<int64_t>(le) - ls - height_));
  } else if (flags_ & TXT_BOTTOM) {
    b = WrapSub(le, height_);
  }
  int32_t step = lineHeight_, cell = m_.Height;
  if (axes_.LinesBackwards) {
    b = WrapSub(le, WrapSub(b, ls));
    step = WrapNeg(lineHeight_);
    cell = WrapNeg(m_.Height);
  }
  const int32_t q = static_cast<int32_t>(b + static_cast<int64_t>(line.Index) * step);

  // The line's cell runs from q by the cell extent, which is negative when lines advance
  // backwards; it must lie wholly inside the rectangle across the lines.
  const int64_t cellLow = std::min<int64_t>(q, static_cast<int64_t>(q) + cell);
  const int64_t cellHigh = std::max<int64_t>(q, static_cast<int64_t>(q) + cell);
  if ((flags_ & TXT_WHOLELINES) && (cellLow < ls || cellHigh > le)) return;

  if (!(flags_ & TXT_NOLINEFILL)) {
    const int32_t p2 = WrapAdd(p, e), q2 = WrapAdd(q, cell);
    RECT box{};
    SetRectLTRB(y ? std::min(q, q2) : std::min(p, p2), y ? std::min(p, p2) : std::min(q, q2),
                y ? std::max(q, q2) : std::max(p, p2), y ? std::max(p, p2) : std::max(q, q2), box);
    if (flags_ & TXT_CLIP) IntersectRects(box, rect_, box);
    target_->FillBox(box);
  }
  const Point origin = Along(y ? Point{q, p} : Point{p, q}, line.FirstLead);
  DrawRuns(line, origin);
}

void LayoutPass::DrawRuns(const TTxt_Line& line, Point origin) {
  if (line.End <= line.Start) return;
  const char* chars = reinterpret_cast<const char*>(text_);
  int32_t a = text_[line.Start] == kTab ? 0 : WrapAdd(Char(line.Start).Lead, m_.Overhang);
  int32_t runStart = line.Start;
  Point runOrigin = origin;
  for (int32_t k = line.Start; k < line.End; ++k) {
    if (text_[k] != kTab) {
      a = WrapAdd(a, Char(k).Advance);
      continue;
    }
    target_->DrawRun(runOrigin.x, runOrigin.y, chars + runStart, k - runStart);
    a = NextTabStop(a);
    runOrigin = Along(origin, a);
    runStart = k + 1;
  }
  target_->DrawRun(runOrigin.x, runOrigin.y, chars + runStart, line.End - runStart);
}

// Runs a pass until the width stops growing. Each start again widens the layout, so this
// ends; the bound only guards against metrics so odd that the widths wrap around.
void RunToEnd(LayoutPass& pass, int32_t& maxWidth, bool drawing, int32_t height, int32_t textEnd) {
  for (int32_t starts = 0; !pass.Run(maxWidth, drawing, height); ++starts) {
    if (starts > textEnd) pass.ClearFlags(TXT_GROWWIDTH);
  }
}

}  // namespace

void TxtInfoToRect(const TTxt_Info& info, RECT& r) {
  if (info.Direction & (TXT_DIR_90 | TXT_DIR_270)) {
    RectFromSize(info.Height, info.Width, r);
  } else {
    RectFromSize(info.Width, info.Height, r);
  }
}

void TxtLayout(const char* text, int32_t length, const TTxt_Metrics& metrics, int32_t maxWidth,
               int32_t lineSpacing, const RECT* rect, TTxt_Info* info, uint32_t flags,
               TTxt_Target* target) {
  struct NoTarget final : TTxt_Target {};
  static NoTarget nothing;
  if (!target) target = &nothing;
  const RECT r = rect ? *rect : RECT{0, 0, 0, 0};
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  const int32_t end = bytes ? TextEnd(bytes, length) : 0;

  if (maxWidth <= 0) maxWidth = AxesOf(metrics.Direction).WritingIsY ? RectHeight(r) : RectWidth(r);
  const int32_t lineHeight = lineSpacing >= 0
                                 ? WrapAdd(metrics.Height, lineSpacing)
                                 : static_cast<int32_t>(static_cast<int64_t>(metrics.Height) *
                                                        -static_cast<int64_t>(lineSpacing) / 100);
  if (flags & TXT_BREAKCHARS) flags &= ~TXT_GROWWIDTH;
  const bool draw = (flags & TXT_DRAW) != 0;
  const bool twoPasses = draw && (flags & (TXT_GROWWIDTH | TXT_BOTTOM | TXT_VCENTER));
  if (draw && (flags & TXT_FILLRECT)) target->FillBox(r);

  LayoutPass pass(bytes, end, metrics, r, flags, lineHeight, target);
  int32_t height = 0;
  if (twoPasses) {
    RunToEnd(pass, maxWidth, false, 0, end);
    height = pass.Height();
    pass.ClearFlags(TXT_GROWWIDTH);
  }
  RunToEnd(pass, maxWidth, draw, height, end);
  if (info) {
    *info = TTxt_Info{pass.Counted(), pass.Widest(),     pass.Height(),  metrics.Height,
                      pass.Longest(), metrics.Direction, metrics.Descent};
  }
}
