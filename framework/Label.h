// A windowless text label.
#pragma once

#include "Control.h"

namespace fw {

enum TTextLayout { tlTop, tlCenter, tlBottom };
const TEnumType& TextLayoutType();

class TLabel : public TGraphicControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);

  // DrawText flags of the label's text.
  UINT TextFlags() const;
  void Loaded() override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void TextChanged() override;
  void FontChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

}  // namespace fw
