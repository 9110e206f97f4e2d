#include "SkinSchema.h"

void TSkinObjectValues::Normalise() {
  if (Frame < 1) Frame = 1;
  if (LeftWidth < 0) LeftWidth = 0;
  if (TopHeight < 0) TopHeight = 0;
  if (RightWidth < 0) RightWidth = 0;
  if (BottomHeight < 0) BottomHeight = 0;
}

namespace {
TColor ColourText(const std::string& text, TColor defaultColour) {
  return text.empty() ? defaultColour : ParseColourText(text);
}
}  // namespace

void ReadSkinObjectValues(const TQuickIni& ini, const std::string& s, bool frame, TColor second,
                          TSkinObjectValues& o) {
  o.Style = ini.ReadInteger(s, "Style", 0);
  o.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
  o.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
  o.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
  o.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
  if (frame) o.Frame = ini.ReadInteger(s, "Frame", 0);
  o.Trans = ini.ReadInteger(s, "Trans", 0);
  o.Tile = ini.ReadInteger(s, "Tile", 0);
  o.NormalColour = ini.ReadInteger(s, "NormalColour", -1);
  o.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", -1);
  o.PressedColour = ini.ReadInteger(s, "PressedColour", -1);
  o.NormalColour2 = ColourText(ini.ReadString(s, "NormalColour2", ""), second);
  o.MouseOverColour2 = ColourText(ini.ReadString(s, "MouseOverColour2", ""), second);
  o.PressedColour2 = ColourText(ini.ReadString(s, "PressedColour2", ""), second);
  if (o.Tile > 1) o.Tile = 0;
}

void ReadSkinTextColour(const TQuickIni& ini, const std::string& section, const std::string& prefix,
                        TColor& colour) {
  int32_t r = ini.ReadInteger(section, prefix + "R", -1);
  int32_t g = ini.ReadInteger(section, prefix + "G", -1);
  int32_t b = ini.ReadInteger(section, prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) colour = RGBColor(r % 256, g % 256, b % 256);
}

int32_t SysButtonFrameCount(int32_t action, int width, int height) {
  if (width <= 0 || height <= 0 || action < 0) return 6;
  return double(width) / height <= 3.8 ? 3 : 6;
}

int32_t GlyphFrameCount(int width, int height) {
  const int32_t frames = width / (height < 16 ? 13 : 16);
  return frames < 4 ? 4 : frames;
}
