#include "Menus.h"

#include <algorithm>

#include "Internal.h"
#include "Text.h"

namespace fw {

// ---- TMenuItem ---------------------------------------------------------

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TMenuItem>("TMenuItem", &TComponent::StaticClass())
                                     .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                     .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
                                     .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
                                     .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
                                     .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
                                     .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
                                     .Event("OnClick", &TMenuItem::OnClick)
                                     .Event("OnDrawItem", &TMenuItem::OnDrawItem)
                                     .Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

void TMenuItem::BeforeDestruction() {
  TComponent::BeforeDestruction();
  // Sub-items without an owner go with their parent item; owned ones are
  // only detached (their owner frees them).
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    if (!child->Owner()) child->Free();
  }
  if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TPopupMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (OnMeasureItem) {
    OnMeasureItem(this, &canvas, width, height);
  } else if (IsLine()) {
    height = GetSystemMetrics(SM_CYMENU) / 2;
  } else {
    SIZE s = canvas.TextExtent(caption_);
    width = s.cx + 24;
    height = std::max<int>(s.cy + 6, GetSystemMetrics(SM_CYMENU));
  }
  canvas.SetHandle(nullptr);
}

void TMenuItem::DrawItem(HDC dc, RECT rect, bool selected) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (OnDrawItem) {
    OnDrawItem(this, &canvas, rect, selected);
  } else {
    canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
      int y = (rect.top + rect.bottom) / 2;
      canvas.Pen()->SetColor(clBtnShadow);
      canvas.MoveTo(rect.left + 2, y);
      canvas.LineTo(rect.right - 2, y);
    } else {
      canvas.Brush()->SetStyle(bsClear);
      canvas.Font()->SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
      RECT t = rect;
      t.left += 18;
      canvas.DrawText(caption_, t, DT_SINGLELINE | DT_VCENTER);
      if (checked_) {
        RECT c = rect;
        c.right = c.left + 18;
        canvas.DrawText("\xA1\xCC", c, DT_SINGLELINE | DT_VCENTER | DT_CENTER);  // ✓-like mark
      }
    }
  }
  canvas.SetHandle(nullptr);
}

bool HandleMenuOwnerDraw(UINT msg, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mis->CtlType != ODT_MENU || !mis->itemData) return false;
    auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
    HDC dc = GetDC(UtilityWindow());
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
    item->MeasureItem(dc, w, h);
    SelectObject(dc, old);
    ReleaseDC(UtilityWindow(), dc);
    mis->itemWidth = static_cast<UINT>(w);
    mis->itemHeight = static_cast<UINT>(h);
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (dis->CtlType != ODT_MENU || !dis->itemData) return false;
    auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
    item->DrawItem(dis->hDC, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
    return true;
  }
  return false;
}

// ---- TPopupMenu --------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TPopupMenu>("TPopupMenu", &TComponent::StaticClass())
                                     .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
                                     .Bool("OwnerDraw", &TPopupMenu::OwnerDraw, &TPopupMenu::SetOwnerDraw, false)
                                     .Event("OnPopup", &TPopupMenu::OnPopup);
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

void TPopupMenu::BeforeDestruction() {
  TComponent::BeforeDestruction();
  FreeAndNil(items_);
}

HMENU TPopupMenu::Build(TMenuItem* item, std::vector<TMenuItem*>& commands) {
  HMENU menu = CreatePopupMenu();
  for (TMenuItem* child : item->items_) {
    if (!child->Visible()) continue;
    UINT flags = 0;
    bool ownerDraw = ownerDraw_ || static_cast<bool>(child->OnDrawItem);
    if (child->IsLine() && !ownerDraw) flags |= MF_SEPARATOR;
    if (!child->Enabled()) flags |= MF_GRAYED;
    if (child->Checked()) flags |= MF_CHECKED;
    if (ownerDraw) flags |= MF_OWNERDRAW;
    std::wstring text = ToWide(child->Caption());
    const wchar_t* data = ownerDraw ? reinterpret_cast<const wchar_t*>(child) : text.c_str();
    if (child->Count() > 0) {
      HMENU sub = Build(child, commands);
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), data);
    } else {
      commands.push_back(child);
      AppendMenuW(menu, flags, commands.size(), data);
    }
    if (child->Default()) SetMenuDefaultItem(menu, GetMenuItemCount(menu) - 1, TRUE);
  }
  return menu;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  std::vector<TMenuItem*> commands;
  handle_ = Build(items_, commands);
  // The hidden utility window owns the menu (it draws owner-drawn items).
  // A menu closes when the user clicks elsewhere only while its thread has
  // the foreground: the window of ours that is active (a form, or a pop-up
  // list that closes when it is deactivated) is brought there and keeps
  // its activation; the owner only when none is active.
  HWND owner = UtilityWindow();
  HWND active = GetActiveWindow();
  SetForegroundWindow(active ? active : owner);
  UINT chosen = static_cast<UINT>(TrackPopupMenu(handle_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0,
                                                 owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(handle_);
  handle_ = nullptr;
  if (chosen >= 1 && chosen <= commands.size()) commands[chosen - 1]->Click();
}

}  // namespace fw
