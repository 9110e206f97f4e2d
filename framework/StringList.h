// A list of strings (GBK bytes) with an object pointer per entry, optional
// sorting without regard to letter case, and a change event. Controls that
// show lists (combo boxes, list boxes) keep their items in one of these
// and follow its changes.
#pragma once

#include <string>
#include <vector>

#include "Component.h"

namespace fw {

class TStrings : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TStrings() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  // Out-of-range indexes read as an empty string and change nothing.
  std::string Strings(int index) const;
  std::string operator[](int index) const { return Strings(index); }
  void SetStrings(int index, const std::string& text);
  TObject* Objects(int index) const;
  void SetObjects(int index, TObject* object);

  int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  void Insert(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  void AddStrings(const std::vector<std::string>& lines);
  std::vector<std::string> ToVector() const;

  // First entry equal to text (letter case ignored unless CaseSensitive).
  int IndexOf(const std::string& text) const;
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value) { caseSensitive_ = value; }
  void Sort();

  // All lines joined with CR LF (each line ends with one); SetText splits
  // at CR LF, LF or CR.
  std::string Text() const;
  void SetText(const std::string& text);

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

  bool Assign(const TPersistent& source) override;
  bool ReadValue(const TFormValue& value, std::string& error) override;

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  int Compare(const std::string& a, const std::string& b) const;
  int SortedInsertIndex(const std::string& text) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  int updateCount_ = 0;
  bool changedWhileUpdating_ = false;
};

class TStringList : public TStrings {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

}  // namespace fw
