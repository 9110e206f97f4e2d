// A windowless picture (BMP or JPEG), drawn as it is, centred or stretched.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "Control.h"

namespace fw {

class TImage : public TGraphicControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TImage(TComponent* owner);

  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* picture) { if (picture) picture_->Assign(*picture); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  // Where the picture goes inside the control.
  RECT DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false, center_ = false, proportional_ = false, transparent_ = false, autoSize_ = false;
};

}  // namespace fw
