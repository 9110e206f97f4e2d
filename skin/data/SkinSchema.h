// The part of the skin schema that reads numbers and colours out of the
// description: the values of a skin object apart from its images (margins,
// frame count, style, transparency, tiling, text colours), the text colours
// given as three numbers, and the frame counts worked out from an image's
// size when the description gives none. No Win32: the skin data
// (SkinDataContent) reads its objects through these, and the fuzz target
// of the description runs them natively.
#pragma once
#include <cstdint>
#include <string>

#include "SkinImage.h"
#include "SkinPixels.h"
#include "WinSkinIni.h"

struct TSkinObjectValues {
  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  int32_t Trans = 0;  // 1: magenta pixels are transparent
  int32_t Tile = 0;   // 1: the middle is tiled, 0: stretched
  int32_t Frame = 0;  // number of state images in the object's image strip
  int32_t Style = 0;
  TColor NormalColour = 0;
  TColor MouseOverColour = 0;
  TColor PressedColour = 0;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;

  TSkinRect Margins() const { return SkinRect(LeftWidth, TopHeight, RightWidth, BottomHeight); }
  // A frame count below 1 becomes 1 and a negative margin 0, so that every
  // consumer can divide by Frame and subtract margins without checking.
  void Normalise();
};

// The keys every object section shares: Style, the four margins, Frame (when
// `frame`), Trans, Tile (above 1 it counts as 0), the three colours (-1 when
// absent) and the three second colours as colour texts (`secondColour` when
// absent).
void ReadSkinObjectValues(const TQuickIni& ini, const std::string& section, bool frame, TColor secondColour,
                          TSkinObjectValues& values);

// A colour given as <prefix>R, <prefix>G and <prefix>B; `colour` is left as
// it is unless all three are there and not negative.
void ReadSkinTextColour(const TQuickIni& ini, const std::string& section, const std::string& prefix,
                        TColor& colour);

// The frame count of a caption button whose section gives none: 6 without an
// image or for a negative action, else 3 for a strip at most 3.8 times as
// wide as high and 6 for a wider one.
int32_t SysButtonFrameCount(int32_t action, int width, int height);

// The frame count of a check box or radio button glyph strip whose section
// gives none: cells 13 pixels wide in a strip under 16 high, else 16; at
// least 4.
int32_t GlyphFrameCount(int width, int height);
