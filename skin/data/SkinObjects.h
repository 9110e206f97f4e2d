// The skin objects: one image strip each (a framework bitmap, 32 bits per
// pixel once read) with the margins, frame count, style and text colours it
// is drawn with (TSkinObjectValues, SkinSchema.h). The skin data owns them.
#pragma once
#include <cstdint>
#include <string>

#include "Bitmap.h"
#include "SkinImage.h"
#include "SkinSchema.h"

class TDataSkinObject : public TSkinObjectValues {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;

  fw::TBitmap Bitmap;
  std::string Name;

  // Width of one image of the horizontal strip.
  int FrameWidth() const { return Bitmap.Width() / (Frame < 1 ? 1 : Frame); }
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
