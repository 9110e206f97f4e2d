#include "ListBox.h"

#include <windowsx.h>

#include <algorithm>

#include "Text.h"

namespace fw {

const TEnumType& ListBoxStyleType() {
  static const TEnumType t{"TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}};
  return t;
}

const TClassInfo& TCustomListBox::StaticClass() {
  static const TClassInfo info("TCustomListBox", &TWinControl::StaticClass());
  return info;
}

namespace {
void PublishListBox(TClassInfo& i) {
  PublishColorAndFont(i, clWindow);
  i.Int("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns, 0)
      .Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight, false)
      .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight, 16)
      .Obj("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
      .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
      .Enum("Style", ListBoxStyleType(), &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard)
      .Event("OnDrawItem", &TCustomListBox::OnDrawItem);
}
}  // namespace

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TListBox>("TListBox", &TCustomListBox::StaticClass());
    PublishListBox(i);
    return i;
  }();
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
  clickEvents_ = false;  // clicks are raised from the list's own behaviour below
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

void TCustomListBox::ItemsChanged() {
  int keep = ItemIndex();
  FillWindow();
  SetItemIndex(keep < items_->Count() ? keep : -1);
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = L"LISTBOX";
  p.style |= LBS_NOTIFY | WS_VSCROLL | LBS_HASSTRINGS;
  if (!integralHeight_) p.style |= LBS_NOINTEGRALHEIGHT;
  if (columns_ > 0) p.style |= LBS_MULTICOLUMN | WS_HSCROLL;
  if (style_ == lbOwnerDrawFixed) p.style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) p.style |= LBS_OWNERDRAWVARIABLE;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::WindowCreated() {
  HWND h = HandleIfAllocated();
  if (style_ != lbStandard) SendMessageW(h, LB_SETITEMHEIGHT, 0, itemHeight_);
  if (columns_ > 0) SendMessageW(h, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width_ / columns_), 0);
  FillWindow();
  SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomListBox::FillWindow() { FillItems(*items_, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING); }

int32_t TCustomListBox::ItemIndex() const {
  if (HWND h = HandleIfAllocated()) return static_cast<int32_t>(SendMessageW(h, LB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomListBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

int32_t TCustomListBox::ItemHeight() const {
  if (HWND h = HandleIfAllocated()) return static_cast<int32_t>(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int32_t height) {
  if (height <= 0) return;
  itemHeight_ = height;
  if (HWND h = HandleIfAllocated(); h && style_ != lbStandard) {
    SendMessageW(h, LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(h, nullptr, TRUE);
  }
}

void TCustomListBox::SetColumns(int32_t columns) {
  if (columns < 0 || columns == columns_) return;
  bool multi = (columns > 0) != (columns_ > 0);
  columns_ = columns;
  if (multi) RecreateWnd();
  else if (HWND h = HandleIfAllocated(); h && columns > 0)
    SendMessageW(h, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width_ / columns), 0);
}

void TCustomListBox::SetIntegralHeight(bool value) {
  if (value == integralHeight_) return;
  integralHeight_ = value;
  RecreateWnd();
}

int TCustomListBox::ItemAtPos(POINT p, bool existing) const {
  HWND h = HandleIfAllocated();
  if (!h) return -1;
  LRESULT r = SendMessageW(h, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  int index = LOWORD(r);
  bool outside = HIWORD(r) != 0;
  if (outside && existing) return -1;
  return index < Count() ? index : -1;
}

RECT TCustomListBox::ItemRect(int index) const {
  RECT r = {0, 0, 0, 0};
  if (HWND h = HandleIfAllocated()) SendMessageW(h, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  c->FillRect(rect);
  if (index >= 0 && index < Count()) {
    rect.left += 2;
    c->DrawText(items_->Strings(index), rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void TCustomListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == LBN_SELCHANGE) {
        itemIndex_ = ItemIndex();
        // A selection set by mouse is reported at the button's release.
        if (!mousePressed_) Click();
      } else if (HIWORD(m.WParam) == LBN_DBLCLK && OnDblClick) {
        OnDblClick(this);
      }
      return;
    case WM_LBUTTONDOWN:
      mousePressed_ = true;
      break;
    case WM_LBUTTONUP: {
      bool was = mousePressed_;
      // Some list boxes report the new selection only now, at the release:
      // it still counts as set by mouse (one click, raised below).
      TWinControl::WndProc(m);
      mousePressed_ = false;
      POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (was && ItemAtPos(p, true) >= 0) Click();
      return;
    }
    case CN_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      mis->itemHeight = static_cast<UINT>(itemHeight_);
      m.Result = TRUE;
      return;
    }
    case CN_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      TOwnerDrawState state = 0;
      if (dis->itemState & ODS_SELECTED) state |= 1u << odSelected;
      if (dis->itemState & ODS_FOCUS) state |= 1u << odFocused;
      if (dis->itemState & ODS_DISABLED) state |= 1u << odDisabled;
      TCanvas* c = Canvas();
      c->SetHandle(dis->hDC);
      c->Font()->Assign(*Font());
      c->Brush()->SetColor((state & (1u << odSelected)) ? clHighlight : Color());
      c->Font()->SetColor((state & (1u << odSelected)) ? clHighlightText : Font()->Color());
      if (dis->itemID != static_cast<UINT>(-1)) DrawItem(static_cast<int>(dis->itemID), dis->rcItem, state);
      if (dis->itemState & ODS_FOCUS) DrawFocusRect(dis->hDC, &dis->rcItem);
      c->SetHandle(nullptr);
      m.Result = TRUE;
      return;
    }
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TCheckListBox -----------------------------------------------------

const TClassInfo& TCheckListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TCheckListBox>("TCheckListBox", &TCustomListBox::StaticClass());
    PublishListBox(i);
    i.Event("OnClickCheck", &TCheckListBox::OnClickCheck);
    return i;
  }();
  return info;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TCustomListBox(owner) { SetStyle(lbOwnerDrawFixed); }

void TCheckListBox::ItemsChanged() {
  // Marks follow the item count (a cleared list loses them all).
  checked_.resize(static_cast<size_t>(Count()), false);
  disabled_.resize(static_cast<size_t>(Count()), false);
  TCustomListBox::ItemsChanged();
}

bool TCheckListBox::Checked(int index) const {
  return index >= 0 && index < static_cast<int>(checked_.size()) && checked_[static_cast<size_t>(index)];
}

void TCheckListBox::SetChecked(int index, bool value) {
  if (index < 0 || index >= static_cast<int>(checked_.size())) return;
  checked_[static_cast<size_t>(index)] = value;
  if (HWND h = HandleIfAllocated()) {
    RECT r = ItemRect(index);
    InvalidateRect(h, &r, FALSE);
  }
}

bool TCheckListBox::ItemEnabled(int index) const {
  return index >= 0 && index < static_cast<int>(disabled_.size()) && !disabled_[static_cast<size_t>(index)];
}

void TCheckListBox::SetItemEnabled(int index, bool value) {
  if (index < 0 || index >= static_cast<int>(disabled_.size())) return;
  disabled_[static_cast<size_t>(index)] = !value;
  Invalidate();
}

int TCheckListBox::CheckWidth() const { return GetSystemMetrics(SM_CXMENUCHECK) + 2; }

void TCheckListBox::ToggleByUser(int index) {
  if (!ItemEnabled(index)) return;
  SetChecked(index, !Checked(index));
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  RECT box = rect;
  box.right = box.left + CheckWidth();
  HDC dc = Canvas()->Handle();
  HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
  ::FillRect(dc, &box, back);
  DeleteObject(back);
  RECT mark = box;
  int size = std::min<int>(box.right - box.left, box.bottom - box.top) - 2;
  mark.left += 1;
  mark.top += (box.bottom - box.top - size) / 2;
  mark.right = mark.left + size;
  mark.bottom = mark.top + size;
  UINT flags = DFCS_BUTTONCHECK | (Checked(index) ? DFCS_CHECKED : 0) | (ItemEnabled(index) ? 0 : DFCS_INACTIVE);
  DrawFrameControl(dc, &mark, DFC_BUTTON, flags);
  rect.left = box.right;
  if (!ItemEnabled(index)) Canvas()->Font()->SetColor(clGrayText);
  TCustomListBox::DrawItem(index, rect, state);
}

void TCheckListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TCustomListBox::WndProc(m);
      POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      int index = ItemAtPos(p, true);
      if (index >= 0) {
        RECT r = ItemRect(index);
        if (p.x - r.left < CheckWidth()) ToggleByUser(index);
      }
      return;
    }
    case WM_CHAR:
      if (m.WParam == ' ') {
        int index = ItemIndex();
        if (index >= 0) ToggleByUser(index);
        return;
      }
      break;
    default: break;
  }
  TCustomListBox::WndProc(m);
}

}  // namespace fw
