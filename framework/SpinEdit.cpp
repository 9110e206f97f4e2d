#include "SpinEdit.h"

#include <commctrl.h>

#include "TextUtils.h"

namespace fw {

const TEnumType& UDOrientationType() {
  static const TEnumType t{"TUDOrientation", {"udHorizontal", "udVertical"}};
  return t;
}

// ---- TUpDown -----------------------------------------------------------

const TClassInfo& TUpDown::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TUpDown>("TUpDown", &TWinControl::StaticClass())
                                     .Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, 1)
                                     .Int("Max", &TUpDown::Max, &TUpDown::SetMax, 100)
                                     .Int("Min", &TUpDown::Min, &TUpDown::SetMin, 0)
                                     .Enum("Orientation", UDOrientationType(), &TUpDown::Orientation,
                                           &TUpDown::SetOrientation, udVertical)
                                     .Int("Position", &TUpDown::Position, &TUpDown::SetPosition, 0)
                                     .Event("OnClick", &TUpDown::OnClick);
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 17, 25);
  clickEvents_ = false;
}

void TUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = UPDOWN_CLASSW;
  p.style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  if (orientation_ == udHorizontal) p.style |= UDS_HORZ;
}

void TUpDown::WindowCreated() {
  HWND h = HandleIfAllocated();
  SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageW(h, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetMin(int32_t v) {
  min_ = v;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TUpDown::SetMax(int32_t v) {
  max_ = v;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

int32_t TUpDown::Position() const {
  if (HWND h = HandleIfAllocated()) return static_cast<int32_t>(SendMessageW(h, UDM_GETPOS32, 0, 0));
  return position_;
}

void TUpDown::SetPosition(int32_t v) {
  position_ = v;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, UDM_SETPOS32, 0, v);
}

void TUpDown::SetOrientation(TUDOrientation o) {
  if (o == orientation_) return;
  orientation_ = o;
  RecreateWnd();
}

void TUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && IsNotifyHeader(m.LParam)) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == UDN_DELTAPOS) {
      auto* ud = reinterpret_cast<NMUPDOWN*>(m.LParam);
      TUDBtnType button = ud->iDelta > 0 ? btNext : btPrev;
      if (!ManualPosition) {
        int32_t next = ud->iPos + (ud->iDelta > 0 ? increment_ : -increment_);
        position_ = next < min_ ? min_ : next > max_ ? max_ : next;
        SendMessageW(HandleIfAllocated(), UDM_SETPOS32, 0, position_);
      }
      if (OnClick) OnClick(this, button);
      m.Result = 1;  // the position is set here, not by the control
      return;
    }
  }
  TWinControl::WndProc(m);
}

// ---- TSpinEdit ---------------------------------------------------------

const TClassInfo& TSpinEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TSpinEdit>("TSpinEdit", &TCustomEdit::StaticClass());
    PublishColorAndFont(i, clWindow);
    i.Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled, true)
        .Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement, 1)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue, 0)
        .Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue, 0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue, 0)
        .Event("OnChange", &TCustomEdit::OnChange);
    return i;
  }();
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner), button_(new TUpDown(this)) {
  button_->ManualPosition = true;
  button_->SetParent(this);
  button_->OnClick = [this](TObject*, TUDBtnType b) { Step(b == btNext ? increment_ : -increment_); };
  SetText("0");
}

void TSpinEdit::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.style |= WS_CLIPCHILDREN;
}

void TSpinEdit::WindowCreated() {
  TCustomEdit::WindowCreated();
  PlaceButton();
}

void TSpinEdit::Resize() {
  TCustomEdit::Resize();
  PlaceButton();
}

void TSpinEdit::PlaceButton() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  RECT c;
  GetClientRect(h, &c);
  int w = GetSystemMetrics(SM_CXVSCROLL);
  button_->SetBounds(c.right - w, 0, w, c.bottom);
  // Keep the text clear of the button.
  SendMessageW(h, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 1));
}

int32_t TSpinEdit::CheckValue(int32_t v) const {
  if (maxValue_ != minValue_ || maxValue_ != 0) {
    if (v < minValue_) v = minValue_;
    if (v > maxValue_) v = maxValue_;
  }
  return v;
}

int32_t TSpinEdit::Value() const {
  int32_t v = 0;
  if (!TryStrToInt(Text(), v)) v = minValue_;
  return CheckValue(v);
}

void TSpinEdit::SetValue(int32_t v) { SetText(IntToStr(CheckValue(v))); }

void TSpinEdit::SetMinValue(int32_t v) { minValue_ = v; }
void TSpinEdit::SetMaxValue(int32_t v) { maxValue_ = v; }

void TSpinEdit::Step(int32_t delta) {
  if (ReadOnly()) return;
  int64_t next = static_cast<int64_t>(Value()) + delta;
  if (next > INT32_MAX) next = INT32_MAX;
  if (next < INT32_MIN) next = INT32_MIN;
  SetValue(static_cast<int32_t>(next));
  SelectAll();
}

void TSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_UP || m.WParam == VK_DOWN) {
        Step(m.WParam == VK_UP ? increment_ : -increment_);
        return;
      }
      break;
    case WM_CHAR: {
      // Digits, a leading minus and control keys only.
      wchar_t c = static_cast<wchar_t>(m.WParam);
      if (!editorEnabled_ && c >= 32) return;
      if (c >= 32 && !(c >= L'0' && c <= L'9') && c != L'-') {
        MessageBeep(0);
        return;
      }
      break;
    }
    case WM_KILLFOCUS:
      TCustomEdit::WndProc(m);
      // Leaving with a value out of range puts it back in range.
      if (Text() != IntToStr(Value())) SetValue(Value());
      return;
    default: break;
  }
  TCustomEdit::WndProc(m);
}

}  // namespace fw
