// The combo box and date-time skinners. TSkinComBox paints a combo box's
// edge and drop-down button from the skin (normal, pressed, hot or
// focused, disabled) and gives the combo box's list a scroll-bar skinner:
// a drop-down list gets a TComboxScrollBar while it is open (made when the
// list drops down, released when it closes up), the always-visible list of
// a simple combo box a TSkinScrollbarH. TSkinDateTime gives a date-time
// picker the boxed frame and lays an own-drawn TArrowButton over the
// picker's drop-down button, handing its presses to the picker.
#pragma once
#include <windows.h>

#include <cstdint>

#include "Control.h"
#include "ScrollBarSkinners.h"
#include "SkinControl.h"
#include "Subclass.h"

// States of the combo box's button (images of its strips, from 1).
enum TComboState { kComboNormal = 1, kComboPressed = 2, kComboDisabled = 3, kComboHot = 4 };

// The looks "ComboButton" selects by its Style.
enum TComboLook { kComboLookParts = 0, kComboLookFlat = 1, kComboLookWhole = 2 };

// The state a combo box's button is drawn in. The flat look lets a press
// win over the disabled state; the others draw a disabled box disabled
// whatever else holds.
int ComboButtonState(bool pressed, bool focused, bool hot, bool enabled, bool flatLook);

// The button and glyph areas and the edit area excluded from painting, for
// the look drawn in parts (R is the window rectangle at the origin, e the
// system's arrow width).
struct TComboPartsLayout {
  RECT editArea, button, glyph;
};
TComboPartsLayout ComboPartsLayout(const RECT& r, int e, bool buttonOnLeft);

class TSkinComBox : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinComBox(fw::TComponent* owner);
  void BeforeDestruction() override;

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas) override;
  void Unskin() override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  // "BoxedArrow" (for the "comboboxex" kind) and the base's keys.
  void Configure(const std::string& key, const std::string& value) override;

  void SubclassEditChild();
  void EditChildWindowProc(fw::TMessage& m);
  // A scroll-bar skinner for the drop-down list (only for a drop-down
  // combo box whose list the system tells).
  void MakeDropListSkinner();
  void ReleaseDropListSkinner();

  LONG ComboStyle = 0;
  LONG ComboExStyle = 0;
  HWND ListWindow = nullptr;  // the list of a simple combo box
  HWND EditChild = nullptr;
  TSkinScrollbarH* DropListSkinner = nullptr;       // a simple combo box's list
  TComboxScrollBar* DropDownListSkinner = nullptr;  // the open drop-down list
  COMBOBOXINFO Info = {};
  RECT ButtonRect = {0, 0, 0, 0};
  bool BoxedArrow = false;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  bool FetchComboInfo();
  bool HasFocus() const;
  bool IsSimple() const { return (ComboStyle & 3) == CBS_SIMPLE; }
  void MouseMoved(POINT p);
  void MouseLeft();
  void ListNotice(WORD code);
  void PaintWhole(HDC dc, const RECT& r, int state);
  void PaintParts(HDC dc, const RECT& r, int state);
  void PaintFlat(HDC dc, const RECT& r);
  void PaintBoxed(HDC dc, const RECT& r, int state);
  void FreeListSkinners();
  bool RectInParent(RECT& r) const;
  void GiveBackUncovered();
  fw::TWindowSubclass editSubclass_;
  // What the skinner painted, in the parent's coordinates.
  RECT painted_ = {0, 0, 0, 0};
};

class TSkinDateTime;

class TArrowButton : public fw::TCustomControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TArrowButton(fw::TComponent* owner);

  void AttachToPicker(TSkinDateTime* skinner, fw::TWinControl* picker);
  // Puts the button at the picker's drop-down button (R: the picker's
  // window rectangle at the origin).
  void AlignToRect(const RECT& r);
  void ForgetOwner() { OwnerSkinner = nullptr; }
  bool Hovering() const { return (StateBits & kHover) != 0; }

  enum : uint8_t { kHover = 1 };
  int32_t ArrowWidth = 0;
  fw::TWinControl* Picker = nullptr;
  TSkinDateTime* OwnerSkinner = nullptr;
  HWND PickerWindow = nullptr;
  uint8_t StateBits = 0;

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;
  void PaintWindow(HDC dc) override;

 private:
  void ButtonDown(const fw::TMessage& m);
  int PickerHeight() const;
  bool LeftScrollBar() const;
  void Place(int left);
};

class TSkinDateTime : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinDateTime(fw::TComponent* owner);
  void BeforeDestruction() override;

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void Unskin() override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  TArrowButton* ArrowButton = nullptr;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void FreeArrowButton();
  // The picker's WS_CLIPCHILDREN was added by the skinner (taken off again).
  bool addedClipChildren_ = false;
  friend class TArrowButton;
};

// The boxed look's frame: a shadow outline with a white one inside, only
// for a window with a border (its client area smaller both ways).
void DrawBoxedFrame(HWND window, HDC dc, const RECT& r, TSkinData& skin);

void RegisterComboSkinners();
