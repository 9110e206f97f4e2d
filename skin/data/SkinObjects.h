// The skin objects: one image strip each (a framework bitmap, 32 bits per
// pixel once read) with the margins, frame count, style and text colours it
// is drawn with. The skin data owns them.
#pragma once
#include <cstdint>
#include <string>

#include "Bitmap.h"
#include "SkinImage.h"

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;

  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  fw::TBitmap Bitmap;
  int32_t Trans = 0;  // 1: magenta pixels are transparent
  int32_t Tile = 0;   // 1: the middle is tiled, 0: stretched
  std::string Name;
  int32_t Frame = 0;  // number of state images in Bitmap
  int32_t Style = 0;
  TColor NormalColour = 0;
  TColor MouseOverColour = 0;
  TColor PressedColour = 0;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;

  TSkinRect Margins() const { return SkinRect(LeftWidth, TopHeight, RightWidth, BottomHeight); }
  // Width of one image of the horizontal strip.
  int FrameWidth() const { return Bitmap.Width() / (Frame < 1 ? 1 : Frame); }
  // A frame count below 1 becomes 1 and a negative margin 0, so that every
  // consumer can divide by Frame and subtract margins without checking.
  void Normalise();
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  fw::TBitmap Bitmap2;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  fw::TBitmap CheckBitmap;
  fw::TBitmap RadioBitmap;
  int32_t RadioFrame = 0;
  int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t TextBackground = 0;
  int32_t FontHeight = 0;
  int32_t TextBackLeft = 0;
  int32_t TextBackRight = 0;
  TColor ActiveTextColor = 0;
  TColor InactiveTextColor = 0;
};
