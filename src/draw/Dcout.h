// Dcout: the non-text decoration of windows. Solid fills in a colour, nested one-pixel frames
// in two colours, borders of any thickness per side, and the two small caches of pens and
// brushes keyed by colour that let windows ask for a colour on every paint.
//
// Everything is drawn on a device context the caller supplies, with two-point Polylines and
// FillRect. The caches own their objects: callers select them but never delete them. A pen
// argument of 0 stands for the pen currently selected into the device context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "draw/GraphUt.h"

// ---- Unit start-up and shut-down ----------------------------------------------------------

// Creates the two empty caches and records ScreenRect. The program calls it once at start,
// after GraphUt and before DCTxtOut.
void DcoutStartup();
// Deletes every cached pen and brush and frees both caches.
void DcoutShutdown();

// The screen: (0, 0, HORZRES, VERTRES) of the screen device context, read at start-up.
extern RECT ScreenRect;

// ---- Cached pens and brushes --------------------------------------------------------------

// At most this many objects per cache; the ninth distinct colour evicts the oldest.
constexpr int32_t DC_CACHESIZE = 8;

// A solid pen, width 1, of that colour, from the cache; 0 when the system refuses to create
// one (nothing is cached then, and the next request tries again).
HPEN GetPen(COLORREF color);
// A solid brush of that colour, from the cache; 0 when the system refuses to create one.
HBRUSH GetBrush(COLORREF color);

// FillRect of the rectangle with GetBrush(color).
void FillRectColor(HDC dc, const RECT& rect, COLORREF color);

// ---- Frames -------------------------------------------------------------------------------

// Frame flags (only the high byte of the 16-bit word counts).
constexpr uint16_t FRAME_SKIP1 = 0x0100;  // skip mask: left (top with FRAME_SPLIT2 alone)
constexpr uint16_t FRAME_SKIP2 = 0x0200;  // top (right)
constexpr uint16_t FRAME_SKIP3 = 0x0400;  // right (bottom)
constexpr uint16_t FRAME_SKIP4 = 0x0800;  // bottom (left)
constexpr uint16_t FRAME_SKIPMASK = 0x0F00;
constexpr uint16_t FRAME_SPLIT2 = 0x1000;       // pen 1 draws top and right, pen 2 bottom and left
constexpr uint16_t FRAME_SKIPLTRB = 0x2000;     // with FRAME_SPLIT2: skip bits stay left..bottom
constexpr uint16_t FRAME_SHRINKDRAWN = 0x4000;  // rings shrink only on the sides they draw

// One nested frame of a frame list.
struct TFrameSpec {
  int32_t Count;    // one-pixel rings
  COLORREF Color1;  // left and top (top and right with FRAME_SPLIT2)
  COLORREF Color2;  // right and bottom (bottom and left with FRAME_SPLIT2)
  uint32_t Flags;   // frame flags
};

// A count and that many specs (Items may be null: no frames).
struct TFrameList {
  int32_t Count;
  const TFrameSpec* Items;
};

// One ring of grey (left and top) and white (right and bottom): a sunken separator.
extern const TFrameList SunkenFrame;

// Count nested one-pixel rings with pen 1 and pen 2; Rect comes back shrunk.
void DrawFrame3D(HDC dc, RECT& rect, int32_t count, HPEN pen1, HPEN pen2, uint16_t flags);
// DrawFrame3D with the cached pens of the two colours.
void DrawFrame3DColors(HDC dc, RECT& rect, int32_t count, COLORREF color1, COLORREF color2,
                       uint16_t flags);
// The list's frames in order, each inside the previous one; Rect comes back shrunk.
void DrawFrameList(HDC dc, RECT& rect, const TFrameList& list);
// Rect grown by n on all four sides, or with FRAME_SHRINKDRAWN on the sides the frame draws.
void FrameInset(RECT& rect, int32_t n, uint16_t flags);
// FrameInset by each frame's ring count: from a zero rectangle, the list's margins (negative left
// and top, positive right and bottom).
void FrameListInset(RECT& rect, const TFrameList& list);

// ---- Borders ------------------------------------------------------------------------------

// Border flags (a byte).
constexpr uint8_t BORDER_LEFT = 0x01;
constexpr uint8_t BORDER_TOP = 0x02;
constexpr uint8_t BORDER_RIGHT = 0x04;
constexpr uint8_t BORDER_BOTTOM = 0x08;
constexpr uint8_t BORDER_LRCORNERS = 0x20;  // horizontal lines stop short of the side bands
constexpr uint8_t BORDER_TBCORNERS = 0x40;  // vertical lines stop short of the top and bottom
constexpr uint8_t BORDER_OUTER = 0x80;      // lines by an undrawn side reach the outer edge; the
                                            // rectangle shrinks only on the drawn sides

// A border thickLR pixels wide left and right and thickTB high top and bottom, in penLR and
// penTB; Rect comes back shrunk.
void DrawBorder(HDC dc, RECT& rect, int32_t thickTB, int32_t thickLR, HPEN penTB, HPEN penLR,
                uint8_t flags);
// DrawBorder with the cached pen of the colour for all four sides.
void DrawBorderColor(HDC dc, RECT& rect, int32_t thickTB, int32_t thickLR, COLORREF color,
                     uint8_t flags);
