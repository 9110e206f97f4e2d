// The control a form remembers as focused, worked with the real pointer and
// keyboard under Wine: freed by whoever owns it, moved into a floating
// window, disabled or hidden by its own press. Freed memory is never reused
// in this program and a use of it is counted (FreedMemory.h): Wine would
// swallow the fault inside the window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "Button.h"
#include "DragInput.h"
#include "Edit.h"
#include "FloatingHost.h"
#include "Form.h"
#include "FreedMemory.h"
#include "Panel.h"
#include "Registration.h"

using namespace fw;
using namespace dragtest;

namespace {

class FocusMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    static bool registered = false;
    if (!registered) RegisterStandardClasses();
    registered = true;
    main = NewForm(RECT{40, 40, 460, 380}, "main");
    main->OnActivate = [this](TObject*) { ++mainActivations; };
    first = AddEdit(main, main, 170, 10);
    other = NewForm(RECT{520, 40, 820, 240}, "other");
    other->Show();
    main->Show();
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == main->Handle(); }));
    Pump(60);
    usesBefore = freedmem::FreedUses();
  }
  void TearDown() override {
    other->Free();
    main->Free();
    Pump(30);
    EXPECT_TRUE(freedmem::Untouched()) << "freed memory was written to";
  }
  TForm* NewForm(const RECT& r, const char* caption) {
    auto* f = new TForm(nullptr);
    f->SetBorderStyle(bsSingle);
    f->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    f->SetCaption(caption);
    return f;
  }
  static TEdit* AddEdit(TComponent* owner, TWinControl* parent, int x, int y) {
    auto* e = new TEdit(owner);
    e->SetParent(parent);
    e->SetBounds(x, y, 120, 24);
    return e;
  }
  // A real click at a point of a windowed control (its centre by default),
  // once the control's window is the one there.
  static void ClickOn(TWinControl* c, int x = -1, int y = -1) {
    const POINT p = c->ClientToScreen(POINT{x >= 0 ? x : c->Width() / 2, y >= 0 ? y : c->Height() / 2});
    PumpUntil([&] { return WindowFromPoint(p) == c->Handle(); });
    MoveTo(p);
    Button(true);
    Button(false);
  }
  // A click on the main form where it has no control.
  void ClickMainForm() { ClickOn(main, 330, 280); }
  static bool FocusIs(TWinControl* c) {
    return PumpUntil([c] { return GetFocus() == c->HandleIfAllocated(); }, 1000);
  }
  int FreedUses() const { return freedmem::FreedUses() - usesBefore; }

  TForm* main = nullptr;
  TForm* other = nullptr;
  TEdit* first = nullptr;
  int mainActivations = 0;
  int usesBefore = 0;
};

}  // namespace

// The remembered edit is freed while the form is not active; the form
// made active again by a click takes its first control instead.
TEST_F(FocusMemory, AFreedEditIsForgottenWhoeverOwnsIt) {
  // Owned by a panel, disabled for an operation, then freed.
  auto* panel = new TPanel(main);
  panel->SetParent(main);
  panel->SetBounds(170, 60, 200, 80);
  TEdit* inPanel = AddEdit(panel, panel, 10, 10);
  ClickOn(inPanel);
  ASSERT_TRUE(FocusIs(inPanel));
  inPanel->SetEnabled(false);
  ClickOn(other);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other->Handle(); }));
  inPanel->Free();
  int activations = mainActivations;
  ClickMainForm();
  EXPECT_EQ(FreedUses(), 0) << "the activation used the freed edit";
  EXPECT_TRUE(PumpUntil([&] { return mainActivations > activations; })) << "OnActivate did not run";
  EXPECT_TRUE(FocusIs(first));

  // Owned by nothing, freed while the form is not active.
  TEdit* loose = AddEdit(nullptr, main, 170, 160);
  ClickOn(loose);
  ASSERT_TRUE(FocusIs(loose));
  ClickOn(other);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other->Handle(); }));
  loose->Free();
  activations = mainActivations;
  ClickMainForm();
  EXPECT_EQ(FreedUses(), 0) << "the activation used the freed edit";
  EXPECT_TRUE(PumpUntil([&] { return mainActivations > activations; })) << "OnActivate did not run";
  EXPECT_TRUE(FocusIs(first));
}

// A floating window's edit owned by the main form (as form data makes it):
// focused there, freed while the operator is on the main form; the
// floating window clicked again.
TEST_F(FocusMemory, AFloatingWindowForgetsItsFreedEdit) {
  auto* client = new TPanel(main);
  client->SetParent(main);
  client->SetBounds(170, 60, 200, 100);
  client->SetCaption("tool");
  TEdit* edit = AddEdit(main, client, 10, 10);
  ASSERT_TRUE(client->ManualFloat(RECT{520, 320, 760, 480}));
  auto* host = dynamic_cast<TFloatingHost*>(client->HostDockSite());
  ASSERT_NE(host, nullptr);
  int hostActivations = 0;
  host->OnActivate = [&](TObject*) { ++hostActivations; };
  Pump(60);
  ClickOn(edit);
  ASSERT_TRUE(FocusIs(edit));
  ClickMainForm();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  edit->Free();
  const int activations = hostActivations;
  ClickOn(client, 150, 70);
  EXPECT_EQ(FreedUses(), 0) << "the activation used the freed edit";
  EXPECT_TRUE(PumpUntil([&] { return hostActivations > activations; })) << "OnActivate did not run";
  EXPECT_EQ(GetActiveWindow(), host->Handle());
}

// An edit of a docked client has the focus; the operator goes to another
// window, the client is floated from code, the operator clicks the main
// form: the main form is the active window, with its first control focused.
TEST_F(FocusMemory, AnEditFloatedAwayLeavesTheMainFormItsActivation) {
  auto* site = new TPanel(main);
  site->SetParent(main);
  site->SetAlign(alLeft);
  site->SetWidth(150);
  site->SetUseDockManager(true);
  site->SetDockSite(true);
  auto* client = new TPanel(main);
  client->SetParent(main);
  client->SetBounds(170, 60, 140, 80);
  client->SetCaption("tool");
  TEdit* edit = AddEdit(main, client, 10, 30);
  edit->SetWidth(100);
  ASSERT_TRUE(client->ManualDock(site));
  Pump(30);
  ClickOn(edit);
  ASSERT_TRUE(FocusIs(edit));
  ClickOn(other);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other->Handle(); }));
  ASSERT_TRUE(client->ManualFloat(RECT{520, 320, 760, 480}));
  Pump(60);
  // The floating window, shown, took the activation: back to the other one.
  ClickOn(other);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other->Handle(); }));
  ClickMainForm();
  Pump(100);
  EXPECT_EQ(GetActiveWindow(), main->Handle()) << "the floating window took the activation";
  EXPECT_TRUE(FocusIs(first));
}

// A button that disables or hides itself when pressed with the keyboard
// leaves the focus with its form; Tab and Shift+Tab go on from it in tab
// order, also after the form was left and made active again meanwhile.
TEST_F(FocusMemory, TabGoesOnFromAButtonThatDisabledOrHidItself) {
  auto* start = new TButton(main);
  auto* stop = new TButton(main);
  auto* once = new TButton(main);
  auto* last = new TButton(main);
  int x = 10;
  for (TButton* b : {start, stop, once, last}) {
    b->SetParent(main);
    b->SetBounds(x, 200, 90, 28);
    x += 100;
  }
  stop->SetEnabled(false);
  start->OnClick = [&](TObject*) {
    start->SetEnabled(false);
    stop->SetEnabled(true);
  };
  stop->OnClick = [&](TObject*) {
    stop->SetEnabled(false);
    start->SetEnabled(true);
  };
  once->OnClick = [&](TObject*) { once->Hide(); };
  auto shiftTab = [] {
    realinput::SendKeyChange(VK_SHIFT, true);
    realinput::SendKey(VK_TAB);
    realinput::SendKeyChange(VK_SHIFT, false);
    Pump(30);
  };
  start->SetFocus();
  ASSERT_TRUE(FocusIs(start));

  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !start->Enabled(); }));
  ASSERT_TRUE(FocusIs(main));
  PressKey(VK_TAB);
  EXPECT_TRUE(FocusIs(stop)) << "Tab did not go on from the disabled button";

  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !stop->Enabled() && start->Enabled(); }));
  shiftTab();
  EXPECT_TRUE(FocusIs(start)) << "Shift+Tab did not go back from the disabled button";

  // Pressed again, and the form left and made active again while the
  // button is still disabled.
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !start->Enabled(); }));
  ClickOn(other);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other->Handle(); }));
  ClickMainForm();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  ASSERT_TRUE(FocusIs(main));
  PressKey(VK_TAB);
  EXPECT_TRUE(FocusIs(stop)) << "Tab after the form was made active again";

  // A button that hides itself.
  once->SetFocus();
  ASSERT_TRUE(FocusIs(once));
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !once->Visible(); }));
  PressKey(VK_TAB);
  EXPECT_TRUE(FocusIs(last)) << "Tab did not go on from the hidden button";
}
