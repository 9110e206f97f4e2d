// The menu bar a skinned window paints in place of its own: the items
// taken from the window's menu, their layout and painting, the opening of
// an item's pop-up with a message-filter hook that lets the user slide
// from item to item with the mouse or the arrow keys, the keyboard
// accelerators of the bar, and the owner-drawn copy of the system menu.
#include <algorithm>

#include "Application.h"
#include "SkinControl.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "Text.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// The tracking of one menu-bar pop-up at a time on the GUI thread.
struct TMenuTracking {
  HHOOK hook = nullptr;
  TWinSkinForm* form = nullptr;
  int trackedIndex = -1;
  TMenuItem* selectedItem = nullptr;
  POINT lastMouse = {-1, -1};
  bool firstKeySent = false;
  bool switching = false;
  bool switched = false;
};
TMenuTracking g_track;

// The drawing surface of the bar.
TBitmap& ScratchBitmap() {
  static TBitmap* bitmap = new TBitmap;
  return *bitmap;
}

LRESULT CALLBACK MenuFilterHookProc(int code, WPARAM wParam, LPARAM lParam);

void InstallMenuFilterHook() {
  g_track.switching = false;
  g_track.firstKeySent = false;
  GetCursorPos(&g_track.lastMouse);
  if (!g_track.hook) g_track.hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilterHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuFilterHook() {
  if (g_track.hook) UnhookWindowsHookEx(g_track.hook);
  g_track.hook = nullptr;
  g_track.selectedItem = nullptr;
  g_track.trackedIndex = -1;
  g_track.firstKeySent = false;
  g_track.form = nullptr;
}

TMenuBtn* NeighbourButton(bool forward) {
  TWinSkinForm* form = g_track.form;
  if (!form || !form->FMenuBar || form->FMenuBar->Buttons.empty()) return nullptr;
  const int n = static_cast<int>(form->FMenuBar->Buttons.size());
  int i = g_track.trackedIndex;
  i = forward ? (i + 1) % n : (i - 1 + n) % n;
  return form->FMenuBar->Buttons[static_cast<size_t>(i)].get();
}

bool ParentIsRightToLeft(TMenuItem* item) {
  if (!item) return false;
  TMenu* menu = item->GetParentMenu();
  return menu && menu->IsRightToLeft();
}

LRESULT CALLBACK MenuFilterHookProc(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  try {
    // Left and right trade places in a right-to-left menu: in key presses
    // and releases only, whose wParam is a virtual key (a character
    // message's is a character: '%' and '\'' share the arrows' values).
    const bool keyMessage = msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP ||
                                    msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSKEYUP);
    if (keyMessage && code >= 0 && g_track.selectedItem && ParentIsRightToLeft(g_track.selectedItem)) {
      if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
      else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
    }
  } catch (...) {
  }
  LRESULT result = CallNextHookEx(g_track.hook, code, wParam, lParam);
  if (result != 0 || code != MSGF_MENU || !msg) return result;
  try {
    if (!g_track.firstKeySent) {
      g_track.firstKeySent = true;
      PostToWindow(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    TWinSkinForm* form = g_track.form;
    TMenuBtn* target = nullptr;
    switch (msg->message) {
      case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
          g_track.switching = false;
        } else if (msg->wParam == VK_LEFT) {
          TMenuItem* s = g_track.selectedItem;
          const bool nested = s && form && (!s->Parent() || s->Parent()->Handle() != form->FTrackedMenu) &&
                              s->Handle() != form->FTrackedMenu;
          if (!nested) target = NeighbourButton(false);
        } else if (msg->wParam == VK_RIGHT) {
          TMenuItem* s = g_track.selectedItem;
          if (!s || s->Count() == 0) target = NeighbourButton(true);
        }
        break;
      case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU && form) form->ClearMenuTracking();
        return result;
      case WM_MENUSELECT: {
        if (HIWORD(msg->wParam) == 0xFFFF && msg->lParam == 0) {
          if (!g_track.switching && form) form->ClearMenuTracking();
          return result;
        }
        g_track.switching = false;
        const UINT flags = HIWORD(msg->wParam);
        TMenu* menu = form && form->FMenuBar ? form->FMenuBar->Menu : nullptr;
        g_track.selectedItem = nullptr;
        if (menu) {
          if (flags & MF_POPUP) {
            HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(msg->lParam), LOWORD(msg->wParam));
            g_track.selectedItem = menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)), fkHandle);
          } else {
            g_track.selectedItem = menu->FindItem(LOWORD(msg->wParam), fkCommand);
          }
        }
        break;
      }
      case WM_MOUSEMOVE: {
        const POINT p = msg->pt;
        if (form && form->FMenuBar && (p.x != g_track.lastMouse.x || p.y != g_track.lastMouse.y)) {
          target = form->FMenuBar->HitTest(form->ScreenToFrame(p));
          g_track.lastMouse = p;
        }
        break;
      }
      default: break;
    }
    if (target && form && target->Index != g_track.trackedIndex) {
      g_track.switching = true;
      form->ClickMenuButton(target);
      g_track.switched = true;
    }
  } catch (...) {
  }
  return result;
}

std::wstring ToWideCaption(TMenuItem* item) {
  std::wstring w;
  GetWideStrPropByName(item, "Caption", w);
  return w;
}

}  // namespace

// ---- TWinSkinMenu ---------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form, TSkinData* skin) : TComponent(form), SkinData(skin), Form(form) {}

TWinSkinMenu::~TWinSkinMenu() { FreeButtons(); }

void TWinSkinMenu::FreeButtons() {
  for (auto& b : Buttons) Form->ForgetHotObject(b.get());
  Buttons.clear();
}

bool TWinSkinMenu::IsRightToLeft() const { return Menu && Menu->IsRightToLeft(); }

void TWinSkinMenu::ButtonsFromHandle(bool refresh) {
  ItemCount = GetMenuItemCount(MenuHandle);
  if (ItemCount <= 0) {
    ItemCount = 0;
    return;
  }
  for (int i = 0; i < ItemCount; i++) {
    MENUITEMINFOA info = {};
    char text[80] = {};
    info.cbSize = 48;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    GetMenuItemInfoA(MenuHandle, static_cast<UINT>(i), TRUE, &info);
    std::unique_ptr<TMenuBtn> b(new TMenuBtn(Form));
    b->SkinData = SkinData;
    b->Index = i;
    b->SubMenu = info.hSubMenu;
    b->ItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    b->Visible = true;
    b->Command = info.wID;
    b->Caption = AnsiToWide(text);
    TMenuItem* item = nullptr;
    if (Menu) {
      item = Menu->FindItem(info.wID, fkCommand);
      if (!item && info.hSubMenu)
        item = Menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.hSubMenu)), fkHandle);
    }
    if (item && (!refresh || b->Caption.empty())) {
      b->Caption = ToWideCaption(item);
      b->ItemEnabled = item->Enabled();
      b->MenuItem = item;
      b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      if (refresh) b->Command = item->Command();
    }
    Buttons.push_back(std::move(b));
  }
}

void TWinSkinMenu::Build() {
  if (HMENU current = GetMenu(Form->FHandle)) MenuHandle = current;
  if (!MenuHandle) return;
  if (auto* form = dynamic_cast<TForm*>(Form->FForm)) {
    Menu = form->Menu();
    if (!Menu) return;
  }
  FreeButtons();
  if (skinplatform::IsVersion40() || skinplatform::IsNTBelow5()) {
    if (Menu) {
      TMenuItem* root = Menu->Items();
      ItemCount = root->Count();
      for (int i = 0; i < ItemCount; i++) {
        TMenuItem* item = root->Items(i);
        std::unique_ptr<TMenuBtn> b(new TMenuBtn(Form));
        b->SkinData = SkinData;
        b->Index = i;
        b->Visible = item->Visible();
        b->ItemEnabled = item->Enabled();
        b->Command = item->Command();
        b->Caption = ToWideCaption(item);
        b->MenuItem = item;
        b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
        Buttons.push_back(std::move(b));
      }
    }
  } else {
    ButtonsFromHandle(false);
  }
  SetMenu(Form->FHandle, nullptr);
}

void TWinSkinMenu::Refresh() {
  FreeButtons();
  if (MenuHandle) ButtonsFromHandle(true);
  SetMenu(Form->FHandle, nullptr);
  Layout();
}

int TWinSkinMenu::LeftMargin(int barWidth) const {
  TDataSkinObject* bar = SkinData ? SkinData->MenuBar.get() : nullptr;
  if (!bar) return 6;
  const int margin = IsRightToLeft() ? bar->RightWidth + 8 : bar->LeftWidth + 4;
  return barWidth < margin ? 12 : margin;
}

void TWinSkinMenu::PlaceButtons(HDC dc, const RECT& bar, bool paint) {
  const int barWidth = bar.right - bar.left;
  const int margin = LeftMargin(barWidth);
  const bool rtl = IsRightToLeft();
  int x = rtl ? barWidth - margin : margin;
  if (rtl && paint && Form->FFormKind == 1) {
    // With a maximised child's buttons in the bar, the items end five
    // pixels left of the leftmost of them.
    for (auto& b : Form->FSysButtons)
      if (b->SkinButton->Visibility == 100 && b->Visible) x = std::min<int>(x, b->Rect.left - Form->FBorderLeft - 5);
  }
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(Screen().MenuFont());
  canvas.Brush()->SetStyle(bsClear);
  canvas.SelectObjects();
  for (auto& b : Buttons) {
    if (!b->Visible) {
      b->Rect = RECT{0, 0, 0, 0};
      continue;
    }
    int width = 0;
    if (!b->Caption.empty()) {
      RECT m = {0, 0, 0, 0};
      canvas.DrawTextWide(b->Caption, m, DT_CALCRECT | DT_NOCLIP);
      width = m.right - m.left;
      if (width > 0) width += 10;
    }
    RECT r;
    if (rtl) {
      r = RECT{x - width, 0, x, barWidth > 0 ? bar.bottom - bar.top - 1 : 0};
      x -= width;
    } else {
      r = RECT{x, 0, x + width, bar.bottom - bar.top - 1};
      x += width;
    }
    if (paint && width > 0) {
      RECT m = {0, 0, 0, 0};
      canvas.DrawTextWide(b->Caption, m, DT_CALCRECT | DT_SINGLELINE);
      RECT t = r;
      OffsetRect(&t, ((r.right - r.left) - (m.right - m.left)) / 2, ((r.bottom - r.top) - (m.bottom - m.top)) / 2);
      t.right = t.left + (m.right - m.left);
      t.bottom = t.top + (m.bottom - m.top);
      canvas.Font()->SetColor(b->ItemEnabled ? SkinData->Colors[sc::MenuBarText] : clGrayText);
      canvas.DrawTextWide(b->Caption, t, DT_SINGLELINE);
    }
    OffsetRect(&r, bar.left, bar.top);
    b->Rect = r;
  }
  canvas.SetHandle(nullptr);
}

void TWinSkinMenu::Layout() {
  const RECT bar = {Form->FBorderLeft, Form->FBorderTop, Form->FWindowWidth - Form->FBorderRight,
                    Form->FBorderTop + Form->FMenuBarHeight};
  if (bar.right <= bar.left || bar.bottom <= bar.top) return;
  HDC dc = GetDC(nullptr);
  PlaceButtons(dc, bar, false);
  ReleaseDC(nullptr, dc);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TBitmap& scratch = ScratchBitmap();
  SetSkinBitmapSize(scratch, w, h, SkinData->Colors[sc::Menubar]);
  HDC sdc = scratch.Canvas()->Handle();
  if (TDataSkinObject* bar = SkinData->MenuBar.get()) {
    const int image = Form->FActive ? 1 : 2;
    if (bar->Tile == 1)
      DrawSkinImage(sdc, SkinRect(0, 0, w, h), bar->Bitmap, true, false, false, 2, image, bar->Margins());
    else
      DrawSkinImageH3(*scratch.Canvas(), SkinRect(0, 0, w, h), bar->Bitmap, true, false, 2, image, bar->Margins());
  }
  BarRect = rect;
  CopyBitmap(scratch, BarBitmap);
  Painting = true;
  SetBkMode(sdc, TRANSPARENT);
  PlaceButtons(sdc, RECT{0, 0, w, h}, true);
  for (auto& b : Buttons) OffsetRect(&b->Rect, rect.left, rect.top);
  Painting = false;
  if (Form->FFormKind == 1 && Form->MdiChildMaximizedInFrame()) {
    for (auto& b : Form->FSysButtons) {
      const TDataSkinSysButton& d = *b->SkinButton;
      if (d.Visibility != 100 || d.Bitmap.Empty()) continue;
      RECT r = b->Rect;
      OffsetRect(&r, -rect.left, -rect.top);
      DrawSkinCell(sdc, SkinRect(r.left, r.top, r.right, r.bottom), const_cast<TBitmap&>(d.Bitmap), true,
                   d.Frame < 1 ? 1 : d.Frame, 1);
    }
    if (TSkinManage* manager = SkinManager()) manager->SetMdiChildMaximized(true);
  }
  BitBlt(dc, rect.left, rect.top, w, h, sdc, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::HitTest(POINT p) const {
  for (const auto& b : Buttons)
    if (PtInRect(&b->Rect, p) && !b->Caption.empty()) return b.get();
  return nullptr;
}

void TMenuBtn::Paint() {
  TWinSkinMenu* bar = Form->FMenuBar;
  if (!bar || bar->BarBitmap.Empty() || !SkinData) return;
  HDC dc = GetWindowDC(Form->FHandle);
  if (!dc) return;
  const RECT& barRect = bar->BarRect;
  const int h = barRect.bottom - barRect.top;
  BitBlt(dc, Rect.left, barRect.top, Rect.right - Rect.left, h, bar->BarBitmap.Canvas()->Handle(),
         Rect.left - barRect.left, 0, SRCCOPY);
  if (State == 2 || State == 3) {
    HBRUSH frame = CreateSolidBrush(ColorToRGB(SkinData->Colors[sc::ButtonHilight]));
    FrameRect(dc, &Rect, frame);
    DeleteObject(frame);
  }
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(Screen().MenuFont());
  canvas.Font()->SetStyle(0);
  canvas.Font()->SetColor(ItemEnabled ? SkinData->Colors[sc::MenuBarText] : clGrayText);
  canvas.Brush()->SetStyle(bsClear);
  SetBkMode(dc, TRANSPARENT);
  RECT t = Rect;
  canvas.DrawTextWide(Caption, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  canvas.SetHandle(nullptr);
  ReleaseDC(Form->FHandle, dc);
}

// ---- the form skinner's part -------------------------------------------------------

void TWinSkinForm::ClickMenuButton(TMenuBtn* button) {
  if (!button) return;
  GetWindowRect(FHandle, &FWindowRect);
  const POINT p = {button->Rect.left + FWindowRect.left + 1, button->Rect.top + FWindowRect.top + 1};
  // Code 1: a click that finds no item by the time it is handled does nothing.
  PostToWindow(FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(p.x, p.y));
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn* button) {
  TBusyScope busy(this);  // the pop-up's loop may unskin the window meanwhile
  g_track.switched = false;
  if (!button) return false;
  // The item's own command fires as it opens (a framework item's click).
  // A disabled item fires nothing; neither does the pop-up of a plain
  // menu, whose identifier is its handle, not a command.
  if (button->ItemEnabled && (button->MenuItem || !button->SubMenu))
    PostToWindow(FHandle, WM_COMMAND, button->Command, 0);
  if (!button->SubMenu) return false;
  g_track.trackedIndex = button->Index;
  g_track.form = this;
  GetWindowRect(FHandle, &FWindowRect);
  if (!(skinplatform::IsNTBelow5() && skinplatform::IsVersion40())) MarkMenuOwnerDraw(button->SubMenu);
  FMenuTracking = true;
  const int x = (FLeftScrollBar ? button->Rect.right : button->Rect.left) + FWindowRect.left;
  const int y = button->Rect.bottom + FWindowRect.top;
  if (TSkinManage* manager = SkinManager()) {
    manager->PopupKind = 1;
    manager->MenuTracking = true;
  }
  FTrackedMenu = button->SubMenu;
  InstallMenuFilterHook();
  const HMENU sub = button->SubMenu;
  if (button->ItemEnabled) {
    UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON;
    if (FLeftScrollBar) flags |= TPM_RIGHTALIGN;
    TrackPopupMenu(sub, flags, x, y, 0, FHandle, nullptr);
  }
  RemoveMenuFilterHook();
  FMenuTracking = false;
  return true;
}

void TWinSkinForm::MenuButtonFromMessage(TMessage& m) {
  const POINT screen = {static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  const POINT p = ScreenToFrame(screen);
  if (FindCaptionButton(p)) {
    m.Result = 0;
    return;
  }
  if (FMenuBar)
    if (TMenuBtn* b = FMenuBar->HitTest(p)) OpenMenuButton(b);
  m.Result = 0;
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t ch) const {
  if (!FMenuBar) return nullptr;
  const wchar_t lower = static_cast<wchar_t>(towlower(ch));
  for (const auto& b : FMenuBar->Buttons) {
    if (!b->ItemEnabled || !b->Visible) continue;
    const std::wstring& c = b->Caption;
    for (size_t i = 0; i + 1 < c.size(); i++) {
      if (c[i] != L'&') continue;
      if (c[i + 1] == L'&') {
        i++;
        continue;
      }
      if (static_cast<wchar_t>(towlower(c[i + 1])) == lower) return b.get();
      break;
    }
  }
  return nullptr;
}

void TWinSkinForm::HandleDialogChar(TMessage& m) {
  frameworkHook_.CallPrevious(m);
  if (m.Result != 0) return;
  const TShiftState shift = KeyboardShiftState();
  if (TMenuBtn* b = FindAccelButton(static_cast<wchar_t>(m.WParam))) {
    if (shift == (1u << ssAlt)) {
      ClickMenuButton(b);
      m.Result = 1;
      return;
    }
  }
  TSkinManage* manager = SkinManager();
  if (FFormKind == 2) {
    if (manager && manager->MdiFrameControl &&
        manager->MdiFrameControl->Perform(kCmDialogChar, m.WParam, m.LParam) != 0)
      return;
  } else if (TForm* main = Application().MainForm()) {
    auto* self = dynamic_cast<TForm*>(FForm);
    if (self && self != main && !self->IsModal()) main->Perform(kCmDialogChar, m.WParam, m.LParam);
  }
  m.Result = 0;
}

std::wstring TWinSkinForm::ReadWindowTextWide(HWND window) const {
  std::wstring text;
  GetWindowCaption(window, text);
  return text;
}

std::string TWinSkinForm::ReadWindowText(HWND window) {
  char buffer[1000] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

// ---- the system menu ---------------------------------------------------------------

void TWinSkinForm::BuildSysMenuPopup() {
  if (FSysMenuPopup && FSysMenuPopup->Handle()) return;  // it is open
  FreeAndNil(FSysMenuPopup);
  if (skinplatform::IsNTBelow5()) {
    BuildPlainSysMenuPopup();
    return;
  }
  if (!FSystemMenu) return;
  FSysMenuPopup = new TPopupMenu(this);
  FSysMenuPopup->SetTag(33333);
  FSysMenuPopup->SetOwnerDraw(true);
  FSysMenuPopup->SetImages(FSkinData->MenuImages);
  // Only a border that can be dragged can be sized from the menu, and only
  // while the window is neither maximised nor minimised, as the system's
  // own menu has it.
  const bool sizingBorder = (GetWindowLongW(FHandle, GWL_STYLE) & WS_THICKFRAME) != 0;
  const int count = GetMenuItemCount(FSystemMenu);
  for (int i = 0; i < count; i++) {
    MENUITEMINFOW info = {};
    wchar_t text[80] = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 79;
    if (!GetMenuItemInfoW(FSystemMenu, static_cast<UINT>(i), TRUE, &info)) continue;
    auto* item = new TMenuItem(FSysMenuPopup);
    item->SetCaption(text[0] ? FromWide(text) : std::string("-"));
    item->SetTag(static_cast<int32_t>(info.wID));
    int image = -1;
    bool enabled = true;
    switch (info.wID) {
      case SC_SIZE: enabled = FWindowState == 0 && sizingBorder; break;
      case SC_MOVE: enabled = FWindowState != 1; break;
      case SC_MINIMIZE:
        image = 2;
        enabled = FWindowState != 2 && (FBorderIcons & 2);
        break;
      case SC_MAXIMIZE:
        image = 1;
        enabled = FWindowState != 1 && (FBorderIcons & 1);
        break;
      case SC_CLOSE: image = 3; break;
      case SC_RESTORE:
        image = 0;
        enabled = FWindowState != 0;
        break;
      default: break;
    }
    item->SetImageIndex(image);
    item->SetEnabled(enabled && (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    item->OnClick = [this](TObject* sender) { SysMenuItemClick(sender); };
    item->OnDrawItem = [this](TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
      DrawSkinMenuItem(sender, canvas, rect, selected);
    };
    item->OnMeasureItem = [this](TObject* sender, TCanvas* canvas, int& w, int& h) {
      MeasureSysMenuItem(sender, canvas, w, h);
    };
    FSysMenuPopup->Items()->Add(item);
  }
}

void TWinSkinForm::BuildPlainSysMenuPopup() {
  FSysMenuPopup = new TPopupMenu(this);
  FSysMenuPopup->SetTag(33333);
  FSysMenuPopup->SetOwnerDraw(true);
  FSysMenuPopup->SetImages(FSkinData->MenuImages);
  AddSysMenuItem(" Restore ", 0);
  if (FBorderIcons & 1) AddSysMenuItem(" Maximize ", 1);
  if (FBorderIcons & 2) AddSysMenuItem(" Minimize ", 2);
  AddSysMenuItem("-", 100);
  AddSysMenuItem(" Close ", 3);
}

void TWinSkinForm::AddSysMenuItem(const std::string& caption, int tag) {
  auto* item = new TMenuItem(FSysMenuPopup);
  item->SetCaption(caption);
  item->SetTag(tag);
  item->SetImageIndex(tag);
  item->OnClick = [this](TObject* sender) { SysMenuCommandClick(sender); };
  item->OnDrawItem = [this](TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
    DrawSkinMenuItem(sender, canvas, rect, selected);
  };
  item->OnMeasureItem = [this](TObject* sender, TCanvas* canvas, int& w, int& h) {
    MeasureSysMenuItem(sender, canvas, w, h);
  };
  if (tag == 3) item->SetShortCut(TextToShortCut("ALT+F4"));
  FSysMenuPopup->Items()->Add(item);
}

bool TWinSkinForm::HasCloseItem() const {
  if (skinplatform::IsNTBelow5() || skinplatform::IsWin9x()) return true;
  if (!FSystemMenu) return false;
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  return GetMenuItemInfoW(FSystemMenu, SC_CLOSE, FALSE, &info) != FALSE;
}
