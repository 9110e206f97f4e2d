// TCheckedComboBox: a drop-down multiple choice. A read-only edit shows
// the chosen items as one text, and the drop-down button or a click on the
// edit opens a borderless pop-up window holding a check list of all items.
// Its value is the "/"-joined texts of the checked items (CheckedValueList
// keeps it; this class is the windows around it).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Buttons.h"
#include "KvColors.h"
#include "CheckedValueList.h"
#include "Edit.h"
#include "Form.h"
#include "ListBox.h"
#include "Menus.h"
#include "Panel.h"
#include "StringList.h"

namespace kv {

class TCheckedComboBox : public fw::TCustomPanel {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TCheckedComboBox(fw::TComponent* owner);
  void BeforeDestruction() override;

  // ---- the value ----
  std::string GetCheckedValues() const { return values_.GetCheckedValues(); }
  void SetCheckedValues(const std::string& text) { values_.SetCheckedValues(text); }
  void SetItemChecked(int index, bool state) { values_.SetItemChecked(index, state); }
  bool ItemChecked(int index) const { return values_.Checked(index); }
  void CheckAllItems();
  void UncheckAllItems() { values_.UncheckAllItems(); }

  // ---- the pop-up ----
  void OpenPopup();
  bool PopupShown() const;

  // ---- properties ----
  fw::TStrings* Items() const { return items_.get(); }
  void SetItems(fw::TStrings* items);
  std::string CapSelectAll() const { return capSelectAll_; }
  void SetCapSelectAll(const std::string& v) { capSelectAll_ = v; }
  std::string CapDeSelectAll() const { return capDeSelectAll_; }
  void SetCapDeSelectAll(const std::string& v) { capDeSelectAll_ = v; }
  TColor NotFocusColor() const { return notFocusColor_; }
  void SetNotFocusColor(TColor v);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t v);
  int32_t DropDownLines() const { return dropDownLines_; }
  void SetDropDownLines(int32_t v);
  std::string EmptyValue() const { return values_.EmptyValue(); }
  void SetEmptyValue(const std::string& v);
  bool SortDisplay() const { return values_.SortDisplay(); }
  void SetSortDisplay(bool v) { values_.SetSortDisplay(v); }
  int32_t ItemHeight() const { return list_->ItemHeight(); }
  void SetItemHeight(int32_t v) { list_->SetItemHeight(v); }

  // The parts, for the program's own wiring and the tests.
  fw::TEdit* EditPart() const { return edit_; }
  fw::TSpeedButton* ButtonPart() const { return button_; }
  fw::TForm* PopupForm() const { return popup_; }
  fw::TCheckListBox* PopupList() const { return list_; }
  fw::TPopupMenu* PopupMenuPart() const { return menu_; }

  fw::TNotifyEvent OnChange;
  fw::TNotifyEvent OnCloseUp;

  // Where a refused token's message goes (a message box unless replaced).
  static std::function<void(const std::string& text)>& RefusalNotice();

 protected:
  // The mouse pointer in screen coordinates.
  virtual POINT CursorScreenPos() const;
  void WindowCreated() override;
  void Resize() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void Ctl3DChanged() override;

 private:
  void LayoutParts();
  void FitHeightToFont();
  void ItemsChanged();
  void ShowValue();
  void SyncListMarks();
  void ListCheckClicked(fw::TObject* sender);
  void ListItemClicked(fw::TObject* sender);
  void ListKeyDown(fw::TObject* sender, WORD& key, fw::TShiftState shift);
  void PopupDeactivated(fw::TObject* sender);

  CheckedValueList values_;
  std::unique_ptr<fw::TStringList> items_;
  fw::TEdit* edit_ = nullptr;
  fw::TSpeedButton* button_ = nullptr;
  fw::TForm* popup_ = nullptr;
  fw::TCheckListBox* list_ = nullptr;
  fw::TPopupMenu* menu_ = nullptr;
  fw::TMenuItem* selectAllItem_ = nullptr;
  fw::TMenuItem* deselectAllItem_ = nullptr;
  std::string capSelectAll_, capDeSelectAll_;
  TColor notFocusColor_ = clWhite;
  int32_t columns_ = 0;
  int32_t dropDownLines_ = kMinDropDownLines;
  bool layingOut_ = false;
};

}  // namespace kv
