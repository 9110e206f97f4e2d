#include "StringList.h"

#include <algorithm>

#include "FormData.h"
#include "TextUtils.h"

namespace fw {

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo info("TStrings", &TPersistent::StaticClass());
  return info;
}

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info("TStringList", &TStrings::StaticClass());
  return info;
}

std::string TStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return items_[static_cast<size_t>(index)].text;
}

void TStrings::SetStrings(int index, const std::string& text) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<size_t>(index)].text = text;
  Changed();
}

TObject* TStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].object;
}

void TStrings::SetObjects(int index, TObject* object) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<size_t>(index)].object = object;
}

int TStrings::Compare(const std::string& a, const std::string& b) const {
  if (caseSensitive_) return a.compare(b);
  return CompareText(a, b);
}

int TStrings::SortedInsertIndex(const std::string& text) const {
  auto it = std::upper_bound(items_.begin(), items_.end(), text,
                             [this](const std::string& t, const Item& i) { return Compare(t, i.text) < 0; });
  return static_cast<int>(it - items_.begin());
}

int TStrings::Add(const std::string& text) { return AddObject(text, nullptr); }

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = sorted_ ? SortedInsertIndex(text) : Count();
  items_.insert(items_.begin() + index, Item{text, object});
  Changed();
  return index;
}

void TStrings::Insert(int index, const std::string& text) {
  if (sorted_) {
    Add(text);
    return;
  }
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStrings::Exchange(int a, int b) {
  if (a < 0 || b < 0 || a >= Count() || b >= Count() || a == b) return;
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
  Changed();
}

void TStrings::AddStrings(const std::vector<std::string>& lines) {
  BeginUpdate();
  for (const auto& l : lines) Add(l);
  EndUpdate();
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> out;
  out.reserve(items_.size());
  for (const auto& i : items_) out.push_back(i.text);
  return out;
}

int TStrings::IndexOf(const std::string& text) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (Compare(items_[i].text, text) == 0) return static_cast<int>(i);
  return -1;
}

void TStrings::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  sorted_ = sorted;
  if (sorted_) Sort();
}

void TStrings::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
  Changed();
}

std::string TStrings::Text() const {
  std::string out;
  for (const auto& i : items_) {
    out += i.text;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      Add(text.substr(start));
      break;
    }
    Add(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  EndUpdate();
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    if (OnChange) OnChange(this);
  }
}

void TStrings::Changed() {
  if (updateCount_ > 0) {
    changedWhileUpdating_ = true;
    return;
  }
  if (OnChange) OnChange(this);
}

bool TStrings::Assign(const TPersistent& source) {
  const TStrings* s = dynamic_cast<const TStrings*>(&source);
  if (!s) return false;
  if (s == this) return true;
  BeginUpdate();
  items_.clear();
  changedWhileUpdating_ = true;
  for (const auto& i : s->items_) AddObject(i.text, i.object);
  EndUpdate();
  return true;
}

bool TStrings::ReadValue(const TFormValue& value, std::string& error) {
  if (value.kind != TFormValue::List) {
    error = "a list of strings is expected";
    return false;
  }
  BeginUpdate();
  items_.clear();
  changedWhileUpdating_ = true;
  for (const auto& s : value.items) Add(s);
  EndUpdate();
  return true;
}

}  // namespace fw
