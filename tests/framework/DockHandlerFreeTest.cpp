// Docking handlers that free what the docking holds, with real input: a
// site freed by its OnDockDrop or OnGetSiteInfo handler, a client freed by
// its site's OnUnDock while ManualDock, ManualFloat or a drop moves it.
// Each stops cleanly: the drop is abandoned, the client stays where it
// was, or the drag ends. (Built into the lifetime test program, whose
// freed memory is never reused: a freed control used again crashes.)
#include <gtest/gtest.h>

#include <windows.h>

#include "BareForm.h"
#include "DragDrop.h"
#include "DragInput.h"
#include "Panel.h"

using namespace fw;
using namespace dragtest;

namespace {

class DockHandlerFree : public ::testing::Test {
 protected:
  void SetUp() override {
    form = fwtest::NewBareForm<TForm>(600, 400);
    from = AddSite(alLeft);
    to = AddSite(alRight);
    client = AddClient("one");
    ASSERT_TRUE(client->ManualDock(from));
    client->OnEndDock = [this](TObject*, TObject* target, int, int) {
      ++endDocks;
      endTarget = target;
    };
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(60);
  }
  void TearDown() override {
    form->Free();
    Pump(20);
  }
  TPanel* AddSite(TAlign align) {
    auto* site = new TPanel(form);
    site->SetParent(form);
    site->SetBounds(0, 0, 150, 400);
    site->SetBevelOuter(bvNone);
    site->SetAlign(align);
    site->SetUseDockManager(true);
    site->SetDockSite(true);
    return site;
  }
  TPanel* AddClient(const char* caption) {
    auto* c = new TPanel(form);
    c->SetParent(form);
    c->SetBounds(250, 150, 100, 60);
    c->SetCaption(caption);
    return c;
  }
  // Presses on the client's grabber in its site and drags to a point.
  void GrabAndGlide(TPanel* c, POINT to) {
    MoveTo(c->Parent()->ClientToScreen(POINT{40, c->Top() - 6}));
    Button(true);
    GlideTo(to);
  }
  // True once the drag is over and has let the mouse go.
  static bool DragOver() { return CurrentDragObject() == nullptr && GetCapture() == nullptr; }

  TForm* form = nullptr;
  TPanel *from = nullptr, *to = nullptr, *client = nullptr;
  int endDocks = 0;
  TObject* endTarget = nullptr;
};

}  // namespace

TEST_F(DockHandlerFree, AClientFreedByItsSitesUnDockHandlerIsNotMoved) {
  TPanel* other = AddClient("two");
  ASSERT_TRUE(other->ManualDock(from));
  from->OnUnDock = [](TObject*, TControl* leaving, TWinControl*, bool&) { leaving->Free(); };
  const int forms = Screen().FormCount();
  // From code: docked elsewhere, or floated.
  EXPECT_FALSE(other->ManualDock(to));
  EXPECT_EQ(to->DockClientCount(), 0);
  TPanel* third = AddClient("three");
  ASSERT_TRUE(third->ManualDock(to));
  to->OnUnDock = from->OnUnDock;
  EXPECT_FALSE(third->ManualFloat(RECT{300, 150, 420, 230}));
  EXPECT_EQ(to->DockClientCount(), 0);
  EXPECT_EQ(Screen().FormCount(), forms);  // no floating window was made
  // By a drop: the drag ends without a word to the freed client.
  GrabAndGlide(client, to->ClientToScreen(POINT{75, 200}));
  Button(false);
  EXPECT_TRUE(PumpUntil(DragOver));
  EXPECT_EQ(endDocks, 0);
  EXPECT_EQ(from->DockClientCount(), 0);
  EXPECT_EQ(to->DockClientCount(), 0);
}

TEST_F(DockHandlerFree, ASiteFreedByItsDockDropHandlerAbandonsTheDrop) {
  bool freed = false;
  to->OnDockDrop = [&](TObject*, TDragDockObject*, int, int) {
    freed = true;
    to->Free();
  };
  GrabAndGlide(client, to->ClientToScreen(POINT{75, 200}));
  Button(false);
  ASSERT_TRUE(PumpUntil([&] { return endDocks == 1; }));
  EXPECT_TRUE(freed);
  EXPECT_EQ(endTarget, nullptr);  // the drop did not take
  EXPECT_TRUE(DragOver());
  // The site took the client with it as a site that goes does: hidden,
  // without a parent.
  EXPECT_EQ(client->Parent(), nullptr);
  EXPECT_EQ(client->HostDockSite(), nullptr);
  EXPECT_FALSE(client->Visible());
  EXPECT_EQ(from->DockClientCount(), 0);
  // ManualDock into a site whose handler frees it reports no docking.
  TPanel* third = AddSite(alTop);
  third->OnDockDrop = [&](TObject*, TDragDockObject*, int, int) { third->Free(); };
  client->Show();
  EXPECT_FALSE(client->ManualDock(third));
  EXPECT_EQ(client->Parent(), nullptr);
}

TEST_F(DockHandlerFree, ASiteFreedByItsSiteInfoHandlerEndsTheDrag) {
  int asked = 0;
  to->OnGetSiteInfo = [&](TObject*, TControl*, RECT&, POINT, bool&) {
    if (++asked == 2) to->Free();  // once the site was entered
  };
  const RECT before = client->BoundsRect();
  GrabAndGlide(client, to->ClientToScreen(POINT{75, 200}));
  MoveTo(to->ClientToScreen(POINT{80, 210}));
  EXPECT_TRUE(PumpUntil([&] { return endDocks == 1; }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(endTarget, nullptr);
  EXPECT_TRUE(DragOver());
  EXPECT_FALSE(IsWindowVisible(DragOutlineWindow()));
  Button(false);
  EXPECT_EQ(endDocks, 1);
  // The client stays where it was.
  EXPECT_EQ(client->HostDockSite(), from);
  const RECT after = client->BoundsRect();
  EXPECT_TRUE(EqualRect(&before, &after));
}
