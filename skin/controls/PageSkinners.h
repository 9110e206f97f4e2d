// Skinners of page and tab controls that take the skin in ways of their
// own: a page control that is given its tab images through published
// bitmap properties and has an up-down scroller, and a tab control whose
// tabs are buttons, drawn from the skin's button strip.
#pragma once
#include <windows.h>

#include "SkinControl.h"

// The page control keeps painting itself; the skinner hands it the tab
// images ("TabBackGround", "TabBackGroundActive") and skins its scroll
// arrows once that window exists.
class TSkinAdvPage : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinAdvPage(fw::TComponent* owner) : TSkinControl(owner) {}

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void Unskin() override;
  void ApplySkinChange() override;
  // Draws nothing: finds the scroll arrows' window.
  void PaintControl(HDC dc, const RECT& rect) override;
  // "PageStyle": 4 when the tab images are to be supplied.
  void Configure(const std::string& key, const std::string& value) override;

  // The skinner of the scroll arrows (made through the registry of kinds;
  // nullptr until that window is found and while the kind is not built).
  TSkinControl* UpDown = nullptr;
  int PageStyle = 0;

  static constexpr int kSuppliedTabImages = 4;
  // The size of the tab images handed to the control.
  static constexpr int kTabImageWidth = 100;
  static constexpr int kTabImageHeight = 21;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void MakeTabImages();
  void ClearTabImages();
  void SkinScroller();
};

// A tab control with button-like tabs: every tab is a button image (the
// focused one pressed) with its icon and caption centred. Without the
// skin's button strip the control paints itself.
class TSkinTabBtn : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinTabBtn(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  // The strip of tabs in rect (the window at the origin): from its top to
  // one pixel into the display area.
  RECT TabStripRect(const RECT& rect) const;

 private:
  bool HasButtonStrip() const;
  std::wstring TabText(int index, int& image) const;
};

void RegisterPageSkinners();
