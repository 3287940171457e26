// Rectangle geometry.
#include "draw/GraphUt.h"

#include <algorithm>

#include "system/Matut.h"

int32_t RectWidth(const RECT& r) { return WrapSub(r.right, r.left); }

int32_t RectHeight(const RECT& r) { return WrapSub(r.bottom, r.top); }

bool IsRectZero(const RECT& r) {
  return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
}

bool RectsEqual(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ClearRect(RECT& r) { SetRectLTRB(0, 0, 0, 0, r); }

void SetRectLTRB(int32_t l, int32_t t, int32_t r, int32_t b, RECT& c) {
  c.left = l;
  c.top = t;
  c.right = r;
  c.bottom = b;
}

void RectFromBounds(int32_t x, int32_t y, int32_t w, int32_t h, RECT& c) {
  SetRectLTRB(x, y, WrapAdd(x, w), WrapAdd(y, h), c);
}

void RectFromSize(int32_t w, int32_t h, RECT& c) { SetRectLTRB(0, 0, w, h, c); }

void RectSizeRect(const RECT& r, RECT& c) { RectFromSize(RectWidth(r), RectHeight(r), c); }

void InflateRectBy(const RECT& a, const RECT& m, RECT& c) {
  SetRectLTRB(WrapSub(a.left, m.left), WrapSub(a.top, m.top), WrapAdd(a.right, m.right),
              WrapAdd(a.bottom, m.bottom), c);
}

void DeflateRectBy(const RECT& a, const RECT& m, RECT& c) {
  SetRectLTRB(WrapAdd(a.left, m.left), WrapAdd(a.top, m.top), WrapSub(a.right, m.right),
              WrapSub(a.bottom, m.bottom), c);
}

void AddRects(const RECT& a, const RECT& b, RECT& c) {
  SetRectLTRB(WrapAdd(a.left, b.left), WrapAdd(a.top, b.top), WrapAdd(a.right, b.right),
              WrapAdd(a.bottom, b.bottom), c);
}

void InflateSides(RECT& r, int32_t n, uint32_t sides) { InflateSidesXY(r, n, n, sides); }

void InflateSidesXY(RECT& r, int32_t dx, int32_t dy, uint32_t sides) {
  if (sides & SIDE_LEFT) r.left = WrapSub(r.left, dx);
  if (sides & SIDE_TOP) r.top = WrapSub(r.top, dy);
  if (sides & SIDE_RIGHT) r.right = WrapAdd(r.right, dx);
  if (sides & SIDE_BOTTOM) r.bottom = WrapAdd(r.bottom, dy);
}

void AlignRect(const RECT& within, int32_t w, int32_t h, uint32_t flags, RECT& c) {
  flags &= 0xFF;
  int32_t x = within.left;
  int32_t y = within.top;
  if (flags & (ALIGN_RIGHT | ALIGN_BOTTOMRIGHT)) x = WrapSub(within.right, w);
  if (flags & (ALIGN_BOTTOMRIGHT | ALIGN_BOTTOM)) y = WrapSub(within.bottom, h);
  if (flags & ALIGN_CENTER) {
    x = WrapAdd(x, HalfFloor(static_cast<int64_t>(within.right) - x - w));
    y = WrapAdd(y, HalfFloor(static_cast<int64_t>(within.bottom) - y - h));
  }
  SetRectLTRB(x, y, WrapAdd(x, w), WrapAdd(y, h), c);
}

void SplitShadow(const RECT& src, RECT& a, RECT& b, int32_t dx, int32_t dy) {
  const RECT s = src;
  a = s;
  b = s;
  if (dx >= 0) {
    b.left = WrapAdd(b.left, dx);
    a.right = WrapSub(a.right, dx);
  } else {
    b.right = WrapAdd(b.right, dx);
    a.left = WrapSub(a.left, dx);
  }
  if (dy >= 0) {
    b.top = WrapAdd(b.top, dy);
    a.bottom = WrapSub(a.bottom, dy);
  } else {
    b.bottom = WrapAdd(b.bottom, dy);
    a.top = WrapSub(a.top, dy);
  }
}

void FitSpan(int32_t len, int32_t offset, int32_t low, int32_t high, int32_t& start,
             int32_t& end, uint16_t flags) {
  if (FitRange(len, offset, low, high, start, end, flags) != FIT_EMPTY && (flags & FIT_CENTER)) {
    start = WrapAdd(start, offset);
    end = WrapAdd(end, offset);
  }
}

void PlaceRect(const RECT& sizeOf, const RECT& bounds, int32_t dx, int32_t dy, uint16_t flags,
               RECT& c) {
  const int32_t w = RectWidth(sizeOf);
  const int32_t h = RectHeight(sizeOf);
  const RECT b = bounds;
  int32_t l, t, r, bt;
  FitSpan(w, dx, b.left, b.right, l, r, flags & 0xFF);
  FitSpan(h, dy, b.top, b.bottom, t, bt, flags >> 8);
  SetRectLTRB(l, t, r, bt, c);
}

namespace {

void SetOrZero(int32_t l, int32_t t, int32_t r, int32_t b, RECT& c) {
  if (l > r || t > b)
    ClearRect(c);
  else
    SetRectLTRB(l, t, r, b, c);
}

}  // namespace

void IntersectRects(const RECT& a, const RECT& b, RECT& c) {
  SetOrZero(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom), c);
}

void UnionRects(const RECT& a, const RECT& b, RECT& c) {
  SetOrZero(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom), c);
}

void DockRect(RECT& out, RECT& area, int32_t hMargin, int32_t vMargin, uint32_t flags) {
  const RECT original = area;
  if (flags & DOCK_FILL) {
    out = original;
    return;
  }
  if (flags & DOCK_TOP) {
    const int32_t h = RectHeight(out);
    out.left = area.left;
    out.right = area.right;
    out.top = WrapAdd(area.top, vMargin);
    out.bottom = WrapAdd(out.top, h);
    area.top = out.bottom;
  }
  if (flags & DOCK_BOTTOM) {
    const int32_t h = RectHeight(out);
    out.left = area.left;
    out.right = area.right;
    out.bottom = WrapSub(area.bottom, vMargin);
    out.top = WrapSub(out.bottom, h);
    area.bottom = out.top;
  }
  if (flags & DOCK_LEFT) {
    const int32_t wd = RectWidth(out);
    out.top = area.top;
    out.bottom = area.bottom;
    out.left = WrapAdd(area.left, hMargin);
    out.right = WrapAdd(out.left, wd);
    area.left = out.right;
  }
  if (flags & DOCK_RIGHT) {
    const int32_t wd = RectWidth(out);
    out.top = area.top;
    out.bottom = area.bottom;
    out.right = WrapSub(area.right, hMargin);
    out.left = WrapSub(out.right, wd);
    area.right = out.left;
  }
  if (flags & DOCK_CLIP) IntersectRects(out, original, out);
}
