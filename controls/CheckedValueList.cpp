// Value text of the checked combo box.
#include "CheckedValueList.h"

#include <algorithm>

#include "KvCommon.h"

namespace kv {

namespace {

constexpr char kSeparator = '/';

bool LessText(const std::string& a, const std::string& b) { return CompareTextGbk(a, b) < 0; }

std::vector<std::string> SplitValue(const std::string& value) {
  std::vector<std::string> tokens;
  size_t start = 0;
  for (;;) {
    const size_t p = value.find(kSeparator, start);
    tokens.push_back(value.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return tokens;
}

}  // namespace

bool HasValueToken(const std::string& item, const std::string& value) {
  std::string rest = value.substr(0, kMaxValueText);
  if (rest == item) return true;
  for (;;) {
    const size_t p = rest.find(kSeparator);
    if (rest.substr(0, p) == item) return true;
    if (p == std::string::npos) return false;
    rest = rest.substr(p + 1);
  }
}

TokenResult AddValueToken(const std::string& item, std::string& value) {
  if (value.size() + item.size() + 1 >= kMaxValueText) return TokenResult::TooLong;
  if (value.empty()) {
    value = item;
    return TokenResult::Accepted;
  }
  if (HasValueToken(item, value)) return TokenResult::Refused;
  value += kSeparator;
  value += item;
  return TokenResult::Accepted;
}

TokenResult RemoveValueToken(const std::string& item, std::string& value) {
  if (value.empty()) return TokenResult::Refused;
  const std::string hay = kSeparator + value + kSeparator;
  const std::string needle = kSeparator + item + kSeparator;
  const size_t p = hay.find(needle);
  if (p == std::string::npos) return TokenResult::Refused;
  std::string next;
  if (p == 0) {
    next = item.size() + 1 < value.size() ? value.substr(item.size() + 1) : std::string();
  } else {
    const std::string before = hay.substr(1, p - 1);
    const size_t after = p + needle.size();
    const std::string tail = after < hay.size() ? hay.substr(after, hay.size() - after - 1) : std::string();
    next = tail.empty() ? before : before + kSeparator + tail;
  }
  if (next == value) return TokenResult::Refused;
  value = next;
  return TokenResult::Accepted;
}

std::string SortValueText(const std::string& value, const std::vector<std::string>& items) {
  std::vector<std::string> tokens = SplitValue(value);
  std::stable_sort(tokens.begin(), tokens.end(), LessText);
  std::string out;
  for (const std::string& item : items) {
    if (tokens.empty()) break;
    const auto it = std::lower_bound(tokens.begin(), tokens.end(), item, LessText);
    if (it == tokens.end() || CompareTextGbk(*it, item) != 0) continue;
    out += *it;
    if (tokens.size() > 1) out += kSeparator;
    tokens.erase(it);
  }
  return out;
}

// ---- The list --------------------------------------------------------------

bool CheckedValueList::Checked(int index) const {
  return index >= 0 && index < Count() && checked_[static_cast<size_t>(index)];
}

void CheckedValueList::SortItems() {
  std::stable_sort(items_.begin(), items_.end(), LessText);
}

void CheckedValueList::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  if (sorted_) SortItems();
  ItemsChanged();
}

void CheckedValueList::AddItem(const std::string& item) {
  if (sorted_)
    items_.insert(std::upper_bound(items_.begin(), items_.end(), item, LessText), item);
  else
    items_.push_back(item);
  ItemsChanged();
}

void CheckedValueList::ClearItems() {
  items_.clear();
  ItemsChanged();
}

void CheckedValueList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted && items_.size() > 1) {
    SortItems();
    ItemsChanged();
  }
}

void CheckedValueList::SetEmptyValue(const std::string& text) {
  if (text == emptyValue_) return;
  emptyValue_ = text;
  RefreshValueDisplay();
}

void CheckedValueList::SetSortDisplay(bool on) {
  sortDisplay_ = on;
  RefreshValueDisplay();
}

void CheckedValueList::ItemsChanged() {
  checked_.assign(items_.size(), false);
  value_.clear();
  RefreshValueDisplay();
  if (onItemsReplaced) onItemsReplaced();
}

std::string CheckedValueList::DisplayText() const {
  if (value_.empty()) return emptyValue_;
  if (sortDisplay_) return SortValueText(value_, items_);
  return value_;
}

void CheckedValueList::RefreshValueDisplay() {
  if (onDisplay) onDisplay();
}

void CheckedValueList::Changed() {
  if (onChange) onChange();
}

TokenResult CheckedValueList::Add(const std::string& item) {
  const TokenResult r = AddValueToken(item, value_);
  if (r == TokenResult::TooLong && onTooLong) onTooLong();
  return r;
}

void CheckedValueList::Flip(int index) {
  checked_[static_cast<size_t>(index)] = !checked_[static_cast<size_t>(index)];
}

void CheckedValueList::SetCheckedValues(const std::string& text) {
  UncheckAllItems();
  const std::string all = text + kSeparator;
  size_t start = 0;
  for (size_t p = all.find(kSeparator); p != std::string::npos; p = all.find(kSeparator, start)) {
    const std::string token = all.substr(start, p - start);
    start = p + 1;
    for (int i = 0; i < Count(); ++i) {
      if (CompareTextGbk(items_[static_cast<size_t>(i)], token) == 0) {
        SetItemChecked(i, true);
        break;
      }
    }
  }
}

void CheckedValueList::SetItemChecked(int index, bool state) {
  // Indexes outside the list (negative ones too) do nothing.
  if (index < 0 || index >= Count()) return;
  const size_t i = static_cast<size_t>(index);
  TokenResult r;
  if (state && !checked_[i])
    r = Add(items_[i]);
  else if (!state && checked_[i])
    r = RemoveValueToken(items_[i], value_);
  else
    return;
  if (r != TokenResult::Accepted) return;
  checked_[i] = state;
  RefreshValueDisplay();
  Changed();
}

void CheckedValueList::CheckAllItems() {
  value_.clear();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i) value_ += kSeparator;
    value_ += items_[i];
  }
  checked_.assign(items_.size(), true);
  RefreshValueDisplay();
  Changed();
}

void CheckedValueList::UncheckAllItems() {
  checked_.assign(items_.size(), false);
  value_.clear();
  RefreshValueDisplay();
  Changed();
}

void CheckedValueList::RebuildFromList() {
  value_.clear();
  for (size_t i = 0; i < items_.size(); ++i)
    if (checked_[i]) Add(items_[i]);  // a refused item stays checked
  RefreshValueDisplay();
  Changed();
}

void CheckedValueList::ListToggled(int index) {
  if (index >= 0 && index < Count()) Flip(index);
}

void CheckedValueList::ListCheckClicked(int selected) {
  if (selected >= 0 && selected < Count()) Flip(selected);
  RebuildFromList();
}

void CheckedValueList::ListItemClicked(int selected) {
  if (selected < 0 || selected >= Count()) return;
  Flip(selected);
  RebuildFromList();
}

// ---- Pop-up and layout -------------------------------------------------------

int PopupLines(int columns, int dropDownLines, int itemCount) {
  int lines = dropDownLines;
  if (columns > 1) lines = itemCount / columns + 1;
  lines = std::min(std::max(lines, kMinDropDownLines), kMaxDropDownLines);
  return std::min(lines, itemCount);
}

TPopupRect PopupPlacement(int belowX, int belowY, int controlWidth, int controlHeight, int itemHeight, int lines,
                          int screenHeight) {
  TPopupRect r{belowX, belowY, controlWidth, itemHeight * lines + 4};
  if (screenHeight - kPopupScreenMargin < r.top + r.height) r.top = belowY - r.height - controlHeight;
  return r;
}

bool StrictlyInside(int x, int y, int w, int h) { return 0 < x && x < w && 0 < y && y < h; }

TComboLayout ComboLayout(int width, int height) {
  TComboLayout l;
  l.buttonWidth = kDropButtonWidth;
  l.buttonHeight = height - 4;
  l.buttonTop = 2;
  l.editHeight = height;
  l.editWidth = width - kDropButtonWidth - 1;
  l.buttonLeft = l.editWidth - 1;  // the button covers the edit's last column
  return l;
}

int FitHeightToFont(int fontCharHeight, int screenFontCharHeight, bool newStyleControls, bool ctl3d, int cyBorder) {
  int extra;
  if (newStyleControls)
    extra = cyBorder * (ctl3d ? 8 : 6);
  else
    extra = std::min(fontCharHeight, screenFontCharHeight) / 4 + cyBorder * 4;
  return fontCharHeight + extra;
}

}  // namespace kv
