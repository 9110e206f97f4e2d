// Windows, painting, message plumbing and threads under Wine: painting into
// a memory device context read back by pixel, window procedure chaining,
// reflected notifications, modal forms, and a synchronised call that runs
// while a message box is open.
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "Bitmap.h"
#include "Button.h"
#include "ComboBox.h"
#include "Edit.h"
#include "IniFile.h"
#include "ListBox.h"
#include "Menus.h"
#include "Registry.h"
#include "Internal.h"
#include "Text.h"
#include "Threads.h"
#include "Timer.h"

using namespace fw;

namespace {

// A windowless control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  explicit TSwatch(TComponent* owner) : TGraphicControl(owner) {}
  TColor fill = clRed;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(fill);
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
};

// A windowed control that paints itself.
class TPanelProbe : public TCustomControl {
 public:
  explicit TPanelProbe(TComponent* owner) : TCustomControl(owner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    RECT r = {2, 2, Width() - 2, Height() - 2};
    Canvas()->FillRect(r);
  }
};

// A push button of the system BUTTON class, to see reflected WM_COMMAND.
class TProbeButton : public TWinControl {
 public:
  explicit TProbeButton(TComponent* owner) : TWinControl(owner) {}
  int commands = 0;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClass = L"BUTTON";
    p.className = L"TProbeButton";
    p.style |= BS_PUSHBUTTON;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) ++commands;
    TWinControl::WndProc(m);
  }
};

COLORREF PixelAt(TBitmap& bmp, int x, int y) { return GetPixel(bmp.Canvas()->Handle(), x, y); }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 100);
    form->SetColor(RGBColor(0, 128, 0));
  }
  void TearDown() override { form->Free(); }
  TForm* form = nullptr;
};

TEST_F(WindowTest, PaintsIntoAGivenDeviceContext) {
  auto* swatch = new TSwatch(form);
  swatch->SetParent(form);
  swatch->SetBounds(10, 10, 20, 20);
  auto* panel = new TPanelProbe(form);
  panel->SetParent(form);
  panel->SetBounds(100, 10, 50, 50);
  ASSERT_NE(form->Handle(), nullptr);
  ASSERT_NE(panel->HandleIfAllocated(), nullptr);

  TBitmap bmp(200, 100);
  HDC dc = bmp.Canvas()->Handle();
  form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(PixelAt(bmp, 5, 5), RGB(0, 128, 0));     // form background
  EXPECT_EQ(PixelAt(bmp, 15, 15), RGB(255, 0, 0));   // windowless child, in place
  EXPECT_EQ(PixelAt(bmp, 31, 31), RGB(0, 128, 0));   // just outside it
  EXPECT_EQ(swatch->paints, 1);

  // The windowed child paints into a DC handed to it, at its own origin.
  TBitmap small(50, 50);
  small.Canvas()->Brush()->SetColor(clWhite);
  RECT all = {0, 0, 50, 50};
  small.Canvas()->FillRect(all);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(small.Canvas()->Handle()), 0);
  EXPECT_EQ(PixelAt(small, 25, 25), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(small, 0, 0), RGB(255, 255, 255));
}

TEST_F(WindowTest, WindowProceduresChainAndUnchain) {
  auto* button = new TProbeButton(form);
  button->SetParent(form);
  button->SetBounds(0, 0, 80, 24);
  ASSERT_NE(button->Handle(), nullptr);

  int seen = 0;
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_USER + 7) {
      ++seen;
      m.Result = 42;  // answered here, not passed on
      return;
    }
    saved(m);
  };
  EXPECT_EQ(SendMessageW(button->Handle(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(button->Perform(WM_USER + 7), 42);
  EXPECT_EQ(seen, 2);
  // The parent's WM_COMMAND comes back to the button as CN_COMMAND through
  // the chain.
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(button->commands, 1);
  button->WindowProc = saved;
  EXPECT_EQ(SendMessageW(button->Handle(), WM_USER + 7, 0, 0), 0);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(ControlOfWindow(button->Handle()), button);
}

TEST_F(WindowTest, MouseGoesToWindowlessChildrenWithEnterAndLeave) {
  auto* swatch = new TSwatch(form);
  swatch->SetParent(form);
  swatch->SetBounds(10, 10, 20, 20);
  int clicks = 0, enters = 0;
  swatch->OnClick = [&](TObject*) { ++clicks; };
  form->Handle();
  TWndMethod saved = swatch->WindowProc;
  swatch->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER) ++enters;
    saved(m);
  };
  HWND h = form->Handle();
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(swatch->MouseInside());
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(16, 16));
  EXPECT_EQ(clicks, 1);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(100, 80));
  EXPECT_FALSE(swatch->MouseInside());
  EXPECT_EQ(enters, 1);
  swatch->WindowProc = saved;
}

TEST_F(WindowTest, AlignmentLaysOutChildren) {
  form->SetBounds(0, 0, 200, 100);
  auto* top = new TPanelProbe(form);
  top->SetParent(form);
  top->SetHeight(20);
  top->SetAlign(alTop);
  auto* rest = new TPanelProbe(form);
  rest->SetParent(form);
  rest->SetAlign(alClient);
  form->Handle();
  RECT c = form->ClientRect();
  EXPECT_EQ(top->Top(), 0);
  EXPECT_EQ(top->Width(), c.right);
  EXPECT_EQ(rest->Top(), 20);
  EXPECT_EQ(rest->Height(), c.bottom - 20);
}

TEST(Forms, AnchoredControlsFollowTheFormsSize) {
  Application();
  TForm form(nullptr);
  std::string error;
  ASSERT_TRUE(form.LoadFromText("object F: TForm\n  BorderStyle = bsSizeable\n  ClientWidth = 300\n"
                                "  ClientHeight = 200\n  object b: TButton\n    Left = 210\n    Top = 160\n"
                                "    Width = 80\n    Height = 25\n    Anchors = [akRight, akBottom]\n  end\n"
                                "  object e: TEdit\n    Left = 10\n    Top = 10\n    Width = 280\n"
                                "    Anchors = [akLeft, akTop, akRight]\n  end\nend\n",
                                error))
      << error;
  form.Handle();
  EXPECT_EQ(form.ClientWidth(), 300);
  form.SetClientSize(400, 250);
  auto* b = static_cast<TControl*>(form.FindComponent("b"));
  auto* e = static_cast<TControl*>(form.FindComponent("e"));
  EXPECT_EQ(b->Left(), 310);
  EXPECT_EQ(b->Top(), 210);
  EXPECT_EQ(e->Left(), 10);
  EXPECT_EQ(e->Width(), 380);
}

TEST_F(WindowTest, ModalFormReturnsItsResult) {
  TTimer timer(nullptr);
  timer.SetInterval(50);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    form->SetModalResult(mrOk);
  };
  bool closed = false;
  form->OnClose = [&](TObject*, TCloseAction& action) {
    closed = true;
    action = caHide;
  };
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(form->Visible());
}

// Watches a component and records when it is freed.
class TWatcher : public TComponent {
 public:
  explicit TWatcher(TComponent* owner) : TComponent(owner) {}
  TComponent* watched = nullptr;
  bool gone = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == watched) gone = true;
  }
};

TEST(Forms, CloseWithFreeActionReleasesTheFormLater) {
  Application();
  auto* form = new TForm(nullptr);
  form->SetBorderStyle(bsNone);
  TWatcher watcher(nullptr);
  watcher.watched = form;
  form->FreeNotification(&watcher);
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  form->Show();
  form->Close();
  EXPECT_FALSE(watcher.gone);  // still there while its handler runs
  Application().ProcessMessages();
  EXPECT_TRUE(watcher.gone);
}

TEST(Forms, AcceleratorCharacterClicksItsButton) {
  Application();
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  auto* save = new TButton(&form);
  save->SetParent(&form);
  save->SetCaption("\xB1\xA3\xB4\xE6(&S)");  // 保存(&S)
  int clicks = 0;
  save->OnClick = [&](TObject*) { ++clicks; };
  form.Show();  // only controls that can take the focus answer
  EXPECT_EQ(form.Perform(CM_DIALOGCHAR, 's', 0), 1);
  EXPECT_EQ(form.Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(clicks, 1);
  // Esc goes to the cancel button, Enter to the default one.
  save->SetCancel(true);
  EXPECT_EQ(form.Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(clicks, 2);
}

TEST(Menus, PopupRunsTheChosenItemAndDrawsOwnerDrawnItems) {
  Application();
  TPopupMenu menu(nullptr);
  menu.SetOwnerDraw(true);
  auto* first = new TMenuItem(&menu);
  first->SetCaption("\xC8\xAB\xD1\xA1");  // 全选
  auto* second = new TMenuItem(&menu);
  second->SetCaption("\xB7\xB4\xD1\xA1");  // 反选
  menu.Items()->Add(first);
  menu.Items()->Add(second);
  int drawn = 0, chosen = 0;
  first->OnDrawItem = [&](TObject*, TCanvas* c, RECT r, bool) {
    ++drawn;
    c->FillRect(r);
  };
  second->OnDrawItem = first->OnDrawItem;
  second->OnClick = [&](TObject*) { ++chosen; };
  // Keys typed into the open menu: down twice, then Enter.
  TTimer keys(nullptr);
  keys.SetInterval(100);
  int step = 0;
  keys.OnTimer = [&](TObject*) {
    WPARAM key = step < 2 ? VK_DOWN : VK_RETURN;
    PostMessageW(UtilityWindow(), WM_KEYDOWN, key, 0);
    if (++step == 3) keys.SetEnabled(false);
  };
  menu.Popup(100, 100);
  EXPECT_EQ(chosen, 1);
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(menu.Handle(), nullptr);
}

TEST_F(WindowTest, APopupMenuLeavesTheActiveFormActiveAndClosesOnAClickElsewhere) {
  form->Show();
  ASSERT_EQ(GetActiveWindow(), form->Handle());
  int deactivations = 0;
  form->OnDeactivate = [&](TObject*) { ++deactivations; };
  TPopupMenu menu(nullptr);
  auto* item = new TMenuItem(&menu);
  item->SetCaption("Item");
  menu.Items()->Add(item);
  int chosen = 0;
  item->OnClick = [&](TObject*) { ++chosen; };
  // Once the menu shows, a click on the form beside it; should the menu
  // stay open, Esc closes it a little later.
  bool shown = false, escaped = false;
  int ticks = 0;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) {
      HWND m = FindWindowW(L"#32768", nullptr);
      shown = m && IsWindowVisible(m);
      PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(180, 90));
      PostMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(180, 90));
    } else if (ticks == 30) {
      escaped = true;
      PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
  };
  menu.Popup(10, 10);
  timer.SetEnabled(false);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(escaped);
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(deactivations, 0);
  EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(WindowTest, AWindowOfAFrameworkClassWithoutAControlIsServedByItsSystemClass) {
  // Made by someone else than the framework, a window of the edit
  // control's class works as a plain edit.
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->Handle();
  HWND plain = CreateWindowExW(0, L"TEdit", L"abc", WS_CHILD, 0, 0, 50, 20, form->Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(ControlOfWindow(plain), nullptr);
  SendMessageW(plain, EM_SETSEL, 1, 2);
  DWORD start = 0, end = 0;
  SendMessageW(plain, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 2u);
  EXPECT_GT(SendMessageW(plain, EM_GETLIMITTEXT, 0, 0), 0);
  DestroyWindow(plain);
}

TEST(Hints, HintShowsAfterThePauseOverAControl) {
  Application();
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(0, 0, 200, 100);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetHint("\xCC\xE1\xCA\xBE");
  button->SetShowHint(true);
  form.Show();
  Application().SetHintPause(50);
  // The real pointer is where the move says: elsewhere, the system tells
  // the button that the pointer left it, which ends the hint (under load,
  // before the pause is over).
  const POINT at = button->ClientToScreen(POINT{5, 5});
  SetCursorPos(at.x, at.y);
  SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  DWORD start = GetTickCount();
  HWND hint = nullptr;
  while (GetTickCount() - start < 2000 && !hint) {
    Application().ProcessMessages();
    Sleep(10);
    // This program's hint window: tests that run beside this one have
    // hint windows of their own.
    for (HWND w = FindWindowExW(nullptr, nullptr, L"THintWindow", nullptr); w && !hint;
         w = FindWindowExW(nullptr, w, L"THintWindow", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == GetCurrentProcessId() && IsWindowVisible(w)) hint = w;
    }
  }
  ASSERT_NE(hint, nullptr);
  wchar_t text[16];
  GetWindowTextW(hint, text, 16);
  EXPECT_EQ(FromWide(text, lstrlenW(text)), "\xCC\xE1\xCA\xBE");
  Application().CancelHint();
  EXPECT_FALSE(IsWindowVisible(hint));
}

TEST(Registry, ReadsStringValuesAsGbk) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\CardInitFrameworkTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  std::wstring value = ToWide("COM3 \xB4\xAE\xBF\xDA");  // COM3 串口
  RegSetValueExW(key, L"\\Device\\Serial0", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  DWORD number = 7;
  RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);

  TRegistry reg(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\CardInitFrameworkTest"));
  EXPECT_EQ(reg.ReadString("\\Device\\Serial0"), "COM3 \xB4\xAE\xBF\xDA");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  int32_t n = 0;
  EXPECT_TRUE(reg.ReadInteger("Count", n));
  EXPECT_EQ(n, 7);
  std::vector<std::pair<std::string, std::string>> values;
  EXPECT_TRUE(reg.GetStringValues(values));
  ASSERT_EQ(values.size(), 1u);  // the number is not a string
  EXPECT_EQ(values[0].second, "COM3 \xB4\xAE\xBF\xDA");
  reg.CloseKey();
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\CardInitFrameworkTest");
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\NoSuchKeyHere"));
}

// A thread that asks the user-interface thread to run a call.
class TSyncThread : public TThread {
 public:
  TSyncThread() : TThread(true) {}
  std::function<void()> call;

 protected:
  void Execute() override {
    Sleep(200);
    Synchronize(call);
  }
};

DWORD WINAPI CloseBoxLater(void*) {
  Sleep(10000);
  if (HWND box = FindWindowW(L"#32770", L"SyncTest")) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

TEST_F(WindowTest, AShownFormBecomesActive) {
  form->Show();
  SetForegroundWindow(form->Handle());
  bool deactivated = false;
  form->OnDeactivate = [&](TObject*) { deactivated = true; };
  auto* second = new TForm(form);
  second->SetBorderStyle(bsNone);
  second->SetBounds(20, 20, 50, 50);
  second->Show();
  EXPECT_EQ(GetActiveWindow(), second->Handle());
  EXPECT_TRUE(deactivated);
}

TEST(Threads, SynchronisedCallRunsWhileAMessageBoxIsOpen) {
  Application();
  bool ran = false;
  TSyncThread worker;
  worker.call = [&] {
    ran = true;
    // Close the box the user-interface thread is waiting in.
    if (HWND box = FindWindowW(L"#32770", L"SyncTest")) PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  worker.Start();
  // A safety net: should the call never run, the box still goes away.
  HANDLE guard = CreateThread(nullptr, 0, CloseBoxLater, nullptr, 0, nullptr);
  int answer = MessageBoxW(nullptr, L"waiting", L"SyncTest", MB_OK);
  worker.WaitFor();
  EXPECT_TRUE(ran);
  EXPECT_EQ(answer, IDOK);
  TerminateThread(guard, 0);
  CloseHandle(guard);
}

TEST_F(WindowTest, LeavingTheFormForAWindowedChildKeepsTheChildEntered) {
  auto* panel = new TPanelProbe(form);
  panel->SetParent(form);
  panel->SetBounds(100, 10, 50, 50);
  auto* swatch = new TSwatch(form);
  swatch->SetParent(form);
  swatch->SetBounds(10, 10, 20, 20);
  HWND h = form->Handle();
  // Over the windowless child, then into the panel: the panel's mouse
  // move may come before the form hears that the pointer left it.
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(swatch->MouseInside());
  SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(swatch->MouseInside());
  EXPECT_TRUE(panel->MouseInside());
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(panel->MouseInside());
  // The panel's own leave ends it; the form's leave ends a windowless child.
  SendMessageW(panel->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(panel->MouseInside());
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(swatch->MouseInside());
}

TEST(Threads, SynchronisedCallRunsWhileAModalFormIsOpen) {
  Application();
  TForm modal(nullptr);
  modal.SetBorderStyle(bsNone);
  bool ran = false;
  TSyncThread worker;
  worker.call = [&] {
    ran = true;
    modal.SetModalResult(mrOk);  // ends the loop the call ran in
  };
  worker.Start();
  // A safety net: should the call never run, the form still closes.
  TTimer guard(nullptr);
  guard.SetInterval(10000);
  guard.OnTimer = [&](TObject*) {
    guard.SetEnabled(false);
    modal.SetModalResult(mrAbort);
  };
  EXPECT_EQ(modal.ShowModal(), mrOk);
  worker.WaitFor();
  EXPECT_TRUE(ran);
}

TEST(Threads, CriticalSectionGuardsASharedFlag) {
  TCriticalSection cs;
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());  // re-entrant in the owning thread
  cs.Leave();
  cs.Leave();
}

// Closes the message box titled 提示 once it shows; records that it did.
DWORD WINAPI CloseChineseBox(void* found) {
  for (int i = 0; i < 500; ++i) {
    if (HWND box = FindWindowW(L"#32770", L"\u63D0\u793A")) {
      *static_cast<bool*>(found) = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(20);
  }
  return 0;
}

TEST(Text, GbkReachesWin32AsUnicodeAtEveryBoundary) {
  Application();
  const std::string name = "\xD5\xC5\xC8\xFD";  // 张三
  const std::wstring wide = L"\u5F20\u4E09";
  TForm form(nullptr);
  form.SetCaption(name);
  auto* list = new TListBox(&form);
  list->SetParent(&form);
  list->Items()->Add(name);
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->Items()->Add(name);
  form.Handle();
  wchar_t buffer[64] = {};
  GetWindowTextW(form.Handle(), buffer, 64);
  EXPECT_EQ(std::wstring(buffer), wide);
  SendMessageW(list->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(std::wstring(buffer), wide);
  SendMessageW(combo->Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(std::wstring(buffer), wide);
  SetWindowTextW(form.Handle(), L"\u674E\u56DB");  // 李四, from outside
  EXPECT_EQ(form.Caption(), "\xC0\xEE\xCB\xC4");

  // An INI file with a Chinese name is that name on disk.
  TIniFile ini(".\\\xC5\xE4\xD6\xC3.ini");  // 配置.ini
  ASSERT_TRUE(ini.WriteString("A", "k", name));
  EXPECT_NE(GetFileAttributesW(L".\\\u914D\u7F6E.ini"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ini.ReadString("A", "k", ""), name);
  DeleteFileW(L".\\\u914D\u7F6E.ini");

  // A message box shows its Chinese caption.
  bool found = false;
  HANDLE closer = CreateThread(nullptr, 0, CloseChineseBox, &found, 0, nullptr);
  Application().MessageBox(name, "\xCC\xE1\xCA\xBE", MB_OK);  // 提示
  WaitForSingleObject(closer, 15000);
  CloseHandle(closer);
  EXPECT_TRUE(found);
}

}  // namespace
