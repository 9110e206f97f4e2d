// A component that keeps any number of named skins in a form's data: each
// item holds the bytes of one packed skin archive under a name that no
// other item of the store carries. The engine never consults it; it is a
// place for a program to carry spare skins with its form.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Component.h"
#include "SkinStream.h"

class TSkinCollection;
class TSkinStore;

// Raised when an item is renamed to a name another item of its store has.
class ESkinStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSkinCollectionItem : public fw::TPersistent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  // A new item of the collection: named "SkinItem" and its ID.
  TSkinCollectionItem(TSkinCollection* collection, int32_t id);

  TSkinCollection* Collection() const { return collection_; }
  int32_t ID() const { return id_; }
  std::string DisplayName() const { return name_; }

  std::string Name() const { return name_; }
  // Renaming to the current name does nothing; a name another item of the
  // collection carries (letter case counts) raises ESkinStoreError and
  // keeps the old name.
  void SetName(const std::string& name);
  // Reads "Load Skin" (a prompt for a design tool); writing does nothing.
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string&) {}
  int32_t DataSize() const { return static_cast<int32_t>(data_.Size()); }

  // The packed archive held.
  TSkinMemoryStream& DataStream() { return data_; }
  const TSkinMemoryStream& DataStream() const { return data_; }

  // Copies name (without the uniqueness test) and data of another item;
  // false for any other class.
  bool Assign(const fw::TPersistent& source) override;
  // "DataStream": the item's bytes, as held.
  void DefineProperties(fw::TFiler& filer) override;

 private:
  TSkinCollection* collection_;
  int32_t id_;
  std::string name_;
  TSkinMemoryStream data_;
};

class TSkinCollection : public fw::TPersistent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinCollection(TSkinStore* owner) : owner_(owner) {}

  TSkinStore* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TSkinCollectionItem* Items(int index) const;
  // A new item at the end; IDs count up from 0 and are never reused.
  TSkinCollectionItem* Add();
  void Delete(int index);
  void Clear();
  // The item of that name (letter case counts), or nullptr.
  TSkinCollectionItem* Find(const std::string& name) const;

  // Replaces the items with copies of another collection's.
  bool Assign(const fw::TPersistent& source) override;
  // Form data: a collection of items ("item Name = ... DataStream = {...} end").
  bool ReadValue(const fw::TFormValue& value, std::string& error) override;

 private:
  TSkinStore* owner_;
  std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
  int32_t nextId_ = 0;
};

class TSkinStore : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinStore(fw::TComponent* owner);

  TSkinCollection* Store() const { return store_.get(); }
  // Copies the given collection item by item; nullptr is ignored.
  void SetStore(const TSkinCollection* store);

 private:
  std::unique_ptr<TSkinCollection> store_;
};
