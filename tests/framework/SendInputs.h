// Input as the user gives it, through the system's input queue (SendInput),
// for the tests that drive windows with a real pointer and keyboard: the
// framework's, the extended controls' and the skins'. Only Win32 here; the
// tests that run the framework's own loop between steps wrap these.
#pragma once

#include <windows.h>

namespace realinput {

// Handles the waiting messages for about ms milliseconds.
inline void PumpMessages(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Sends an absolute move to a screen point; nudge is added to the
// normalised coordinates (1 rounds them up into the wanted pixel).
inline void SendMove(POINT p, int nudge = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + nudge;
  in.mi.dy = MulDiv(p.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + nudge;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// Sends a button change (MOUSEEVENTF_LEFTDOWN and the like).
inline void SendButton(DWORD flag) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flag;
  SendInput(1, &in, sizeof in);
}

// Sends a press and release of a virtual key.
inline void SendKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

// Sends one change of a virtual key: its press, or its release.
inline void SendKeyChange(WORD vk, bool down) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

// Sends a character as a key press of its own.
inline void SendChar(wchar_t ch) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wScan = in[1].ki.wScan = ch;
  in[0].ki.dwFlags = KEYEVENTF_UNICODE;
  in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

// Parks the pointer on a screen point (placed there, then moved there
// through the queue) and handles the messages that follow.
inline void MoveToScreen(POINT p) {
  SetCursorPos(p.x, p.y);
  SendMove(p);
  PumpMessages(40);
}

// A button change, then the messages that follow.
inline void PressButton(DWORD flag) {
  SendButton(flag);
  PumpMessages(40);
}

}  // namespace realinput
