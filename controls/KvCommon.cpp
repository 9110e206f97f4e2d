// Colour arithmetic, the theme's colour scheme and the frame routines of
// the panel family.
#include "KvCommon.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// Round to nearest, ties to even (the default floating-point rounding).
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// Colours of the three schemes: gradient start, gradient stop, frame.
const TSchemeColors kSchemeColors[3] = {
    {0xFFEFE3, 0xEABB99, 0xBF7F57},  // normal
    {0xEDFFFF, 0x92C7B8, 0x77A17F},  // homestead
    {0xFFF9F9, 0xD0BCBD, 0xB19F9F},  // metallic
};

// Upper-left / lower-right colours of the single-line styles fsNone..fsFlatBold.
const TFrameColors kFrameColors[] = {
    {clWindow, clWindow},            // fsNone
    {cl3DDkShadow, cl3DDkShadow},    // fsFlat
    {clBtnShadow, clBtnHighlight},   // fsGroove
    {clBtnHighlight, clBtnShadow},   // fsBump
    {clBtnShadow, clBtnHighlight},   // fsLowered
    {clNone, clNone},                // fsButtonDown
    {cl3DDkShadow, clBtnFace},       // fsRaised
    {clNone, clNone},                // fsButtonUp
    {clBtnShadow, clBtnHighlight},   // fsStatus
    {clBtnHighlight, clBtnShadow},   // fsPopup
    {clBtnShadow, clBtnShadow},      // fsFlatBold
};
constexpr int kFrameColorRows = sizeof kFrameColors / sizeof kFrameColors[0];

// Outer and inner ring of the two-line bevels.
struct TBevelRings {
  TFrameColors outer, inner;
};
TBevelRings BevelRings(TFrameStyleEx style) {
  switch (style) {
    case fsRaised: return {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
    case fsLowered: return {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
    case fsButtonUp: return {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
    default: return {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};  // fsButtonDown
  }
}

int& SchemeStore() {
  static int scheme = GetXpColorScheme();
  return scheme;
}

}  // namespace

TColor ColorToRGB(TColor c) {
  if (c == clNone || c == clDefault) return clBlack;
  if (IsSystemColor(c)) return SystemColorRgb(c & 0xFF) & 0xFFFFFF;
  return c & 0xFFFFFF;
}

// ---- Lightness arithmetic -------------------------------------------------

THsl240 ColorToHsl240(TColor colour) {
  const TColor rgb = ColorToRGB(colour);
  const double r = RedOf(rgb) / 255.0, g = GreenOf(rgb) / 255.0, b = BlueOf(rgb) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      h = (g - b) / d;
    else if (g == mx)
      h = 2 + (b - r) / d;
    else
      h = 4 + (r - g) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  return THsl240{RoundEven(h * 240), RoundEven(s * 240), RoundEven(l * 240)};
}

TColor Hsl240ToColor(int hue, int sat, int lum) {
  const double h = hue / 239.0, s = sat / 240.0, l = lum / 240.0;
  const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return clBlack;
  const double m1 = 2 * l - m2;
  const double sv = (m2 - m1) / m2;
  const double h6 = h * 6;
  const int sextant = static_cast<int>(h6);  // truncation
  const double f = h6 - sextant;
  const double v = m2 * sv * f;
  const double mid1 = m1 + v, mid2 = m2 - v;
  double r, g, b;
  switch (sextant) {
    case 1: r = mid2; g = m2; b = m1; break;
    case 2: r = m1; g = m2; b = mid1; break;
    case 3: r = m1; g = mid2; b = m2; break;
    case 4: r = mid1; g = m1; b = m2; break;
    case 5: r = m2; g = m1; b = mid2; break;
    default: r = m2; g = mid1; b = m1; break;  // 0 and any higher sextant
  }
  // Channels are capped at 1; saturations above the scale could also push a
  // channel below 0, which is held at 0 rather than wrapped.
  return Rgb(RoundEven(Clamp01(r) * 255), RoundEven(Clamp01(g) * 255), RoundEven(Clamp01(b) * 255));
}

TColor DarkenColor(TColor colour, int amount) {
  const THsl240 c = ColorToHsl240(colour);
  return Hsl240ToColor(c.h, c.s, std::max(c.l - (amount & 0xFF), 0));
}

TColor LightenColor(TColor colour, int amount) {
  const THsl240 c = ColorToHsl240(colour);
  return Hsl240ToColor(c.h, c.s, std::min(c.l + (amount & 0xFF), 255));
}

TColor ShiftColorLightness(TColor colour, int adjustment) {
  // Negated in unsigned arithmetic: the most negative int has no positive
  // counterpart, and only the low byte of the amount counts.
  if (adjustment < 0) return DarkenColor(colour, static_cast<int>((0u - static_cast<unsigned>(adjustment)) & 0xFF));
  if (adjustment > 0) return LightenColor(colour, adjustment);
  return colour;
}

// ---- Colour scheme ---------------------------------------------------------

const TSchemeColors& SchemeColors(int scheme) {
  return kSchemeColors[(scheme >= 0 && scheme <= 2) ? scheme : 0];
}

int ColorSchemeFromName(const std::string& name) {
  std::string upper = name;
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  if (upper == "HOMESTEAD") return xcsHomestead;
  if (upper == "METALLIC") return xcsMetallic;
  return xcsNormal;
}

int GetXpColorScheme() { return ColorSchemeFromName(ReadThemeColorName()); }
int ColorScheme() { return SchemeStore(); }
void ReloadColorScheme() { SchemeStore() = GetXpColorScheme(); }

TGradientPair GradientColorsFor(TKvGradientColorStyle style, bool themed, int scheme) {
  if (style == gcsMSOffice && themed) {
    const TSchemeColors& s = SchemeColors(scheme);
    return {s.gradientStart, s.gradientStop};
  }
  return {clWindow, DarkenColor(clBtnFace, 10)};
}

TColor GradientFrameColorFor(TKvGradientColorStyle style, bool themed, int scheme) {
  if (style == gcsMSOffice && themed) return SchemeColors(scheme).frame;
  return LightenColor(clBtnShadow, 30);
}

TBannerColors BannerColorsFor(TKvGradientColorStyle style, bool themed, int scheme) {
  if (style == gcsMSOffice && themed) {
    const TSchemeColors& s = SchemeColors(scheme);
    return {s.gradientStop, s.gradientStart, s.gradientStop};
  }
  return {DarkenColor(clBtnFace, 20), clWindow, DarkenColor(clBtnFace, 40)};
}

TGradientPair GetGradientColors(TKvGradientColorStyle style) {
  return GradientColorsFor(style, ThemesEnabled(), ColorScheme());
}
TColor GetGradientFrameColor(TKvGradientColorStyle style) {
  return GradientFrameColorFor(style, ThemesEnabled(), ColorScheme());
}
TBannerColors GetBannerColors(TKvGradientColorStyle style) {
  return BannerColorsFor(style, ThemesEnabled(), ColorScheme());
}

TColor GetThemedElementColor(int index) {
  if (!ThemesEnabled()) return clBtnFace;
  if (index < 0 || index > 6) return clWhite;
  return ThemedElementColor(index);
}

// ---- Frames ----------------------------------------------------------------

TFrameColors FrameStyleColors(TFrameStyleEx style) {
  const int row = static_cast<int>(style);
  if (row >= 0 && row < kFrameColorRows) return kFrameColors[row];
  return kFrameColors[fsFlat];
}

TRect ShrinkSides(TRect r, TSides sides, int by) {
  if (sides & sdLeft) r.left += by;
  if (sides & sdTop) r.top += by;
  if (sides & sdRight) r.right -= by;
  if (sides & sdBottom) r.bottom -= by;
  return r;
}

TRect DrawSideLines(PaintTarget& t, TRect r, TColor ul, TColor lr, TSides sides) {
  if (ul != clNone) {
    if (sides & sdLeft) t.Line(r.left, r.top, r.left, r.bottom, ul);
    if (sides & sdTop) t.Line(r.left, r.top, r.right, r.top, ul);
  }
  if (lr != clNone) {
    if (sides & sdRight) t.Line(r.right - 1, r.top, r.right - 1, r.bottom, lr);
    if (sides & sdBottom) t.Line(r.left, r.bottom - 1, r.right, r.bottom - 1, lr);
  }
  return ShrinkSides(r, sides, 1);
}

TRect DrawBevelLines(PaintTarget& t, TRect r, TColor ul, TColor lr, TSides sides, int count) {
  for (int i = 0; i < count; ++i) r = DrawSideLines(t, r, ul, lr, sides);
  return r;
}

TRect DrawCutCornerBorder(PaintTarget& t, TRect r, TColor c, TSides sides) {
  const bool L = sides & sdLeft, T = sides & sdTop, R = sides & sdRight, B = sides & sdBottom;
  const int y1 = T ? r.top + 2 : r.top, y2 = B ? r.bottom - 2 : r.bottom;
  const int x1 = L ? r.left + 2 : r.left, x2 = R ? r.right - 2 : r.right;
  if (L) t.Line(r.left, y1, r.left, y2, c);
  if (R) t.Line(r.right - 1, y1, r.right - 1, y2, c);
  if (T) t.Line(x1, r.top, x2, r.top, c);
  if (B) t.Line(x1, r.bottom - 1, x2, r.bottom - 1, c);
  if (L && T) t.Pixel(r.left + 1, r.top + 1, c);
  if (R && T) t.Pixel(r.right - 2, r.top + 1, c);
  if (R && B) t.Pixel(r.right - 2, r.bottom - 2, c);
  if (L && B) t.Pixel(r.left + 1, r.bottom - 2, c);
  return ShrinkSides(r, sides, 2);
}

TRect DrawStyledFrame(PaintTarget& t, TRect r, TFrameStyleEx style, TSides sides) {
  const TFrameColors fc = FrameStyleColors(style);
  switch (style) {
    case fsNone:
      return r;
    case fsFlat:
    case fsStatus:
    case fsPopup:
      return DrawSideLines(t, r, fc.upperLeft, fc.lowerRight, sides);
    case fsFlatBold:
      return DrawBevelLines(t, r, fc.upperLeft, fc.lowerRight, sides, 2);
    case fsRaised:
    case fsLowered:
    case fsButtonUp:
    case fsButtonDown: {
      const TBevelRings rings = BevelRings(style);
      r = DrawSideLines(t, r, rings.outer.upperLeft, rings.outer.lowerRight, sides);
      return DrawSideLines(t, r, rings.inner.upperLeft, rings.inner.lowerRight, sides);
    }
    case fsGroove:
    case fsBump: {
      const TColor c = fc.lowerRight, u = fc.upperLeft;
      const bool L = sides & sdLeft, T = sides & sdTop, R = sides & sdRight, B = sides & sdBottom;
      if (R)
        t.Pixel(r.right - 1, r.top, c);
      else if (T)
        t.Pixel(r.right - 1, r.top, u);
      if (B)
        t.Pixel(r.left, r.bottom - 1, c);
      else if (L)
        t.Pixel(r.left, r.bottom - 1, u);
      if (T && !L) t.Pixel(r.left, r.top + 1, c);
      if (L && !T) t.Pixel(r.left + 1, r.top, c);
      if (B && !R) t.Pixel(r.right - 1, r.bottom - 2, u);
      if (R && !B) t.Pixel(r.right - 2, r.bottom - 1, u);
      const TRect in = Rect(r.left + 1, r.top + 1, r.right, r.bottom);
      DrawSideLines(t, in, c, c, sides);
      DrawSideLines(t, Rect(in.left - 1, in.top - 1, in.right - 1, in.bottom - 1), u, u, sides);
      return ShrinkSides(r, sides, 2);
    }
    case fsFlatRounded:
      // No table row of its own: drawn as the rounded flat border in the
      // flat style's colour, two pixels wide like the other rounded frames.
      return DrawCutCornerBorder(t, r, fc.upperLeft, sides);
  }
  return r;  // a value outside the enumeration draws nothing
}

TRect DrawFlatRectangle(PaintTarget& t, TRect r, TColor colour) {
  return DrawSideLines(t, r, colour, colour, kAllSides);
}

namespace {

// The rounded flat style of DrawFrameBorders: the rings that fill the cut
// corners, then the cut-corner border over the same rectangle.
TRect DrawRoundedStep(PaintTarget& t, TRect r, const TFrameBorders& f, TColor fc, bool outerStep) {
  const bool bordered = f.borderWidth > 0 || (outerStep && f.inner != fsNone);
  TRect in = r;
  if (outerStep) {
    if (!f.transparent) {
      in = DrawSideLines(t, in, f.parentColor, f.parentColor, f.sides);
      const TColor ring = bordered ? f.borderColor : f.controlColor;
      DrawSideLines(t, in, ring, ring, f.sides);
    } else {
      in = ShrinkSides(in, f.sides, 1);
      if (bordered) DrawSideLines(t, in, f.borderColor, f.borderColor, f.sides);
    }
  } else {
    in = DrawSideLines(t, in, f.borderColor, f.borderColor, f.sides);
    if (!f.transparent) DrawSideLines(t, in, f.controlColor, f.controlColor, f.sides);
  }
  return DrawCutCornerBorder(t, r, fc, f.sides);
}

TRect DrawFrameStep(PaintTarget& t, TRect r, TFrameStyleEx style, const TFrameBorders& f, TColor fc,
                    bool outerStep) {
  switch (style) {
    case fsFlat: return DrawSideLines(t, r, fc, fc, f.sides);
    case fsFlatBold: return DrawBevelLines(t, r, fc, fc, f.sides, 2);
    case fsFlatRounded: return DrawRoundedStep(t, r, f, fc, outerStep);
    case fsStatus: return DrawBevelLines(t, r, f.borderShadow, f.borderHighlight, f.sides, f.bevelWidth);
    case fsPopup: return DrawBevelLines(t, r, f.borderHighlight, f.borderShadow, f.sides, f.bevelWidth);
    default: return DrawStyledFrame(t, r, style, f.sides);
  }
}

}  // namespace

TRect DrawFrameBorders(PaintTarget& t, TRect r, const TFrameBorders& f) {
  const TColor fc = ShiftColorLightness(f.flatColor, f.flatColorAdjustment);
  r = DrawFrameStep(t, r, f.outer, f, fc, true);
  if (f.borderWidth > 0) r = DrawBevelLines(t, r, f.borderColor, f.borderColor, f.sides, f.borderWidth);
  return DrawFrameStep(t, r, f.inner, f, fc, false);
}

// ---- Text ------------------------------------------------------------------

namespace {
bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
}  // namespace

std::string StripAccelerators(const std::string& caption) {
  std::string out;
  const size_t n = caption.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(caption[i]);
    if (IsGbkLead(c) && i + 1 < n) {  // a double-byte character is kept whole
      out += caption.substr(i, 2);
      i += 2;
    } else if (c == '&' && i + 1 < n) {
      if (caption[i + 1] == '&') {
        out += '&';
        i += 2;
      } else {
        i += 1;  // the marker goes; the marked character follows as it is
      }
    } else {
      out += static_cast<char>(c);
      i += 1;
    }
  }
  return out;
}

char AcceleratorOf(const std::string& caption) {
  const size_t n = caption.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(caption[i]);
    if (IsGbkLead(c)) {
      ++i;
    } else if (c == '&' && i + 1 < n) {
      if (caption[i + 1] != '&') return caption[i + 1];
      ++i;
    }
  }
  return 0;
}

int CompareTextGbk(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  bool trail = false;
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (!trail) {
      if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
      if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    trail = !trail && IsGbkLead(static_cast<unsigned char>(a[i]));
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace kv
