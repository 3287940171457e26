// Frames of one-pixel rings and borders of any thickness, drawn as two-point Polylines.
//
// A ring's four sides follow one another around the rectangle: left runs up from the
// bottom-left corner, top runs right, right runs down, bottom runs left. A two-point Polyline
// draws its first point and stops before its second, so each corner belongs to the side that
// starts there: top-left to top, top-right to right, bottom-right to bottom, bottom-left to
// left.
#include "draw/Dcout.h"
#include "system/Matut.h"

namespace {

constexpr int kLeft = 0, kTop = 1, kRight = 2, kBottom = 3;
constexpr uint32_t kSideBit[4] = {SIDE_LEFT, SIDE_TOP, SIDE_RIGHT, SIDE_BOTTOM};
constexpr POINT kRunDirection[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

int NextSide(int side) { return (side + 1) & 3; }
int PreviousSide(int side) { return (side + 3) & 3; }
bool IsHorizontal(int side) { return side == kTop || side == kBottom; }

// v moved n steps in direction d (-1, 0 or 1).
int32_t Step(int32_t v, int32_t d, int32_t n) {
  return d > 0 ? WrapAdd(v, n) : d < 0 ? WrapSub(v, n) : v;
}

POINT Moved(POINT p, int side, int32_t n) {
  const POINT d = kRunDirection[side];
  return {Step(p.x, d.x, n), Step(p.y, d.y, n)};
}

// The corners of the ring at inset i, indexed so that side s runs from corner s to corner
// s + 1: bottom-left, top-left, top-right, bottom-right.
struct Ring {
  POINT Corner[4];
};

Ring RingAt(const RECT& r, int32_t i) {
  const int32_t l = WrapAdd(r.left, i), t = WrapAdd(r.top, i);
  const int32_t rr = WrapSub(WrapSub(r.right, 1), i), b = WrapSub(WrapSub(r.bottom, 1), i);
  return {{{l, b}, {l, t}, {rr, t}, {rr, b}}};
}

// One side as a Polyline: from its start corner moved back by `before` pixels, through its end
// corner moved on by `after` pixels (-1: stopping short of the end corner).
void DrawSide(HDC dc, const Ring& ring, int side, int32_t before, int32_t after) {
  POINT points[2] = {Moved(ring.Corner[side], side, WrapNeg(before)),
                     Moved(ring.Corner[NextSide(side)], side, WrapAdd(after, 1))};
  Polyline(dc, points, 2);
}

// The sides a frame skips, as side bits. With FRAME_SPLIT2 alone the four skip bits name
// top, right, bottom, left: turning them one place maps them onto left, top, right, bottom.
uint32_t SkippedSides(uint16_t flags) {
  const uint32_t bits = (flags & FRAME_SKIPMASK) >> 8;
  if ((flags & FRAME_SPLIT2) && !(flags & FRAME_SKIPLTRB)) return ((bits << 1) | (bits >> 3)) & 0xF;
  return bits;
}

// The sides a frame shrinks by after each ring (FrameInset's mask).
uint32_t FrameShrinkSides(uint16_t flags) {
  return (flags & FRAME_SHRINKDRAWN) ? (~SkippedSides(flags) & SIDE_ALL) : SIDE_ALL;
}

// The sides of each pen, in drawing order: normal, and split along the other diagonal.
constexpr int kPenSides[2][2][2] = {{{kLeft, kTop}, {kRight, kBottom}},
                                    {{kTop, kRight}, {kBottom, kLeft}}};

void DrawRingSides(HDC dc, const Ring& ring, const int (&sides)[2], uint32_t skipped) {
  for (const int side : sides) {
    if (skipped & kSideBit[side]) continue;
    // A skipped corner owner hands its corner to this side.
    const bool ownerSkipped = (skipped & kSideBit[NextSide(side)]) != 0;
    DrawSide(dc, ring, side, 0, ownerSkipped ? 0 : -1);
  }
}

// The pen choice of DrawBorder: selects only when the pen is not the current one.
struct PenState {
  HDC Dc;
  HGDIOBJ Current;
  void MakeCurrent(HGDIOBJ pen) {
    if (pen && pen != Current) {
      SelectObject(Dc, pen);
      Current = pen;
    }
  }
};

// How far one border line reaches past its ring's start and end corners (see DrawSide).
struct LineReach {
  int32_t Before;
  int32_t After;
};

LineReach BorderReach(int side, int32_t i, int32_t thickTB, int32_t thickLR, uint8_t flags) {
  const bool prevDrawn = (flags & kSideBit[PreviousSide(side)]) != 0;
  const bool nextDrawn = (flags & kSideBit[NextSide(side)]) != 0;
  if (flags & (BORDER_LRCORNERS | BORDER_TBCORNERS)) {
    // Outer edge to outer edge, shortened by the bands of the drawn sides that own corners.
    LineReach reach{i, i};
    const bool shorten =
        IsHorizontal(side) ? (flags & BORDER_LRCORNERS) != 0 : (flags & BORDER_TBCORNERS) != 0;
    const int32_t band = IsHorizontal(side) ? thickLR : thickTB;
    if (shorten && prevDrawn) reach.Before = WrapSub(reach.Before, band);
    if (shorten && nextDrawn) reach.After = WrapSub(reach.After, band);
    return reach;
  }
  // The ring's own corners, owned by the side that starts there; by an undrawn side the
  // line covers the corner and, with BORDER_OUTER, runs on to the outer edge.
  const int32_t open = (flags & BORDER_OUTER) ? i : 0;
  return {prevDrawn ? 0 : open, nextDrawn ? -1 : open};
}

void DrawBorderSides(HDC dc, const RECT& rect, int32_t i, int32_t thickTB, int32_t thickLR,
                     uint8_t flags, int first, int second) {
  const Ring ring = RingAt(rect, i);
  for (const int side : {first, second}) {
    if (!(flags & kSideBit[side])) continue;
    const LineReach reach = BorderReach(side, i, thickTB, thickLR, flags);
    DrawSide(dc, ring, side, reach.Before, reach.After);
  }
}

}  // namespace

namespace {
constexpr TFrameSpec kSunkenSpec{1, 0x808080, 0xFFFFFF, 0};
}  // namespace

const TFrameList SunkenFrame{1, &kSunkenSpec};

void DrawFrame3D(HDC dc, RECT& rect, int32_t count, HPEN pen1, HPEN pen2, uint16_t flags) {
  flags &= 0xFF00;
  if (!pen1) pen1 = pen2;
  if (pen2 == pen1) pen2 = nullptr;  // one pen for everything
  HGDIOBJ previous = nullptr;
  if (pen1) previous = SelectObject(dc, pen1);
  const uint32_t skipped = SkippedSides(flags);
  const uint32_t shrink = FrameShrinkSides(flags);
  const auto& sides = kPenSides[(flags & FRAME_SPLIT2) ? 1 : 0];
  while (count > 0) {
    const Ring ring = RingAt(rect, 0);
    DrawRingSides(dc, ring, sides[0], skipped);
    if (pen2) SelectObject(dc, pen2);
    DrawRingSides(dc, ring, sides[1], skipped);
    InflateSides(rect, -1, shrink);
    --count;
    if (count > 0 && pen2) SelectObject(dc, pen1);
  }
  if (pen1) SelectObject(dc, previous);
}

void DrawFrame3DColors(HDC dc, RECT& rect, int32_t count, COLORREF color1, COLORREF color2,
                       uint16_t flags) {
  HPEN pen1 = GetPen(color1);
  const HPEN pen2 = GetPen(color2);
  // The second lookup evicts the first pen when that was the oldest of a full cache; asking
  // again gives a live pen of the first colour (and evicts an older one, never pen 2).
  pen1 = GetPen(color1);
  DrawFrame3D(dc, rect, count, pen1, pen2, flags);
}

void DrawFrameList(HDC dc, RECT& rect, const TFrameList& list) {
  if (!list.Items) return;
  for (int32_t i = 0; i < list.Count; ++i) {
    const TFrameSpec& frame = list.Items[i];
    DrawFrame3DColors(dc, rect, frame.Count, frame.Color1, frame.Color2,
                      static_cast<uint16_t>(frame.Flags));
  }
}

void FrameInset(RECT& rect, int32_t n, uint16_t flags) {
  InflateSides(rect, n, FrameShrinkSides(flags));
}

void FrameListInset(RECT& rect, const TFrameList& list) {
  if (!list.Items) return;
  for (int32_t i = 0; i < list.Count; ++i) {
    FrameInset(rect, list.Items[i].Count, static_cast<uint16_t>(list.Items[i].Flags));
  }
}

void DrawBorder(HDC dc, RECT& rect, int32_t thickTB, int32_t thickLR, HPEN penTB, HPEN penLR,
                uint8_t flags) {
  if (!(flags & (BORDER_LEFT | BORDER_RIGHT))) thickLR = 0;
  if (!(flags & (BORDER_TOP | BORDER_BOTTOM))) thickTB = 0;
  if (thickLR <= 0 && thickTB <= 0) return;
  const HPEN first = penLR ? penLR : penTB;
  HGDIOBJ previous = nullptr;
  if (first) previous = SelectObject(dc, first);
  // A zero pen stands for the pen that was selected before.
  const HGDIOBJ lr = penLR ? penLR : previous;
  const HGDIOBJ tb = penTB ? penTB : previous;
  PenState pens{dc, first};
  const int32_t rings = thickLR > thickTB ? thickLR : thickTB;
  for (int32_t i = 0; i < rings; ++i) {
    if (i < thickLR) {
      pens.MakeCurrent(lr);
      DrawBorderSides(dc, rect, i, thickTB, thickLR, flags, kLeft, kRight);
    }
    if (i < thickTB) {
      pens.MakeCurrent(tb);
      DrawBorderSides(dc, rect, i, thickTB, thickLR, flags, kTop, kBottom);
    }
  }
  const uint32_t sides = (flags & (BORDER_LRCORNERS | BORDER_TBCORNERS | BORDER_OUTER))
                             ? (flags & SIDE_ALL)
                             : SIDE_ALL;
  InflateSidesXY(rect, WrapNeg(thickLR), WrapNeg(thickTB), sides);
  if (first) SelectObject(dc, previous);
}

void DrawBorderColor(HDC dc, RECT& rect, int32_t thickTB, int32_t thickLR, COLORREF color,
                     uint8_t flags) {
  const HPEN pen = GetPen(color);
  DrawBorder(dc, rect, thickTB, thickLR, pen, pen, flags);
}
