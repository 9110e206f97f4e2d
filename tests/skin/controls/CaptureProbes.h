// Probes over captured pixels shared by the control skinners' tests: where
// a colour occurs in a rectangle, and the bounds of what differs from a
// background.
#pragma once
#include <windows.h>

#include <functional>

#include "SkinTestSupport.h"

namespace skintest {

// The bounds of the pixels of r that satisfy the test; empty (all 0) when
// none does.
inline RECT PixelBounds(const TCapture& c, const RECT& r, const std::function<bool(COLORREF)>& test) {
  RECT b = {0, 0, 0, 0};
  bool any = false;
  for (int y = r.top; y < r.bottom; y++)
    for (int x = r.left; x < r.right; x++) {
      if (!test(c.At(x, y))) continue;
      if (!any) b = RECT{x, y, x + 1, y + 1};
      if (x < b.left) b.left = x;
      if (y < b.top) b.top = y;
      if (x + 1 > b.right) b.right = x + 1;
      if (y + 1 > b.bottom) b.bottom = y + 1;
      any = true;
    }
  return b;
}

inline bool HasColour(const TCapture& c, const RECT& r, COLORREF colour) {
  const RECT b = PixelBounds(c, r, [&](COLORREF p) { return p == colour; });
  return b.right > b.left;
}

// Pixels of r that are none of the given colours (the drawn text).
inline RECT InkBounds(const TCapture& c, const RECT& r, std::initializer_list<COLORREF> background) {
  return PixelBounds(c, r, [&](COLORREF p) {
    for (COLORREF b : background)
      if (p == b) return false;
    return true;
  });
}

}  // namespace skintest
