// What the panel family shares: lightness arithmetic on colours in a
// hue/saturation/lightness model on a 0..240 scale, the desktop theme's
// colour scheme and the colours derived from it, and the drawing of frames
// of every frame style with per-side control.
//
// Everything here but the registry and theme queries (KvThemeWin.cpp /
// KvThemeNative.cpp) is plain arithmetic over a PaintTarget.
#pragma once

#include <string>

#include "KvColors.h"

namespace kv {

enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised,
  fsButtonUp, fsStatus, fsPopup, fsFlatBold, fsFlatRounded
};
using TFrameStyle = TFrameStyleEx;  // the range fsNone..fsFlatBold

// TSides: a set of sides, one bit each.
enum TSide { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = unsigned;
constexpr TSides kAllSides = sdLeft | sdTop | sdRight | sdBottom;

enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TKvVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TKvGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TFramingPreference { fpCustomFraming, fpXPThemes };

// ---- Lightness arithmetic -------------------------------------------------

struct THsl240 {
  int h = 0, s = 0, l = 0;  // each 0..240 (l up to 255 while lightening)
  bool operator==(const THsl240& o) const { return h == o.h && s == o.s && l == o.l; }
};

THsl240 ColorToHsl240(TColor colour);
TColor Hsl240ToColor(int h, int s, int l);
TColor DarkenColor(TColor colour, int amount);
TColor LightenColor(TColor colour, int amount);
TColor ShiftColorLightness(TColor colour, int adjustment);

// ---- Colour scheme of the desktop theme -----------------------------------

enum TXpColorScheme { xcsNormal = 0, xcsHomestead = 1, xcsMetallic = 2 };

struct TSchemeColors {
  TColor gradientStart, gradientStop, frame;
};
const TSchemeColors& SchemeColors(int scheme);

// The scheme named by the theme's colour name ("HOMESTEAD", "METALLIC", any
// letter case); any other name is the normal scheme.
int ColorSchemeFromName(const std::string& name);

// Reads the current user's theme colour name from the registry and returns
// its scheme. The process keeps the last one read (ColorScheme); panels read
// it again when the theme changes (ReloadColorScheme).
int GetXpColorScheme();
int ColorScheme();
void ReloadColorScheme();

// Platform queries (one file per platform).
std::string ReadThemeColorName();
bool ThemesEnabled();
// One colour of the platform theme; the caller has checked ThemesEnabled.
TColor ThemedElementColor(int index);

struct TGradientPair {
  TColor start, stop;
};
struct TBannerColors {
  TColor stop, start, frame;
};

// The colours for a colour style, given whether platform themes are on and
// the scheme; the functions without those arguments ask the platform.
TGradientPair GradientColorsFor(TKvGradientColorStyle style, bool themed, int scheme);
TColor GradientFrameColorFor(TKvGradientColorStyle style, bool themed, int scheme);
TBannerColors BannerColorsFor(TKvGradientColorStyle style, bool themed, int scheme);
TGradientPair GetGradientColors(TKvGradientColorStyle style);
TColor GetGradientFrameColor(TKvGradientColorStyle style);
TBannerColors GetBannerColors(TKvGradientColorStyle style);
// clBtnFace with themes off; index 6 is the themed group box's text colour;
// an unknown index gives white.
TColor GetThemedElementColor(int index);

// ---- Frame tables and routines ---------------------------------------------

struct TFrameColors {
  TColor upperLeft, lowerRight;
};
// Upper-left and lower-right colour of a single-line style. fsFlatRounded,
// which has no row of its own, takes fsFlat's colours.
TFrameColors FrameStyleColors(TFrameStyleEx style);

// Each takes the rectangle to frame and the sides to draw, and returns the
// rectangle left inside; a side that is not selected is neither drawn nor
// shrunk. Lines exclude their end points.
TRect DrawSideLines(PaintTarget& t, TRect r, TColor upperLeft, TColor lowerRight, TSides sides);
TRect DrawBevelLines(PaintTarget& t, TRect r, TColor upperLeft, TColor lowerRight, TSides sides, int count);
TRect DrawStyledFrame(PaintTarget& t, TRect r, TFrameStyleEx style, TSides sides);
TRect DrawFlatRectangle(PaintTarget& t, TRect r, TColor colour);
TRect DrawCutCornerBorder(PaintTarget& t, TRect r, TColor colour, TSides sides);

struct TFrameBorders {
  TFrameStyleEx outer = fsNone, inner = fsNone;
  TSides sides = kAllSides;
  int borderWidth = 0;
  int bevelWidth = 1;
  bool transparent = false;
  TColor parentColor = clBtnFace;
  TColor controlColor = clBtnFace;
  TColor borderColor = clBtnFace;
  TColor borderHighlight = clBtnHighlight;
  TColor borderShadow = clBtnShadow;
  TColor flatColor = clBtnShadow;
  int flatColorAdjustment = 0;
};
// A panel's complete frame: outer style, border ring, inner style.
TRect DrawFrameBorders(PaintTarget& t, TRect r, const TFrameBorders& f);

// Shrinks a rectangle by one on each selected side.
TRect ShrinkSides(TRect r, TSides sides, int by);

// ---- Text ------------------------------------------------------------------

// The caption as displayed: "&x" shows "x", "&&" shows "&"; a last "&" stays.
std::string StripAccelerators(const std::string& caption);
// The accelerator character of a caption ("&x" gives 'x'), or 0.
char AcceleratorOf(const std::string& caption);

// Letter-case-blind comparison of GBK text: ASCII letters are folded, the
// trail byte of a double-byte character is compared as it is.
int CompareTextGbk(const std::string& a, const std::string& b);

}  // namespace kv
