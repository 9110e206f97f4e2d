// A list of equal-sized images over a system image list (comctl32).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "Bitmap.h"
#include "Component.h"

namespace fw {

class TImageList : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TImageList(TComponent* owner);
  void BeforeDestruction() override;

  int32_t Width() const { return width_; }
  void SetWidth(int32_t w);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t h);
  int Count() const;
  HIMAGELIST Handle();

  // Adds the images of a strip (its width a multiple of Width), with the
  // given colour transparent; returns the index of the first, -1 on error.
  int AddMasked(TBitmap& strip, TColor maskColor);
  void Clear();
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

  // Form data: "Bitmap" holds the strip as BMP data; magenta marks
  // transparent pixels.
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnChange;

 private:
  void Recreate();
  HIMAGELIST handle_ = nullptr;
  int32_t width_ = 16, height_ = 16;
};

}  // namespace fw
