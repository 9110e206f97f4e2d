#include "SkinObjects.h"

void TDataSkinObject::Normalise() {
  if (Frame < 1) Frame = 1;
  if (LeftWidth < 0) LeftWidth = 0;
  if (TopHeight < 0) TopHeight = 0;
  if (RightWidth < 0) RightWidth = 0;
  if (BottomHeight < 0) BottomHeight = 0;
}
