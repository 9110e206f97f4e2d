// Colour values of the extended controls and the few drawing primitives the
// frame, grid and gradient routines need.
//
// A colour is the framework's colour integer: 0x00BBGGRR (red in the low
// byte), or a system colour constant (0xFF000000 | COLOR_xxx index) that is
// resolved at paint time, or clNone (nothing is drawn).
//
// This header touches no Win32 so that the arithmetic and the frame, grid
// and gradient routines build natively and are tested under the sanitizers.
#pragma once

#include <cstdint>

namespace kv {

using TColor = std::int32_t;

constexpr TColor kSystemColorFlag = static_cast<TColor>(0xFF000000u);
constexpr TColor SystemColor(int index) { return kSystemColorFlag | index; }

// System colour constants (the Win32 COLOR_xxx indexes).
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) == kSystemColorFlag; }

constexpr TColor Rgb(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// The RGB value of a system colour index (GetSysColor on the target; a fixed
// classic table in the native build). Defined once per platform.
TColor SystemColorRgb(int index);

// Plain RGB of any colour value: system colours are resolved, clNone and
// clDefault give black, and the high byte of a plain colour is dropped.
TColor ColorToRGB(TColor c);

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const TRect& o) const { return !(*this == o); }
};

struct TPoint {
  int x = 0, y = 0;
  bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
};

inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TRect InflateRect(TRect r, int dx, int dy) { return TRect{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy}; }

// What the frame, grid and gradient routines draw with. The target side
// implements it on a device context; the tests also on a plain pixel array.
class PaintTarget {
 public:
  virtual ~PaintTarget() = default;
  // A one-pixel solid line, the end point excluded. clNone draws nothing.
  virtual void Line(int x1, int y1, int x2, int y2, TColor c) = 0;
  virtual void Pixel(int x, int y, TColor c) = 0;
  // Fills [left, right) x [top, bottom).
  virtual void FillRect(const TRect& r, TColor c) = 0;
  // Fills the polygon's interior with no outline.
  virtual void Polygon(const TPoint* points, int count, TColor c) = 0;
  // A stretch copy within the target (source copy); negative extents mirror.
  virtual void Copy(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) = 0;
};

}  // namespace kv
