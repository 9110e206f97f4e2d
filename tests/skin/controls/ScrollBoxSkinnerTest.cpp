// The scroll-box skinner on a scroll-bar control (a stand-in of the kind
// over the system's SCROLLBAR class): found by discovery, the overlay over
// the whole control, the bar's pixels (vertical and horizontal, a short
// page thumb, an empty range, disabled), the drag scrolling the control as
// without the skin, hiding and showing, and the overlay freed once
// whichever of it and the control goes first.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "Application.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "ScrollBoxSkinner.h"
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

const TClassInfo& ScrollingKind() {
  static const TClassInfo info("TScrollingWinControl", &TWinControl::StaticClass());
  return info;
}

enum TBarKind { sbHorizontal, sbVertical };
const TEnumType& BarKindType() {
  static const TEnumType t{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
  return t;
}

// A scroll-bar control that moves its thumb as an application does when
// it is told of a scroll.
class TBarBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TBarBox>("TBarBox", &ScrollingKind())
                                       .Enum("Kind", BarKindType(), &TBarBox::Kind, &TBarBox::SetKind, sbVertical);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TBarBox(TComponent* owner) : TWinControl(owner) {}
  TBarKind Kind() const { return kind_; }
  void SetKind(TBarKind k) { kind_ = k; }
  void SetRange(int nMin, int nMax, int page, int pos) {
    SCROLLINFO si = {sizeof si, SIF_ALL, nMin, nMax, static_cast<UINT>(page), pos, 0};
    SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
  }
  int Position() { return GetScrollPos(Handle(), SB_CTL); }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClass = L"SCROLLBAR";
    p.style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
      SCROLLINFO si = {};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(Handle(), SB_CTL, &si);
      int pos = si.nPos;
      switch (LOWORD(m.WParam)) {
        case SB_LINEUP: pos--; break;
        case SB_LINEDOWN: pos++; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        default: break;
      }
      SetScrollPos(Handle(), SB_CTL, pos, TRUE);
      m.Result = 0;
      return;
    }
    TWinControl::WndProc(m);
  }

 private:
  TBarKind kind_ = sbVertical;
};

class ScrollBox : public SkinnedFormTest {
 protected:
  void AfterFormFreed() override { ParkMouse(); }
  TBarBox* AddBar(int left, int top, TBarKind kind) {
    auto* b = new TBarBox(form);
    b->SetKind(kind);
    b->SetParent(form);
    if (kind == sbVertical)
      b->SetBounds(left, top, 17, 160);
    else
      b->SetBounds(left, top, 200, 17);
    return b;
  }
  void ShowForm() {
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 420, 320);
    bar = AddBar(30, 20, sbVertical);
    plain = AddBar(80, 20, sbVertical);
    plain->SetTag(99);
    horz = AddBar(130, 200, sbHorizontal);
    form->Show();
    for (TBarBox* b : {bar, plain, horz}) b->SetRange(0, 99, 10, 0);
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinnerOf<TSkinScControl>(bar);
    ASSERT_NE(skinner, nullptr) << "discovery gives the scroll-box kind its skinner";
    ASSERT_NE(skinner->Overlay, nullptr);
    Pump(50);
  }
  COLORREF Strip(int n) { return ImageColour(skin->ScrollBar->Bitmap, false, kScrollStripFrames, n); }
  COLORREF Track(bool vertical, int n) {
    return ImageColour((vertical ? skin->VertScroll : skin->HorzScroll)->Bitmap, false, kTrackFrames, n);
  }
  COLORREF Thumb(bool vertical, int n) {
    return ImageColour((vertical ? skin->VertScrollThumb : skin->HorzScrollThumb)->Bitmap, false,
                       skin->HorzScrollThumb->Frame, n);
  }
  TCapture Paint(TSkinScControl* s) { return PaintInto(s->Overlay->Handle(), WM_PAINT, 0); }
  TBarBox* bar = nullptr;
  TBarBox* plain = nullptr;
  TBarBox* horz = nullptr;
  TSkinScControl* skinner = nullptr;
};

TEST_F(ScrollBox, TheOverlayCoversTheWholeControlAndDrawsItsBar) {
  ShowForm();
  HWND o = skinner->Overlay->Handle();
  const RECT orc = WindowRectOf(o), brc = WindowRectOf(bar->Handle());
  EXPECT_TRUE(EqualRect(&orc, &brc));
  EXPECT_EQ(GetWindow(bar->Handle(), GW_HWNDPREV), o);
  EXPECT_EQ(skinner->Overlay->Orientation, 1);
  const int a = skinner->Overlay->ArrowSize;
  const TThumbSpan t = ControlThumbSpan(160, a, 0, 99, 10, 0);
  TCapture c = Paint(skinner);
  EXPECT_EQ(c.At(8, a / 2), Strip(kArrowUpFrame));
  EXPECT_EQ(c.At(8, 160 - a / 2), Strip(kArrowDownFrame));
  EXPECT_EQ(c.At(8, t.start + 2), Thumb(true, kThumbNormalFrame));
  EXPECT_EQ(c.At(8, (t.end + 160 - a) / 2), Track(true, kTrackNormalFrame));

  // The thumb follows the control's position.
  bar->SetRange(0, 99, 10, 60);
  Pump(30);
  const TThumbSpan moved = ControlThumbSpan(160, a, 0, 99, 10, 60);
  c = Paint(skinner);
  EXPECT_EQ(c.At(8, moved.start + 2), Thumb(true, kThumbNormalFrame));
  EXPECT_EQ(c.At(8, t.start + 2), Track(true, kTrackNormalFrame));

  // A page thumb shorter than 8 pixels is drawn 8 pixels long.
  bar->SetRange(0, 1000, 2, 500);
  const TThumbSpan short8 = ControlThumbSpan(160, a, 0, 1000, 2, 500);
  ASSERT_EQ(short8.Length(), 8);
  c = Paint(skinner);
  EXPECT_EQ(c.At(8, short8.start + 1), Thumb(true, kThumbNormalFrame));
  EXPECT_EQ(c.At(8, short8.end + 2), Track(true, kTrackNormalFrame));
  // An empty range keeps the thumb at the first arrow.
  bar->SetRange(5, 5, 0, 5);
  c = Paint(skinner);
  EXPECT_EQ(c.At(8, a + 2), Thumb(true, kThumbNormalFrame));

  // The horizontal kind reads its orientation from the control's Kind.
  auto* h = SkinnerOf<TSkinScControl>(horz);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->Overlay->Orientation, 0);
  c = Paint(h);
  EXPECT_EQ(c.At(a / 2, 8), Strip(kArrowLeftFrame));
  EXPECT_EQ(c.At(200 - a / 2, 8), Strip(kArrowRightFrame));
  EXPECT_EQ(c.At(ControlThumbSpan(200, a, 0, 99, 10, 0).start + 2, 8), Thumb(false, kThumbNormalFrame));

  // A disabled control shows the disabled track and no thumb.
  bar->SetRange(0, 99, 10, 0);
  bar->SetEnabled(false);
  Pump(30);
  c = Paint(skinner);
  EXPECT_EQ(c.At(8, t.start + 2), Track(true, kTrackDisabledFrame));
  bar->SetEnabled(true);
}

TEST_F(ScrollBox, TheDragMovesTheControlAsWithoutTheSkin) {
  ShowForm();
  const int a = skinner->Overlay->ArrowSize;
  const TThumbSpan t = ControlThumbSpan(160, a, 0, 99, 10, 0);
  for (TBarBox* b : {plain, bar}) {
    const RECT r = WindowRectOf(b->Handle());
    const POINT from = {r.left + 8, r.top + (t.start + t.end) / 2};
    MouseDrag(from, POINT{from.x, from.y + 50});
    Pump(150);
  }
  EXPECT_GT(plain->Position(), 0);
  EXPECT_EQ(bar->Position(), plain->Position());
  // The overlay was told: it shows the thumb where the control has it
  // (not hot once the mouse has left, though the tracking had the mouse).
  const TThumbSpan now = ControlThumbSpan(160, a, 0, 99, 10, bar->Position());
  ParkMouse();
  ASSERT_TRUE(PumpUntil([&] { return skinner->Overlay->HotPart == kPartNone; }));
  EXPECT_EQ(Paint(skinner).At(8, now.start + 2), Thumb(true, kThumbNormalFrame));
  // A click on the second arrow: one step.
  const int before = bar->Position();
  const RECT r = WindowRectOf(bar->Handle());
  MouseClick(POINT{r.left + 8, r.bottom - a / 2});
  Pump(120);
  EXPECT_EQ(bar->Position(), before + 1);
}

TEST_F(ScrollBox, HiddenWithTheControlAndPlacedAnewWhenItShows) {
  ShowForm();
  HWND o = skinner->Overlay->Handle();
  bar->Hide();
  Pump(20);
  EXPECT_FALSE(IsWindowVisible(o));
  bar->SetBounds(200, 40, 17, 120);
  bar->Show();
  Pump(30);
  EXPECT_TRUE(IsWindowVisible(o));
  const RECT orc = WindowRectOf(o), brc = WindowRectOf(bar->Handle());
  EXPECT_TRUE(EqualRect(&orc, &brc));
}

TEST_F(ScrollBox, TheOverlayIsFreedOnceWhicheverGoesFirst) {
  ShowForm();
  // The overlay first: the skinner forgets it, the control then goes cleanly.
  TWScrollbar* o = skinner->Overlay;
  const HWND oh = o->Handle();
  o->Free();
  EXPECT_EQ(skinner->Overlay, nullptr);
  EXPECT_FALSE(IsWindow(oh));
  bar->Free();
  bar = nullptr;
  // The control first: its skinner and the overlay go with it.
  auto* h = SkinnerOf<TSkinScControl>(horz);
  ASSERT_NE(h, nullptr);
  const HWND hh = h->Overlay->Handle();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  horz->Free();
  horz = nullptr;
  EXPECT_FALSE(IsWindow(hh));
  for (TSkinControl* s : f->FSkinners) EXPECT_NE(s, h);
  Pump(30);
}

TEST_F(ScrollBox, SwitchedOffTheOverlayGoesAndTheControlDrawsItself) {
  ShowForm();
  const HWND o = skinner->Overlay->Handle();
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinScControl>(bar) == nullptr; }));
  EXPECT_FALSE(IsWindow(o));
  EXPECT_EQ(SendMessageW(bar->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(WindowFromPoint(CentreOf(WindowRectOf(bar->Handle()))), bar->Handle());
  // Still scrolls with the mouse.
  const RECT r = WindowRectOf(bar->Handle());
  MouseClick(POINT{r.left + 8, r.bottom - 4});
  Pump(120);
  EXPECT_EQ(bar->Position(), 1);
}

}  // namespace
