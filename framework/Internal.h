// Links between the framework's own parts (not for programs).
#pragma once

#include <windows.h>

#include "Control.h"

namespace fw {

// The application's hidden window: owner of pop-up menus, receiver of
// timer ticks and synchronised-call requests.
HWND UtilityWindow();
void ApplicationMouseControlChanged(TControl* control);
TCursor ApplicationScreenCursor();
void ForgetMouseControl(TControl* control);
// The left press under way on this thread gets no release of its own (a
// modal window opens): a release that comes later is no click.
void ForgetPressUnderWay();
class TMenu;
// Owner-drawn menu items: measures or draws the item of a WM_MEASUREITEM
// or WM_DRAWITEM (ODT_MENU) that reached window; with menu given, only
// that menu's items are taken. True when the message was handled.
bool HandleMenuOwnerDraw(HWND window, UINT msg, LPARAM lParam, const TMenu* menu = nullptr);

}  // namespace fw

namespace fw {
// A tick of a timer of the utility window (Timer.cpp).
bool DispatchTimer(UINT_PTR id);
// Timer ids at and above this value belong to the application itself.
constexpr UINT_PTR kApplicationTimerBase = 0x7F000000;
}  // namespace fw
