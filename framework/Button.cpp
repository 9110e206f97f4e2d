#include "Button.h"

namespace fw {

const TEnumType& CheckBoxStateType() {
  static const TEnumType t{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
  return t;
}
const TEnumType& LeftRightType() {
  static const TEnumType t{"TLeftRight", {"taLeftJustify", "taRightJustify"}};
  return t;
}

// ---- TButtonControl ----------------------------------------------------

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info("TButtonControl", &TWinControl::StaticClass());
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  clickEvents_ = false;  // clicks come from the button's own notification
  SetTabStop(true);
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CN_CTLCOLORBTN || m.Msg == CN_CTLCOLORSTATIC) {
    m.Result = reinterpret_cast<LRESULT>(ControlColor(reinterpret_cast<HDC>(m.WParam)));
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TButton -----------------------------------------------------------

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TButton>("TButton", &TButtonControl::StaticClass());
    PublishCaption(i);
    i.Obj("Font", &TControl::Font, &TControl::SetFont)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .Bool("Default", &TButton::Default, &TButton::SetDefault, false)
        .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
    return i;
  }();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.baseClass = L"BUTTON";
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

UINT TButton::DialogCode() const { return default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON; }

void TButton::SetDefault(bool value) {
  default_ = value;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (modalResult_ != mrNone) {
    if (TForm* f = GetParentForm(this)) f->SetModalResult(modalResult_);
  }
  TButtonControl::Click();
}

bool TButton::IsActiveForEnter() const {
  if (Focused()) return true;
  if (!default_) return false;
  TWinControl* focus = nullptr;
  for (HWND h = GetFocus(); h && !focus; h = GetParent(h)) focus = ControlOfWindow(h);
  return !(focus && focus->InheritsFrom("TButton"));
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && IsActiveForEnter()) || (m.WParam == VK_ESCAPE && cancel_)) && CanFocus()) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    default: break;
  }
  TButtonControl::WndProc(m);
}

// ---- TCustomCheckBox ---------------------------------------------------

const TClassInfo& TCustomCheckBox::StaticClass() {
  static const TClassInfo info("TCustomCheckBox", &TButtonControl::StaticClass());
  return info;
}

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClass());
    PublishColorAndFont(i, clBtnFace);
    PublishCaption(i);
    i.Enum("Alignment", LeftRightType(), &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
           taRightJustifyLR)
        .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
        .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false)
        .Enum("State", CheckBoxStateType(), &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked);
    return i;
  }();
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetParentColor(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.baseClass = L"BUTTON";
  p.style |= BS_3STATE;  // the state is kept here, not by the button
  if (alignment_ == taLeftJustifyLR) p.style |= BS_LEFTTEXT;
}

void TCustomCheckBox::WindowCreated() {
  SendMessageW(HandleIfAllocated(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

TCheckBoxState TCustomCheckBox::State() const { return state_; }

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(state), 0);
  if (!IsLoading()) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight value) {
  if (value == alignment_) return;
  alignment_ = value;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Toggle();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    default: break;
  }
  TButtonControl::WndProc(m);
}

}  // namespace fw
