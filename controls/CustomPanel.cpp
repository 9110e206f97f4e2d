#include "CustomPanel.h"

#include "KvCommon.h"
#include "KvGdiTarget.h"

namespace kv {

const fw::TEnumType& PanelBevelType() {
  static const fw::TEnumType t{"TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return t;
}

const fw::TClassInfo& TCustomPanel::StaticClass() {
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<TCustomPanel>("TCustomPanel", &fw::TCustomControl::StaticClass());
  return info;
}

TCustomPanel::TCustomPanel(fw::TComponent* owner) : fw::TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  opaque_ = true;
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int32_t v) {
  if (v < 1) v = 1;
  if (v == bevelWidth_) return;
  bevelWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int32_t v) {
  if (v < 0) v = 0;
  if (v == borderWidth_) return;
  borderWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(fw::TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TCustomPanel::SetCtl3D(bool v) {
  if (v == ctl3d_) return;
  ctl3d_ = v;
  parentCtl3d_ = false;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(RECT& r) {
  fw::TCustomControl::AdjustClientRect(r);
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(&r, -inset, -inset);
}

void TCustomPanel::TextChanged() {
  fw::TCustomControl::TextChanged();
  if (repaintOnCaption_) Invalidate();
}

void TCustomPanel::Paint() {
  fw::TCanvas* c = Canvas();
  GdiPaintTarget t(c->Handle());
  TRect r = Rect(0, 0, Width(), Height());
  auto bevel = [&](TPanelBevel b) {
    if (b == bvNone) return;
    const TColor ul = b == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor lr = b == bvLowered ? clBtnHighlight : clBtnShadow;
    r = b == bvSpace ? ShrinkSides(r, kAllSides, bevelWidth_)
                     : DrawBevelLines(t, r, ul, lr, kAllSides, bevelWidth_);
  };
  bevel(bevelOuter_);
  r = DrawBevelLines(t, r, Color(), Color(), kAllSides, borderWidth_);
  bevel(bevelInner_);
  t.FillRect(r, Color());
  const std::string caption = Caption();
  if (caption.empty()) return;
  c->Brush()->SetStyle(fw::bsClear);
  RECT tr = {r.left, r.top, r.right, r.bottom};
  const UINT align = alignment_ == fw::taLeftJustify ? DT_LEFT : alignment_ == fw::taRightJustify ? DT_RIGHT : DT_CENTER;
  c->DrawText(caption, tr, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

}  // namespace kv
