// Dragging and docking under Wine with real input: the drag events in
// their order, the threshold, Esc, a source freed during its drag, double
// buffering, and the framework's dock tree with docked and floating
// clients (layout, refusals, the floating window, sites that go).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Application.h"
#include "BareForm.h"
#include "DockTree.h"
#include "DragDrop.h"
#include "DragInput.h"
#include "FloatingHost.h"
#include "Form.h"
#include "FormReader.h"
#include "Panel.h"
#include "PropertyText.h"
#include "Registration.h"

using namespace fw;
using namespace dragtest;

namespace {

class DragDockTest : public ::testing::Test {
 protected:
  void SetUp() override { form = fwtest::NewBareForm<TForm>(600, 400); }
  void TearDown() override {
    if (form) form->Free();
    Pump(20);
  }
  void ShowForm() {
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(60);
  }
  TPanel* AddPanel(TWinControl* parent, int l, int t, int w, int h, const char* caption = "") {
    auto* p = new TPanel(form);
    p->SetParent(parent);
    p->SetBounds(l, t, w, h);
    p->SetCaption(caption);
    return p;
  }
  TPanel* AddSite(TAlign align, int size) {
    TPanel* site = AddPanel(form, 0, 0, size, size);
    site->SetBevelOuter(bvNone);
    site->SetAlign(align);
    site->SetUseDockManager(true);
    site->SetDockSite(true);
    return site;
  }
  static POINT At(TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); }
  static RECT Bounds(TControl* c) { return c->BoundsRect(); }
  TForm* form = nullptr;
};

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

const char* StateName(TDragState s) { return s == dsDragEnter ? "enter" : s == dsDragLeave ? "leave" : "move"; }

}  // namespace

TEST_F(DragDockTest, DragAcrossTargetsRaisesTheEventsInOrder) {
  TPanel* src = AddPanel(form, 10, 10, 100, 60);
  TPanel* tgt = AddPanel(form, 300, 10, 100, 60);
  TPanel* refuses = AddPanel(form, 300, 200, 100, 60);
  src->SetDragMode(dmAutomatic);
  std::vector<std::string> log;
  POINT dropAt = {-1, -1};
  src->OnStartDrag = [&](TObject*, TDragObject*&) { log.push_back("start"); };
  tgt->OnDragOver = [&](TObject*, TObject* source, int, int, TDragState state, bool& accept) {
    log.push_back(StateName(state));
    accept = source == src;
  };
  tgt->OnDragDrop = [&](TObject*, TObject*, int x, int y) {
    log.push_back("drop");
    dropAt = POINT{x, y};
  };
  src->OnEndDrag = [&](TObject*, TObject* target, int, int) { log.push_back(target == tgt ? "end:tgt" : "end:none"); };
  ShowForm();
  MoveTo(At(src, 50, 30));
  Button(true);
  MoveTo(At(src, 52, 31));  // within the threshold: nothing starts
  EXPECT_TRUE(log.empty());
  GlideTo(At(refuses, 50, 30));
  EXPECT_TRUE(PumpUntil([] { return GetCursor() == DragCursorHandle(crNoDrop); }));  // no handler: refused
  ASSERT_EQ(log.size(), 1u);
  GlideTo(At(tgt, 40, 30));
  EXPECT_TRUE(PumpUntil([&] { return CurrentDragObject() && CurrentDragObject()->DragTarget() == tgt; }));
  EXPECT_EQ(GetCursor(), DragCursorHandle(crDrag));
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return !log.empty() && log.back().rfind("end", 0) == 0; }));
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], "start");
  EXPECT_EQ(log[1], "enter");
  EXPECT_EQ(log[2], "move");
  const std::vector<std::string> tail(log.end() - 3, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"leave", "drop", "end:tgt"}));
  EXPECT_EQ(dropAt.x, 40);
  EXPECT_EQ(dropAt.y, 30);
  EXPECT_FALSE(src->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(CurrentDragObject(), nullptr);
}

TEST_F(DragDockTest, ReleaseWithinTheThresholdIsAClick) {
  TPanel* src = AddPanel(form, 10, 10, 100, 60);
  src->SetDragMode(dmAutomatic);
  int clicks = 0;
  bool started = false;
  src->OnClick = [&](TObject*) { ++clicks; };
  src->OnStartDrag = [&](TObject*, TDragObject*&) { started = true; };
  ShowForm();
  MoveTo(At(src, 50, 30));
  Button(true);
  EXPECT_TRUE(src->Dragging());
  MoveTo(At(src, 53, 32));
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_FALSE(started);
  EXPECT_FALSE(src->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragDockTest, EscCancelsAndNothingIsDropped) {
  TPanel* src = AddPanel(form, 10, 10, 100, 60);
  TPanel* tgt = AddPanel(form, 300, 10, 100, 60);
  src->SetDragMode(dmAutomatic);
  int drops = 0, ends = 0;
  TObject* endTarget = src;
  tgt->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
  tgt->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
  src->OnEndDrag = [&](TObject*, TObject* target, int, int) {
    ++ends;
    endTarget = target;
  };
  ShowForm();
  MoveTo(At(src, 50, 30));
  Button(true);
  GlideTo(At(tgt, 50, 30));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !src->Dragging(); }));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(endTarget, nullptr);
  Button(false);
  EXPECT_EQ(drops, 0);
  EXPECT_EQ(ends, 1);
}

TEST_F(DragDockTest, APressTheDragTookIsNoClickWhenALaterReleaseComesOverTheControl) {
  TPanel* src = AddPanel(form, 10, 10, 100, 60);
  TPanel* tgt = AddPanel(form, 300, 10, 100, 60);
  src->SetDragMode(dmAutomatic);
  int clicks = 0, drops = 0;
  src->OnClick = [&](TObject*) { ++clicks; };
  tgt->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
  tgt->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
  ShowForm();
  // Dragged and dropped; then a press on the form that ends over the
  // control.
  Drag(At(src, 50, 30), At(tgt, 50, 30));
  EXPECT_TRUE(PumpUntil([&] { return drops == 1; }));
  Drag(At(form, 200, 300), At(src, 50, 30));
  // Dragged, cancelled with Esc, released over the control.
  MoveTo(At(src, 50, 30));
  Button(true);
  GlideTo(At(tgt, 50, 30));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !src->Dragging(); }));
  GlideTo(At(src, 50, 30));
  Button(false);
  Pump(50);
  EXPECT_EQ(clicks, 0) << "a release with no press of its own clicked the control";
  EXPECT_EQ(drops, 1);
}

TEST_F(DragDockTest, SourceFreedDuringItsDragEndsTheDragCleanly) {
  TPanel* src = AddPanel(form, 10, 10, 100, 60);
  TPanel* tgt = AddPanel(form, 300, 10, 100, 60);
  src->SetDragMode(dmAutomatic);
  int clicks = 0, overs = 0;
  tgt->OnClick = [&](TObject*) { ++clicks; };
  tgt->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) {
    ++overs;
    accept = true;
    if (src) {
      TPanel* going = src;
      src = nullptr;
      going->Free();
    }
  };
  ShowForm();
  MoveTo(At(src, 50, 30));
  Button(true);
  GlideTo(At(tgt, 50, 30));
  EXPECT_TRUE(PumpUntil([&] { return src == nullptr; }));
  EXPECT_EQ(overs, 1);  // no events after the source went
  EXPECT_EQ(CurrentDragObject(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  Button(false);
  // The mouse works as before.
  MoveTo(At(tgt, 50, 30));
  Button(true);
  Button(false);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
}

namespace {

// A form whose handlers form data binds to the drag and dock events.
class TFmDragData : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFmDragData>("TFmDragData", &TForm::StaticClass())
                                       .Method("DragDrop", &TFmDragData::DragDrop)
                                       .Method("DragOver", &TFmDragData::DragOver)
                                       .Method("EndDrag", &TFmDragData::EndDrag)
                                       .Method("StartDrag", &TFmDragData::StartDrag)
                                       .Method("StartDock", &TFmDragData::StartDock)
                                       .Method("DockDrop", &TFmDragData::DockDrop)
                                       .Method("DockOver", &TFmDragData::DockOver)
                                       .Method("GetSiteInfo", &TFmDragData::GetSiteInfo)
                                       .Method("UnDock", &TFmDragData::UnDock);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmDragData(TComponent* owner) : TForm(owner) {}
  int calls = 0;
  void DragDrop(TObject*, TObject*, int, int) { ++calls; }
  void DragOver(TObject*, TObject*, int, int, TDragState, bool&) { ++calls; }
  void EndDrag(TObject*, TObject*, int, int) { ++calls; }
  void StartDrag(TObject*, TDragObject*&) { ++calls; }
  void StartDock(TObject*, TDragDockObject*&) { ++calls; }
  void DockDrop(TObject*, TDragDockObject*, int, int) { ++calls; }
  void DockOver(TObject*, TDragDockObject*, int, int, TDragState, bool&) { ++calls; }
  void GetSiteInfo(TObject*, TControl*, RECT&, POINT, bool&) { ++calls; }
  void UnDock(TObject*, TControl*, TWinControl*, bool&) { ++calls; }
};

}  // namespace

TEST_F(DragDockTest, FormDataNamesEveryDragAndDockPropertyAndEvent) {
  auto* f = new TFmDragData(nullptr);
  std::string error;
  ASSERT_TRUE(f->LoadFromText("object F: TFmDragData\n  object site: TPanel\n    DockSite = True\n"
                              "    UseDockManager = True\n    DragKind = dkDock\n    DragMode = dmAutomatic\n"
                              "    DragCursor = crMultiDrag\n    OnDragDrop = DragDrop\n    OnDragOver = DragOver\n"
                              "    OnEndDrag = EndDrag\n    OnEndDock = EndDrag\n    OnStartDrag = StartDrag\n"
                              "    OnStartDock = StartDock\n    OnDockDrop = DockDrop\n    OnDockOver = DockOver\n"
                              "    OnGetSiteInfo = GetSiteInfo\n    OnUnDock = UnDock\n  end\nend\n",
                              error))
      << error;
  auto* site = dynamic_cast<TPanel*>(f->FindComponent("site"));
  ASSERT_NE(site, nullptr);
  const std::pair<const char*, const char*> expected[] = {{"DockSite", "True"},       {"UseDockManager", "True"},
                                                          {"DragKind", "dkDock"},     {"DragMode", "dmAutomatic"},
                                                          {"DragCursor", "crMultiDrag"}};
  std::string text;
  for (const auto& e : expected) {
    ASSERT_EQ(GetPropText(site, e.first, text), TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
  }
  EXPECT_NE(site->DockManager(), nullptr);
  TDragObject* obj = nullptr;
  TDragDockObject* dock = nullptr;
  bool flag = true;
  RECT r = {0, 0, 0, 0};
  site->OnDragDrop(site, site, 0, 0);
  site->OnDragOver(site, site, 0, 0, dsDragMove, flag);
  site->OnEndDrag(site, nullptr, 0, 0);
  site->OnEndDock(site, nullptr, 0, 0);
  site->OnStartDrag(site, obj);
  site->OnStartDock(site, dock);
  site->OnDockDrop(site, dock, 0, 0);
  site->OnDockOver(site, dock, 0, 0, dsDragMove, flag);
  site->OnGetSiteInfo(site, site, r, POINT{0, 0}, flag);
  site->OnUnDock(site, site, nullptr, flag);
  EXPECT_EQ(f->calls, 10);
  // A value of the wrong kind is refused with the property's name.
  auto* g = new TFmDragData(nullptr);
  EXPECT_FALSE(g->LoadFromText("object F: TFmDragData\n  object p: TPanel\n    DragKind = dkSideways\n  end\nend\n", error));
  EXPECT_NE(error.find("DragKind"), std::string::npos) << error;
  g->Free();
  f->Free();
}

namespace {

// A windowed control that notes what kind of context it painted into.
class TPaintProbe : public TCustomControl {
 public:
  explicit TPaintProbe(TComponent* owner) : TCustomControl(owner) {}
  DWORD paintedInto = 0;

 protected:
  void Paint() override {
    paintedInto = GetObjectType(Canvas()->Handle());
    Canvas()->Brush()->SetColor(clBlue);
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
};

}  // namespace

TEST_F(DragDockTest, DoubleBufferedControlPaintsThroughAMemoryBitmap) {
  auto* probe = new TPaintProbe(form);
  probe->SetParent(form);
  probe->SetBounds(10, 10, 80, 40);
  ShowForm();
  for (const bool buffered : {false, true}) {
    probe->SetDoubleBuffered(buffered);
    InvalidateRect(probe->Handle(), nullptr, TRUE);
    UpdateWindow(probe->Handle());
    EXPECT_EQ(probe->paintedInto, buffered ? static_cast<DWORD>(OBJ_MEMDC) : static_cast<DWORD>(OBJ_DC));
    HDC dc = GetDC(probe->Handle());
    EXPECT_EQ(GetPixel(dc, 40, 20) & 0xFFFFFF, 0xFF0000u) << buffered;
    ReleaseDC(probe->Handle(), dc);
  }
}

TEST_F(DragDockTest, DockedClientsAreLaidOutWithTheirGrabbersFree) {
  TPanel* top = AddSite(alTop, 80);
  TPanel* left = AddSite(alLeft, 120);
  TPanel* c1 = AddPanel(form, 200, 200, 100, 50, "one");
  TPanel* c2 = AddPanel(form, 200, 260, 100, 50, "two");
  TPanel* c3 = AddPanel(form, 200, 320, 100, 50, "three");
  ShowForm();
  ASSERT_TRUE(c1->ManualDock(left));
  ASSERT_TRUE(c2->ManualDock(left));
  ASSERT_TRUE(c3->ManualDock(left, c1, alTop));  // before c1
  ASSERT_EQ(left->DockClientCount(), 3);
  EXPECT_EQ(left->DockClients(0), c3);
  EXPECT_EQ(left->DockClients(1), c1);
  EXPECT_EQ(left->DockClients(2), c2);
  EXPECT_EQ(c1->HostDockSite(), left);
  EXPECT_FALSE(c1->Floating());
  // Stacked in a site aligned left: 320 pixels shared, a 12-pixel band on top.
  EXPECT_TRUE(Same(Bounds(c3), RECT{0, 12, 120, 106})) << Text(Bounds(c3));
  EXPECT_TRUE(Same(Bounds(c1), RECT{0, 118, 120, 212})) << Text(Bounds(c1));
  EXPECT_TRUE(Same(Bounds(c2), RECT{0, 224, 120, 320})) << Text(Bounds(c2));
  const TDockTree::THit hit = left->DockManager()->HitTest(POINT{60, 110});
  EXPECT_EQ(hit.client, c1);
  EXPECT_FALSE(hit.closeBox);
  EXPECT_TRUE(left->DockManager()->HitTest(POINT{112, 110}).closeBox);
  // Side by side in a site aligned top, the band at the left.
  ASSERT_TRUE(c1->ManualDock(top));
  EXPECT_TRUE(Same(Bounds(c1), RECT{12, 0, 600, 80})) << Text(Bounds(c1));
  EXPECT_EQ(left->DockClientCount(), 2);
  EXPECT_TRUE(Same(Bounds(c2), RECT{0, 172, 120, 320})) << Text(Bounds(c2));
  // A hidden client gives its place up; shown again it takes it back.
  c2->Hide();
  EXPECT_TRUE(Same(Bounds(c3), RECT{0, 12, 120, 320})) << Text(Bounds(c3));
  c2->Show();
  EXPECT_TRUE(Same(Bounds(c3), RECT{0, 12, 120, 160})) << Text(Bounds(c3));
  // The site resized lays them out anew.
  left->SetWidth(150);
  EXPECT_EQ(c3->Width(), 150);
}

TEST_F(DragDockTest, DockingIntoItselfOrItsOwnChildIsRefused) {
  TPanel* outer = AddSite(alLeft, 200);
  TPanel* inner = AddPanel(outer, 10, 10, 80, 80);
  inner->SetDockSite(true);
  TPanel* plain = AddPanel(form, 300, 10, 80, 80);
  TPanel* c = AddPanel(form, 300, 200, 80, 80);
  EXPECT_FALSE(outer->ManualDock(outer));
  EXPECT_FALSE(outer->ManualDock(inner));
  EXPECT_EQ(outer->Parent(), form);
  EXPECT_FALSE(c->ManualDock(plain));
  EXPECT_FALSE(c->ManualDock(nullptr));
  EXPECT_EQ(c->Parent(), form);
  EXPECT_FALSE(form->ManualDock(outer));  // a form is a window of its own
  // A site whose OnUnDock says no keeps its client.
  ASSERT_TRUE(c->ManualDock(outer));
  outer->OnUnDock = [](TObject*, TControl*, TWinControl*, bool& allow) { allow = false; };
  EXPECT_FALSE(c->ManualDock(inner));
  EXPECT_FALSE(c->ManualFloat(RECT{300, 100, 400, 200}));
  EXPECT_EQ(c->HostDockSite(), outer);
  EXPECT_EQ(c->Parent(), outer);
}

TEST_F(DragDockTest, FloatingClientLivesInAToolWindowThatHidesIt) {
  TPanel* site = AddSite(alLeft, 150);
  TPanel* c = AddPanel(form, 300, 200, 120, 60, "tool");
  ShowForm();
  int drops = 0;
  site->OnDockDrop = [&](TObject*, TDragDockObject* d, int, int) { drops += d->Control() == c; };
  ASSERT_TRUE(c->ManualFloat(RECT{300, 150, 460, 270}));
  Pump(30);
  ASSERT_TRUE(c->Floating());
  auto* host = dynamic_cast<TFloatingHost*>(c->HostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(c->Parent(), host);
  HWND h = host->Handle();
  RECT wr;
  GetWindowRect(h, &wr);
  EXPECT_TRUE(Same(wr, RECT{300, 150, 460, 270})) << Text(wr);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  wchar_t caption[16] = {};
  GetWindowTextW(h, caption, 16);
  EXPECT_STREQ(caption, L"tool");
  EXPECT_TRUE(IsWindowVisible(h));
  // Closing the window hides the client and frees nothing.
  SendMessageW(h, WM_CLOSE, 0, 0);
  Pump(20);
  EXPECT_FALSE(c->Visible());
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(IsWindow(h));
  EXPECT_TRUE(c->Floating());
  c->Show();
  EXPECT_TRUE(IsWindowVisible(h));
  // Docked again, the window goes.
  ASSERT_TRUE(c->ManualDock(site));
  EXPECT_EQ(drops, 1);
  EXPECT_FALSE(c->Floating());
  Pump(30);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(DragDockTest, ClientsOutliveTheirSiteAndTheirFloatingWindow) {
  TPanel* site = AddSite(alLeft, 150);
  TPanel* other = AddSite(alTop, 60);
  TPanel* c1 = AddPanel(form, 300, 200, 120, 60, "one");
  TPanel* c2 = AddPanel(form, 300, 300, 120, 60, "two");
  ShowForm();
  ASSERT_TRUE(c1->ManualDock(site));
  ASSERT_TRUE(c2->ManualDock(site));
  site->Free();
  for (TPanel* c : {c1, c2}) {
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(c->HostDockSite(), nullptr);
    EXPECT_FALSE(c->Visible());
  }
  ASSERT_TRUE(c1->ManualDock(other));
  EXPECT_EQ(other->DockClients(0), c1);
  // The floating window freed first leaves its client hidden and whole.
  ASSERT_TRUE(c2->ManualFloat(RECT{300, 150, 460, 270}));
  c2->HostDockSite()->Free();
  EXPECT_EQ(c2->Parent(), nullptr);
  EXPECT_FALSE(c2->Floating());
  EXPECT_FALSE(c2->Visible());
  // A floating client freed takes its window with it.
  c2->Show();
  ASSERT_TRUE(c2->ManualFloat(RECT{300, 150, 460, 270}));
  HWND h = c2->HostDockSite()->Handle();
  c2->Free();
  Pump(30);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(DragDockTest, AFloatingClientPutElsewhereTakesItsWindowAway) {
  TPanel* plain = AddPanel(form, 300, 10, 200, 150);
  TPanel* c = AddPanel(form, 300, 200, 120, 60, "tool");
  ShowForm();
  // Onto a form, then onto a panel: each time the empty window goes.
  for (TWinControl* parent : {static_cast<TWinControl*>(form), static_cast<TWinControl*>(plain)}) {
    ASSERT_TRUE(c->ManualFloat(RECT{300, 150, 460, 270}));
    Pump(30);
    HWND h = c->HostDockSite()->Handle();
    ASSERT_TRUE(IsWindowVisible(h));
    c->SetParent(parent);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(c->Floating());
    EXPECT_EQ(c->HostDockSite(), nullptr);
    EXPECT_TRUE(PumpUntil([h] { return !IsWindow(h); }));
    // The client lives on in its new parent, shown and hidden as it likes.
    EXPECT_EQ(c->Parent(), parent);
    EXPECT_TRUE(c->Visible());
    EXPECT_TRUE(IsWindowVisible(c->Handle()));
  }
}
