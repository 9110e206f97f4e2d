// Colour values of the extended controls and the few drawing primitives the
// frame, grid and gradient routines need.
//
// A colour is the framework's colour integer: 0x00BBGGRR (red in the low
// byte), or a system colour constant (0xFF000000 | COLOR_xxx index) that is
// resolved at paint time, or clNone (nothing is drawn).
//
// This header touches no Win32 (the framework's colours are part of its
// portable core) so that the arithmetic and the frame, grid and gradient
// routines build natively and are tested under the sanitizers.
#pragma once

#include <cstdint>

#include "Colors.h"

namespace kv {

// The framework's colour values and constants, by their usual names.
using fw::TColor;
using fw::SystemColor;
using fw::clScrollBar;
using fw::clBackground;
using fw::clActiveCaption;
using fw::clInactiveCaption;
using fw::clMenu;
using fw::clWindow;
using fw::clWindowFrame;
using fw::clMenuText;
using fw::clWindowText;
using fw::clCaptionText;
using fw::clActiveBorder;
using fw::clInactiveBorder;
using fw::clAppWorkSpace;
using fw::clHighlight;
using fw::clHighlightText;
using fw::clBtnFace;
using fw::clBtnShadow;
using fw::clGrayText;
using fw::clBtnText;
using fw::clInactiveCaptionText;
using fw::clBtnHighlight;
using fw::cl3DDkShadow;
using fw::cl3DLight;
using fw::clInfoText;
using fw::clInfoBk;
using fw::clNone;
using fw::clDefault;
using fw::clBlack;
using fw::clMaroon;
using fw::clGreen;
using fw::clOlive;
using fw::clNavy;
using fw::clPurple;
using fw::clTeal;
using fw::clGray;
using fw::clSilver;
using fw::clRed;
using fw::clLime;
using fw::clYellow;
using fw::clBlue;
using fw::clFuchsia;
using fw::clAqua;
using fw::clWhite;

using fw::IsSystemColor;

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
