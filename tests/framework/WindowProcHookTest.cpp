// Window procedures put in front of a control and taken out again in any
// order: hooks among themselves, a hook under a procedure saved and
// restored by hand, a procedure taking itself out while it runs, and a
// control that goes before its hooks. (Built into the lifetime test
// program, whose freed memory is never reused.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Application.h"
#include "Control.h"
#include "Form.h"

using namespace fw;

namespace {

constexpr UINT kProbe = WM_USER + 21;

// A windowed control that records the probe messages reaching its own
// window procedure.
class TProbeControl : public TCustomControl {
 public:
  explicit TProbeControl(TComponent* owner) : TCustomControl(owner) {}
  std::string* log = nullptr;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe && log) *log += "o";
    TCustomControl::WndProc(m);
  }
};

class WindowProcHook : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    control = new TProbeControl(form);
    control->SetParent(form);
    control->log = &log;
    ASSERT_NE(control->Handle(), nullptr);
  }
  void TearDown() override { form->Free(); }

  // The path of one probe message sent to the window.
  std::string Trace() {
    log.clear();
    SendMessageW(control->Handle(), kProbe, 0, 0);
    return log;
  }
  // A hook method that notes its letter and passes the message on.
  TWndMethod Noting(TWindowProcHook& hook, const char* letter) {
    return [this, &hook, letter](TMessage& m) {
      if (m.Msg == kProbe) log += letter;
      hook.CallPrevious(m);
    };
  }

  TForm* form = nullptr;
  TProbeControl* control = nullptr;
  std::string log;
};

TEST_F(WindowProcHook, HooksComeOffInAnyOrder) {
  TWindowProcHook a, b, c;
  a.Install(control, Noting(a, "a"));
  b.Install(control, Noting(b, "b"));
  c.Install(control, Noting(c, "c"));
  EXPECT_EQ(Trace(), "cbao");
  b.Remove();  // from the middle
  EXPECT_EQ(Trace(), "cao");
  a.Remove();  // the first, with another in front
  EXPECT_EQ(Trace(), "co");
  b.Install(control, Noting(b, "b"));
  EXPECT_EQ(Trace(), "bco");
  c.Remove();
  b.Remove();
  EXPECT_EQ(Trace(), "o");
  EXPECT_FALSE(a.Installed());
}

TEST_F(WindowProcHook, AHookUnderAProcedureRestoredByHandStaysOut) {
  TWindowProcHook a;
  a.Install(control, Noting(a, "a"));
  TWndMethod saved = control->WindowProc;
  control->WindowProc = [&](TMessage& m) {
    if (m.Msg == kProbe) log += "p";
    saved(m);
  };
  EXPECT_EQ(Trace(), "pao");
  a.Remove();  // cannot be unlinked past the plain procedure: passes on
  EXPECT_EQ(Trace(), "po");
  control->WindowProc = saved;
  EXPECT_EQ(Trace(), "o");
}

TEST_F(WindowProcHook, AProcedureMayTakeItselfOutWhileItRuns) {
  TWindowProcHook a, b;
  a.Install(control, Noting(a, "a"));
  std::string tail = "passed on";  // held by the method taken out
  b.Install(control, [&, tail](TMessage& m) {
    if (m.Msg != kProbe) return b.CallPrevious(m);
    b.Remove();
    log += "b";
    b.CallPrevious(m);
    log += tail.empty() ? "?" : "!";
  });
  EXPECT_EQ(Trace(), "bao!");
  EXPECT_EQ(Trace(), "ao");

  // The same by hand: the procedure puts back what it saved and passes on.
  TWndMethod saved = control->WindowProc;
  control->WindowProc = [&, saved, tail](TMessage& m) {
    if (m.Msg == kProbe) control->WindowProc = saved;
    log += tail.empty() ? "?" : "p";
    saved(m);
  };
  EXPECT_EQ(Trace(), "pao");
  EXPECT_EQ(Trace(), "ao");
}

TEST_F(WindowProcHook, AControlThatGoesFirstLeavesItsHooksHarmless) {
  TWindowProcHook a;
  a.Install(control, Noting(a, "a"));
  EXPECT_EQ(a.Control(), control);
  control->Free();
  EXPECT_FALSE(a.Installed());
  EXPECT_EQ(a.Control(), nullptr);
  a.Remove();
}

TEST_F(WindowProcHook, ARecreatedWindowIsAnnouncedToTheHooksThatSurviveIt) {
  TWindowProcHook a;
  HWND seen = nullptr;
  int notices = 0;
  a.Install(control, [&](TMessage& m) {
    if (m.Msg == CM_RECREATEWND) {
      notices++;
      seen = control->HandleIfAllocated();
    }
    a.CallPrevious(m);
  });
  HWND before = control->Handle();
  control->RecreateWnd();
  EXPECT_EQ(notices, 1);
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(seen, control->HandleIfAllocated());
  EXPECT_TRUE(before != seen || !IsWindow(before));
  EXPECT_EQ(Trace(), "o");
}

TEST_F(WindowProcHook, AHandlerThatThrowsEndsOnlyItsMessage) {
  TWindowProcHook a;
  a.Install(control, [&](TMessage& m) {
    if (m.Msg == kProbe) throw 42;
    a.CallPrevious(m);
  });
  EXPECT_EQ(SendMessageW(control->Handle(), kProbe, 0, 0), 0);
  a.Remove();
  EXPECT_EQ(Trace(), "o");
}

}  // namespace
