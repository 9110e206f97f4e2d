#include "Panel.h"

namespace fw {

const TEnumType& BevelCutType() {
  static const TEnumType t{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return t;
}

namespace {
void PublishPanel(TClassInfo& i) {
  PublishColorAndFont(i, clBtnFace);
  PublishCaption(i);
  i.Enum("Alignment", AlignmentType(), &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
      .Enum("BevelInner", BevelCutType(), &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
      .Enum("BevelOuter", BevelCutType(), &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
      .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
      .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
      .Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint, true)
      .Bool("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked, false);
  PublishConstraints(i, true);
}
}  // namespace

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info("TCustomPanel", &TCustomControl::StaticClass());
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TPanel>("TPanel", &TCustomPanel::StaticClass());
    PublishPanel(i);
    return i;
  }();
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void Frame3D(TCanvas& canvas, RECT& r, TColor topColor, TColor bottomColor, int width) {
  canvas.Pen()->SetWidth(1);
  for (int i = 0; i < width; ++i) {
    --r.bottom;
    --r.right;
    canvas.Pen()->SetColor(topColor);
    canvas.Polyline({{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}});
    canvas.Pen()->SetColor(bottomColor);
    canvas.Polyline({{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}});
    InflateRect(&r, -1, -1);
    ++r.bottom;
    ++r.right;
  }
}

void TCustomPanel::AdjustClientRect(RECT& r) {
  TCustomControl::AdjustClientRect(r);
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(&r, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace) top = bottom = Color();
    Frame3D(*c, r, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(*c, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  std::string text = Caption();
  if (text.empty()) return;
  c->Brush()->SetStyle(bsClear);
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
  c->DrawText(text, r, flags);
}

void TCustomPanel::TextChanged() { Invalidate(); }

void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int32_t v) {
  if (v < 1) v = 1;
  bevelWidth_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderWidth(int32_t v) {
  if (v < 0) v = 0;
  borderWidth_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

}  // namespace fw
