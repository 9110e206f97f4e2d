// The combo box and date-time skinners on real windows: each kind of combo
// box with its parts (edit, drop-down list, a simple box's list), the box
// painted in each state and in each of the skin's looks, the list opened
// by mouse and keyboard with its scroll bar skinned only while it is open,
// the list's thumb drag and wheel scrolling it as without the skin, the
// drag loop waiting for input and ending when it loses the mouse, a skin
// without the button image, the date-time picker's frame and arrow button
// opening its calendar, and everything given back when skinning is
// switched off or the control goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "Application.h"
#include "ComboBox.h"
#include "ComboSkinners.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "ScrollListTestSupport.h"
#include "SkinnedFormFixture.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "Subclass.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;
using namespace scrolltest;

namespace {

COMBOBOXINFO InfoOf(HWND combo) {
  COMBOBOXINFO i = {};
  i.cbSize = sizeof i;
  GetComboBoxInfo(combo, &i);
  return i;
}

bool Dropped(TCustomComboBox* c) { return SendMessageW(c->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

SCROLLBARINFO BarInfo(HWND h) {
  SCROLLBARINFO i = {};
  i.cbSize = sizeof i;
  GetScrollBarInfo(h, OBJID_VSCROLL, &i);
  return i;
}

// The middle of the list's thumb, on the screen.
POINT ListThumb(HWND list) {
  const SCROLLBARINFO b = BarInfo(list);
  return POINT{(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
               b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
}

int ListTop(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); }

class Combos : public SkinnedFormTest {
 protected:
  void TearDown() override {
    for (TCustomComboBox* c : {cbb, plain})
      if (form && c && c->HandleAllocated() && Dropped(c)) SendMessageW(c->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    SkinnedFormTest::TearDown();
  }
  void AfterFormFreed() override { ParkMouse(); }
  TComboBox* AddCombo(int left, int top, TComboBoxStyle style, int height = 24) {
    auto* c = new TComboBox(form);
    c->SetStyle(style);
    c->SetParent(form);
    c->SetBounds(left, top, 150, height);
    for (int i = 0; i < 30; i++) c->Items()->Add("choice " + std::to_string(i));
    return c;
  }
  void ShowForm() {
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 460, 340);
    cbb = AddCombo(20, 20, csDropDownList);
    cbe = AddCombo(20, 70, csDropDown);
    plain = AddCombo(240, 20, csDropDownList);
    plain->SetTag(99);
    simple = AddCombo(240, 70, csSimple);
    cbb->OnChange = [this](TObject*) { changes++; };
    plain->OnChange = [this](TObject*) { plainChanges++; };
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinnerOf<TSkinComBox>(cbb);
    ASSERT_NE(skinner, nullptr);
    // The simple box's window sized so that its list shows a few items and
    // needs its scroll bar (the framework gives it the dropped list's height).
    SetWindowPos(simple->Handle(), nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    formSkinner = SkinManager()->FindSkinnedForm(form->Handle());
    Pump(50);
  }
  // A pixel of image n of the skin's combo image (its cell is built from
  // the edge, the button and the arrow).
  COLORREF Whole(int n, int x, int y, TDataSkinObject* o = nullptr) {
    if (!o) o = skin->ComboButton.get();
    return static_cast<COLORREF>(PixelsOf(o->Bitmap).Pixel(o->FrameWidth() * (n - 1) + x, y));
  }
  // Where the button and the edge show in a box of the window's size:
  // the image's right margin is drawn unscaled at the box's right.
  struct Probe {
    int buttonX, edgeX, y;
    int cellButtonX, cellY;
  };
  Probe ProbeOf(HWND combo) {
    RECT r = WindowRectOf(combo);
    return Probe{r.right - r.left - 3, 0, (r.bottom - r.top) / 2, skin->ComboButton->FrameWidth() - 3, 10};
  }
  COLORREF ButtonPixel(HWND combo) {
    const Probe p = ProbeOf(combo);
    return PaintInto(combo, SKM_PAINTCLIENTTO, kSkinMarker).At(p.buttonX, p.y);
  }
  COLORREF ButtonOf(int n) {
    const Probe p = ProbeOf(cbb->Handle());
    return Whole(n, p.cellButtonX, p.cellY);
  }
  bool ListSkinned(HWND list) { return SendMessageW(list, SKM_ISSKINNED, 0, 0) == 1; }
  int ListSkinners() {
    int n = 0;
    for (TSkinControl* s : formSkinner->FSkinners) n += dynamic_cast<TComboxScrollBar*>(s) != nullptr;
    return n;
  }
  COLORREF Strip(int n) { return ImageColour(skin->ScrollBar->Bitmap, false, 23, n); }
  void OpenByClick(TCustomComboBox* c) {
    const RECT r = WindowRectOf(c->Handle());
    MouseClick(POINT{r.right - 8, (r.top + r.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return Dropped(c); }));
    Pump(60);
  }
  TComboBox* cbb = nullptr;
  TComboBox* cbe = nullptr;
  TComboBox* plain = nullptr;
  TComboBox* simple = nullptr;
  TSkinComBox* skinner = nullptr;
  TWinSkinForm* formSkinner = nullptr;
  int changes = 0;
  int plainChanges = 0;
};

TEST_F(Combos, EachKindOfComboBoxGetsItsSkinnerAndItsParts) {
  ShowForm();
  EXPECT_EQ(skinner->EditChild, nullptr) << "a drop-down list has no edit";
  EXPECT_EQ(skinner->DropDownListSkinner, nullptr) << "the list is skinned only while open";
  auto* e = SkinnerOf<TSkinComBox>(cbe);
  ASSERT_NE(e, nullptr);
  ASSERT_NE(e->EditChild, nullptr);
  EXPECT_EQ(e->EditChild, InfoOf(cbe->Handle()).hwndItem);
  EXPECT_TRUE(IsWindowSubclassed(e->EditChild));
  EXPECT_EQ(SkinnerOf<TSkinComBox>(plain), nullptr);
  // A simple combo box's list is a child window: its bars are covered.
  auto* s = SkinnerOf<TSkinComBox>(simple);
  ASSERT_NE(s, nullptr);
  const HWND list = InfoOf(simple->Handle()).hwndList;
  EXPECT_EQ(s->ListWindow, list);
  ASSERT_NE(s->DropListSkinner, nullptr);
  EXPECT_EQ(s->DropListSkinner->Handle, list);
  ASSERT_NE(s->DropListSkinner->VertBar, nullptr);
  EXPECT_TRUE(s->DropListSkinner->VertBar->Shown);
  const RECT o = WindowRectOf(s->DropListSkinner->VertBar->Handle());
  const RECT b = BarInfo(list).rcScrollBar;
  EXPECT_TRUE(EqualRect(&o, &b));
  // Its thumb drag scrolls the list.
  const POINT from = ListThumb(list);
  MouseDrag(from, POINT{from.x, from.y + 30});
  Pump(150);
  EXPECT_GT(ListTop(list), 0);
}

TEST_F(Combos, TheBoxIsPaintedInEachState) {
  ShowForm();
  const Probe p = ProbeOf(cbb->Handle());
  form->SetFocus();
  Pump(30);
  TCapture c = PaintInto(cbb->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(p.buttonX, p.y), ButtonOf(kComboNormal));
  EXPECT_EQ(c.At(p.edgeX, p.y), Whole(kComboNormal, 0, p.cellY));
  // Hot: the mouse over the button.
  const RECT r = WindowRectOf(cbb->Handle());
  MouseMoveTo(POINT{r.right - 8, (r.top + r.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return (skinner->MouseFlags & TSkinControl::kHot) != 0; }));
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboHot));
  // On the screen too.
  EXPECT_EQ(Screenshot(cbb->Handle()).At(p.buttonX, p.y), ButtonOf(kComboHot));
  // Leaving it clears the hot look; focus brings it back without the mouse.
  ParkMouse();
  ASSERT_TRUE(PumpUntil([&] { return (skinner->MouseFlags & TSkinControl::kHot) == 0; }));
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboNormal));
  cbb->SetFocus();
  Pump(30);
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboHot)) << "focused: the hot image";
  // Pressed: while the button is down.
  MouseMoveTo(POINT{r.right - 8, (r.top + r.bottom) / 2});
  MouseDown(POINT{r.right - 8, (r.top + r.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return (skinner->MouseFlags & TSkinControl::kDown) != 0; }));
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboPressed));
  MouseUp(POINT{r.right - 8, (r.top + r.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return (skinner->MouseFlags & TSkinControl::kDown) == 0; }));
  SendMessageW(cbb->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump(30);
  // Disabled: the disabled image, even while pressed.
  cbb->SetEnabled(false);
  Pump(20);
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboDisabled));
  skinner->MouseFlags |= TSkinControl::kDown;
  EXPECT_EQ(ButtonPixel(cbb->Handle()), ButtonOf(kComboDisabled));
  skinner->MouseFlags = 0;
  cbb->SetEnabled(true);
}

TEST_F(Combos, TheListOpensByMouseAndKeyboardWithItsBarSkinnedWhileOpen) {
  ShowForm();
  const HWND list = InfoOf(cbb->Handle()).hwndList;
  OpenByClick(cbb);
  ASSERT_NE(skinner->DropDownListSkinner, nullptr);
  EXPECT_EQ(skinner->DropDownListSkinner->Handle, list);
  EXPECT_TRUE(ListSkinned(list));
  EXPECT_EQ(ListSkinners(), 1);
  // The bar on the screen is the skin's.
  const SCROLLBARINFO b = BarInfo(list);
  const RECT lw = WindowRectOf(list);
  TCapture s = Screenshot(list);
  const int bx = (b.rcScrollBar.left + b.rcScrollBar.right) / 2 - lw.left - 1;
  EXPECT_EQ(s.At(bx, b.rcScrollBar.top - lw.top + 6), Strip(9)) << "the first arrow";
  EXPECT_EQ(s.At(bx, b.rcScrollBar.bottom - lw.top - 6), Strip(13)) << "the second arrow";
  // A click on an item picks it and closes the list, which is released.
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  POINT at = {item.left + 20, (item.top + item.bottom) / 2};
  ClientToScreen(list, &at);
  MouseClick(at);
  ASSERT_TRUE(PumpUntil([&] { return !Dropped(cbb); }));
  Pump(50);
  EXPECT_EQ(cbb->ItemIndex(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(skinner->DropDownListSkinner, nullptr);
  EXPECT_FALSE(ListSkinned(list));
  EXPECT_EQ(ListSkinners(), 0);
  EXPECT_EQ(skinner->MouseFlags & TSkinControl::kDown, 0u);

  // The keyboard: F4 opens, arrows move, Enter picks (the mouse away, so
  // that the list does not follow it).
  ParkMouse();
  for (TComboBox* c : {plain, cbb}) {
    c->SetFocus();
    Pump(20);
    KeyPress(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return Dropped(c); }));
    if (c == cbb) {
      EXPECT_TRUE(ListSkinned(list));
    }
    KeyPress(VK_DOWN);
    KeyPress(VK_DOWN);
    KeyPress(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !Dropped(c); }));
    Pump(30);
  }
  EXPECT_EQ(plain->ItemIndex(), 1);
  EXPECT_EQ(cbb->ItemIndex(), 5);
  EXPECT_EQ(changes, 1 + plainChanges) << "the same changes as on the unskinned box";
  EXPECT_FALSE(ListSkinned(list));
  // Alt+Down opens it as well, Escape closes without picking.
  KeyPress(VK_ESCAPE);
  INPUT in[4] = {};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wVk = VK_DOWN;
  in[2].ki.wVk = VK_DOWN;
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof in[0]);
  ASSERT_TRUE(PumpUntil([&] { return Dropped(cbb); }));
  EXPECT_TRUE(ListSkinned(list));
  KeyPress(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !Dropped(cbb); }));
  EXPECT_EQ(cbb->ItemIndex(), 5);
  EXPECT_FALSE(ListSkinned(list));
}

TEST_F(Combos, TheOpenListsThumbDragAndWheelScrollItAsWithoutTheSkin) {
  ShowForm();
  int tops[2][2] = {};
  TComboBox* combos[2] = {plain, cbb};
  for (int k = 0; k < 2; k++) {
    const HWND list = InfoOf(combos[k]->Handle()).hwndList;
    OpenByClick(combos[k]);
    const POINT from = ListThumb(list);
    MouseDrag(from, POINT{from.x, from.y + 40});
    Pump(150);
    tops[k][0] = ListTop(list);
    EXPECT_TRUE(Dropped(combos[k])) << "the drag leaves the list open";
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    MouseMoveTo(CentreOf(WindowRectOf(list)));
    Pump(30);
    MouseWheel(-1);
    Pump(100);
    tops[k][1] = ListTop(list);
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !Dropped(combos[k]); }));
    Pump(30);
  }
  EXPECT_GT(tops[0][0], 0);
  EXPECT_NEAR(tops[1][0], tops[0][0], 1) << "the skinned drag lands where the system's does";
  EXPECT_GT(tops[0][1], 0);
  EXPECT_EQ(tops[1][1], tops[0][1]);
  EXPECT_EQ(cbb->ItemIndex(), plain->ItemIndex()) << "nothing picked by the drag";
}

// The combo box list's drag loop, watched from a timer that runs inside it.
struct TDragWatch {
  static TComboxScrollBar* list;
  static bool sawDragging;
  static int action;  // 0 release the capture, 1 cancel mode, 2 quit
  static VOID CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    sawDragging = list && list->Dragging();
    switch (action) {
      case 0: ReleaseCapture(); break;
      case 1: SendMessageW(list->Handle, WM_CANCELMODE, 0, 0); break;
      default: PostQuitMessage(7); break;
    }
  }
};
TComboxScrollBar* TDragWatch::list = nullptr;
bool TDragWatch::sawDragging = false;
int TDragWatch::action = 0;

ULONGLONG ThreadCpuMs() {
  FILETIME c, e, k, u;
  GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
  auto ms = [](const FILETIME& f) { return ((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000; };
  return ms(k) + ms(u);
}

TEST_F(Combos, TheListsDragLoopWaitsAndEndsWhenItLosesTheMouse) {
  ShowForm();
  const HWND list = InfoOf(cbb->Handle()).hwndList;
  for (int action : {0, 1, 2}) {
    OpenByClick(cbb);
    ASSERT_NE(skinner->DropDownListSkinner, nullptr);
    TDragWatch::list = skinner->DropDownListSkinner;
    TDragWatch::sawDragging = false;
    TDragWatch::action = action;
    const POINT thumb = ListThumb(list);
    MouseMoveTo(thumb);
    MouseDown(thumb);
    ASSERT_NE(SetTimer(nullptr, 0, 400, TDragWatch::Tick), 0u);
    const ULONGLONG cpu = ThreadCpuMs();
    const DWORD start = GetTickCount();
    WPARAM quit = 0;
    bool sawQuit = false;
    // A loop of the test's own, so that a quit the drag put back is seen.
    while (GetTickCount() - start < 1200 && !sawQuit) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          sawQuit = true;
          quit = msg.wParam;
          break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (TDragWatch::sawDragging && !TDragWatch::list->Dragging()) break;
      Sleep(5);
    }
    EXPECT_TRUE(TDragWatch::sawDragging) << "the press on the thumb started the drag " << action;
    EXPECT_FALSE(skinner->DropDownListSkinner && skinner->DropDownListSkinner->Dragging()) << action;
    EXPECT_LT(ThreadCpuMs() - cpu, 250u) << "the loop waited for input rather than spinning " << action;
    if (action == 2) {
      EXPECT_TRUE(sawQuit) << "the quit taken out of the queue was put back";
      EXPECT_EQ(quit, 7u);
    }
    MouseUp(thumb);
    Pump(50);
    if (Dropped(cbb)) SendMessageW(cbb->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Pump(50);
  }
}

TEST_F(Combos, TheEditOfADropDownComboBoxStillTakesItsKeys) {
  ShowForm();
  auto* e = SkinnerOf<TSkinComBox>(cbe);
  ASSERT_NE(e, nullptr);
  cbe->SetFocus();
  Pump(20);
  KeyPress('A');
  KeyPress('B');
  Pump(60);
  EXPECT_EQ(cbe->Text(), "ab");
  // The edit child's focus counts as the box's: the hot image.
  EXPECT_EQ(ButtonPixel(cbe->Handle()), ButtonOf(kComboHot));
  // A press in the edit marks the box pressed until it is released.
  const RECT edit = WindowRectOf(e->EditChild);
  MouseMoveTo(CentreOf(edit));
  MouseDown(CentreOf(edit));
  ASSERT_TRUE(PumpUntil([&] { return (e->MouseFlags & TSkinControl::kDown) != 0; }));
  MouseUp(CentreOf(edit));
  ASSERT_TRUE(PumpUntil([&] { return (e->MouseFlags & TSkinControl::kDown) == 0; }));
}

TEST_F(Combos, TheSkinsOtherLooksAndAButtonOnTheLeft) {
  ShowForm();
  const RECT r = WindowRectOf(cbb->Handle());
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int e = GetSystemMetrics(SM_CXHSCROLL);
  form->SetFocus();
  Pump(20);
  // A box whose button is on the left draws it from the mirrored image.
  HWND raw = CreateWindowExW(WS_EX_LEFTSCROLLBAR, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                             20, 120, 150, 200, form->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  auto* left = new TSkinComBox(formSkinner);
  left->InitSkinHandle(raw, skin, formSkinner, nullptr);
  const RECT rr = WindowRectOf(raw);
  TCapture lc = PaintInto(raw, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(lc.At(3, (rr.bottom - rr.top) / 2), Whole(kComboNormal, 3, 10, skin->SunkEdge.get()));
  left->Free();
  DestroyWindow(raw);

  // The look drawn in parts: the edge, the button at the right, the edit
  // area left as the box drew it.
  skin->ComboButton->Style = kComboLookParts;
  TCapture parts = PaintInto(cbb->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(skinner->ButtonRect.left, w - e - 2);
  EXPECT_EQ(skinner->ButtonRect.right, w);
  TCapture own = PaintInto(plain->Handle(), WM_PAINT, 0);
  EXPECT_EQ(parts.At(w / 3, h / 2), own.At(w / 3, h / 2)) << "the edit area is the box's own";
  // The flat look: the box outlined in the shadow colour, the button one
  // image wide at the right.
  skin->ComboButton->Style = kComboLookFlat;
  TCapture flat = PaintInto(cbb->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  const COLORREF shadow = static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::ButtonShadow]));
  EXPECT_EQ(flat.At(0, h / 2), shadow);
  EXPECT_EQ(flat.At(w - 1, 2), shadow);
  EXPECT_EQ(skinner->ButtonRect.right, w - 2);
  EXPECT_EQ(skinner->ButtonRect.right - skinner->ButtonRect.left, skin->ComboButton->FrameWidth());
  const RECT b = skinner->ButtonRect;
  EXPECT_EQ(flat.At(b.left + skin->ComboButton->FrameWidth() - 3, b.top + 8),
            Whole(kComboNormal, skin->ComboButton->FrameWidth() - 3, 8));
  // In the flat look a press wins over the disabled state.
  cbb->SetEnabled(false);
  skinner->MouseFlags |= TSkinControl::kDown;
  flat = PaintInto(cbb->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(flat.At(b.left + skin->ComboButton->FrameWidth() - 3, b.top + 8),
            Whole(kComboPressed, skin->ComboButton->FrameWidth() - 3, 8));
  skinner->MouseFlags = 0;
  cbb->SetEnabled(true);
  skin->ComboButton->Style = kComboLookWhole;

  // The boxed arrow: the edit's place filled with the arrow image; a box
  // without a border gets no outline.
  auto* boxed = SkinnerOf<TSkinComBox>(cbe);
  boxed->Configure("BoxedArrow", "1");
  TCapture bx = PaintInto(cbe->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  RECT edit = WindowRectOf(boxed->EditChild);
  const RECT cw = WindowRectOf(cbe->Handle());
  OffsetRect(&edit, -cw.left, -cw.top);
  // (The arrow image's left column is its button's colour.)
  EXPECT_EQ(bx.At(edit.left + 1, (edit.top + edit.bottom) / 2),
            static_cast<COLORREF>(PixelsOf(skin->ComboArrow->Bitmap).Pixel(1, 8)));
  EXPECT_NE(bx.At(0, 0), shadow);
}

TEST_F(Combos, WithoutTheButtonImageTheSystemDrawsTheBox) {
  ShowForm();
  form->SetFocus();
  Pump(20);
  skin->ComboButton.reset();
  const Probe p = ProbeOf(cbb->Handle());
  EXPECT_EQ(PaintInto(cbb->Handle(), SKM_PAINTCLIENTTO, kSkinMarker).At(p.buttonX, p.y),
            PaintInto(plain->Handle(), WM_PAINT, 0).At(p.buttonX, p.y));
}

TEST_F(Combos, SwitchedOffEveryPartIsGivenBack) {
  ShowForm();
  auto* e = SkinnerOf<TSkinComBox>(cbe);
  const HWND edit = e->EditChild;
  auto* s = SkinnerOf<TSkinComBox>(simple);
  const HWND overlay = s->DropListSkinner->VertBar->Handle();
  const HWND list = InfoOf(cbb->Handle()).hwndList;
  const HWND simpleList = InfoOf(simple->Handle()).hwndList;
  // Switched off while the list is open.
  OpenByClick(cbb);
  ASSERT_TRUE(ListSkinned(list));
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinComBox>(cbb) == nullptr; }));
  EXPECT_FALSE(ListSkinned(list));
  EXPECT_EQ(SkinnerOf<TComboxScrollBar>(cbb), nullptr);
  EXPECT_EQ(SkinnerOf<TSkinComBox>(cbe), nullptr);
  EXPECT_FALSE(IsWindowSubclassed(edit));
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(SendMessageW(simpleList, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(cbb->Handle(), SKM_ISSKINNED, 0, 0), 0);
  // The list still works: Escape closes it, a pick by keyboard still goes.
  KeyPress(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !Dropped(cbb); }));
  cbb->SetFocus();
  KeyPress(VK_F4);
  ASSERT_TRUE(PumpUntil([&] { return Dropped(cbb); }));
  KeyPress(VK_DOWN);
  KeyPress(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !Dropped(cbb); }));
  EXPECT_EQ(cbb->ItemIndex(), 0);
}

TEST_F(Combos, TheSkinnersGoWithTheComboBox) {
  ShowForm();
  const size_t before = formSkinner->FSkinners.size();
  OpenByClick(cbb);
  EXPECT_EQ(formSkinner->FSkinners.size(), before + 1);
  SendMessageW(cbb->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump(30);
  EXPECT_EQ(formSkinner->FSkinners.size(), before);
  simple->Free();
  simple = nullptr;
  EXPECT_EQ(formSkinner->FSkinners.size(), before - 2) << "the box's and its list's";
  cbe->Free();
  cbe = nullptr;
  EXPECT_EQ(formSkinner->FSkinners.size(), before - 3);
  Pump(30);
}

// ---- the date-time picker ----------------------------------------------------------

const TClassInfo& PickerKind() {
  static const TClassInfo info("TDateTimePicker", &TWinControl::StaticClass());
  return info;
}

class DateTimes : public SkinnedFormTest {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    SkinnedFormTest::SetUp();
  }
  void AfterFormFreed() override { ParkMouse(); }
  TStandIn* AddPicker(int left, int top, DWORD exStyle = 0) {
    auto* p = new TStandIn(form, PickerKind(), DATETIMEPICK_CLASSW, 0, WS_EX_CLIENTEDGE | exStyle);
    p->SetParent(form);
    p->SetBounds(left, top, 160, 24);
    return p;
  }
  void ShowForm() {
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 460, 340);
    picker = AddPicker(20, 20);
    plain = AddPicker(240, 20);
    plain->SetTag(99);
    left = AddPicker(20, 80, WS_EX_LEFTSCROLLBAR);
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinnerOf<TSkinDateTime>(picker);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->ArrowButton, nullptr);
    Pump(50);
  }
  COLORREF Arrow(int n) { return ImageColour(skin->ComboArrow->Bitmap, false, skin->ComboArrow->Frame, n); }
  bool CalendarOpen(TStandIn* p) {
    HWND cal = reinterpret_cast<HWND>(SendMessageW(p->Handle(), DTM_GETMONTHCAL, 0, 0));
    return cal && IsWindowVisible(cal);
  }
  // The calendar is closed by the picker (the system keeps it open until
  // a date is picked, whatever the mouse does elsewhere).
  void CloseCalendar(TStandIn* p) {
    constexpr UINT kCloseMonthCal = DTM_FIRST + 13;
    SendMessageW(p->Handle(), kCloseMonthCal, 0, 0);
    HWND cal = reinterpret_cast<HWND>(SendMessageW(p->Handle(), DTM_GETMONTHCAL, 0, 0));
    if (cal && IsWindowVisible(cal)) ShowWindow(cal, SW_HIDE);
    Pump(50);
  }
  TStandIn* picker = nullptr;
  TStandIn* plain = nullptr;
  TStandIn* left = nullptr;
  TSkinDateTime* skinner = nullptr;
};

TEST_F(DateTimes, ThePickerGetsTheBoxedFrameAndAnArrowButtonOverItsOwn) {
  ShowForm();
  HWND arrow = skinner->ArrowButton->Handle();
  EXPECT_EQ(GetParent(arrow), picker->Handle());
  EXPECT_TRUE(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
  const RECT pw = WindowRectOf(picker->Handle()), aw = WindowRectOf(arrow);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(aw.right - aw.left, a);
  EXPECT_EQ(aw.bottom - aw.top, (pw.bottom - pw.top) - 4);
  POINT at = {aw.left, aw.top};
  ScreenToClient(picker->Handle(), &at);
  EXPECT_EQ(at.x, (pw.right - pw.left) - a - 4);
  EXPECT_EQ(at.y, 0);
  // The arrow in the skin's arrow image; hot under the mouse.
  EXPECT_EQ(PaintInto(arrow, WM_PAINT, 0).At(a / 2, (aw.bottom - aw.top) / 2), Arrow(1));
  MouseMoveTo(CentreOf(aw));
  ASSERT_TRUE(PumpUntil([&] { return skinner->ArrowButton->Hovering(); }));
  EXPECT_EQ(PaintInto(arrow, WM_PAINT, 0).At(a / 2, (aw.bottom - aw.top) / 2), Arrow(4));
  ParkMouse();
  ASSERT_TRUE(PumpUntil([&] { return !skinner->ArrowButton->Hovering(); }));
  // The frame: a shadow outline with a white one inside.
  TCapture c = PaintInto(picker->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(0, 10), static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::ButtonShadow])));
  EXPECT_EQ(c.At(1, 10), RGB(255, 255, 255));
  // A picker with its button on the left has the arrow 2 pixels in.
  auto* l = SkinnerOf<TSkinDateTime>(left);
  ASSERT_NE(l, nullptr);
  const RECT lw = WindowRectOf(l->ArrowButton->Handle());
  POINT lat = {lw.left, lw.top};
  ScreenToClient(left->Handle(), &lat);
  EXPECT_EQ(lat.x, 2);
  // Resized, the arrow follows the picker's right edge.
  picker->SetBounds(20, 20, 200, 24);
  Pump(50);
  const RECT now = WindowRectOf(arrow);
  POINT nat = {now.left, now.top};
  ScreenToClient(picker->Handle(), &nat);
  EXPECT_EQ(nat.x, 200 - a - 4);
}

TEST_F(DateTimes, AClickOnTheArrowOpensTheCalendarAsOnThePickersOwnButton) {
  ShowForm();
  for (TStandIn* p : {plain, picker}) {
    const RECT pw = WindowRectOf(p->Handle());
    MouseClick(POINT{pw.right - 10, (pw.top + pw.bottom) / 2});
    EXPECT_TRUE(PumpUntil([&] { return CalendarOpen(p); })) << (p == picker ? "skinned" : "plain");
    CloseCalendar(p);
  }
  EXPECT_EQ(GetFocus(), picker->Handle()) << "the picker has the focus after the click";
}

TEST_F(DateTimes, SwitchedOffTheArrowButtonGoesAndThePickerIsAsItWas) {
  ShowForm();
  const HWND arrow = skinner->ArrowButton->Handle();
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinDateTime>(picker) == nullptr; }));
  EXPECT_FALSE(IsWindow(arrow));
  EXPECT_FALSE(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(SendMessageW(picker->Handle(), SKM_ISSKINNED, 0, 0), 0);
  const RECT pw = WindowRectOf(picker->Handle());
  MouseClick(POINT{pw.right - 10, (pw.top + pw.bottom) / 2});
  EXPECT_TRUE(PumpUntil([&] { return CalendarOpen(picker); }));
  CloseCalendar(picker);
}

}  // namespace
