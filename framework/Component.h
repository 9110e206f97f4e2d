// Persistent objects and components: ownership, names, tags, the loading
// state, Loaded, and free notification between components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Object.h"
#include "TypeInfo.h"

namespace fw {

class TFiler;
struct TFormValue;

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object with published properties that can be copied from another
// (Assign) and read from a form data value (a string list, binary data).
class TPersistent : public TObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Copies source into this object; false when the classes do not fit.
  virtual bool Assign(const TPersistent& source);
  // Takes a whole form data value given to a property that holds this
  // object (the lines of a string list, the bytes of a picture); false
  // with a reason when the value does not fit.
  virtual bool ReadValue(const TFormValue& value, std::string& error);
  // Custom (non-published) properties read from form data: binary streams
  // and the names of obsolete properties.
  virtual void DefineProperties(TFiler& filer) {}
};

enum TOperation { opInsert, opRemove };

// Component state flags.
enum : uint32_t {
  csLoading = 1,      // properties are being read from form data
  csReading = 2,
  csDestroying = 4,
};

class TComponent : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // The owner (may be nullptr) frees this component with itself.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  int ComponentIndex() const;
  // The owned component of that name (letter case ignored), or nullptr.
  TComponent* FindComponent(const std::string& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last first.
  void DestroyComponents();

  const std::string& Name() const { return name_; }
  std::string GetName() const { return name_; }
  // Accepts an empty name or an identifier that no sibling carries; false
  // (name unchanged) otherwise.
  bool SetName(const std::string& name);
  void SetNameProp(const std::string& name) { SetName(name); }
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  uint32_t ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  // Loading state, set by the form data reader around property reading.
  void BeginLoading() { state_ |= csLoading | csReading; }
  void EndReading() { state_ &= ~uint32_t(csReading); }
  // Called once all properties of the whole form data have been read;
  // clears the loading state.
  virtual void Loaded();
  // Form data nests an object inside another: a control inside its parent,
  // a menu item inside its menu. Each class decides what that means.
  virtual void SetParentComponent(TComponent* parent) {}

  // Asks for Notification(component, opRemove) when component is freed
  // (both ways: either side is told when the other goes).
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

 protected:
  // Told of components inserted into or removed from this one's ownership
  // and of freed components that asked for free notification.
  virtual void Notification(TComponent* component, TOperation operation);
  void SetDestroying() { state_ |= csDestroying; }

 private:
  void SendRemoveNotifications();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  int32_t tag_ = 0;
  uint32_t state_ = 0;
  bool removedNotified_ = false;
};

// Marks an object as running one of its own handlers for the scope's
// lifetime (a window procedure of an object that is not a control, for
// example). A class whose DeferFree answers DeferFreeWhileBusy(this) is
// then not deleted by Free while a scope of it is open: Free returns at
// once and the object is freed when its outermost scope ends.
class TBusyScope {
 public:
  explicit TBusyScope(TObject* object);
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;
};
// True while a busy scope of the object is open on this thread.
bool IsBusy(const TObject* object);
// For DeferFree overrides: true (the object is queued and freed when its
// last scope ends) while the object is busy, false when it may go now.
bool DeferFreeWhileBusy(TObject* object);
// True when the object's Free waits for the end of its scopes.
bool IsFreePending(const TObject* object);

// True for a text usable as a component name.
bool IsValidIdent(const std::string& name);

// Registers a component class so that form data can create it by name.
// Classes register themselves once, at first use of the framework's
// factory (RegisterClasses in each module).
void RegisterComponentClass(const TClassInfo& info);
const TClassInfo* FindClass(const std::string& className);

}  // namespace fw
