#include "SkinObjects.h"

#include "WinSkinIni.h"

void TDataSkinObject::Normalise() {
  if (Frame < 1) Frame = 1;
  if (LeftWidth < 0) LeftWidth = 0;
  if (TopHeight < 0) TopHeight = 0;
  if (RightWidth < 0) RightWidth = 0;
  if (BottomHeight < 0) BottomHeight = 0;
}

TColor ParseColourText(const std::string& raw) {
  const std::string text = TrimText(raw);
  int channels[3] = {0, 0, 0};
  int stored = 0;
  int value = 0;
  bool collecting = false;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      value = (value * 10 + (ch - '0')) % 256;
      collecting = true;
    } else if (collecting) {
      if (stored < 3) channels[stored++] = value;
      value = 0;
      collecting = false;
    }
  }
  if (collecting && stored == 2) channels[stored++] = value;
  return RGBColor(channels[0], channels[1], channels[2]);
}
