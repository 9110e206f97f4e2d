// The skinner of a scroll-bar control (the scroll-box kind): an overlay in
// its third mode covers the whole control, draws the bar from the skin at
// the thumb its scroll information gives, and hands presses on to the
// control underneath.
#pragma once
#include "ScrollBarSkinners.h"
#include "SkinControl.h"

class TSkinScControl : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinScControl(fw::TComponent* owner);
  void BeforeDestruction() override;

  // Both set-ups of the base come to the scroll box's own.
  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void InitScrollSkin(fw::TControl* control, TSkinData* skinData, TWinSkinForm* form,
                      fw::TCanvas* formCanvas) override;
  void InitScrollBox(fw::TControl* control, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas);
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void Unskin() override;

  // Owned by this skinner; freed once, whichever of it and the control goes first.
  TWScrollbar* Overlay = nullptr;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void FreeOverlay();
};

void RegisterScrollBoxSkinner();
