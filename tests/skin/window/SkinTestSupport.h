// What the tests of the skin engine at work on windows share: the
// colour-coded skin loaded into a skin data component and started as a
// program's main component starts it, windows of the test's own module
// (plain ones with menus, MDI frames) that record their messages, a
// skinner kind that records what it sees, message pumping, and pixels
// read back from memory device contexts, and a fixture that starts the
// coded skin around each test.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SkinControl.h"
#include "SkinObjects.h"
#include "WinSkinData.h"

namespace skintest {

// The packed colour-coded skin.
std::vector<uint8_t> CodedSkinArchive();

// A skin data component (no owner) holding the coded skin, Active, with its
// Loaded step run: the manager exists, the hook is in and skinning is on.
// nullptr when the archive cannot be read.
TSkinData* StartCodedSkin(TSkinControlTypes controls = 0, TSkinOptions options = 0, bool setControls = false);
// Frees the component and the manager.
void StopSkin(TSkinData*& skin);

// Handles messages for ms milliseconds.
void Pump(int ms);
// Handles messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);

// A top-level window of the test program's own module. Its procedure
// records every message number it gets (after the engine passed it on).
struct TTestWindow {
  HWND hwnd = nullptr;
  std::vector<UINT> seen;
  // The WM_SYSCOMMAND commands and WM_COMMAND identifiers it got.
  std::vector<WPARAM> sysCommands;
  std::vector<WPARAM> commands;
  // The window commands (close, size, move ...) are noted, not carried out.
  bool swallowSysCommands = false;
  int Count(UINT msg) const;
  void Clear() {
    seen.clear();
    sysCommands.clear();
    commands.clear();
  }
};
// Made with the style (WS_OVERLAPPEDWINDOW by default), a client area of
// the size given, at (100, 100), shown and activated. The window records
// into *record, which must outlive it.
HWND MakeTestWindow(TTestWindow* record, int clientWidth = 300, int clientHeight = 200,
                    DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, HMENU menu = nullptr,
                    HWND parent = nullptr);
// A point given in window coordinates, as the screen point a mouse
// message on the frame carries.
LPARAM ScreenPoint(HWND window, int x, int y);
// The window's form skinner has done its first skinning.
bool WaitSkinned(HWND window, int timeoutMs = 3000);

// Pixels of a memory DC, 32 bits each.
struct TCapture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  // The pixel as a colour value (0x00BBGGRR); 0xFFFFFFFF outside.
  COLORREF At(int x, int y) const;
};
// A memory DC of the window's size, painted by sending msg with the DC in
// wParam and marker in lParam.
TCapture PaintInto(HWND window, UINT msg, LPARAM marker);
// The window as it is on the screen.
TCapture Screenshot(HWND window);
// The colour in the middle of image n (from 1) of a strip of count images.
COLORREF ImageColour(fw::TBitmap& strip, bool vertical, int count, int n);
// Pumps until the window is in the foreground (under Xvfb activation is
// given at once, but to the window the system chose).
bool Activate(HWND window);

// A custom control of any class name and ancestry (the kinds the
// framework has no class for).
class TCustomStandIn : public fw::TCustomControl {
 public:
  TCustomStandIn(fw::TComponent* owner, const fw::TClassInfo& info) : fw::TCustomControl(owner), info_(&info) {}
  const fw::TClassInfo& ClassInfo() const override { return *info_; }

 private:
  const fw::TClassInfo* info_;
};

// The skinner of kind T that the component owns, or nullptr.
template <class T>
T* SkinnerOf(fw::TComponent* owner) {
  if (!owner) return nullptr;
  for (fw::TComponent* c : owner->Components())
    if (auto* s = dynamic_cast<T*>(c)) return s;
  return nullptr;
}

// A skinner kind of the tests: records the messages it sees before and
// after the control's own procedure, and paints its whole window in one
// colour.
class TRecordingSkinner : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  TRecordingSkinner(fw::TComponent* owner, std::string kind);
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  std::string MadeAs;  // the kind discovery asked for
  std::vector<UINT> before, after;
  // Freed skinners note their kind here (set to a list the test owns).
  static std::vector<std::string>* freedLog;
  ~TRecordingSkinner() override;
  static constexpr COLORREF kPaint = RGB(1, 2, 3);
};

// Every skinner kind discovery knows, made as a recording skinner.
const std::vector<std::string>& AllSkinnerKinds();
void RegisterRecordingKinds();
void UnregisterRecordingKinds();

// The coded skin started before each test and stopped after it; the test
// window the test opened is destroyed first.
class CodedSkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin = StartCodedSkin();
    ASSERT_NE(skin, nullptr);
  }
  void TearDown() override {
    if (window.hwnd) DestroyWindow(window.hwnd);
    StopSkin(skin);
  }
  TSkinData* skin = nullptr;
  TTestWindow window;
};

}  // namespace skintest
