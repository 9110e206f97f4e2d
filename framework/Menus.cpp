#include "Menus.h"

#include <algorithm>
#include <exception>
#include <unordered_set>

#include "Application.h"
#include "Form.h"
#include "Internal.h"
#include "Text.h"

namespace fw {

namespace {

// Command identifiers run from 1 to below the system commands (0xF000).
constexpr UINT kCommandLimit = 0xF000;

// The identifiers in use; a new item takes the next free one after the
// last given, wrapping round.
std::vector<bool>& UsedCommands() {
  static std::vector<bool> used(kCommandLimit, false);
  return used;
}

UINT AllocateCommand() {
  static UINT next = 1;
  std::vector<bool>& used = UsedCommands();
  for (UINT tries = 1; tries < kCommandLimit; ++tries) {
    const UINT command = next;
    next = next + 1 < kCommandLimit ? next + 1 : 1;
    if (!used[command]) {
      used[command] = true;
      return command;
    }
  }
  return 0;
}

void ReleaseCommand(UINT command) {
  if (command > 0 && command < kCommandLimit) UsedCommands()[command] = false;
}

// The items that exist: item data of a menu entry is taken for an item only
// when it is one of these (an entry of another party's menu, or of an item
// freed while its menu was open, carries anything).
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

const DRAWITEMSTRUCT* g_drawing = nullptr;

// Runs an item's event handler from a window procedure: an exception
// ends the handler's work here, as none may unwind through the window
// procedure.
template <class F>
void Guarded(F&& run) {
  try {
    run();
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("exception in a menu item's handler");
  }
}

template <class P>
TMenuItem* FindInTree(TMenuItem* item, const P& match) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (match(child)) return child;
    if (TMenuItem* found = FindInTree(child, match)) return found;
  }
  return nullptr;
}

}  // namespace

// ---- TMenuItem ---------------------------------------------------------

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TMenuItem>("TMenuItem", &TComponent::StaticClass())
          .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
          .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
          .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
          .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
          .Int("ShortCut", &TMenuItem::ShortCutProp, &TMenuItem::SetShortCutProp, 0)
          .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
          .Event("OnClick", &TMenuItem::OnClick)
          .Event("OnDrawItem", &TMenuItem::OnDrawItem)
          .Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
          .Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  // Deleted without Free: leave the parent and the sub-items all the same.
  if (!IsDestroying()) TMenuItem::BeforeDestruction();
  LiveItems().erase(this);
  ReleaseCommand(command_);
}

void TMenuItem::BeforeDestruction() {
  TComponent::BeforeDestruction();
  // Sub-items without an owner go with their parent item; owned ones are
  // only detached (their owner frees them).
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    child->ClearHandles();
    if (!child->Owner()) child->Free();
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Changed(bool rebuild) {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(rebuild);
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(true);
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed(true);
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed(true);
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed(true);
}

void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed(true);
}

void TMenuItem::SetImageIndex(int32_t index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == shortCut_) return;
  shortCut_ = shortCut;
  Changed(true);
}

void TMenuItem::SetShortCutProp(int32_t value) {
  // Form data gives the shortcut as a number; one outside 16 bits is none.
  SetShortCut(value >= 0 && value <= 0xFFFF ? static_cast<TShortCut>(value) : scNone);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  // An item cannot go below itself: its own tree would hang loose.
  for (TMenuItem* p = this; p; p = p->parent_)
    if (p == item) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  // Its sub-menus belong to the menu's old handle.
  item->ClearHandles();
  Changed(true);
}

void TMenuItem::ClearHandles() {
  handle_ = nullptr;
  for (TMenuItem* child : items_) child->ClearHandles();
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

bool TMenuItem::IsOwnerDrawn() const {
  TMenu* menu = GetParentMenu();
  if (menu && menu->OwnerDraw()) return true;
  return static_cast<bool>(OnDrawItem) || static_cast<bool>(OnAdvancedDrawItem);
}

bool TMenuItem::OnMenuBar() const {
  return parent_ && !parent_->parent_ && dynamic_cast<TMainMenu*>(parent_->menu_);
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<const TMenuItem*>(data);
  return item && LiveItems().count(item) ? const_cast<TMenuItem*>(item) : nullptr;
}

const DRAWITEMSTRUCT* TMenuItem::CurrentDrawItem() { return g_drawing; }

namespace {
// Width of the column for the check mark or image of pop-up menu items.
constexpr int kCheckColumn = 18;
}  // namespace

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font()->Assign(*Screen().MenuFont());
  if (OnMeasureItem) {
    OnMeasureItem(this, &canvas, width, height);
  } else if (IsLine()) {
    height = GetSystemMetrics(SM_CYMENU) / 2;
  } else {
    if (default_) canvas.Font()->SetStyle(canvas.Font()->Style() | (1u << fsBold));
    RECT r = {0, 0, 0, 0};
    canvas.DrawText(caption_, r, DT_CALCRECT | DT_SINGLELINE);
    if (OnMenuBar()) {
      width = r.right + 12;
    } else {
      width = kCheckColumn + r.right + 12;
      if (shortCut_) width += 24 + canvas.TextWidth(ShortCutToText(shortCut_));
    }
    height = std::max<int>(r.bottom + 6, GetSystemMetrics(SM_CYMENU));
  }
}

void TMenuItem::DrawItem(const DRAWITEMSTRUCT& draw) {
  struct DrawingScope {
    const DRAWITEMSTRUCT* saved;
    explicit DrawingScope(const DRAWITEMSTRUCT* d) : saved(g_drawing) { g_drawing = d; }
    ~DrawingScope() { g_drawing = saved; }
  } scope(&draw);
  TCanvas canvas;
  canvas.SetHandle(draw.hDC);
  canvas.Font()->Assign(*Screen().MenuFont());
  const TOwnerDrawState state = OwnerDrawStateFromODS(draw.itemState);
  if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, &canvas, draw.rcItem, state);
  else if (OnDrawItem) OnDrawItem(this, &canvas, draw.rcItem, (state & (1u << odSelected)) != 0);
  else DefaultDrawItem(canvas, draw.rcItem, state);
}

void TMenuItem::DefaultDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
  auto has = [state](TOwnerDrawStateFlag f) { return (state & (1u << f)) != 0; };
  const bool selected = has(odSelected) || has(odHotLight);
  const bool disabled = has(odDisabled) || has(odGrayed);
  canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (IsLine()) {
    int y = (rect.top + rect.bottom) / 2;
    canvas.Pen()->SetColor(clBtnShadow);
    canvas.MoveTo(rect.left + 2, y);
    canvas.LineTo(rect.right - 2, y);
    return;
  }
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(disabled ? clGrayText : selected ? clHighlightText : clMenuText);
  if (has(odDefault)) canvas.Font()->SetStyle(canvas.Font()->Style() | (1u << fsBold));
  const UINT flags = DT_SINGLELINE | DT_VCENTER | (has(odNoAccel) ? DT_HIDEPREFIX : 0);
  RECT t = rect;
  if (OnMenuBar()) {
    canvas.DrawText(caption_, t, flags | DT_CENTER);
    return;
  }
  t.left += kCheckColumn;
  t.right -= 8;
  canvas.DrawText(caption_, t, flags);
  if (shortCut_)
    canvas.DrawText(ShortCutToText(shortCut_), t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  RECT c = rect;
  c.right = c.left + kCheckColumn;
  TMenu* menu = GetParentMenu();
  if (has(odChecked)) {
    canvas.DrawText("\xA1\xCC", c, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);  // ✓-like mark
  } else if (menu && menu->Images() && imageIndex_ >= 0 && imageIndex_ < menu->Images()->Count()) {
    TImageList* images = menu->Images();
    images->Draw(canvas, c.left + (kCheckColumn - images->Width()) / 2,
                 c.top + (c.bottom - c.top - images->Height()) / 2, imageIndex_, !disabled);
  }
}

bool HandleMenuOwnerDraw(HWND window, UINT msg, LPARAM lParam, const TMenu* menu) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!mis || mis->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(mis->itemData);
    if (!item || (menu && item->GetParentMenu() != menu)) return false;
    int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
    HDC dc = GetDC(window);
    Guarded([&] { item->MeasureItem(dc, w, h); });
    ReleaseDC(window, dc);
    mis->itemWidth = static_cast<UINT>(std::max(w, 0));
    mis->itemHeight = static_cast<UINT>(std::max(h, 0));
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!dis || dis->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(dis->itemData);
    if (!item || (menu && item->GetParentMenu() != menu)) return false;
    Guarded([&] { item->DrawItem(*dis); });
    return true;
  }
  return false;
}

// ---- TMenu -------------------------------------------------------------

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TMenu>("TMenu", &TComponent::StaticClass())
          .Enum("BiDiMode", BiDiModeType(), &TMenu::BiDiMode, &TMenu::SetBiDiMode, bdLeftToRight)
          .Obj("Images", &TMenu::Images, &TMenu::SetImages)
          .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  if (!IsDestroying()) TMenu::BeforeDestruction();
}

void TMenu::BeforeDestruction() {
  // Those told of the menu's going (its form) let go of its handle first.
  TComponent::BeforeDestruction();
  DestroyHandle();
  if (items_) {
    items_->menu_ = nullptr;
    FreeAndNil(items_);
  }
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  MenuChanged(true);
}

void TMenu::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  MenuChanged(false);
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (mode == biDiMode_) return;
  biDiMode_ = mode;
  MenuChanged(true);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    MenuChanged(false);
  }
}

TMenuItem* TMenu::FindItem(UINT value, TFindItemKind kind) const {
  if (!items_ || value == 0) return nullptr;
  switch (kind) {
    case fkCommand: return FindInTree(items_, [value](TMenuItem* i) { return i->Command() == value; });
    case fkHandle: {
      HMENU handle = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(value));
      if (items_->Handle() == handle) return items_;
      return FindInTree(items_, [handle](TMenuItem* i) { return i->Handle() == handle; });
    }
    case fkShortCut: return FindInTree(items_, [value](TMenuItem* i) { return i->ShortCut() == value; });
  }
  return nullptr;
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
  if (!items_ || shortCut == scNone) return nullptr;
  return FindInTree(items_, [shortCut](TMenuItem* i) {
    if (i->ShortCut() != shortCut) return false;
    for (TMenuItem* p = i; p && p->Parent(); p = p->Parent())
      if (!p->Enabled() || !p->Visible()) return false;
    return true;
  });
}

HMENU TMenu::BuildHandle(bool popup) {
  items_->ClearHandles();
  HMENU top = popup ? CreatePopupMenu() : CreateMenu();
  if (!top) return nullptr;
  items_->handle_ = top;
  BuildItems(top, items_, !popup);
  return top;
}

void TMenu::BuildItems(HMENU menu, TMenuItem* parent, bool bar) {
  for (TMenuItem* item : parent->items_) {
    if (!item->Visible()) continue;
    std::wstring text = ToWide(item->Caption());
    // Shortcuts show after a tab in pop-up menus (not on a menu bar).
    if (!bar && item->ShortCut()) text += L"\t" + ToWide(ShortCutToText(item->ShortCut()));
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mii.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (item->IsOwnerDrawn()) mii.fType |= MFT_OWNERDRAW;
    if (IsRightToLeft()) mii.fType |= MFT_RIGHTORDER;
    if (!item->IsLine()) {
      // Owner-drawn entries keep their text too: the system finds "&x"
      // accelerators in it.
      mii.fMask |= MIIM_STRING;
      mii.dwTypeData = &text[0];
    }
    mii.fState = (item->Enabled() ? 0 : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0);
    mii.wID = item->Command();
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (item->Count() > 0 && !item->IsLine()) {
      if (HMENU sub = CreatePopupMenu()) {
        item->handle_ = sub;
        BuildItems(sub, item, false);
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = sub;
      }
    }
    const int position = GetMenuItemCount(menu);
    if (!InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &mii)) {
      if (mii.hSubMenu) DestroyMenu(mii.hSubMenu);
      item->ClearHandles();
      continue;
    }
    if (item->Default()) SetMenuDefaultItem(menu, static_cast<UINT>(position), TRUE);
  }
}

void TMenu::DestroyHandle() {
  if (!items_) return;
  HMENU handle = items_->Handle();
  items_->ClearHandles();
  if (handle) DestroyMenu(handle);
}

void TMenu::ForgetHandle() {
  if (items_) items_->ClearHandles();
}

// ---- TMainMenu ---------------------------------------------------------

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TMainMenu>("TMainMenu", &TMenu::StaticClass());
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  // Deleted without Free: its form lets go of it while it is still whole.
  if (!IsDestroying()) TMenu::BeforeDestruction();
}

void TMainMenu::MenuChanged(bool rebuild) {
  if (!form_ || IsLoading() || IsDestroying() || form_->IsDestroying() || !form_->HandleAllocated()) return;
  form_->Perform(CM_MENUCHANGED, rebuild ? 1 : 0, reinterpret_cast<LPARAM>(this));
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == form_) form_ = nullptr;
}

// ---- TPopupMenu --------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TPopupMenu>("TPopupMenu", &TMenu::StaticClass())
                                     .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
                                     .Event("OnPopup", &TPopupMenu::OnPopup);
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y) {
  if (Handle()) return;
  if (OnPopup) OnPopup(this);
  HMENU menu = BuildHandle(true);
  if (!menu) return;
  // The hidden utility window owns the menu (it draws owner-drawn items).
  // A menu closes when the user clicks elsewhere only while its thread has
  // the foreground: the window of ours that is active (a form, or a pop-up
  // list that closes when it is deactivated) is brought there and keeps
  // its activation; the owner only when none is active.
  HWND owner = UtilityWindow();
  HWND active = GetActiveWindow();
  SetForegroundWindow(active ? active : owner);
  const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyHandle();
  // The chosen item is looked up now: one freed while the menu was open
  // is not found.
  if (TMenuItem* item = FindItem(chosen, fkCommand)) item->Click();
}

}  // namespace fw
