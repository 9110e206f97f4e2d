// Destroy paths under Wine: forms freed from their own handlers (a button's
// click, a windowless button's click, a key, a modal loop) stay whole
// until the handling ends and then go. Freed memory is kept filled with a
// pattern and never reused in this program (FreedMemory.h), so a use after
// free crashes or shows as a changed pattern instead of passing by chance.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <vector>

#include "Application.h"
#include "Button.h"
#include "Buttons.h"
#include "Edit.h"
#include "FreedMemory.h"
#include "Threads.h"
#include "Timer.h"

using namespace fw;

namespace {

// Records when a component it watches is freed.
class TWatcher : public TComponent {
 public:
  explicit TWatcher(TComponent* watched) : TComponent(nullptr) { watched->FreeNotification(this); }
  bool gone = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) gone = true;
  }
};

TForm* NewForm() {
  Application();
  auto* form = new TForm(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 200, 100);
  return form;
}

class Lifetime : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(freedmem::Untouched()) << "freed memory was written to"; }
};

TEST_F(Lifetime, AFormFreedInItsButtonsClickGoesWhenTheClickIsOver) {
  TForm* form = NewForm();
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 80, 24);
  form->Show();
  TWatcher watcher(form);
  bool stillThere = false;
  button->OnClick = [&](TObject*) {
    form->Free();
    stillThere = !watcher.gone;  // whole for the rest of the handler
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(stillThere);
  EXPECT_TRUE(watcher.gone);
}

TEST_F(Lifetime, AFormFreedInAWindowlessButtonsClickGoesAfterIt) {
  TForm* form = NewForm();
  auto* button = new TSpeedButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 20, 20);
  form->Show();
  TWatcher watcher(form);
  button->OnClick = [&](TObject*) { form->Free(); };
  HWND h = form->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(watcher.gone);
}

TEST_F(Lifetime, AWindowlessButtonFreeingItselfGoesAndItsFormStays) {
  TForm* form = NewForm();
  auto* button = new TSpeedButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 20, 20);
  form->Show();
  TWatcher watcher(button);
  button->OnClick = [&](TObject*) { button->Free(); };
  HWND h = form->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(watcher.gone);
  EXPECT_EQ(form->ControlCount(), 0);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));
  form->Free();
}

TEST_F(Lifetime, AFormFreedFromAKeyOfItsEditGoesAfterTheKey) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 100, 21);
  form->Show();
  TWatcher watcher(form);
  edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { form->Free(); };
  SendMessageW(edit->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(watcher.gone);
}

TEST_F(Lifetime, AModalFormFreedFromAHandlerEndsItsLoopAndGoesAfterIt) {
  TForm* form = NewForm();
  TWatcher watcher(form);
  TTimer timer(nullptr);
  timer.SetInterval(30);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    form->Free();
  };
  bool goneInLoop = true;
  form->OnHide = [&](TObject*) { goneInLoop = watcher.gone; };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(goneInLoop);
  EXPECT_TRUE(watcher.gone);
}

TEST_F(Lifetime, AModalFormReleasedFromAHandlerEndsItsLoop) {
  TForm* form = NewForm();
  TWatcher watcher(form);
  TTimer timer(nullptr);
  timer.SetInterval(30);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    form->Release();
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_TRUE(watcher.gone);
}

TEST_F(Lifetime, AFormDeletedWithoutFreeLeavesTheScreenAndTheApplication) {
  Application();
  const int forms = Screen().FormCount();
  HWND child = nullptr;
  {
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    child = button->Handle();
    Application().SetMainForm(&form);
    EXPECT_EQ(Screen().FormCount(), forms + 1);
  }
  EXPECT_EQ(Screen().FormCount(), forms);
  EXPECT_EQ(Application().MainForm(), nullptr);
  EXPECT_FALSE(IsWindow(child));
  auto* form = new TForm(nullptr);
  delete form;
  EXPECT_EQ(Screen().FormCount(), forms);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(Lifetime, AChildsWindowAskedForBeforeItsParentsIsMadeOnce) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  // The child asks first: the parent's window is made, and with it the
  // child's; no second window may stay behind bound to the edit.
  HWND h = edit->Handle();
  ASSERT_NE(h, nullptr);
  int children = 0;
  EnumChildWindows(form->Handle(), CountChild, reinterpret_cast<LPARAM>(&children));
  EXPECT_EQ(children, 1);
  EXPECT_EQ(GetParent(h), form->Handle());
  // A window left behind would reach the freed edit when the form goes.
  edit->Free();
  form->Free();
}

// A thread that counts in memory of its own (freed by its destructor)
// until it is told to end, then marks the count finished.
class TCountingThread : public TThread {
 public:
  explicit TCountingThread(bool suspended = false) : TThread(suspended) {}
  ~TCountingThread() override {
    delete count;
    if (gone) *gone = true;
  }
  std::atomic<int>* count = new std::atomic<int>(0);
  bool* gone = nullptr;

 protected:
  void Execute() override {
    while (!Terminated()) {
      ++*count;
      Sleep(1);
    }
    Sleep(20);  // the last of its work, after the request to end
    count->store(-1);
  }
};

TEST_F(Lifetime, AThreadFreedWhileItRunsEndsBeforeItsOwnPartsGo) {
  Application();
  auto* thread = new TCountingThread;
  while (thread->count->load() < 3) Sleep(1);
  bool gone = false;
  thread->gone = &gone;
  thread->Free();
  EXPECT_TRUE(gone);
  // A thread never started is started so that it can end.
  auto* idle = new TCountingThread(true);
  idle->Free();
  TThread* other = new TCountingThread;
  FreeAndNil(other);
  EXPECT_EQ(other, nullptr);
}

TEST_F(Lifetime, AThreadThatFreesItselfGoesWhenItsWorkEnds) {
  Application();
  auto* thread = new TCountingThread(true);
  bool gone = false;
  thread->gone = &gone;
  thread->FreeOnTerminate = true;
  thread->Start();
  thread->Terminate();
  for (int i = 0; i < 500 && !gone; ++i) Sleep(10);
  EXPECT_TRUE(gone);
}

}  // namespace
