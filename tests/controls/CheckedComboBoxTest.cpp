// The checked combo box with its real windows under Wine: value and edit,
// the pop-up's size and place, and the pop-up list driven by real mouse
// and keyboard messages.
#include "CheckedComboBox.h"

#include "ControlFixture.h"
#include "PropertyText.h"
#include "Timer.h"

using namespace kv;
using kvtest::ControlTest;

namespace {

// The combo box with the pointer where the test puts it (the real pointer
// is shared with every other program on the display).
class TPointerCombo : public TCheckedComboBox {
 public:
  explicit TPointerCombo(fw::TComponent* owner) : TCheckedComboBox(owner) {}
  POINT pointer = {0, 0};

 protected:
  POINT CursorScreenPos() const override { return pointer; }
};

class ComboTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    TCheckedComboBox::RefusalNotice() = [this](const std::string& text) { refusals.push_back(text); };
  }
  // Shows the form as the active window of the desktop.
  void ShowForm() {
    form->Show();
    Pump();
  }
  void TearDown() override {
    ControlTest::TearDown();
    TCheckedComboBox::RefusalNotice() = [](const std::string&) {};
  }

  TCheckedComboBox* LoadCombo(const std::string& props, int top = 40) {
    Load("object F: TForm\n  object cbb: TCheckedComboBox\n    Left = 30\n    Top = " + std::to_string(top) +
         "\n    Width = 121\n" + props + "  end\nend\n");
    auto* c = dynamic_cast<TCheckedComboBox*>(form->FindComponent("cbb"));
    if (c) {
      c->OnChange = [this](fw::TObject* s) {
        ++changes;
        lastSender = s;
      };
    }
    return c;
  }
  static std::string Sectors() {
    std::string s = "    Items = (";
    for (int i = 0; i < 16; ++i) s += std::string(" \"") + (i < 10 ? "0" : "") + std::to_string(i) + "\"";
    return s + ")\n";
  }
  static std::string EditText(TCheckedComboBox* c) { return c->EditPart()->Text(); }

  // A mouse click at a client point of a window.
  static void ClickAt(HWND h, int x, int y) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  int changes = 0;
  fw::TObject* lastSender = nullptr;
  std::vector<std::string> refusals;
};

}  // namespace

TEST_F(ComboTest, PublishedDefaults) {
  TCheckedComboBox* c = LoadCombo("");
  ASSERT_NE(c, nullptr);
  const std::pair<const char*, const char*> expected[] = {
      {"CapSelectAll", "\xC8\xAB\xD1\xA1"},  // 全选
      {"CapDeSelectAll", "\xB7\xB4\xD1\xA1"},  // 反选
      {"NotFocusColor", "clWhite"}, {"Sorted", "False"}, {"Columns", "0"}, {"DropDownLines", "6"},
      {"EmptyValue", ""}, {"SortDisplay", "False"}, {"Ctl3D", "True"}};
  std::string text;
  for (const auto& e : expected) {
    ASSERT_EQ(fw::GetPropText(c, e.first, text), fw::TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
  }
  EXPECT_TRUE(fw::IsPublishedProp(c, "OnCloseUp"));
  EXPECT_TRUE(fw::IsPublishedProp(c, "OnEnter"));
  EXPECT_TRUE(fw::IsPublishedProp(c, "ItemHeight"));
  EXPECT_EQ(c->Width(), 121);
  // Parts: the edit up to the button, which covers its last column.
  EXPECT_EQ(c->EditPart()->Width(), 121 - 17);
  EXPECT_EQ(c->ButtonPart()->Left(), 121 - 18);
  EXPECT_EQ(c->ButtonPart()->Width(), 16);
  EXPECT_EQ(c->ButtonPart()->Top(), 2);
  EXPECT_EQ(c->ButtonPart()->Height(), c->Height() - 4);
  EXPECT_EQ(c->EditPart()->Height(), c->Height());
  EXPECT_TRUE(c->EditPart()->ReadOnly());
}

TEST_F(ComboTest, PresetSectorsShowInTheEditAndTheList) {
  TCheckedComboBox* c = LoadCombo(Sectors() + "    EmptyValue = \"(none)\"\n");
  EXPECT_EQ(EditText(c), "(none)");
  c->SetCheckedValues("08/09/10");
  EXPECT_EQ(c->GetCheckedValues(), "08/09/10");
  EXPECT_EQ(EditText(c), "08/09/10");
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(lastSender, c);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(c->PopupList()->Checked(i), i >= 8 && i <= 10) << i;
  c->SetCheckedValues("10/08");
  fw::SetPropText(c, "SortDisplay", "True");
  EXPECT_EQ(EditText(c), "08/10");
  EXPECT_EQ(c->GetCheckedValues(), "10/08");
  c->SetCheckedValues("");
  EXPECT_EQ(c->GetCheckedValues(), "");
  EXPECT_EQ(EditText(c), "(none)");
}

TEST_F(ComboTest, NewItemsDropTheValue) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  c->SetCheckedValues("01/02");
  changes = 0;
  c->Items()->Add("16");
  EXPECT_EQ(c->GetCheckedValues(), "");
  EXPECT_EQ(c->PopupList()->Count(), 17);
  EXPECT_FALSE(c->PopupList()->Checked(1));
  EXPECT_EQ(changes, 0);
}

TEST_F(ComboTest, DropDownLinesTakesSixToTen) {
  TCheckedComboBox* c = LoadCombo("");
  c->SetDropDownLines(5);
  EXPECT_EQ(c->DropDownLines(), 6);
  c->SetDropDownLines(11);
  EXPECT_EQ(c->DropDownLines(), 6);
  c->SetDropDownLines(8);
  EXPECT_EQ(c->DropDownLines(), 8);
}

TEST_F(ComboTest, PopupSizeFollowsItemsAndColumns) {
  TCheckedComboBox* c = LoadCombo("    Items = (\"a\" \"b\" \"c\")\n");
  ShowForm();
  c->OpenPopup();
  ASSERT_TRUE(c->PopupShown());
  EXPECT_EQ(c->DropDownLines(), 3);
  EXPECT_EQ(c->PopupForm()->Height(), c->ItemHeight() * 3 + 4);
  EXPECT_EQ(c->PopupForm()->Width(), c->Width());
  const POINT below = form->ClientToScreen(POINT{c->Left(), c->Top() + c->Height()});
  EXPECT_EQ(c->PopupForm()->Left(), below.x);
  EXPECT_EQ(c->PopupForm()->Top(), below.y);
  c->PopupForm()->Close();
  std::vector<std::string> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(std::to_string(i));
  c->Items()->Clear();
  c->Items()->AddStrings(twenty);
  c->OpenPopup();
  EXPECT_EQ(c->DropDownLines(), 6);
  c->PopupForm()->Close();
  c->SetColumns(2);
  c->OpenPopup();
  EXPECT_EQ(c->DropDownLines(), 10);
  EXPECT_EQ(c->PopupList()->Columns(), 2);
  c->PopupForm()->Close();
}

TEST_F(ComboTest, OwnersCaptionIsToldToStayActive) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  ShowForm();
  int keepActive = 0;
  const fw::TWndMethod own = form->WindowProc;
  form->WindowProc = [&](fw::TMessage& m) {
    if (m.Msg == WM_NCACTIVATE && m.WParam == 1) ++keepActive;
    own(m);
  };
  c->OpenPopup();
  EXPECT_EQ(keepActive, 1);
  form->WindowProc = own;
  c->PopupForm()->Close();
}

TEST_F(ComboTest, NoItemsClickRaisesOnClickButShowsNothing) {
  TCheckedComboBox* c = LoadCombo("");
  ShowForm();
  int clicks = 0;
  c->OnClick = [&](fw::TObject*) { ++clicks; };
  c->ButtonPart()->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(c->PopupShown());
}

TEST_F(ComboTest, NearTheScreensBottomThePopupOpensAbove) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  form->SetBounds(0, fw::Screen().Height() - 100, 400, 100);
  c->SetTop(40);
  ShowForm();
  c->OpenPopup();
  const POINT below = form->ClientToScreen(POINT{c->Left(), c->Top() + c->Height()});
  EXPECT_EQ(c->PopupForm()->Top(), below.y - c->PopupForm()->Height() - c->Height());
  c->PopupForm()->Close();
}

TEST_F(ComboTest, ContextMenuCaptionsAreCopiedAtOpening) {
  TCheckedComboBox* c = LoadCombo(Sectors() + "    CapSelectAll = \"All\"\n");
  ShowForm();
  c->OpenPopup();
  fw::TMenuItem* root = c->PopupMenuPart()->Items();
  ASSERT_EQ(root->Count(), 2);
  EXPECT_EQ(root->Items(0)->Caption(), "All");
  EXPECT_EQ(root->Items(1)->Caption(), "\xB7\xB4\xD1\xA1");
  EXPECT_EQ(c->PopupList()->PopupMenu(), c->PopupMenuPart());
  root->Items(0)->Click();
  EXPECT_EQ(c->GetCheckedValues().size(), 16u * 3 - 1);
  EXPECT_TRUE(c->PopupList()->Checked(15));
  root->Items(1)->Click();
  EXPECT_EQ(c->GetCheckedValues(), "");
  EXPECT_FALSE(c->PopupList()->Checked(15));
  c->PopupForm()->Close();
}

TEST_F(ComboTest, MouseOnTheListTogglesOnce) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  ShowForm();
  c->OpenPopup();
  fw::TCheckListBox* list = c->PopupList();
  HWND h = list->Handle();
  int listClicks = 0;
  auto prev = list->OnClick;
  list->OnClick = [&](fw::TObject* s) { ++listClicks; prev(s); };
  // Item 4 by its text, then item 2: the value is rebuilt in list order.
  RECT r4 = list->ItemRect(4);
  ClickAt(h, r4.right - 10, (r4.top + r4.bottom) / 2);
  EXPECT_EQ(listClicks, 1);
  EXPECT_EQ(c->GetCheckedValues(), "04");
  EXPECT_EQ(changes, 1);
  RECT r2 = list->ItemRect(2);
  ClickAt(h, r2.right - 10, (r2.top + r2.bottom) / 2);
  EXPECT_EQ(c->GetCheckedValues(), "02/04");
  // A click in item 4's check box unchecks it, with two changes.
  changes = 0;
  ClickAt(h, r4.left + 3, (r4.top + r4.bottom) / 2);
  EXPECT_EQ(c->GetCheckedValues(), "02");
  EXPECT_FALSE(list->Checked(4));
  EXPECT_EQ(changes, 2);
  // A second click on the selected item's text toggles it again.
  ClickAt(h, r4.right - 10, (r4.top + r4.bottom) / 2);
  EXPECT_EQ(c->GetCheckedValues(), "02/04");
  c->PopupForm()->Close();
}

TEST_F(ComboTest, SpaceUndoesItselfAndArrowsToggle) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  ShowForm();
  c->OpenPopup();
  fw::TCheckListBox* list = c->PopupList();
  HWND h = list->Handle();
  list->SetItemIndex(3);
  c->SetCheckedValues("03");
  changes = 0;
  SendMessageW(h, WM_CHAR, ' ', 0);
  EXPECT_TRUE(list->Checked(3));
  EXPECT_EQ(c->GetCheckedValues(), "03");
  EXPECT_EQ(changes, 1);
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list->ItemIndex(), 4);
  EXPECT_EQ(c->GetCheckedValues(), "03/04");
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(c->GetCheckedValues(), "03/04/05");
  // Esc closes the pop-up.
  SendMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(c->PopupShown());
}

TEST_F(ComboTest, DeactivationClosesAndTheButtonDoesNotReopen) {
  auto* c = new TPointerCombo(form);
  c->SetParent(form);
  c->SetBounds(30, 40, 121, 21);
  c->Items()->AddStrings({"00", "01", "02"});
  fw::TObject* closedBy = nullptr;
  c->OnCloseUp = [&](fw::TObject* s) { closedBy = s; };
  ShowForm();
  c->OpenPopup();
  ASSERT_TRUE(c->PopupShown());
  ASSERT_EQ(GetActiveWindow(), c->PopupForm()->Handle());
  // The pointer on the drop-down button while the owner takes activation
  // back: the pop-up closes and the button's click that follows is eaten.
  c->pointer = c->ClientToScreen(POINT{c->ButtonPart()->Left() + 8, c->ButtonPart()->Top() + 8});
  SetActiveWindow(form->Handle());
  Pump();
  EXPECT_FALSE(c->PopupShown());
  EXPECT_EQ(closedBy, c->PopupForm());
  EXPECT_EQ(c->ButtonPart()->Tag(), 1);
  c->ButtonPart()->Click();
  EXPECT_FALSE(c->PopupShown());
  EXPECT_EQ(c->ButtonPart()->Tag(), 0);
  // On the button's very edge the pointer is not inside it.
  c->OpenPopup();
  c->pointer = c->ClientToScreen(POINT{c->ButtonPart()->Left(), c->ButtonPart()->Top() + 8});
  SetActiveWindow(form->Handle());
  Pump();
  EXPECT_EQ(c->ButtonPart()->Tag(), 0);
  // With the pointer on the edit, a click there reopens it.
  c->pointer = c->ClientToScreen(POINT{10, 8});
  c->EditPart()->Click();
  ASSERT_TRUE(c->PopupShown());
  SetActiveWindow(form->Handle());
  Pump();
  EXPECT_FALSE(c->PopupShown());
  EXPECT_EQ(c->ButtonPart()->Tag(), 0);
  c->EditPart()->Click();
  EXPECT_TRUE(c->PopupShown());
  c->PopupForm()->Close();
}

TEST_F(ComboTest, TheListsContextMenuLeavesThePopupOpen) {
  TCheckedComboBox* c = LoadCombo(Sectors());
  ShowForm();
  c->OpenPopup();
  ASSERT_TRUE(c->PopupShown());
  ASSERT_EQ(GetActiveWindow(), c->PopupForm()->Handle());
  int closeUps = 0;
  c->OnCloseUp = [&](fw::TObject*) { ++closeUps; };
  HWND list = c->PopupList()->Handle();
  // Once the menu is open, Esc closes it again.
  bool menuShown = false;
  fw::TTimer escape(nullptr);
  escape.SetInterval(100);
  escape.OnTimer = [&](fw::TObject*) {
    escape.SetEnabled(false);
    HWND menu = FindWindowW(L"#32768", nullptr);
    menuShown = menu && IsWindowVisible(menu);
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  // A right click on an item opens the list's menu.
  const RECT item = c->PopupList()->ItemRect(2);
  SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(item.left + 20, item.top + 2));
  SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(item.left + 20, item.top + 2));
  Pump();
  EXPECT_TRUE(menuShown);
  EXPECT_TRUE(c->PopupShown());
  EXPECT_EQ(GetActiveWindow(), c->PopupForm()->Handle());
  EXPECT_EQ(closeUps, 0);
  c->PopupForm()->Close();
}

TEST_F(ComboTest, FocusColoursOfTheEdit) {
  TCheckedComboBox* c = LoadCombo("    NotFocusColor = $00E0E0E0\n");
  EXPECT_EQ(c->EditPart()->Color(), 0xE0E0E0);
  int enters = 0, exits = 0;
  fw::TObject* sender = nullptr;
  c->OnEnter = [&](fw::TObject* s) { ++enters, sender = s; };
  c->OnExit = [&](fw::TObject* s) { ++exits, sender = s; };
  ShowForm();
  c->EditPart()->SetFocus();
  Pump();
  EXPECT_EQ(c->EditPart()->Color(), clWhite);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(sender, c);
  SetFocus(form->Handle());
  Pump();
  EXPECT_EQ(c->EditPart()->Color(), 0xE0E0E0);
  EXPECT_EQ(exits, 1);
}

TEST_F(ComboTest, LongItemsAreRefusedWithTheMessage) {
  std::string items = "    Items = (";
  for (char ch = 'a'; ch < 'a' + 8; ++ch) items += " \"" + std::string(40, ch) + "\"";
  TCheckedComboBox* c = LoadCombo(items + ")\n");
  for (int i = 0; i < 7; ++i) c->SetItemChecked(i, true);
  ASSERT_EQ(refusals.size(), 1u);
  EXPECT_EQ(refusals[0], "\xC3\xBB\xD3\xD0\xCF\xEE\xC4\xBF\xB1\xBB\xD1\xA1\xD4\xF1");  // 没有项目被选择
  EXPECT_EQ(c->GetCheckedValues().size(), 245u);
  EXPECT_FALSE(c->PopupList()->Checked(6));
}

TEST_F(ComboTest, EnabledPassesToTheParts) {
  TCheckedComboBox* c = LoadCombo("");
  c->SetEnabled(false);
  EXPECT_FALSE(c->EditPart()->Enabled());
  EXPECT_FALSE(c->ButtonPart()->Enabled());
  c->SetEnabled(true);
  EXPECT_TRUE(c->EditPart()->Enabled());
}

TEST_F(ComboTest, HeightFollowsTheFont) {
  TCheckedComboBox* c = LoadCombo("    Font.Height = -20\n");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(c->Height(), tm.tmHeight + GetSystemMetrics(SM_CYBORDER) * 8);
  EXPECT_EQ(c->ButtonPart()->Height(), c->Height() - 4);
}
