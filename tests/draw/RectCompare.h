// RECT equality and printing for the tests' expectations.
#pragma once

#include <ostream>

#include "draw/GraphUt.h"

inline bool operator==(const RECT& a, const RECT& b) { return RectsEqual(a, b); }
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
