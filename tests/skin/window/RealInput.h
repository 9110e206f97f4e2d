// Input as the user gives it: the pointer moved and the buttons and keys
// pressed through the system's input queue (SendInput), then the messages
// handled.
#pragma once
#include <windows.h>

#include <string>

#include "SkinTestSupport.h"

namespace skintest {

// Moves the pointer to a point of the screen.
inline void MoveToScreen(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(p.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Pump(40);
}

// Moves the pointer to a point of the window's client area.
inline void MoveTo(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  MoveToScreen(p);
}

inline void Button(bool down) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  Pump(40);
}

inline void ClickAt(HWND window, int x, int y) {
  MoveTo(window, x, y);
  Button(true);
  Button(false);
}

inline void PressKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
  Pump(40);
}

// Types the characters (each as a key press of its own).
inline void TypeText(const std::wstring& text) {
  for (wchar_t ch : text) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = ch;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
    Pump(30);
  }
}

}  // namespace skintest
