// Size limits, resize events, sizing to the children, the context pop-up
// event and the properties taken from the parent, under Wine: through
// SetBounds, alignment, form data, a user dragging a form's border and a
// real right click (SendInput).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "Application.h"
#include "BareForm.h"
#include "FormReader.h"
#include "Menus.h"
#include "Panel.h"
#include "PropertyText.h"
#include "Registration.h"
#include "SendInputs.h"
#include "Timer.h"

using namespace fw;

namespace {

using realinput::MoveToScreen;
using realinput::PressButton;

void Pump(int ms) { realinput::PumpMessages(ms); }

// A right click at a point of a window's client area.
void RightClick(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  MoveToScreen(p);
  PressButton(MOUSEEVENTF_RIGHTDOWN);
  PressButton(MOUSEEVENTF_RIGHTUP);
  Pump(60);
}

// A form class whose published handlers form data binds to the resize events.
class TFmSizing : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFmSizing>("TFmSizing", &TForm::StaticClass())
                                       .Method("PanelCanResize", &TFmSizing::PanelCanResize)
                                       .Method("PanelConstrainedResize", &TFmSizing::PanelConstrainedResize);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmSizing(TComponent* owner) : TForm(owner) {}

  // Refuses widths above refuseAbove.
  void PanelCanResize(TObject*, int& newWidth, int&, bool& resize) {
    ++canResizeCalls;
    if (newWidth > refuseAbove) resize = false;
  }
  // Tightens the maximum height for this application.
  void PanelConstrainedResize(TObject*, int&, int&, int&, int& maxHeight) {
    ++constrainedCalls;
    if (tightMaxHeight > 0) maxHeight = tightMaxHeight;
  }
  int refuseAbove = 10000, tightMaxHeight = 0;
  int canResizeCalls = 0, constrainedCalls = 0;
};

class SizingTest : public ::testing::Test {
 protected:
  void SetUp() override { form = fwtest::NewBareForm<TFmSizing>(400, 300); }
  void TearDown() override { form->Free(); }
  void Load(const std::string& text) {
    std::string error;
    ASSERT_TRUE(ReadFormData(form, text, error)) << error;
  }
  TPanel* Panel(const char* name) { return dynamic_cast<TPanel*>(form->FindComponent(name)); }
  TFmSizing* form = nullptr;
};

}  // namespace

TEST_F(SizingTest, ConstraintsHoldThroughSetBoundsAndAreAppliedWhenSet) {
  auto* p = new TPanel(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 100, 50);
  p->Constraints()->SetMinWidth(60);
  p->Constraints()->SetMaxHeight(40);
  // Set on a control already too tall: held at once.
  EXPECT_EQ(p->Height(), 40);
  p->SetBounds(10, 10, 20, 200);
  EXPECT_EQ(p->Width(), 60);
  EXPECT_EQ(p->Height(), 40);
  p->SetWidth(90);  // inside: taken as given
  EXPECT_EQ(p->Width(), 90);
  // A maximum below its minimum: the minimum wins, whatever is asked,
  // negative sizes included.
  p->Constraints()->SetMaxWidth(30);
  EXPECT_EQ(p->Width(), 60);
  p->Constraints()->SetMinHeight(45);  // above MaxHeight 40
  for (int asked : {-50, 0, 10, 500}) {
    p->SetBounds(0, 0, asked, asked);
    EXPECT_EQ(p->Width(), 60) << asked;
    EXPECT_EQ(p->Height(), 45) << asked;
  }
  // The window got the held size too.
  RECT r;
  GetWindowRect(p->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 60);
}

TEST_F(SizingTest, AlignmentRespectsTheConstraints) {
  form->Handle();
  auto* top = new TPanel(form);
  top->SetParent(form);
  top->Constraints()->SetMaxWidth(150);
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* client = new TPanel(form);
  client->SetParent(form);
  client->Constraints()->SetMaxHeight(100);
  client->Constraints()->SetMinWidth(500);
  client->SetAlign(alClient);
  EXPECT_EQ(top->Width(), 150);  // not the form's 400
  EXPECT_EQ(top->Left(), 0);
  EXPECT_EQ(client->Top(), 30);  // below the top panel
  EXPECT_EQ(client->Height(), 100);
  EXPECT_EQ(client->Width(), 500);
  // Realigned after the form's resize: still held.
  form->SetBounds(0, 0, 600, 500);
  EXPECT_EQ(top->Width(), 150);
  EXPECT_EQ(client->Height(), 100);
}

TEST_F(SizingTest, FormDataConstraintsAndResizeEventsApplyOnceRead) {
  form->refuseAbove = 250;
  form->tightMaxHeight = 70;
  Load("object F: TFmSizing\n"
       "  object p: TPanel\n    Left = 5\n    Top = 5\n    Width = 20\n    Height = 90\n"
       "    Constraints.MinWidth = 80\n    Constraints.MaxHeight = 200\n"
       "    OnCanResize = PanelCanResize\n    OnConstrainedResize = PanelConstrainedResize\n  end\n"
       "end\n");
  TPanel* p = Panel("p");
  ASSERT_NE(p, nullptr);
  std::string text;
  EXPECT_EQ(GetPropText(p, "Constraints.MinWidth", text), TPropStatus::Ok);
  EXPECT_EQ(text, "80");
  // Held as soon as the data was read: the minimum width, and the maximum
  // height the handler tightened to 70.
  EXPECT_EQ(p->Width(), 80);
  EXPECT_EQ(p->Height(), 70);
  EXPECT_GT(form->constrainedCalls, 0);
  // OnCanResize refuses widths above 250: the size stays, the move is made.
  const int asked = form->canResizeCalls;
  p->SetBounds(30, 40, 300, 60);
  EXPECT_GT(form->canResizeCalls, asked);
  EXPECT_EQ(p->Left(), 30);
  EXPECT_EQ(p->Width(), 80);
  EXPECT_EQ(p->Height(), 70);
  p->SetBounds(30, 40, 200, 60);  // allowed
  EXPECT_EQ(p->Width(), 200);
  EXPECT_EQ(p->Height(), 60);
}

namespace {

// Drags with the left button from a screen point to another in steps, from
// a thread of its own: the system's sizing loop runs modally inside the
// press's handling and takes the moves as they come. The moves wait until
// that loop holds the mouse: a move sent before goes to the window under the
// pointer (the desktop, once off the form), and the loop would wait for ever
// for a release it never sees.
void DragFromThread(POINT from, POINT to) {
  std::atomic<bool> done{false};
  const DWORD uiThread = GetCurrentThreadId();
  std::thread input([from, to, uiThread, &done] {
    const auto move = [](POINT p) {
      realinput::SendMove(p);
      Sleep(50);
    };
    const auto button = [](DWORD flag) {
      realinput::SendButton(flag);
      Sleep(80);
    };
    move(from);
    button(MOUSEEVENTF_LEFTDOWN);
    // Waits (at most 10 seconds) until the UI thread's sizing loop runs or
    // has ended.
    const auto waitForSizing = [uiThread](bool running) {
      const DWORD end = GetTickCount() + 10000;
      for (;;) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        const bool sizing = GetGUIThreadInfo(uiThread, &info) && (info.flags & GUI_INMOVESIZE);
        if (sizing == running || static_cast<int>(end - GetTickCount()) <= 0) return sizing;
        Sleep(10);
      }
    };
    waitForSizing(true);  // a loop that never starts fails the test's checks
    constexpr int kSteps = 6;
    for (int i = 1; i <= kSteps; ++i)
      move(POINT{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
    button(MOUSEEVENTF_LEFTUP);
    // A loop that missed the release is ended with Esc: the test then fails
    // on its checks instead of hanging.
    if (waitForSizing(false)) realinput::SendKey(VK_ESCAPE);
    done = true;
  });
  // Messages are handled meanwhile (the sizing loop among them).
  while (!done) Pump(10);
  input.join();
  Pump(200);
}

}  // namespace

TEST(SizingByUser, DraggingASizeableFormsBorderStopsAtTheConstraints) {
  Application();
  TForm form(nullptr);
  form.SetBorderStyle(bsSizeable);
  form.SetBounds(100, 100, 300, 200);
  form.Constraints()->SetMinWidth(250);
  form.Constraints()->SetMaxWidth(420);
  int resizes = 0;
  form.OnResize = [&](TObject*) { ++resizes; };
  form.Show();
  // The sizing loop holds the mouse only for the foreground window's input,
  // and a form shown while Wine's desktop starts is not always foreground.
  SetForegroundWindow(form.Handle());
  for (int i = 0; i < 100 && GetForegroundWindow() != form.Handle(); ++i) Pump(50);
  ASSERT_EQ(GetForegroundWindow(), form.Handle());
  Pump(200);
  RECT r;
  GetWindowRect(form.Handle(), &r);
  const int y = (r.top + r.bottom) / 2;
  ASSERT_EQ(SendMessageW(form.Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, y)), HTRIGHT);
  // The right border dragged far to the right, then far to the left.
  DragFromThread(POINT{r.right - 2, y}, POINT{r.right + 300, y});
  // Wine's sizing loop keeps the pointer one pixel inside the largest track
  // size it was given, so the border stops at the maximum or one pixel short
  // of it; never beyond (without the limits it would follow the pointer).
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(form.Width(), r.right - r.left);
  EXPECT_LE(form.Width(), 420);
  EXPECT_GE(form.Width(), 419);
  DragFromThread(POINT{r.right - 2, y}, POINT{r.left - 100, y});
  EXPECT_EQ(form.Width(), 250);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_GT(resizes, 0);
}

TEST_F(SizingTest, AutoSizeFollowsTheChildrenAndTheConstraints) {
  auto* p = new TPanel(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 200, 100);
  p->SetBorderWidth(3);  // bevel 1 + border 3: 4 pixels on each side
  auto* a = new TPanel(form);
  a->SetParent(p);
  a->SetBounds(4, 4, 50, 20);
  auto* aligned = new TPanel(form);  // follows the panel, not counted
  aligned->SetParent(p);
  aligned->SetHeight(10);
  aligned->SetAlign(alBottom);
  form->Handle();
  p->SetAutoSize(true);
  EXPECT_EQ(p->Width(), 4 + 50 + 4);
  EXPECT_EQ(p->Height(), 4 + 20 + 4);
  a->SetBounds(30, 40, 50, 20);  // moved: the panel grows after it
  EXPECT_EQ(p->Width(), 30 + 50 + 4);
  EXPECT_EQ(p->Height(), 40 + 20 + 4);
  a->SetWidth(10);  // shrunk
  EXPECT_EQ(p->Width(), 30 + 10 + 4);
  p->Constraints()->SetMinWidth(70);
  EXPECT_EQ(p->Width(), 70);
  auto* b = new TPanel(form);  // a new child further out
  b->SetParent(p);
  b->SetBounds(100, 0, 20, 20);
  EXPECT_EQ(p->Width(), 124);
  b->Hide();
  EXPECT_EQ(p->Width(), 70);
  p->SetAutoSize(false);
  a->SetBounds(0, 0, 300, 300);
  EXPECT_EQ(p->Width(), 70);
}

TEST_F(SizingTest, BiDiModeAndCtl3DFollowTheParentUntilSetThemselves) {
  Load("object F: TFmSizing\n  object outer: TPanel\n    BiDiMode = bdRightToLeft\n"
       "    object inner: TPanel\n    end\n"
       "    object own: TPanel\n      BiDiMode = bdLeftToRight\n    end\n  end\nend\n");
  TPanel* outer = Panel("outer");
  TPanel* inner = Panel("inner");
  TPanel* own = Panel("own");
  EXPECT_FALSE(outer->ParentBiDiMode());  // set itself in the data
  EXPECT_TRUE(inner->ParentBiDiMode());
  EXPECT_EQ(inner->BiDiMode(), bdRightToLeft);
  EXPECT_FALSE(own->ParentBiDiMode());
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  outer->SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(inner->BiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  // Setting it leaves the parent; ParentBiDiMode takes it back.
  inner->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(inner->ParentBiDiMode());
  outer->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(inner->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(SetPropText(inner, "ParentBiDiMode", "True"), TPropStatus::Ok);
  EXPECT_EQ(inner->BiDiMode(), bdRightToLeft);
  // Ctl3D the same way.
  outer->SetCtl3D(false);
  EXPECT_FALSE(inner->Ctl3D());
  own->SetCtl3D(true);
  EXPECT_FALSE(inner->Ctl3D());
  inner->SetParent(own);  // a new parent: its value
  EXPECT_TRUE(inner->Ctl3D());
  EXPECT_FALSE(own->ParentCtl3D());
}

TEST_F(SizingTest, ContextPopupComesBeforeTheMenuAndHandledSuppressesIt) {
  form->SetBounds(50, 50, 400, 300);
  auto* p = new TPanel(form);
  p->SetParent(form);
  p->SetBounds(20, 20, 200, 100);
  TPopupMenu menu(nullptr);
  auto* item = new TMenuItem(&menu);
  item->SetCaption("Item");
  menu.Items()->Add(item);
  p->SetPopupMenu(&menu);
  int popups = 0;
  menu.OnPopup = [&](TObject*) { ++popups; };
  // Closes any open menu shortly after it opens.
  TTimer closer(nullptr);
  closer.SetInterval(150);
  closer.OnTimer = [](TObject*) {
    if (FindWindowW(L"#32768", nullptr)) EndMenu();
  };
  std::vector<POINT> asked;
  bool handle = true;
  int popupsWhenAsked = -1;
  p->OnContextPopup = [&](TObject* sender, POINT pos, bool& handled) {
    EXPECT_EQ(sender, p);
    asked.push_back(pos);
    popupsWhenAsked = popups;
    handled = handle;
  };
  form->Show();
  Pump(100);
  RightClick(form->Handle(), 70, 50);  // the panel's (50, 30)
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].x, 50);
  EXPECT_EQ(asked[0].y, 30);
  EXPECT_EQ(popups, 0);  // handled: no menu
  handle = false;
  RightClick(form->Handle(), 30, 30);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(popupsWhenAsked, 0);  // raised first,
  EXPECT_EQ(popups, 1);           // then the menu opened
  // No handler: the menu as before.
  p->OnContextPopup = nullptr;
  RightClick(form->Handle(), 40, 40);
  EXPECT_EQ(popups, 2);
}

TEST_F(SizingTest, HelpPropertiesAreKeptOnEveryControl) {
  auto* p = new TPanel(form);
  std::string text;
  EXPECT_EQ(GetPropText(p, "HelpType", text), TPropStatus::Ok);
  EXPECT_EQ(text, "htContext");
  EXPECT_EQ(SetPropText(p, "HelpType", "htKeyword"), TPropStatus::Ok);
  EXPECT_EQ(SetPropText(p, "HelpKeyword", "panels"), TPropStatus::Ok);
  EXPECT_EQ(SetPropText(p, "HelpContext", "1200"), TPropStatus::Ok);
  EXPECT_EQ(p->HelpType(), htKeyword);
  EXPECT_EQ(p->HelpKeyword(), "panels");
  EXPECT_EQ(p->HelpContext(), 1200);
  EXPECT_EQ(SetPropText(p, "HelpType", "htIndex"), TPropStatus::BadValue);
}
