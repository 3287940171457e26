// The text engine on a device context: the unit's metrics buffer, filled from the font
// selected into the device context on every call, and the target that draws the layout's
// fills and runs with FillRect and ExtTextOutA.
#include "draw/DCTxtOut.h"
#include "system/Memory.h"

int32_t ScreenPixelsPerInchY = 0;

namespace {

constexpr BYTE kTrueType = TMPF_TRUETYPE;

// The metrics buffer; the character table is allocated at start-up.
struct MetricsBuffer {
  LOGFONTA LogFont;
  TEXTMETRICA TextMetric;
  TTxt_CharMetrics* Chars;
};
MetricsBuffer Buffer{};

int32_t DirectionOf(const LOGFONTA& lf, const TEXTMETRICA& tm) {
  if (!(tm.tmPitchAndFamily & kTrueType) || lf.lfEscapement == 0) return TXT_DIR_0;
  switch (lf.lfEscapement) {
    case 900:
      return TXT_DIR_90;
    case 1800:
      return TXT_DIR_180;
    case 2700:
      return TXT_DIR_270;
    default:
      return 0;
  }
}

// Reads the selected font's description, text metrics and the widths of all 256 codes.
// GDI results are not tested: a failing call leaves zeros or the previous call's values.
TTxt_Metrics GatherMetrics(HDC dc) {
  GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof Buffer.LogFont, &Buffer.LogFont);
  GetTextMetricsA(dc, &Buffer.TextMetric);
  const TEXTMETRICA& tm = Buffer.TextMetric;
  TTxt_CharMetrics* chars = Buffer.Chars;
  if (tm.tmPitchAndFamily & kTrueType) {
    ABC abc[TXT_CHARCODES] = {};
    GetCharABCWidthsA(dc, 0, TXT_CHARCODES - 1, abc);
    for (int32_t c = 0; c < TXT_CHARCODES; ++c) {
      const int32_t a = abc[c].abcA, b = static_cast<int32_t>(abc[c].abcB), cc = abc[c].abcC;
      chars[c] = {a + b + cc, a < 0 ? -a : 0, -cc};
    }
  } else {
    INT widths[TXT_CHARCODES] = {};
    GetCharWidthA(dc, 0, TXT_CHARCODES - 1, widths);
    for (int32_t c = 0; c < TXT_CHARCODES; ++c) {
      chars[c] = {widths[c] - static_cast<int32_t>(tm.tmOverhang), 0, 0};
    }
  }
  TTxt_Metrics m;
  m.Height = tm.tmHeight;
  m.Descent = tm.tmDescent;
  m.Overhang = tm.tmOverhang;
  m.Direction = DirectionOf(Buffer.LogFont, tm);
  m.Chars = chars;
  return m;
}

// Draws what the layout asks for with the device context's current brush and font.
class DcTarget final : public TTxt_Target {
 public:
  DcTarget(HDC dc, const RECT& clip, bool clipped) : dc_(dc), clip_(clip), clipped_(clipped) {}
  void FillBox(const RECT& box) override {
    FillRect(dc_, &box, static_cast<HBRUSH>(GetCurrentObject(dc_, OBJ_BRUSH)));
  }
  void DrawRun(int32_t x, int32_t y, const char* chars, int32_t count) override {
    ExtTextOutA(dc_, x, y, clipped_ ? ETO_CLIPPED : 0, &clip_, chars, static_cast<UINT>(count),
                nullptr);
  }

 private:
  HDC dc_;
  RECT clip_;
  bool clipped_;
};

int32_t TextLength(const std::string& text) {
  return text.size() > INT32_MAX ? INT32_MAX : static_cast<int32_t>(text.size());
}

}  // namespace

void DCTxtOutStartup() {
  if (!Buffer.Chars) {
    Buffer.Chars = static_cast<TTxt_CharMetrics*>(
        BlockAlloc(MEM_DEFAULTFLAGS | MEM_ZEROINIT, TXT_CHARCODES * sizeof(TTxt_CharMetrics)));
  }
  const HDC screen = GetDC(nullptr);
  ScreenPixelsPerInchY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  TxtTabStep = 48;
}

void DCTxtOutShutdown() {
  BlockFree(Buffer.Chars);
  Buffer.Chars = nullptr;
}

void TxtOut(const std::string& text, int32_t maxWidth, int32_t lineSpacing, const RECT* rect,
            TTxt_Info* info, uint32_t flags, HDC dc) {
  if (!Buffer.Chars) {  // the unit was not started: there is nowhere to put the metrics
    if (info) *info = TTxt_Info{};
    return;
  }
  const TTxt_Metrics metrics = GatherMetrics(dc);
  const RECT clip = rect ? *rect : RECT{0, 0, 0, 0};
  DcTarget target(dc, clip, (flags & TXT_CLIP) != 0);
  const bool draw = (flags & TXT_DRAW) != 0;
  const int previousMode = draw ? SetBkMode(dc, TRANSPARENT) : 0;
  TxtLayout(text.data(), TextLength(text), metrics, maxWidth, lineSpacing, rect, info, flags,
            &target);
  if (draw) SetBkMode(dc, previousMode);
}

void TxtExtent(const std::string& text, HDC dc, SIZE& size) {
  size = SIZE{0, 0};
  GetTextExtentPoint32A(dc, text.data(), TextLength(text), &size);
}
