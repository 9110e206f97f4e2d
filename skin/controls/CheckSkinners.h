// The check-box and radio-button skinners: framework controls and plain
// "Button" windows with the check-box or radio-button style. The state
// glyph comes from a strip of the skin's button object ("CheckButton" or
// "RadioButton"), the caption beside it word-wrapped and centred
// vertically. A framework control is painted wholly by the skinner (paint
// mode 1); a plain window paints itself and gets the skin's glyph over its
// own (paint mode 0). The control keeps its own input: clicks, Space and
// its notifications are the button's.
#pragma once
#include <windows.h>

#include "SkinControl.h"

namespace skincheck {

// Paint modes (the skinner's Mode).
constexpr int kControlPaints = 0;
constexpr int kSkinnerPaints = 1;

// Logical glyph images, before a strip's own order is applied.
constexpr int kUnchecked = 1;
constexpr int kChecked = 2;
constexpr int kGrayed = 4;
// Strips with an image for every state and mouse state.
constexpr int kFullCheckStrip = 12;
constexpr int kFullRadioStrip = 8;

// The image (from 1, within the strip) of a check box whose state gives
// `logical` (kUnchecked, kChecked or kGrayed).
int CheckBoxFrame(int logical, bool disabled, bool indeterminate, int stripFrames);
int RadioButtonFrame(bool checked, bool disabled, int stripFrames);

struct TCheckLayout {
  RECT glyph = {0, 0, 0, 0};
  RECT text = {0, 0, 0, 0};
  UINT flags = 0;  // reading order and alignment
};
// The glyph centred vertically at the left (or, with the text on the
// left, at the right edge; a radio button one pixel further in), the text
// beside it two pixels off.
TCheckLayout PlaceCheck(const RECT& r, SIZE glyph, bool textLeft, bool radio, bool rightToLeft);

}  // namespace skincheck

// What the two kinds share: set-up, message handling and painting.
class TSkinCheckBase : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinCheckBase(fw::TComponent* owner) : TSkinControl(owner) {}

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  // Do not fill the background: the parent's shows.
  bool Transparent = false;

  // Tag that asks a control for the parent's background.
  static constexpr int32_t kTransparentTag = 5555;

 protected:
  virtual bool IsRadio() const = 0;
  // The strip and its image count (at least 1); nullptr without one.
  fw::TBitmap* Strip(int& frames) const;
  virtual int GlyphFrame(int frames) = 0;
  // A message that changes the look: the box is repainted after it.
  virtual bool ChangesLook(const fw::TMessage& m);

 private:
  void PaintWhole(HDC dc, const RECT& r, fw::TBitmap& strip, int frames, int frame, const skincheck::TCheckLayout& l);
  void PaintCaption(HDC dc, const skincheck::TCheckLayout& layout);
};

class TSkinCheckBox : public TSkinCheckBase {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinCheckBox(fw::TComponent* owner) : TSkinCheckBase(owner) {}

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void AfterProc(fw::TMessage& m) override;

  // 0 none, else the last BM_SETCHECK's wParam + 1 (data-aware boxes).
  int StateValue = 0;

 protected:
  bool IsRadio() const override { return false; }
  int GlyphFrame(int frames) override;
};

class TSkinRadioButton : public TSkinCheckBase {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinRadioButton(fw::TComponent* owner) : TSkinCheckBase(owner) {}

 protected:
  bool IsRadio() const override { return true; }
  int GlyphFrame(int frames) override;
};

void RegisterCheckSkinners();
