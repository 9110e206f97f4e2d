// Published properties, methods and fields, declared once per class.
//
// Each class describes itself in a static TClassInfo built from the
// declarations below (name, kind, default, getter and setter); the
// property text routines (PropertyText.h) and the form data reader work
// only through these tables, so any published property of any object can
// be read and written by name.
//
//   const TClassInfo& TButton::StaticClass() {
//     static const TClassInfo info = TClassInfo::Make<TButton>("TButton", &TButtonControl::StaticClass())
//         .Bool("Default", &TButton::Default, &TButton::SetDefault, false)
//         .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
//     return info;
//   }
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Object.h"

namespace fw {

class TComponent;

enum class TPropKind { Integer, Enumeration, Set, String, Class, Method };

// An enumeration type: its identifiers by ordinal value.
struct TEnumType {
  std::string name;
  std::vector<std::string> names;
  int IndexOf(const std::string& ident) const;  // -1 when unknown (letter case ignored)
};

// The Boolean type, "False" and "True".
const TEnumType& BooleanType();

// Identifier spellings of some integer values (colour and cursor constants).
struct TIdentMap {
  std::vector<std::pair<int32_t, std::string>> entries;
  bool ToIdent(int32_t value, std::string& ident) const;
  bool ToInt(const std::string& ident, int32_t& value) const;
};

// A published method (an event handler of a form class) that form data
// may name in an event property.
struct TMethodEntry {
  std::string name;
  // Binds the method to an instance; returns the event value (a
  // std::function of the handler's signature) in a std::any.
  std::function<std::any(TObject*)> bind;
};

// A published field: form data assigns the component of that name to it.
struct TFieldEntry {
  std::string name;
  // Stores the component in the field when its class fits; false otherwise.
  std::function<bool(TObject&, TComponent*)> assign;
};

struct TPropInfo {
  std::string name;
  TPropKind kind = TPropKind::Integer;
  const TEnumType* enumType = nullptr;   // Enumeration; element type of a Set
  const TIdentMap* idents = nullptr;     // Integer: identifier spellings
  // Class: the least class of the value (a function, as a class may refer
  // to itself while its own table is being built).
  const TClassInfo& (*objectClass)() = nullptr;
  bool hasDefault = false;
  int32_t defaultOrd = 0;

  std::function<int32_t(const TObject&)> getOrd;        // Integer, Enumeration, Set
  std::function<void(TObject&, int32_t)> setOrd;
  std::function<std::string(const TObject&)> getStr;    // String
  std::function<void(TObject&, const std::string&)> setStr;
  std::function<TObject*(const TObject&)> getObj;       // Class
  std::function<void(TObject&, TObject*)> setObj;       // empty: owned sub-object
  // Method: assigns a bound handler (std::any holding the event type);
  // false when the handler's signature does not fit the event.
  std::function<bool(TObject&, const std::any&)> setMethod;
  std::function<bool(const TObject&)> methodAssigned;
  // The handler now assigned (the event type in a std::any).
  std::function<std::any(const TObject&)> getMethod;

  bool IsReadOnly() const;
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}

  // Starts the description of class C; C gets a creator when it can be
  // made from an owner (TComponent descendants that are not abstract).
  template <class C>
  static TClassInfo Make(std::string name, const TClassInfo* parent);

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const std::string& className) const;
  bool InheritsFrom(const TClassInfo& other) const;

  // Property by name, this class first, then its ancestors; nullptr when
  // there is none. Letter case is ignored.
  const TPropInfo* FindProp(const std::string& name) const;
  // All properties, ancestors' first.
  std::vector<const TPropInfo*> Props() const;
  const TMethodEntry* FindMethod(const std::string& name) const;
  const TFieldEntry* FindField(const std::string& name) const;

  bool CanCreate() const { return static_cast<bool>(create_); }
  TComponent* Create(TComponent* owner) const { return create_ ? create_(owner) : nullptr; }

  // ---- declarations (builder style, each returns *this) ----
  template <class C>
  TClassInfo& Int(const std::string& name, int32_t (C::*get)() const, void (C::*set)(int32_t),
                  int32_t def, const TIdentMap* idents = nullptr);
  template <class C>
  TClassInfo& IntNoDefault(const std::string& name, int32_t (C::*get)() const,
                           void (C::*set)(int32_t), const TIdentMap* idents = nullptr);
  template <class C>
  TClassInfo& Bool(const std::string& name, bool (C::*get)() const, void (C::*set)(bool), bool def);
  template <class C, class E>
  TClassInfo& Enum(const std::string& name, const TEnumType& type, E (C::*get)() const,
                   void (C::*set)(E), E def);
  template <class C>
  TClassInfo& Set(const std::string& name, const TEnumType& element, uint32_t (C::*get)() const,
                  void (C::*set)(uint32_t), uint32_t def);
  template <class C>
  TClassInfo& Str(const std::string& name, std::string (C::*get)() const,
                  void (C::*set)(const std::string&));
  // A reference to another object (component references such as PopupMenu)
  // or, with set = nullptr, an owned sub-object (Font, Items, Picture).
  template <class C, class T>
  TClassInfo& Obj(const std::string& name, T* (C::*get)() const, void (C::*set)(T*));
  template <class C, class T>
  TClassInfo& Obj(const std::string& name, T* (C::*get)() const) {
    return Obj<C, T>(name, get, nullptr);
  }
  // An event: a std::function member of C.
  template <class C, class F>
  TClassInfo& Event(const std::string& name, F C::*member);
  // A published method of C (an event handler named in form data).
  template <class C, class... A>
  TClassInfo& Method(const std::string& name, void (C::*method)(A...));
  // A published field of C that receives the component of that name.
  template <class C, class T>
  TClassInfo& Field(const std::string& name, T* C::*member);
  // Drops an inherited property from this class's table (a class that does
  // not publish what its ancestor does).
  TClassInfo& Hide(const std::string& name);

 private:
  TClassInfo& Add(TPropInfo p);

  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
  std::vector<std::string> hidden_;
  std::vector<TMethodEntry> methods_;
  std::vector<TFieldEntry> fields_;
  std::function<TComponent*(TComponent*)> create_;
};

// ---------------------------------------------------------------------------

template <class C>
TClassInfo TClassInfo::Make(std::string name, const TClassInfo* parent) {
  TClassInfo info(std::move(name), parent);
  if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>) {
    info.create_ = [](TComponent* owner) -> TComponent* { return new C(owner); };
  }
  return info;
}

template <class C>
TClassInfo& TClassInfo::Int(const std::string& name, int32_t (C::*get)() const,
                            void (C::*set)(int32_t), int32_t def, const TIdentMap* idents) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Integer;
  p.idents = idents;
  p.hasDefault = true;
  p.defaultOrd = def;
  p.getOrd = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
  if (set) p.setOrd = [set](TObject& o, int32_t v) { (static_cast<C&>(o).*set)(v); };
  return Add(std::move(p));
}

template <class C>
TClassInfo& TClassInfo::IntNoDefault(const std::string& name, int32_t (C::*get)() const,
                                     void (C::*set)(int32_t), const TIdentMap* idents) {
  Int(name, get, set, 0, idents);
  props_.back().hasDefault = false;
  return *this;
}

template <class C>
TClassInfo& TClassInfo::Bool(const std::string& name, bool (C::*get)() const, void (C::*set)(bool),
                             bool def) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Enumeration;
  p.enumType = &BooleanType();
  p.hasDefault = true;
  p.defaultOrd = def ? 1 : 0;
  p.getOrd = [get](const TObject& o) { return (static_cast<const C&>(o).*get)() ? 1 : 0; };
  if (set) p.setOrd = [set](TObject& o, int32_t v) { (static_cast<C&>(o).*set)(v != 0); };
  return Add(std::move(p));
}

template <class C, class E>
TClassInfo& TClassInfo::Enum(const std::string& name, const TEnumType& type, E (C::*get)() const,
                             void (C::*set)(E), E def) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Enumeration;
  p.enumType = &type;
  p.hasDefault = true;
  p.defaultOrd = static_cast<int32_t>(def);
  p.getOrd = [get](const TObject& o) { return static_cast<int32_t>((static_cast<const C&>(o).*get)()); };
  if (set) p.setOrd = [set](TObject& o, int32_t v) { (static_cast<C&>(o).*set)(static_cast<E>(v)); };
  return Add(std::move(p));
}

template <class C>
TClassInfo& TClassInfo::Set(const std::string& name, const TEnumType& element,
                            uint32_t (C::*get)() const, void (C::*set)(uint32_t), uint32_t def) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Set;
  p.enumType = &element;
  p.hasDefault = true;
  p.defaultOrd = static_cast<int32_t>(def);
  p.getOrd = [get](const TObject& o) { return static_cast<int32_t>((static_cast<const C&>(o).*get)()); };
  if (set) p.setOrd = [set](TObject& o, int32_t v) { (static_cast<C&>(o).*set)(static_cast<uint32_t>(v)); };
  return Add(std::move(p));
}

template <class C>
TClassInfo& TClassInfo::Str(const std::string& name, std::string (C::*get)() const,
                            void (C::*set)(const std::string&)) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::String;
  p.getStr = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
  if (set) p.setStr = [set](TObject& o, const std::string& v) { (static_cast<C&>(o).*set)(v); };
  return Add(std::move(p));
}

template <class C, class T>
TClassInfo& TClassInfo::Obj(const std::string& name, T* (C::*get)() const, void (C::*set)(T*)) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Class;
  p.objectClass = &T::StaticClass;
  p.getObj = [get](const TObject& o) -> TObject* { return (static_cast<const C&>(o).*get)(); };
  if (set) {
    p.setObj = [set](TObject& o, TObject* v) {
      T* t = dynamic_cast<T*>(v);
      if (v == nullptr || t != nullptr) (static_cast<C&>(o).*set)(t);
    };
  }
  return Add(std::move(p));
}

template <class C, class F>
TClassInfo& TClassInfo::Event(const std::string& name, F C::*member) {
  TPropInfo p;
  p.name = name;
  p.kind = TPropKind::Method;
  p.setMethod = [member](TObject& o, const std::any& handler) {
    const F* f = std::any_cast<F>(&handler);
    if (f == nullptr) return false;
    static_cast<C&>(o).*member = *f;
    return true;
  };
  p.methodAssigned = [member](const TObject& o) {
    return static_cast<bool>(static_cast<const C&>(o).*member);
  };
  p.getMethod = [member](const TObject& o) -> std::any { return static_cast<const C&>(o).*member; };
  return Add(std::move(p));
}

template <class C, class... A>
TClassInfo& TClassInfo::Method(const std::string& name, void (C::*method)(A...)) {
  TMethodEntry m;
  m.name = name;
  m.bind = [method](TObject* instance) -> std::any {
    C* c = static_cast<C*>(instance);
    return std::function<void(A...)>([c, method](A... args) { (c->*method)(std::forward<A>(args)...); });
  };
  methods_.push_back(std::move(m));
  return *this;
}

template <class C, class T>
TClassInfo& TClassInfo::Field(const std::string& name, T* C::*member) {
  TFieldEntry f;
  f.name = name;
  f.assign = [member](TObject& o, TComponent* c) -> bool {
    T* t = dynamic_cast<T*>(c);
    if (c != nullptr && t == nullptr) return false;
    static_cast<C&>(o).*member = t;
    return true;
  };
  fields_.push_back(std::move(f));
  return *this;
}

}  // namespace fw
