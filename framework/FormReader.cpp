#include "FormReader.h"

#include "PropertyText.h"
#include "TextUtils.h"

namespace fw {

void TFiler::DefineProperty(const std::string& name, TReadProc read) {
  defs_.emplace_back(name, std::move(read));
}

void TFiler::DefineBinaryProperty(const std::string& name,
                                  std::function<bool(const std::vector<uint8_t>&, std::string&)> read) {
  DefineProperty(name, [read](const TFormValue& v, std::string& error) {
    if (v.kind != TFormValue::Binary) {
      error = "binary data is expected";
      return false;
    }
    return read(v.bytes, error);
  });
}

const TFiler::TReadProc* TFiler::Find(const std::string& name) const {
  for (const auto& d : defs_)
    if (SameText(d.first, name)) return &d.second;
  return nullptr;
}

bool ReadBooleanValue(const TFormValue& value, bool& result, std::string& error) {
  if (value.kind == TFormValue::Ident) {
    int i = BooleanType().IndexOf(value.text);
    if (i >= 0) {
      result = i == 1;
      return true;
    }
  }
  error = "True or False is expected";
  return false;
}

TFiler::TReadProc DropBoolean() {
  return [](const TFormValue& v, std::string& error) {
    bool b = false;
    return ReadBooleanValue(v, b, error);
  };
}

TFiler::TReadProc DropIdent() {
  return [](const TFormValue& v, std::string& error) {
    if (v.kind == TFormValue::Ident) return true;
    error = "an identifier is expected";
    return false;
  };
}

TFiler::TReadProc DropSet() {
  return [](const TFormValue& v, std::string& error) {
    if (v.kind == TFormValue::Set) return true;
    error = "a set is expected";
    return false;
  };
}

namespace {

struct Fixup {
  TObject* target;
  const TPropInfo* prop;
  std::string name;  // referenced component
  std::string where;
  int line;
};

class Reader {
 public:
  explicit Reader(TComponent* root) : root_(root) {}

  bool Read(const TFormObject& data, std::string& error) {
    if (!SameText(root_->ClassName(), data.className) && !root_->InheritsFrom(data.className)) {
      error = data.name + " (line " + std::to_string(data.line) + "): the data is for class " +
              data.className + ", not " + root_->ClassName();
      return false;
    }
    root_->BeginLoading();
    loaded_.push_back(root_);
    if (!root_->SetName(data.name)) {
      error = data.name + ": invalid name";
      return false;
    }
    if (!ReadBody(root_, data, data.name, error)) return false;
    for (TComponent* c : loaded_) c->EndReading();
    if (!ResolveFixups(error)) return false;
    for (TComponent* c : loaded_) c->Loaded();
    return true;
  }

 private:
  static std::string At(const std::string& where, int line) {
    return where + " (line " + std::to_string(line) + ")";
  }

  bool ReadBody(TComponent* obj, const TFormObject& data, const std::string& where, std::string& error) {
    for (const auto& prop : data.props)
      if (!ReadProperty(obj, prop, where, error)) return false;
    for (const auto& child : data.children)
      if (!ReadChild(obj, child, where, error)) return false;
    return true;
  }

  bool ReadChild(TComponent* parent, const TFormObject& data, const std::string& where,
                 std::string& error) {
    std::string here = where + "." + data.name;
    const TClassInfo* cls = FindClass(data.className);
    if (!cls || !cls->CanCreate()) {
      error = At(here, data.line) + ": unknown class " + data.className;
      return false;
    }
    if (root_->FindComponent(data.name)) {
      error = At(here, data.line) + ": a component of this name exists already";
      return false;
    }
    TComponent* c = cls->Create(root_);
    c->BeginLoading();
    loaded_.push_back(c);
    if (!c->SetName(data.name)) {
      error = At(here, data.line) + ": invalid name";
      return false;
    }
    if (const TFieldEntry* f = root_->ClassInfo().FindField(data.name)) {
      if (!f->assign(*root_, c)) {
        error = At(here, data.line) + ": class " + data.className + " does not fit the field";
        return false;
      }
    }
    c->SetParentComponent(parent);
    return ReadBody(c, data, here, error);
  }

  bool ReadProperty(TComponent* obj, const TFormProperty& prop, const std::string& where,
                    std::string& error) {
    std::string here = At(where + "." + prop.name, prop.line);
    TObject* target = nullptr;
    const TPropInfo* p = FindPropPath(obj, prop.name, target);
    if (!p) {
      TFiler filer;
      obj->DefineProperties(filer);
      if (const TFiler::TReadProc* read = filer.Find(prop.name)) {
        std::string why;
        if ((*read)(prop.value, why)) return true;
        error = here + ": " + why;
        return false;
      }
      error = here + ": no such property in " + obj->ClassName();
      return false;
    }
    std::string why;
    if (!Apply(target, *p, prop.value, here, why)) {
      error = here + ": " + why;
      return false;
    }
    return true;
  }

  bool Apply(TObject* target, const TPropInfo& p, const TFormValue& v, const std::string& here,
             std::string& why) {
    switch (p.kind) {
      case TPropKind::Integer: {
        int32_t value = 0;
        if (v.kind == TFormValue::Integer) {
          value = static_cast<int32_t>(v.integer);
        } else if (v.kind != TFormValue::Ident || !p.idents || !p.idents->ToInt(v.text, value)) {
          why = "an integer is expected";
          return false;
        }
        if (!p.setOrd) return ReadOnly(why);
        p.setOrd(*target, value);
        return true;
      }
      case TPropKind::Enumeration: {
        int index = v.kind == TFormValue::Ident && p.enumType ? p.enumType->IndexOf(v.text) : -1;
        if (index < 0) {
          why = "not a value of " + (p.enumType ? p.enumType->name : std::string("the type"));
          if (v.kind == TFormValue::Ident) why += ": " + v.text;
          return false;
        }
        if (!p.setOrd) return ReadOnly(why);
        p.setOrd(*target, index);
        return true;
      }
      case TPropKind::Set: {
        if (v.kind != TFormValue::Set) {
          why = "a set is expected";
          return false;
        }
        uint32_t bits = 0;
        for (const auto& ident : v.items) {
          int index = p.enumType->IndexOf(ident);
          if (index < 0 || index >= 32) {
            why = "not an element of the set: " + ident;
            return false;
          }
          bits |= 1u << index;
        }
        if (!p.setOrd) return ReadOnly(why);
        p.setOrd(*target, static_cast<int32_t>(bits));
        return true;
      }
      case TPropKind::String:
        if (v.kind != TFormValue::String) {
          why = "a string is expected";
          return false;
        }
        if (!p.setStr) return ReadOnly(why);
        p.setStr(*target, v.text);
        return true;
      case TPropKind::Class: {
        if (v.kind == TFormValue::Ident) {
          if (!p.setObj) {
            why = "a reference cannot be given to an owned object";
            return false;
          }
          fixups_.push_back(Fixup{target, &p, v.text, here, v.line});
          return true;
        }
        auto* sub = dynamic_cast<TPersistent*>(p.getObj(*target));
        if (!sub) {
          why = "the property holds no object to read into";
          return false;
        }
        return sub->ReadValue(v, why);
      }
      case TPropKind::Method: {
        if (v.kind != TFormValue::Ident) {
          why = "the name of a method is expected";
          return false;
        }
        const TMethodEntry* m = root_->ClassInfo().FindMethod(v.text);
        if (!m) {
          why = root_->ClassName() + " has no published method " + v.text;
          return false;
        }
        if (!p.setMethod(*target, m->bind(root_))) {
          why = "method " + v.text + " does not fit the event";
          return false;
        }
        return true;
      }
    }
    why = "unsupported property kind";
    return false;
  }

  static bool ReadOnly(std::string& why) {
    why = "the property is read-only";
    return false;
  }

  bool ResolveFixups(std::string& error) {
    for (const auto& f : fixups_) {
      if (SameText(f.name, "nil")) {
        f.prop->setObj(*f.target, nullptr);
        continue;
      }
      TComponent* c = SameText(f.name, root_->Name()) ? root_ : root_->FindComponent(f.name);
      if (!c) {
        error = f.where + ": no component named " + f.name;
        return false;
      }
      if (!c->ClassInfo().InheritsFrom(f.prop->objectClass())) {
        error = f.where + ": " + f.name + " is not a " + f.prop->objectClass().Name();
        return false;
      }
      f.prop->setObj(*f.target, c);
    }
    return true;
  }

  TComponent* root_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
};

}  // namespace

bool ReadFormObject(TComponent* root, const TFormObject& data, std::string& error) {
  Reader reader(root);
  return reader.Read(data, error);
}

bool ReadFormData(TComponent* root, const std::string& text, std::string& error) {
  TFormObject data;
  if (!ParseFormData(text, data, error)) return false;
  return ReadFormObject(root, data, error);
}

}  // namespace fw
