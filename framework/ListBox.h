// List boxes over the system LISTBOX class (items in a string list the
// window follows), and the check list box, owner-drawn with a check box
// in front of each item.
#pragma once

#include <memory>
#include <vector>

#include "Control.h"
#include "StringList.h"

namespace fw {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
const TEnumType& ListBoxStyleType();

using TDrawItemEvent = std::function<void(TWinControl* control, int index, RECT rect, TOwnerDrawState state)>;

class TCustomListBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCustomListBox(TComponent* owner);

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items) { if (items) items_->Assign(*items); }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);
  int32_t ItemHeight() const;
  void SetItemHeight(int32_t height);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t columns);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  int Count() const { return items_->Count(); }
  // Index of the item at a client point, or -1.
  int ItemAtPos(POINT p, bool existing) const;
  RECT ItemRect(int index) const;
  TCanvas* Canvas() { return TControl::Canvas(); }

  TDrawItemEvent OnDrawItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;
  UINT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);
  virtual void ItemsChanged();
  void FillWindow();

 private:
  std::unique_ptr<TStringList> items_;
  TListBoxStyle style_ = lbStandard;
  int32_t itemHeight_ = 16;
  int32_t columns_ = 0;
  bool integralHeight_ = false;
  int32_t itemIndex_ = -1;
  bool mousePressed_ = false;
};

class TListBox : public TCustomListBox {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

class TCheckListBox : public TCustomListBox {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCheckListBox(TComponent* owner);

  bool Checked(int index) const;
  void SetChecked(int index, bool value);
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool value);

  // Raised after the user toggled an item's check mark (a left press in
  // the check box column of an enabled item, or Space on the selected
  // item).
  TNotifyEvent OnClickCheck;

 protected:
  void WndProc(TMessage& message) override;
  void DrawItem(int index, RECT rect, TOwnerDrawState state) override;
  void ItemsChanged() override;
  int CheckWidth() const;

 private:
  void ToggleByUser(int index);
  std::vector<bool> checked_;
  std::vector<bool> disabled_;
};

}  // namespace fw
