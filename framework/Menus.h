// Pop-up menus and menu items. A pop-up menu builds its menu handle from
// its items each time it opens, tracks it with the application's hidden
// window as owner, and runs the chosen item's OnClick. Owner-drawn items
// (OwnerDraw on the menu, or an item with OnDrawItem) are measured and
// drawn through the items' events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Component.h"

namespace fw {

class TMenuItem;
class TPopupMenu;

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TMenuItem(TComponent* owner);
  void BeforeDestruction() override;

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t index) { imageIndex_ = index; }

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  bool IsLine() const { return caption_ == "-"; }
  // The pop-up menu this item belongs to (through its parents).
  TPopupMenu* GetParentMenu() const;

  virtual void Click();
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Owner drawing (called for WM_MEASUREITEM/WM_DRAWITEM of the item).
  void MeasureItem(HDC dc, int& width, int& height);
  void DrawItem(HDC dc, RECT rect, bool selected);

 private:
  friend class TPopupMenu;
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
  int32_t imageIndex_ = -1;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TPopupMenu* menu_ = nullptr;  // set on the root item of a menu
};

class TPopupMenu : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TPopupMenu(TComponent* owner);
  void BeforeDestruction() override;

  TMenuItem* Items() const { return items_; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value) { ownerDraw_ = value; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }

  // Shows the menu at a screen point and runs the chosen item's click.
  virtual void Popup(int x, int y);
  // The menu handle while the menu is open (0 otherwise).
  HMENU Handle() const { return handle_; }

  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;

 private:
  HMENU Build(TMenuItem* item, std::vector<TMenuItem*>& commands);
  TMenuItem* items_;
  bool ownerDraw_ = false;
  bool autoPopup_ = true;
  HMENU handle_ = nullptr;
};

}  // namespace fw
