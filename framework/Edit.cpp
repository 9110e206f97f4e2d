#include "Edit.h"

#include "Text.h"

namespace fw {

const TEnumType& EditCharCaseType() {
  static const TEnumType t{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
  return t;
}
const TEnumType& EditBorderStyleType() {
  static const TEnumType t{"TBorderStyle", {"bsNone", "bsSingle"}};
  return t;
}

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info("TCustomEdit", &TWinControl::StaticClass());
  return info;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TEdit>("TEdit", &TCustomEdit::StaticClass());
    PublishColorAndFont(i, clWindow);
    PublishText(i);
    i.Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Enum("BorderStyle", EditBorderStyleType(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, ebsSingle)
        .Enum("CharCase", EditCharCaseType(), &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Int("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar, 0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Event("OnChange", &TCustomEdit::OnChange);
    return i;
  }();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = L"EDIT";
  p.style |= ES_AUTOHSCROLL | ES_LEFT;
  if (readOnly_) p.style |= ES_READONLY;
  if (charCase_ == ecUpperCase) p.style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) p.style |= ES_LOWERCASE;
  if (passwordChar_) p.style |= ES_PASSWORD;
  if (borderStyle_ == ebsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::WindowCreated() {
  HWND h = HandleIfAllocated();
  SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_) SendMessageW(h, EM_SETPASSWORDCHAR, static_cast<WPARAM>(passwordChar_), 0);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) Change();
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      if (autoSelect_ && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int32_t value) {
  if (value < 0) value = 0;
  maxLength_ = value;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  if (HWND h = HandleIfAllocated()) {
    LONG style = GetWindowLongW(h, GWL_STYLE) & ~(ES_UPPERCASE | ES_LOWERCASE);
    if (value == ecUpperCase) style |= ES_UPPERCASE;
    if (value == ecLowerCase) style |= ES_LOWERCASE;
    SetWindowLongW(h, GWL_STYLE, style);
  }
}

void TCustomEdit::SetPasswordChar(int32_t ch) {
  passwordChar_ = ch;
  if (HWND h = HandleIfAllocated()) {
    SendMessageW(h, EM_SETPASSWORDCHAR, static_cast<WPARAM>(ch), 0);
    InvalidateRect(h, nullptr, TRUE);
  }
}

void TCustomEdit::SetBorderStyle(TEditBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

int TCustomEdit::SelStart() const {
  DWORD start = 0;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (HWND h = HandleIfAllocated())
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int start) {
  if (HWND h = const_cast<TCustomEdit*>(this)->Handle()) SendMessageW(h, EM_SETSEL, start, start);
}

void TCustomEdit::SetSelLength(int length) {
  int start = SelStart();
  if (HWND h = Handle()) SendMessageW(h, EM_SETSEL, start, start + length);
}

void TCustomEdit::SelectAll() {
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_SETSEL, 0, -1);
}

bool TCustomEdit::Modified() const {
  HWND h = HandleIfAllocated();
  return h && SendMessageW(h, EM_GETMODIFY, 0, 0) != 0;
}

}  // namespace fw
