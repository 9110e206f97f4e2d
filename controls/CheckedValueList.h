// The value logic of the checked combo box: its items with their check
// marks, and the value text, the "/"-joined texts of the checked items in
// the order in which the value was built.
//
// Everything the control does to its value goes through here; the control
// mirrors the check marks into its pop-up list, shows DisplayText in its
// edit and turns the refusal notice into a message box.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv {

// The value text stays below this many characters whenever it is built
// token by token.
constexpr size_t kMaxValueText = 256;

// Value text routines; all compare exactly, letter case included.
bool HasValueToken(const std::string& item, const std::string& value);
enum class TokenResult { Accepted, Refused, TooLong };
TokenResult AddValueToken(const std::string& item, std::string& value);
TokenResult RemoveValueToken(const std::string& item, std::string& value);
// The value's tokens in the order of the items (without regard to case).
std::string SortValueText(const std::string& value, const std::vector<std::string>& items);

class CheckedValueList {
 public:
  // Raised after the value changed.
  std::function<void()> onChange;
  // Raised when a token is refused because the value would grow too long.
  std::function<void()> onTooLong;
  // Raised whenever the text to show may have changed.
  std::function<void()> onDisplay;
  // Raised whenever the items were replaced (all check marks are lost).
  std::function<void()> onItemsReplaced;

  // Items. Changing them by any route clears all check marks and the value
  // and does not raise onChange.
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  void ClearItems();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int Count() const { return static_cast<int>(items_.size()); }
  bool Checked(int index) const;

  const std::string& EmptyValue() const { return emptyValue_; }
  void SetEmptyValue(const std::string& text);
  bool SortDisplay() const { return sortDisplay_; }
  void SetSortDisplay(bool on);

  // The value text ("" when nothing is checked, never EmptyValue).
  const std::string& GetCheckedValues() const { return value_; }
  void SetCheckedValues(const std::string& text);
  void SetItemChecked(int index, bool state);
  void CheckAllItems();
  void UncheckAllItems();

  // The pop-up list's events: the list has toggled an item's check mark
  // itself (then raises its check event), or the user set the selection.
  void ListToggled(int index);
  void ListCheckClicked(int selected);
  void ListItemClicked(int selected);

  // What the edit shows.
  std::string DisplayText() const;

 private:
  void ItemsChanged();
  void RebuildFromList();
  void RefreshValueDisplay();
  void Changed();
  void SortItems();
  TokenResult Add(const std::string& item);
  void Flip(int index);

  std::vector<std::string> items_;
  std::vector<bool> checked_;
  std::string value_;
  std::string emptyValue_;
  bool sorted_ = false;
  bool sortDisplay_ = false;
};

// Pop-up placement.
constexpr int kMinDropDownLines = 6;
constexpr int kMaxDropDownLines = 10;
constexpr int kPopupScreenMargin = 20;  // the pop-up keeps this far from the screen's bottom

// The number of lines the pop-up shows (0: no items, nothing opens).
int PopupLines(int columns, int dropDownLines, int itemCount);

struct TPopupRect {
  int left, top, width, height;
};
// The pop-up below the control (or above it when it would come nearer to
// the screen's bottom than the margin); `below` is the screen point of the
// control's lower-left corner.
TPopupRect PopupPlacement(int belowX, int belowY, int controlWidth, int controlHeight, int itemHeight, int lines,
                          int screenHeight);

// Whether a point lies strictly inside a w x h area (the reopen guard).
bool StrictlyInside(int x, int y, int w, int h);

// The parts' layout.
constexpr int kDropButtonWidth = 16;
struct TComboLayout {
  int editWidth, editHeight;
  int buttonLeft, buttonTop, buttonWidth, buttonHeight;
};
TComboLayout ComboLayout(int width, int height);

// The control's height for its font.
int FitHeightToFont(int fontCharHeight, int screenFontCharHeight, bool newStyleControls, bool ctl3d, int cyBorder);

}  // namespace kv
