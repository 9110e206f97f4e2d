// Menu items drawn in the skin: the menu-bar pop-ups, the form's main menu
// items and the skinned system menu are owner-drawn; the item's background
// comes from its pop-up window's skin image, then the skin's item image,
// the glyph or check mark, the caption and the shortcut. Also the two
// custom-draw handlers the form skinner gives to tool bars.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "Application.h"
#include "ImageList.h"
#include "PropertyText.h"
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

TSkinRect ToSkin(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

bool IsDefaultItem(TMenuItem* item) { return item && item->Default(); }

// An 8 x 8 checker of the two colours.
HBRUSH PatternBrush(TColor a, TColor b) {
  TBitmap pattern(8, 8, pf24bit);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) SetPixel(pattern.Canvas()->Handle(), x, y, ColorToRGB((x + y) % 2 ? b : a));
  return CreatePatternBrush(pattern.Handle());
}

// The system's check mark in the button text colour, centred in the box.
void DrawCheckMark(TCanvas& canvas, const RECT& box) {
  const WORD kObmCheck = 32760;  // OBM_CHECK
  HBITMAP mark = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck));
  if (!mark) return;
  BITMAP info = {};
  GetObjectW(mark, sizeof info, &info);
  TBitmap work;
  SetSkinBitmapSize(work, info.bmWidth, info.bmHeight);
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, mark);
  HDC dst = work.Canvas()->Handle();
  SetTextColor(dst, ColorToRGB(clBtnText));
  SetBkColor(dst, kSkinKeyColour);
  BitBlt(dst, 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(mark);
  const int x = box.left + ((box.right - box.left) - info.bmWidth) / 2 + 1;
  const int y = box.top + ((box.bottom - box.top) - info.bmHeight) / 2 + 1;
  DrawTransparent(canvas.Handle(), SkinRect(x, y, x + info.bmWidth, y + info.bmHeight), work,
                  static_cast<TColor>(kSkinKeyColour));
}

}  // namespace

void TWinSkinForm::MarkMenuOwnerDraw(HMENU menu) {
  if (!menu) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; i++) {
    MENUITEMINFOA info = {};
    char text[80] = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_TYPE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOA set = {};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = (info.fType & ~MFT_STRING) | MFT_OWNERDRAW;
      if (SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set)) FMarkedItems.emplace_back(menu, i);
    }
    if (info.hSubMenu) MarkMenuOwnerDraw(info.hSubMenu);
  }
}

void TWinSkinForm::UnmarkMenus() {
  for (const auto& item : FMarkedItems) {
    if (!IsMenu(item.first)) continue;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(item.first, item.second, TRUE, &info)) continue;
    info.fType &= ~MFT_OWNERDRAW;
    SetMenuItemInfoA(item.first, item.second, TRUE, &info);
  }
  FMarkedItems.clear();
}

TMenuItem* TWinSkinForm::MakeMenuItemFromHandle(HMENU menu, UINT id) {
  auto* item = new TMenuItem(nullptr);
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  GetMenuItemInfoW(menu, id, FALSE, &info);
  wchar_t text[81] = {};
  GetMenuStringW(menu, id, text, 80, MF_BYCOMMAND);
  item->SetCaption(text[0] ? FromWide(text) : std::string("-"));
  item->SetEnabled((info.fState & 3) == 0);
  item->SetChecked((info.fState & MFS_CHECKED) != 0);
  return item;
}

// ---- measuring ------------------------------------------------------------------

void TWinSkinForm::OnMeasureMenuItem(TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!mis || mis->CtlType != ODT_MENU || !FMenuHandle) {
    PassOn(m);
    return;
  }
  HDC dc = GetWindowDC(FHandle);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(Screen().MenuFont());
  if (FForm) {
    TMenuItem* item = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu->FindItem(mis->itemID, fkCommand) : nullptr;
    if (item) {
      int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
      MeasureFormMenuItem(item, &canvas, w, h);
      mis->itemWidth = static_cast<UINT>(std::max(w, 0));
      mis->itemHeight = static_cast<UINT>(std::max(h, 0));
      canvas.SetHandle(nullptr);
      ReleaseDC(FHandle, dc);
      m.Result = 1;
      return;
    }
    if (mis->itemID >= 1 && mis->itemID <= 4095) {
      canvas.SetHandle(nullptr);
      ReleaseDC(FHandle, dc);
      PassOn(m);
      return;
    }
  }
  wchar_t text[81] = {};
  GetMenuStringW(FTrackedMenu, mis->itemID, text, 80, MF_BYCOMMAND);
  SIZE size = {};
  canvas.SelectObjects();
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  int width = size.cx + 26;
  if (FSkinData->MenuItem) width += FSkinData->MenuItem->LeftWidth;
  mis->itemWidth = static_cast<UINT>(width);
  mis->itemHeight = text[0] ? mis->itemHeight + 4 : 8;
  if (skinplatform::IsWin9x()) mis->itemHeight += 4;
  canvas.SetHandle(nullptr);
  ReleaseDC(FHandle, dc);
  m.Result = 1;
}

void TWinSkinForm::MeasureFormMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
  if (!item) return;
  // The framework measures the item with its own handler taken off.
  TMenuMeasureItemEvent own = item->OnMeasureItem;
  item->OnMeasureItem = nullptr;
  try {
    item->MeasureItem(canvas->Handle(), width, height);
  } catch (...) {
  }
  item->OnMeasureItem = own;
  if (FSkinData->MenuItem) width += FSkinData->MenuItem->LeftWidth;
  TMenu* menu = item->GetParentMenu();
  width += (menu && menu->Images()) ? 10 : 35;
}

void TWinSkinForm::MeasureSysMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item) return;
  TMenuMeasureItemEvent own = item->OnMeasureItem;
  item->OnMeasureItem = nullptr;
  item->MeasureItem(canvas->Handle(), width, height);
  item->OnMeasureItem = own;
  if (FSkinData && FSkinData->MenuItem) width += FSkinData->MenuItem->LeftWidth;
  TMenu* menu = item->GetParentMenu();
  width += (menu && menu->Images()) ? 12 : 35;
}

void TWinSkinForm::MeasurePopupMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
  MeasureSysMenuItem(sender, canvas, width, height);
}

// ---- drawing ----------------------------------------------------------------------

void TWinSkinForm::OnDrawMenuItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!dis || dis->CtlType != ODT_MENU || !FMenuHandle || (FFormKind == 1 && skinplatform::IsNTBelow5())) {
    PassOn(m);
    return;
  }
  HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
  if (TSkinManage* manager = SkinManager()) manager->AssignPopupMenuOwner(menu);
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  TCanvas canvas;
  canvas.SetHandle(dis->hDC);
  canvas.SetFont(Screen().MenuFont());
  if (FForm) {
    TMenuItem* item = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu->FindItem(dis->itemID, fkCommand) : nullptr;
    if (item) {
      if (FSkinData->MenuItem)
        DrawSkinMenuItem(item, &canvas, dis->rcItem, selected);
      else
        DrawPlainMenuItem(item, &canvas, dis->rcItem, selected);
      canvas.SetHandle(nullptr);
      m.Result = 1;
      return;
    }
    if (dis->itemID >= 1 && dis->itemID <= 4095) {
      canvas.SetHandle(nullptr);
      PassOn(m);
      return;
    }
  }
  std::unique_ptr<TMenuItem> item(MakeMenuItemFromHandle(menu, dis->itemID));
  DrawSkinMenuItemFromHandle(menu, item.get(), &canvas, dis->rcItem, selected);
  canvas.SetHandle(nullptr);
  m.Result = 1;
}

namespace {

// The background of an item: its pop-up window's skin image at the item's
// place (3 pixels in, past the frame), else the menu colour.
void ItemBackground(TSkinData& skin, HMENU menu, TBitmap& work, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  SetSkinBitmapSize(work, w, h, skin.Colors[sc::Menu]);
  TSkinManage* manager = SkinManager();
  TBitmap* back = manager ? manager->PopupMenuBitmap(menu) : nullptr;
  if (back && !back->Empty())
    BitBlt(work.Canvas()->Handle(), 0, 0, w, h, back->Canvas()->Handle(), rect.left + 3, rect.top + 3, SRCCOPY);
}

}  // namespace

void TWinSkinForm::DrawSkinMenuItem(TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas || !FSkinData) return;
  if (!FSkinData->MenuItem) {
    DrawPlainMenuItem(item, canvas, rect, selected);
    return;
  }
  HMENU menu = item->Parent() ? item->Parent()->Handle() : nullptr;
  if (menu)
    if (TSkinManage* manager = SkinManager()) manager->AssignPopupMenuOwner(menu);
  TBitmap work;
  ItemBackground(*FSkinData, menu, work, rect);
  work.Canvas()->SetFont(canvas->Font());
  const RECT local = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  TDataSkinObject& skinItem = *FSkinData->MenuItem;
  if (item->Caption() != "-") {
    DrawSkinImage(work.Canvas()->Handle(), ToSkin(local), skinItem.Bitmap, false, skinItem.Tile == 1,
                  skinItem.Trans == 1, 5, selected ? 4 : 1, skinItem.Margins());
    DrawMenuItemContent(item, work.Canvas(), local, selected);
    BitBlt(canvas->Handle(), rect.left, rect.top, local.right, local.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
  } else {
    BitBlt(canvas->Handle(), rect.left, rect.top, local.right, local.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
    DrawMenuSeparator(canvas, rect);
  }
}

void TWinSkinForm::DrawSkinMenuItemFromHandle(HMENU menu, TMenuItem* item, TCanvas* canvas, RECT rect,
                                              bool selected) {
  if (!item || !canvas || !FSkinData) return;
  if (!FSkinData->MenuItem) {
    DrawPlainMenuItem(item, canvas, rect, selected);
    return;
  }
  TBitmap work;
  ItemBackground(*FSkinData, menu, work, rect);
  work.Canvas()->SetFont(canvas->Font());
  const RECT local = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  TDataSkinObject& skinItem = *FSkinData->MenuItem;
  DrawSkinImage(work.Canvas()->Handle(), ToSkin(local), skinItem.Bitmap, false, skinItem.Tile == 1,
                skinItem.Trans == 1, 5, selected ? 4 : 1, skinItem.Margins());
  DrawMenuItemContent(item, work.Canvas(), local, selected);
  BitBlt(canvas->Handle(), rect.left, rect.top, local.right, local.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawPlainMenuItem(TMenuItem* item, TCanvas* canvas, RECT rect, bool selected) {
  TBitmap work;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  SetSkinBitmapSize(work, w, h, selected ? FSkinData->Colors[sc::Hilight] : FSkinData->Colors[sc::Menu]);
  work.Canvas()->SetFont(canvas->Font());
  DrawMenuItemContent(item, work.Canvas(), RECT{0, 0, w, h}, selected);
  BitBlt(canvas->Handle(), rect.left, rect.top, w, h, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawMenuSeparator(TCanvas* canvas, const RECT& rect) {
  TDataSkinObject* skinItem = FSkinData->MenuItem.get();
  if (!skinItem || skinItem->Bitmap.Empty()) return;
  TBitmap& b = skinItem->Bitmap;
  const int iw = b.Width() / 5, ih = b.Height();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (iw <= 0 || w <= 0 || h <= 0) return;
  const int top = h < ih ? ih - h : 0;
  const int rows = h < ih ? h : ih;
  const int x0 = iw;  // image 2
  const int L = std::min(skinItem->LeftWidth, iw), R = std::min(skinItem->RightWidth, iw - L);
  TBitmap work;
  SetSkinBitmapSize(work, w, h);
  HDC dst = work.Canvas()->Handle();
  HDC src = b.Canvas()->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  if (L > 0) StretchBlt(dst, 0, 0, L, h, src, x0, top, L, rows, SRCCOPY);
  if (R > 0) StretchBlt(dst, w - R, 0, R, h, src, x0 + iw - R, top, R, rows, SRCCOPY);
  if (iw - L - R > 0 && w - L - R > 0) StretchBlt(dst, L, 0, w - L - R, h, src, x0 + L, top, iw - L - R, rows, SRCCOPY);
  DrawTransparent(canvas->Handle(), ToSkin(rect), work, static_cast<TColor>(kSkinKeyColour));
}

void TWinSkinForm::DrawMenuText(TMenuItem* item, TCanvas* canvas, RECT& rect, const std::string& text, UINT flags,
                                bool selected) {
  std::string t = text;
  if ((flags & DT_CALCRECT) && (t.empty() || t == "&")) t += " ";
  if (t != "-") {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetStyle(IsDefaultItem(item) ? (1u << fsBold) : 0);
    TSkinData& s = *FSkinData;
    TColor colour = selected ? s.Colors[sc::HilightText] : s.Colors[sc::MenuText];
    if (item && !item->Enabled())
      colour = s.Colors[sc::ButtonShadow] == s.Colors[sc::MenuText] ? clGrayText : s.Colors[sc::ButtonShadow];
    canvas->Font()->SetColor(colour);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    canvas->DrawText(t, rect, flags);
  } else if (!(flags & DT_CALCRECT)) {
    RECT line = rect;
    OffsetRect(&line, 0, 4);
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
  }
}

void TWinSkinForm::DrawMenuItemContent(TMenuItem* item, TCanvas* canvas, RECT rect, bool selected) {
  if (!item || !canvas) return;
  std::string caption;
  GetPropText(item, "Caption", caption);
  TMenu* menu = item->GetParentMenu();
  if (!menu && FMenuBar) menu = FMenuBar->Menu;
  TImageList* images = menu ? menu->Images() : nullptr;
  int size = images ? images->Width() : 16;
  if (item->Checked() && size < 16) size = 16;
  const bool rtl = menu && menu->IsRightToLeft();
  const int skinLeft = FSkinData->MenuItem ? FSkinData->MenuItem->LeftWidth : 0;
  const int rh = rect.bottom - rect.top;
  const bool line = caption == "-";
  RECT g;
  if (line)
    g = RECT{0, rect.top, 0, rect.top};
  else if (rtl)
    g = RECT{rect.right - 1 - skinLeft - size, rect.top + 1, rect.right - 1 - skinLeft, rect.top + 1 + size};
  else
    g = RECT{rect.left + 1 + skinLeft, rect.top + 1, rect.left + 1 + skinLeft + size, rect.top + 1 + size};
  HDC dc = canvas->Handle();
  if (!line) {
    const int index = item->ImageIndex();
    if (images && index >= 0 && index < images->Count()) {
      if (item->Checked()) {
        HBRUSH pattern = PatternBrush(clBtnFace, clBtnHighlight);
        FillRect(dc, &g, pattern);
        DeleteObject(pattern);
        g.top = rect.top + (rh - 16) / 2;
        DrawEdge(dc, &g, BDR_SUNKENOUTER, BF_RECT);
      } else {
        g.top = rect.top + (rh - images->Height()) / 2;
      }
      images->Draw(*canvas, g.left, g.top, index, item->Enabled());
    } else if (item->Checked()) {
      DrawCheckMark(*canvas, g);
    }
  }
  RECT t = rtl ? RECT{rect.left + 1, rect.top, g.left - 3, rect.bottom} : RECT{g.right + 3, rect.top, rect.right - 1, rect.bottom};
  // The caption is measured first and centred vertically; the shortcut
  // goes between the caption's far end and the item's other end.
  RECT measured = t;
  const UINT rtlFlag = rtl ? (DT_RIGHT | DT_RTLREADING) : 0;
  DrawMenuText(item, canvas, measured, caption, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT | rtlFlag,
               selected);
  const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
  t.top = rect.top + (rh - th) / 2;
  t.bottom = t.top + th;
  DrawMenuText(item, canvas, t, caption, DT_SINGLELINE | DT_EXPANDTABS | rtlFlag, selected);
  if (item->ShortCut() != 0 && !line) {
    const std::string keys = ShortCutToText(item->ShortCut());
    RECT k = rtl ? RECT{rect.left + 10, t.top, t.right - tw, t.bottom}
                 : RECT{t.left + tw, t.top, rect.right - 11, t.bottom};
    DrawMenuText(item, canvas, k, keys, rtl ? DT_LEFT : DT_RIGHT, selected);
  }
}

// ---- tool bars -------------------------------------------------------------------

void TWinSkinForm::ToolbarCustomDraw(TCanvas& canvas, const RECT& rect, bool&) {
  if (!FSkinData || !FSkinData->Toolbar || FSkinData->HasOption(xoToolbarBK)) return;
  TBitmap& b = FSkinData->Toolbar->Bitmap;
  if (b.Empty()) return;
  HDC dc = canvas.Handle();
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, b.Canvas()->Handle(), 0, 0,
             b.Width(), b.Height(), SRCCOPY);
  SetStretchBltMode(dc, old);
}

void TWinSkinForm::ToolbarCustomDrawButton(TCanvas& canvas, const RECT& bounds, UINT state, bool&) {
  if (!FSkinData || !FSkinData->Buttons || FState != 1 || FSkinData->HasOption(xoToolbarButton)) return;
  TDataSkinButton& b = *FSkinData->Buttons;
  int image = 0;
  if (state & CDIS_SELECTED)
    image = 2;
  else if (state & (CDIS_FOCUS | CDIS_HOT))
    image = 4;
  else if (!(state & (CDIS_GRAYED | CDIS_DISABLED)) && (state & CDIS_DEFAULT))
    image = 1;
  if (image == 0) return;
  if (image == 1 && b.HasNormalColour2) canvas.Font()->SetColor(b.NormalColour2);
  if (image == 4 && b.HasMouseOverColour2) canvas.Font()->SetColor(b.MouseOverColour2);
  if (image == 2 && b.HasPressedColour2) canvas.Font()->SetColor(b.PressedColour2);
  RECT r = bounds;
  InflateRect(&r, -1, -1);
  DrawSkinImage(canvas.Handle(), ToSkin(r), b.Bitmap, false, false, b.Trans == 1, 5, image, b.Margins());
}
