#include "ComboBox.h"

#include "Text.h"

namespace fw {

const TEnumType& ComboBoxStyleType() {
  static const TEnumType t{"TComboBoxStyle",
                           {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
  return t;
}

const TClassInfo& TCustomComboBox::StaticClass() {
  static const TClassInfo info("TCustomComboBox", &TWinControl::StaticClass());
  return info;
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TComboBox>("TComboBox", &TCustomComboBox::StaticClass());
    PublishColorAndFont(i, clWindow);
    i.Enum("Style", ComboBoxStyleType(), &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown)
        .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
        .Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0)
        .Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
        .Obj("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
        .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1);
    PublishText(i);
    i.Event("OnChange", &TCustomComboBox::OnChange)
        .Event("OnSelect", &TCustomComboBox::OnSelect)
        .Event("OnDropDown", &TCustomComboBox::OnDropDown)
        .Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
    return i;
  }();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  SetTabStop(true);
  items_->OnChange = [this](TObject*) {
    int keep = ItemIndex();
    FillWindow();
    if (keep >= items_->Count()) keep = -1;
    SetItemIndex(keep);
  };
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = L"COMBOBOX";
  static const DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  p.style |= kStyles[style_] | CBS_AUTOHSCROLL | WS_VSCROLL;
  // A drop-down box's window height includes the dropped-down list; a
  // simple box's list is always shown inside the height it is given.
  if (style_ != csSimple) p.height = height_ + dropDownCount_ * (height_ > 0 ? height_ - 4 : 16);
}

void TCustomComboBox::WindowCreated() {
  HWND h = HandleIfAllocated();
  if (maxLength_) SendMessageW(h, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  FillWindow();
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (style_ != csDropDownList && itemIndex_ < 0) SetWindowTextW(h, ToWide(text_).c_str());
  // The control's height is that of its edit part.
  RECT r;
  GetWindowRect(h, &r);
  height_ = r.bottom - r.top;
}

void TCustomComboBox::FillWindow() { FillItems(*items_, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING); }

int32_t TCustomComboBox::ItemIndex() const {
  if (HWND h = HandleIfAllocated()) return static_cast<int32_t>(SendMessageW(h, CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  else if (index >= 0) text_ = items_->Strings(index);
}

std::string TCustomComboBox::GetText() const {
  if (HandleIfAllocated()) return TWinControl::GetText();
  if (itemIndex_ >= 0) return items_->Strings(itemIndex_);
  return text_;
}

void TCustomComboBox::SetText(const std::string& text) {
  if (style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) {
    // Only the texts of items can be shown.
    SetItemIndex(items_->IndexOf(text));
    return;
  }
  text_ = text;
  itemIndex_ = -1;
  if (HWND h = HandleIfAllocated()) SetWindowTextW(h, ToWide(text).c_str());
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int32_t count) {
  if (count < 1) count = 1;
  dropDownCount_ = count;
}

void TCustomComboBox::SetMaxLength(int32_t value) {
  maxLength_ = value < 0 ? 0 : value;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TCustomComboBox::DroppedDown() const {
  HWND h = HandleIfAllocated();
  return h && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  if (HWND h = Handle()) SendMessageW(h, CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  // A drop-down box's window height is that of the dropped-down list (the
  // window reports its closed height back); a simple box's is its own.
  if (style_ == csSimple) return;
  if (HWND h = HandleIfAllocated())
    SetWindowPos(h, nullptr, left, top, width, height + dropDownCount_ * (height > 4 ? height - 4 : 16),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT TCustomComboBox::DialogCode() const { return DroppedDown() ? DLGC_WANTALLKEYS : 0; }

void TCustomComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
          itemIndex_ = ItemIndex();
          Click();
          if (OnSelect) OnSelect(this);
          else if (OnChange) OnChange(this);
          break;
        case CBN_EDITCHANGE:
          if (OnChange) OnChange(this);
          break;
        case CBN_DROPDOWN:
          if (OnDropDown) OnDropDown(this);
          break;
        case CBN_CLOSEUP:
          if (OnCloseUp) OnCloseUp(this);
          break;
      }
      return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      // From the combo box's own edit and list.
      m.Result = reinterpret_cast<LRESULT>(ControlColor(reinterpret_cast<HDC>(m.WParam)));
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
