// The standard controls built from form data kept as a resource, and their
// behaviour under Wine: values read back, events bound by name, the masked
// edit's refusal of pasted text, the check list's toggling, the spin edit's
// up-down, and pictures read back by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "Application.h"
#include "Button.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "FormReader.h"
#include "Image.h"
#include "Label.h"
#include "ListBox.h"
#include "ListView.h"
#include "MaskEdit.h"
#include "Menus.h"
#include "Panel.h"
#include "PropertyText.h"
#include "SpinEdit.h"
#include "Timer.h"

using namespace fw;

namespace {

// A label class that older form data wrote with a property it no longer has.
class TOldLabel : public TLabel {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TOldLabel>("TOldLabel", &TLabel::StaticClass());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TOldLabel(TComponent* owner) : TLabel(owner) {}
  void DefineProperties(TFiler& filer) override { filer.DefineProperty("Layout3D", DropBoolean()); }
};

class TFmControlsTest : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFmControlsTest>("TFmControlsTest", &TForm::StaticClass())
                                       .Field("imgBack", &TFmControlsTest::imgBack)
                                       .Field("edtName", &TFmControlsTest::edtName)
                                       .Field("medtKey", &TFmControlsTest::medtKey)
                                       .Field("lblHint", &TFmControlsTest::lblHint)
                                       .Field("btnOk", &TFmControlsTest::btnOk)
                                       .Field("btnGo", &TFmControlsTest::btnGo)
                                       .Field("sbDrop", &TFmControlsTest::sbDrop)
                                       .Field("chkNew", &TFmControlsTest::chkNew)
                                       .Field("cbbType", &TFmControlsTest::cbbType)
                                       .Field("seWait", &TFmControlsTest::seWait)
                                       .Field("clbSectors", &TFmControlsTest::clbSectors)
                                       .Field("lvUsers", &TFmControlsTest::lvUsers)
                                       .Field("pmList", &TFmControlsTest::pmList)
                                       .Method("FormCreate", &TFmControlsTest::FormCreate)
                                       .Method("btnOkClick", &TFmControlsTest::btnOkClick)
                                       .Method("medtKeyKeyPress", &TFmControlsTest::medtKeyKeyPress);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmControlsTest(TComponent* owner) : TForm(owner) {}

  TImage* imgBack = nullptr;
  TEdit* edtName = nullptr;
  TMaskEdit* medtKey = nullptr;
  TLabel* lblHint = nullptr;
  TButton* btnOk = nullptr;
  TBitBtn* btnGo = nullptr;
  TSpeedButton* sbDrop = nullptr;
  TCheckBox* chkNew = nullptr;
  TComboBox* cbbType = nullptr;
  TSpinEdit* seWait = nullptr;
  TCheckListBox* clbSectors = nullptr;
  TListView* lvUsers = nullptr;
  TPopupMenu* pmList = nullptr;
  int created = 0, okClicks = 0;

  void FormCreate(TObject*) { ++created; }
  void btnOkClick(TObject*) { ++okClicks; }
  // Hexadecimal digits and Backspace only, as the key edits of the program.
  void medtKeyKeyPress(TObject*, char& key) {
    bool hex = (key >= '0' && key <= '9') || (key >= 'a' && key <= 'f') || (key >= 'A' && key <= 'F');
    if (!hex && key != 8) key = 0;
  }
};

void PutOnClipboard(HWND owner, const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(mem), text, bytes);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    RegisterComponentClass(TOldLabel::StaticClass());
    form = CreateForm<TFmControlsTest>(nullptr);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->Handle(), nullptr);
  }
  void TearDown() override {
    if (form) form->Free();
  }
  TFmControlsTest* form = nullptr;
};

TEST_F(ControlsTest, FormDataBuildsTheControlsWithTheirValues) {
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(form->Caption(), "\xBF\xD8\xBC\xFE");
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 300);
  ASSERT_NE(form->edtName, nullptr);
  EXPECT_EQ(form->edtName->Text(), "\xD5\xC5\xC8\xFD");  // GBK through the wide window text
  EXPECT_EQ(form->medtKey->Text(), "A5 C3 E7 B9 1D 2F");
  EXPECT_EQ(form->lblHint->Font()->Color(), clTeal);  // the obsolete Layout3D did not stop the reading
  EXPECT_TRUE(form->chkNew->Checked());
  EXPECT_EQ(form->cbbType->ItemIndex(), 1);
  EXPECT_EQ(form->cbbType->Text(), "\xBC\xCC\xD0\xF8\xD6\xB4\xD0\xD0");
  EXPECT_EQ(form->seWait->Value(), 5);
  EXPECT_EQ(form->clbSectors->Count(), 3);
  EXPECT_EQ(form->clbSectors->Parent()->ClassName(), "TPanel");
  EXPECT_EQ(form->lvUsers->Columns()->Count(), 2);
  EXPECT_EQ(form->lvUsers->Columns()->Items(0)->Caption, "\xD3\xC3\xBB\xA7");
  EXPECT_EQ(form->pmList->Items()->Count(), 2);
  EXPECT_EQ(form->imgBack->Picture()->Width(), 8);  // the JPEG was decoded
  EXPECT_EQ(form->btnGo->Glyph()->Width(), 4);
  // Window classes carry the framework class names.
  wchar_t cls[64];
  GetClassNameW(form->btnOk->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TButton");
  GetClassNameW(form->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TFmControlsTest");
  // Properties by name as text on real controls.
  std::string text;
  EXPECT_EQ(GetPropText(form->cbbType, "Style", text), TPropStatus::Ok);
  EXPECT_EQ(text, "csDropDownList");
  EXPECT_EQ(GetPropText(form->btnOk, "Default", text), TPropStatus::Ok);
  EXPECT_EQ(text, "True");
  EXPECT_EQ(GetPropText(form->btnOk, "Anchors", text), TPropStatus::Ok);
  EXPECT_EQ(text, "[akLeft,akTop]");
  EXPECT_EQ(GetPropText(form->btnOk, "ParentBackground", text), TPropStatus::Missing);
  EXPECT_EQ(SetPropText(form->edtName, "Color", "clYellow"), TPropStatus::Ok);
  EXPECT_EQ(form->edtName->Color(), clYellow);
}

TEST_F(ControlsTest, ComboBoxesKeepTheirHeightWhenMovedAgainAndAgain) {
  for (TComboBoxStyle style : {csDropDownList, csDropDown, csSimple}) {
    SCOPED_TRACE(static_cast<int>(style));
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(style);
    combo->SetBounds(10, 10, 120, style == csSimple ? 90 : 21);
    combo->HandleNeeded();
    const int h = combo->Height();
    for (int i = 0; i < 5; i++) combo->SetBounds(10 + i, 10, 120, combo->Height());
    EXPECT_EQ(combo->Height(), h);
    RECT r;
    GetWindowRect(combo->Handle(), &r);
    if (style == csSimple) {
      EXPECT_EQ(r.bottom - r.top, 90) << "a simple box is as high as it is made";
    } else {
      EXPECT_LT(r.bottom - r.top, 40) << "a closed drop-down box is as high as its edit";
    }
    combo->Free();
  }
}

TEST_F(ControlsTest, EventsNamedInFormDataRun) {
  SendMessageW(form->btnOk->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->okClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);  // the button's modal result went to its form
}

TEST_F(ControlsTest, MaskedEditRefusesPastedTextItsFilterRefuses) {
  HWND edit = form->medtKey->Handle();
  SendMessageW(edit, EM_SETSEL, 0, 0);
  PutOnClipboard(edit, L"GZ");
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(form->medtKey->Text(), "A5 C3 E7 B9 1D 2F");  // nothing changed
  SendMessageW(edit, WM_CHAR, 0x16, 0);                   // Ctrl+V takes the same road
  EXPECT_EQ(form->medtKey->Text(), "A5 C3 E7 B9 1D 2F");
  PutOnClipboard(edit, L"a1 b2");
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(form->medtKey->Text(), "A1 B2 E7 B9 1D 2F");
  // Typing: a non-hex letter is swallowed, a digit overwrites.
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, WM_CHAR, 'x', 0);
  EXPECT_EQ(form->medtKey->Text(), "A1 B2 E7 B9 1D 2F");
  SendMessageW(edit, WM_CHAR, '9', 0);
  EXPECT_EQ(form->medtKey->Text(), "91 B2 E7 B9 1D 2F");
  // Text set from outside is fitted to the mask.
  SetWindowTextW(edit, L"zz");
  EXPECT_EQ(form->medtKey->EditText(), "ZZ __ __ __ __ __");
  EXPECT_EQ(form->medtKey->Text(), "ZZ" + std::string(15, ' '));
  // Cut and delete leave blanks, never move the literals.
  SendMessageW(edit, EM_SETSEL, 0, 2);
  SendMessageW(edit, WM_CLEAR, 0, 0);
  EXPECT_EQ(form->medtKey->EditText(), "__ __ __ __ __ __");
}

TEST_F(ControlsTest, MaskedEditReplacesTheSelectionOnlyWithWhatTheMaskAndFilterTake) {
  HWND edit = form->medtKey->Handle();
  auto replace = [&](int start, int end, const wchar_t* text) {
    SendMessageW(edit, EM_SETSEL, start, end);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  };
  // All or nothing: a character the key filter refuses, one no position
  // takes, or more than the mask holds leave the text as it was.
  replace(0, 2, L"0G");
  replace(0, 2, L"\u5F20");
  replace(15, 17, L"123");
  EXPECT_EQ(form->medtKey->EditText(), "A5 C3 E7 B9 1D 2F");
  // Accepted characters fill the editable positions from the selection on,
  // in the edit's letter case; the literals stay.
  replace(3, 5, L"0b");
  EXPECT_EQ(form->medtKey->EditText(), "A5 0B E7 B9 1D 2F");
  replace(6, 11, L"12 34");
  EXPECT_EQ(form->medtKey->EditText(), "A5 0B 12 34 1D 2F");
  replace(0, 17, L"");
  EXPECT_EQ(form->medtKey->EditText(), "__ __ __ __ __ __");
}

TEST_F(ControlsTest, KeyPressHandlersSeeAndAnswerGbkCharacters) {
  TEdit* edit = form->edtName;
  HWND h = edit->Handle();
  edit->SetText("");
  std::string seen;
  edit->OnKeyPress = [&](TObject*, char& key) {
    seen += key;
    if (key == 'e') key = '\x80';                                    // the euro sign, one byte
    else if (static_cast<unsigned char>(key) == 0xC0) key = '\xD5';  // a first byte alone
    else if (key == 'x') key = 'y';
  };
  SendMessageW(h, WM_CHAR, 0x5F20, 0);  // 张 passes whole
  SendMessageW(h, WM_CHAR, 0x674E, 0);  // 李: answered with half a character, swallowed
  SendMessageW(h, WM_CHAR, 'e', 0);
  SendMessageW(h, WM_CHAR, 'x', 0);
  EXPECT_EQ(seen, "\xD5\xC0" "ex");
  EXPECT_EQ(edit->Text(), "\xD5\xC5\x80y");  // 张€y
  wchar_t shown[8] = {};
  GetWindowTextW(h, shown, 8);
  EXPECT_EQ(std::wstring(shown), L"\u5F20\u20ACy");
}

TEST_F(ControlsTest, MaskedEditBackspaceAndDeleteBlankOnePositionPastTheLiterals) {
  HWND edit = form->medtKey->Handle();
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_SETSEL, 3, 3);  // just after the first blank literal
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(form->medtKey->EditText(), "A_ C3 E7 B9 1D 2F");
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  SendMessageW(edit, EM_SETSEL, 5, 5);  // on the literal before E7
  SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(form->medtKey->EditText(), "A_ C3 _7 B9 1D 2F");
  SendMessageW(edit, EM_SETSEL, 17, 17);  // at the end: nothing after it
  SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
  SendMessageW(edit, EM_SETSEL, 0, 0);  // at the start: nothing before it
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(form->medtKey->EditText(), "A_ C3 _7 B9 1D 2F");
}

TEST_F(ControlsTest, CheckListTogglesByMouseAndSpace) {
  int checks = 0;
  form->clbSectors->OnClickCheck = [&](TObject*) { ++checks; };
  HWND list = form->clbSectors->Handle();
  RECT r = form->clbSectors->ItemRect(1);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 3, r.top + 3));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 3, r.top + 3));
  EXPECT_TRUE(form->clbSectors->Checked(1));
  EXPECT_EQ(checks, 1);
  // A press on the text selects without toggling.
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 40, r.top + 3));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 40, r.top + 3));
  EXPECT_TRUE(form->clbSectors->Checked(1));
  EXPECT_EQ(form->clbSectors->ItemIndex(), 1);
  SendMessageW(list, WM_CHAR, ' ', 0);
  EXPECT_FALSE(form->clbSectors->Checked(1));
  EXPECT_EQ(checks, 2);
}

TEST_F(ControlsTest, SpinEditHasARealUpDownAndKeepsItsRange) {
  HWND edit = form->seWait->Handle();
  HWND child = GetWindow(edit, GW_CHILD);
  ASSERT_NE(child, nullptr);
  wchar_t cls[64];
  GetClassNameW(child, cls, 64);
  EXPECT_STREQ(cls, L"TUpDown");
  EXPECT_EQ(ControlOfWindow(child), form->seWait->Button());
  SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(form->seWait->Value(), 6);
  // The up-down's own notice steps the value too.
  NMUPDOWN ud = {};
  ud.hdr.hwndFrom = child;
  ud.hdr.code = UDN_DELTAPOS;
  ud.iDelta = -1;
  SendMessageW(edit, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ud));
  EXPECT_EQ(form->seWait->Value(), 5);
  form->seWait->SetValue(150);
  EXPECT_EQ(form->seWait->Value(), 99);
  SetWindowTextW(edit, L"abc");
  EXPECT_EQ(form->seWait->Value(), 1);
}

TEST_F(ControlsTest, PicturesAndCustomDrawPaintExpectedPixels) {
  form->lvUsers->Items()->Add()->SetCaption("a");
  form->lvUsers->Items()->Add()->SetCaption("b");
  form->lvUsers->SetItemIndex(0);
  int drawn = 0;
  form->lvUsers->OnCustomDrawItem = [&](TListView* sender, TListItem* item, TCustomDrawState, bool&) {
    ++drawn;
    sender->Canvas()->Brush()->SetColor(item->Index() == sender->ItemIndex() ? RGBColor(51, 153, 255) : clWindow);
  };
  TBitmap bmp(form->ClientWidth(), form->ClientHeight());
  HDC dc = bmp.Canvas()->Handle();
  form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  // The stretched JPEG background is red (decoding may shift it a little).
  COLORREF back = GetPixel(dc, 395, 295);
  EXPECT_GE(GetRValue(back), 240);
  EXPECT_LE(GetGValue(back), 20);
  // The list view paints its rows into a DC handed to it.
  TBitmap lv(form->lvUsers->ClientWidth(), form->lvUsers->ClientHeight());
  HDC ldc = lv.Canvas()->Handle();
  SendMessageW(form->lvUsers->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ldc), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_GT(drawn, 0);
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(form->lvUsers->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(GetPixel(ldc, row.left + 30, (row.top + row.bottom) / 2), RGB(51, 153, 255));
}

// Rows added in one update reach the window in one refill, not one refill
// of all the rows per row added; so do the items of a combo box. The rows
// show their texts, and typing finds a row by its caption.
int refillsSeen = 0, addsSeen = 0;
LRESULT CALLBACK CountRefills(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (m == LVM_SETITEMCOUNT || m == LVM_INSERTITEMW || m == CB_RESETCONTENT) ++refillsSeen;
  if (m == CB_ADDSTRING) ++addsSeen;
  return DefSubclassProc(h, m, w, l);
}

TEST_F(ControlsTest, RowsAddedInAnUpdateReachTheWindowInOneRefill) {
  HWND lv = form->lvUsers->Handle();
  ASSERT_TRUE(SetWindowSubclass(lv, CountRefills, 1, 0));
  refillsSeen = 0;
  TListItems* rows = form->lvUsers->Items();
  rows->BeginUpdate();
  for (int i = 0; i < 300; ++i) {
    TListItem* row = rows->Add();
    row->SetCaption("u" + std::to_string(i));
    row->SubItems()->Add("11223344556" + std::to_string(i % 10));
  }
  EXPECT_EQ(refillsSeen, 0);
  rows->EndUpdate();
  EXPECT_EQ(refillsSeen, 1);
  RemoveWindowSubclass(lv, CountRefills, 1);
  EXPECT_EQ(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0), 300);
  wchar_t text[32] = {};
  LVITEMW item = {};
  item.iSubItem = 1;
  item.pszText = text;
  item.cchTextMax = 32;
  SendMessageW(lv, LVM_GETITEMTEXTW, 299, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, L"112233445569");
  for (wchar_t c : {L'U', L'2', L'9'}) SendMessageW(lv, WM_CHAR, c, 1);
  ASSERT_NE(form->lvUsers->Selected(), nullptr);
  EXPECT_EQ(form->lvUsers->Selected()->Caption().substr(0, 3), "u29");

  HWND combo = form->cbbType->Handle();
  ASSERT_TRUE(SetWindowSubclass(combo, CountRefills, 1, 0));
  refillsSeen = 0;
  TStrings* items = form->cbbType->Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < 300; ++i) items->Add("p" + std::to_string(i));
  items->EndUpdate();
  RemoveWindowSubclass(combo, CountRefills, 1);
  EXPECT_EQ(refillsSeen, 1);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 300);
  // The items go to the box's own procedure, past the handlers above it.
  EXPECT_EQ(addsSeen, 0);
}

TEST_F(ControlsTest, TabMovesFocusInTabOrder) {
  form->Show();
  form->edtName->SetFocus();
  form->SelectNext(form->edtName, true, true);
  EXPECT_TRUE(form->medtKey->Focused());
  form->SelectNext(form->medtKey, true, true);
  EXPECT_TRUE(form->chkNew->Focused());
  form->SelectNext(form->chkNew, false, true);
  EXPECT_TRUE(form->medtKey->Focused());
  EXPECT_EQ(form->ActiveControl(), form->medtKey);
}

TEST(FormData, BadResourceDataIsRefusedWithAClearError) {
  Application();
  TForm form(nullptr);
  std::string error;
  EXPECT_FALSE(form.LoadFromText("object F: TForm\n  object b: TButton\n    Default = Maybe\n  end\nend\n", error));
  EXPECT_NE(error.find("F.b.Default (line 3)"), std::string::npos) << error;
  EXPECT_FALSE(form.LoadFromResource(error));
  EXPECT_NE(error.find("no form data resource TFORM"), std::string::npos) << error;
}

}  // namespace
