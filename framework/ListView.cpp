#include "ListView.h"

#include <commctrl.h>

#include <cwchar>

#include "FormData.h"
#include "Text.h"

namespace fw {

const TEnumType& ViewStyleType() {
  static const TEnumType t{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
  return t;
}

// ---- TListColumns ------------------------------------------------------

const TClassInfo& TListColumns::StaticClass() {
  static const TClassInfo info("TListColumns", &TPersistent::StaticClass());
  return info;
}

TListColumn* TListColumns::Items(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return columns_[static_cast<size_t>(index)].get();
}

TListColumn* TListColumns::Add() {
  columns_.emplace_back(new TListColumn);
  Update();
  return columns_.back().get();
}

void TListColumns::Clear() {
  columns_.clear();
  Update();
}

void TListColumns::Update() { owner_->ColumnsChanged(); }

bool TListColumns::ReadValue(const TFormValue& value, std::string& error) {
  if (value.kind != TFormValue::Collection) {
    error = "a collection of columns is expected";
    return false;
  }
  columns_.clear();
  for (const auto& item : value.collection) {
    std::unique_ptr<TListColumn> col(new TListColumn);
    for (const auto& p : item) {
      if (p.name == "Caption" && p.value.kind == TFormValue::String) {
        col->Caption = p.value.text;
      } else if (p.name == "Width" && p.value.kind == TFormValue::Integer) {
        col->Width = static_cast<int32_t>(p.value.integer);
      } else if (p.name == "Alignment" && p.value.kind == TFormValue::Ident) {
        int a = AlignmentType().IndexOf(p.value.text);
        if (a < 0) {
          error = "column Alignment: not a value of TAlignment: " + p.value.text;
          return false;
        }
        col->Alignment = static_cast<TAlignment>(a);
      } else {
        error = "column property " + p.name + " is not known or has a wrong value";
        return false;
      }
    }
    columns_.push_back(std::move(col));
  }
  Update();
  return true;
}

// ---- TListItem / TListItems --------------------------------------------

TListItem::TListItem(TListView* owner) : owner_(owner), subItems_(new TStringList) {
  subItems_->OnChange = [this](TObject*) { owner_->ItemChanged(this); };
}

void TListItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  owner_->ItemChanged(this);
}

int TListItem::Index() const { return owner_->Items()->IndexOf(this); }

bool TListItem::Selected() const { return owner_->Selected() == this; }

void TListItem::SetSelected(bool value) {
  if (value) owner_->SetSelected(this);
  else if (Selected()) owner_->SetSelected(nullptr);
}

TListItem* TListItems::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add() {
  items_.emplace_back(new TListItem(owner_));
  owner_->ItemsChanged();
  return items_.back().get();
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  owner_->ItemsChanged();
}

void TListItems::Clear() {
  items_.clear();
  owner_->ItemsChanged();
}

void TListItems::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    owner_->ItemsChanged();
  }
}

int TListItems::IndexOf(const TListItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

// ---- TListView ---------------------------------------------------------

const TClassInfo& TListView::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TListView>("TListView", &TWinControl::StaticClass());
    PublishColorAndFont(i, clWindow);
    i.Obj("Columns", &TListView::Columns)
        .Bool("GridLines", &TListView::GridLines, &TListView::SetGridLines, false)
        .Bool("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection, true)
        .Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly, false)
        .Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect, false)
        .Enum("ViewStyle", ViewStyleType(), &TListView::ViewStyle, &TListView::SetViewStyle, vsReport)
        .Event("OnChange", &TListView::OnChange)
        .Event("OnCustomDrawItem", &TListView::OnCustomDrawItem);
    return i;
  }();
  return info;
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner), columns_(new TListColumns(this)), items_(this) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
  SetTabStop(true);
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = WC_LISTVIEWW;
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.style |= kViews[viewStyle_] | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_OWNERDATA;
  if (!readOnly_) p.style |= LVS_EDITLABELS;
  if (!hideSelection_) p.style |= LVS_SHOWSELALWAYS;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListView::WindowCreated() {
  ApplyExStyle();
  ColumnsChanged();
  ItemsChanged();
}

void TListView::ApplyExStyle() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  DWORD ex = (rowSelect_ ? LVS_EX_FULLROWSELECT : 0) | (gridLines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
}

void TListView::ColumnsChanged() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < columns_->Count(); ++i) {
    TListColumn* c = columns_->Items(i);
    std::wstring text = ToWide(c->Caption);
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = c->Alignment == taCenter ? LVCFMT_CENTER : c->Alignment == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
    if (i == 0) col.fmt = LVCFMT_LEFT;
    col.cx = c->Width;
    col.pszText = &text[0];
    col.iSubItem = i;
    SendMessageW(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
}

void TListView::ItemsChanged() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  if (items_.Updating()) {
    items_.changedWhileUpdating_ = true;
    return;
  }
  int selected = ItemIndex();
  // The window keeps no rows of its own: it knows their number and asks
  // for their texts when it draws them, so a refill takes the same time
  // for ten thousand rows as for ten.
  SendMessageW(h, LVM_SETITEMCOUNT, static_cast<WPARAM>(items_.Count()), 0);
  if (selected >= 0) SetItemIndex(selected < items_.Count() ? selected : -1);
  InvalidateRect(h, nullptr, TRUE);
}

void TListView::ItemChanged(const TListItem* item) {
  HWND h = HandleIfAllocated();
  if (!h) return;
  if (items_.Updating()) {
    items_.changedWhileUpdating_ = true;
    return;
  }
  int index = items_.IndexOf(item);
  if (index >= 0) SendMessageW(h, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

TListItem* TListView::Selected() const { return items_.Items(ItemIndex()); }

void TListView::SetSelected(TListItem* item) { SetItemIndex(items_.IndexOf(item)); }

int32_t TListView::ItemIndex() const {
  HWND h = HandleIfAllocated();
  if (!h) return -1;
  return static_cast<int32_t>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int32_t index) {
  HWND h = HandleIfAllocated();
  if (!h) return;
  LVITEMW clear = {};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (index < 0 || index >= items_.Count()) return;
  LVITEMW set = {};
  set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  set.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&set));
  SendMessageW(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void TListView::SetViewStyle(TViewStyle style) {
  if (style == viewStyle_) return;
  viewStyle_ = style;
  RecreateWnd();
}
void TListView::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  RecreateWnd();
}
void TListView::SetRowSelect(bool value) {
  rowSelect_ = value;
  ApplyExStyle();
}
void TListView::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  RecreateWnd();
}
void TListView::SetGridLines(bool value) {
  gridLines_ = value;
  ApplyExStyle();
}

LRESULT TListView::CustomDraw(NMLVCUSTOMDRAW* cd) {
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return OnCustomDrawItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
      TListItem* item = items_.Items(static_cast<int>(cd->nmcd.dwItemSpec));
      if (!item) return CDRF_DODEFAULT;
      TCustomDrawState state = 0;
      if (cd->nmcd.uItemState & CDIS_SELECTED) state |= 1u << cdsSelected;
      if (cd->nmcd.uItemState & CDIS_FOCUS) state |= 1u << cdsFocused;
      if (cd->nmcd.uItemState & CDIS_HOT) state |= 1u << cdsHot;
      TCanvas* c = Canvas();
      c->SetHandle(cd->nmcd.hdc);
      c->Font()->Assign(*Font());
      c->Brush()->SetColor(Color());
      bool defaultDraw = true;
      OnCustomDrawItem(this, item, state, defaultDraw);
      // The handler's colours become the item's, also for a selected item.
      cd->clrText = ColorToRGB(c->Font()->Color());
      cd->clrTextBk = ColorToRGB(c->Brush()->Color());
      cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
      SelectObject(cd->nmcd.hdc, c->Font()->Handle());
      c->SetHandle(nullptr);
      return defaultDraw ? CDRF_NEWFONT : CDRF_SKIPDEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

// The row whose caption begins with (or is) the text typed, from the row
// the window names on, letter case ignored, as the window finds rows it
// holds itself; -1 when there is none.
LRESULT TListView::FindItem(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  const std::wstring text = find.lvfi.psz;
  const int count = items_.Count();
  const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
  const int tries = find.lvfi.flags & LVFI_WRAP ? count : count - start;
  for (int n = 0; n < tries; ++n) {
    const int i = (start + n) % count;
    const std::wstring caption = ToWide(items_.Items(i)->Caption());
    const bool match = (find.lvfi.flags & LVFI_PARTIAL)
                           ? caption.size() >= text.size() && _wcsnicmp(caption.c_str(), text.c_str(), text.size()) == 0
                           : _wcsicmp(caption.c_str(), text.c_str()) == 0;
    if (match) return i;
  }
  return -1;
}

void TListView::Notify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  switch (hdr->code) {
    case LVN_GETDISPINFOW: {
      auto* di = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
      TListItem* item = items_.Items(di->item.iItem);
      if ((di->item.mask & LVIF_TEXT) && item) {
        std::string text = di->item.iSubItem == 0 ? item->Caption() : item->SubItems()->Strings(di->item.iSubItem - 1);
        dispText_ = ToWide(text);
        lstrcpynW(di->item.pszText, dispText_.c_str(), di->item.cchTextMax);
      }
      return;
    }
    case LVN_ODFINDITEMW:
      m.Result = FindItem(*reinterpret_cast<NMLVFINDITEMW*>(m.LParam));
      return;
    case NM_CUSTOMDRAW:
      m.Result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam));
      return;
    case LVN_ITEMCHANGED:
      if (OnChange) OnChange(this);
      return;
    case NM_CLICK: Click(); return;
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick(this);
      return;
    default: break;
  }
  DefaultHandler(m);
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && IsNotifyHeader(m.LParam)) {
    Notify(m);
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
