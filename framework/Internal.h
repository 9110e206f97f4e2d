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
// Owner-drawn menu items (WM_MEASUREITEM/WM_DRAWITEM with ODT_MENU).
bool HandleMenuOwnerDraw(UINT msg, LPARAM lParam);

}  // namespace fw

namespace fw {
// A tick of a timer of the utility window (Timer.cpp).
bool DispatchTimer(UINT_PTR id);
// Timer ids at and above this value belong to the application itself.
constexpr UINT_PTR kApplicationTimerBase = 0x7F000000;
}  // namespace fw
