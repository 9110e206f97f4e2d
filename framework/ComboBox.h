// Combo boxes over the system COMBOBOX class; the items live in a string
// list that the window follows.
#pragma once

#include <memory>

#include "Control.h"
#include "StringList.h"

namespace fw {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
const TEnumType& ComboBoxStyleType();

class TCustomComboBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCustomComboBox(TComponent* owner);

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items) { if (items) items_->Assign(*items); }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  int32_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t count);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t value);
  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;
  UINT DialogCode() const override;
  void FillWindow();

 private:
  std::unique_ptr<TStringList> items_;
  TComboBoxStyle style_ = csDropDown;
  int32_t dropDownCount_ = 8;
  int32_t maxLength_ = 0;
  int32_t itemIndex_ = -1;  // kept while there is no window
};

class TComboBox : public TCustomComboBox {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

}  // namespace fw
