// The program's three windows, made from their form data as the program
// makes them (the main window's skin data component with the program's
// own skin starts the engine), each skinned when shown: its frame is the
// skin's and every control gets the kind the engine picks for it. The
// reader is a scripted stand-in; every kind is made as a recording
// skinner.
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "Common.h"
#include "CheckedComboBox.h"
#include "ControlSkinners.h"
#include "KvRegistration.h"
#include "Main.h"
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

}  // namespace
