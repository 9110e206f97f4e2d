// Push buttons and check boxes over the system BUTTON class.
#pragma once

#include "Control.h"
#include "Form.h"

namespace fw {

class TButtonControl : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TButtonControl(TComponent* owner);

 protected:
  void WndProc(TMessage& message) override;
};

class TButton : public TButtonControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  // Raises OnClick; a modal result is handed to the button's form.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  UINT DialogCode() const override;
  // True for the button Enter presses (the focused button, else the
  // default one when no button has the focus).
  bool IsActiveForEnter() const;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TLeftRight { taLeftJustifyLR, taRightJustifyLR };
const TEnumType& CheckBoxStateType();
const TEnumType& LeftRightType();

class TCustomCheckBox : public TButtonControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCustomCheckBox(TComponent* owner);

  bool Checked() const { return State() == cbChecked; }
  // Changing the state raises OnClick, as a click by the user does.
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const;
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // taRightJustify (the default) puts the text right of the box.
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;
  virtual void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TLeftRight alignment_ = taRightJustifyLR;
};

class TCheckBox : public TCustomCheckBox {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

}  // namespace fw
