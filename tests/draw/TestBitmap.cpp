#include "TestBitmap.h"

#include <algorithm>

TestBitmap::TestBitmap(int32_t width, int32_t height, COLORREF background)
    : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  Clear(background);
}

TestBitmap::~TestBitmap() {
  SelectObject(dc_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void TestBitmap::Clear(COLORREF color) {
  GdiFlush();
  const uint32_t pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  std::fill(bits_, bits_ + width_ * height_, pixel);
}

COLORREF TestBitmap::Pixel(int32_t x, int32_t y) const {
  GdiFlush();
  const uint32_t p = bits_[y * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string TestBitmap::Picture(const Legend& legend) const {
  std::string picture;
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      const COLORREF c = Pixel(x, y);
      const auto it = std::find_if(legend.begin(), legend.end(),
                                   [c](const auto& entry) { return entry.first == c; });
      picture += it == legend.end() ? '?' : it->second;
    }
    picture += '\n';
  }
  return picture;
}

RECT TestBitmap::InkBounds(COLORREF background) const {
  RECT r{width_, height_, 0, 0};
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      if (Pixel(x, y) == background) continue;
      r.left = std::min<LONG>(r.left, x);
      r.top = std::min<LONG>(r.top, y);
      r.right = std::max<LONG>(r.right, x + 1);
      r.bottom = std::max<LONG>(r.bottom, y + 1);
    }
  }
  if (r.right == 0) r = RECT{0, 0, 0, 0};
  return r;
}

bool TestBitmap::SameAs(const TestBitmap& other) const {
  GdiFlush();
  return width_ == other.width_ && height_ == other.height_ &&
         std::equal(bits_, bits_ + width_ * height_, other.bits_);
}
