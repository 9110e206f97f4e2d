// The skinned frame of a window: its sizes from the skin's border images,
// the caption with its text and buttons, the menu row, and the window
// region cut from the transparent pixels of the borders.
#include <algorithm>

#include "SkinControl.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

constexpr int kStateSkinned = 1, kStateChanging = 3, kStateFinished = 6;

TSkinRect ToSkin(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }
int FrameCount(const TDataSkinObject& o) { return o.Frame < 1 ? 1 : o.Frame; }

}  // namespace

void TWinSkinForm::FreeSysButtons() {
  ForgetHotObject(nullptr);
  FSysButtons.clear();
  FSysButtonCount = 0;
}

void TWinSkinForm::ForgetHotObject(const TNCObject* going) {
  // A hot or pressed object that goes is no longer hot or pressed;
  // nullptr: any caption button.
  if (!going || FPressedButton == going) FPressedButton = nullptr;
  if (!FHotObject) return;
  if (going ? FHotObject == going : !FHotObject->IsMenuButton()) FHotObject = nullptr;
}

void TWinSkinForm::BuildFrame() {
  if (!FSkinData || FSkinData->NotLoaded) return;
  TSkinData& s = *FSkinData;
  if (FFrameStyle == 2) {
    FBorderLeft = FBorderTop = FBorderRight = FBorderBottom = 0;
    FMenuBarHeight = 0;
  } else {
    FBorderTop = s.BorderTop->Bitmap.Height() / FrameCount(*s.BorderTop);
    FBorderLeft = s.BorderLeft->Bitmap.Width() / FrameCount(*s.BorderLeft);
    FBorderRight = s.BorderRight->Bitmap.Width() / FrameCount(*s.BorderRight);
    FBorderBottom = s.BorderBottom->Bitmap.Height() / FrameCount(*s.BorderBottom);
  }
  FreeSysButtons();
  FSysButtonCount = static_cast<int>(s.SysButtons.size());
  for (auto& description : s.SysButtons) {
    FSysButtons.emplace_back(new TWinSysButton(this, description.get()));
    FSysButtons.back()->Enabled = true;
    if (description->Action == 3 || description->Action == 11) {
      UpdateIconBitmap();
      if (description->Bitmap.Empty()) CopyBitmap(FIconBitmap, description->Bitmap);
      if (s.AppIcon.Empty()) CopyBitmap(FIconBitmap, s.AppIcon);
      description->Frame = 1;
    }
  }
}

bool TWinSkinForm::MdiChildMaximizedInFrame() const {
  if (FFormKind != 1 || !FClientWnd) return false;
  BOOL maximised = FALSE;
  HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0,
                                                    reinterpret_cast<LPARAM>(&maximised)));
  return active && maximised;
}

bool TWinSkinForm::IsCaptionButtonVisible(int index) {
  if (index < 0 || index >= static_cast<int>(FSysButtons.size())) return false;
  TWinSysButton& button = *FSysButtons[static_cast<size_t>(index)];
  const TDataSkinSysButton& d = *button.SkinButton;
  const bool maximised = FWindowState == 1;
  const bool maxBox = (FBorderIcons & 1) != 0, minBox = (FBorderIcons & 2) != 0;
  const bool helpBox = (FBorderIcons & 4) != 0, sysMenu = (FBorderIcons & 8) != 0;
  auto rule = [&](int value, bool first) -> bool {
    switch (value) {
      case 0: return true;
      case 1: return maximised;
      case 2: return !maximised;
      case 3: return FActive;
      case 4: return !FActive;
      case 5: return false;
      case 6:
      case 8: return first ? (minBox || maxBox) && sysMenu : (minBox || maxBox);
      case 7: return !maxBox;
      case 9: return !minBox;
      case 10: return first ? helpBox && !minBox && !maxBox : helpBox;
      case 100: return MdiChildMaximizedInFrame() && FMenuBar;
      case 200: return first && FFrameStyle == 3 && !FIsDialog;
      default:
        if (value >= 201 && value <= 999) return first;
        if (value >= 1000 && value <= 2000)
          return first && SendMessageW(FHandle, SKM_BUTTONVISIBLE, static_cast<WPARAM>(value),
                                       static_cast<LPARAM>(d.Action)) > 0;
        return false;  // any other value, -1 among them: never shown
    }
  };
  bool shown = rule(d.Visibility, true) && rule(d.Visibility1, false);
  switch (d.Action) {
    case 0:
      if (!sysMenu) shown = false;
      break;
    case 1: button.Enabled = maxBox && sysMenu; break;
    case 2: button.Enabled = minBox && sysMenu; break;
    case 3:
    case 11:
    case 12:
      if (FFrameStyle == 3) shown = false;
      break;
    default: break;
  }
  button.Visible = shown;
  return shown;
}

void TWinSkinForm::LayoutCaptionButtons() {
  for (size_t i = 0; i < FSysButtons.size(); i++) {
    TWinSysButton& b = *FSysButtons[i];
    if (!IsCaptionButtonVisible(static_cast<int>(i))) continue;
    const TDataSkinSysButton& d = *b.SkinButton;
    if (d.Bitmap.Empty()) continue;
    const int w = d.Bitmap.Width() / FrameCount(d), h = d.Bitmap.Height();
    int x = 0, y = 0;
    switch (d.Align) {
      case 0:
        x = d.XCoord;
        y = d.YCoord;
        break;
      case 1:
        x = FWindowWidth - d.XCoord;
        y = d.YCoord;
        break;
      case 2:
      case 8:
        x = FCaptionTextRect.left - w - d.XCoord;
        y = d.YCoord;
        break;
      case 3:
      case 9:
        x = FCaptionTextRect.right + d.XCoord;
        y = d.YCoord;
        break;
      case 100:
        x = FWindowWidth - d.XCoord - FBorderRight - (FSkinData->MenuBar ? FSkinData->MenuBar->LeftWidth : 0);
        y = FBorderTop + (FMenuBarHeight - h) / 2;
        break;
      default: break;
    }
    b.Rect = RECT{x, y, x + w, y + h};
  }
}

void TWinSkinForm::PaintCaptionText(TCanvas& canvas, const RECT& caption) {
  TSkinData& s = *FSkinData;
  const TDataSkinTitle& title = *s.Title;
  FCaptionSuffix = L" ";
  FCaptionText = ReadWindowTextWide(FHandle);
  const std::wstring text = FCaptionPrefix + FCaptionText + FCaptionSuffix;
  FCaptionTextMax = 0;
  for (auto& b : FSysButtons)
    if (b->Visible && b->SkinButton->Align == 1 && !b->SkinButton->Bitmap.Empty())
      FCaptionTextMax = std::max(FCaptionTextMax, b->SkinButton->XCoord);
  canvas.SetFont(FCaptionFont);
  canvas.Font()->SetColor(FActive ? s.Colors[sc::TitleTextActive] : s.Colors[sc::TitleTextNoActive]);
  canvas.Brush()->SetStyle(bsClear);
  HDC dc = canvas.Handle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = {caption.left, caption.top, caption.left, caption.top};
  canvas.DrawTextWide(text, r, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  r.right += title.TextBackLeft + title.TextBackRight;
  const int w = r.right - r.left, cw = caption.right - caption.left;
  int x = 0;
  if (!FLeftScrollBar) {
    switch (title.TextAlignment) {
      case 0: x = title.LeftWidth; break;
      case 1: x = (cw - w) / 2; break;
      case 2: x = cw - title.RightWidth - w; break;
      default: break;
    }
  } else {
    switch (title.TextAlignment) {
      case 0: x = cw - FCaptionTextMax - w; break;
      case 1: x = (cw - w - FCaptionTextMax) / 2; break;
      case 2: x = title.LeftWidth; break;
      default: break;
    }
  }
  const int y = ((caption.bottom - caption.top) - (r.bottom - r.top)) / 2 + title.TopHeight / 2;
  OffsetRect(&r, x, y);
  if (FLeftScrollBar && x <= 0) r.left = title.LeftWidth;
  if (FStyle & WS_POPUP) {
    if (FLeftScrollBar)
      OffsetRect(&r, 10, 0);
    else if (FCaptionTextMax > 5 && caption.right - FCaptionTextMax - 5 < r.right)
      r.right = caption.right - FCaptionTextMax - 5;
  } else if (FLeftScrollBar) {
    OffsetRect(&r, 10, 0);
  } else {
    r.right = std::min<LONG>(r.right, caption.right - title.RightWidth);
  }
  if (FFrameStyle == 3 && title.TextAlignment == 0) r.left -= 16;
  FCaptionTextRect = r;
  if (!title.Bitmap.Empty()) {
    const TSkinRect back = SkinRect(r.left, caption.top, r.right, caption.bottom);
    DrawSkinImageH3(canvas, back, const_cast<TBitmap&>(title.Bitmap), true, true, 2, FActive ? 1 : 2,
                    SkinRect(title.TextBackLeft, 0, title.TextBackRight, 0));
  }
  r.left += title.TextBackLeft;
  r.right -= title.TextBackRight;
  UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (FLeftScrollBar) flags |= DT_RIGHT | DT_RTLREADING;
  canvas.DrawTextWide(text, r, flags);
  SetBkMode(dc, oldMode);
}

void TWinSkinForm::PaintCaptionButtons(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  for (auto& b : FSysButtons) {
    const TDataSkinSysButton& d = *b->SkinButton;
    if (!b->Visible || d.Bitmap.Empty() || d.Visibility == 100) continue;
    if (d.Action == 3 || d.Action == 11) {
      DrawCaptionIcon(dc, b->Rect);
      continue;
    }
    const int frame = (FrameCount(d) < 4 || (FActive && b->Enabled)) ? 1 : 4;
    DrawSkinCell(dc, ToSkin(b->Rect), const_cast<TBitmap&>(d.Bitmap), true, FrameCount(d), frame);
  }
}

void TWinSkinForm::PaintCaptionButton(TWinSysButton* button, int state) {
  if (!button || !button->Visible || FState != kStateSkinned) return;
  const TDataSkinSysButton& d = *button->SkinButton;
  if (d.Bitmap.Empty()) return;
  HDC dc = GetWindowDC(FHandle);
  if (!dc) return;
  int frame = state;
  if (!button->Enabled) frame = FrameCount(d) > 3 ? 4 : 1;
  if (d.Visibility == 100 && state == 3) frame = 4;
  if (frame > FrameCount(d)) frame = 1;
  if (d.Action == 3 || d.Action == 11)
    DrawCaptionIcon(dc, button->Rect);
  else
    DrawSkinCell(dc, ToSkin(button->Rect), const_cast<TBitmap&>(d.Bitmap), true, FrameCount(d), frame);
  ReleaseDC(FHandle, dc);
}

void TWinSkinForm::DrawCaptionIcon(HDC dc, const RECT& rect) {
  HWND app = FHandle;
  FIconHandle = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!FIconHandle) FIconHandle = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!FIconHandle) FIconHandle = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICONSM));
  const int size = FIconWidth > 0 ? FIconWidth : GetSystemMetrics(SM_CXSMICON);
  if (FIconHandle) {
    if (HICON copy = static_cast<HICON>(CopyImage(FIconHandle, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE))) {
      DrawIconEx(dc, rect.left, rect.top, copy, size, size, 0, nullptr, DI_NORMAL);
      DestroyIcon(copy);
      return;
    }
  }
  if (!FIconBitmap.Empty())
    DrawTransparent(dc, SkinRect(rect.left, rect.top, rect.left + FIconBitmap.Width(), rect.top + FIconBitmap.Height()),
                    FIconBitmap, static_cast<TColor>(kSkinKeyColour));
}

void TWinSkinForm::UpdateIconBitmap() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  FIconBitmap.SetPixelFormat(pf16bit);
  FIconBitmap.SetSize(w, h);
  TCanvas* c = FIconBitmap.Canvas();
  c->Brush()->SetColor(static_cast<TColor>(kSkinKeyColour));
  RECT all = {0, 0, w, h};
  c->FillRect(all);
  FIconWidth = w;
  FIconHandle = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!FIconHandle) FIconHandle = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
  if (!FIconHandle) return;
  if (HICON copy = static_cast<HICON>(CopyImage(FIconHandle, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
    DrawIconEx(c->Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL);
    DestroyIcon(copy);
  }
}

void TWinSkinForm::PaintBorder(int side, const RECT& rect, HDC dc) {
  if (rect.right - rect.left < 0 || rect.bottom - rect.top < 0 || !FSkinData) return;
  TDataSkinBorder* border = nullptr;
  switch (side) {
    case 1: border = FSkinData->BorderLeft.get(); break;
    case 2: border = FSkinData->BorderRight.get(); break;
    case 3: border = FSkinData->BorderTop.get(); break;
    case 4: border = FSkinData->BorderBottom.get(); break;
    default: return;
  }
  if (!border || border->Bitmap.Empty()) return;
  const bool vertical = side >= 3;
  const int image = (FActive || FrameCount(*border) < 2) ? 1 : 2;
  std::unique_ptr<TBitmap> made(MakeSkinImage(SkinRect(0, 0, rect.right - rect.left, rect.bottom - rect.top),
                                              border->Bitmap, border->Margins(), vertical, border->Tile != 1,
                                              FrameCount(*border), image));
  if (made)
    BitBlt(dc, rect.left, rect.top, made->Width(), made->Height(), made->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintCaption(HDC dc) {
  RECT caption;
  if (FWindowState != 2) {
    SetSkinBitmapSize(FFrameBitmap, FWindowWidth, FBorderTop);
    BitBlt(FFrameBitmap.Canvas()->Handle(), 0, 0, FWindowWidth, FBorderTop, dc, 0, 0, SRCCOPY);
    caption = RECT{FBorderLeft, 0, FWindowWidth - FBorderRight, FBorderTop};
  } else {
    SetSkinBitmapSize(FFrameBitmap, FWindowWidth, FWindowHeight, FSkinData->Colors[sc::ButtonFace]);
    caption = RECT{0, 0, FWindowWidth, FBorderTop};
  }
  TCanvas& canvas = *FFrameBitmap.Canvas();
  PaintBorder(3, caption, canvas.Handle());
  PaintCaptionText(canvas, caption);
  LayoutCaptionButtons();
  PaintCaptionButtons(canvas);
  BitBlt(dc, 0, 0, FFrameBitmap.Width(), FFrameBitmap.Height(), canvas.Handle(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintSkinFrame(HDC given) {
  if (!SharedBitmap() || (FState != kStateSkinned && FState != kStateChanging) || FFrameStyle == 2) return;
  if (FFormKind == 2 && FWindowState == 1) return;
  if (!FSkinData || FSkinData->NotLoaded) return;
  HDC dc = given ? given : GetWindowDC(FHandle);
  if (!dc) return;
  try {
    GetWindowRect(FHandle, &FWindowRect);
    FWindowWidth = FWindowRect.right - FWindowRect.left;
    FWindowHeight = FWindowRect.bottom - FWindowRect.top;
    if (FWindowState == 2) {
      PaintCaption(dc);
    } else {
      const int w = FWindowWidth, h = FWindowHeight;
      PaintBorder(1, RECT{0, 0, FBorderLeft, h}, dc);
      PaintBorder(2, RECT{w - FBorderRight, 0, w, h}, dc);
      PaintBorder(4, RECT{FBorderLeft, h - FBorderBottom, w - FBorderRight, h}, dc);
      PaintCaption(dc);
      const RECT row = {FBorderLeft, FBorderTop, w - FBorderRight, FBorderTop + FMenuBarHeight};
      if (FMenuBar)
        FMenuBar->Paint(dc, row);
      else if (FMenuBarHeight > 0 && FSkinData->FaceBrush)
        FillRect(dc, &row, FSkinData->FaceBrush->Handle());
    }
  } catch (...) {
    // A frame that cannot be painted stays as it was.
  }
  if (!given) ReleaseDC(FHandle, dc);
  FHotObject = nullptr;
}

void TWinSkinForm::UpdateWindowRegion() {
  if (FState == kStateFinished || !FSkinFrame || !FSkinData || FSkinData->NotLoaded) return;
  RECT wr;
  if (!GetWindowRect(FHandle, &wr)) return;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (FFormKind == 2 && FWindowState != 0) return;
  if (FRegionSet && w == FRegionWidth && h == FRegionHeight && FFormKind != 2 && FState != kStateChanging) return;
  FRegionSet = false;
  TSkinData& s = *FSkinData;
  TDataSkinBorder* borders[4] = {s.BorderLeft.get(), s.BorderRight.get(), s.BorderTop.get(), s.BorderBottom.get()};
  HRGN region = nullptr;
  bool anyTrans = false;
  for (auto* b : borders) anyTrans = anyTrans || (b && b->Trans);
  if (!anyTrans) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    FRegionWidth = w;
    FRegionHeight = h;
    region = CreateRectRgn(FBorderLeft, FBorderTop, w - FBorderRight, h - FBorderBottom);
    if (FFrameStyle != 2) {
      // Each strip is painted as it looks now (active or inactive) and
      // its key-coloured pixels left out.
      auto addStrip = [&](int side, const RECT& strip, bool fromImage) {
        HRGN part = nullptr;
        if (fromImage) {
          TBitmap work;
          SetSkinBitmapSize(work, strip.right - strip.left, strip.bottom - strip.top);
          PaintBorder(side, RECT{0, 0, strip.right - strip.left, strip.bottom - strip.top}, work.Canvas()->Handle());
          part = RegionFromBitmap(work, strip.left, strip.top, 1, 1, 1, static_cast<TColor>(kSkinKeyColour));
        } else {
          part = CreateRectRgn(strip.left, strip.top, strip.right, strip.bottom);
        }
        if (part) {
          CombineRgn(region, region, part, RGN_OR);
          DeleteObject(part);
        }
      };
      const RECT left = {0, 0, FBorderLeft, h}, right = {w - FBorderRight, 0, w, h};
      const RECT bottom = {FBorderLeft, h - FBorderBottom, w - FBorderRight, h};
      const RECT top = {FBorderLeft, 0, w - FBorderRight, FBorderTop};
      addStrip(1, left, s.BorderLeft->Trans == 1 && h > 1);
      addStrip(2, right, s.BorderRight->Trans == 1 && h > 1);
      addStrip(4, bottom, s.BorderBottom->Trans == 1 && FBorderBottom >= 2);
      addStrip(3, top, s.BorderTop->Trans == 1 && FBorderTop > 1 && top.right > top.left);
    }
  }
  // The system owns the region once it is set.
  if (SetWindowRgn(FHandle, region, TRUE)) {
    FWindowRegion = region;
    FRegionSet = true;
  } else {
    DeleteObject(region);
  }
}

void TWinSkinForm::DropWindowRegion() {
  if (!FRegionSet) return;
  SetWindowRgn(FHandle, nullptr, FFormKind == 2);
  FRegionSet = false;
  FWindowRegion = nullptr;
}

POINT TWinSkinForm::ScreenToFrame(POINT p) const {
  ScreenToClient(FHandle, &p);
  if (!(FFormKind == 2 && FWindowState == 2)) {
    p.x += FBorderLeft;
    p.y += FBorderTop + FMenuBarHeight;
  }
  return p;
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(FHandle, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = 2; break;
    case SW_SHOWMAXIMIZED: FWindowState = 1; break;
    default: FWindowState = 0; break;
  }
}

void TWinSkinForm::FindMdiClient() {
  FFormKind = 0;
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowClassName(child) != "MDIClient") continue;
    FFormKind = 1;
    FClientWnd = child;
    if (TSkinManage* manager = SkinManager()) {
      manager->MdiClientWnd = child;
      manager->MdiFrameControl = FForm;
    }
    return;
  }
}

void TWinSkinForm::SetSysMenuStyle(bool remove) {
  if (FBorderIcons & 0x10) return;
  FStyle = GetWindowLongW(FHandle, GWL_STYLE);
  LONG style = FStyle;
  if (remove)
    style &= ~WS_SYSMENU;
  else if (FSystemMenu)
    style |= WS_SYSMENU;
  if (style != FStyle) SetWindowLongW(FHandle, GWL_STYLE, style);
  FStyle = style;
}
