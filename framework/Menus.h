// Menus: a form's menu bar (TMainMenu), pop-up menus (TPopupMenu), their
// common base TMenu, and the menu items both hold.
//
// Every item carries a command identifier unique in the program
// (Command), the identifier of its entry in the menu handles: a
// WM_COMMAND or a TrackPopupMenu result finds the item with
// FindItem(command, fkCommand). An entry's item data (dwItemData) is the
// TMenuItem*. While a menu's handle exists, an item with sub-items holds
// the handle of its sub-menu (Handle), the root item the menu's own
// handle, and FindItem(handle, fkHandle) finds the item of a sub-menu.
//
// A main menu's handle is built by the form it is the menu of, once the
// form's window exists, and again when the window is re-created and when
// an item changes: the change is sent to the form as CM_MENUCHANGED
// through its WindowProc (a procedure put in front sees it), and the
// form's own procedure builds the new handle, sets it as the window's
// menu and destroys the old one. A pop-up menu builds its handle each time
// it opens and destroys it when it closes.
//
// Owner-drawn items (OwnerDraw on the menu, or an item with OnDrawItem or
// OnAdvancedDrawItem) are measured and drawn through the items' events:
// for a menu bar by its form, for pop-up menus by the application's hidden
// window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Component.h"
#include "Control.h"
#include "ImageList.h"
#include "ShortCut.h"

namespace fw {

class TForm;
class TMenu;
class TMenuItem;

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuAdvancedDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  void BeforeDestruction() override;

  // A change of these after the menu's handle is built tells the menu
  // (TMenu::MenuChanged).
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t index);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);

  // The item's identifier in menu handles: unique among the items alive,
  // between 1 and 0xEFFF (0 only when every identifier is taken).
  UINT Command() const { return command_; }
  // The handle of the item's sub-menu while its menu's handle is built
  // (0 otherwise, and for items without sub-items); for the root item the
  // menu's own handle, so Parent()->Handle() is the menu an item is in.
  HMENU Handle() const { return handle_; }

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  bool IsLine() const { return caption_ == "-"; }
  // The menu this item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  // True when the menu draws the item through its events: OwnerDraw on
  // the menu, or OnDrawItem or OnAdvancedDrawItem assigned.
  bool IsOwnerDrawn() const;

  // Runs OnClick when the item is enabled.
  virtual void Click();
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuAdvancedDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Owner drawing (WM_MEASUREITEM/WM_DRAWITEM of the item). The canvas
  // handed to the events draws on the message's device context and starts
  // with the screen's menu font. DrawItem calls OnAdvancedDrawItem when it
  // is assigned, else OnDrawItem (selected or not), else draws the item
  // itself from the state (gray when disabled, bold when default, a mark
  // when checked).
  void MeasureItem(HDC dc, int& width, int& height);
  void DrawItem(const DRAWITEMSTRUCT& draw);
  // The DRAWITEMSTRUCT being drawn while DrawItem runs (its hwndItem is the
  // handle of the menu the item is drawn in); nullptr outside DrawItem.
  static const DRAWITEMSTRUCT* CurrentDrawItem();

  // The item whose address is a menu entry's item data, when it is an item
  // that exists; nullptr for any other value.
  static TMenuItem* FromItemData(ULONG_PTR data);

 private:
  friend class TMenu;
  void Changed(bool rebuild);
  void ClearHandles();
  bool OnMenuBar() const;
  void DefaultDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
  int32_t ShortCutProp() const { return shortCut_; }
  void SetShortCutProp(int32_t value);

  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
  int32_t imageIndex_ = -1;
  TShortCut shortCut_ = scNone;
  UINT command_ = 0;
  HMENU handle_ = nullptr;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
};

// The base of main and pop-up menus: the root item, drawing options and
// the lookup of items.
class TMenu : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  ~TMenu() override;
  void BeforeDestruction() override;

  // The root item: its sub-items are the menu's entries.
  TMenuItem* Items() const { return items_; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return biDiMode_ != bdLeftToRight; }

  // The menu's handle: a main menu's menu bar once its form built it, a
  // pop-up menu's while it is open; 0 otherwise.
  HMENU Handle() const { return items_ ? items_->Handle() : nullptr; }
  // The item of the whole tree with that command identifier, sub-menu
  // handle (the root item for the menu's own handle) or shortcut; nullptr
  // when there is none (0 never matches).
  TMenuItem* FindItem(UINT value, TFindItemKind kind) const;
  // The item with that shortcut that can be chosen now: it and every item
  // above it enabled and visible.
  TMenuItem* FindShortCut(TShortCut shortCut) const;

  // Told by the items when one changed (rebuild: the handle must be made
  // again; false: only the look changed).
  virtual void MenuChanged(bool rebuild) {}

 protected:
  explicit TMenu(TComponent* owner);
  void Notification(TComponent* component, TOperation operation) override;
  // Makes a new handle (a pop-up menu, or a menu bar) of the visible items
  // and gives the items their new handles; the previous handle is left to
  // the caller.
  HMENU BuildHandle(bool popup);
  // Destroys the handle and forgets the items' handles.
  void DestroyHandle();
  // Forgets the handle and the items' handles without destroying it (a
  // window destroys its menu bar with itself).
  void ForgetHandle();

 private:
  void BuildItems(HMENU menu, TMenuItem* parent, bool bar);
  TMenuItem* items_;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
  TBiDiMode biDiMode_ = bdLeftToRight;
};

// A form's menu bar: set it as the form's Menu (form data: Menu = MainMenu1).
class TMainMenu : public TMenu {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;

  // The form whose menu this is, or nullptr.
  TForm* Form() const { return form_; }
  // Sends CM_MENUCHANGED to the form while its window exists.
  void MenuChanged(bool rebuild) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TForm;
  TForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TPopupMenu(TComponent* owner);

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }

  // Raises OnPopup, shows the menu at a screen point and runs the chosen
  // item's click. Does nothing while the menu is already open.
  virtual void Popup(int x, int y);

  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
};

}  // namespace fw
