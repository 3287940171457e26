// A memory device context that draws into a 32-bit top-down DIB section, so that tests can
// read back every pixel, and a picture of it as text for comparing with hand-drawn ones.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Pixel colours and the letters that stand for them in a picture; any other colour is '?'.
using Legend = std::vector<std::pair<COLORREF, char>>;

class TestBitmap {
 public:
  TestBitmap(int32_t width, int32_t height, COLORREF background);
  ~TestBitmap();
  TestBitmap(const TestBitmap&) = delete;
  TestBitmap& operator=(const TestBitmap&) = delete;

  HDC Dc() const { return dc_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void Clear(COLORREF color);
  COLORREF Pixel(int32_t x, int32_t y) const;
  // One line per pixel row, each ended by '\n'.
  std::string Picture(const Legend& legend) const;
  // The smallest rectangle holding every pixel not of that colour; (0, 0, 0, 0) if none.
  RECT InkBounds(COLORREF background) const;
  bool SameAs(const TestBitmap& other) const;

 private:
  int32_t width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
};
