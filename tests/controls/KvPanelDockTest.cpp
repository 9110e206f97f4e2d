// The panel's dock sites under Wine with real input: clients dragged by
// their grabbers from one site to another, dropped outside to float,
// docked back by the floating window's caption, hidden by the close box,
// and a drag cancelled by Esc; the grabber bands each kind of site keeps;
// a plain click on a grabber or a floating caption, which is no click of
// the client; the end of a drop that a handler docked elsewhere.
#include <string>

#include "DragDrop.h"
#include "DragInput.h"
#include "FloatingHost.h"
#include "KvPanel.h"

#include "ControlFixture.h"

using namespace kv;
using kvtest::ControlTest;
using namespace dragtest;

namespace {

class PanelDockTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    form->SetBounds(0, 0, 640, 480);
    Load("object F: TForm\n"
         "  object siteTop: TKvPanel\n    Align = alTop\n    Height = 80\n    BorderOuter = fsNone\n"
         "    DockSite = True\n    Caption = \"\"\n" +
         Client("c1", "one") +
         "  end\n"
         "  object siteLeft: TKvPanel\n    Align = alLeft\n    Width = 150\n    BorderOuter = fsNone\n"
         "    DockSite = True\n    Caption = \"\"\n" +
         Client("c2", "two") + Client("c3", "three") + "  end\nend\n");
    siteTop = Find("siteTop");
    siteLeft = Find("siteLeft");
    c1 = Find("c1");
    c2 = Find("c2");
    c3 = Find("c3");
  }
  void TearDown() override {
    if (c3 && c3->Floating()) c3->ManualDock(siteLeft);
    ControlTest::TearDown();
    Pump(30);
  }
  static std::string Client(const char* name, const char* caption) {
    return std::string("    object ") + name + ": TKvPanel\n      Width = 120\n      Height = 60\n" +
           "      DragKind = dkDock\n      BorderOuter = fsNone\n      Color = clWindow\n      Caption = \"" + caption +
           "\"\n    end\n";
  }
  TKvPanel* Find(const char* name) { return dynamic_cast<TKvPanel*>(form->FindComponent(name)); }
  void ShowForm() {
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(60);
  }
  static bool Is(fw::TControl* c, RECT r) {
    const RECT b = c->BoundsRect();
    return b.left == r.left && b.top == r.top && b.right == r.right && b.bottom == r.bottom;
  }
  static std::string Text(fw::TControl* c) {
    const RECT b = c->BoundsRect();
    return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
           std::to_string(b.bottom);
  }
  static POINT ScreenAt(fw::TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); }
  TKvPanel *siteTop = nullptr, *siteLeft = nullptr, *c1 = nullptr, *c2 = nullptr, *c3 = nullptr;
};

}  // namespace

TEST_F(PanelDockTest, EachKindOfSiteKeepsItsGrabberBandFree) {
  ASSERT_EQ(siteLeft->DockClientCount(), 2);
  EXPECT_EQ(siteLeft->DockClients(0), c2);
  EXPECT_EQ(c2->HostDockSite(), siteLeft);
  // Aligned top: the 14-pixel grabber at the left of each client.
  EXPECT_TRUE(Is(c1, RECT{14, 0, 640, 80})) << Text(c1);
  // Aligned left: stacked, the grabber on top.
  EXPECT_TRUE(Is(c2, RECT{0, 14, 150, 200})) << Text(c2);
  EXPECT_TRUE(Is(c3, RECT{0, 214, 150, 400})) << Text(c3);
  // The panel's grabbers, or the framework's plain frame without captions.
  fw::TBitmap bmp(150, 400);
  PaintControl(siteLeft, bmp);
  EXPECT_EQ(At(bmp, 1, 6), Sys(clInactiveCaption));
  EXPECT_EQ(At(bmp, 1, 206), Sys(clInactiveCaption));
  siteLeft->SetShowDockClientCaptions(false);
  PaintControl(siteLeft, bmp);
  EXPECT_EQ(At(bmp, 1, 6), Sys(clBtnFace));
  EXPECT_TRUE(siteLeft->DoubleBuffered());
}

TEST_F(PanelDockTest, GrabberDragsAClientToTheOtherSite) {
  ShowForm();
  MoveTo(ScreenAt(siteLeft, 40, 6));
  Button(true);
  GlideTo(ScreenAt(siteTop, 500, 40));  // over the right half of c1
  const POINT o = ScreenAt(siteTop, 0, 0);
  RECT r = {0, 0, 0, 0};
  EXPECT_TRUE(PumpUntil([&] {
    HWND h = fw::DragOutlineWindow();
    return h && IsWindowVisible(h) && GetWindowRect(h, &r) && r.left - o.x == 320;
  }));
  HWND outline = fw::DragOutlineWindow();
  ASSERT_NE(outline, nullptr);
  EXPECT_EQ(r.left - o.x, 320);
  EXPECT_EQ(r.top - o.y, 0);
  EXPECT_EQ(r.right - o.x, 640);
  EXPECT_EQ(r.bottom - o.y, 80);
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return c2->Parent() == siteTop; }));
  EXPECT_FALSE(IsWindowVisible(outline));
  ASSERT_EQ(siteTop->DockClientCount(), 2);
  EXPECT_EQ(siteTop->DockClients(1), c2);
  EXPECT_EQ(c2->Parent(), siteTop);
  EXPECT_TRUE(Is(c1, RECT{14, 0, 320, 80})) << Text(c1);
  EXPECT_TRUE(Is(c2, RECT{334, 0, 640, 80})) << Text(c2);
  EXPECT_EQ(siteLeft->DockClientCount(), 1);
  EXPECT_TRUE(Is(c3, RECT{0, 14, 150, 400})) << Text(c3);
}

TEST_F(PanelDockTest, DroppedOutsideItFloatsAndItsCaptionDocksItBack) {
  ShowForm();
  int endDocks = 0;
  c3->OnEndDock = [&](fw::TObject*, fw::TObject*, int, int) { ++endDocks; };
  MoveTo(ScreenAt(siteLeft, 40, 206));
  Button(true);
  GlideTo(POINT{500, 300});  // the form itself, no dock site
  Button(false);
  ASSERT_TRUE(PumpUntil([&] { return c3->Floating(); }));
  EXPECT_EQ(endDocks, 1);
  HWND host = c3->HostDockSite()->Handle();
  EXPECT_TRUE(IsWindowVisible(host));
  RECT wr;
  GetWindowRect(host, &wr);
  EXPECT_LE(wr.left, 500);
  EXPECT_GT(wr.right, 500);
  EXPECT_LE(wr.top, 300);
  EXPECT_EQ(c3->Width(), 120);  // the size it had before it was docked
  EXPECT_TRUE(Is(c2, RECT{0, 14, 150, 400})) << Text(c2);
  // A point of the floating window's caption.
  POINT caption = {wr.left + 30, wr.top};
  while (caption.y < wr.top + 40 &&
         SendMessageW(host, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)) != HTCAPTION)
    ++caption.y;
  ASSERT_EQ(SendMessageW(host, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  MoveTo(caption);
  Button(true);
  GlideTo(ScreenAt(siteLeft, 75, 50));  // the upper half of c2: before it
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return !c3->Floating(); }));
  EXPECT_EQ(endDocks, 2);
  ASSERT_EQ(siteLeft->DockClientCount(), 2);
  EXPECT_EQ(siteLeft->DockClients(0), c3);
  EXPECT_TRUE(Is(c3, RECT{0, 14, 150, 200})) << Text(c3);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(host); }));
}

TEST_F(PanelDockTest, CloseBoxHidesItsClient) {
  ShowForm();
  MoveTo(ScreenAt(siteLeft, 140, 6));
  Button(true);
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return !c2->Visible(); }));
  EXPECT_EQ(c2->Parent(), siteLeft);  // hidden, not freed nor undocked
  EXPECT_TRUE(Is(c3, RECT{0, 14, 150, 400})) << Text(c3);
  c2->Show();
  EXPECT_TRUE(Is(c3, RECT{0, 214, 150, 400})) << Text(c3);
}

TEST_F(PanelDockTest, EscCancelsAGrabberDragAndNothingMoves) {
  ShowForm();
  MoveTo(ScreenAt(siteLeft, 40, 6));
  Button(true);
  GlideTo(ScreenAt(siteTop, 500, 40));
  EXPECT_TRUE(PumpUntil([] { return fw::DragOutlineWindow() && IsWindowVisible(fw::DragOutlineWindow()); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(fw::DragOutlineWindow()); }));
  Button(false);
  EXPECT_EQ(c2->Parent(), siteLeft);
  EXPECT_EQ(siteLeft->DockClientCount(), 2);
  EXPECT_TRUE(Is(c2, RECT{0, 14, 150, 200})) << Text(c2);
  EXPECT_TRUE(Is(c1, RECT{14, 0, 640, 80})) << Text(c1);
}

TEST_F(PanelDockTest, APlainClickOnAGrabberOrAFloatingCaptionIsNoClickOfTheClient) {
  ShowForm();
  int downs = 0, ups = 0;
  for (TKvPanel* c : {c2, c3}) {
    c->OnMouseDown = [&](fw::TObject*, fw::TMouseButton, fw::TShiftState, int, int) { ++downs; };
    c->OnMouseUp = [&](fw::TObject*, fw::TMouseButton, fw::TShiftState, int, int) { ++ups; };
  }
  // The press is the grabber's (the dock manager's), not the client's:
  // released where it went down, the client hears of neither.
  MoveTo(ScreenAt(siteLeft, 40, 6));
  Button(true);
  Button(false);
  EXPECT_TRUE(PumpUntil([] { return GetCapture() == nullptr; }));
  Pump(30);
  EXPECT_EQ(c2->Parent(), siteLeft);
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(ups, 0);
  // The same on a floating window's caption.
  ASSERT_TRUE(c3->ManualFloat(RECT{300, 150, 460, 270}));
  Pump(60);
  HWND host = c3->HostDockSite()->Handle();
  SetForegroundWindow(host);
  POINT caption = {330, 150};
  while (caption.y < 190 && SendMessageW(host, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)) != HTCAPTION)
    ++caption.y;
  ASSERT_EQ(SendMessageW(host, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  MoveTo(caption);
  Button(true);
  Button(false);
  EXPECT_TRUE(PumpUntil([] { return GetCapture() == nullptr; }));
  Pump(30);
  EXPECT_TRUE(c3->Floating());
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(ups, 0);
  // A press on the client itself still reaches it, down and up.
  MoveTo(ScreenAt(c3, 60, 30));
  Button(true);
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return ups == 1; }));
  EXPECT_EQ(downs, 1);
}

TEST_F(PanelDockTest, EndDockNamesTheSiteADropHandlerDockedTheClientIn) {
  ShowForm();
  // Dropped on the top site, whose handler sends it on to the left site's end.
  siteTop->OnDockDrop = [&](fw::TObject*, fw::TDragDockObject* d, int, int) {
    d->Control()->ManualDock(siteLeft, c3, fw::alBottom);
  };
  fw::TObject* endTarget = nullptr;
  int endDocks = 0;
  c2->OnEndDock = [&](fw::TObject*, fw::TObject* target, int, int) {
    ++endDocks;
    endTarget = target;
  };
  MoveTo(ScreenAt(siteLeft, 40, 6));
  Button(true);
  GlideTo(ScreenAt(siteTop, 500, 40));
  Button(false);
  ASSERT_TRUE(PumpUntil([&] { return endDocks == 1; }));
  EXPECT_EQ(c2->HostDockSite(), siteLeft);
  EXPECT_EQ(siteLeft->DockClients(1), c2);
  EXPECT_EQ(endTarget, siteLeft);
}
