#include "SkinColors.h"

#ifdef _WIN32
#include <windows.h>
#endif

TColor SkinColorToRGB(TColor c) {
  if (c >= 0) return c;
  int index = c & 0xFF;
#ifdef _WIN32
  return static_cast<TColor>(GetSysColor(index));
#else
  // The classic Windows scheme.
  static const TColor classic[31] = {
      RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),
      RGBColor(128, 128, 128), RGBColor(212, 208, 200), RGBColor(255, 255, 255),
      RGBColor(0, 0, 0),       RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
      RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255),
      RGBColor(212, 208, 200), RGBColor(128, 128, 128), RGBColor(128, 128, 128),
      RGBColor(0, 0, 0),       RGBColor(212, 208, 200), RGBColor(255, 255, 255),
      RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225), RGBColor(181, 181, 181), RGBColor(0, 0, 128),
      RGBColor(166, 202, 240), RGBColor(192, 192, 192), RGBColor(49, 106, 197),
      RGBColor(236, 233, 216)};
  return index < 31 ? classic[index] : 0;
#endif
}

int SkinScrollArrowWidth() {
#ifdef _WIN32
  return GetSystemMetrics(SM_CXHSCROLL);
#else
  return 16;
#endif
}
