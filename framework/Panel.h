// The framework's panel: a container that paints bevels, a border and a
// centred caption.
#pragma once

#include "Control.h"

namespace fw {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumType& BevelCutType();

class TCustomPanel : public TCustomControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCustomPanel(TComponent* owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t v);
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }

  // The client area less BorderWidth on every side (where children go).
  void AdjustClientRect(RECT& rect) override;

 protected:
  void Paint() override;
  void TextChanged() override;

 private:
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int32_t bevelWidth_ = 1;
  int32_t borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
  bool fullRepaint_ = true;
  bool locked_ = false;
};

class TPanel : public TCustomPanel {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// Draws a 3-D frame of the given width and shrinks rect by it.
void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace fw
