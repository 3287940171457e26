// GraphUt: rectangle arithmetic, alignment and placement, intersection and union, docking.
//
// Rectangles are the system's RECT (left, top, right, bottom; right and bottom lie just
// outside the area). Nothing normalises a rectangle. Every output may be the same record as
// an input: each operation reads what it needs before it writes. Arithmetic wraps modulo 2^32.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
// The host build's record of the system's RECT layout.
struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
#endif

// Side masks.
constexpr uint32_t SIDE_LEFT = 0x1;
constexpr uint32_t SIDE_TOP = 0x2;
constexpr uint32_t SIDE_RIGHT = 0x4;
constexpr uint32_t SIDE_BOTTOM = 0x8;
constexpr uint32_t SIDE_ALL = 0xF;

int32_t RectWidth(const RECT& r);   // right - left
int32_t RectHeight(const RECT& r);  // bottom - top
bool IsRectZero(const RECT& r);     // all four fields 0
bool RectsEqual(const RECT& a, const RECT& b);
void ClearRect(RECT& r);
void SetRectLTRB(int32_t l, int32_t t, int32_t r, int32_t b, RECT& c);
void RectFromBounds(int32_t x, int32_t y, int32_t w, int32_t h, RECT& c);  // (x, y, x+w, y+h)
void RectFromSize(int32_t w, int32_t h, RECT& c);                          // (0, 0, w, h)
void RectSizeRect(const RECT& r, RECT& c);  // (0, 0, width, height)
void InflateRectBy(const RECT& a, const RECT& m, RECT& c);  // a grown by the margins in m
void DeflateRectBy(const RECT& a, const RECT& m, RECT& c);  // a shrunk by the margins in m
void AddRects(const RECT& a, const RECT& b, RECT& c);       // field by field
// Moves each side in the mask outward by n (inward for negative n).
void InflateSides(RECT& r, int32_t n, uint32_t sides);
void InflateSidesXY(RECT& r, int32_t dx, int32_t dy, uint32_t sides);

// AlignRect flags (low byte only).
constexpr uint32_t ALIGN_RIGHT = 0x1;
constexpr uint32_t ALIGN_BOTTOMRIGHT = 0x2;
constexpr uint32_t ALIGN_BOTTOM = 0x4;
constexpr uint32_t ALIGN_CENTER = 0x8;

// A w x h rectangle placed in within: top left, or as the flags say.
void AlignRect(const RECT& within, int32_t w, int32_t h, uint32_t flags, RECT& c);
// Two equal rectangles inside src, b being a moved by (dx, dy).
void SplitShadow(const RECT& src, RECT& a, RECT& b, int32_t dx, int32_t dy);
// One axis of PlaceRect: FitRange, and a centred span shifted by the offset after clamping.
void FitSpan(int32_t len, int32_t offset, int32_t low, int32_t high, int32_t& start,
             int32_t& end, uint16_t flags);
// A rectangle of sizeOf's size placed against bounds: low byte of flags horizontally, high
// byte vertically (FitRange flags).
void PlaceRect(const RECT& sizeOf, const RECT& bounds, int32_t dx, int32_t dy, uint16_t flags,
               RECT& c);
// The intersection, or the zero rectangle when they do not meet; touching gives an empty one.
void IntersectRects(const RECT& a, const RECT& b, RECT& c);
// The bounding rectangle (a zero rectangle is not skipped: it reaches out to the origin).
void UnionRects(const RECT& a, const RECT& b, RECT& c);

// DockRect flags.
constexpr uint32_t DOCK_TOP = 0x10000;
constexpr uint32_t DOCK_BOTTOM = 0x20000;
constexpr uint32_t DOCK_LEFT = 0x40000;
constexpr uint32_t DOCK_RIGHT = 0x80000;
constexpr uint32_t DOCK_FILL = 0x100000;
constexpr uint32_t DOCK_CLIP = 0x200000;

// Cuts a strip for out (which comes in carrying its height or width) off area, which shrinks.
void DockRect(RECT& out, RECT& area, int32_t hMargin, int32_t vMargin, uint32_t flags);
