#include "PropertyText.h"

#include "Component.h"
#include "TextUtils.h"

namespace fw {

const TPropInfo* FindPropPath(TObject* obj, const std::string& path, TObject*& target) {
  target = nullptr;
  if (!obj) return nullptr;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    const TPropInfo* p = obj->ClassInfo().FindProp(part);
    if (!p) return nullptr;
    if (dot == std::string::npos) {
      target = obj;
      return p;
    }
    if (p->kind != TPropKind::Class || !p->getObj) return nullptr;
    obj = p->getObj(*obj);
    if (!obj) return nullptr;
    start = dot + 1;
  }
}

bool IsPublishedProp(const TObject* obj, const std::string& path) {
  TObject* target = nullptr;
  return FindPropPath(const_cast<TObject*>(obj), path, target) != nullptr;
}

std::string SetToText(const TEnumType& element, uint32_t bits) {
  std::string out = "[";
  bool first = true;
  for (size_t i = 0; i < element.names.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (!first) out += ',';
    out += element.names[i];
    first = false;
  }
  return out + "]";
}

bool TextToSet(const TEnumType& element, const std::string& text, uint32_t& bits) {
  std::string t = Trim(text);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  t = t.substr(1, t.size() - 2);
  uint32_t result = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    std::string ident = Trim(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (ident.empty()) {
      if (comma != std::string::npos || !Trim(t).empty()) return false;  // "[a,,b]" or "[a,]"
      break;
    }
    int index = element.IndexOf(ident);
    if (index < 0 || index >= 32) return false;
    result |= 1u << index;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  bits = result;
  return true;
}

std::string OrdToText(const TPropInfo& prop, int32_t value) {
  switch (prop.kind) {
    case TPropKind::Enumeration:
      if (prop.enumType && value >= 0 && value < static_cast<int32_t>(prop.enumType->names.size()))
        return prop.enumType->names[static_cast<size_t>(value)];
      return IntToStr(value);
    case TPropKind::Set:
      return prop.enumType ? SetToText(*prop.enumType, static_cast<uint32_t>(value)) : IntToStr(value);
    default: {
      std::string ident;
      if (prop.idents && prop.idents->ToIdent(value, ident)) return ident;
      return IntToStr(value);
    }
  }
}

bool TextToOrd(const TPropInfo& prop, const std::string& text, int32_t& value) {
  switch (prop.kind) {
    case TPropKind::Enumeration: {
      int index = prop.enumType ? prop.enumType->IndexOf(Trim(text)) : -1;
      if (index < 0) return false;
      value = index;
      return true;
    }
    case TPropKind::Set: {
      uint32_t bits = 0;
      if (!prop.enumType || !TextToSet(*prop.enumType, text, bits)) return false;
      value = static_cast<int32_t>(bits);
      return true;
    }
    case TPropKind::Integer:
      if (prop.idents && prop.idents->ToInt(Trim(text), value)) return true;
      return TryStrToInt(text, value);
    default: return false;
  }
}

TPropStatus GetPropText(const TObject* obj, const std::string& path, std::string& text) {
  text.clear();
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(const_cast<TObject*>(obj), path, target);
  if (!p) return TPropStatus::Missing;
  switch (p->kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set: text = OrdToText(*p, p->getOrd(*target)); return TPropStatus::Ok;
    case TPropKind::String: text = p->getStr(*target); return TPropStatus::Ok;
    case TPropKind::Class: {
      TObject* o = p->getObj(*target);
      if (auto* c = dynamic_cast<TComponent*>(o)) text = c->Name();
      else if (o) text = "(" + o->ClassName() + ")";
      return TPropStatus::Ok;
    }
    case TPropKind::Method: return TPropStatus::WrongKind;
  }
  return TPropStatus::Missing;
}

namespace {
// A component named text, looked up from obj's owner up to the root.
TComponent* FindReferenced(TObject* obj, const std::string& name) {
  for (TComponent* c = dynamic_cast<TComponent*>(obj); c; c = c->Owner()) {
    if (TComponent* found = c->FindComponent(name)) return found;
    if (!c->Owner() && SameText(c->Name(), name)) return c;
  }
  return nullptr;
}
}  // namespace

TPropStatus SetPropText(TObject* obj, const std::string& path, const std::string& text) {
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(obj, path, target);
  if (!p) return TPropStatus::Missing;
  if (p->IsReadOnly()) return TPropStatus::ReadOnly;
  switch (p->kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set: {
      int32_t v = 0;
      if (!TextToOrd(*p, text, v)) return TPropStatus::BadValue;
      p->setOrd(*target, v);
      return TPropStatus::Ok;
    }
    case TPropKind::String: p->setStr(*target, text); return TPropStatus::Ok;
    case TPropKind::Class: {
      if (text.empty()) {
        p->setObj(*target, nullptr);
        return TPropStatus::Ok;
      }
      TComponent* c = FindReferenced(target, Trim(text));
      if (!c || !c->ClassInfo().InheritsFrom(p->objectClass())) return TPropStatus::BadValue;
      p->setObj(*target, c);
      return TPropStatus::Ok;
    }
    case TPropKind::Method: return TPropStatus::WrongKind;
  }
  return TPropStatus::Missing;
}

TPropStatus GetOrdProp(const TObject* obj, const std::string& path, int32_t& value) {
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(const_cast<TObject*>(obj), path, target);
  if (!p) return TPropStatus::Missing;
  if (!p->getOrd) return TPropStatus::WrongKind;
  value = p->getOrd(*target);
  return TPropStatus::Ok;
}

namespace {
// True when value is one of the enumeration's values or a set of its
// elements (an enumeration setter may index a table by it). Booleans take
// any number, as nonzero means True.
bool IsValueOfType(const TPropInfo& p, int32_t value) {
  if (!p.enumType || p.enumType == &BooleanType()) return true;
  const size_t count = p.enumType->names.size();
  if (p.kind == TPropKind::Enumeration) return value >= 0 && static_cast<size_t>(value) < count;
  if (p.kind == TPropKind::Set && count < 32) return (static_cast<uint32_t>(value) >> count) == 0;
  return true;
}
}  // namespace

TPropStatus SetOrdProp(TObject* obj, const std::string& path, int32_t value) {
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(obj, path, target);
  if (!p) return TPropStatus::Missing;
  if (p->kind != TPropKind::Integer && p->kind != TPropKind::Enumeration && p->kind != TPropKind::Set)
    return TPropStatus::WrongKind;
  if (!p->setOrd) return TPropStatus::ReadOnly;
  if (!IsValueOfType(*p, value)) return TPropStatus::BadValue;
  p->setOrd(*target, value);
  return TPropStatus::Ok;
}

TPropStatus GetObjectProp(const TObject* obj, const std::string& path, TObject*& value) {
  value = nullptr;
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(const_cast<TObject*>(obj), path, target);
  if (!p) return TPropStatus::Missing;
  if (p->kind != TPropKind::Class) return TPropStatus::WrongKind;
  value = p->getObj(*target);
  return TPropStatus::Ok;
}

TPropStatus SetObjectProp(TObject* obj, const std::string& path, TObject* value) {
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(obj, path, target);
  if (!p) return TPropStatus::Missing;
  if (p->kind != TPropKind::Class) return TPropStatus::WrongKind;
  if (!p->setObj) {
    // An owned sub-object takes a copy of the value.
    TObject* own = p->getObj(*target);
    auto* dst = dynamic_cast<TPersistent*>(own);
    auto* src = dynamic_cast<TPersistent*>(value);
    if (!dst || !src || !dst->Assign(*src)) return TPropStatus::BadValue;
    return TPropStatus::Ok;
  }
  p->setObj(*target, value);
  return TPropStatus::Ok;
}

}  // namespace fw
