#include "ScrollListTestSupport.h"

#include "SkinTestSupport.h"

using namespace fw;

namespace scrolltest {

namespace {

// An absolute position in the units of mouse input: the nearest that
// lands on the pixel (the system scales by the screen size and truncates).
LONG Absolute(LONG pixel, int extent) {
  return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

void SendMouse(DWORD flags, POINT screen, DWORD data = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = Absolute(screen.x, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = Absolute(screen.y, GetSystemMetrics(SM_CYSCREEN));
  in.mi.mouseData = data;
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
}

}  // namespace

void MouseMoveTo(POINT screen) { SendMouse(0, screen); }
void MouseDown(POINT screen) { SendMouse(MOUSEEVENTF_LEFTDOWN, screen); }
void MouseUp(POINT screen) { SendMouse(MOUSEEVENTF_LEFTUP, screen); }

void MouseDrag(POINT from, POINT to, int steps) {
  MouseMoveTo(from);
  MouseDown(from);
  for (int i = 1; i <= steps; i++)
    MouseMoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  MouseUp(to);
}

void MouseClick(POINT screen) {
  MouseMoveTo(screen);
  MouseDown(screen);
  MouseUp(screen);
}

void MouseWheel(int notches) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  SendInput(1, &in, sizeof in);
}

void KeyPress(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

void ParkMouse() {
  MouseMoveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
  skintest::Pump(30);
}

TStandIn::TStandIn(TComponent* owner, const TClassInfo& info, const wchar_t* systemClass, DWORD style,
                   DWORD exStyle)
    : TWinControl(owner), info_(&info), systemClass_(systemClass), style_(style), exStyle_(exStyle) {}

void TStandIn::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = systemClass_;
  p.style |= style_;
  p.exStyle |= exStyle_;
}

RECT WindowRectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

POINT CentreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace scrolltest
