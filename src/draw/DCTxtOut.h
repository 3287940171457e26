// DCTxtOut: fonts and text output. A font object that owns one GDI font and tells its owner
// when the font changes, and a text engine that lays single-byte text out in a rectangle
// (hard line breaks, word wrap, tabs, alignment, four writing directions), reports the size
// of the result and optionally draws it with the font the caller selected.
//
// The engine is split in two. The layout pass (TxtLayout) reads a table of per-character
// metrics and makes no system call, so it is built and tested on every platform; TxtOut
// gathers the metrics from a device context and draws through it.
#pragma once

#include <cstdint>
#include <string>

#include "draw/GraphUt.h"

// ---- Layout results and flags -------------------------------------------------------------

// The result of a layout.
struct TTxt_Info {
  int32_t Lines;       // lines counted
  int32_t Width;       // widest line, along the writing direction
  int32_t Height;      // 0 for no lines, else FontHeight + (Lines - 1) x line height
  int32_t FontHeight;  // tmHeight
  int32_t MaxChars;    // most characters in one line
  int32_t Direction;   // TXT_DIR_*, 0 for any other escapement
  int32_t Descent;     // tmDescent
};

// Writing directions (the font's escapement).
constexpr int32_t TXT_DIR_0 = 1;
constexpr int32_t TXT_DIR_90 = 2;
constexpr int32_t TXT_DIR_180 = 4;
constexpr int32_t TXT_DIR_270 = 8;

// TxtOut flags; other bits have no effect.
constexpr uint32_t TXT_FILLRECT = 0x0002;    // with TXT_DRAW: fill the rectangle first
constexpr uint32_t TXT_CLIP = 0x0004;        // clip text and line fills to the rectangle
constexpr uint32_t TXT_NOLINEFILL = 0x0008;  // do not fill each line's background box
constexpr uint32_t TXT_DRAW = 0x0010;        // draw; without it, only measure
constexpr uint32_t TXT_WHOLELINES = 0x0040;  // draw only lines whose cell lies inside
constexpr uint32_t TXT_RIGHT = 0x0100;       // lines to the end of the writing axis
constexpr uint32_t TXT_HCENTER = 0x0200;     // lines centred on the writing axis
constexpr uint32_t TXT_BOTTOM = 0x0400;      // block to the end of the line axis
constexpr uint32_t TXT_VCENTER = 0x0800;     // block centred on the line axis
constexpr uint32_t TXT_NOWRAP = 0x1000;      // only carriage returns break lines
constexpr uint32_t TXT_GROWWIDTH = 0x2000;   // widen the layout to a word that cannot break
constexpr uint32_t TXT_BREAKCHARS = 0x4000;  // break such a word between characters
constexpr uint32_t TXT_TRIM = 0x8000;        // drop leading blanks, align without trailing

// R := (0, 0, Width, Height), or (0, 0, Height, Width) for 90 and 270 degrees.
void TxtInfoToRect(const TTxt_Info& info, RECT& r);

// ---- The layout pass ----------------------------------------------------------------------

// Tab stops lie at every multiple of this many pixels from the start of a line.
extern int32_t TxtTabStep;

// One character's metrics in pixels.
struct TTxt_CharMetrics {
  int32_t Advance;  // how far the pen moves
  int32_t Lead;     // how far the glyph reaches left of its origin (never negative)
  int32_t Trail;    // how far it reaches beyond its advance (may be negative)
};

constexpr int32_t TXT_CHARCODES = 256;

// What the layout reads of the font selected into the device context.
struct TTxt_Metrics {
  int32_t Height = 0;    // tmHeight
  int32_t Descent = 0;   // tmDescent
  int32_t Overhang = 0;  // tmOverhang
  int32_t Direction = TXT_DIR_0;
  const TTxt_CharMetrics* Chars = nullptr;  // TXT_CHARCODES entries (null: all zero)
};

// One line as a pass emits it.
struct TTxt_Line {
  int32_t Index;         // lines emitted before it in this pass
  int32_t Start;         // its first character
  int32_t End;           // just after its last character
  int32_t Width;         // committed width
  int32_t TrimmedWidth;  // width up to its last word end
  int32_t FirstLead;     // Lead of the character the line started with
  bool Visible;          // it holds a visible character (always, without TXT_TRIM)
};

// What the layout asks of its surroundings; every operation does nothing by default.
class TTxt_Target {
 public:
  virtual void PassStarted(bool /*drawing*/) {}
  virtual void LineLaidOut(const TTxt_Line& /*line*/) {}
  // FillRect with the device context's current brush.
  virtual void FillBox(const RECT& /*box*/) {}
  // One tab-free run of the line at its origin (ExtTextOutA); count may be 0.
  virtual void DrawRun(int32_t /*x*/, int32_t /*y*/, const char* /*chars*/, int32_t /*count*/) {}

 protected:
  ~TTxt_Target() = default;
};

// Lays text[0, length) out as TxtOut does once the metrics are known: wraps, places and
// (with TXT_DRAW) draws every line through the target, and fills info (either may be null;
// a null rect stands for (0, 0, 0, 0)).
void TxtLayout(const char* text, int32_t length, const TTxt_Metrics& metrics, int32_t maxWidth,
               int32_t lineSpacing, const RECT* rect, TTxt_Info* info, uint32_t flags,
               TTxt_Target* target);

#ifdef _WIN32

// ---- Unit start-up and shut-down ----------------------------------------------------------

// LOGPIXELSY of the screen, read at start-up.
extern int32_t ScreenPixelsPerInchY;

// Allocates the metrics table and reads the screen's pixels per inch. The program calls it
// once at start, after Dcout.
void DCTxtOutStartup();
// Frees the metrics table.
void DCTxtOutShutdown();

// ---- Fonts --------------------------------------------------------------------------------

class TTxt_Font;

// The change notification: Code(Object, font), called only when Code is set.
struct TTxt_FontEvent {
  void (*Code)(void* object, TTxt_Font& font) = nullptr;
  void* Object = nullptr;
};

// A font object: owns one GDI font (Handle, 0 when there is none) built from LogFont.
class TTxt_Font {
 public:
  HFONT Handle = nullptr;
  COLORREF Color = 0;          // text colour for the owner; nothing here changes it
  int32_t PointSize = 0;       // recomputed on every change
  int32_t PixelsPerInch = 0;   // ScreenPixelsPerInchY at creation
  LOGFONTA LogFont{};          // the current font's description, as read back
  bool UpdateLock = false;     // while set, notifications are deferred (set by the owner)
  bool ChangePending = false;  // a change happened while UpdateLock was set
  TTxt_FontEvent OnChange;

  // Create: no font yet.
  TTxt_Font();
  // CreateFromHandle: a font of its own built from h's description, or the built-in
  // default when h describes no font (h may be 0). The object never adopts h.
  explicit TTxt_Font(HFONT h);
  // Destroy: deletes the font (the owner deselects it from device contexts first).
  virtual ~TTxt_Font();
  TTxt_Font(const TTxt_Font&) = delete;
  TTxt_Font& operator=(const TTxt_Font&) = delete;

  // The change hook: PointSize from LogFont, then Notify.
  virtual void Changed();

  // Rebuilds from h's description; nothing happens when h is not a font.
  void AssignHandle(HFONT h);
  // Rebuilds from the description.
  void AssignLogFont(const LOGFONTA& lf);
  // AssignLogFont with the built-in default (MS Sans Serif, height -11).
  void SetDefault();
  // SetDefault when there is no font.
  void EnsureHandle();
  // Replaces the font by one made from LogFont and notifies, also when creation failed.
  void Recreate();
  // Deletes the font, if any.
  void ReleaseHandle();
  // Calls OnChange, or marks the change pending while UpdateLock is set.
  void Notify();
};

// The built-in default font description.
extern const LOGFONTA TxtDefaultLogFont;

// ---- The text engine on a device context --------------------------------------------------

// Lays text out with the font selected into dc and optionally draws it (see TTxt_Info and
// the TXT_ flags). maxWidth <= 0: the rectangle's extent along the writing axis.
// lineSpacing >= 0: pixels added to the font height; < 0: line height in percent of it.
void TxtOut(const std::string& text, int32_t maxWidth, int32_t lineSpacing, const RECT* rect,
            TTxt_Info* info, uint32_t flags, HDC dc);
// The size of the text on one line, without interpreting tabs or line breaks.
void TxtExtent(const std::string& text, HDC dc, SIZE& size);

#endif  // _WIN32
