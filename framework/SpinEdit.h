// The up-down control (system msctls_updown32) and the spin edit: an edit
// for a whole number with a real up-down child window at its right.
#pragma once

#include "Edit.h"

namespace fw {

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
const TEnumType& UDOrientationType();
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;

class TUpDown : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TUpDown(TComponent* owner);

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  int32_t Position() const;
  void SetPosition(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation o);
  // When set, a click only raises OnClick and leaves Position alone (the
  // owner keeps the value, as the spin edit does).
  bool ManualPosition = false;

  TUDClickEvent OnClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;

 private:
  int32_t min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  TUDOrientation orientation_ = udVertical;
};

class TSpinEdit : public TCustomEdit {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSpinEdit(TComponent* owner);

  int32_t MinValue() const { return minValue_; }
  void SetMinValue(int32_t v);
  int32_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int32_t v);
  // The number shown, kept within MinValue..MaxValue (when MaxValue is
  // above MinValue); a text that is no number reads as MinValue.
  int32_t Value() const;
  void SetValue(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v) { editorEnabled_ = v; }
  TUpDown* Button() const { return button_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;
  void Resize() override;
  int32_t CheckValue(int32_t v) const;
  void Step(int32_t delta);

 private:
  void PlaceButton();
  TUpDown* button_;
  int32_t minValue_ = 0, maxValue_ = 0, increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace fw
