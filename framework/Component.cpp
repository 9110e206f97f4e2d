#include "Component.h"

#include <algorithm>
#include <map>

#include "TextUtils.h"

namespace fw {

// ---- TObject -----------------------------------------------------------

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

std::string TObject::ClassName() const { return ClassInfo().Name(); }

bool TObject::InheritsFrom(const std::string& className) const {
  return ClassInfo().InheritsFrom(className);
}

void TObject::Free() {
  if (freeing_ || DeferFree()) return;
  freeing_ = true;
  BeforeDestruction();
  delete this;
}

// ---- objects busy in their own handlers ---------------------------------

namespace {

thread_local std::vector<TObject*> t_busy;
thread_local std::vector<TObject*> t_freeWhenIdle;

void FreeIdleObjects() {
  static thread_local bool running = false;
  if (running) return;
  running = true;
  for (size_t i = 0; i < t_freeWhenIdle.size();) {
    TObject* o = t_freeWhenIdle[i];
    if (IsBusy(o)) {
      ++i;
      continue;
    }
    t_freeWhenIdle.erase(t_freeWhenIdle.begin() + static_cast<std::ptrdiff_t>(i));
    o->Free();  // may free others of the list with it: start again
    i = 0;
  }
  running = false;
}

}  // namespace

TBusyScope::TBusyScope(TObject* object) { t_busy.push_back(object); }

TBusyScope::~TBusyScope() {
  t_busy.pop_back();
  if (!t_freeWhenIdle.empty()) FreeIdleObjects();
}

bool IsBusy(const TObject* object) { return std::find(t_busy.begin(), t_busy.end(), object) != t_busy.end(); }

bool IsFreePending(const TObject* object) {
  return std::find(t_freeWhenIdle.begin(), t_freeWhenIdle.end(), object) != t_freeWhenIdle.end();
}

bool DeferFreeWhileBusy(TObject* object) {
  if (!IsBusy(object)) return false;
  if (!IsFreePending(object)) t_freeWhenIdle.push_back(object);
  return true;
}

// ---- type information --------------------------------------------------

int TEnumType::IndexOf(const std::string& ident) const {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], ident)) return static_cast<int>(i);
  return -1;
}

const TEnumType& BooleanType() {
  static const TEnumType type{"Boolean", {"False", "True"}};
  return type;
}

bool TIdentMap::ToIdent(int32_t value, std::string& ident) const {
  for (const auto& e : entries)
    if (e.first == value) {
      ident = e.second;
      return true;
    }
  return false;
}

bool TIdentMap::ToInt(const std::string& ident, int32_t& value) const {
  for (const auto& e : entries)
    if (SameText(e.second, ident)) {
      value = e.first;
      return true;
    }
  return false;
}

bool TPropInfo::IsReadOnly() const {
  switch (kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set: return !setOrd;
    case TPropKind::String: return !setStr;
    case TPropKind::Class: return !setObj;
    case TPropKind::Method: return !setMethod;
  }
  return true;
}

bool TClassInfo::InheritsFrom(const std::string& className) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (SameText(c->name_, className)) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const auto& p : c->props_)
      if (SameText(p.name, name)) return &p;
    for (const auto& h : c->hidden_)
      if (SameText(h, name)) return nullptr;
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Props() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->props_) {
      if (FindProp(p.name) != &p) continue;  // overridden or hidden below
      out.push_back(&p);
    }
  return out;
}

const TMethodEntry* TClassInfo::FindMethod(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& m : c->methods_)
      if (SameText(m.name, name)) return &m;
  return nullptr;
}

const TFieldEntry* TClassInfo::FindField(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& f : c->fields_)
      if (SameText(f.name, name)) return &f;
  return nullptr;
}

TClassInfo& TClassInfo::Hide(const std::string& name) {
  hidden_.push_back(name);
  return *this;
}

TClassInfo& TClassInfo::Add(TPropInfo p) {
  // A redeclaration in the same class replaces the earlier one.
  for (auto& q : props_)
    if (SameText(q.name, p.name)) {
      q = std::move(p);
      return *this;
    }
  hidden_.erase(std::remove_if(hidden_.begin(), hidden_.end(),
                               [&](const std::string& h) { return SameText(h, p.name); }),
                hidden_.end());
  props_.push_back(std::move(p));
  return *this;
}

// ---- class registry ----------------------------------------------------

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}
}  // namespace

void RegisterComponentClass(const TClassInfo& info) { Registry()[UpperCase(info.Name())] = &info; }

const TClassInfo* FindClass(const std::string& className) {
  auto it = Registry().find(UpperCase(className));
  return it == Registry().end() ? nullptr : it->second;
}

// ---- TPersistent -------------------------------------------------------

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info("TPersistent", &TObject::StaticClass());
  return info;
}

bool TPersistent::Assign(const TPersistent&) { return false; }

bool TPersistent::ReadValue(const TFormValue&, std::string& error) {
  error = "value not accepted by " + ClassName();
  return false;
}

// ---- TComponent --------------------------------------------------------

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TComponent>("TComponent", &TPersistent::StaticClass())
                                     .Str("Name", &TComponent::GetName, &TComponent::SetNameProp)
                                     .Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
  return info;
}

bool IsValidIdent(const std::string& name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  for (char c : name)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Normally all of this happened in BeforeDestruction (Free); a component
  // deleted directly still leaves its owner and frees what it owns.
  if (!IsDestroying()) {
    SetDestroying();
    SendRemoveNotifications();
    DestroyComponents();
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  SetDestroying();
  SendRemoveNotifications();
  DestroyComponents();
}

void TComponent::SendRemoveNotifications() {
  if (removedNotified_) return;
  removedNotified_ = true;
  // Components that asked to be told; each forgets us.
  std::vector<TComponent*> notifies;
  notifies.swap(freeNotifies_);
  for (TComponent* c : notifies) {
    auto& theirs = c->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  if (owner_ && !owner_->IsDestroying()) owner_->Notification(this, opRemove);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    c->Free();
  }
}

bool TComponent::SetName(const std::string& name) {
  if (name == name_) return true;
  if (!name.empty() && !IsValidIdent(name)) return false;
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this) return false;
  }
  name_ = name;
  return true;
}

void TComponent::Loaded() { state_ &= ~uint32_t(csLoading | csReading); }

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& theirs = component->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                      freeNotifies_.end());
  auto& theirs = component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace fw
