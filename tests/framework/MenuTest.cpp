// Menus under Wine: a form's menu bar built from form data (the handles,
// texts and states the system holds), menu commands, rebuilding through
// the form's WindowProc when items change or the window is re-created,
// finding items, owner drawing with the whole DRAWITEMSTRUCT, pop-up menu
// handles while open, and shortcut keys through the message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "Bitmap.h"
#include "Edit.h"
#include "Form.h"
#include "Internal.h"
#include "Menus.h"
#include "Text.h"
#include "Timer.h"

using namespace fw;

namespace {

const char* const kFormData = R"FORM(object F: TForm
  BorderStyle = bsSizeable
  ClientWidth = 300
  ClientHeight = 200
  Menu = mmMain
  object mmMain: TMainMenu
    object miFile: TMenuItem
      Caption = "&File"
      object miOpen: TMenuItem
        Caption = "&Open"
        ShortCut = 16463  // Ctrl+O
      end
      object miSave: TMenuItem
        Caption = "&Save"
        ShortCut = 16467  // Ctrl+S
        Enabled = False
      end
      object miLine: TMenuItem
        Caption = "-"
      end
      object miRecent: TMenuItem
        Caption = "Recent"
        object miRecent1: TMenuItem
          Caption = "a.ini"
          Checked = True
          ShortCut = 116  // F5
        end
      end
      object miHidden: TMenuItem
        Caption = "Hidden"
        ShortCut = 117  // F6
        Visible = False
      end
      object miExit: TMenuItem
        Caption = "E&xit"
        Default = True
        ShortCut = 32883  // Alt+F4
      end
    end
    object miHelp: TMenuItem
      Caption = "\xB0\xEF\xD6\xFA(&H)"  // 帮助(&H)
    end
  end
  object edName: TEdit
    Left = 10
    Top = 10
    Width = 100
  end
end
)FORM";

struct EntryInfo {
  bool ok = false;
  std::wstring text;
  UINT type = 0, state = 0, id = 0;
  HMENU sub = nullptr;
  ULONG_PTR data = 0;
};

EntryInfo Entry(HMENU menu, int position) {
  EntryInfo e;
  wchar_t buffer[128] = {};
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
  mii.dwTypeData = buffer;
  mii.cch = 128;
  e.ok = GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii) != 0;
  e.text = mii.dwTypeData && mii.cch ? std::wstring(buffer, mii.cch) : std::wstring();
  e.type = mii.fType;
  e.state = mii.fState;
  e.id = mii.wID;
  e.sub = mii.hSubMenu;
  e.data = mii.dwItemData;
  return e;
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    form = new TForm(nullptr);
    std::string error;
    ASSERT_TRUE(form->LoadFromText(kFormData, error)) << error;
    mm = Find<TMainMenu>("mmMain");
    file = Find<TMenuItem>("miFile");
    open = Find<TMenuItem>("miOpen");
    save = Find<TMenuItem>("miSave");
    recent = Find<TMenuItem>("miRecent");
    recent1 = Find<TMenuItem>("miRecent1");
    hidden = Find<TMenuItem>("miHidden");
    exit = Find<TMenuItem>("miExit");
    help = Find<TMenuItem>("miHelp");
    edit = Find<TEdit>("edName");
    ASSERT_TRUE(mm && file && open && save && recent && recent1 && hidden && exit && help && edit);
    for (auto* item : {open, save, recent1, hidden, exit, help})
      item->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)); };
  }
  void TearDown() override {
    if (form) form->Free();
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(form->FindComponent(name));
  }
  HWND Show() {
    form->Show();
    Application().ProcessMessages();
    return form->Handle();
  }

  TForm* form = nullptr;
  TMainMenu* mm = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *save = nullptr, *recent = nullptr, *recent1 = nullptr,
            *hidden = nullptr, *exit = nullptr, *help = nullptr;
  TEdit* edit = nullptr;
  std::vector<TMenuItem*> clicked;
};

TEST_F(MenuTest, FormDataMenuBecomesTheWindowsMenuBar) {
  EXPECT_EQ(form->Menu(), mm);
  EXPECT_EQ(mm->Handle(), nullptr);  // no window yet
  HWND h = Show();
  HMENU bar = GetMenu(h);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, mm->Handle());
  EXPECT_EQ(mm->Items()->Handle(), bar);
  EXPECT_EQ(file->Parent()->Handle(), bar);
  // The client area is the size the form data asked for, below the bar.
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);

  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EntryInfo f = Entry(bar, 0);
  ASSERT_TRUE(f.ok);
  EXPECT_EQ(f.text, L"&File");
  EXPECT_EQ(f.sub, file->Handle());
  EXPECT_EQ(f.data, reinterpret_cast<ULONG_PTR>(file));
  EXPECT_EQ(Entry(bar, 1).text, ToWide("\xB0\xEF\xD6\xFA(&H)"));
  EXPECT_EQ(Entry(bar, 1).sub, nullptr);
  EXPECT_EQ(help->Handle(), nullptr);  // no sub-items

  // File: Open, Save (grayed), a separator, Recent (a sub-menu), Exit
  // (default); the invisible item is left out. Shortcuts follow a tab.
  HMENU sub = file->Handle();
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 5);
  EntryInfo o = Entry(sub, 0), s = Entry(sub, 1), l = Entry(sub, 2), r = Entry(sub, 3), x = Entry(sub, 4);
  EXPECT_EQ(o.text, L"&Open\tCtrl+O");
  EXPECT_EQ(o.id, open->Command());
  EXPECT_EQ(o.data, reinterpret_cast<ULONG_PTR>(open));
  EXPECT_EQ(o.state & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT), 0u);
  EXPECT_EQ(GetMenuItemID(sub, 0), open->Command());
  EXPECT_EQ(s.text, L"&Save\tCtrl+S");
  EXPECT_EQ(s.state & MFS_GRAYED, static_cast<UINT>(MFS_GRAYED));
  EXPECT_TRUE(l.type & MFT_SEPARATOR);
  EXPECT_EQ(r.text, L"Recent");
  EXPECT_EQ(r.sub, recent->Handle());
  EXPECT_EQ(x.text, L"E&xit\tAlt+F4");
  EXPECT_TRUE(x.state & MFS_DEFAULT);
  EXPECT_EQ(GetMenuDefaultItem(sub, FALSE, 0), exit->Command());
  ASSERT_NE(recent->Handle(), nullptr);
  ASSERT_EQ(GetMenuItemCount(recent->Handle()), 1);
  EntryInfo r1 = Entry(recent->Handle(), 0);
  EXPECT_EQ(r1.text, L"a.ini\tF5");
  EXPECT_TRUE(r1.state & MFS_CHECKED);
  EXPECT_EQ(recent1->Parent()->Handle(), recent->Handle());
  EXPECT_EQ(hidden->Handle(), nullptr);

  // Every item has its own command identifier, below the system commands.
  std::set<UINT> commands;
  for (TMenuItem* i : {file, open, save, recent, recent1, hidden, exit, help}) {
    EXPECT_GT(i->Command(), 0u);
    EXPECT_LT(i->Command(), 0xF000u);
    commands.insert(i->Command());
  }
  EXPECT_EQ(commands.size(), 8u);
}

TEST_F(MenuTest, MenuCommandsRunTheirItemOnceAndControlNotificationsDoNot) {
  HWND h = Show();
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], open);
  // The same number from a control (its window in lParam) or an
  // accelerator (code 1) is no menu command.
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(open->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(edit->Handle()));
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(open->Command(), 0), reinterpret_cast<LPARAM>(edit->Handle()));
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(open->Command(), 1), 0);
  // A disabled item does not run; a number no item has does nothing.
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(save->Command(), 0), 0);
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(0xEFFF, 0), 0);
  EXPECT_EQ(clicked.size(), 1u);
  // A click that throws stays in the handler.
  help->OnClick = [](TObject*) { throw std::runtime_error("x"); };
  EXPECT_EQ(SendMessageW(h, WM_COMMAND, MAKEWPARAM(help->Command(), 0), 0), 0);

  // Chosen in the real sub-menu (the keys typed into it), the command
  // comes as the system posts it.
  TTimer keys(nullptr);
  keys.SetInterval(100);
  int step = 0;
  keys.OnTimer = [&](TObject*) {
    PostMessageW(h, WM_KEYDOWN, step == 0 ? VK_DOWN : VK_RETURN, 0);
    if (++step == 2) keys.SetEnabled(false);
  };
  POINT p = form->ClientToScreen(POINT{10, 10});
  TrackPopupMenu(file->Handle(), TPM_LEFTALIGN, p.x, p.y, 0, h, nullptr);
  Application().ProcessMessages();
  ASSERT_EQ(clicked.size(), 2u);
  EXPECT_EQ(clicked[1], open);
}

TEST_F(MenuTest, ItemChangesRebuildTheBarThroughWindowProc) {
  HWND h = Show();
  RECT withBar;
  GetClientRect(h, &withBar);
  // What a procedure in front of the form sees: the notice comes while the
  // old handle is still the window's menu; after passing it on the new one
  // is set and the old one is gone.
  int notices = 0;
  HMENU before = nullptr, after = nullptr;
  LPARAM noticeMenu = -1;
  TWindowProcHook hook;
  hook.Install(form, [&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) {
      ++notices;
      noticeMenu = m.LParam;
      before = GetMenu(h);
      hook.CallPrevious(m);
      after = GetMenu(h);
      return;
    }
    hook.CallPrevious(m);
  });
  HMENU old = GetMenu(h);
  HMENU oldFile = file->Handle();
  open->SetCaption("&Open...");
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(noticeMenu, reinterpret_cast<LPARAM>(mm));
  EXPECT_EQ(before, old);
  EXPECT_NE(after, old);
  EXPECT_EQ(after, mm->Handle());
  EXPECT_FALSE(IsMenu(old));
  EXPECT_FALSE(IsMenu(oldFile));
  EXPECT_NE(file->Handle(), oldFile);
  EXPECT_EQ(Entry(file->Handle(), 0).text, L"&Open...\tCtrl+O");
  open->SetCaption("&Open...");  // no change, no notice
  EXPECT_EQ(notices, 1);

  // Shown, disabled, added and removed items are in the new handle.
  hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 6);
  save->SetEnabled(true);
  EXPECT_EQ(Entry(file->Handle(), 1).state & MFS_GRAYED, 0u);
  auto* added = new TMenuItem(form);
  added->SetCaption("Added");
  file->Insert(0, added);
  EXPECT_EQ(Entry(file->Handle(), 0).text, L"Added");
  EXPECT_EQ(Entry(file->Handle(), 0).id, added->Command());
  const UINT addedCommand = added->Command();
  added->Free();
  EXPECT_EQ(Entry(file->Handle(), 0).text, L"&Open...\tCtrl+O");
  EXPECT_EQ(mm->FindItem(addedCommand, fkCommand), nullptr);
  recent->Remove(recent1);
  EXPECT_EQ(recent->Handle(), nullptr);  // no sub-items left
  EXPECT_EQ(recent1->Handle(), nullptr);
  EXPECT_EQ(notices, 6);

  // A re-created window gets a menu bar again, announced the same way.
  form->SetBorderStyle(bsSingle);
  HWND h2 = form->Handle();
  ASSERT_NE(h2, nullptr);
  EXPECT_EQ(notices, 7);
  EXPECT_NE(GetMenu(h2), nullptr);
  EXPECT_EQ(GetMenu(h2), mm->Handle());
  EXPECT_EQ(GetMenuItemCount(GetMenu(h2)), 2);

  // Freed, the menu takes its bar with it; its commands do nothing.
  const UINT openCommand = open->Command();
  mm->Free();
  mm = nullptr;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(h2), nullptr);
  EXPECT_EQ(notices, 8);
  EXPECT_EQ(noticeMenu, 0);
  RECT noBar;
  GetClientRect(h2, &noBar);
  EXPECT_GT(noBar.bottom, withBar.bottom);
  SendMessageW(h2, WM_COMMAND, MAKEWPARAM(openCommand, 0), 0);
  EXPECT_TRUE(clicked.empty());
  hook.Remove();
}

TEST_F(MenuTest, AChangeWhileAMenuOfTheFormIsOpenWaitsUntilItCloses) {
  HWND h = Show();
  HMENU tracked = file->Handle();
  bool keptWhileOpen = false;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    open->SetCaption("Changed");
    // The menu the system is showing must not be destroyed under it.
    keptWhileOpen = IsMenu(tracked) && file->Handle() == tracked;
    PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  POINT p = form->ClientToScreen(POINT{10, 10});
  TrackPopupMenu(tracked, TPM_LEFTALIGN, p.x, p.y, 0, h, nullptr);
  EXPECT_TRUE(keptWhileOpen);
  EXPECT_FALSE(IsMenu(tracked));
  EXPECT_EQ(GetMenu(h), mm->Handle());
  EXPECT_EQ(Entry(file->Handle(), 0).text, L"Changed\tCtrl+O");
}

TEST_F(MenuTest, FindItemSearchesTheWholeTree) {
  Show();
  EXPECT_EQ(mm->FindItem(recent1->Command(), fkCommand), recent1);
  EXPECT_EQ(mm->FindItem(help->Command(), fkCommand), help);
  EXPECT_EQ(mm->FindItem(reinterpret_cast<UINT_PTR>(recent->Handle()), fkHandle), recent);
  EXPECT_EQ(mm->FindItem(reinterpret_cast<UINT_PTR>(file->Handle()), fkHandle), file);
  EXPECT_EQ(mm->FindItem(reinterpret_cast<UINT_PTR>(mm->Handle()), fkHandle), mm->Items());
  EXPECT_EQ(mm->FindItem(0x74, fkShortCut), recent1);  // F5
  EXPECT_EQ(mm->FindItem(TextToShortCut("Ctrl+S"), fkShortCut), save);
  EXPECT_EQ(mm->FindShortCut(TextToShortCut("Ctrl+S")), nullptr);  // disabled
  EXPECT_EQ(mm->FindShortCut(TextToShortCut("F6")), nullptr);      // invisible
  EXPECT_EQ(mm->FindShortCut(TextToShortCut("F5")), recent1);
  EXPECT_EQ(mm->FindItem(0, fkCommand), nullptr);
  EXPECT_EQ(mm->FindItem(0, fkHandle), nullptr);  // items without sub-menus
  EXPECT_EQ(mm->FindItem(0, fkShortCut), nullptr);
  // An item of another menu is not found in this one.
  TPopupMenu other(nullptr);
  auto* stranger = new TMenuItem(&other);
  other.Items()->Add(stranger);
  EXPECT_EQ(mm->FindItem(stranger->Command(), fkCommand), nullptr);
  // A disabled parent makes its sub-items' shortcuts unusable too.
  recent->SetEnabled(false);
  EXPECT_EQ(mm->FindShortCut(0x74), nullptr);
  // Once the window is gone, no handle is known.
  HMENU sub = recent->Handle();
  form->Free();
  form = nullptr;
  EXPECT_FALSE(IsMenu(sub));
}

TEST(MenuItems, AnItemCannotBecomeItsOwnSubItem) {
  TPopupMenu menu(nullptr);
  auto* a = new TMenuItem(&menu);
  auto* b = new TMenuItem(&menu);
  menu.Items()->Add(a);
  a->Add(b);
  b->Add(a);  // would cut a and b off into a loop of their own
  a->Add(a);
  EXPECT_EQ(a->Parent(), menu.Items());
  EXPECT_EQ(b->Parent(), a);
  EXPECT_EQ(b->Count(), 0);
  EXPECT_EQ(a->GetParentMenu(), &menu);
  EXPECT_EQ(menu.FindItem(b->Command(), fkCommand), b);
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirState) {
  int measured = 0;
  file->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
    ++measured;
    w = 40;
    h = 20;
  };
  mm->SetOwnerDraw(true);
  HWND h = Show();
  // The system measured the bar's owner-drawn entry through the form.
  EXPECT_GT(measured, 0);
  EntryInfo o = Entry(file->Handle(), 0);
  EXPECT_TRUE(o.type & MFT_OWNERDRAW);
  EXPECT_EQ(o.text, L"&Open\tCtrl+O");  // the text stays for the accelerators
  EXPECT_EQ(o.data, reinterpret_cast<ULONG_PTR>(open));

  TBitmap bmp(120, 40);
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_MENU;
  dis.itemID = open->Command();
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = ODS_SELECTED | ODS_GRAYED | ODS_CHECKED | ODS_DEFAULT;
  dis.hwndItem = reinterpret_cast<HWND>(file->Handle());
  dis.hDC = bmp.Canvas()->Handle();
  dis.rcItem = RECT{5, 6, 105, 26};
  dis.itemData = reinterpret_cast<ULONG_PTR>(open);
  int drawn = 0;
  TOwnerDrawState state = 0;
  HDC dc = nullptr;
  RECT rect = {};
  const DRAWITEMSTRUCT* current = nullptr;
  open->OnAdvancedDrawItem = [&](TObject* sender, TCanvas* canvas, RECT r, TOwnerDrawState s) {
    ++drawn;
    EXPECT_EQ(sender, open);
    state = s;
    dc = canvas->Handle();
    rect = r;
    current = TMenuItem::CurrentDrawItem();
  };
  EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(state, (1u << odSelected) | (1u << odGrayed) | (1u << odChecked) | (1u << odDefault));
  EXPECT_EQ(dc, dis.hDC);
  EXPECT_TRUE(EqualRect(&rect, &dis.rcItem));
  EXPECT_EQ(current, &dis);
  EXPECT_EQ(TMenuItem::CurrentDrawItem(), nullptr);

  // With only OnDrawItem the handler hears whether the item is selected.
  bool selected = false;
  save->OnDrawItem = [&](TObject*, TCanvas*, RECT, bool sel) { selected = sel; };
  dis.itemData = reinterpret_cast<ULONG_PTR>(save);
  dis.itemState = ODS_SELECTED;
  SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_TRUE(selected);

  // Without handlers the item draws itself: a selected one on the
  // highlight colour.
  dis.itemData = reinterpret_cast<ULONG_PTR>(recent1);
  EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(GetPixel(dis.hDC, 6, 7), GetSysColor(COLOR_HIGHLIGHT));

  // A handler's exception stays in the handler.
  open->OnAdvancedDrawItem = [](TObject*, TCanvas*, RECT, TOwnerDrawState) { throw std::runtime_error("x"); };
  dis.itemData = reinterpret_cast<ULONG_PTR>(open);
  EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(TMenuItem::CurrentDrawItem(), nullptr);

  // Item data that is no item of this form's menu is left alone: another
  // menu's item, a freed item, anything else. The hidden window that owns
  // pop-up menus takes any item, and nothing else either.
  TPopupMenu other(nullptr);
  auto* stranger = new TMenuItem(&other);
  other.Items()->Add(stranger);
  int strangerDrawn = 0;
  stranger->OnAdvancedDrawItem = [&](TObject*, TCanvas*, RECT, TOwnerDrawState) { ++strangerDrawn; };
  auto* gone = new TMenuItem(nullptr);
  file->Add(gone);
  gone->Free();
  std::vector<unsigned char> junk(512, 0xA5);
  for (ULONG_PTR data : {reinterpret_cast<ULONG_PTR>(stranger), reinterpret_cast<ULONG_PTR>(gone),
                         reinterpret_cast<ULONG_PTR>(junk.data())}) {
    dis.itemData = data;
    EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), FALSE);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 0, 0, 0, data};
    EXPECT_EQ(SendMessageW(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), FALSE);
  }
  EXPECT_EQ(strangerDrawn, 0);
  for (ULONG_PTR data : {reinterpret_cast<ULONG_PTR>(gone), reinterpret_cast<ULONG_PTR>(junk.data())}) {
    dis.itemData = data;
    EXPECT_EQ(SendMessageW(UtilityWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), FALSE);
  }
  dis.itemData = reinterpret_cast<ULONG_PTR>(stranger);
  EXPECT_EQ(SendMessageW(UtilityWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(strangerDrawn, 1);
}

TEST_F(MenuTest, ShortCutKeysRunTheirItemBeforeTheControlSeesThem) {
  Show();
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  int keys = 0;
  edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
  BYTE saved[256];
  GetKeyboardState(saved);
  auto press = [&](UINT msg, WPARAM key, std::initializer_list<int> held) {
    BYTE state[256];
    memcpy(state, saved, sizeof state);
    for (int vk : held) state[vk] = 0x80;
    SetKeyboardState(state);
    PostMessageW(edit->Handle(), msg, key, msg == WM_SYSKEYDOWN ? (1 << 29) : 0);
    Application().ProcessMessages();
    SetKeyboardState(saved);
  };
  press(WM_KEYDOWN, VK_F5, {});
  press(WM_KEYDOWN, 'O', {VK_CONTROL});
  ASSERT_EQ(clicked.size(), 2u);
  EXPECT_EQ(clicked[0], recent1);
  EXPECT_EQ(clicked[1], open);
  EXPECT_EQ(keys, 0);
  // Alt+F4 is the Exit item's: the form does not close.
  press(WM_SYSKEYDOWN, VK_F4, {VK_MENU});
  ASSERT_EQ(clicked.size(), 3u);
  EXPECT_EQ(clicked[2], exit);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // A disabled or invisible item's key, and O without Ctrl, go to the
  // control.
  press(WM_KEYDOWN, 'S', {VK_CONTROL});
  press(WM_KEYDOWN, VK_F6, {});
  press(WM_KEYDOWN, 'O', {});
  EXPECT_EQ(clicked.size(), 3u);
  EXPECT_EQ(keys, 3);
  // A click that throws leaves the message loop running.
  open->OnClick = [](TObject*) { throw std::runtime_error("x"); };
  press(WM_KEYDOWN, 'O', {VK_CONTROL});
  EXPECT_EQ(keys, 3);
}

TEST(PopupMenus, ItemsHaveTheirHandlesWhileTheMenuIsOpen) {
  Application();
  TPopupMenu menu(nullptr);
  auto* first = new TMenuItem(&menu);
  first->SetCaption("First");
  auto* sub = new TMenuItem(&menu);
  sub->SetCaption("More");
  auto* inner = new TMenuItem(&menu);
  inner->SetCaption("Inner");
  menu.Items()->Add(first);
  menu.Items()->Add(sub);
  sub->Add(inner);
  int chosen = 0;
  first->OnClick = [&](TObject*) { ++chosen; };
  // Drawn for real by the utility window, the item sees the menu it is in.
  HWND drawnIn = nullptr;
  first->OnAdvancedDrawItem = [&](TObject*, TCanvas* c, RECT r, TOwnerDrawState) {
    c->FillRect(r);
    drawnIn = TMenuItem::CurrentDrawItem()->hwndItem;
  };
  HMENU open = nullptr, openSub = nullptr;
  bool consistent = false;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  int step = 0;
  timer.OnTimer = [&](TObject*) {
    if (step == 0) {
      open = menu.Handle();
      openSub = sub->Handle();
      consistent = open && IsMenu(open) && menu.Items()->Handle() == open && GetSubMenu(open, 1) == openSub &&
                   menu.FindItem(reinterpret_cast<UINT_PTR>(openSub), fkHandle) == sub &&
                   GetMenuItemID(open, 0) == first->Command() && inner->Parent()->Handle() == openSub &&
                   first->Handle() == nullptr;
    }
    PostMessageW(UtilityWindow(), WM_KEYDOWN, step == 0 ? VK_DOWN : VK_RETURN, 0);
    if (++step == 2) timer.SetEnabled(false);
  };
  menu.Popup(100, 100);
  EXPECT_TRUE(consistent);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(drawnIn, reinterpret_cast<HWND>(open));
  // Closed, the handles are gone.
  EXPECT_EQ(menu.Handle(), nullptr);
  EXPECT_EQ(sub->Handle(), nullptr);
  EXPECT_FALSE(IsMenu(open));
  EXPECT_FALSE(IsMenu(openSub));
}

TEST(PopupMenus, AnItemFreedWhileTheMenuIsOpenIsNotRunWhenItsEntryIsChosen) {
  Application();
  TPopupMenu menu(nullptr);
  auto* doomed = new TMenuItem(&menu);
  doomed->SetCaption("Doomed");
  auto* other = new TMenuItem(&menu);
  other->SetCaption("Other");
  menu.Items()->Add(doomed);
  menu.Items()->Add(other);
  int clicks = 0;
  doomed->OnClick = [&](TObject*) { ++clicks; };
  other->OnClick = doomed->OnClick;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  int step = 0;
  timer.OnTimer = [&](TObject*) {
    if (step == 0) FreeAndNil(doomed);  // its entry stays in the open menu
    PostMessageW(UtilityWindow(), WM_KEYDOWN, step == 0 ? VK_DOWN : VK_RETURN, 0);
    if (++step == 2) timer.SetEnabled(false);
  };
  menu.Popup(100, 100);
  EXPECT_EQ(step, 2);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(menu.Items()->Count(), 1);
}

TEST(MainMenus, AMenuOutlivingItsFormOrMovingToAnotherOneKeepsNoStaleForm) {
  Application();
  TMainMenu menu(nullptr);
  auto* item = new TMenuItem(&menu);
  item->SetCaption("Item");
  menu.Items()->Add(item);
  auto* a = new TForm(nullptr);
  auto* b = new TForm(nullptr);
  a->SetMenu(&menu);
  ASSERT_NE(GetMenu(a->Handle()), nullptr);
  // Set on another form, the menu leaves the first one.
  b->SetMenu(&menu);
  EXPECT_EQ(a->Menu(), nullptr);
  EXPECT_EQ(GetMenu(a->Handle()), nullptr);
  EXPECT_EQ(menu.Form(), b);
  HWND hb = b->Handle();
  EXPECT_NE(menu.Handle(), nullptr);
  EXPECT_EQ(GetMenu(hb), menu.Handle());
  // The form goes first: the menu forgets it and changes tell nobody.
  b->Free();
  EXPECT_EQ(menu.Form(), nullptr);
  EXPECT_EQ(menu.Handle(), nullptr);
  item->SetCaption("Changed");
  a->Free();
  // A form deleted without Free takes its menu bar and its own menu along.
  HMENU bar = nullptr;
  {
    TForm c(nullptr);
    auto* own = new TMainMenu(&c);
    auto* entry = new TMenuItem(&c);
    own->Items()->Add(entry);
    c.SetMenu(own);
    bar = GetMenu(c.Handle());
    ASSERT_NE(bar, nullptr);
  }
  EXPECT_FALSE(IsMenu(bar));
  // A menu deleted without Free leaves its form all the same.
  TForm d(nullptr);
  {
    TMainMenu local(nullptr);
    auto* entry = new TMenuItem(&local);
    local.Items()->Add(entry);
    d.SetMenu(&local);
    bar = GetMenu(d.Handle());
    ASSERT_NE(bar, nullptr);
  }
  EXPECT_EQ(d.Menu(), nullptr);
  EXPECT_EQ(GetMenu(d.Handle()), nullptr);
  EXPECT_FALSE(IsMenu(bar));
}

}  // namespace
