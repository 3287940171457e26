// Makes the system refuse new GDI objects for real: creates brushes until the process's GDI
// handle table is full, and deletes them again on request and at destruction.
#pragma once

#include <windows.h>

#include <vector>

class GdiExhaustion {
 public:
  GdiExhaustion() {
    constexpr size_t kLimit = 1000000;  // far above any handle table we know of
    while (hoard_.size() < kLimit) {
      const HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
      if (!b) break;
      hoard_.push_back(b);
    }
    exhausted_ = hoard_.size() < kLimit;
  }
  ~GdiExhaustion() { Release(hoard_.size()); }
  GdiExhaustion(const GdiExhaustion&) = delete;
  GdiExhaustion& operator=(const GdiExhaustion&) = delete;

  bool Exhausted() const { return exhausted_; }
  // Deletes n of the hoarded objects, freeing that many handles.
  void Release(size_t n) {
    for (; n > 0 && !hoard_.empty(); --n) {
      DeleteObject(hoard_.back());
      hoard_.pop_back();
    }
  }

 private:
  std::vector<HBRUSH> hoard_;
  bool exhausted_ = false;
};
