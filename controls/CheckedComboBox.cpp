// The checked combo box: edit, drop-down button, pop-up check list.
#include "CheckedComboBox.h"

#include "Application.h"
#include "Colors.h"
#include "KvTypeInfo.h"

namespace kv {

namespace {

// The unit's texts.
const char kCapSelectAll[] = "\xC8\xAB\xD1\xA1";    // 全选
const char kCapDeSelectAll[] = "\xB7\xB4\xD1\xA1";  // 反选
const char kNothingChosen[] =                        // 没有项目被选择
    "\xC3\xBB\xD3\xD0\xCF\xEE\xC4\xBF\xB1\xBB\xD1\xA1\xD4\xF1";
const char kEmptyValue[] = "";

constexpr int kDefaultWidth = 121, kDefaultHeight = 21;
constexpr int kGlyphSize = 13;
constexpr WORD kEscape = 27;

// The drop-down glyph: a small black arrow on the key colour.
void DrawDropGlyph(fw::TBitmap& bmp) {
  bmp.SetSize(kGlyphSize, kGlyphSize);
  fw::TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(fw::clOlive);
  const RECT all = {0, 0, kGlyphSize, kGlyphSize};
  c->FillRect(all);
  c->Brush()->SetColor(clBlack);
  c->Pen()->SetColor(clBlack);
  c->Polygon({POINT{3, 5}, POINT{9, 5}, POINT{6, 8}});
  bmp.SetTransparentColor(fw::clOlive);
}

}  // namespace

std::function<void(const std::string&)>& TCheckedComboBox::RefusalNotice() {
  static std::function<void(const std::string&)> notice = [](const std::string& text) {
    fw::Application().MessageBox(text, fw::Application().Title(), MB_OK);
  };
  return notice;
}

const fw::TClassInfo& TCheckedComboBox::StaticClass() {
  using C = TCheckedComboBox;
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<C>("TCheckedComboBox", &fw::TCustomPanel::StaticClass())
          .Obj("Items", &C::Items)
          .Str("CapSelectAll", &C::CapSelectAll, &C::SetCapSelectAll)
          .Str("CapDeSelectAll", &C::CapDeSelectAll, &C::SetCapDeSelectAll)
          .Int("NotFocusColor", &C::NotFocusColor, &C::SetNotFocusColor, clWhite, &fw::ColorIdents())
          .Bool("Sorted", &C::Sorted, &C::SetSorted, false)
          .Int("Columns", &C::Columns, &C::SetColumns, 0)
          .Int("DropDownLines", &C::DropDownLines, &C::SetDropDownLines, kMinDropDownLines)
          .Str("EmptyValue", &C::EmptyValue, &C::SetEmptyValue)
          .Bool("SortDisplay", &C::SortDisplay, &C::SetSortDisplay, false)
          .IntNoDefault("ItemHeight", &C::ItemHeight, &C::SetItemHeight)
          .Bool("Ctl3D", &fw::TWinControl::Ctl3D, &fw::TWinControl::SetCtl3D, true)
          .Bool("ParentCtl3D", &fw::TWinControl::ParentCtl3D, &fw::TWinControl::SetParentCtl3D, true)
          .Obj("Font", &fw::TControl::Font)
          .Bool("ParentColor", &fw::TControl::ParentColor, &fw::TControl::SetParentColor, false)
          .Bool("ParentFont", &fw::TControl::ParentFont, &fw::TControl::SetParentFont, true)
          .Event("OnChange", &C::OnChange)
          .Event("OnCloseUp", &C::OnCloseUp);
  return info;
}

TCheckedComboBox::TCheckedComboBox(fw::TComponent* owner)
    : fw::TCustomPanel(owner), items_(new fw::TStringList) {
  // The panel: lowered, two pixels, no caption.
  SetBevelOuter(fw::bvLowered);
  SetBevelWidth(2);
  SetCaption("");
  capSelectAll_ = kCapSelectAll;
  capDeSelectAll_ = kCapDeSelectAll;
  SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
  values_.SetEmptyValue(kEmptyValue);

  values_.onChange = [this] {
    if (OnChange) OnChange(this);
  };
  values_.onDisplay = [this] {
    ShowValue();
    SyncListMarks();
  };
  values_.onTooLong = [] { RefusalNotice()(kNothingChosen); };
  values_.onItemsReplaced = [this] {
    list_->Items()->Assign(*items_);
    SyncListMarks();
  };
  items_->OnChange = [this](fw::TObject*) { ItemsChanged(); };

  edit_ = new fw::TEdit(this);
  edit_->SetParent(this);
  edit_->SetParentColor(false);
  edit_->SetColor(clWhite);
  edit_->SetReadOnly(true);
  edit_->OnClick = [this](fw::TObject*) { OpenPopup(); };
  edit_->OnEnter = [this](fw::TObject*) {
    edit_->SetColor(clWhite);
    if (OnEnter) OnEnter(this);
  };
  edit_->OnExit = [this](fw::TObject*) {
    edit_->SetColor(notFocusColor_);
    if (OnExit) OnExit(this);
  };

  button_ = new fw::TSpeedButton(this);
  button_->SetParent(this);
  DrawDropGlyph(*button_->Glyph());
  button_->SetNumGlyphs(1);
  button_->SetLayout(fw::blGlyphRight);
  button_->OnClick = [this](fw::TObject*) { OpenPopup(); };
  edit_->SetText(values_.EmptyValue());

  popup_ = new fw::TForm(this);
  popup_->SetColor(clWindow);
  list_ = new fw::TCheckListBox(popup_);
  list_->SetParent(popup_);
  list_->SetCtl3D(false);
  list_->SetColumns(columns_);
  list_->SetAlign(fw::alClient);
  list_->SetStyle(fw::lbOwnerDrawFixed);
  list_->SetIntegralHeight(true);
  list_->OnClickCheck = [this](fw::TObject* s) { ListCheckClicked(s); };
  list_->OnClick = [this](fw::TObject* s) { ListItemClicked(s); };
  list_->OnKeyDown = [this](fw::TObject* s, WORD& key, fw::TShiftState shift) { ListKeyDown(s, key, shift); };

  menu_ = new fw::TPopupMenu(list_);
  selectAllItem_ = new fw::TMenuItem(menu_);
  selectAllItem_->SetCaption(capSelectAll_);
  selectAllItem_->OnClick = [this](fw::TObject*) { CheckAllItems(); };
  deselectAllItem_ = new fw::TMenuItem(menu_);
  deselectAllItem_->SetCaption(capDeSelectAll_);
  deselectAllItem_->OnClick = [this](fw::TObject*) { UncheckAllItems(); };
  menu_->Items()->Add(selectAllItem_);
  menu_->Items()->Add(deselectAllItem_);
  list_->SetPopupMenu(menu_);
  LayoutParts();
}

void TCheckedComboBox::BeforeDestruction() {
  // The value logic must not call back into parts being freed.
  values_.onChange = nullptr;
  values_.onDisplay = nullptr;
  values_.onItemsReplaced = nullptr;
  items_->OnChange = nullptr;
  // Nor may the parts' events reach a half-freed control (the pop-up is
  // deactivated as it goes).
  popup_->OnDeactivate = nullptr;
  list_->OnClickCheck = nullptr;
  list_->OnClick = nullptr;
  list_->OnKeyDown = nullptr;
  edit_->OnClick = nullptr;
  edit_->OnEnter = nullptr;
  edit_->OnExit = nullptr;
  button_->OnClick = nullptr;
  fw::TCustomPanel::BeforeDestruction();
}

// ---- value and display --------------------------------------------------------

void TCheckedComboBox::ItemsChanged() { values_.SetItems(items_->ToVector()); }

void TCheckedComboBox::SetItems(fw::TStrings* items) {
  if (items) items_->Assign(*items);
}

void TCheckedComboBox::ShowValue() {
  if (edit_) edit_->SetText(values_.DisplayText());
}

void TCheckedComboBox::SyncListMarks() {
  if (!list_) return;
  for (int i = 0; i < list_->Count(); ++i)
    if (list_->Checked(i) != values_.Checked(i)) list_->SetChecked(i, values_.Checked(i));
}

void TCheckedComboBox::CheckAllItems() {
  values_.CheckAllItems();
  edit_->Invalidate();
}

void TCheckedComboBox::ListCheckClicked(fw::TObject*) {
  // The list has toggled a mark itself; take it over, then handle the event.
  for (int i = 0; i < list_->Count(); ++i)
    if (list_->Checked(i) != values_.Checked(i)) values_.ListToggled(i);
  values_.ListCheckClicked(list_->ItemIndex());
}

void TCheckedComboBox::ListItemClicked(fw::TObject*) {
  values_.ListItemClicked(list_->ItemIndex());
}

void TCheckedComboBox::ListKeyDown(fw::TObject*, WORD& key, fw::TShiftState) {
  if (key == kEscape) popup_->Close();
}

// ---- pop-up -----------------------------------------------------------------------

bool TCheckedComboBox::PopupShown() const { return popup_->Visible(); }

void TCheckedComboBox::OpenPopup() {
  // The click that closed the pop-up by deactivation does not reopen it.
  if (button_->Tag() == 1) {
    button_->SetTag(0);
    return;
  }
  Click();
  dropDownLines_ = PopupLines(columns_, dropDownLines_, items_->Count());
  if (dropDownLines_ == 0) return;
  fw::TWinControl* parent = Parent();
  const POINT below = parent ? parent->ClientToScreen(POINT{Left(), Top() + Height()})
                             : ClientToScreen(POINT{0, Height()});
  selectAllItem_->SetCaption(capSelectAll_);
  deselectAllItem_->SetCaption(capDeSelectAll_);
  popup_->Font()->Assign(*Font());
  const TPopupRect r = PopupPlacement(below.x, below.y, Width(), Height(), ItemHeight(), dropDownLines_,
                                      fw::Screen().Height());
  popup_->SetBorderStyle(fw::bsNone);
  popup_->SetBounds(r.left, r.top, r.width, r.height);
  popup_->OnDeactivate = [this](fw::TObject* s) { PopupDeactivated(s); };
  popup_->Show();
  // Keep the owner's caption drawn active while the pop-up has the focus.
  if (fw::TForm* owner = fw::GetParentForm(this)) SendMessageW(owner->Handle(), WM_NCACTIVATE, 1, 0);
}

POINT TCheckedComboBox::CursorScreenPos() const {
  POINT p = {0, 0};
  GetCursorPos(&p);
  return p;
}

void TCheckedComboBox::PopupDeactivated(fw::TObject* sender) {
  const POINT p = button_->ScreenToClient(CursorScreenPos());
  button_->SetTag(StrictlyInside(p.x, p.y, button_->Width(), button_->Height()) ? 1 : 0);
  popup_->Close();
  if (OnCloseUp) OnCloseUp(sender);
}

// ---- properties -------------------------------------------------------------------

void TCheckedComboBox::SetNotFocusColor(TColor v) {
  notFocusColor_ = v;
  edit_->SetColor(v);
}

void TCheckedComboBox::SetSorted(bool v) { items_->SetSorted(v); }

void TCheckedComboBox::SetColumns(int32_t v) {
  columns_ = v;
  list_->SetColumns(v);
}

void TCheckedComboBox::SetDropDownLines(int32_t v) {
  if (v >= kMinDropDownLines && v <= kMaxDropDownLines) dropDownLines_ = v;
}

void TCheckedComboBox::SetEmptyValue(const std::string& v) {
  if (v == values_.EmptyValue()) return;
  values_.SetEmptyValue(v);
  HWND h = HandleIfAllocated();
  const bool focused = edit_->Focused() || Focused();
  if (!focused && h && IsWindowVisible(h)) Invalidate();
}

void TCheckedComboBox::Ctl3DChanged() {
  fw::TCustomPanel::Ctl3DChanged();
  LayoutParts();
}

// ---- layout -------------------------------------------------------------------------

void TCheckedComboBox::FitHeightToFont() {
  HDC dc = GetDC(nullptr);
  TEXTMETRICW screen, own;
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  GetTextMetricsW(dc, &screen);
  SelectObject(dc, Font()->Handle());
  GetTextMetricsW(dc, &own);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int h = kv::FitHeightToFont(own.tmHeight, screen.tmHeight, true, Ctl3D(), GetSystemMetrics(SM_CYBORDER));
  if (h != Height()) SetBounds(Left(), Top(), Width(), h);
}

void TCheckedComboBox::LayoutParts() {
  if (layingOut_ || !edit_ || !button_) return;
  layingOut_ = true;
  FitHeightToFont();
  const TComboLayout l = ComboLayout(Width(), Height());
  edit_->SetBounds(0, 0, l.editWidth, l.editHeight);
  button_->SetBounds(l.buttonLeft, l.buttonTop, l.buttonWidth, l.buttonHeight);
  layingOut_ = false;
}

void TCheckedComboBox::WindowCreated() {
  fw::TCustomPanel::WindowCreated();
  LayoutParts();
}

void TCheckedComboBox::Resize() {
  LayoutParts();
  fw::TCustomPanel::Resize();
}

void TCheckedComboBox::FontChanged() {
  fw::TCustomPanel::FontChanged();
  LayoutParts();
  Invalidate();
}

void TCheckedComboBox::EnabledChanged() {
  fw::TCustomPanel::EnabledChanged();
  if (button_) button_->SetEnabled(Enabled());
  if (edit_) edit_->SetEnabled(Enabled());
}

}  // namespace kv
