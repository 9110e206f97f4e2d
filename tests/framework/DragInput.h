// Mouse and keyboard input as the user gives it (SendInput through the
// system's input queue), with the application's loop run between steps,
// for the drag and dock tests.
#pragma once

#include <windows.h>

#include <functional>

#include "Application.h"
#include "SendInputs.h"

namespace dragtest {

// Runs the application's loop for ms milliseconds.
inline void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    fw::Application().ProcessMessages();
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Runs the application's loop until done() says so (false after timeoutMs).
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Pump(5);
  }
  return true;
}

// Moves the pointer to a screen point (an absolute move, as a mouse gives
// it) and waits until the system has it there (under load the input comes
// later than it was sent).
inline void MoveTo(POINT p) {
  realinput::SendMove(p, 1);
  PumpUntil([p] {
    POINT at;
    GetCursorPos(&at);
    return at.x == p.x && at.y == p.y;
  }, 1000);
  Pump(20);
}

// Moves in steps from where the pointer is, as a hand drags.
inline void GlideTo(POINT p, int steps = 6) {
  POINT from;
  GetCursorPos(&from);
  for (int i = 1; i <= steps; ++i)
    MoveTo(POINT{from.x + (p.x - from.x) * i / steps, from.y + (p.y - from.y) * i / steps});
}

inline void Button(bool down, bool right = false) {
  realinput::SendButton(right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                              : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP));
  const int vk = right ? VK_RBUTTON : VK_LBUTTON;
  PumpUntil([vk, down] { return (GetAsyncKeyState(vk) < 0) == down; }, 1000);
  Pump(30);
}

inline void PressKey(WORD vk) {
  realinput::SendKey(vk);
  Pump(30);
}

// Presses at from, drags to to and releases there.
inline void Drag(POINT from, POINT to) {
  MoveTo(from);
  Button(true);
  GlideTo(to);
  Button(false);
}

}  // namespace dragtest
