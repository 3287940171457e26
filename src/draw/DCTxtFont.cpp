// The font object: one GDI font built from a description, and its change notification.
#include <cstring>

#include "draw/DCTxtOut.h"

const LOGFONTA TxtDefaultLogFont = {-11, 0, 0, 0, FW_NORMAL,      0, 0, 0, DEFAULT_CHARSET,
                                    0,   0, 0, 0, "MS Sans Serif"};

TTxt_Font::TTxt_Font() : PixelsPerInch(ScreenPixelsPerInchY) {}

TTxt_Font::TTxt_Font(HFONT h) : TTxt_Font() {
  AssignHandle(h);
  EnsureHandle();
}

TTxt_Font::~TTxt_Font() { ReleaseHandle(); }

void TTxt_Font::Changed() {
  PointSize = -MulDiv(LogFont.lfHeight, 72, PixelsPerInch);
  Notify();
}

void TTxt_Font::AssignHandle(HFONT h) {
  // Only a font's description is taken: any other object would fill the description with
  // its own record (a pen's is 16 bytes) and GetObjectA would still report success.
  if (!h || GetObjectType(h) != OBJ_FONT) return;
  LOGFONTA lf{};
  if (GetObjectA(h, sizeof lf, &lf) <= 0) return;
  LogFont = lf;
  Recreate();
}

void TTxt_Font::AssignLogFont(const LOGFONTA& lf) {
  std::memcpy(&LogFont, &lf, sizeof LogFont);
  Recreate();
}

void TTxt_Font::SetDefault() { AssignLogFont(TxtDefaultLogFont); }

void TTxt_Font::EnsureHandle() {
  if (!Handle) SetDefault();
}

void TTxt_Font::Recreate() {
  ReleaseHandle();
  Handle = CreateFontIndirectA(&LogFont);
  if (Handle) {
    LOGFONTA actual{};
    if (GetObjectA(Handle, sizeof actual, &actual) > 0) LogFont = actual;
  }
  Changed();
}

void TTxt_Font::ReleaseHandle() {
  if (!Handle) return;
  DeleteObject(Handle);
  Handle = nullptr;
}

void TTxt_Font::Notify() {
  if (UpdateLock) {
    ChangePending = true;
    return;
  }
  if (OnChange.Code) OnChange.Code(OnChange.Object, *this);
  ChangePending = false;
}
