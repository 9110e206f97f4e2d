// The scroll-bar skinners on real windows: the overlays over a list box's
// bars (where they lie, their pixels in each state, the user's drag,
// clicks and wheel scrolling the list exactly as without the skin), the
// flat frame, FixedColor, a window made anew, a skin without the bar's
// objects, a plain window's bars, and every skinner and overlay going when
// the control goes or skinning is switched off. Also the arithmetic of the
// bar's parts on its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "Application.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "ListBox.h"
#include "ScrollBarSkinners.h"
#include "ScrollGeometry.h"
#include "ScrollListTestSupport.h"
#include "SkinnedFormFixture.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;
using namespace scrolltest;

namespace {

// ---- the arithmetic ---------------------------------------------------------

// The edge cases of the bar's arithmetic (the usual cases are probed on
// windows below).
TEST(ScrollGeometry, ShortBarsThinThumbsAndEmptyRangesStayInsideTheBar) {
  // A dragged thumb keeps its length and stays between the arrows.
  EXPECT_EQ(TrackThumbSpan(40, -100, 20, 17, 100).start, 17);
  EXPECT_EQ(TrackThumbSpan(40, 100, 20, 17, 100).end, 83);
  // A bar shorter than two arrows has two half-length arrows.
  EXPECT_EQ(ArrowLength(17, 30), 15);
  // The strip's thickness, unless it is 3 or more pixels off the system's.
  EXPECT_EQ(BarThickness(19, 17), 19);
  EXPECT_EQ(BarThickness(20, 17), 17);
  EXPECT_EQ(BarThickness(14, 17), 17);
  // A gripper that does not fit the thumb is left out.
  TThumbSpan grip;
  EXPECT_FALSE(GripperSpan(TThumbSpan{20, 34}, 16, grip));
  // A page thumb shorter than 8 pixels is 8 pixels long; an empty range
  // keeps the thumb at the first arrow.
  EXPECT_EQ(ControlThumbSpan(134, 17, 0, 1000, 2, 500).Length(), 8);
  EXPECT_EQ(ControlThumbSpan(134, 17, 5, 5, 0, 6).start, 17);
  // The system's rounding, and no divisor.
  EXPECT_EQ(SystemMulDiv(-5, 1, 2), -3);
  EXPECT_EQ(SystemMulDiv(7, 3, 0), -1);
}

TEST(ScrollGeometry, ADraggedListThumbNeverDividesByNothing) {
  // Before the start and past the end of a track of 100 with a thumb of 20.
  EXPECT_EQ(DragScrollPosition(-30, 100, 20, 0, 99, 10), 0);
  EXPECT_EQ(DragScrollPosition(500, 100, 20, 0, 99, 10), 90);
  EXPECT_EQ(DragScrollPosition(500, 100, 20, 0, 99, 0), SystemMulDiv(80, 99, 100));
  // A thumb that fills the track, or no track at all.
  EXPECT_EQ(DragScrollPosition(10, 20, 20, 3, 99, 10), 3);
  EXPECT_EQ(DragScrollPosition(10, 0, 0, 3, 99, 0), 3);
  // Frames are kept inside the strip.
  EXPECT_EQ(SafeFrame(3, 0), 1);
  EXPECT_EQ(SafeFrame(0, 4), 1);
  EXPECT_EQ(SafeFrame(9, 4), 4);
}

// ---- on windows ------------------------------------------------------------------

SCROLLBARINFO BarInfo(HWND h, LONG id) {
  SCROLLBARINFO i = {};
  i.cbSize = sizeof i;
  GetScrollBarInfo(h, id, &i);
  return i;
}

int TopIndex(TListBox* l) { return static_cast<int>(SendMessageW(l->Handle(), LB_GETTOPINDEX, 0, 0)); }

// A stand-in with the FixedColor property of grids.
class TFixedGrid : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFixedGrid>("TFixedGrid", &TWinControl::StaticClass())
                                       .Int("FixedColor", &TFixedGrid::FixedColor, &TFixedGrid::SetFixedColor, 0);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFixedGrid(TComponent* owner) : TWinControl(owner) {}
  int32_t FixedColor() const { return fixed_; }
  void SetFixedColor(int32_t v) { fixed_ = v; }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.style |= WS_VSCROLL | WS_HSCROLL;
    p.exStyle |= WS_EX_CLIENTEDGE;
  }

 private:
  int32_t fixed_ = 0x00112233;
};

class ScrollBars : public SkinnedFormTest {
 protected:
  void AfterFormFreed() override { ParkMouse(); }
  TListBox* AddList(int left, int top, int height, int items) {
    auto* l = new TListBox(form);
    l->SetParent(form);
    l->SetBounds(left, top, 150, height);
    for (int i = 0; i < items; i++) l->Items()->Add("item " + std::to_string(i));
    return l;
  }
  // A form with a skinned list and an unskinned one (the DisableTag) of
  // the same size and contents.
  void ShowForm(const std::function<void()>& extra = nullptr) {
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 420, 320);
    list = AddList(20, 20, 150, 100);
    plain = AddList(200, 20, 150, 100);
    plain->SetTag(99);
    if (extra) extra();
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinnerOf<TSkinScrollbar>(list);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->VertBar, nullptr);
    Pump(50);
  }
  // The overlay as it paints itself into a memory DC.
  TCapture PaintBar(TWScrollbar* bar) { return PaintInto(bar->Handle(), WM_PAINT, 0); }
  COLORREF Strip(int n) { return ImageColour(skin->ScrollBar->Bitmap, false, kScrollStripFrames, n); }
  COLORREF Track(int n) { return ImageColour(skin->VertScroll->Bitmap, false, kTrackFrames, n); }
  COLORREF Thumb(int n) { return ImageColour(skin->VertScrollThumb->Bitmap, false, skin->HorzScrollThumb->Frame, n); }
  COLORREF Colour(int slot) { return static_cast<COLORREF>(ColorToRGB(skin->Colors[slot])); }
  // Probe points of the vertical overlay, in its own coordinates.
  struct Probe {
    int x, firstArrow, secondArrow, thumb, trackAfter;
  };
  Probe ProbeOf(TWScrollbar* bar) {
    SCROLLBARINFO i = BarInfo(bar->TargetWindow, OBJID_VSCROLL);
    const int len = i.rcScrollBar.bottom - i.rcScrollBar.top, a = bar->ArrowSize;
    return Probe{(i.rcScrollBar.right - i.rcScrollBar.left) / 2, a / 2, len - a / 2, i.xyThumbTop + 3,
                 (i.xyThumbBottom + len - a) / 2};
  }
  TListBox* list = nullptr;
  TListBox* plain = nullptr;
  TSkinScrollbar* skinner = nullptr;
};

TEST_F(ScrollBars, TheOverlayLiesExactlyOverTheBarDirectlyAboveTheControl) {
  ShowForm();
  TWScrollbar* v = skinner->VertBar;
  auto same = [&] {
    const RECT o = WindowRectOf(v->Handle());
    const RECT b = BarInfo(list->Handle(), OBJID_VSCROLL).rcScrollBar;
    return EqualRect(&o, &b) != FALSE;
  };
  EXPECT_TRUE(v->Shown);
  EXPECT_TRUE(IsWindowVisible(v->Handle()));
  EXPECT_TRUE(same());
  EXPECT_EQ(GetParent(v->Handle()), form->Handle()) << "a sibling of the control";
  EXPECT_EQ(GetWindow(list->Handle(), GW_HWNDPREV), v->Handle()) << "directly above the control";
  EXPECT_EQ(GetWindowLongW(v->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  // The list has no horizontal bar: that overlay stays hidden.
  ASSERT_NE(skinner->HorzBar, nullptr);
  EXPECT_FALSE(skinner->HorzBar->Shown);
  EXPECT_FALSE(IsWindowVisible(skinner->HorzBar->Handle()));
  // It follows the control when it moves and is resized.
  list->SetBounds(30, 40, 170, 120);
  Pump(30);
  EXPECT_TRUE(same());
  // Hidden with the control, placed anew when it shows again.
  list->Hide();
  Pump(30);
  EXPECT_FALSE(IsWindowVisible(v->Handle()));
  list->SetBounds(10, 10, 150, 150);
  list->Show();
  Pump(30);
  EXPECT_TRUE(IsWindowVisible(v->Handle()));
  EXPECT_TRUE(same());
  // A list whose items fit loses its bar, and the overlay with it; more
  // items bring both back.
  list->Items()->Clear();
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(v->Handle()));
  for (int i = 0; i < 50; i++) list->Items()->Add("again " + std::to_string(i));
  list->Invalidate();
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(v->Handle()));
  EXPECT_TRUE(same());
}

TEST_F(ScrollBars, TheBarIsPaintedFromTheSkinInEachState) {
  ShowForm();
  TWScrollbar* v = skinner->VertBar;
  const Probe p = ProbeOf(v);
  TCapture c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.firstArrow), Strip(kArrowUpFrame));
  EXPECT_EQ(c.At(p.x, p.secondArrow), Strip(kArrowDownFrame));
  EXPECT_EQ(c.At(p.x, p.thumb), Thumb(kThumbNormalFrame));
  EXPECT_EQ(c.At(p.x, p.trackAfter), Track(kTrackNormalFrame));

  // Hot: the mouse over the second arrow, then over the thumb.
  const RECT o = WindowRectOf(v->Handle());
  MouseMoveTo(POINT{o.left + p.x, o.top + p.secondArrow});
  ASSERT_TRUE(PumpUntil([&] { return v->HotPart == kPartSecondArrow; }));
  c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.secondArrow), Strip(kArrowDownFrame + kArrowHotStep));
  EXPECT_EQ(c.At(p.x, p.firstArrow), Strip(kArrowUpFrame));
  MouseMoveTo(POINT{o.left + p.x, o.top + p.thumb});
  ASSERT_TRUE(PumpUntil([&] { return v->HotPart == kPartThumb; }));
  c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.thumb), Thumb(kThumbHotFrame));
  // Leaving the bar clears the highlight.
  ParkMouse();
  ASSERT_TRUE(PumpUntil([&] { return v->HotPart == kPartNone; }));

  // The scroll codes the control receives name the part: a line up lights
  // the first arrow, the end of a scroll lights nothing.
  SendMessageW(list->Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(v->HotPart, kPartFirstArrow);
  EXPECT_EQ(PaintBar(v).At(p.x, p.firstArrow), Strip(kArrowUpFrame + kArrowHotStep));
  SendMessageW(list->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(PaintBar(v).At(p.x, p.firstArrow), Strip(kArrowUpFrame));

  // Disabled: the track's disabled image and no thumb.
  EnableScrollBar(list->Handle(), SB_VERT, ESB_DISABLE_BOTH);
  c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.thumb), Track(kTrackDisabledFrame));
  EXPECT_EQ(c.At(p.x, p.trackAfter), Track(kTrackDisabledFrame));
  EnableScrollBar(list->Handle(), SB_VERT, ESB_ENABLE_BOTH);
}

// What a timer sees from inside the system's tracking loop, which runs
// while the button is down: it paints the overlay and lets the button go.
struct TLookInside {
  static HWND overlay;
  static POINT release;
  static bool looked;
  static TCapture seen;
  static VOID CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    seen = PaintInto(overlay, WM_PAINT, 0);
    looked = true;
    MouseUp(release);
  }
  static bool Run(HWND bar, POINT press, POINT moveTo) {
    overlay = bar;
    release = moveTo;
    looked = false;
    MouseMoveTo(press);
    MouseDown(press);
    if (moveTo.y != press.y) {
      MouseMoveTo(POINT{press.x, (press.y + moveTo.y) / 2});
      MouseMoveTo(moveTo);
    }
    if (!SetTimer(nullptr, 0, 150, Tick)) return false;
    return PumpUntil([] { return looked; });
  }
};
HWND TLookInside::overlay = nullptr;
POINT TLookInside::release = {0, 0};
bool TLookInside::looked = false;
TCapture TLookInside::seen;

TEST_F(ScrollBars, APressedArrowAndADraggedThumbAreDrawnWhileTheSystemTracks) {
  ShowForm();
  TWScrollbar* v = skinner->VertBar;
  const Probe p = ProbeOf(v);
  const RECT o = WindowRectOf(v->Handle());
  // The second arrow held down.
  const POINT arrow = {o.left + p.x, o.top + p.secondArrow};
  ASSERT_TRUE(TLookInside::Run(v->Handle(), arrow, arrow));
  Pump(50);
  EXPECT_EQ(TLookInside::seen.At(p.x, p.secondArrow), Strip(kArrowDownFrame + kArrowPressedStep));
  EXPECT_GT(TopIndex(list), 0) << "the press scrolled the list";
  EXPECT_FALSE(v->Pressed);

  // The thumb dragged 30 pixels down: drawn where the cursor took it.
  SendMessageW(list->Handle(), LB_SETTOPINDEX, 0, 0);
  Pump(30);
  const SCROLLBARINFO before = BarInfo(list->Handle(), OBJID_VSCROLL);
  const POINT grab = {o.left + p.x, o.top + p.thumb};
  ASSERT_TRUE(TLookInside::Run(v->Handle(), grab, POINT{grab.x, grab.y + 30}));
  Pump(50);
  EXPECT_EQ(TLookInside::seen.At(p.x, before.xyThumbTop + 30 + 2), Thumb(kThumbPressedFrame));
  EXPECT_NE(TLookInside::seen.At(p.x, before.xyThumbTop + 2), Thumb(kThumbPressedFrame)) << "not left where it was";
  EXPECT_GT(TopIndex(list), 0);
}

TEST_F(ScrollBars, DragsClicksAndTheWheelScrollTheListAsWithoutTheSkin) {
  ShowForm();
  ASSERT_EQ(SkinnerOf<TSkinScrollbar>(plain), nullptr);
  auto thumbOf = [](TListBox* l) {
    const SCROLLBARINFO b = BarInfo(l->Handle(), OBJID_VSCROLL);
    return POINT{(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
                 b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
  };
  auto secondArrowOf = [](TListBox* l) {
    const SCROLLBARINFO b = BarInfo(l->Handle(), OBJID_VSCROLL);
    return POINT{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 4};
  };
  // The last drag runs past the bar's end (the cursor stays on the form).
  for (int distance : {25, 60, 150}) {
    for (TListBox* l : {plain, list}) {
      SendMessageW(l->Handle(), LB_SETTOPINDEX, 0, 0);
      Pump(20);
      const POINT from = thumbOf(l);
      MouseDrag(from, POINT{from.x, from.y + distance});
      Pump(150);
    }
    EXPECT_GT(TopIndex(plain), 0);
    EXPECT_EQ(TopIndex(list), TopIndex(plain)) << "a drag of " << distance;
  }
  // The overlay shows the thumb where the list's bar has it.
  const SCROLLBARINFO now = BarInfo(list->Handle(), OBJID_VSCROLL);
  EXPECT_EQ(PaintBar(skinner->VertBar).At(ProbeOf(skinner->VertBar).x, now.xyThumbTop + 3),
            Thumb(kThumbNormalFrame));
  // A click on the second arrow: one line.
  for (TListBox* l : {plain, list}) {
    SendMessageW(l->Handle(), LB_SETTOPINDEX, 0, 0);
    Pump(20);
    MouseClick(secondArrowOf(l));
    Pump(100);
  }
  EXPECT_EQ(TopIndex(plain), 1);
  EXPECT_EQ(TopIndex(list), 1);
  // The wheel over each list.
  for (TListBox* l : {plain, list}) {
    SendMessageW(l->Handle(), LB_SETTOPINDEX, 0, 0);
    l->SetFocus();
    MouseMoveTo(CentreOf(WindowRectOf(l->Handle())));
    Pump(30);
    MouseWheel(-2);
    Pump(100);
  }
  EXPECT_GT(TopIndex(plain), 0);
  EXPECT_EQ(TopIndex(list), TopIndex(plain));
}

TEST_F(ScrollBars, TheBorderGetsAFlatFrameInTheSkinsColours) {
  ShowForm();
  EXPECT_TRUE(skinner->FrameFlag);
  RECT w = WindowRectOf(list->Handle());
  // Drawn into a given device context on the engine's request.
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w.right - w.left, -(w.bottom - w.top), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* px = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &px, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  EXPECT_EQ(SendMessageW(list->Handle(), SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(dc), kSkinMarker), kSkinMarker);
  EXPECT_EQ(GetPixel(dc, 0, 0), Colour(sc::ButtonShadow));
  EXPECT_EQ(GetPixel(dc, 1, 1), Colour(sc::ButtonFace));
  EXPECT_EQ(GetPixel(dc, w.right - w.left - 1, 30), Colour(sc::ButtonShadow));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  // And on the screen, over the system's border.
  RedrawWindow(list->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TCapture s = Screenshot(list->Handle());
  EXPECT_EQ(s.At(0, 40), Colour(sc::ButtonShadow));
  EXPECT_EQ(s.At(1, 40), Colour(sc::ButtonFace));
  // The unskinned list keeps the system's border.
  TCapture n = Screenshot(plain->Handle());
  EXPECT_NE(n.At(0, 40), Colour(sc::ButtonShadow));
}

TEST_F(ScrollBars, ASingleBarKindHasNoFrameAndBordersNoneNeither) {
  ShowForm();
  auto* single = new TListBox(form);
  single->SetParent(form);
  single->SetBounds(20, 200, 100, 60);
  for (int i = 0; i < 30; i++) single->Items()->Add("x");
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  auto* s = static_cast<TSkinScrollbar*>(MakeSkinner("TSkinScrollbar", single));
  s->Configure("Mode", "1");
  s->InitScrollSkin(single, skin, f, nullptr);
  EXPECT_FALSE(s->FrameFlag);
  EXPECT_TRUE(s->Skinned);
  EXPECT_TRUE(s->VertBar->Shown);
  // A second set-up changes nothing.
  TWScrollbar* bar = s->VertBar;
  s->InitScrollSkin(single, skin, f, nullptr);
  EXPECT_EQ(s->VertBar, bar);
}

TEST_F(ScrollBars, FixedColorTakesTheFaceOnceAndIsGivenBack) {
  TFixedGrid* grid = nullptr;
  ShowForm([&] {
    grid = new TFixedGrid(form);
    grid->SetParent(form);
    grid->SetBounds(20, 190, 150, 80);
  });
  auto* s = SkinnerOf<TSkinScrollbar>(grid);
  ASSERT_NE(s, nullptr) << "a control with scroll bars";
  const int32_t face = static_cast<int32_t>(skin->Colors[sc::ButtonFace]);
  EXPECT_EQ(grid->FixedColor(), face);
  EXPECT_EQ(s->SavedColour, 0x00112233);
  // A skin change re-applies the face without taking it for the control's own.
  s->ApplySkinChange();
  s->ApplySkinChange();
  EXPECT_EQ(s->SavedColour, 0x00112233);
  EXPECT_EQ(grid->FixedColor(), face);
  EXPECT_EQ(grid->Color(), clBtnFace) << "Color itself is not touched";
  // Both bars of the grid are covered, and the corner between them.
  EXPECT_TRUE(s->VertBar->Shown);
  EXPECT_TRUE(s->HorzBar->Shown);
  // Switched off: the control's colour comes back.
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinScrollbar>(grid) == nullptr; }));
  EXPECT_EQ(grid->FixedColor(), 0x00112233);
  EXPECT_EQ(grid->Color(), clBtnFace);
}

TEST_F(ScrollBars, SwitchedOffEverySkinnerAndOverlayGoesAndTheListIsAsItWas) {
  ShowForm();
  const HWND v = skinner->VertBar->Handle(), h = skinner->HorzBar->Handle();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  ASSERT_NE(f->FindSkinnerByHandle(list->Handle()), nullptr);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinScrollbar>(list) == nullptr; }));
  EXPECT_FALSE(IsWindow(v));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SendMessageW(list->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(GetWindow(list->Handle(), GW_HWNDPREV), nullptr) << "nothing left above the list";
  // The system's border is back, as on the list that never was skinned.
  Pump(100);
  TCapture s = Screenshot(list->Handle());
  TCapture n = Screenshot(plain->Handle());
  EXPECT_EQ(s.At(0, 40), n.At(0, 40));
  EXPECT_EQ(s.At(1, 40), n.At(1, 40));
  // The list still scrolls with the mouse.
  const SCROLLBARINFO b = BarInfo(list->Handle(), OBJID_VSCROLL);
  const POINT from = {(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
                      b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
  MouseDrag(from, POINT{from.x, from.y + 40});
  Pump(150);
  EXPECT_GT(TopIndex(list), 0);
}

TEST_F(ScrollBars, TheSkinnerAndItsOverlaysGoWithTheControl) {
  ShowForm();
  const HWND v = skinner->VertBar->Handle();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t registered = f->FSkinners.size();
  list->Free();
  list = nullptr;
  EXPECT_FALSE(IsWindow(v));
  EXPECT_EQ(f->FSkinners.size(), registered - 1);
  Pump(50);
}

TEST_F(ScrollBars, AWindowMadeAnewKeepsItsSkinnerAndOverlays) {
  ShowForm();
  const HWND before = list->Handle();
  list->RecreateWnd();
  ASSERT_NE(list->Handle(), before);
  Pump(80);
  auto* s = SkinnerOf<TSkinScrollbar>(list);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Handle, list->Handle());
  EXPECT_EQ(s->State, 1);
  ASSERT_NE(s->VertBar, nullptr);
  EXPECT_EQ(s->VertBar->TargetWindow, list->Handle());
  EXPECT_EQ(SendMessageW(list->Handle(), SKM_ISSKINNED, 0, 0), 1);
  const RECT o = WindowRectOf(s->VertBar->Handle());
  const RECT b = BarInfo(list->Handle(), OBJID_VSCROLL).rcScrollBar;
  EXPECT_TRUE(EqualRect(&o, &b));
}

TEST_F(ScrollBars, TheFormsReskinningMakesAWholeNewSkinner) {
  ShowForm();
  // The form skinner frees the control's scroll-bar skinner and makes a new
  // one through the base's set-up, which comes to the scroll bars' own.
  const HWND oldBar = skinner->VertBar->Handle();
  SendMessageW(form->Handle(), SKM_RESKINSCROLLBAR, reinterpret_cast<WPARAM>(list->Handle()), 0);
  Pump(50);
  EXPECT_FALSE(IsWindow(oldBar));
  auto* fresh = SkinnerOf<TSkinScrollbar>(list);
  ASSERT_NE(fresh, nullptr);
  ASSERT_NE(fresh->VertBar, nullptr);
  EXPECT_TRUE(fresh->VertBar->Shown);
  EXPECT_TRUE(fresh->FrameFlag);
  const RECT o = WindowRectOf(fresh->VertBar->Handle());
  const RECT b = BarInfo(list->Handle(), OBJID_VSCROLL).rcScrollBar;
  EXPECT_TRUE(EqualRect(&o, &b));
}

TEST_F(ScrollBars, ASkinWithoutTheBarsObjectsLeavesTheSystemsBar) {
  ShowForm();
  TWScrollbar* v = skinner->VertBar;
  const Probe p = ProbeOf(v);
  // No thumb object: arrows and track still drawn, no thumb.
  skin->VertScrollThumb.reset();
  TCapture c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.firstArrow), Strip(kArrowUpFrame));
  EXPECT_EQ(c.At(p.x, p.thumb), Track(kTrackNormalFrame));
  // No strip at all: nothing is painted.
  skin->ScrollBar.reset();
  c = PaintBar(v);
  EXPECT_EQ(c.At(p.x, p.firstArrow), 0x563412u) << "the memory DC's own colour, untouched";
  EXPECT_EQ(c.At(p.x, p.trackAfter), 0x563412u);
}

TEST_F(ScrollBars, APlainWindowsBarsAreCoveredToo) {
  ShowForm();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  HWND raw = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                                                     LBS_DISABLENOSCROLL,
                             20, 190, 150, 90, form->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  SendMessageW(raw, LB_SETHORIZONTALEXTENT, 600, 0);
  for (int i = 0; i < 40; i++) SendMessageW(raw, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a plain list's item"));
  auto* s = new TSkinScrollbarH(f);
  s->InitSkinHandle(raw, skin, f, nullptr);
  ASSERT_NE(s->VertBar, nullptr);
  ASSERT_NE(s->HorzBar, nullptr);
  Pump(30);
  for (auto [bar, id] : {std::pair<TWScrollbar*, LONG>{s->VertBar, OBJID_VSCROLL}, {s->HorzBar, OBJID_HSCROLL}}) {
    EXPECT_TRUE(bar->Shown);
    const RECT o = WindowRectOf(bar->Handle());
    const RECT b = BarInfo(raw, id).rcScrollBar;
    EXPECT_TRUE(EqualRect(&o, &b));
  }
  EXPECT_EQ(PaintBar(s->HorzBar).At(s->HorzBar->ArrowSize / 2, 8), Strip(kArrowLeftFrame));
  EXPECT_EQ(PaintBar(s->VertBar).At(8, s->VertBar->ArrowSize / 2), Strip(kArrowUpFrame));
  // The thumb drag through the overlay scrolls the plain list.
  const SCROLLBARINFO b = BarInfo(raw, OBJID_VSCROLL);
  const POINT from = {(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
                      b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
  MouseDrag(from, POINT{from.x, from.y + 30});
  Pump(150);
  EXPECT_GT(SendMessageW(raw, LB_GETTOPINDEX, 0, 0), 0);
  // Hidden: no bars shown.
  ShowWindow(raw, SW_HIDE);
  SendMessageW(raw, WM_SIZE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(s->VertBar->Handle()));
  EXPECT_FALSE(IsWindowVisible(s->HorzBar->Handle()));
  // Unskinned: the overlays go, the subclass passes everything on.
  const HWND v = s->VertBar->Handle();
  s->Unskin();
  EXPECT_EQ(s->VertBar, nullptr);
  EXPECT_FALSE(IsWindow(v));
  s->Free();
  EXPECT_EQ(SendMessageW(raw, SKM_ISSKINNED, 0, 0), 0);
  DestroyWindow(raw);
}

}  // namespace
