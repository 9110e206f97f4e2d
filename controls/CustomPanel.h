// TCustomPanel: the plain panel the extended controls are built on (the
// framework has none): a custom-drawn container with an outer and inner
// bevel, a border ring of its own colour, and a caption. The panel family
// and the checked combo box derive from it and publish what they use.
#pragma once

#include "Control.h"

namespace kv {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
const fw::TEnumType& PanelBevelType();

class TCustomPanel : public fw::TCustomControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TCustomPanel(fw::TComponent* owner);

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel v);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel v);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t v);
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t v);
  fw::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(fw::TAlignment v);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool v);
  bool ParentCtl3D() const { return parentCtl3d_; }
  void SetParentCtl3D(bool v) { parentCtl3d_ = v; }
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool v) { dockSite_ = v; }
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool v) { useDockManager_ = v; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }

  // The client area less border ring and bevels.
  void AdjustClientRect(RECT& rect) override;

 protected:
  void Paint() override;
  void TextChanged() override;
  // Whether a caption change repaints (the set-caption style).
  bool repaintOnCaption_ = true;

 private:
  TPanelBevel bevelOuter_ = bvRaised;
  TPanelBevel bevelInner_ = bvNone;
  int32_t bevelWidth_ = 1;
  int32_t borderWidth_ = 0;
  fw::TAlignment alignment_ = fw::taCenter;
  bool fullRepaint_ = true;
  bool locked_ = false;
  bool ctl3d_ = true;
  bool parentCtl3d_ = true;
  bool dockSite_ = false;
  bool useDockManager_ = true;
  bool autoSize_ = false;
};

}  // namespace kv
