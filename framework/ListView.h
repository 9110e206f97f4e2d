// The list view (system SysListView32) in report style: columns, items
// with sub-items, selection, and custom drawing of items through a canvas
// whose brush and font colours become the item's colours. The items live
// here; the window knows only their number and asks for what it draws.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "Control.h"
#include "StringList.h"

namespace fw {

class TListView;

class TListColumn {
 public:
  std::string Caption;
  int32_t Width = 50;
  TAlignment Alignment = taLeftJustify;
};

// The columns; read from form data as a collection of items with
// Caption, Width and Alignment.
class TListColumns : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TListColumns(TListView* owner) : owner_(owner) {}

  int Count() const { return static_cast<int>(columns_.size()); }
  TListColumn* Items(int index);
  TListColumn* Add();
  void Clear();
  // Applies changes made to the columns (captions, widths) to the window.
  void Update();
  bool ReadValue(const TFormValue& value, std::string& error) override;

 private:
  TListView* owner_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
};

class TListItem {
 public:
  explicit TListItem(TListView* owner);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TStrings* SubItems() const { return subItems_.get(); }
  int Index() const;
  bool Selected() const;
  void SetSelected(bool value);
  void* Data = nullptr;
  TListView* Owner() const { return owner_; }

 private:
  TListView* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
};

class TListItems {
 public:
  explicit TListItems(TListView* owner) : owner_(owner) {}
  int Count() const { return static_cast<int>(items_.size()); }
  TListItem* Items(int index) const;
  TListItem* operator[](int index) const { return Items(index); }
  TListItem* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  // Rows added, deleted or changed between these reach the window once, at
  // the last EndUpdate (one refill instead of one per row).
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

 private:
  friend class TListView;
  TListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
  int updateCount_ = 0;
  bool changedWhileUpdating_ = false;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TCustomDrawStateFlag { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot };
using TCustomDrawState = uint32_t;
const TEnumType& ViewStyleType();

using TLVCustomDrawItemEvent =
    std::function<void(TListView* sender, TListItem* item, TCustomDrawState state, bool& defaultDraw)>;

class TListView : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TListView(TComponent* owner);

  TListColumns* Columns() const { return columns_.get(); }
  TListItems* Items() { return &items_; }
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool value);
  // The selected item (the first one), or nullptr.
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  // The canvas of custom drawing.
  TCanvas* Canvas() { return TControl::Canvas(); }

  TLVCustomDrawItemEvent OnCustomDrawItem;
  TNotifyEvent OnChange;

  // Internal: the window follows the item list.
  void ItemsChanged();
  void ColumnsChanged();
  void ItemChanged(const TListItem* item);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;

 private:
  void Notify(TMessage& m);
  LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
  LRESULT FindItem(const NMLVFINDITEMW& find) const;
  void ApplyExStyle();

  std::unique_ptr<TListColumns> columns_;
  TListItems items_;
  TViewStyle viewStyle_ = vsReport;
  bool readOnly_ = false, rowSelect_ = false, hideSelection_ = true, gridLines_ = false;
  std::wstring dispText_;  // text handed to the control for one item
};

}  // namespace fw
