// Which skinner each control of a skinned window gets: a form of the
// framework's standard and extended controls and of stand-ins for kinds
// the framework lacks, the class-name map's rules (kinds compared without
// regard to letter case, "nil", an empty kind, a longer class name), the
// gates of SkinControls, the DisableTag, controls already skinned, and the
// plain child windows of a window the framework did not make. Every kind
// is made as a recording skinner, so the verdicts are read off the
// skinners the engine made.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "Application.h"
#include "Form.h"
#include "CheckedComboBox.h"
#include "KvRegistration.h"
#include "SkinManager.h"
#include "SkinTestSupport.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

const TClassInfo& Kind(const char* name, const TClassInfo* parent = &TCustomControl::StaticClass()) {
  static std::map<std::string, std::unique_ptr<TClassInfo>> kinds;
  auto& slot = kinds[name];
  if (!slot) slot.reset(new TClassInfo(name, parent));
  return *slot;
}

const char kForm[] = R"(object FmDiscovery: TForm
  Caption = "Discovery"
  ClientWidth = 600
  ClientHeight = 400
  object btnPlain: TButton
    Left = 8
    Top = 8
  end
  object btnGlyph: TBitBtn
    Left = 8
    Top = 40
  end
  object sbFlat: TSpeedButton
    Left = 8
    Top = 72
  end
  object chkOne: TCheckBox
    Left = 8
    Top = 104
  end
  object cbbList: TComboBox
    Left = 8
    Top = 136
  end
  object edtText: TEdit
    Left = 8
    Top = 168
  end
  object medtKey: TMaskEdit
    Left = 8
    Top = 200
  end
  object seWait: TSpinEdit
    Left = 8
    Top = 232
  end
  object lbItems: TListBox
    Left = 200
    Top = 8
  end
  object lvRows: TListView
    Left = 200
    Top = 120
  end
  object pnlBox: TPanel
    Left = 400
    Top = 8
    Width = 180
    Height = 100
    object btnInPanel: TButton
      Left = 8
      Top = 8
    end
  end
  object grpFrame: TKvGroupBox
    Left = 400
    Top = 120
    Width = 180
    Height = 100
    object clbSectors: TCheckListBox
      Left = 8
      Top = 20
    end
  end
  object ccbSectors: TCheckedComboBox
    Left = 400
    Top = 240
    Width = 150
    Items = ("00" "01" "02" "03" "04" "05" "06" "07" "08" "09" "10" "11" "12" "13" "14" "15")
  end
  object edtNoSkin: TEdit
    Left = 8
    Top = 280
    Tag = 99
  end
  object lblText: TLabel
    Left = 8
    Top = 320
    Caption = "label"
  end
end
)";

class Discovery : public ::testing::Test {
 protected:
  void SetUp() override {
    kv::RegisterKvClasses();
    RegisterRecordingKinds();
    skin = StartCodedSkin();
    ASSERT_NE(skin, nullptr);
  }
  void TearDown() override {
    if (form) form->Free();
    StopSkin(skin);
    UnregisterRecordingKinds();
  }
  // Reads the form, puts stand-ins on it as asked, shows it and waits for
  // the first skinning.
  void ShowForm(const std::function<void(TForm*)>& extra = nullptr) {
    form = new TForm(nullptr);
    std::string error;
    ASSERT_TRUE(form->LoadFromText(kForm, error)) << error;
    if (extra) extra(form);
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinManager()->FindSkinnedForm(form->Handle());
  }
  // The kinds made for a control (the recording skinners it owns).
  std::string KindOf(TComponent* control) {
    std::string kinds;
    for (TComponent* c : control->Components())
      if (auto* r = dynamic_cast<TRecordingSkinner*>(c)) kinds += (kinds.empty() ? "" : "+") + r->MadeAs;
    return kinds.empty() ? "none" : kinds;
  }
  std::string KindOf(const char* name) {
    TComponent* c = form->FindComponent(name);
    return c ? KindOf(c) : "missing";
  }
  TControl* StandIn(const TClassInfo& info, TWinControl* parent = nullptr) {
    auto* c = new TCustomStandIn(form, info);
    c->SetParent(parent ? parent : form);
    c->SetBounds(250, 300, 60, 30);
    return c;
  }
  TSkinData* skin = nullptr;
  TForm* form = nullptr;
  TWinSkinForm* skinner = nullptr;
};

TEST_F(Discovery, TheStandardAndExtendedControlsGetTheirKinds) {
  ShowForm();
  EXPECT_EQ(KindOf("btnPlain"), "TSkinButton");
  EXPECT_EQ(KindOf("btnGlyph"), "TSkinBitButton");
  EXPECT_EQ(KindOf("sbFlat"), "TSkinSpeedButton");
  EXPECT_EQ(KindOf("chkOne"), "TSkinCheckBox");
  EXPECT_EQ(KindOf("cbbList"), "TSkinComBox");
  EXPECT_EQ(KindOf("edtText"), "TSkinEdit");
  EXPECT_EQ(KindOf("medtKey"), "TSkinEdit");
  EXPECT_EQ(KindOf("seWait"), "TSkinEdit");
  auto* spin = dynamic_cast<TWinControl*>(form->FindComponent("seWait"));
  ASSERT_NE(spin, nullptr);
  ASSERT_EQ(spin->ControlCount(), 1);
  EXPECT_EQ(KindOf(spin->ControlAt(0)), "TSkinUpDown") << "the spin edit's arrows";
  EXPECT_EQ(KindOf("lbItems"), "TSkinScrollbar");
  EXPECT_EQ(KindOf("lvRows"), "TSkinListView");
  EXPECT_EQ(KindOf("pnlBox"), "TSkinBox");
  EXPECT_EQ(KindOf("btnInPanel"), "TSkinButton");
  EXPECT_EQ(KindOf("grpFrame"), "TSkinBox") << "the extended group box is a panel";
  EXPECT_EQ(KindOf("clbSectors"), "TSkinScrollbar");
  EXPECT_EQ(KindOf("edtNoSkin"), "none") << "Tag 99 is the DisableTag";
  EXPECT_EQ(KindOf("lblText"), "none");
  // Every skinner made is in the form skinner's register, once.
  size_t owned = 0;
  for (TComponent* c : form->Components()) {
    owned += c->Components().size() > 0 && KindOf(c) != "none";
  }
  EXPECT_GE(skinner->FSkinners.size(), owned);
  for (size_t i = 0; i < skinner->FSkinners.size(); i++)
    for (size_t j = i + 1; j < skinner->FSkinners.size(); j++) EXPECT_NE(skinner->FSkinners[i], skinner->FSkinners[j]);
}

TEST_F(Discovery, TheCheckedComboBoxsOwnPartsAreSkinned) {
  ShowForm();
  auto* combo = dynamic_cast<kv::TCheckedComboBox*>(form->FindComponent("ccbSectors"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(KindOf(combo), "TSkinBox");
  EXPECT_EQ(KindOf(combo->EditPart()), "TSkinEdit");
  EXPECT_EQ(KindOf(combo->ButtonPart()), "TSkinSpeedButton");
  // The pop-up is a window of its own: skinned when it is shown.
  combo->OpenPopup();
  ASSERT_TRUE(WaitSkinned(combo->PopupForm()->Handle()));
  EXPECT_EQ(KindOf(combo->PopupList()), "TSkinScrollbar");
  combo->PopupForm()->Hide();
}

TEST_F(Discovery, KindsTheFrameworkLacksGoByTheirClasses) {
  std::map<std::string, TControl*> made;
  ShowForm([&](TForm* f) {
    (void)f;
    made["toolbar"] = StandIn(Kind("TToolBar"));
    made["status"] = StandIn(Kind("TStatusBar"));
    made["progress"] = StandIn(Kind("TProgressBar"));
    made["track"] = StandIn(Kind("TTrackBar"));
    made["radio"] = StandIn(Kind("TRadioButton"));
    made["scrollbox"] = StandIn(Kind("TScrollBox", &Kind("TScrollingWinControl")));
    made["header"] = StandIn(Kind("THeaderControl", &Kind("TCustomHeaderControl")));
    made["page"] = StandIn(Kind("TPageControl", &Kind("TCustomTabControl")));
    made["tabset"] = StandIn(Kind("TTabSet"));
    made["media"] = StandIn(Kind("TMediaPlayer"));
    made["tree"] = StandIn(Kind("TTreeView", &Kind("TCustomTreeView")));
    auto* group = static_cast<TWinControl*>(StandIn(Kind("TRadioGroup", &Kind("TCustomRadioGroup"))));
    made["group"] = group;
    made["groupItem"] = StandIn(Kind("TGroupButton"), group);
  });
  EXPECT_EQ(KindOf(made["toolbar"]), "TSkinBox");
  EXPECT_EQ(KindOf(made["status"]), "TSkinStatusBar");
  EXPECT_EQ(KindOf(made["progress"]), "TSkinProgress");
  EXPECT_EQ(KindOf(made["track"]), "TSkinTrackBar");
  EXPECT_EQ(KindOf(made["radio"]), "TSkinRadioButton");
  EXPECT_EQ(KindOf(made["scrollbox"]), "TSkinScControl");
  EXPECT_EQ(KindOf(made["header"]), "TSkinHeader");
  EXPECT_EQ(KindOf(made["page"]), "TSkinTab");
  EXPECT_EQ(KindOf(made["tabset"]), "TSkinTab31");
  EXPECT_EQ(KindOf(made["media"]), "TSkinMP");
  EXPECT_EQ(KindOf(made["tree"]), "TSkinScrollbar");
  EXPECT_EQ(KindOf(made["group"]), "TSkinGroupBox");
  EXPECT_EQ(KindOf(made["groupItem"]), "TSkinRadioButton");
}

TEST_F(Discovery, TheClassNameMapDecidesFirstWithItsKindInAnyLetterCase) {
  skin->Skin3rd()->Add("TEdit=nil");             // kept unskinned
  skin->Skin3rd()->Add("TMaskEdit=COMBOBOX");    // any letter case
  skin->Skin3rd()->Add("TListBox=");             // an empty kind is no row
  skin->Skin3rd()->Add("TCheck=checkbox");       // not a prefix of TCheckBox's key
  skin->Skin3rd()->Add("TComboBox=nosuchkind");  // a row with an unknown kind stops the walk
  ShowForm();
  EXPECT_EQ(KindOf("edtText"), "none");
  EXPECT_EQ(KindOf("medtKey"), "TSkinComBox");
  EXPECT_EQ(KindOf("lbItems"), "TSkinScrollbar");
  EXPECT_EQ(KindOf("chkOne"), "TSkinCheckBox");
  EXPECT_EQ(KindOf("cbbList"), "none");
}

TEST_F(Discovery, GatesSwitchKindsOffAndABitmapButtonStopsTheWalk) {
  skin->RemoveControl(xcBitBtn);
  skin->RemoveControl(xcButton);
  skin->RemoveControl(xcEdit);
  ShowForm();
  EXPECT_EQ(KindOf("btnGlyph"), "none");
  EXPECT_EQ(KindOf("btnPlain"), "none");
  EXPECT_EQ(KindOf("edtText"), "none");
  EXPECT_EQ(KindOf("cbbList"), "TSkinComBox");
}

TEST_F(Discovery, AControlAlreadySkinnedIsNotSkinnedAgain) {
  ShowForm();
  TComponent* button = form->FindComponent("btnPlain");
  ASSERT_EQ(KindOf(button), "TSkinButton");
  skinner->SkinFrameworkControls(static_cast<TControl*>(button), form);
  skinner->SkinFormControls(form);
  EXPECT_EQ(KindOf(button), "TSkinButton");
}

TEST_F(Discovery, AGroupWithTheDisableTagKeepsItsItemsUnskinned) {
  TControl* item = nullptr;
  TControl* group = nullptr;
  ShowForm([&](TForm*) {
    group = StandIn(Kind("TKvRadioGroup"));
    group->SetTag(99);
    item = StandIn(Kind("TRadioButton"), static_cast<TWinControl*>(group));
  });
  EXPECT_EQ(KindOf(group), "none");
  EXPECT_EQ(item->Tag(), 99);
  EXPECT_EQ(KindOf(item), "none");
}

TEST_F(Discovery, ThePlainChildWindowsOfADialogGoByTheirWindowClass) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 400, 300, WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(WaitSkinned(top));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  ASSERT_NE(f, nullptr);
  auto child = [&](const char* cls, DWORD style) {
    return CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, top, nullptr, nullptr, nullptr);
  };
  struct Case {
    HWND h;
    const char* expected;
  } cases[] = {
      {child("BUTTON", BS_PUSHBUTTON), "TSkinButton"},
      {child("BUTTON", BS_AUTOCHECKBOX), "TSkinCheckBox"},
      {child("BUTTON", BS_AUTORADIOBUTTON), "TSkinRadioButton"},
      {child("BUTTON", BS_GROUPBOX), "none"},
      {child("BUTTON", BS_PUSHBUTTON | BS_BITMAP), "none"},
      {child("BUTTON", BS_OWNERDRAW), "none"},
      {child("COMBOBOX", CBS_DROPDOWNLIST), "TSkinComBox"},
      {child("COMBOBOX", CBS_SIMPLE), "none"},
      {child("EDIT", WS_BORDER), "TSkinEdit"},
      {child("SCROLLBAR", SBS_VERT), "TSkinSizer"},
      {child("STATIC", 0), "none"},
  };
  f->SkinWindowChildren(top);
  for (const Case& c : cases) {
    TSkinControl* s = f->FindSkinnerByHandle(c.h);
    auto* r = dynamic_cast<TRecordingSkinner*>(s);
    EXPECT_EQ(r ? r->MadeAs : std::string("none"), c.expected) << WindowClassName(c.h) << " "
                                                                << GetWindowLongW(c.h, GWL_STYLE);
  }
  // A size grip made later inside a skinned window is skinned at once.
  HWND grip = child("SCROLLBAR", SBS_SIZEGRIP);
  auto* g = dynamic_cast<TRecordingSkinner*>(f->FindSkinnerByHandle(grip));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->MadeAs, "TSkinSizer");
  DestroyWindow(top);
}

}  // namespace
