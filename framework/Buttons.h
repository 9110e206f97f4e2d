// Buttons with a glyph: the bitmap button (an owner-drawn BUTTON window)
// and the windowless speed button. Geometry (where glyph and caption go) is
// computed apart from the drawing.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "Button.h"

namespace fw {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
const TEnumType& ButtonLayoutType();
const TEnumType& BitBtnKindType();

// Places a glyph and a caption of the given sizes in client: returns the
// glyph's top-left and the caption's rectangle. margin -1 centres the pair,
// spacing -1 spreads it evenly; an empty glyph or caption takes no space.
void CalcButtonLayout(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                      POINT& glyphPos, RECT& textRect);

// A glyph strip of NumGlyphs images (1 up, 2 disabled, 3 down, 4 stays
// down) drawn for a button state, transparent where the strip has its
// bottom-left colour.
class TButtonGlyph {
 public:
  TButtonGlyph();
  TBitmap* Glyph() const { return glyph_.get(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  SIZE Size() const;  // of one image
  void Draw(TCanvas& canvas, POINT at, TButtonState state);
  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
};

// What the bitmap button and the speed button share: the glyph strip, its
// place beside the caption (layout, margin, spacing) and the repaint when
// any of it changes. Base is the button's own base class.
template <class Base>
class TGlyphButton : public Base {
 public:
  explicit TGlyphButton(TComponent* owner) : Base(owner) {
    glyph_.OnChange = [this](TObject*) { this->Invalidate(); };
  }

  TBitmap* Glyph() const { return glyph_.Glyph(); }
  void SetGlyph(TBitmap* bitmap) { if (bitmap) glyph_.Glyph()->Assign(*bitmap); }
  int32_t NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int32_t n) { glyph_.SetNumGlyphs(n); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l) { Change(layout_, l); }
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t m) { Change(margin_, m); }
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t s) { Change(spacing_, s); }

 protected:
  // Publishes Glyph, Layout, Margin, NumGlyphs and Spacing.
  static void PublishGlyph(TClassInfo& info) {
    using G = TGlyphButton;
    info.Obj("Glyph", &G::Glyph, &G::SetGlyph)
        .Enum("Layout", ButtonLayoutType(), &G::Layout, &G::SetLayout, blGlyphLeft)
        .Int("Margin", &G::Margin, &G::SetMargin, -1)
        .Int("NumGlyphs", &G::NumGlyphs, &G::SetNumGlyphs, 1)
        .Int("Spacing", &G::Spacing, &G::SetSpacing, 4);
  }
  template <class T>
  void Change(T& field, T value) {
    field = value;
    this->Invalidate();
  }

  TButtonGlyph glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
};

class TBitBtn : public TGlyphButton<TButton> {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TBitBtn(TComponent* owner) : TGlyphButton(owner) {}

  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void DrawButton(const DRAWITEMSTRUCT& item);

 private:
  TBitBtnKind kind_ = bkCustom;
};

class TSpeedButton : public TGlyphButton<TGraphicControl> {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSpeedButton(TComponent* owner);

  bool Flat() const { return flat_; }
  void SetFlat(bool v) { Change(flat_, v); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { Change(transparent_, v); }
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t g) { groupIndex_ = g; }
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  TButtonState State() const;
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void PressLost() override;

 private:
  int32_t groupIndex_ = 0;
  bool flat_ = false, transparent_ = true, down_ = false, allowAllUp_ = false;
  bool pressed_ = false;
  bool doublePress_ = false;  // the press under way is a double click's second
};

}  // namespace fw
