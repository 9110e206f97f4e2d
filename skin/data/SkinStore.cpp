#include "SkinStore.h"

#include "FormData.h"
#include "FormReader.h"

// ---- TSkinCollectionItem ------------------------------------------------

const fw::TClassInfo& TSkinCollectionItem::StaticClass() {
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<TSkinCollectionItem>("TSkinCollectionItem", &fw::TPersistent::StaticClass())
          .Str("Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName)
          .Str("SkinData", &TSkinCollectionItem::SkinData, &TSkinCollectionItem::SetSkinData)
          .Int("DataSize", &TSkinCollectionItem::DataSize, static_cast<void (TSkinCollectionItem::*)(int32_t)>(nullptr), 0);
  return info;
}

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection* collection, int32_t id)
    : collection_(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
  if (name == name_) return;
  if (collection_) {
    for (int i = 0; i < collection_->Count(); i++) {
      TSkinCollectionItem* other = collection_->Items(i);
      if (other != this && other->name_ == name) throw ESkinStoreError("The name " + name + " is already used.");
    }
  }
  name_ = name;
}

bool TSkinCollectionItem::Assign(const fw::TPersistent& source) {
  auto* item = dynamic_cast<const TSkinCollectionItem*>(&source);
  if (!item) return false;
  if (item == this) return true;
  name_ = item->name_;
  data_.Clear();
  data_.Write(item->data_.Data(), item->data_.Size());
  data_.Seek(0);
  return true;
}

void TSkinCollectionItem::DefineProperties(fw::TFiler& filer) {
  filer.DefineBinaryProperty("DataStream", [this](const std::vector<uint8_t>& bytes, std::string&) {
    data_.Clear();
    data_.Write(bytes.data(), bytes.size());
    data_.Seek(0);
    return true;
  });
}

// ---- TSkinCollection ----------------------------------------------------

const fw::TClassInfo& TSkinCollection::StaticClass() {
  static const fw::TClassInfo info("TSkinCollection", &fw::TPersistent::StaticClass());
  return info;
}

TSkinCollectionItem* TSkinCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

TSkinCollectionItem* TSkinCollection::Add() {
  items_.emplace_back(new TSkinCollectionItem(this, nextId_++));
  return items_.back().get();
}

void TSkinCollection::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TSkinCollection::Clear() { items_.clear(); }

TSkinCollectionItem* TSkinCollection::Find(const std::string& name) const {
  for (const auto& item : items_)
    if (item->Name() == name) return item.get();
  return nullptr;
}

bool TSkinCollection::Assign(const fw::TPersistent& source) {
  auto* other = dynamic_cast<const TSkinCollection*>(&source);
  if (!other) return false;
  if (other == this) return true;
  Clear();
  for (const auto& item : other->items_) Add()->Assign(*item);
  return true;
}

namespace {

// One property of an item as form data gives it: a published string or the
// binary "DataStream".
bool ReadItemProperty(TSkinCollectionItem& item, const fw::TFormProperty& prop, std::string& error) {
  if (const fw::TPropInfo* p = item.ClassInfo().FindProp(prop.name)) {
    if (p->kind != fw::TPropKind::String || prop.value.kind != fw::TFormValue::String) {
      error = "a string is expected";
      return false;
    }
    if (!p->setStr) {
      error = "the property is read-only";
      return false;
    }
    p->setStr(item, prop.value.text);
    return true;
  }
  fw::TFiler filer;
  item.DefineProperties(filer);
  if (const fw::TFiler::TReadProc* read = filer.Find(prop.name)) return (*read)(prop.value, error);
  error = "no such property in " + item.ClassName();
  return false;
}

}  // namespace

bool TSkinCollection::ReadValue(const fw::TFormValue& value, std::string& error) {
  if (value.kind != fw::TFormValue::Collection) {
    error = "a collection of skin items is expected";
    return false;
  }
  Clear();
  for (size_t i = 0; i < value.collection.size(); i++) {
    TSkinCollectionItem* item = Add();
    for (const fw::TFormProperty& prop : value.collection[i]) {
      std::string why;
      bool ok = false;
      try {
        ok = ReadItemProperty(*item, prop, why);
      } catch (const ESkinStoreError& e) {
        why = e.what();
      }
      if (!ok) {
        error = "item " + std::to_string(i) + "." + prop.name + " (line " + std::to_string(prop.line) + "): " + why;
        Clear();
        return false;
      }
    }
  }
  return true;
}

// ---- TSkinStore -----------------------------------------------------------

const fw::TClassInfo& TSkinStore::StaticClass() {
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<TSkinStore>("TSkinStore", &fw::TComponent::StaticClass())
          .Obj("Store", &TSkinStore::Store);
  return info;
}

TSkinStore::TSkinStore(fw::TComponent* owner) : fw::TComponent(owner), store_(new TSkinCollection(this)) {}

void TSkinStore::SetStore(const TSkinCollection* store) {
  if (store) store_->Assign(*store);
}
