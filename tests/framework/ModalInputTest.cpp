// Modal windows opened from the click of a windowless control, driven with
// the real mouse (SendInput) under Wine: the press is taken by the control's
// windowed container, and the modal window that the release opens must
// still take the clicks that follow. The test's thread runs the modal loops;
// a second thread is the operator's hand, which waits for each window and
// clicks it.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Application.h"
#include "BareForm.h"
#include "Button.h"
#include "Buttons.h"
#include "Dialogs.h"
#include "DragInput.h"
#include "Edit.h"
#include "Label.h"
#include "Menus.h"
#include "Panel.h"

using namespace fw;

namespace {

constexpr int kWaitMs = 5000;

// Waits (from the hand's thread) until pred holds; false after ms.
bool WaitUntil(const std::function<bool()>& pred, int ms = kWaitMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!pred()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(10);
  }
  return true;
}

// From the hand's thread: the real pointer moved to a screen point, and
// the real left button pressed or released; each waited for.
void MoveAt(POINT p) {
  realinput::SendMove(p, 1);
  WaitUntil([p] {
    POINT at;
    GetCursorPos(&at);
    return at.x == p.x && at.y == p.y;
  }, 1000);
  Sleep(30);
}

void LeftButton(bool down) {
  realinput::SendButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  WaitUntil([down] { return (GetAsyncKeyState(VK_LBUTTON) < 0) == down; }, 1000);
  Sleep(30);
}

// A click of the real left button at a screen point.
void ClickAt(POINT p) {
  MoveAt(p);
  LeftButton(true);
  LeftButton(false);
}

POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT CentreOf(TControl* control) {
  return control->ClientToScreen(POINT{control->Width() / 2, control->Height() / 2});
}

bool Showing(HWND window) { return window && IsWindow(window) && IsWindowVisible(window); }

BOOL CALLBACK FindBoxOfProcess(HWND h, LPARAM p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(p) = h;
  return FALSE;
}

// The message box that this process shows (class #32770), or nullptr.
HWND FindBox() {
  HWND found = nullptr;
  EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A dialog form with a button that ends it with mrOk and a panel holding a
// label (for the next level's click).
struct TModalLevel {
  TForm* form = nullptr;
  TButton* ok = nullptr;
  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  TModalResult result = mrNone;
  bool shown = false;
};

void MakeLevel(TModalLevel& level, TComponent* owner, int left, int top) {
  level.form = new TForm(owner);
  level.form->SetBorderStyle(bsDialog);
  level.form->SetBounds(left, top, 300, 200);
  level.form->SetCaption("Level");
  level.ok = new TButton(level.form);
  level.ok->SetParent(level.form);
  level.ok->SetBounds(20, 20, 100, 30);
  level.ok->SetCaption("OK");
  level.ok->SetModalResult(mrOk);
  level.panel = new TPanel(level.form);
  level.panel->SetParent(level.form);
  level.panel->SetBounds(20, 70, 200, 60);
  level.label = new TLabel(level.form);
  level.label->SetParent(level.panel);
  level.label->SetBounds(20, 20, 120, 20);
  level.label->SetCaption("Open");
}

class ModalInput : public ::testing::Test {
 protected:
  void SetUp() override {
    main = fwtest::NewBareForm<TForm>(400, 300);
    Application().SetMainForm(main);
    panel = new TPanel(main);
    panel->SetParent(main);
    panel->SetBounds(20, 20, 300, 100);
    label = new TLabel(main);
    label->SetParent(panel);
    label->SetBounds(20, 30, 150, 24);
    label->SetCaption("Open");
    main->SetVisible(true);
    SetForegroundWindow(main->Handle());
    dragtest::Pump(100);
  }
  void TearDown() override {
    if (hand.joinable()) hand.join();
    Application().SetMainForm(nullptr);
    main->Free();
    dragtest::Pump(50);
  }
  // Runs the hand's script on its own thread and this thread's loop (the
  // modal loops nest inside) until the script is over.
  // body runs on this thread after the hand has started (a modal loop it
  // opens runs while the hand works).
  void Run(std::function<void()> script, const std::function<void()>& body = nullptr) {
    done = false;
    hand = std::thread([this, script] {
      script();
      done = true;
    });
    if (body) body();
    ASSERT_TRUE(dragtest::PumpUntil([this] { return done.load(); }, 60000));
    hand.join();
  }
  // Focus goes where the keyboard input of the test goes: the main form
  // must be the foreground window.
  TEdit* AddEdit(int top) {
    auto* edit = new TEdit(main);
    edit->SetParent(main);
    edit->SetBounds(20, top, 150, 22);
    return edit;
  }
  TButton* AddButton(int top) {
    auto* button = new TButton(main);
    button->SetParent(main);
    button->SetBounds(200, top, 100, 26);
    button->SetCaption("Button");
    return button;
  }
  // A script step that failed: the windows it left open are closed, so
  // that the loops of the test's thread end.
  static void CloseAll(std::initializer_list<TModalLevel*> levels) {
    if (HWND box = FindBox()) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    for (TModalLevel* level : levels)
      if (level->form && Showing(level->form->HandleIfAllocated()))
        PostMessageW(level->form->HandleIfAllocated(), WM_CLOSE, 0, 0);
  }

  TForm* main = nullptr;
  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  std::thread hand;
  std::atomic<bool> done{false};
};

}  // namespace

TEST_F(ModalInput, FormsOpenedFromLabelsInPanelsTakeRealClicks) {
  TModalLevel first, second;
  MakeLevel(first, main, 450, 40);
  MakeLevel(second, first.form, 480, 300);
  label->OnClick = [&](TObject*) {
    first.shown = true;
    first.result = first.form->ShowModal();
  };
  first.label->OnClick = [&](TObject*) {
    second.shown = true;
    second.result = second.form->ShowModal();
  };
  const HWND firstWindow = first.form->Handle(), secondWindow = second.form->Handle();
  const POINT mainLabel = CentreOf(label), firstLabel = CentreOf(first.label);
  std::atomic<bool> secondOkAnswered{false}, firstOkAnswered{false};

  Run([&] {
    ClickAt(mainLabel);
    if (!WaitUntil([&] { return Showing(firstWindow); })) return CloseAll({&second, &first});
    // The first modal form: its label opens the second.
    ClickAt(firstLabel);
    if (!WaitUntil([&] { return Showing(secondWindow); })) return CloseAll({&second, &first});
    ClickAt(CentreOf(second.ok->Handle()));
    secondOkAnswered = WaitUntil([&] { return !Showing(secondWindow); });
    if (!secondOkAnswered) return CloseAll({&second, &first});
    ClickAt(CentreOf(first.ok->Handle()));
    firstOkAnswered = WaitUntil([&] { return !Showing(firstWindow); });
    if (!firstOkAnswered) CloseAll({&second, &first});
  });
  EXPECT_TRUE(first.shown);
  EXPECT_TRUE(second.shown);
  EXPECT_TRUE(secondOkAnswered) << "the second modal form took no click";
  EXPECT_TRUE(firstOkAnswered) << "the first modal form took no click";
  EXPECT_EQ(second.result, mrOk);
  EXPECT_EQ(first.result, mrOk);
  // The main window takes clicks again.
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ModalInput, AMessageBoxOpenedFromALabelInAPanelTakesARealClick) {
  int answer = 0;
  label->OnClick = [&](TObject*) { answer = ShowMessageBox(main->Handle(), "Go on?", "Test", MB_OKCANCEL); };
  const POINT mainLabel = CentreOf(label);
  std::atomic<bool> answered{false};
  Run([&] {
    ClickAt(mainLabel);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindBox()) != nullptr; })) return;
    ClickAt(CentreOf(GetDlgItem(box, IDOK)));
    answered = WaitUntil([&] { return !IsWindow(box); });
    if (!answered) CloseAll({});
  });
  EXPECT_TRUE(answered) << "the box took no click";
  EXPECT_EQ(answer, IDOK);
}

TEST_F(ModalInput, FocusLeavesADisabledOrHiddenControlForItsFormAndTabGoesOnFromThere) {
  TEdit* first = AddEdit(150);
  TButton* hides = AddButton(150);
  TButton* disables = AddButton(190);
  disables->OnClick = [&](TObject*) { disables->SetEnabled(false); };
  main->Handle();
  SetForegroundWindow(main->Handle());
  disables->SetFocus();
  dragtest::Pump(50);
  ASSERT_EQ(GetFocus(), disables->Handle());
  // Space presses the focused button, which disables itself.
  dragtest::PressKey(VK_SPACE);
  ASSERT_TRUE(dragtest::PumpUntil([&] { return !disables->Enabled(); }));
  EXPECT_EQ(GetFocus(), main->Handle()) << "the focus went to no window";
  dragtest::PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), first->Handle()) << "Tab from the form reached no control";

  hides->SetFocus();
  dragtest::Pump(20);
  ASSERT_EQ(GetFocus(), hides->Handle());
  hides->SetVisible(false);
  EXPECT_EQ(GetFocus(), main->Handle());
  dragtest::PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), first->Handle());
}

TEST_F(ModalInput, TheFocusGoesBackToItsControlWhenAMessageBoxCloses) {
  TEdit* first = AddEdit(150);
  TEdit* second = AddEdit(190);
  first->SetText("first");
  second->SetText("second");
  main->Handle();
  SetForegroundWindow(main->Handle());
  second->SetFocus();
  dragtest::Pump(50);
  ASSERT_EQ(GetFocus(), second->Handle());
  int answer = 0;
  std::atomic<bool> closed{false};
  Run(
      [&] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindBox()) != nullptr && GetForegroundWindow() == box; })) return CloseAll({});
        realinput::SendKey(VK_RETURN);
        closed = WaitUntil([&] { return !IsWindow(box); });
        if (!closed) CloseAll({});
      },
      [&] { answer = ShowMessageBox(main->Handle(), "Checked.", "Test", MB_OK); });
  EXPECT_TRUE(closed) << "Enter did not close the box";
  EXPECT_EQ(answer, IDOK);
  dragtest::Pump(50);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
  EXPECT_EQ(GetFocus(), second->Handle()) << "the focus did not come back to the control that had it";
}

TEST_F(ModalInput, AButtonDisabledForItsWorkHasTheFocusAgainWhenItsBoxCloses) {
  TEdit* first = AddEdit(150);
  TButton* work = AddButton(190);
  (void)first;
  int answer = 0;
  work->OnClick = [&](TObject*) {
    work->SetEnabled(false);  // the work runs with the buttons disabled
    dragtest::Pump(20);
    work->SetEnabled(true);
    answer = ShowMessageBox(main->Handle(), "Done.", "Test", MB_OK);
  };
  main->Handle();
  SetForegroundWindow(main->Handle());
  work->SetFocus();
  dragtest::Pump(50);
  ASSERT_EQ(GetFocus(), work->Handle());
  std::atomic<bool> closed{false};
  Run(
      [&] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindBox()) != nullptr && GetForegroundWindow() == box; })) return CloseAll({});
        Sleep(300);
        realinput::SendKey(VK_RETURN);
        closed = WaitUntil([&] { return !IsWindow(box); });
        if (!closed) CloseAll({});
      },
      [&] { realinput::SendKey(VK_SPACE); });
  EXPECT_TRUE(closed);
  EXPECT_EQ(answer, IDOK);
  dragtest::PumpUntil([&] { return GetFocus() == work->Handle(); }, 1000);
  EXPECT_EQ(GetFocus(), work->Handle()) << "the focus did not come back to the button";
}

// ---- a message box of another thread (the batch worker's failure box) ----

namespace {

// The message boxes of this process, by caption.
struct BoxFinder {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindBoxByCaption(HWND h, LPARAM p) {
  auto* f = reinterpret_cast<BoxFinder*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[16] = {}, text[64] = {};
  GetClassNameW(h, cls, 16);
  GetWindowTextW(h, text, 64);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h) || f->caption != text)
    return TRUE;
  f->found = h;
  return FALSE;
}

HWND FindBoxCaptioned(const wchar_t* caption) {
  BoxFinder f{caption, nullptr};
  EnumWindows(FindBoxByCaption, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// A box of its own thread, owned by the main window, as the batch worker
// shows its failure box.
class WorkerBox {
 public:
  explicit WorkerBox(HWND owner)
      : thread_([this, owner] {
          answer = ShowMessageBox(owner, "The card failed.", "Worker", MB_OK | MB_ICONERROR);
          finished = true;
        }) {}
  // The box's thread talks to the windows of this one as the box closes:
  // this thread serves it until it is done.
  ~WorkerBox() {
    dragtest::PumpUntil([this] { return finished.load(); }, 10000);
    if (thread_.joinable()) thread_.join();
  }
  HWND Window() const { return FindBoxCaptioned(L"Worker"); }
  std::atomic<int> answer{0};
  std::atomic<bool> finished{false};

 private:
  std::thread thread_;
};

// From the hand's thread: the operator reads another thread's box, then
// answers it with Enter; true when that closed it (else it is closed by a
// message, so that the test goes on).
bool AnswerWithEnter(HWND box) {
  Sleep(300);
  realinput::SendKey(VK_RETURN);
  const bool closed = WaitUntil([&] { return !IsWindow(box); });
  if (!closed) PostMessageW(box, WM_COMMAND, IDOK, 0);
  return closed;
}

// From the hand's thread: once the modal form shows, another thread opens
// its box over the main window; the box, or nullptr (the windows closed).
HWND WorkerBoxOverModal(TModalLevel& level, HWND mainWindow, std::unique_ptr<WorkerBox>& worker) {
  const HWND modal = level.form->HandleIfAllocated();
  HWND box = nullptr;
  if (WaitUntil([&] { return Showing(modal); })) {
    worker = std::make_unique<WorkerBox>(mainWindow);
    if (WaitUntil([&] { return (box = worker->Window()) != nullptr; })) return box;
  }
  if (HWND any = FindBox()) PostMessageW(any, WM_COMMAND, IDCANCEL, 0);
  if (Showing(modal)) PostMessageW(modal, WM_CLOSE, 0, 0);
  return nullptr;
}

}  // namespace

TEST_F(ModalInput, AnotherThreadsBoxClosedOverAModalFormLeavesTheMainWindowDisabledUnderIt) {
  TModalLevel level;
  MakeLevel(level, main, 450, 40);
  const HWND mainWindow = main->Handle(), modal = level.form->Handle();
  std::unique_ptr<WorkerBox> worker;
  std::atomic<bool> boxClosed{false}, mainHeld{false}, modalActive{false}, formClosed{false};
  Run(
      [&] {
        HWND box = WorkerBoxOverModal(level, mainWindow, worker);
        if (!box) return;
        ClickAt(CentreOf(GetDlgItem(box, IDOK)));
        boxClosed = WaitUntil([&] { return !IsWindow(box); });
        Sleep(200);
        // The modal form is still open: the main window takes no click.
        mainHeld = !IsWindowEnabled(mainWindow);
        modalActive = WaitUntil([&] { return GetForegroundWindow() == modal; }, 1000);
        ClickAt(CentreOf(level.ok->Handle()));
        formClosed = WaitUntil([&] { return !Showing(modal); });
        if (!formClosed) CloseAll({&level});
      },
      [&] { level.result = level.form->ShowModal(); });
  worker.reset();
  EXPECT_TRUE(boxClosed);
  EXPECT_TRUE(mainHeld) << "the worker's box enabled the main window under the modal form";
  EXPECT_TRUE(modalActive) << "the modal form is not the active window again";
  EXPECT_TRUE(formClosed);
  EXPECT_EQ(level.result, mrOk);
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 1000);
  EXPECT_EQ(GetActiveWindow(), mainWindow);
}

TEST_F(ModalInput, TheMainWindowStaysDisabledUntilTheLastModalWindowOfAnyThreadCloses) {
  // A modal form closes while another thread's box is open, then a box of
  // this thread closes while the other thread's box is open.
  TModalLevel level;
  MakeLevel(level, main, 450, 40);
  const HWND mainWindow = main->Handle(), modal = level.form->Handle();
  std::unique_ptr<WorkerBox> worker;
  std::atomic<bool> formClosed{false}, heldAfterForm{false}, boxActive{false}, enterClosed{false};
  Run(
      [&] {
        HWND box = WorkerBoxOverModal(level, mainWindow, worker);
        if (!box) return;
        // The modal form is answered (the worker's box does not hold it).
        ClickAt(CentreOf(level.ok->Handle()));
        formClosed = WaitUntil([&] { return !Showing(modal); });
        if (!formClosed) return CloseAll({&level});
        Sleep(200);
        heldAfterForm = !IsWindowEnabled(mainWindow);
        // The box is the window the keyboard reaches: Enter closes it.
        boxActive = WaitUntil([&] { return GetForegroundWindow() == box; }, 1000);
        enterClosed = AnswerWithEnter(box);
      },
      [&] { level.result = level.form->ShowModal(); });
  worker.reset();
  EXPECT_TRUE(formClosed);
  EXPECT_TRUE(heldAfterForm) << "the main window was enabled under the other thread's box";
  EXPECT_TRUE(boxActive) << "the other thread's box is not the active window";
  EXPECT_TRUE(enterClosed) << "Enter did not close the other thread's box";
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 1000);
  EXPECT_EQ(GetActiveWindow(), mainWindow);
}

TEST_F(ModalInput, ABoxOfThisThreadStaysModalWhenAnotherThreadsBoxOverItCloses) {
  const HWND mainWindow = main->Handle();
  std::unique_ptr<WorkerBox> worker;
  std::atomic<bool> workerClosed{false}, held{false}, ownActive{false}, ownClosed{false};
  int answer = 0;
  Run(
      [&] {
        HWND own = nullptr;
        if (!WaitUntil([&] { return (own = FindBoxCaptioned(L"Own")) != nullptr; })) return;
        worker = std::make_unique<WorkerBox>(mainWindow);
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = worker->Window()) != nullptr; })) return CloseAll({});
        ClickAt(CentreOf(GetDlgItem(box, IDOK)));
        workerClosed = WaitUntil([&] { return !IsWindow(box); });
        Sleep(200);
        held = !IsWindowEnabled(mainWindow);
        ownActive = WaitUntil([&] { return GetForegroundWindow() == own; }, 1000);
        ClickAt(CentreOf(GetDlgItem(own, IDOK)));
        ownClosed = WaitUntil([&] { return !IsWindow(own); });
        if (!ownClosed) PostMessageW(own, WM_COMMAND, IDOK, 0);
      },
      [&] { answer = ShowMessageBox(mainWindow, "A batch is running.", "Own", MB_OK | MB_ICONWARNING); });
  worker.reset();
  EXPECT_TRUE(workerClosed);
  EXPECT_TRUE(held) << "the other thread's box enabled the main window under this thread's box";
  EXPECT_TRUE(ownActive) << "this thread's box is not the active window again";
  EXPECT_TRUE(ownClosed);
  EXPECT_EQ(answer, IDOK);
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
}

TEST_F(ModalInput, AnotherThreadsBoxTakesTheKeyboardAndGivesTheMainWindowBackWhole) {
  TEdit* first = AddEdit(150);
  TEdit* second = AddEdit(190);
  (void)first;
  const HWND mainWindow = main->Handle();
  SetForegroundWindow(mainWindow);
  second->SetFocus();
  dragtest::Pump(50);
  std::unique_ptr<WorkerBox> worker;
  std::atomic<bool> heldWhileOpen{false}, boxActive{false}, enterClosed{false};
  Run([&] {
    worker = std::make_unique<WorkerBox>(mainWindow);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = worker->Window()) != nullptr; })) return;
    heldWhileOpen = !IsWindowEnabled(mainWindow);
    boxActive = WaitUntil([&] { return GetForegroundWindow() == box; }, 2000);
    // Read before it is answered: the main window's thread sees it lose the
    // keyboard first (answered within the same instant, the window system
    // can leave no window in front).
    enterClosed = AnswerWithEnter(box);
  });
  worker.reset();
  EXPECT_TRUE(heldWhileOpen);
  EXPECT_TRUE(boxActive) << "the other thread's box did not become the active window";
  EXPECT_TRUE(enterClosed) << "Enter did not close the other thread's box";
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  ASSERT_TRUE(dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 2000));
  EXPECT_EQ(GetFocus(), second->Handle());
}

// Under Wine without a window manager, another thread's box takes the
// keyboard for an instant as it closes, and the main window's thread may
// read that report only after the main window was made active again: the
// window system then gives the activation to the desktop (as done here by
// hand). Right after the box the main window takes it back, with its
// focus; a while later it leaves the desktop its activation.
TEST_F(ModalInput, AMainWindowThatLostTheActivationToTheDesktopAsAnotherThreadsBoxClosedTakesItBack) {
  AddEdit(150);
  TEdit* second = AddEdit(190);
  const HWND mainWindow = main->Handle();
  SetForegroundWindow(mainWindow);
  second->SetFocus();
  dragtest::Pump(50);
  std::unique_ptr<WorkerBox> worker;
  std::atomic<bool> enterClosed{false};
  Run([&] {
    worker = std::make_unique<WorkerBox>(mainWindow);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = worker->Window()) != nullptr; })) return;
    WaitUntil([&] { return GetForegroundWindow() == box; }, 2000);
    enterClosed = AnswerWithEnter(box);
  });
  worker.reset();
  ASSERT_TRUE(enterClosed);
  ASSERT_TRUE(dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 2000));
  SetForegroundWindow(GetDesktopWindow());
  EXPECT_TRUE(dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 2000))
      << "the main window left the activation with the desktop right after the box";
  EXPECT_EQ(GetFocus(), second->Handle());
  // A while later the desktop chosen again keeps the activation.
  dragtest::Pump(1200);
  SetForegroundWindow(GetDesktopWindow());
  dragtest::Pump(300);
  EXPECT_NE(GetActiveWindow(), mainWindow);
  SetForegroundWindow(mainWindow);
}

TEST_F(ModalInput, AModalToolWindowTakesTheKeyboardBackWhenAnotherThreadsBoxCloses) {
  const HWND mainWindow = main->Handle();
  for (TFormBorderStyle border : {bsToolWindow, bsSizeToolWin}) {
    SCOPED_TRACE(border == bsToolWindow ? "bsToolWindow" : "bsSizeToolWin");
    TModalLevel level;
    MakeLevel(level, main, 450, 40);
    level.form->SetBorderStyle(border);
    level.ok->SetDefault(true);
    const HWND modal = level.form->Handle();
    std::unique_ptr<WorkerBox> worker;
    std::atomic<bool> boxClosed{false}, modalActive{false}, enterClosed{false};
    Run(
        [&] {
          HWND box = WorkerBoxOverModal(level, mainWindow, worker);
          if (!box) return;
          ClickAt(CentreOf(GetDlgItem(box, IDOK)));
          boxClosed = WaitUntil([&] { return !IsWindow(box); });
          modalActive = WaitUntil([&] { return GetForegroundWindow() == modal; }, 1000);
          Sleep(200);
          // Enter reaches the tool window's default button.
          realinput::SendKey(VK_RETURN);
          enterClosed = WaitUntil([&] { return !Showing(modal); });
          if (!enterClosed) CloseAll({&level});
        },
        [&] { level.result = level.form->ShowModal(); });
    worker.reset();
    EXPECT_TRUE(boxClosed);
    EXPECT_TRUE(modalActive) << "the modal tool window is not the active window again";
    EXPECT_TRUE(enterClosed) << "the keys reach no window";
    EXPECT_EQ(level.result, mrOk);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    level.form->Free();
    dragtest::Pump(50);
  }
}

namespace {

// What the modal holds' release probe runs (on the releasing thread).
std::function<void(HWND)> g_onRelease;

void RunReleaseProbe(HWND window) {
  if (g_onRelease) g_onRelease(window);
}

}  // namespace

TEST_F(ModalInput, AnotherThreadsBoxOpenedAsAModalFormLetsTheMainWindowGoKeepsItDisabled) {
  // The modal form is answered by a click; in the instant its hold lets
  // the main window go (counted no more, not yet enabled), another thread
  // opens its box over the main window.
  TModalLevel level;
  MakeLevel(level, main, 450, 40);
  const HWND mainWindow = main->Handle(), modal = level.form->Handle();
  std::unique_ptr<WorkerBox> worker;
  std::atomic<HWND> box{nullptr};
  g_onRelease = [&](HWND window) {
    if (window != mainWindow || worker) return;
    worker = std::make_unique<WorkerBox>(mainWindow);
    dragtest::PumpUntil([&] { return (box = worker->Window()) != nullptr; });
  };
  SetModalReleaseProbe(RunReleaseProbe);
  std::atomic<bool> formClosed{false}, held{false}, boxActive{false}, boxClosed{false};
  Run(
      [&] {
        if (!WaitUntil([&] { return Showing(modal); })) return;
        ClickAt(CentreOf(level.ok->Handle()));
        formClosed = WaitUntil([&] { return !Showing(modal) && box.load(); });
        if (!formClosed) return CloseAll({&level});
        Sleep(200);
        held = !IsWindowEnabled(mainWindow);
        boxActive = WaitUntil([&] { return GetForegroundWindow() == box; }, 1000);
        ClickAt(CentreOf(GetDlgItem(box, IDOK)));
        boxClosed = WaitUntil([&] { return !IsWindow(box); });
        if (!boxClosed) PostMessageW(box, WM_COMMAND, IDOK, 0);
      },
      [&] { level.result = level.form->ShowModal(); });
  SetModalReleaseProbe(nullptr);
  worker.reset();
  g_onRelease = nullptr;
  EXPECT_TRUE(formClosed);
  EXPECT_EQ(level.result, mrOk);
  EXPECT_TRUE(held) << "the main window was enabled under the other thread's box";
  EXPECT_TRUE(boxActive) << "the other thread's box is not the active window";
  EXPECT_TRUE(boxClosed);
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  dragtest::PumpUntil([&] { return GetActiveWindow() == mainWindow; }, 1000);
  EXPECT_EQ(GetActiveWindow(), mainWindow);
}

// ---- presses whose release went to a modal window ----

TEST_F(ModalInput, ASpeedButtonIsNotClickedByAnotherPressAfterItsDoubleClickOpenedAModalForm) {
  auto* button = new TSpeedButton(main);
  button->SetParent(main);
  button->SetBounds(20, 150, 60, 24);
  const POINT onButton = CentreOf(button), elsewhere = main->ClientToScreen(POINT{300, 250});
  // The form opens from OnDblClick, or from OnMouseDown of the second press.
  for (const bool fromMouseDown : {false, true}) {
    SCOPED_TRACE(fromMouseDown ? "OnMouseDown" : "OnDblClick");
    TModalLevel level;
    MakeLevel(level, main, 450, 40);
    int clicks = 0, doubles = 0;
    const auto open = [&] {
      ++doubles;
      level.result = level.form->ShowModal();
    };
    button->OnClick = [&](TObject*) { ++clicks; };
    button->OnDblClick = [&](TObject*) {
      if (!fromMouseDown) open();
    };
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
      if (fromMouseDown && (shift & (1u << ssDouble))) open();
    };
    const HWND modal = level.form->Handle();
    std::atomic<bool> closed{false};
    Run([&] {
      ClickAt(onButton);
      LeftButton(true);  // the double click's second press opens the form
      if (!WaitUntil([&] { return Showing(modal); })) return CloseAll({&level});
      LeftButton(false);
      ClickAt(CentreOf(level.ok->Handle()));
      closed = WaitUntil([&] { return !Showing(modal); });
      if (!closed) CloseAll({&level});
    });
    ASSERT_TRUE(closed);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);
    dragtest::MoveTo(onButton);
    EXPECT_EQ(button->State(), bsUp) << "the button is drawn pressed by the press the form took";
    // A press on the form, released over the button.
    dragtest::MoveTo(elsewhere);
    dragtest::Button(true);
    dragtest::GlideTo(onButton);
    dragtest::Button(false);
    EXPECT_EQ(clicks, 1) << "a release of another press clicked the button";
    dragtest::Button(true);
    dragtest::Button(false);
    EXPECT_EQ(clicks, 2) << "the button's own click did not click it";
    level.form->Free();
    Sleep(GetDoubleClickTime() + 50);  // the next round's first click is no double click
  }
}

TEST_F(ModalInput, APressIsOverWhenAModalWindowOrAMenuTakesItsRelease) {
  // OnMouseDown opens a modal form (on a windowless control, whose form
  // holds the pointer for it, and on a window that holds none) or a pop-up
  // menu (which takes the pointer). The button is held while the keyboard
  // closes it, and released over the control then.
  struct Case {
    TControl* control;
    bool menu;
  };
  auto* popup = new TPopupMenu(main);
  auto* item = new TMenuItem(main);
  item->SetCaption("Item");
  popup->Items()->Add(item);
  for (const Case c : {Case{label, false}, Case{panel, false}, Case{label, true}}) {
    SCOPED_TRACE(std::string(c.control->ClassName()) + (c.menu ? " with a menu" : ""));
    TModalLevel level;
    MakeLevel(level, main, 450, 40);
    level.ok->SetDefault(true);
    int clicks = 0, presses = 0;
    c.control->OnClick = [&](TObject*) { ++clicks; };
    c.control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
      if (++presses > 1) return;
      if (c.menu)
        popup->Popup(450, 40);
      else
        level.result = level.form->ShowModal();
    };
    const HWND modal = level.form->Handle();
    const POINT at = c.control->ClientToScreen(POINT{c.control->Width() - 10, c.control->Height() - 10});
    std::atomic<bool> closed{false};
    Run([&] {
      MoveAt(at);
      LeftButton(true);
      HWND window = nullptr;
      const bool shown = WaitUntil([&] {
        window = c.menu ? FindWindowW(L"#32768", nullptr) : modal;
        return Showing(window) && (c.menu || GetForegroundWindow() == window);
      });
      if (shown) {
        Sleep(100);
        realinput::SendKey(c.menu ? VK_ESCAPE : VK_RETURN);
        closed = WaitUntil([&] { return !Showing(window); });
      }
      if (!closed) {
        if (c.menu) realinput::SendKey(VK_ESCAPE);
        CloseAll({&level});
      }
      Sleep(100);
      LeftButton(false);
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(clicks, 0) << "the release after the window closed clicked the control";
    Sleep(GetDoubleClickTime() + 50);
    dragtest::Button(true);
    dragtest::Button(false);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(clicks, 1) << "the control's own click did not click it";
    c.control->OnClick = nullptr;
    c.control->OnMouseDown = nullptr;
    level.form->Free();
  }
}
