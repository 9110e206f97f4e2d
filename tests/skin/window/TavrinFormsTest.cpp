// The program's three windows, made from their form data as the program
// makes them (the main window's skin data component with the program's
// own skin starts the engine), each skinned when shown: its frame is the
// skin's and every control gets the kind the engine picks for it; the
// main window's fixed border, which its system menu does not size. The
// reader is a scripted stand-in; every kind is made as a recording
// skinner.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "Application.h"
#include "Common.h"
#include "CheckedComboBox.h"
#include "ControlSkinners.h"
#include "KvRegistration.h"
#include "Main.h"
#include "SendInputs.h"
#include "SkinManager.h"
#include "SkinTestSupport.h"
#include "UserEdit.h"
#include "UserMG.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

class TavrinForms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AppPath = ProgramFolder();
    Application();
    kv::RegisterKvClasses();
    RegisterSkinEngine();
  }
  void SetUp() override { RegisterRecordingKinds(); }
  void TearDown() override {
    UnregisterRecordingKinds();
    FreeSkinManager();
  }
  std::string KindOf(TComponent* control) {
    std::string kinds;
    for (TComponent* c : control->Components())
      if (auto* r = dynamic_cast<TRecordingSkinner*>(c)) kinds += (kinds.empty() ? "" : "+") + r->MadeAs;
    return kinds.empty() ? "none" : kinds;
  }
  std::string KindOf(TForm* form, const char* name) {
    TComponent* c = form->FindComponent(name);
    return c ? KindOf(c) : "missing";
  }
  void ShowAndWait(TForm* form) {
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
  }
};

TEST_F(TavrinForms, TheMainWindowCarriesItsSkinAndIsSkinnedWhenShown) {
  TFmMain* main = CreateForm<TFmMain>(nullptr);
  ASSERT_NE(main, nullptr);
  TSkinData* skin = nullptr;
  for (TComponent* c : main->Components())
    if (auto* s = dynamic_cast<TSkinData*>(c)) skin = s;
  ASSERT_NE(skin, nullptr) << "the form data holds the skin data component";
  EXPECT_TRUE(skin->Active());
  EXPECT_FALSE(skin->NotLoaded);
  EXPECT_EQ(skin->SkinName, "Tavrin Blue");
  EXPECT_EQ(skin->Skin3rd()->Count(), static_cast<int>(DefaultSkin3rdMap().size()) - 1);
  EXPECT_EQ(skin->Skin3rd()->IndexOf("TPngSpeedbutton=pngspeedbutton"), -1);
  EXPECT_FALSE(skin->HasControl(xcMenuItem)) << "the menu items are drawn by the menu bar's own painter";
  EXPECT_TRUE(skin->HasControl(xcSystemMenu));
  ASSERT_NE(SkinManager(), nullptr);
  EXPECT_EQ(SkinManager()->MainSkinData, skin);

  ShowAndWait(main);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(main->Handle());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FFrameStyle, 3) << "a dialog frame";
  EXPECT_EQ(main->ClientWidth(), 609);
  EXPECT_EQ(main->ClientHeight(), 496);
  EXPECT_EQ(KindOf(main, "img3"), "none");
  EXPECT_EQ(KindOf(main, "grpComm"), "TSkinBox");
  EXPECT_EQ(KindOf(main, "grpInit"), "TSkinBox");
  EXPECT_EQ(KindOf(main, "cbbRPort"), "TSkinComBox");
  EXPECT_EQ(KindOf(main, "btnChkComPort"), "TSkinBitButton");
  EXPECT_EQ(KindOf(main, "medtPassWord"), "TSkinEdit");
  EXPECT_EQ(KindOf(main, "medtNewPassWord"), "TSkinEdit");
  EXPECT_EQ(KindOf(main, "chkOldPWNoEny"), "TSkinCheckBox");
  EXPECT_EQ(KindOf(main, "chkAutoEditPW"), "TSkinCheckBox");
  EXPECT_EQ(KindOf(main, "cbbUser"), "TSkinComBox");
  EXPECT_EQ(KindOf(main, "seSuccSleepTime"), "TSkinEdit");
  EXPECT_EQ(KindOf(main, "btnStart"), "TSkinBitButton");
  EXPECT_EQ(KindOf(main, "btnClose"), "TSkinBitButton");
  EXPECT_EQ(KindOf(main, "kvln1"), "none");
  EXPECT_EQ(KindOf(main, "lbl21"), "none");
  auto* sectors = dynamic_cast<kv::TCheckedComboBox*>(main->FindComponent("cbbAreaNumPW"));
  ASSERT_NE(sectors, nullptr);
  EXPECT_EQ(KindOf(sectors), "TSkinBox");
  EXPECT_EQ(KindOf(sectors->EditPart()), "TSkinEdit");
  EXPECT_EQ(KindOf(sectors->ButtonPart()), "TSkinSpeedButton");
  auto* spin = dynamic_cast<TWinControl*>(main->FindComponent("seSuccSleepTime"));
  ASSERT_NE(spin, nullptr);
  ASSERT_EQ(spin->ControlCount(), 1);
  EXPECT_EQ(KindOf(spin->ControlAt(0)), "TSkinUpDown");

  // The key profile windows, skinned with the main window's skin.
  auto* users = CreateForm<TFmUserMG>(nullptr);
  ASSERT_NE(users, nullptr);
  ShowAndWait(users);
  EXPECT_EQ(KindOf(users, "lvUserInfo"), "TSkinListView");
  EXPECT_EQ(KindOf(users, "btnAdd"), "TSkinBitButton");
  EXPECT_EQ(KindOf(users, "imgBack"), "none");
  auto* edit = TFmUserEdit::Create(nullptr, TFmUserEdit::kAdd);
  ASSERT_NE(edit, nullptr);
  ShowAndWait(edit);
  EXPECT_EQ(KindOf(edit, "pnlUser"), "TSkinBox");
  EXPECT_EQ(KindOf(edit, "edtUserName"), "TSkinEdit");
  EXPECT_EQ(KindOf(edit, "medtPassWord"), "TSkinEdit");
  EXPECT_EQ(KindOf(edit, "btnSave"), "TSkinBitButton");
  edit->Free();
  users->Free();
  main->Free();
}

// The main window's border is fixed: its skinned system menu, opened by a
// real right click on the caption or by Alt+Space, offers neither Size nor
// Maximize, a click on Size starts no sizing, and a size command sent
// anyway leaves the window as it is. The window's thread runs the menu's
// and any sizing's loop; a hand of its own works them meanwhile.
TEST_F(TavrinForms, TheFixedBorderMainWindowIsNeitherSizedNorMaximisedFromItsSystemMenu) {
  TFmMain* main = CreateForm<TFmMain>(nullptr);
  ASSERT_NE(main, nullptr);
  ShowAndWait(main);
  HWND h = main->Handle();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(h);
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(GetWindowLongW(h, GWL_STYLE) & WS_THICKFRAME, 0);
  RECT before;
  GetWindowRect(h, &before);
  const POINT caption = {before.left + 100, before.top + f->FBorderTop / 2};
  ASSERT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  const DWORD thread = GetCurrentThreadId();
  std::atomic<int> sizings{0}, menus{0};
  auto openMenu = [] {
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !(menu = FindWindowW(L"#32768", nullptr), menu && IsWindowVisible(menu)); i++)
      Sleep(30);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
  };
  auto click = [](POINT p) {
    SetCursorPos(p.x, p.y);
    realinput::SendMove(p, 1);
    Sleep(100);
    realinput::SendButton(MOUSEEVENTF_LEFTDOWN);
    realinput::SendButton(MOUSEEVENTF_LEFTUP);
  };
  // A sizing that started is worked as an operator sizes with the keys
  // (the left edge out, Enter); a menu still open is closed.
  auto finish = [&] {
    bool sizing = false;
    for (int i = 0; i < 20 && !sizing; i++) {
      Sleep(25);
      GUITHREADINFO info = {};
      info.cbSize = sizeof info;
      sizing = GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
    }
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      realinput::SendKey(VK_ESCAPE);
    } else if (sizing) {
      sizings++;
      for (int i = 0; i < 5; i++) realinput::SendKey(VK_LEFT), Sleep(50);
      realinput::SendKey(VK_RETURN);
    }
    Sleep(200);
  };
  auto handWhilePumping = [](const std::function<void()>& steps) {
    std::atomic<bool> done{false};
    std::thread hand([&] {
      steps();
      done = true;
    });
    PumpUntil([&] { return done.load(); }, 15000);
    hand.join();
    Pump(100);
  };
  for (bool byKeys : {false, true}) {
    SCOPED_TRACE(byKeys ? "Alt+Space" : "right click");
    Sleep(600);  // two openings are no double click
    handWhilePumping([&] {
      SetCursorPos(caption.x, caption.y);
      realinput::SendMove(caption, 1);
      Sleep(100);
      if (byKeys) {
        realinput::SendKeyChange(VK_MENU, true);
        realinput::SendKey(VK_SPACE);
        realinput::SendKeyChange(VK_MENU, false);
      } else {
        realinput::SendButton(MOUSEEVENTF_RIGHTDOWN);
        realinput::SendButton(MOUSEEVENTF_RIGHTUP);
      }
      HWND menu = openMenu();
      if (menu) menus++;
      RECT item;
      HMENU popup = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)) : nullptr;
      for (int i = 0; popup && f->FSysMenuPopup && i < f->FSysMenuPopup->Items()->Count(); i++)
        if (f->FSysMenuPopup->Items()->Items(i)->Tag() == SC_SIZE && GetMenuItemRect(nullptr, popup, i, &item))
          click(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
      finish();
    });
    ASSERT_NE(f->FSysMenuPopup, nullptr);
    for (int i = 0; i < f->FSysMenuPopup->Items()->Count(); i++) {
      TMenuItem* item = f->FSysMenuPopup->Items()->Items(i);
      const int32_t command = item->Tag();
      if (command == SC_SIZE || command == SC_MAXIMIZE) {
        EXPECT_FALSE(item->Enabled()) << item->Caption();
      } else if (command == SC_MOVE || command == SC_CLOSE) {
        EXPECT_TRUE(item->Enabled()) << item->Caption();
      }
    }
  }
  PostMessageW(h, WM_SYSCOMMAND, SC_SIZE, 0);
  handWhilePumping(finish);
  EXPECT_EQ(menus, 2);
  EXPECT_EQ(sizings, 0);
  RECT after;
  GetWindowRect(h, &after);
  EXPECT_TRUE(EqualRect(&after, &before)) << after.left << "," << after.top << " " << after.right - after.left;
  main->Free();
}

}  // namespace
