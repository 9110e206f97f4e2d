// The PaintTarget of the frame, grid and gradient routines on a device
// context: one-pixel solid pens, solid brushes, each GDI object made for
// one call and freed at once.
#pragma once

#include <windows.h>

#include "KvColors.h"

namespace kv {

class GdiPaintTarget : public PaintTarget {
 public:
  explicit GdiPaintTarget(HDC dc) : dc_(dc) {}
  HDC Dc() const { return dc_; }

  void Line(int x1, int y1, int x2, int y2, TColor c) override;
  void Pixel(int x, int y, TColor c) override;
  void FillRect(const TRect& r, TColor c) override;
  void Polygon(const TPoint* points, int count, TColor c) override;
  void Copy(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) override;

 private:
  HDC dc_;
};

inline COLORREF ToColorRef(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

}  // namespace kv

namespace kv {

// Paints a gradient into rect of a device context: the picture is made in
// an off-screen bitmap of the rectangle's size and drawn in one blit at the
// rectangle's top-left corner. An empty rectangle paints nothing.
void DrawGradient(HDC dc, const TRect& rect, int direction, int s, TColor colour1, TColor colour2);

}  // namespace kv
