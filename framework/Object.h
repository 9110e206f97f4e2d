// The root of the framework's classes: run-time class information by name
// (class name, "inherits from", the published property table) and an
// explicit two-step release (Free: BeforeDestruction with the object still
// whole, then delete).
#pragma once

#include <string>

namespace fw {

class TClassInfo;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The class information of this object's class (its published
  // properties, methods and fields, and its parent class).
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }

  std::string ClassName() const;
  // True when this object's class or one of its ancestors has the name
  // (compared without regard to letter case).
  bool InheritsFrom(const std::string& className) const;

  // Runs while the object is still whole (virtual calls reach the most
  // derived class): owners free their components here, forms raise their
  // destroy event. Free calls it once before deleting.
  virtual void BeforeDestruction() {}
  // Frees the object: at once, or where DeferFree says it cannot go yet
  // (a control whose message is being handled further up the stack)
  // as soon as that handling ends.
  void Free();

 protected:
  // True when the object takes care of being freed later itself.
  virtual bool DeferFree() { return false; }
  bool freeing_ = false;
};

// Frees the object (if any) and clears the pointer.
template <class T>
void FreeAndNil(T*& object) {
  T* o = object;
  object = nullptr;
  if (o) o->Free();
}

}  // namespace fw
