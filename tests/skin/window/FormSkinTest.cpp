// Top-level windows skinned through the hook, on windows of the test's own
// module: the query, the frame sizes and the region cut at the corners,
// the frame painted into a memory DC (borders, caption and caption buttons,
// active and inactive) and on the screen (hot and pressed buttons), the
// hit test, clicks on caption buttons, the messages of the window
// procedure's stages, the menu bar and its pop-ups, the system menu, an
// MDI frame with its children, a message box, a new skin at run time and
// skinning switched off leaving every window as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "FileIO.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "Subclass.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

constexpr int kClientW = 320, kClientH = 200;

class FormSkin : public CodedSkinWindowTest {
 protected:
  HWND Open(DWORD style = WS_OVERLAPPEDWINDOW, HMENU menu = nullptr) {
    HWND h = MakeTestWindow(&window, kClientW, kClientH, style, 0, menu);
    EXPECT_TRUE(WaitSkinned(h));
    return h;
  }
  TWinSkinForm* Skinner(HWND h) { return SkinManager() ? SkinManager()->FindSkinnedForm(h) : nullptr; }
  // Colours of the coded skin.
  COLORREF Border(int side, int image) {
    TDataSkinBorder* b = side == 1 ? skin->BorderLeft.get()
                         : side == 2 ? skin->BorderRight.get()
                         : side == 3 ? skin->BorderTop.get()
                                     : skin->BorderBottom.get();
    return ImageColour(b->Bitmap, side >= 3, b->Frame, image);
  }
  COLORREF Button(int index, int image) {
    TDataSkinSysButton& b = *skin->SysButtons[static_cast<size_t>(index)];
    return ImageColour(b.Bitmap, false, b.Frame, image);
  }
};

TEST_F(FormSkin, ASkinnedWindowAnswersTheQueryItselfAndTellsOnceEachTime) {
  HWND h = Open();
  window.Clear();
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(window.Count(SKM_ISSKINNED), 0) << "the query is never passed on";
  Pump(50);
  EXPECT_EQ(window.Count(SKM_FORMSKINNEDNOTIFY), 1);
  // A window already skinned is not skinned again.
  EXPECT_FALSE(SkinManager()->SkinWindow(h));
}

TEST_F(FormSkin, TheFrameHasTheSkinsSizesAndTheClientAreaStays) {
  HWND h = Open();
  RECT w, c;
  GetWindowRect(h, &w);
  GetClientRect(h, &c);
  EXPECT_EQ(c.right, kClientW);
  EXPECT_EQ(c.bottom, kClientH);
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FBorderTop, skin->BorderTop->Bitmap.Height() / skin->BorderTop->Frame);
  EXPECT_EQ(f->FBorderLeft, skin->BorderLeft->Bitmap.Width() / skin->BorderLeft->Frame);
  EXPECT_EQ((w.right - w.left) - c.right, f->FBorderLeft + f->FBorderRight);
  EXPECT_EQ((w.bottom - w.top) - c.bottom, f->FBorderTop + f->FBorderBottom);
  POINT origin = {0, 0};
  ClientToScreen(h, &origin);
  EXPECT_EQ(origin.x - w.left, f->FBorderLeft);
  EXPECT_EQ(origin.y - w.top, f->FBorderTop);
}

TEST_F(FormSkin, TheRegionLeavesOutTheCutCorners) {
  HWND h = Open();
  RECT w;
  GetWindowRect(h, &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, rgn), ERROR);
  // The side borders' top corners are cut 3, 1, 1 pixels deep.
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(PtInRegion(rgn, 2, 0));
  EXPECT_TRUE(PtInRegion(rgn, 3, 0));
  EXPECT_FALSE(PtInRegion(rgn, 0, 1));
  EXPECT_TRUE(PtInRegion(rgn, 1, 1));
  EXPECT_TRUE(PtInRegion(rgn, 0, 3));
  EXPECT_FALSE(PtInRegion(rgn, width - 1, 0));
  EXPECT_TRUE(PtInRegion(rgn, width - 4, 0));
  EXPECT_TRUE(PtInRegion(rgn, width / 2, height / 2));
  EXPECT_TRUE(PtInRegion(rgn, 0, height - 1));
  DeleteObject(rgn);
}

TEST_F(FormSkin, TheFramePaintsFromTheSkinActiveAndInactive) {
  HWND h = Open();
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f, nullptr);
  for (int image = 1; image <= 2; image++) {
    SCOPED_TRACE(image == 1 ? "active" : "inactive");
    if (image == 2) SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(f->FActive, image == 1);
    TCapture c = PaintInto(h, SKM_PAINTFRAMETO, kSkinMarker);
    ASSERT_GT(c.width, 0);
    EXPECT_EQ(c.At(1, c.height / 2), Border(1, image));
    EXPECT_EQ(c.At(c.width - 2, c.height / 2), Border(2, image));
    EXPECT_EQ(c.At(c.width / 2, c.height - 2), Border(4, image));
    // The caption band between the title text and the buttons.
    EXPECT_EQ(c.At(c.width - 110, f->FBorderTop / 2), Border(3, image));
    // Close, maximise, minimise: image 1, or 4 in an inactive window.
    const int buttons[3] = {0, 1, 3};
    for (int i : buttons) {
      const TDataSkinSysButton& d = *skin->SysButtons[static_cast<size_t>(i)];
      const int x = c.width - d.XCoord + (d.Bitmap.Width() / d.Frame) / 2, y = d.YCoord + d.Bitmap.Height() / 2;
      EXPECT_EQ(c.At(x, y), Button(i, image == 1 ? 1 : 4)) << "button " << i;
    }
    // Only the frame is painted: the client area is left as it was.
    EXPECT_EQ(c.At(c.width / 2, c.height / 2), RGB(0x12, 0x34, 0x56));
  }
  SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(f->FActive);
}

TEST_F(FormSkin, CaptionButtonsShowHotAndPressedAndClickGivesTheirCommands) {
  window.swallowSysCommands = true;
  HWND h = Open();
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f, nullptr);
  RECT w;
  GetWindowRect(h, &w);
  const int width = w.right - w.left;
  struct Case {
    int index;
    WPARAM command;
  } cases[] = {{0, SC_CLOSE}, {1, SC_MAXIMIZE}, {3, SC_MINIMIZE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TDataSkinSysButton& d = *skin->SysButtons[static_cast<size_t>(c.index)];
    const int x = width - d.XCoord + (d.Bitmap.Width() / d.Frame) / 2, y = d.YCoord + d.Bitmap.Height() / 2;
    SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, x, y));
    EXPECT_EQ(Screenshot(h).At(x, y), Button(c.index, 3)) << "hot";
    SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, x, y));
    EXPECT_EQ(Screenshot(h).At(x, y), Button(c.index, 2)) << "pressed";
    window.Clear();
    SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(h, x, y));
    Pump(30);
    ASSERT_EQ(window.sysCommands.size(), 1u);
    EXPECT_EQ(window.sysCommands[0], c.command);
    // Moving off every button: nothing is hot any more.
    SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, width / 2, 12));
    EXPECT_EQ(f->FHotObject, nullptr);
  }
  // A press on one button released over another does nothing, also when
  // the pointer's move over the other one came in between.
  const TDataSkinSysButton& close = *skin->SysButtons[0];
  const TDataSkinSysButton& min = *skin->SysButtons[3];
  window.Clear();
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, width - close.XCoord + 5, close.YCoord + 5));
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, width - min.XCoord + 5, min.YCoord + 5));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(h, width - min.XCoord + 5, min.YCoord + 5));
  Pump(30);
  EXPECT_TRUE(window.sysCommands.empty());
}

TEST_F(FormSkin, TheHitTestKnowsTheCaptionBandOnly) {
  HWND h = Open();
  TWinSkinForm* f = Skinner(h);
  RECT w;
  GetWindowRect(h, &w);
  const int width = w.right - w.left;
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, width / 2, f->FBorderTop / 2)), HTCAPTION);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, width / 2, f->FBorderTop + 20)), HTCLIENT);
  // The top edge of a sizeable window stays the system's sizing border.
  EXPECT_NE(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, width / 2, 1)), HTCAPTION);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, 1, (w.bottom - w.top) / 2)), HTLEFT);
}

TEST_F(FormSkin, SystemCommandsComeFromMenusNotFromControls) {
  window.swallowSysCommands = true;
  HWND h = Open();
  window.Clear();
  SendMessageW(h, WM_COMMAND, SC_MINIMIZE, 0);
  Pump(30);
  ASSERT_EQ(window.sysCommands.size(), 1u);
  EXPECT_EQ(window.sysCommands[0], static_cast<WPARAM>(SC_MINIMIZE));
  EXPECT_EQ(window.Count(WM_COMMAND), 0);
  // A control's notification with that identifier is a command as it came.
  window.Clear();
  SendMessageW(h, WM_COMMAND, SC_MINIMIZE, reinterpret_cast<LPARAM>(h));
  Pump(30);
  EXPECT_TRUE(window.sysCommands.empty());
  EXPECT_EQ(window.Count(WM_COMMAND), 1);
  // An identifier of the program's own goes to the window.
  window.Clear();
  SendMessageW(h, WM_COMMAND, 101, 0);
  EXPECT_EQ(window.Count(WM_COMMAND), 1);
}

TEST_F(FormSkin, BeforeTheFirstSkinningNothingOfTheFrameIsPainted) {
  HWND h = MakeTestWindow(nullptr, kClientW, kClientH);
  // Skinned by hand, without the posted first-skinning message handled.
  TTestWindow record;
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
  TWinSkinForm* f = Skinner(h);
  if (!f) {
    ASSERT_TRUE(SkinManager()->SkinWindow(h));
    f = Skinner(h);
  }
  ASSERT_NE(f, nullptr);
  if (f->FState == 0) {
    EXPECT_EQ(SendMessageW(h, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(record.Count(WM_NCPAINT), 0);
  }
  ASSERT_TRUE(WaitSkinned(h));
  record.Clear();
  EXPECT_EQ(SendMessageW(h, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(record.Count(WM_NCPAINT), 0) << "the skinned frame is the engine's";
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  DestroyWindow(h);
}

TEST_F(FormSkin, AChildWindowGetsTheFirstStageOnly) {
  HWND h = Open();
  TTestWindow child;
  HWND c = MakeTestWindow(&child, 80, 40, WS_CHILD | WS_VISIBLE | WS_CAPTION, 0, nullptr, h);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Skinner(c), nullptr) << "a child of a plain window is no top-level window";
}

// ---- menu bar, pop-ups, system menu ---------------------------------------------

HMENU MakeMenu(HMENU* fileOut = nullptr) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 201, L"&Open");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, 202, L"E&xit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, 301, L"&Copy");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  AppendMenuW(bar, MF_STRING | MF_GRAYED, 401, L"&Help");
  if (fileOut) *fileOut = file;
  return bar;
}

TEST_F(FormSkin, TheMenuBarIsTheEnginesAndPaintsFromTheSkin) {
  HMENU menu = MakeMenu();
  HWND h = Open(WS_OVERLAPPEDWINDOW, menu);
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(GetMenu(h), nullptr) << "the window keeps no menu bar of its own";
  ASSERT_NE(f->FMenuBar, nullptr);
  ASSERT_EQ(f->FMenuBar->Buttons.size(), 3u);
  EXPECT_EQ(f->FMenuBar->Buttons[0]->Caption, L"&File");
  EXPECT_FALSE(f->FMenuBar->Buttons[2]->ItemEnabled);
  RECT w, c;
  GetWindowRect(h, &w);
  GetClientRect(h, &c);
  EXPECT_EQ(c.bottom, kClientH);
  EXPECT_EQ((w.bottom - w.top) - c.bottom, f->FBorderTop + f->FBorderBottom + f->FMenuBarHeight);
  TCapture cap = PaintInto(h, SKM_PAINTFRAMETO, kSkinMarker);
  const int rowY = f->FBorderTop + f->FMenuBarHeight / 2;
  EXPECT_EQ(cap.At(cap.width - 20, rowY), ImageColour(skin->MenuBar->Bitmap, true, 2, 1));
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, 20, rowY)), HTMENU);
  // The items are laid out from the left margin, one after the other.
  EXPECT_LT(f->FMenuBar->Buttons[0]->Rect.right, f->FMenuBar->Buttons[1]->Rect.left + 1);
}

TEST_F(FormSkin, ADisabledMenuBarItemNeitherOpensNorPosts) {
  HWND h = Open(WS_OVERLAPPEDWINDOW, MakeMenu());
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f->FMenuBar, nullptr);
  window.Clear();
  TMenuBtn* help = f->FMenuBar->Buttons[2].get();
  f->OpenMenuButton(help);
  Pump(30);
  EXPECT_TRUE(window.commands.empty());
  // An enabled item without a pop-up posts its command.
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 501, L"&Go");
  TTestWindow other;
  HWND h2 = MakeTestWindow(&other, 200, 100, WS_OVERLAPPEDWINDOW, 0, bar);
  ASSERT_TRUE(WaitSkinned(h2));
  TWinSkinForm* f2 = Skinner(h2);
  ASSERT_NE(f2->FMenuBar, nullptr);
  other.Clear();
  f2->OpenMenuButton(f2->FMenuBar->Buttons[0].get());
  Pump(30);
  ASSERT_EQ(other.commands.size(), 1u);
  EXPECT_EQ(other.commands[0], 501u);
  DestroyWindow(h2);
}

// Closes the menu that is tracked now after taking its window's picture.
struct TMenuProbe {
  static TMenuProbe* current;
  HWND menuWindow = nullptr;
  TCapture picture, printed;
  HMENU menu = nullptr;
  RECT firstItem = {0, 0, 0, 0};
  bool skinned = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TMenuProbe* p = current;
    HWND m = FindWindowW(L"#32768", nullptr);
    if (!p || !m || !IsWindowVisible(m)) return;
    KillTimer(nullptr, id);
    p->menuWindow = m;
    p->skinned = SendMessageW(m, SKM_ISSKINNED, 0, 0) == 1;
    // The whole window's background and frame as the skinner paints them
    // on WM_PRINT (Wine paints a menu's border in its client area, so the
    // non-client painting is not what the screen shows).
    p->printed = PaintInto(m, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    p->menu = reinterpret_cast<HMENU>(SendMessageW(m, MN_GETHMENU, 0, 0));
    if (p->menu && GetMenuItemRect(nullptr, p->menu, 0, &p->firstItem)) {
      RECT w;
      GetWindowRect(m, &w);
      OffsetRect(&p->firstItem, -w.left, -w.top);
    }
    p->picture = Screenshot(m);
    EndMenu();
  }
  void Arm() {
    current = this;
    SetTimer(nullptr, 0, 300, Tick);
  }
};
TMenuProbe* TMenuProbe::current = nullptr;

TEST_F(FormSkin, TheMenuBarsPopUpIsSkinned) {
  HMENU file = nullptr;
  HWND h = Open(WS_OVERLAPPEDWINDOW, MakeMenu(&file));
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f->FMenuBar, nullptr);
  TMenuProbe probe;
  probe.Arm();
  f->OpenMenuButton(f->FMenuBar->Buttons[0].get());
  ASSERT_NE(probe.menuWindow, nullptr);
  EXPECT_TRUE(probe.skinned);
  // The frame of the pop-up window is the menu background image; the
  // first item is drawn on the skin's item image (hot: the filter hook
  // highlights it).
  EXPECT_EQ(probe.printed.At(1, 1), ImageColour(skin->MenuBackground->Bitmap, false, 1, 1));
  const int x = probe.firstItem.right - 4, y = (probe.firstItem.top + probe.firstItem.bottom) / 2;
  const COLORREF item = probe.picture.At(x, y);
  EXPECT_TRUE(item == ImageColour(skin->MenuItem->Bitmap, false, 5, 1) ||
              item == ImageColour(skin->MenuItem->Bitmap, false, 5, 4))
      << std::hex << item;
  // Its items are the engine's owner-drawn ones, on the skin's item image.
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(file, 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(SkinManager()->PopupMenus.size(), 0u) << "the skinner went with its window";
  EXPECT_EQ(SkinManager()->PopupKind, 0);
}

TEST_F(FormSkin, TheSystemMenuIsDrawnInTheSkin) {
  HWND h = Open();
  TWinSkinForm* f = Skinner(h);
  TMenuProbe probe;
  probe.Arm();
  POINT p = {200, 200};
  f->ShowSystemMenu(p);
  ASSERT_NE(probe.menuWindow, nullptr);
  EXPECT_TRUE(probe.skinned);
  EXPECT_EQ(probe.printed.At(1, 1), ImageColour(skin->MenuBackground->Bitmap, false, 1, 1));
  const int x = probe.firstItem.right - 4, y = (probe.firstItem.top + probe.firstItem.bottom) / 2;
  // The normal item image is transparent in its middle: the pop-up's own
  // background image shows there (not the skin's plain menu colour).
  ASSERT_EQ(ImageColour(skin->MenuItem->Bitmap, false, 5, 1), static_cast<COLORREF>(kMagenta));
  EXPECT_EQ(probe.picture.At(x, y), ImageColour(skin->MenuBackground->Bitmap, false, 1, 1)) << "an item in the skin";
  ASSERT_NE(f->FSysMenuPopup, nullptr);
  // Restore is disabled in a normal window, close is there; a sizing
  // border and a maximise box offer Size and Maximize.
  bool sawClose = false;
  for (int i = 0; i < f->FSysMenuPopup->Items()->Count(); i++) {
    TMenuItem* item = f->FSysMenuPopup->Items()->Items(i);
    if (item->Tag() == SC_RESTORE) {
      EXPECT_FALSE(item->Enabled());
    }
    if (item->Tag() == SC_SIZE || item->Tag() == SC_MAXIMIZE) {
      EXPECT_TRUE(item->Enabled()) << item->Caption();
    }
    if (item->Tag() == SC_CLOSE) sawClose = true;
  }
  EXPECT_TRUE(sawClose);
}

// ---- MDI -----------------------------------------------------------------------------

TEST_F(FormSkin, AnMdiFrameAndItsChildrenAreSkinned) {
  HWND frame = Open(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, MakeMenu());
  CLIENTCREATESTRUCT ccs = {nullptr, 1000};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, kClientW,
                                kClientH, frame, nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  TWinSkinForm* f = Skinner(frame);
  ASSERT_NE(f, nullptr);
  // The frame was skinned before it had its client: find it now as the
  // set-up would have.
  f->FindMdiClient();
  f->HookClientWindow();
  EXPECT_EQ(f->FFormKind, 1);
  MDICREATESTRUCTW mcs = {};
  mcs.szClass = L"SkinTestWindow";
  mcs.szTitle = L"child";
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = mcs.y = 10;
  mcs.cx = 160;
  mcs.cy = 100;
  mcs.style = WS_OVERLAPPEDWINDOW;
  TTestWindow childRecord;
  mcs.lParam = reinterpret_cast<LPARAM>(&childRecord);
  HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(WaitSkinned(child));
  TWinSkinForm* cf = Skinner(child);
  ASSERT_NE(cf, nullptr);
  EXPECT_EQ(cf->FFormKind, 2);
  TCapture c = PaintInto(child, SKM_PAINTFRAMETO, kSkinMarker);
  EXPECT_EQ(c.At(1, c.height / 2), Border(1, cf->FActive ? 1 : 2));
  // Maximised, the child's buttons go into the frame's menu bar.
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  Pump(100);
  EXPECT_TRUE(SkinManager()->MdiChildMaximized);
  EXPECT_TRUE(f->MdiChildMaximizedInFrame());
  TCapture fc = PaintInto(frame, SKM_PAINTFRAMETO, kSkinMarker);
  bool mdiButtonSeen = false;
  for (auto& b : f->FSysButtons)
    if (b->SkinButton->Visibility == 100 && b->Visible) {
      const int x = (b->Rect.left + b->Rect.right) / 2, y = (b->Rect.top + b->Rect.bottom) / 2;
      EXPECT_EQ(fc.At(x, y), ImageColour(b->SkinButton->Bitmap, false, b->SkinButton->Frame, 1));
      mdiButtonSeen = true;
    }
  EXPECT_TRUE(mdiButtonSeen);
  SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  Pump(30);
  EXPECT_FALSE(SkinManager()->MdiChildMaximized);
}

// ---- message boxes ---------------------------------------------------------------------

struct TBoxProbe {
  static TBoxProbe* current;
  bool skinned = false;
  bool regionSet = false;
  int tries = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TBoxProbe* p = current;
    HWND box = nullptr;
    for (HWND w = FindWindowW(L"#32770", nullptr); w; w = nullptr) box = w;
    if (!p || !box) return;
    TWinSkinForm* f = SkinManager() ? SkinManager()->FindSkinnedForm(box) : nullptr;
    if ((!f || f->FState != 1) && ++p->tries < 40) return;
    KillTimer(nullptr, id);
    p->skinned = SendMessageW(box, SKM_ISSKINNED, 0, 0) == 1;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    p->regionSet = GetWindowRgn(box, rgn) != ERROR;
    DeleteObject(rgn);
    // The button is clicked as a user would: pressed and released on it.
    HWND ok = GetDlgItem(box, IDOK);
    RECT r;
    GetClientRect(ok, &r);
    PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
    PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
  }
};
TBoxProbe* TBoxProbe::current = nullptr;

TEST_F(FormSkin, AMessageBoxIsSkinnedAndItsButtonsStillWork) {
  HWND owner = Open();
  TBoxProbe probe;
  TBoxProbe::current = &probe;
  SetTimer(nullptr, 0, 50, TBoxProbe::Tick);
  const int answer = MessageBoxW(owner, L"A question of the test", L"\x63D0\x793A", MB_OKCANCEL | MB_ICONINFORMATION);
  EXPECT_EQ(answer, IDOK);
  EXPECT_TRUE(probe.skinned);
  EXPECT_TRUE(probe.regionSet);
}

// ---- skin change and unskinning -----------------------------------------------------------

TEST_F(FormSkin, ANewSkinAtRunTimeIsPaintedAndSwitchingOffGivesEverythingBack) {
  TTestWindow raw;
  HMENU menu = MakeMenu();
  HWND h = MakeTestWindow(&raw, kClientW, kClientH, WS_OVERLAPPEDWINDOW, 0, menu);
  ASSERT_TRUE(WaitSkinned(h));
  // Somebody else's subclass below and above ours: both stay in place.
  TWindowSubclass early, late;
  int earlySaw = 0, lateSaw = 0;
  const UINT probe = WM_USER + 5;
  late.Install(h, [&](TMessage& m) {
    if (m.Msg == probe) lateSaw++;
    late.CallPrevious(m);
  });
  TWinSkinForm* f = Skinner(h);
  ASSERT_NE(f, nullptr);
  const int codedLeft = f->FBorderLeft;
  std::string own;
  ASSERT_TRUE(LoadFileBytes(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn", own));
  const std::string path = std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn";
  skin->SetSkinFile(path);
  ASSERT_FALSE(skin->NotLoaded);
  ASSERT_TRUE(PumpUntil([&] { return skin->SkinName == "Tavrin Blue" && SkinManager()->PendingSkinData == nullptr; }));
  TCapture c = PaintInto(h, SKM_PAINTFRAMETO, kSkinMarker);
  // Below the caption the left border is its image's middle rows.
  EXPECT_EQ(c.At(1, c.height / 2), static_cast<COLORREF>(PixelsOf(skin->BorderLeft->Bitmap).Pixel(1, 35)))
      << "the frame shows the new skin";
  EXPECT_EQ(f->FBorderLeft, codedLeft);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, kClientW);
  EXPECT_EQ(client.bottom, kClientH);

  // Switched off: the window is as it was before skinning.
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(h) == nullptr; }));
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(GetMenu(h), menu);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(h, rgn), ERROR);
  DeleteObject(rgn);
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, kClientW);
  EXPECT_EQ(client.bottom, kClientH);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU);
  SendMessageW(h, probe, 0, 0);
  EXPECT_EQ(lateSaw, 1);
  late.Remove();
  (void)earlySaw;
  (void)early;
  DestroyWindow(h);
}

TEST_F(FormSkin, UnskinningGivesTheWindowItsOwnProcedureInEveryOrder) {
  for (int order = 0; order < 2; order++) {
    SCOPED_TRACE(order);
    TTestWindow raw;
    HWND h = MakeTestWindow(&raw, kClientW, kClientH);
    ASSERT_TRUE(WaitSkinned(h));
    const LONG_PTR skinnedProc = GetWindowLongPtrW(h, GWLP_WNDPROC);
    TWindowSubclass other;
    other.Install(h, [&](TMessage& m) { other.CallPrevious(m); });
    TWinSkinForm* f = Skinner(h);
    if (order == 0) {
      // The engine lets go first, the other subclass after it.
      SkinManager()->RemoveSkinnedForm(f);
      f->UnskinWindow();
      f->Free();
      EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
      other.Remove();
    } else {
      other.Remove();
      SkinManager()->RemoveSkinnedForm(f);
      f->UnskinWindow();
      f->Free();
    }
    EXPECT_NE(GetWindowLongPtrW(h, GWLP_WNDPROC), skinnedProc);
    EXPECT_FALSE(IsWindowSubclassed(h));
    EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
    DestroyWindow(h);
  }
}

TEST_F(FormSkin, ADestroyedWindowsSkinnerIsFreedAndTheWindowNotMoved) {
  TTestWindow raw;
  HWND h = MakeTestWindow(&raw, kClientW, kClientH);
  ASSERT_TRUE(WaitSkinned(h));
  DestroyWindow(h);
  TTestWindow next;
  HWND h2 = MakeTestWindow(&next, kClientW, kClientH);
  ASSERT_TRUE(WaitSkinned(h2));
  for (TWinSkinForm* f : SkinManager()->SkinnedForms) EXPECT_NE(f->FHandle, h);
  DestroyWindow(h2);
}

}  // namespace
