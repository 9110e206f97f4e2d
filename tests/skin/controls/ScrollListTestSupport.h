// What the tests of the scroll-bar, list and combo box skinners share:
// real input (the system's own queue, as a user's mouse and keyboard give
// it), the skinner of a kind that a control owns, stand-ins for the kinds
// the framework has no class for, and their coded-skin fixture.
#pragma once
#include <windows.h>

#include <string>

#include "Control.h"
#include "ControlTestSupport.h"
#include "SkinControl.h"
#include "SkinTestSupport.h"

namespace scrolltest {

// Real mouse input at a screen point (queued by the system; handled when
// messages are pumped).
void MouseMoveTo(POINT screen);
void MouseDown(POINT screen);
void MouseUp(POINT screen);
// Press at from, move to to in steps, release there.
void MouseDrag(POINT from, POINT to, int steps = 4);
void MouseClick(POINT screen);
// Wheel notches (positive: away from the user) at the cursor.
void MouseWheel(int notches);
void KeyPress(WORD vk);
// The cursor leaves every test window (parked in the screen's corner).
void ParkMouse();

using skintest::SkinnerOf;

// A windowed control of any class name and ancestry over a system window
// class (nullptr: a plain window), with published properties of its own
// added by the test.
class TStandIn : public fw::TWinControl {
 public:
  TStandIn(fw::TComponent* owner, const fw::TClassInfo& info, const wchar_t* systemClass, DWORD style,
           DWORD exStyle = 0);
  const fw::TClassInfo& ClassInfo() const override { return *info_; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;

 private:
  const fw::TClassInfo* info_;
  const wchar_t* systemClass_;
  DWORD style_, exStyle_;
};

// The window rectangle of a window, and its centre.
RECT WindowRectOf(HWND window);
POINT CentreOf(const RECT& r);

// The coded-skin fixture of these tests: the cursor is parked after the
// form is freed, before the skin stops.
class ScrollListTest : public ctltest::CodedSkinTest {
 protected:
  void TearDown() override {
    FreeForm();
    ParkMouse();
    skintest::StopSkin(skin);
  }
};

}  // namespace scrolltest
