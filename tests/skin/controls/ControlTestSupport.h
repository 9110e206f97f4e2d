// What the control skinners' tests share beside the engine's test support:
// real input (the cursor moved and buttons and keys pressed through the
// system's input queue), pumping through the application's own loop (so
// that dialog keys reach forms), a framework form read from text, shown
// and skinned, a modal dialog and the Enter key that answers a modal window,
// the skinner a control owns, the colours of the coded skin's strips, and
// the fixtures that start the coded skin around each test.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "Application.h"
#include "Button.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "SendInputs.h"
#include "SkinControl.h"
#include "SkinManager.h"
#include "SkinTestSupport.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

namespace ctltest {

// Handles messages through the application's loop for ms milliseconds.
inline void PumpApp(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    fw::Application().ProcessMessages();
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

inline bool PumpAppUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    PumpApp(5);
  }
  return true;
}

// ---- real input ----
inline void SendMouse(DWORD flags) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}
// Moves the cursor to a point of the window's client area.
inline void MoveMouseTo(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  // A zero move makes the system send the window its WM_MOUSEMOVE.
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
  PumpApp(30);
}
// Moves the cursor to a screen point outside every test window. The
// system notices a tracked window's mouse leave on a timer of the hover
// time: that long is waited for.
inline void MoveMouseAway() {
  SetCursorPos(1200, 1000);
  SendMouse(MOUSEEVENTF_MOVE);
  UINT hover = 400;
  SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hover, 0);
  PumpApp(static_cast<int>(hover) + 150);
}
inline void MouseDown() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  PumpApp(30);
}
inline void MouseUp() {
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpApp(30);
}
inline void ClickAt(HWND window, int x, int y) {
  MoveMouseTo(window, x, y);
  MouseDown();
  MouseUp();
}
inline void KeyDown(WORD vk) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  SendInput(1, &in, sizeof in);
  PumpApp(30);
}
inline void KeyUp(WORD vk) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  PumpApp(30);
}
inline void PressKey(WORD vk) {
  KeyDown(vk);
  KeyUp(vk);
}

// ---- modal windows ----
// A dialog form whose default button (OK, focused when it shows) ends it
// with mrOk: Enter closes it.
inline fw::TForm* MakeEnterDialog(fw::TComponent* owner) {
  auto* f = new fw::TForm(owner);
  f->SetBorderStyle(fw::bsDialog);
  f->SetBounds(700, 500, 240, 120);
  auto* ok = new fw::TButton(f);
  ok->SetParent(f);
  ok->SetBounds(20, 20, 90, 28);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(fw::mrOk);
  return f;
}

// Presses Enter on the keyboard once a modal window of this thread (a form
// shown modally, a message box) has come above owner and is active: called
// before that window opens, from a timer that the window's own loop runs.
// Given up after about three seconds (the window is then closed, so that
// the test goes on); Answered tells whether Enter was pressed.
struct TEnterAnswer {
  static inline HWND owner = nullptr;
  static inline int ticks = 0;
  static inline bool answered = false;
  static void Start(HWND ownerWindow) {
    owner = ownerWindow;
    ticks = 0;
    answered = false;
    SetTimer(nullptr, 0, 30, Tick);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND active = GetActiveWindow();
    const bool up = active && active != owner && GetForegroundWindow() == active && !IsWindowEnabled(owner);
    if (!up && ++ticks < 100) return;
    KillTimer(nullptr, id);
    if (!up) {
      if (active && active != owner) PostMessageW(active, WM_CLOSE, 0, 0);
      return;
    }
    answered = true;
    realinput::SendKey(VK_RETURN);
  }
};

// ---- forms and skinners ----
// A form read from text, shown, activated and skinned (nullptr on failure).
inline fw::TForm* ShowSkinnedForm(const char* text, const std::function<void(fw::TForm*)>& extra = nullptr) {
  auto* form = new fw::TForm(nullptr);
  std::string error;
  if (!form->LoadFromText(text, error)) {
    form->Free();
    return nullptr;
  }
  if (extra) extra(form);
  form->Show();
  if (!skintest::Activate(form->Handle()) || !skintest::WaitSkinned(form->Handle())) return form;
  PumpApp(30);
  return form;
}

using skintest::SkinnerOf;
inline int SkinnerCount(fw::TComponent* control) {
  int n = 0;
  for (fw::TComponent* c : control->Components()) n += dynamic_cast<TSkinControl*>(c) != nullptr;
  return n;
}

// Image n (from 1) of the skin's button strip.
inline COLORREF ButtonFrameColour(TSkinData* skin, int n) {
  return skintest::ImageColour(skin->Buttons->Bitmap, false, skin->Buttons->Frame, n);
}
inline COLORREF FaceColour(TSkinData* skin) { return fw::ColorToRGB(skin->Colors[sc::ButtonFace]); }

// Pixels of a capture within a rectangle that have the colour.
inline int CountColour(const skintest::TCapture& c, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = r.top; y < r.bottom; y++)
    for (int x = r.left; x < r.right; x++) n += c.At(x, y) == colour;
  return n;
}

// Switches skinning off and waits until the window is given back.
inline bool SwitchSkinOff(TSkinData* skin, HWND window) {
  skin->SetActive(false);
  return PumpAppUntil([&] { return !SkinManager() || SkinManager()->FindSkinnedForm(window) == nullptr; });
}

// ---- fixtures ----
// The control skinners registered and the coded skin started before each
// test; the form the test made is freed before the skin stops.
class CodedSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControlSkinners();
    skin = skintest::StartCodedSkin();
    ASSERT_NE(skin, nullptr);
  }
  void TearDown() override {
    FreeForm();
    skintest::StopSkin(skin);
  }
  void FreeForm() {
    if (form) form->Free();
    form = nullptr;
  }
  // Reads the form from text, shows and skins it, and asks that the form
  // has its form skinner.
  void ShowSkinned(const char* text, const std::function<void(fw::TForm*)>& extra) {
    form = ShowSkinnedForm(text, extra);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(SkinManager()->FindSkinnedForm(form->Handle()), nullptr);
  }
  TSkinData* skin = nullptr;
  fw::TForm* form = nullptr;
};

// An empty form of the given size at (100, 100) made before each test and
// shown by Show, and a plain test window the test may open, destroyed
// after it.
class SizedFormTest : public CodedSkinTest {
 protected:
  SizedFormTest(int width, int height) : width_(width), height_(height) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CodedSkinTest::SetUp());
    form = new fw::TForm(nullptr);
    form->SetBounds(100, 100, width_, height_);
  }
  void TearDown() override {
    FreeForm();
    if (raw.hwnd) DestroyWindow(raw.hwnd);
    skintest::StopSkin(skin);
  }
  // Shows, activates and skins the form; formSkinner is its form skinner.
  void Show() {
    form->Show();
    ASSERT_TRUE(skintest::Activate(form->Handle()));
    ASSERT_TRUE(skintest::WaitSkinned(form->Handle()));
    formSkinner = SkinManager()->FindSkinnedForm(form->Handle());
    ASSERT_NE(formSkinner, nullptr);
  }
  COLORREF Face() { return fw::ColorToRGB(skin->Colors[sc::ButtonFace]); }
  COLORREF Shadow() { return fw::ColorToRGB(skin->Colors[sc::ButtonShadow]); }
  TWinSkinForm* formSkinner = nullptr;
  skintest::TTestWindow raw;

 private:
  int width_, height_;
};

}  // namespace ctltest
