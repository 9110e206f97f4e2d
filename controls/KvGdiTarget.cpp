#include "KvGdiTarget.h"

#include <vector>

namespace kv {

void GdiPaintTarget::Line(int x1, int y1, int x2, int y2, TColor c) {
  if (c == clNone) return;
  HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(c));
  HGDIOBJ old = SelectObject(dc_, pen);
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
  SelectObject(dc_, old);
  DeleteObject(pen);
}

void GdiPaintTarget::Pixel(int x, int y, TColor c) {
  if (c != clNone) SetPixelV(dc_, x, y, ToColorRef(c));
}

void GdiPaintTarget::FillRect(const TRect& r, TColor c) {
  if (c == clNone || r.right <= r.left || r.bottom <= r.top) return;
  HBRUSH brush = CreateSolidBrush(ToColorRef(c));
  RECT rc = {r.left, r.top, r.right, r.bottom};
  ::FillRect(dc_, &rc, brush);
  DeleteObject(brush);
}

void GdiPaintTarget::Polygon(const TPoint* points, int count, TColor c) {
  if (c == clNone || count < 3) return;
  std::vector<POINT> pts(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) pts[static_cast<size_t>(i)] = POINT{points[i].x, points[i].y};
  HBRUSH brush = CreateSolidBrush(ToColorRef(c));
  HGDIOBJ oldBrush = SelectObject(dc_, brush);
  HGDIOBJ oldPen = SelectObject(dc_, GetStockObject(NULL_PEN));
  ::Polygon(dc_, pts.data(), count);
  SelectObject(dc_, oldPen);
  SelectObject(dc_, oldBrush);
  DeleteObject(brush);
}

void GdiPaintTarget::Copy(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
  const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dx, dy, dw, dh, dc_, sx, sy, sw, sh, SRCCOPY);
  SetStretchBltMode(dc_, oldMode);
}

}  // namespace kv

#include <cstdlib>

#include "KvGrafx.h"

namespace kv {

void DrawGradient(HDC dc, const TRect& rect, int direction, int s, TColor colour1, TColor colour2) {
  const int w = std::abs(rect.Width()), h = std::abs(rect.Height());
  if (w == 0 || h == 0) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
  if (!mem || !bmp) {
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
    return;
  }
  HGDIOBJ old = SelectObject(mem, bmp);
  GdiPaintTarget target(mem);
  FillGradientBitmap(target, w, h, static_cast<TGradientDirection>(direction), s, colour1, colour2);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

}  // namespace kv
