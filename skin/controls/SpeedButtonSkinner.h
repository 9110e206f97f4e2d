// The speed-button skinner. A speed button has no window: it is painted on
// its parent and fed the mouse by it. The skinner stands in front of the
// speed button's WindowProc, paints it through its own canvas from the
// skin's button strip and takes hover from the framework's mouse-enter and
// mouse-leave notices. The speed button keeps its own click handling (it
// sees the press and the release); it is drawn pressed only while the
// press is still its own. Control and Handle stay empty: the
// speed button is the skinner's PaintTarget, so Redraw invalidates it.
#pragma once
#include <windows.h>

#include <string>

#include "ButtonSkinners.h"

class TSkinSpeedButton : public TSkinBitButton {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinSpeedButton(fw::TComponent* owner) : TSkinBitButton(owner) {}

  // The speed button's own set-up (what discovery calls).
  void InitOwnSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas) override;
  void InitSpeedSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas);
  // Made through InitSkin all the same, it sets itself up as a speed button.
  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  // Paints at once, on the parent's window (dc 0) or into dc.
  void PaintFrame(HDC dc) override;
  // Draws the speed button into the canvas at rect.
  void SpeedPaint(fw::TCanvas& canvas, const RECT& rect);

  // True while a paint runs: a nested paint (the parent painting its
  // background under the button) is dropped.
  bool Painting = false;

 protected:
  fw::TControl* Source() const override { return PaintTarget; }

 private:
  void PaintMessage(fw::TMessage& m);
  void SpeedPaintUnguarded(fw::TCanvas& canvas, const RECT& rect);
  // After the speed button's destruction notices the skinner passes
  // everything on.
  bool released_ = false;
};
