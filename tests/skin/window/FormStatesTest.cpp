// A skinned window's states and the input that changes them: maximised,
// restored and minimised through the caption buttons and double clicks, a
// caption button acting only when released over the one pressed, a press
// on the caption or a border that moves or sizes only while it is held,
// the caption of a minimised window, the caption-button hint, the menu bar
// opened by the keyboard and its pop-ups switched with the arrow keys, and
// a window the engine fails on, which stays unskinned.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "Application.h"
#include "RealInput.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "Subclass.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

class FormStates : public CodedSkinWindowTest {
 protected:
  TWinSkinForm* Open(DWORD style = WS_OVERLAPPEDWINDOW, HMENU menu = nullptr) {
    HWND h = MakeTestWindow(&window, 300, 180, style, 0, menu);
    EXPECT_TRUE(WaitSkinned(h));
    return SkinManager()->FindSkinnedForm(h);
  }
  // The centre of caption button i as laid out now (window coordinates).
  POINT Centre(TWinSkinForm* f, int i) {
    const RECT& r = f->FSysButtons[static_cast<size_t>(i)]->Rect;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(TWinSkinForm* f, int i) {
    PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);  // lays the buttons out
    const POINT p = Centre(f, i);
    SendMessageW(f->FHandle, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(f->FHandle, p.x, p.y));
    SendMessageW(f->FHandle, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(f->FHandle, p.x, p.y));
    Pump(100);
  }
};

TEST_F(FormStates, TheCaptionButtonsMaximiseRestoreAndMinimise) {
  TWinSkinForm* f = Open();
  ASSERT_NE(f, nullptr);
  Click(f, 1);  // maximise
  EXPECT_TRUE(IsZoomed(f->FHandle));
  EXPECT_EQ(f->FWindowState, 1);
  PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);
  EXPECT_FALSE(f->FSysButtons[1]->Visible) << "maximise hidden while maximised";
  EXPECT_TRUE(f->FSysButtons[2]->Visible) << "restore shown in its place";
  Click(f, 2);  // restore
  EXPECT_FALSE(IsZoomed(f->FHandle));
  EXPECT_EQ(f->FWindowState, 0);
  RECT c;
  GetClientRect(f->FHandle, &c);
  EXPECT_EQ(c.right, 300);
  EXPECT_EQ(c.bottom, 180);
  Click(f, 3);  // minimise
  EXPECT_TRUE(IsIconic(f->FHandle));
  EXPECT_EQ(f->FWindowState, 2);
  // A minimised window paints only its caption, as wide as the window,
  // over the face colour.
  TCapture m = PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);
  if (m.height > f->FBorderTop + 2) {
    EXPECT_EQ(m.At(m.width / 2, m.height - 1), static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::ButtonFace])));
  }
  EXPECT_EQ(m.At(2, f->FBorderTop / 2), ImageColour(skin->BorderTop->Bitmap, true, 2, 1));
  ShowWindow(f->FHandle, SW_RESTORE);
  Pump(50);
  EXPECT_EQ(f->FWindowState, 0);
}

// With the real mouse: between press and release the pointer moves, and
// the window gets the moves.
TEST_F(FormStates, ACaptionButtonActsOnlyWhenReleasedOverTheButtonPressed) {
  window.swallowSysCommands = true;
  TWinSkinForm* f = Open();
  ASSERT_TRUE(Activate(f->FHandle));
  PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);  // lays the buttons out
  RECT w;
  GetWindowRect(f->FHandle, &w);
  auto onScreen = [&](int i) {
    const POINT p = Centre(f, i);
    return POINT{w.left + p.x, w.top + p.y};
  };
  auto closeShows = [&](int image) {
    TDataSkinSysButton& d = *f->FSysButtons[0]->SkinButton;
    const POINT p = Centre(f, 0);
    return Screenshot(f->FHandle).At(p.x, p.y) == ImageColour(d.Bitmap, false, d.Frame, image);
  };
  const int kClose = 0, kMinimise = 3;
  // Pressed on close, away over minimise and back: close comes up and goes
  // down again, and the release closes.
  window.Clear();
  MoveToScreen(onScreen(kClose));
  Button(true);
  EXPECT_TRUE(closeShows(2)) << "pressed";
  MoveToScreen(onScreen(kMinimise));
  EXPECT_TRUE(closeShows(1)) << "up while the pointer is away";
  EXPECT_NE(f->FHotObject, f->FSysButtons[kMinimise].get()) << "no other button takes the mouse meanwhile";
  MoveToScreen(onScreen(kClose));
  EXPECT_TRUE(closeShows(2)) << "down again";
  Button(false);
  Pump(50);
  ASSERT_EQ(window.sysCommands.size(), 1u);
  EXPECT_EQ(window.sysCommands[0], static_cast<WPARAM>(SC_CLOSE));
  // Released over another button, either way round: nothing.
  for (int pressed : {kClose, kMinimise}) {
    SCOPED_TRACE(pressed);
    const int other = pressed == kClose ? kMinimise : kClose;
    window.Clear();
    MoveToScreen(onScreen(pressed));
    Button(true);
    MoveToScreen(onScreen(other));
    Button(false);
    Pump(50);
    EXPECT_TRUE(window.sysCommands.empty());
    EXPECT_FALSE(IsIconic(f->FHandle));
  }
  // A press released off the window is forgotten: the buttons answer the
  // pointer again.
  MoveToScreen(onScreen(kClose));
  Button(true);
  MoveToScreen(POINT{w.right + 40, w.bottom + 40});
  Button(false);
  MoveToScreen(onScreen(kMinimise));
  EXPECT_EQ(f->FHotObject, f->FSysButtons[kMinimise].get());
  MoveToScreen(POINT{w.right + 40, w.bottom + 40});
}

// A press on the caption or a border that the window handles only after
// the real button is up again (the window's thread was busy meanwhile)
// starts no move or size, which would follow the pointer with no button
// held under a window manager. A press still held moves the window.
TEST_F(FormStates, ACaptionOrBorderPressMovesOrSizesOnlyWhileTheButtonIsDown) {
  TWinSkinForm* f = Open();
  ASSERT_TRUE(Activate(f->FHandle));
  RECT before;
  GetWindowRect(f->FHandle, &before);
  const POINT caption = {before.left + 60, before.top + f->FBorderTop / 2};
  const POINT border = {before.left + 1, (before.top + before.bottom) / 2};
  ASSERT_EQ(SendMessageW(f->FHandle, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  ASSERT_EQ(SendMessageW(f->FHandle, WM_NCHITTEST, 0, MAKELPARAM(border.x, border.y)), HTLEFT);
  for (POINT p : {caption, border}) {
    SCOPED_TRACE(p.x);
    MoveToScreen(p);
    window.Clear();
    realinput::SendButton(MOUSEEVENTF_LEFTDOWN);
    realinput::SendButton(MOUSEEVENTF_LEFTUP);
    Sleep(300);  // busy: the press and its release wait in the queue
    Pump(300);
    EXPECT_EQ(window.Count(WM_ENTERSIZEMOVE), 0);
    for (WPARAM c : window.sysCommands) EXPECT_TRUE(c != SC_MOVE && c != SC_SIZE) << std::hex << c;
    EXPECT_EQ(window.Count(WM_NCLBUTTONUP), 1) << "the release came to the window itself, no move took it";
    RECT now;
    GetWindowRect(f->FHandle, &now);
    EXPECT_TRUE(EqualRect(&now, &before));
  }
  // Held, then dragged by a hand of its own while the window answers.
  MoveToScreen(caption);
  window.Clear();
  std::atomic<bool> done{false};
  std::thread hand([&] {
    realinput::SendButton(MOUSEEVENTF_LEFTDOWN);
    Sleep(200);
    for (int i = 1; i <= 5; i++) {
      realinput::SendMove(POINT{caption.x + 8 * i, caption.y + 6 * i}, 1);
      Sleep(50);
    }
    Sleep(150);
    realinput::SendButton(MOUSEEVENTF_LEFTUP);
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 5000);
  hand.join();
  Pump(200);
  EXPECT_EQ(window.Count(WM_ENTERSIZEMOVE), 1);
  RECT moved;
  GetWindowRect(f->FHandle, &moved);
  EXPECT_NEAR(moved.left - before.left, 40, 2);
  EXPECT_NEAR(moved.top - before.top, 30, 2);
}

TEST_F(FormStates, ADoubleClickOnTheCaptionMaximisesOnlyWithAMaximiseBox) {
  TWinSkinForm* f = Open();
  SendMessageW(f->FHandle, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(f->FHandle, 150, 10));
  Pump(100);
  EXPECT_TRUE(IsZoomed(f->FHandle));
  SendMessageW(f->FHandle, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(f->FHandle, 150, 10));
  Pump(100);
  EXPECT_FALSE(IsZoomed(f->FHandle));
  DestroyWindow(window.hwnd);

  TWinSkinForm* plain = Open(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  window.Clear();
  SendMessageW(plain->FHandle, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(plain->FHandle, 150, 10));
  Pump(50);
  EXPECT_FALSE(IsZoomed(plain->FHandle));
  EXPECT_EQ(window.Count(WM_NCLBUTTONDBLCLK), 1) << "without a maximise box the window's own procedure has it";
}

TEST_F(FormStates, AnInactiveWindowsCaptionDoesNotAnswerTheMouse) {
  TWinSkinForm* f = Open();
  SendMessageW(f->FHandle, WM_NCACTIVATE, FALSE, 0);
  window.Clear();
  PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);
  const POINT p = Centre(f, 0);
  SendMessageW(f->FHandle, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(f->FHandle, p.x, p.y));
  EXPECT_EQ(f->FHotObject, nullptr);
  EXPECT_EQ(window.Count(WM_NCMOUSEMOVE), 0);
  SendMessageW(f->FHandle, WM_NCACTIVATE, TRUE, 0);
}

TEST_F(FormStates, ACaptionButtonsHintShowsAfterTwiceTheHintPause) {
  Application().SetHintPause(100);
  TWinSkinForm* f = Open();
  PaintInto(f->FHandle, SKM_PAINTFRAMETO, kSkinMarker);
  const POINT p = Centre(f, 0);
  RECT w;
  GetWindowRect(f->FHandle, &w);
  SetCursorPos(w.left + p.x, w.top + p.y);
  SendMessageW(f->FHandle, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(f->FHandle, p.x, p.y));
  ASSERT_NE(f->FHotObject, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return skin->HintShown; }, 2000));
  // Off the button: the button leaves and the hint goes.
  SetCursorPos(w.left + 40, w.top + 100);
  EXPECT_TRUE(PumpUntil([&] { return !skin->HintShown && f->FHotObject == nullptr; }, 2000));
  EXPECT_EQ(TWinSkinForm::CaptionHintText(0), "Close");
  EXPECT_EQ(TWinSkinForm::CaptionHintText(50), "");
  Application().SetHintPause(500);
}

TEST_F(FormStates, ACaptionButtonOfTheProgramsOwnPostsItsAction) {
  TWinSkinForm* f = Open();
  f->FSysButtons[0]->SkinButton->Action = 50;
  window.Clear();
  Click(f, 0);
  f->FSysButtons[0]->SkinButton->Action = 0;
  EXPECT_EQ(window.Count(SKM_CAPTIONACTION), 1);
}

TEST_F(FormStates, ButtonVisibilityFollowsItsRules) {
  TWinSkinForm* f = Open();
  TDataSkinSysButton& d = *f->FSysButtons[0]->SkinButton;
  const int keep = d.Visibility;
  d.Visibility = 5;  // never
  EXPECT_FALSE(f->IsCaptionButtonVisible(0));
  d.Visibility = 1500;  // the window decides; the test window's own answer is 0
  EXPECT_FALSE(f->IsCaptionButtonVisible(0));
  d.Visibility = 300;  // always
  EXPECT_TRUE(f->IsCaptionButtonVisible(0));
  d.Visibility = -1;  // no meaning: never shown
  EXPECT_FALSE(f->IsCaptionButtonVisible(0));
  d.Visibility = keep;
  EXPECT_TRUE(f->IsCaptionButtonVisible(0));
  // The close button goes with the system menu.
  f->FBorderIcons &= ~8;
  EXPECT_FALSE(f->IsCaptionButtonVisible(0));
  f->FBorderIcons |= 8;
}

TEST_F(FormStates, AMenuItemWithoutTextMeasuresAsASeparator) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 201, L"&Open");
  AppendMenuW(sub, MF_SEPARATOR, 202, nullptr);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&File");
  TWinSkinForm* f = Open(WS_OVERLAPPEDWINDOW, bar);
  f->FTrackedMenu = sub;
  MEASUREITEMSTRUCT text = {ODT_MENU, 0, 201, 0, 10, 0};
  SendMessageW(f->FHandle, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&text));
  EXPECT_EQ(text.itemHeight, 14u) << "the text's height and 4";
  EXPECT_GT(text.itemWidth, 26u);
  MEASUREITEMSTRUCT line = {ODT_MENU, 0, 202, 0, 10, 0};
  SendMessageW(f->FHandle, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&line));
  EXPECT_EQ(line.itemHeight, 8u);
}

// ---- the menu bar from the keyboard ---------------------------------------------

HMENU TwoMenus(HMENU& file, HMENU& edit) {
  HMENU bar = CreateMenu();
  file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 201, L"&Open");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, 301, L"&Copy");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  return bar;
}

// Notes the menu tracked at each tick, then presses a key or closes it.
struct TTrackProbe {
  static TTrackProbe* current;
  TWinSkinForm* form = nullptr;
  std::vector<HMENU> tracked;
  std::vector<WPARAM> keys;  // pressed in the tracked menu, one per tick
  int ticks = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TTrackProbe* p = current;
    HWND m = FindWindowW(L"#32768", nullptr);
    if (!p || !m || !IsWindowVisible(m)) {
      if (p && ++p->ticks > 60) KillTimer(nullptr, id);
      return;
    }
    if (p->tracked.empty() || p->tracked.back() != p->form->FTrackedMenu) {
      p->tracked.push_back(p->form->FTrackedMenu);
      if (p->keys.empty()) {
        KillTimer(nullptr, id);
        EndMenu();
        return;
      }
      PostMessageW(m, WM_KEYDOWN, p->keys.front(), 0);
      p->keys.erase(p->keys.begin());
    }
    if (++p->ticks > 60) {
      KillTimer(nullptr, id);
      EndMenu();
    }
  }
  void Arm(TWinSkinForm* f) {
    form = f;
    current = this;
    SetTimer(nullptr, 0, 100, Tick);
  }
};
TTrackProbe* TTrackProbe::current = nullptr;

TEST_F(FormStates, AltAndALetterOpenTheMenuBarItemOfThatAccelerator) {
  HMENU file, edit;
  TWinSkinForm* f = Open(WS_OVERLAPPEDWINDOW, TwoMenus(file, edit));
  ASSERT_NE(f->FMenuBar, nullptr);
  TTrackProbe probe;
  probe.Arm(f);
  SendMessageW(f->FHandle, WM_SYSCOMMAND, SC_KEYMENU, 'e');
  ASSERT_GE(probe.tracked.size(), 1u);
  EXPECT_EQ(probe.tracked[0], edit);
  EXPECT_FALSE(f->FMenuTracking);
}

TEST_F(FormStates, TheArrowKeysSlideFromItemToItemAndWrapAround) {
  HMENU file, edit;
  TWinSkinForm* f = Open(WS_OVERLAPPEDWINDOW, TwoMenus(file, edit));
  TTrackProbe probe;
  probe.keys = {VK_RIGHT, VK_RIGHT};
  probe.Arm(f);
  f->OpenMenuButton(f->FMenuBar->Buttons[0].get());
  // The pop-up switches through the posted click the hook makes; the
  // window's message loop opens the next one.
  PumpUntil([&] { return probe.tracked.size() >= 3 || probe.ticks > 60; }, 8000);
  ASSERT_GE(probe.tracked.size(), 2u);
  EXPECT_EQ(probe.tracked[0], file);
  EXPECT_EQ(probe.tracked[1], edit);
  if (probe.tracked.size() >= 3) {
    EXPECT_EQ(probe.tracked[2], file) << "right on the last item opens the first";
  }
  PumpUntil([&] { return !FindWindowW(L"#32768", nullptr) || !IsWindowVisible(FindWindowW(L"#32768", nullptr)); });
}

// ---- failures -------------------------------------------------------------------

TEST_F(FormStates, AWindowTheEngineFailsOnStaysUnskinnedAndTheProgramGoesOn) {
  skin->OnBeforeSkinForm = [](TObject*, HWND, const std::string&) { throw std::runtime_error("handler fails"); };
  TForm* form = new TForm(nullptr);
  form->SetBounds(100, 100, 200, 120);
  form->Show();
  Activate(form->Handle());
  Pump(300);
  EXPECT_EQ(SkinManager()->FindSkinnedForm(form->Handle()), nullptr);
  EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_FALSE(IsWindowSubclassed(form->Handle()));
  form->Free();
  skin->OnBeforeSkinForm = nullptr;
  // The next window is skinned as usual.
  TWinSkinForm* f = Open();
  EXPECT_NE(f, nullptr);
}

}  // namespace
