// Input as the user gives it: the pointer moved and the buttons and keys
// pressed through the system's input queue (SendInput), then the messages
// handled.
#pragma once
#include <windows.h>

#include <string>

#include "SendInputs.h"
#include "SkinTestSupport.h"

namespace skintest {

// Moves the pointer to a point of the screen.
inline void MoveToScreen(POINT p) { realinput::MoveToScreen(p); }

// Moves the pointer to a point of the window's client area.
inline void MoveTo(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  MoveToScreen(p);
}

inline void Button(bool down) { realinput::PressButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

inline void ClickAt(HWND window, int x, int y) {
  MoveTo(window, x, y);
  Button(true);
  Button(false);
}

inline void PressKey(WORD vk) {
  realinput::SendKey(vk);
  Pump(40);
}

// Types the characters (each as a key press of its own).
inline void TypeText(const std::wstring& text) {
  for (wchar_t ch : text) {
    realinput::SendChar(ch);
    Pump(30);
  }
}

}  // namespace skintest
