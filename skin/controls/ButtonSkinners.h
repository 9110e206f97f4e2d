// The push-button skinners: plain push buttons (framework buttons and the
// plain "Button" windows of message boxes), buttons with a glyph or an
// image-list picture, and buttons with a drop-down arrow. All are drawn
// from the skin's button strip (1 normal, 2 pressed, 3 disabled, 4 hot,
// 5 focused or default). The skinner takes the button's mouse press over:
// the button's own procedure never sees a left-button press, and the
// click is made by the skinner on a release over the pressed button (one
// OnClick for a framework button, one WM_COMMAND to the parent of a plain
// window). A framework button takes the thread's press as its own press
// would: a press that is over before its release (OnMouseDown opened a
// modal window, another control was pressed) leaves the button up and
// makes no click. Keys (Space, Enter) stay the button's own. Each paint
// composes the whole button in one off-screen bitmap and copies it in one
// blit.
// A skin without a button strip leaves the buttons to their own painting.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Bitmap.h"
#include "SkinControl.h"

class TDataSkinButton;

class TSkinButton : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinButton(fw::TComponent* owner);

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  // The caption of a button without picture, aligned in rect (DT_CENTER
  // centres it), with the focus rectangle around it while focused.
  void DrawButtonCaption(fw::TCanvas& canvas, const RECT& rect, UINT alignment, const std::wstring& text);

  std::unique_ptr<fw::TBitmap> Buffer;
  // The button's background is the parent's picture, not the skin colour.
  bool TransparentBackground = false;

  // Tag that asks a control for the parent's background.
  static constexpr int32_t kTransparentTag = 5555;
  // Mode: the press is forwarded to the control's OnMouseDown (0) or not (1).
  static constexpr int kForwardMouseDown = 0;
  static constexpr int kKeepMouseDown = 1;

 protected:
  // The skin's button object when it has a strip, else nullptr (the
  // button paints itself).
  TDataSkinButton* SkinButtons() const;
  int StripFrames() const;
  // Focus, enabled state and caption as they are now.
  void ReadButtonState();
  bool IsDefaultButton() const;
  // The buffer at the rectangle's size with the button's background and
  // strip image `frame`; false when nothing can be drawn.
  bool PrepareBuffer(const RECT& rect, int frame, fw::TControl* backgroundOf);
  // The buffer's font: the control's, or the plain window's own.
  void SelectButtonFont(fw::TControl* fontOf);
  // The caption colour of the skin's button object for the image shown,
  // over the colour the font has.
  void ApplyCaptionColour(int frame, bool enabled, bool normalOnlyInFrame1);
  void CopyBuffer(HDC dc, const RECT& rect);
  // The click on a release over the pressed button.
  void ClickButton();
  bool NoFocusRect() const;

 private:
  void MouseDown(fw::TMessage& m);
  void MouseMoved();
  void MouseReleased();
  void MouseLeft();
  // The control's press ended without its release (CM_PRESSLOST).
  void PressLost();
  // The left release being handled ends the control's own press (always
  // for a plain window).
  bool releaseOfOwnPress_ = false;
};

class TSkinBitButton : public TSkinButton {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinBitButton(fw::TComponent* owner) : TSkinButton(owner) {}

  void PaintControl(HDC dc, const RECT& rect) override;
  // "GlyphProperty": the published graphic property holding the picture.
  void Configure(const std::string& key, const std::string& value) override;
  // Glyph g (from 1) of the n glyphs of bitmap at p's top-left, with the
  // glyph strip's bottom-left colour transparent. A number above n takes
  // the first glyph; the disabled glyph of a strip of one is embossed.
  static void DrawGlyph(fw::TCanvas& canvas, const RECT& p, int glyphCount, int glyph, fw::TBitmap& bitmap);

  // Empty, or the name of a published graphic property to draw instead of
  // the glyph strip.
  std::string PngPropertyName;

 protected:
  // The control the properties are read from (the speed button paints a
  // windowless control).
  virtual fw::TControl* Source() const { return Control; }
  // Glyph and caption placed and drawn into the prepared buffer.
  void PaintGlyphAndCaption(const RECT& r, int frame, bool speedButton);
};

class TSkinMenuButton : public TSkinButton {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinMenuButton(fw::TComponent* owner) : TSkinButton(owner) {}

  void PaintControl(HDC dc, const RECT& rect) override;
  static void DrawGlyph(fw::TCanvas& canvas, const RECT& p, int glyphCount, int glyph, fw::TBitmap& bitmap) {
    TSkinBitButton::DrawGlyph(canvas, p, glyphCount, glyph, bitmap);
  }
};

// Registers the push-button kinds and the speed button's.
void RegisterButtonSkinners();
