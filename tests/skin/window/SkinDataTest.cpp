// The skin data component and the manager's choices: form data with an
// empty skin, switching on a component without a skin, the menu switches
// Loaded settles, the built-in refusals, the manager's window tests (the
// disabling Tag, dialogs with the style bit, the application window's
// class), requests before any window was activated, several components;
// and the menus of a framework form (its main menu under the skinned menu
// bar, its pop-up menus, their items' captions and shortcuts drawn in the
// skin) and the painters given to a tool bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <any>
#include <cstdio>

#include "Application.h"
#include "FormReader.h"
#include "Menus.h"
#include "PropertyText.h"
#include "SendInputs.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "Subclass.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

// ---- the component ---------------------------------------------------------------

TEST(SkinDataComponent, AnEmptySkinStreamLeavesTheProgramUnskinned) {
  Application();
  RegisterSkinDataClasses();
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText(R"(object F: TForm
  object Skin: TSkinData
    Active = True
    SkinStream = {00000000}
  end
end
)", error)) << error;
  auto* skin = dynamic_cast<TSkinData*>(form->FindComponent("Skin"));
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->NotLoaded);
  EXPECT_FALSE(skin->Active()) << "Loaded switches a component without a skin off";
  EXPECT_EQ(skin->SkinStore(), "(none)");
  EXPECT_EQ(skin->Version(), "5.40.07.15");
  // Switching it on again with no skin is stored but asks for nothing.
  SkinManager()->State = 1;
  skin->SetActive(true);
  EXPECT_TRUE(skin->Active());
  EXPECT_FALSE(SkinManager()->Timer->Enabled());
  form->Free();
  FreeSkinManager();
}

TEST(SkinDataComponent, LoadedSettlesTheMenuSwitchesAndTheBuiltInRefusals) {
  TSkinData* skin = StartCodedSkin();
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->HasControl(xcMainMenu));
  EXPECT_FALSE(skin->HasControl(xcMenuItem));
  EXPECT_TRUE(skin->HasControl(xcSystemMenu));
  bool doSkin = true;
  skin->AskFormSkin(nullptr, "SysMonthCal32", doSkin);
  EXPECT_FALSE(doSkin);
  doSkin = true;
  skin->AskFormSkin(nullptr, "TfrPreview", doSkin);
  EXPECT_TRUE(doSkin) << "xcFastReport is off";
  // The program's own question replaces the built-in rules.
  skin->OnFormSkin = [](TObject*, const std::string&, bool& d) { d = true; };
  doSkin = true;
  skin->AskFormSkin(nullptr, "SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
  StopSkin(skin);

  const TSkinControlTypes noMainMenu = 0xFFFFFFu & ~(1u << xcMainMenu);
  TSkinData* other = StartCodedSkin(noMainMenu, 0, true);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->HasControl(xcSystemMenu));
  EXPECT_TRUE(other->HasControl(xcMenuItem));
  StopSkin(other);
}

TEST(SkinDataComponent, AStartRequestBeforeAnyActivationOnlySwitchesSkinningOn) {
  TSkinData* skin = StartCodedSkin();
  ASSERT_NE(skin, nullptr);
  TSkinManage* m = SkinManager();
  EXPECT_EQ(m->State, 0);
  EXPECT_TRUE(m->SkinningOn);
  EXPECT_FALSE(m->Timer->Enabled());
  m->PostSkinRequest(2, 250);
  EXPECT_FALSE(m->SkinningOn);
  EXPECT_FALSE(m->Timer->Enabled());
  StopSkin(skin);
}

TEST(SkinDataComponent, TheFirstMainComponentGovernsAndTheLastIsUsed) {
  TSkinData* first = StartCodedSkin();
  ASSERT_NE(first, nullptr);
  TSkinData* second = new TSkinData(nullptr);
  second->SkinArchive.Write(first->SkinArchive.Data(), first->SkinArchive.Size());
  second->SkinArchive.Seek(0);
  ASSERT_TRUE(second->LoadSkin());
  second->Loaded();
  EXPECT_EQ(SkinManager()->MainSkinData, first);
  EXPECT_EQ(SkinManager()->ChooseSkinData(nullptr), second);
  second->Free();
  EXPECT_EQ(SkinManager()->ChooseSkinData(nullptr), first);
  StopSkin(first);
}

TEST(SkinDataComponent, OnSkinChangedFollowsANewSkin) {
  TSkinData* skin = StartCodedSkin();
  ASSERT_NE(skin, nullptr);
  TTestWindow w;
  HWND h = MakeTestWindow(&w);
  ASSERT_TRUE(WaitSkinned(h));
  int changes = 0;
  skin->OnSkinChanged = [&](TObject*) { changes++; };
  skin->SetSkinFile(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn");
  EXPECT_TRUE(PumpUntil([&] { return changes == 1; }));
  // A file that does not exist only marks the skin as not loaded.
  skin->SetSkinFile(std::string(CARDINIT_SKIN_DIR) + "/NoSuchSkin.skn");
  EXPECT_TRUE(skin->NotLoaded);
  Pump(300);
  EXPECT_EQ(changes, 1);
  DestroyWindow(h);
  StopSkin(skin);
}

TEST(SkinDataComponent, AComponentForItsOwnFormSkinsThatFormAtOnce) {
  Application();
  RegisterSkinDataClasses();
  const std::vector<uint8_t> archive = CodedSkinArchive();
  ASSERT_FALSE(archive.empty());
  std::string hex;
  char digits[3];
  const uint32_t n = static_cast<uint32_t>(archive.size());
  for (int i = 0; i < 4; i++) {
    std::snprintf(digits, sizeof digits, "%02X", (n >> (8 * i)) & 0xFF);
    hex += digits;
  }
  for (uint8_t b : archive) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    hex += digits;
  }
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText("object F: TForm\n  Left = 60\n  Top = 60\n  Width = 240\n  Height = 120\n"
                                 "  object Skin: TSkinData\n    Active = True\n    SkinFormtype = sfOnlyThisForm\n"
                                 "    SkinStream = {" + hex + "}\n  end\nend\n",
                                 error))
      << error;
  // No hook: the form's window was skinned when the component started.
  ASSERT_NE(SkinManager(), nullptr);
  EXPECT_NE(SkinManager()->FindSkinnedForm(form->Handle()), nullptr);
  form->Show();
  EXPECT_TRUE(WaitSkinned(form->Handle()));
  EXPECT_EQ(SkinManager()->State, 1);
  form->Free();
  EXPECT_EQ(SkinManager(), nullptr) << "the manager goes with the last component";
}

TEST(SkinDataComponent, AComponentFreedInItsOwnHandlerTakesTheManagerWithItSafely) {
  TSkinData* skin = StartCodedSkin();
  ASSERT_NE(skin, nullptr);
  TTestWindow w;
  HWND h = MakeTestWindow(&w);
  ASSERT_TRUE(WaitSkinned(h));
  bool freed = false;
  skin->OnSkinChanged = [&](TObject*) {
    skin->Free();  // from inside the manager's timer
    freed = true;
  };
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return freed; }));
  Pump(50);
  EXPECT_EQ(SkinManager(), nullptr);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  DestroyWindow(h);
}

// ---- the manager's tests ------------------------------------------------------------

class Manager : public CodedSkinWindowTest {};

TEST_F(Manager, SwitchingOffWhileTheSystemMenuIsOpenClosesItFirst) {
  TTestWindow w;
  HWND h = MakeTestWindow(&w);
  ASSERT_TRUE(WaitSkinned(h));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(h);
  // Skinning goes off from the manager's timer while the menu is tracked.
  skin->SetActive(false);
  f->ShowSystemMenu(POINT{150, 150});
  Pump(400);
  EXPECT_EQ(SkinManager()->FindSkinnedForm(h), nullptr);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  DestroyWindow(h);
}

TEST_F(Manager, AMenuBarsPopUpsGetTheirOwnDrawingBackWhenSkinningStops) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 201, L"&Open");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&File");
  TTestWindow w;
  HWND h = MakeTestWindow(&w, 300, 200, WS_OVERLAPPEDWINDOW, 0, bar);
  ASSERT_TRUE(WaitSkinned(h));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(h);
  f->MarkMenuOwnerDraw(sub);  // as opening it from the skinned bar does
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(sub, 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(h) == nullptr; }));
  EXPECT_EQ(GetMenu(h), bar);
  GetMenuItemInfoW(sub, 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
  wchar_t text[16] = {};
  GetMenuStringW(sub, 0, text, 16, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Open");
  DestroyWindow(h);
}

TEST_F(Manager, AFormTaggedNinetyNineIsNeverSkinned) {
  skin->DisableTag = 5;
  TForm* form = new TForm(nullptr);
  form->SetTag(99);
  form->SetBounds(100, 100, 200, 100);
  form->Show();
  Activate(form->Handle());
  Pump(200);
  EXPECT_EQ(SkinManager()->FindSkinnedForm(form->Handle()), nullptr);
  form->Free();
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog made from a template of the given style.
HWND MakeDialog(DWORD style) {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl = {};
  tpl.t.style = style | WS_VISIBLE;
  tpl.t.cx = 100;
  tpl.t.cy = 50;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, nullptr, NoDialogProc, 0);
}

TEST_F(Manager, DialogsAreSkinnedUnlessTheyCarryTheStyleBit) {
  HWND plain = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU);
  ASSERT_NE(plain, nullptr);
  Activate(plain);
  EXPECT_TRUE(WaitSkinned(plain));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(plain);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->FIsDialog);
  EXPECT_EQ(f->FFrameStyle, 3) << "a dialog frame whatever its style says";
  HWND marked = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x200);
  Activate(marked);
  Pump(200);
  EXPECT_EQ(SkinManager()->FindSkinnedForm(marked), nullptr);
  DestroyWindow(plain);
  DestroyWindow(marked);
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

HWND WindowOfClass(const wchar_t* name) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, name, L"x", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  Activate(h);
  return h;
}

TEST_F(Manager, TheApplicationWindowsClassIsNeverSkinnedALongerNameIs) {
  HWND app = WindowOfClass(L"TApplication");
  HWND longer = WindowOfClass(L"TApplicationWindow");
  Pump(200);
  EXPECT_EQ(SkinManager()->FindSkinnedForm(app), nullptr);
  EXPECT_TRUE(WaitSkinned(longer));
  DestroyWindow(app);
  DestroyWindow(longer);
}

// ---- a framework form's menus --------------------------------------------------------

const char kMenuForm[] = R"(object FmMenus: TForm
  Caption = "Menus"
  ClientWidth = 300
  ClientHeight = 160
  Menu = MainMenu1
  PopupMenu = pmContext
  object MainMenu1: TMainMenu
    object miFile: TMenuItem
      Caption = "&File"
      object miOpen: TMenuItem
        Caption = "&Open"
      end
      object miLine: TMenuItem
        Caption = "-"
      end
      object miQuit: TMenuItem
        Caption = "&Quit"
        Enabled = False
      end
    end
    object miHelp: TMenuItem
      Caption = "&Help"
    end
  end
  object pmContext: TPopupMenu
    object miCopy: TMenuItem
      Caption = "&Copy"
    end
  end
end
)";

TEST_F(Manager, AFormsMainMenuBecomesTheSkinnedMenuBarAndFollowsItsChanges) {
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText(kMenuForm, error)) << error;
  int helpClicks = 0;
  auto* help = dynamic_cast<TMenuItem*>(form->FindComponent("miHelp"));
  help->OnClick = [&](TObject*) { helpClicks++; };
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  ASSERT_NE(f->FMenuBar, nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  ASSERT_EQ(f->FMenuBar->Buttons.size(), 2u);
  EXPECT_EQ(f->FMenuBar->Buttons[1]->Caption, L"&Help");
  EXPECT_EQ(f->FMenuBar->Buttons[1]->MenuItem, help);
  EXPECT_EQ(form->ClientHeight(), 160);
  // An item without a pop-up fires its click through the skinned bar.
  f->OpenMenuButton(f->FMenuBar->Buttons[1].get());
  Pump(50);
  EXPECT_EQ(helpClicks, 1);
  // A change of the menu comes to the bar, and the window keeps no menu.
  help->SetCaption("&About");
  Pump(50);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  ASSERT_EQ(f->FMenuBar->Buttons.size(), 2u);
  EXPECT_EQ(f->FMenuBar->Buttons[1]->Caption, L"&About");
  // The pop-up menu's items are drawn in the skin.
  auto* copy = dynamic_cast<TMenuItem*>(form->FindComponent("miCopy"));
  EXPECT_TRUE(static_cast<bool>(copy->OnDrawItem));
  // Alt and the accelerator open the item; Alt and Shift do not.
  EXPECT_EQ(f->FindAccelButton(L'a'), f->FMenuBar->Buttons[1].get());
  EXPECT_EQ(f->FindAccelButton(L'z'), nullptr);
  // Unskinned, the form has its menu bar again and its client area.
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_NE(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(form->ClientHeight(), 160);
  EXPECT_FALSE(static_cast<bool>(copy->OnDrawItem));
  form->Free();
}

TEST_F(Manager, TheFormObjectAnswersTheEnginesQueriesAndPaintsItsFrameIntoADC) {
  TForm* form = new TForm(nullptr);
  form->SetBounds(80, 80, 240, 140);
  form->SetCaption("Frame");
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  EXPECT_EQ(form->Perform(SKM_QUERYSKINFORM, 0, kSkinMarker), kSkinMarker);
  EXPECT_EQ(form->Perform(SKM_QUERYSKINFORM, 0, 0), 1);
  TCapture c = PaintInto(form->Handle(), SKM_PAINTFRAMETO, kSkinMarker);
  EXPECT_EQ(c.At(1, c.height / 2), ImageColour(skin->BorderLeft->Bitmap, false, 2, 1));
  EXPECT_EQ(form->Color(), skin->Colors[sc::ButtonFace]) << "the form takes the skin's face colour";
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(form->Color(), clBtnFace) << "and gives it back";
  form->Free();
}

TEST_F(Manager, ContextMenusStayPlainWithoutThePopupMenuSwitch) {
  skin->RemoveControl(xcPopupMenu);
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText(kMenuForm, error)) << error;
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  auto* copy = dynamic_cast<TMenuItem*>(form->FindComponent("miCopy"));
  EXPECT_FALSE(static_cast<bool>(copy->OnDrawItem));
  SkinManager()->PopupKind = 0;
  HWND menu = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  if (menu) {
    EXPECT_FALSE(SkinManager()->IsPopupMenuSkinned(menu));
    DestroyWindow(menu);
  }
  SkinManager()->PopupKind = 1;  // a menu-bar menu is skinned with the main menu switch
  menu = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  if (menu) {
    EXPECT_TRUE(SkinManager()->IsPopupMenuSkinned(menu));
    EXPECT_EQ(SendMessageW(menu, SKM_ISSKINNED, 0, 0), 1);
    DestroyWindow(menu);
    EXPECT_EQ(SkinManager()->PopupKind, 0) << "back to 0 once the last menu window went";
  }
  form->Free();
}

// In a right-to-left menu the arrow keys trade places, and only they: a
// character typed into the open pop-up reaches the menu as typed, also '%'
// and '\'', whose values are those of the left and right arrow keys. (The
// skinned items are owner-drawn, so the menu asks its owner for the item
// of a typed character with WM_MENUCHAR, which is where it is seen.)
std::vector<WPARAM> gMenuChars;

LRESULT CALLBACK RecordMenuChar(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_MENUCHAR) gMenuChars.push_back(LOWORD(sent->wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct TRightToLeftProbe {
  static TRightToLeftProbe* current;
  TMenuItem* item = nullptr;  // the item the pop-up selects
  bool open = false;
  WPARAM arrow = 0;           // VK_LEFT after the menu's filter saw it
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TRightToLeftProbe* p = current;
    HWND m = FindWindowW(L"#32768", nullptr);
    if (!p || !m || !IsWindowVisible(m)) return;
    KillTimer(nullptr, id);
    p->open = true;
    // The selection as the system tells it, through the menu's filter.
    MSG select = {};
    select.hwnd = m;
    select.message = WM_MENUSELECT;
    select.wParam = MAKEWPARAM(p->item->Command(), MF_HILITE);
    select.lParam = reinterpret_cast<LPARAM>(p->item->Parent()->Handle());
    CallMsgFilterW(&select, MSGF_MENU);
    MSG arrow = {};
    arrow.hwnd = m;
    arrow.message = WM_KEYDOWN;
    arrow.wParam = VK_LEFT;
    CallMsgFilterW(&arrow, MSGF_MENU);
    p->arrow = arrow.wParam;
    realinput::SendChar(L'%');
    realinput::SendChar(L'\'');
    SetTimer(nullptr, 0, 500, Close);
  }
  static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  }
};
TRightToLeftProbe* TRightToLeftProbe::current = nullptr;

TEST_F(Manager, ARightToLeftMenuTradesTheArrowKeysNotTheCharacters) {
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText(R"(object FmRtl: TForm
  ClientWidth = 300
  ClientHeight = 160
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    BiDiMode = bdRightToLeft
    object miEdit: TMenuItem
      Caption = "&Edit"
      object miPercent: TMenuItem
        Caption = "Percent"
      end
      object miQuote: TMenuItem
        Caption = "Quote"
      end
    end
  end
end
)",
                                 error))
      << error;
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  ASSERT_NE(f->FMenuBar, nullptr);
  ASSERT_EQ(f->FMenuBar->Buttons.size(), 1u);
  TRightToLeftProbe probe;
  probe.item = dynamic_cast<TMenuItem*>(form->FindComponent("miPercent"));
  ASSERT_NE(probe.item, nullptr);
  TRightToLeftProbe::current = &probe;
  gMenuChars.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordMenuChar, nullptr, GetCurrentThreadId());
  SetTimer(nullptr, 0, 300, TRightToLeftProbe::Tick);
  f->OpenMenuButton(f->FMenuBar->Buttons[0].get());
  UnhookWindowsHookEx(hook);
  TRightToLeftProbe::current = nullptr;
  ASSERT_TRUE(probe.open);
  EXPECT_EQ(probe.arrow, static_cast<WPARAM>(VK_RIGHT));
  EXPECT_EQ(gMenuChars, (std::vector<WPARAM>{L'%', L'\''}));
  form->Free();
}

// Columns and rows where a drawn menu item differs from the same item
// drawn without text, within a band of columns.
struct TInk {
  int left = -1, right = -1, top = -1, bottom = -1;  // right and bottom exclusive
  bool Seen() const { return left >= 0; }
  double MiddleRow() const { return (top + bottom) / 2.0; }
};

TInk InkBetween(TBitmap& drawn, TBitmap& blank, int fromColumn, int toColumn) {
  TSkinPixels a = PixelsOf(drawn), b = PixelsOf(blank);
  TInk ink;
  for (int y = 0; y < drawn.Height(); y++)
    for (int x = fromColumn; x < toColumn; x++) {
      if (a.Pixel(x, y) == b.Pixel(x, y)) continue;
      if (!ink.Seen()) ink = {x, x + 1, y, y + 1};
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  return ink;
}

// The item drawn by the menu as a pop-up menu draws it, into a bitmap.
void DrawMenuItemInto(TMenuItem* item, TBitmap& target) {
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = item->Command();
  draw.hDC = target.Canvas()->Handle();
  draw.rcItem = RECT{0, 0, target.Width(), target.Height()};
  item->DrawItem(draw);
}

TEST_F(Manager, AMenuItemsCaptionIsCentredAndItsShortcutShownAtTheFarEnd) {
  TForm* form = new TForm(nullptr);
  std::string error;
  ASSERT_TRUE(form->LoadFromText(R"(object FmKeys: TForm
  ClientWidth = 300
  ClientHeight = 160
  PopupMenu = pmFile
  object pmFile: TPopupMenu
    object miOpen: TMenuItem
      Caption = "&Open"
      ShortCut = 16463
    end
    object miBlank: TMenuItem
      Caption = " "
    end
  end
end
)",
                                 error))
      << error;
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("pmFile"));
  auto* open = dynamic_cast<TMenuItem*>(form->FindComponent("miOpen"));
  auto* blank = dynamic_cast<TMenuItem*>(form->FindComponent("miBlank"));
  ASSERT_EQ(open->ShortCut(), scCtrl | 'O');
  ASSERT_TRUE(static_cast<bool>(open->OnDrawItem)) << "drawn in the skin";
  ASSERT_NE(skin->MenuItem, nullptr);
  constexpr int kWidth = 220, kHeight = 22;
  for (bool rtl : {false, true}) {
    SCOPED_TRACE(rtl ? "right to left" : "left to right");
    menu->SetBiDiMode(rtl ? bdRightToLeft : bdLeftToRight);
    TBitmap drawn(kWidth, kHeight), empty(kWidth, kHeight);
    DrawMenuItemInto(open, drawn);
    DrawMenuItemInto(blank, empty);
    // The caption at the glyph's side, the shortcut at the other end.
    const TInk caption = rtl ? InkBetween(drawn, empty, kWidth / 2, kWidth) : InkBetween(drawn, empty, 0, kWidth / 2);
    const TInk keys = rtl ? InkBetween(drawn, empty, 0, kWidth / 2) : InkBetween(drawn, empty, kWidth / 2, kWidth);
    ASSERT_TRUE(caption.Seen());
    EXPECT_NEAR(caption.MiddleRow(), kHeight / 2.0, 2.0) << "rows " << caption.top << "-" << caption.bottom;
    ASSERT_TRUE(keys.Seen()) << "the shortcut is shown";
    EXPECT_NEAR(keys.MiddleRow(), kHeight / 2.0, 2.0) << "rows " << keys.top << "-" << keys.bottom;
    EXPECT_GT(keys.right - keys.left, 15) << "Ctrl+O is wider than a letter";
    if (rtl) {
      EXPECT_GE(keys.left, 10);
      EXPECT_LE(keys.left, 14) << "10 pixels in from the left";
    } else {
      EXPECT_LE(keys.right, kWidth - 11);
      EXPECT_GE(keys.right, kWidth - 15) << "11 pixels in from the right";
    }
  }
  form->Free();
}

// ---- tool bars --------------------------------------------------------------------------

// A tool bar of the tests: publishes the two custom-draw events.
class TTestToolBar : public TCustomControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TTestToolBar>("TToolBar", &TCustomControl::StaticClass())
                                       .Event("OnCustomDraw", &TTestToolBar::OnCustomDraw)
                                       .Event("OnCustomDrawButton", &TTestToolBar::OnCustomDrawButton);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TTestToolBar(TComponent* owner) : TCustomControl(owner) {}
  TToolBarCustomDrawEvent OnCustomDraw;
  TToolBarCustomDrawButtonEvent OnCustomDrawButton;
};

TEST_F(Manager, AToolBarGetsThePaintersWhereItHasNoneAndGetsItsOwnBack) {
  skin->Options &= ~(1u << xoToolbarBK);  // the skin paints tool bar backgrounds
  TForm* form = new TForm(nullptr);
  form->SetBounds(80, 80, 300, 140);
  auto* bare = new TTestToolBar(form);
  bare->SetParent(form);
  bare->SetBounds(0, 0, 300, 30);
  auto* own = new TTestToolBar(form);
  own->SetParent(form);
  own->SetBounds(0, 40, 300, 30);
  int ownCalls = 0;
  own->OnCustomDraw = [&](TObject*, TCanvas*, const RECT&, bool&) { ownCalls++; };
  form->Show();
  Activate(form->Handle());
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  ASSERT_TRUE(static_cast<bool>(bare->OnCustomDraw));
  ASSERT_TRUE(static_cast<bool>(bare->OnCustomDrawButton));
  // The bar's background is the skin's tool bar image, stretched.
  TBitmap target(40, 20);
  RECT all = {0, 0, 40, 20};
  bool defaultDraw = true;
  bare->OnCustomDraw(bare, target.Canvas(), all, defaultDraw);
  EXPECT_EQ(PixelsOf(target).Pixel(20, 10), PixelsOf(skin->Toolbar->Bitmap).Pixel(skin->Toolbar->Bitmap.Width() / 2,
                                                                                    skin->Toolbar->Bitmap.Height() / 2));
  EXPECT_TRUE(defaultDraw);
  bool ownDefault = true;
  own->OnCustomDraw(own, target.Canvas(), all, ownDefault);
  EXPECT_EQ(ownCalls, 1) << "the bar's own handler stays";
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_FALSE(static_cast<bool>(bare->OnCustomDraw));
  EXPECT_FALSE(static_cast<bool>(bare->OnCustomDrawButton));
  own->OnCustomDraw(own, target.Canvas(), all, ownDefault);
  EXPECT_EQ(ownCalls, 2);
  form->Free();
}

}  // namespace
