#include "ScrollBarSkinners.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "PropertyText.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// How long the combo box list's thumb drag waits for input before it looks
// again whether it still has the mouse.
constexpr DWORD kDragWaitMs = 100;
// The scroll information the skinners read.
constexpr UINT kScrollInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

bool HasBitmap(const TDataSkinObject* o) { return o && !o->Bitmap.Empty(); }

int FrameCount(const TDataSkinObject* o) { return o && o->Frame >= 1 ? o->Frame : 1; }

TColor Face(const TSkinData& skin) { return skin.Colors[sc::ButtonFace]; }

int SystemArrowSize() { return GetSystemMetrics(SM_CXHSCROLL); }

// The window's client area in its window's coordinates (its border's width
// and height at the top-left).
POINT ClientOffset(HWND window) {
  RECT w;
  POINT origin = {0, 0};
  if (!GetWindowRect(window, &w) || !ClientToScreen(window, &origin)) return POINT{0, 0};
  return POINT{origin.x - w.left, origin.y - w.top};
}

// A bar whose state word says so, or both of whose arrows are unavailable
// (the system may tell a bar disabled with its arrows only).
bool BarEnabled(const SCROLLBARINFO& info) {
  if (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) return false;
  constexpr int kFirstArrowState = 1, kSecondArrowState = 5;
  return !((info.rgstate[kFirstArrowState] & STATE_SYSTEM_UNAVAILABLE) &&
           (info.rgstate[kSecondArrowState] & STATE_SYSTEM_UNAVAILABLE));
}

void DrawStripFrame(HDC dc, const RECT& r, int frame, TDataSkinObject& strip) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  DrawStripKeyed(nullptr, dc, r, kScrollStripFrames, SafeFrame(frame, kScrollStripFrames), strip.Bitmap);
}

}  // namespace

// ---- drawing a bar ------------------------------------------------------------

void DrawScrollBarParts(TSkinData& skin, HDC dc, const TScrollBarLook& look) {
  TDataSkinObject* strip = skin.ScrollBar.get();
  if (!HasBitmap(strip)) return;
  const int a = look.arrow, t = look.thickness, len = look.length;
  const bool v = look.vertical;
  auto along = [&](int from, int to) { return v ? RECT{0, from, t, to} : RECT{from, 0, to, t}; };

  // Track: between the arrows, normal or disabled.
  TDataSkinObject* track = v ? skin.VertScroll.get() : skin.HorzScroll.get();
  if (HasBitmap(track)) {
    const bool tile = skin.HorzScroll ? skin.HorzScroll->Tile != 0 : track->Tile != 0;
    const RECT r = along(a, len - a);
    DrawSkinImage(dc, ToSkinRect(r), track->Bitmap, false, tile, track->Trans == 1, kTrackFrames,
                  look.enabled ? kTrackNormalFrame : kTrackDisabledFrame, track->Margins());
  }

  // Arrows: the first at the start, the second at the end.
  const int arrowLength = ArrowLength(a, len);
  int first = v ? kArrowUpFrame : kArrowLeftFrame;
  int second = v ? kArrowDownFrame : kArrowRightFrame;
  const int step = look.pressed ? kArrowPressedStep : kArrowHotStep;
  if (look.hotPart == kPartFirstArrow) first += step;
  if (look.hotPart == kPartSecondArrow) second += step;
  DrawStripFrame(dc, along(0, arrowLength), first, *strip);
  DrawStripFrame(dc, along(len - arrowLength, len), second, *strip);

  if (!look.enabled) return;
  const TThumbSpan& thumb = look.thumb;
  const bool hotThumb = look.hotPart == kPartThumb;

  // Thumb: the vertical one takes its image from its own object and its
  // frame count and transparency from the horizontal one.
  TDataSkinObject* image = v ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get();
  TDataSkinObject* counts = skin.HorzScrollThumb ? skin.HorzScrollThumb.get() : image;
  if (HasBitmap(image) && thumb.start < look.limit && thumb.end < look.limit) {
    const int frame = hotThumb ? (look.pressed ? kThumbPressedFrame : kThumbHotFrame) : kThumbNormalFrame;
    const int count = FrameCount(counts);
    DrawSkinImage(dc, ToSkinRect(along(thumb.start, thumb.end)), image->Bitmap, false, false, counts->Trans == 1,
                  count, SafeFrame(frame, count), image->Margins());
  }

  // Gripper: centred on the thumb when it fits.
  TThumbSpan grip;
  if (GripperSpan(thumb, strip->Bitmap.Height(), grip) && grip.start < look.limit && grip.end < look.limit) {
    int frame = v ? kGripperVertFrame : kGripperHorzFrame;
    if (hotThumb) frame += look.pressed ? kGripperPressedStep : kGripperHotStep;
    DrawStripFrame(dc, along(grip.start, grip.end), frame, *strip);
  }
}

// ---- TWScrollbar ------------------------------------------------------------------

const TClassInfo& TWScrollbar::StaticClass() {
  static const TClassInfo info("TWScrollbar", &TCustomControl::StaticClass());
  return info;
}

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomControl(owner) {
  ownPaint_ = true;
  opaque_ = true;
  SetTabStop(false);
  SetVisible(false);
  ArrowSize = SystemArrowSize();
}

void TWScrollbar::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.parent = parentWindow_;
  p.exStyle = WS_EX_TOOLWINDOW;
  p.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TWScrollbar::Attach(TSkinControl* ownerSkinner, HWND window, int mode) {
  OwnerSkinner = ownerSkinner;
  TargetWindow = window;
  Mode = static_cast<uint8_t>(mode);
  Orientation = mode == kOverlayHorzBar ? 0 : 1;
  HWND parent = window ? GetParent(window) : nullptr;
  if (parent != parentWindow_) {
    parentWindow_ = parent;
    if (HWND h = HandleIfAllocated()) ::SetParent(h, parentWindow_);
  }
}

void TWScrollbar::AttachToControl(TSkinControl* ownerSkinner, TWinControl* control, int mode) {
  TargetControl = control;
  Attach(ownerSkinner, control ? control->HandleIfAllocated() : nullptr, mode);
  const int32_t parentColour = control ? GetOrdPropByName(control->Parent(), "Color") : -1;
  if (parentColour != -1)
    SetColor(static_cast<TColor>(parentColour));
  else if (ownerSkinner && ownerSkinner->SkinData)
    SetColor(Face(*ownerSkinner->SkinData));
  if (mode == kOverlayControl) {
    std::string kind;
    GetEnumPropByName(control, "Kind", kind);
    Orientation = LowerCase(kind) == "sbhorizontal" ? 0 : 1;
  }
  UpdatePosition(TargetWindow);
}

void TWScrollbar::AttachToWindow(TSkinControl* ownerSkinner, HWND window, int mode) {
  TargetControl = nullptr;
  Attach(ownerSkinner, window, mode);
  if (ownerSkinner && ownerSkinner->SkinData) SetColor(Face(*ownerSkinner->SkinData));
  UpdatePosition(TargetWindow);
}

void TWScrollbar::HideBar() {
  if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
  Shown = false;
  SetVisible(false);
}

bool TWScrollbar::GetBarInfo(SCROLLBARINFO& info) const {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!TargetWindow || !IsWindow(TargetWindow)) return false;
  if (Mode != kOverlayControl)
    return GetScrollBarInfoOpt(TargetWindow, Mode == kOverlayHorzBar ? OBJID_HSCROLL : OBJID_VSCROLL, info);
  // A scroll-bar control: the bar is the control itself; the thumb follows
  // its scroll information.
  RECT bounds;
  if (TargetControl) {
    bounds = TargetControl->BoundsRect();
  } else {
    if (!GetWindowRect(TargetWindow, &bounds)) return false;
    MapWindowPoints(nullptr, GetParent(TargetWindow), reinterpret_cast<POINT*>(&bounds), 2);
  }
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = kScrollInfoMask;
  if (!GetScrollInfo(TargetWindow, SB_CTL, &si)) return false;
  const int length = Vertical() ? bounds.bottom - bounds.top : bounds.right - bounds.left;
  const TThumbSpan thumb =
      ControlThumbSpan(length, ArrowSize, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
  info.rcScrollBar = bounds;
  info.dxyLineButton = ArrowSize;
  info.xyThumbTop = thumb.start;
  info.xyThumbBottom = thumb.end;
  // A disabled control shows its bar disabled.
  if (!IsWindowEnabled(TargetWindow)) info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
  return true;
}

void TWScrollbar::UpdatePosition(HWND target) {
  TargetWindow = target;
  SCROLLBARINFO info;
  Shown = GetBarInfo(info);
  if (!Shown) return;
  if (!(GetWindowLongW(target, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    HideBar();
    return;
  }
  const RECT bar = info.rcScrollBar;
  POINT position = {bar.left, bar.top};
  if (Mode == kOverlayControl) {
    BarRect = bar;
  } else {
    POINT tl = {bar.left, bar.top}, br = {bar.right, bar.bottom};
    ::ScreenToClient(target, &tl);
    ::ScreenToClient(target, &br);
    BarRect = RECT{tl.x, tl.y, br.x, br.y};
    BarOrigin = position;
    ::ScreenToClient(parentWindow_, &position);
  }
  BarLength = Vertical() ? bar.bottom - bar.top : bar.right - bar.left;
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  HWND self = Handle();
  if (!self) {
    Shown = false;
    return;
  }
  SetVisible(true);
  ShowWindow(self, SW_SHOWNA);
  Shown = true;
  // Directly above the target: after the window that precedes it.
  HWND above = GetWindow(target, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  if (above == self) flags |= SWP_NOZORDER;
  SetWindowPos(self, above ? above : HWND_TOP, position.x, position.y, w, h, flags);
  MoveWindow(self, position.x, position.y, w, h, TRUE);
}

int TWScrollbar::HitTest(POINT p) const {
  const int pos = Vertical() ? p.y : p.x;
  return ScrollHitTest(pos, ArrowSize, ThumbStart, ThumbEnd, BarLength);
}

void TWScrollbar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;  // the paint covers every pixel
    case WM_MOUSEMOVE:
      TCustomControl::WndProc(m);
      MouseMoved(m);
      return;
    case WM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      MouseLeft();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TCustomControl::WndProc(m);
      ButtonDown(m);
      return;
    case WM_LBUTTONUP:
      TCustomControl::WndProc(m);
      ButtonUp(m);
      return;
    default: TCustomControl::WndProc(m); return;
  }
}

void TWScrollbar::MouseMoved(const TMessage& m) {
  const int part = HitTest(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (part != HotPart) {
    HotPart = part;
    Invalidate();
  }
  if (HWND h = HandleIfAllocated()) TrackMouseLeave(h);
}

void TWScrollbar::MouseLeft() {
  if (Pressed) return;
  HotPart = kPartNone;
  Invalidate();
}

void TWScrollbar::ButtonDown(const TMessage& m) {
  POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // The cursor where the press was made (the message's own point).
  PressCursor = p;
  if (HWND h = HandleIfAllocated()) ::ClientToScreen(h, &PressCursor);
  SCROLLBARINFO info;
  const bool known = GetBarInfo(info);
  if (known) PressThumbStart = info.xyThumbTop;
  HotPart = HitTest(p);
  const POINT client = p;
  if (Mode != kOverlayControl && known) {
    BarOrigin = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
    p.x += BarOrigin.x;
    p.y += BarOrigin.y;
  }
  Pressed = true;
  Invalidate();
  HotPart = HitTest(client);
  ReleaseCapture();
  // The system's own tracking of the real bar runs inside this call.
  HWND target = TargetWindow;
  if (target && IsWindow(target)) {
    switch (Mode) {
      case kOverlayHorzBar: SendMessageW(target, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(p.x, p.y)); break;
      case kOverlayVertBar: SendMessageW(target, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y)); break;
      default: SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); break;
    }
  }
  Pressed = false;
  ReleaseCapture();
  // The tracking had the mouse: the overlay's leave notice went with it.
  // What is under the cursor now is hot, and the notice is asked again.
  if (HWND self = HandleIfAllocated()) {
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == self) {
      ::ScreenToClient(self, &cursor);
      HotPart = HitTest(cursor);
      TrackMouseLeave(self);
    } else {
      HotPart = kPartNone;
    }
  }
  // The thumb goes back to where the bar's information puts it.
  Invalidate();
}

void TWScrollbar::ButtonUp(const TMessage& m) {
  POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (Mode != kOverlayControl) {
    p.x += BarOrigin.x;
    p.y += BarOrigin.y;
  }
  Pressed = false;
  ReleaseCapture();
  HWND target = TargetWindow;
  if (!target || !IsWindow(target)) return;
  switch (Mode) {
    case kOverlayHorzBar: PostMessageW(target, WM_NCLBUTTONUP, HTHSCROLL, MAKELPARAM(p.x, p.y)); break;
    case kOverlayVertBar: PostMessageW(target, WM_NCLBUTTONUP, HTVSCROLL, MAKELPARAM(p.x, p.y)); break;
    default:
      PostMessageW(target, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      Invalidate();
      break;
  }
}

void TWScrollbar::PaintWindow(HDC dc) {
  TSkinData* skin = OwnerSkinner ? OwnerSkinner->SkinData : nullptr;
  if (!skin || !HasBitmap(skin->ScrollBar.get()) || IsFreePending(this)) return;
  SCROLLBARINFO info;
  if (!GetBarInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  HWND self = HandleIfAllocated();
  RECT client;
  if (!self || !GetClientRect(self, &client)) return;
  RECT r = {0, 0, BarRect.right - BarRect.left, BarRect.bottom - BarRect.top};
  if (r.right < 0 || r.bottom < 0 || client.bottom < r.bottom || client.right < r.right) return;
  const bool vertical = Vertical();
  BarLength = vertical ? r.bottom : r.right;
  const int thickness = BarThickness(skin->ScrollBar->Bitmap.Height(), ArrowSize);

  // A control's bar is drawn at the strip's thickness and stretched over
  // the control; a window's bar is drawn on a face-coloured background of
  // its own size.
  TBitmap work;
  const int fullW = r.right, fullH = r.bottom;
  if (Mode == kOverlayControl) (vertical ? r.right : r.bottom) = thickness;
  SetSkinBitmapSize(work, Mode == kOverlayControl ? r.right : fullW, Mode == kOverlayControl ? r.bottom : fullH,
                    Face(*skin));
  if (work.Empty()) return;
  HDC wdc = work.Canvas()->Handle();
  SetStretchBltMode(wdc, COLORONCOLOR);

  TScrollBarLook look;
  look.vertical = vertical;
  look.enabled = BarEnabled(info);
  look.arrow = ArrowSize;
  look.thickness = thickness;
  look.length = BarLength;
  look.hotPart = HotPart;
  look.pressed = Pressed;
  if (Pressed && HotPart == kPartThumb && Mode != kOverlayControl) {
    POINT cursor;
    GetCursorPos(&cursor);
    const int delta = vertical ? cursor.y - PressCursor.y : cursor.x - PressCursor.x;
    look.thumb = TrackThumbSpan(PressThumbStart, delta, ThumbEnd - ThumbStart, ArrowSize, BarLength);
  } else {
    look.thumb = TThumbSpan{info.xyThumbTop, info.xyThumbBottom};
  }
  ThumbStart = look.thumb.start;
  ThumbEnd = look.thumb.end;
  look.limit = vertical ? client.bottom : client.right;
  DrawScrollBarParts(*skin, wdc, look);

  if (Mode == kOverlayControl) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, wdc, 0, 0, work.Width(), work.Height(), SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, work.Width(), work.Height(), wdc, 0, 0, SRCCOPY);
  }
}

// ---- TSkinScrollbar -----------------------------------------------------------------

const TClassInfo& TSkinScrollbar::StaticClass() {
  static const TClassInfo info("TSkinScrollbar", &TSkinControl::StaticClass());
  return info;
}

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

void TSkinScrollbar::BeforeDestruction() {
  FreeBars();
  TSkinControl::BeforeDestruction();
}

void TSkinScrollbar::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool) {
  InitScrollSkin(dynamic_cast<TControl*>(Owner()), skinData, form, formCanvas);
}

void TSkinScrollbar::InitScrollSkin(TControl*, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  if (Skinned) return;
  // The base stands in front of the control's procedure (the control is the
  // skinner's owner) and registers with the form skinner.
  TSkinControl::InitSkin(form, skinData, formCanvas, false);
  auto* control = dynamic_cast<TWinControl*>(Control);
  if (!Skinned || !control || !SkinData) return;
  // The window set up now (messages may arrive while the overlays are made).
  setupHandle_ = Handle;
  NewSystem = skinplatform::IsNT() && (skinplatform::VersionWord() & 0xFF) > 4 &&
              ((skinplatform::VersionWord() >> 8) & 0xFF) > 0;
  std::string border;
  GetEnumPropByName(control, "BorderStyle", border);
  FrameFlag = LowerCase(border) != "bsnone";
  if (control->ClassName() == "TImageScrollBox" || Mode == 1) FrameFlag = false;
  SaveAndReplaceFixedColor();
  HorzBar = new TWScrollbar(this);
  HorzBar->AttachToControl(this, control, kOverlayHorzBar);
  VertBar = new TWScrollbar(this);
  VertBar->AttachToControl(this, control, kOverlayVertBar);
  for (TWScrollbar* bar : {HorzBar, VertBar}) {
    bar->SetEnabled(control->Enabled());
    if (!control->Visible()) bar->HideBar();
  }
  if (FrameFlag && Handle) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::WindowAdopted() {
  setupHandle_ = Handle;
  SaveAndReplaceFixedColor();
  RepositionBars();
}

bool TSkinScrollbar::BeforeProc(TMessage& m) {
  if (State == 1 && Handle != setupHandle_) WindowAdopted();
  if (m.Msg == WM_NCPAINT && FrameFlag) {
    // The system paints its border and bars (the overlays cover the bars),
    // the flat frame goes over the border.
    CallOldProc(m);
    if (HDC dc = GetWindowDC(Handle)) {
      DrawFrame(dc);
      ReleaseDC(Handle, dc);
    }
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinScrollbar::DrawFrame(HDC dc) const {
  RECT r;
  if (!SkinData || !GetWindowRect(Handle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  try {
    HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->Colors[sc::ButtonShadow]));
    HBRUSH face = CreateSolidBrush(ColorToRGB(Face(*SkinData)));
    FrameRect(dc, &r, shadow);
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, face);
    DeleteObject(shadow);
    DeleteObject(face);
  } catch (...) {
    // A frame that cannot be drawn leaves the system's border.
  }
}

void TSkinScrollbar::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      AuxFlag = true;
      RepositionBars();
      break;
    case WM_HSCROLL:
      if (HorzBar) {
        HorzBar->HotPart = LOWORD(m.WParam);
        HorzBar->Invalidate();
      }
      break;
    case WM_VSCROLL:
      if (VertBar) {
        VertBar->HotPart = LOWORD(m.WParam);
        VertBar->Invalidate();
      }
      break;
    case WM_MOUSEWHEEL: InvalidateBars(); break;
    case CM_VISIBLECHANGED:
      if (m.WParam) {
        RepositionBars();
      } else {
        if (HorzBar) HorzBar->HideBar();
        if (VertBar) VertBar->HideBar();
      }
      break;
    case CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar && Control) bar->SetEnabled(Control->Enabled());
      break;
    case SKM_PAINTFRAMETO:
      if (m.LParam == kSkinMarker) {
        if (m.WParam) DrawFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinMarker;
      }
      break;
    default: TSkinControl::AfterProc(m); break;
  }
}

void TSkinScrollbar::RepositionBars() {
  if (HorzBar) HorzBar->UpdatePosition(Handle);
  if (VertBar) VertBar->UpdatePosition(Handle);
}

void TSkinScrollbar::InvalidateBars() {
  for (TWScrollbar* bar : {HorzBar, VertBar})
    if (bar && bar->Shown) bar->Invalidate();
}

void TSkinScrollbar::PaintControl(HDC dc, const RECT&) {
  const LONG style = Handle ? GetWindowLongW(Handle, GWL_STYLE) : 0;
  struct {
    TWScrollbar* bar;
    LONG styleBit;
  } bars[] = {{VertBar, WS_VSCROLL}, {HorzBar, WS_HSCROLL}};
  for (const auto& b : bars) {
    if (!b.bar) continue;
    if (b.bar->Shown)
      b.bar->Invalidate();
    else if (style & b.styleBit)
      b.bar->UpdatePosition(Handle);
  }
  if (!VertBar || !HorzBar || !VertBar->Shown || !HorzBar->Shown || !SkinData) return;
  // The corner between both bars, in window coordinates.
  const POINT offset = ClientOffset(Handle);
  RECT corner = {VertBar->BarRect.left, HorzBar->BarRect.top, VertBar->BarRect.right, HorzBar->BarRect.bottom};
  OffsetRect(&corner, offset.x, offset.y);
  FillColour(dc, corner, Face(*SkinData));
}

void TSkinScrollbar::SaveAndReplaceFixedColor() {
  if (!Control || !SkinData || GetOrdPropByName(Control, "FixedColor") == -1) return;
  // Saved only before the first skin: later the property holds the skin's
  // colour, not the control's.
  if (!UseSkinColour) {
    SavedColour = static_cast<TColor>(GetOrdPropByName(Control, "FixedColor"));
    UseSkinColour = true;
  }
  SetPropByName(Control, "FixedColor", std::to_string(static_cast<int32_t>(Face(*SkinData))));
}

void TSkinScrollbar::RestoreFixedColor() {
  if (!UseSkinColour) return;
  if (Control) SetPropByName(Control, "FixedColor", std::to_string(static_cast<int32_t>(SavedColour)));
  UseSkinColour = false;
}

void TSkinScrollbar::ApplySkinChange() {
  SaveAndReplaceFixedColor();
  for (TWScrollbar* bar : {HorzBar, VertBar})
    if (bar && SkinData) bar->Invalidate();
}

void TSkinScrollbar::Unskin() {
  // FixedColor first, so that the base does not take SavedColour for the
  // control's Color.
  RestoreFixedColor();
  const bool wasActive = Active;
  TSkinControl::Unskin();
  if (State == 6) return;
  FreeBars();
  if (wasActive && FrameFlag && Handle && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::FreeBars() {
  for (TWScrollbar** slot : {&HorzBar, &VertBar}) {
    TWScrollbar* bar = *slot;
    if (!bar) continue;
    *slot = nullptr;
    bar->ForgetOwner();
    bar->Free();
  }
}

void TSkinScrollbar::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == HorzBar) HorzBar = nullptr;
  if (component == VertBar) VertBar = nullptr;
}

// ---- TSkinScrollbarH ------------------------------------------------------------------

const TClassInfo& TSkinScrollbarH::StaticClass() {
  static const TClassInfo info("TSkinScrollbarH", &TSkinControl::StaticClass());
  return info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent* owner) : TSkinControl(owner) {}

void TSkinScrollbarH::BeforeDestruction() {
  FreeBars();
  TSkinControl::BeforeDestruction();
}

void TSkinScrollbarH::InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  if (Skinned) return;
  TSkinControl::InitSkinHandle(window, skinData, form, formCanvas);
  if (!Skinned) return;
  HorzBar = new TWScrollbar(this);
  HorzBar->AttachToWindow(this, window, kOverlayHorzBar);
  VertBar = new TWScrollbar(this);
  VertBar->AttachToWindow(this, window, kOverlayVertBar);
}

void TSkinScrollbarH::AfterProc(TMessage& m) {
  // A hidden list shows no bars.
  if (!IsWindowVisible(Handle)) {
    if (VertBar) VertBar->HideBar();
    if (HorzBar) HorzBar->HideBar();
  }
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      RepositionBars();
      Redraw();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (TWScrollbar* bar = m.Msg == WM_HSCROLL ? HorzBar : VertBar) {
        bar->HotPart = LOWORD(m.WParam);
        bar->Invalidate();
      }
      break;
    default: TSkinControl::AfterProc(m); break;
  }
}

void TSkinScrollbarH::RepositionBars() {
  if (HorzBar) HorzBar->UpdatePosition(Handle);
  if (VertBar) VertBar->UpdatePosition(Handle);
}

void TSkinScrollbarH::PaintControl(HDC dc, const RECT&) {
  for (TWScrollbar* bar : {HorzBar, VertBar})
    if (bar && bar->Shown) bar->Invalidate();
  if (!VertBar || !HorzBar || !VertBar->Shown || !HorzBar->Shown || !SkinData) return;
  const POINT offset = ClientOffset(Handle);
  RECT corner = {VertBar->BarRect.left, HorzBar->BarRect.top, VertBar->BarRect.right, HorzBar->BarRect.bottom};
  OffsetRect(&corner, offset.x, offset.y);
  FillColour(dc, corner, Face(*SkinData));
}

void TSkinScrollbarH::Unskin() {
  TSkinControl::Unskin();
  if (State != 6) FreeBars();
}

void TSkinScrollbarH::FreeBars() {
  for (TWScrollbar** slot : {&HorzBar, &VertBar}) {
    TWScrollbar* bar = *slot;
    if (!bar) continue;
    *slot = nullptr;
    bar->ForgetOwner();
    bar->Free();
  }
}

void TSkinScrollbarH::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == HorzBar) HorzBar = nullptr;
  if (component == VertBar) VertBar = nullptr;
}

// ---- TComboxScrollBar ------------------------------------------------------------------

const TClassInfo& TComboxScrollBar::StaticClass() {
  static const TClassInfo info("TComboxScrollBar", &TSkinControl::StaticClass());
  return info;
}

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner) { ArrowSize = SystemArrowSize(); }

bool TComboxScrollBar::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: return true;
    case WM_NCMOUSEMOVE:
      // The system's hot tracking would draw its own bar over the skin.
      return m.WParam != HTHSCROLL && m.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
      if (m.WParam == HTVSCROLL && ThumbDrag(m)) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (dragging_) dragCancelled_ = true;
      return TSkinControl::BeforeProc(m);
    default: return TSkinControl::BeforeProc(m);
  }
}

void TComboxScrollBar::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kListBoxStartTrack: PaintFrame(nullptr); break;
    default: TSkinControl::AfterProc(m); break;
  }
}

void TComboxScrollBar::PaintControl(HDC dc, const RECT&) {
  if (!SkinData || !HasBitmap(SkinData->ScrollBar.get())) return;
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfoOpt(Handle, OBJID_VSCROLL, info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  RECT window;
  if (!GetWindowRect(Handle, &window)) return;
  const RECT& bar = info.rcScrollBar;
  const int barW = bar.right - bar.left, barH = bar.bottom - bar.top;
  if (barW < 0 || barH < 0 || window.right - window.left < barW || window.bottom - window.top < barH) return;
  // The bar's own length: the list's window is longer by its border.
  BarLength = barH;
  const int thickness = BarThickness(SkinData->ScrollBar->Bitmap.Height(), ArrowSize);
  TBitmap work;
  SetSkinBitmapSize(work, thickness, BarLength, Face(*SkinData));
  if (work.Empty()) return;
  HDC wdc = work.Canvas()->Handle();
  SetStretchBltMode(wdc, COLORONCOLOR);
  TScrollBarLook look;
  look.vertical = true;
  look.enabled = BarEnabled(info);
  look.arrow = ArrowSize;
  look.thickness = thickness;
  look.length = BarLength;
  look.thumb = TThumbSpan{info.xyThumbTop, info.xyThumbBottom};
  look.limit = BarLength;
  ThumbStart = look.thumb.start;
  ThumbEnd = look.thumb.end;
  DrawScrollBarParts(*SkinData, wdc, look);
  BitBlt(dc, bar.left - window.left, bar.top - window.top, work.Width(), work.Height(), wdc, 0, 0, SRCCOPY);
}

bool TComboxScrollBar::ThumbDrag(const TMessage& press) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfoOpt(Handle, OBJID_VSCROLL, info)) return false;
  const int pressY = GET_Y_LPARAM(press.LParam);
  const int p = pressY - info.rcScrollBar.top;
  if (p < info.xyThumbTop || p > info.xyThumbBottom) return false;
  SetCapture(Handle);
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = kScrollInfoMask;
  GetScrollInfo(Handle, SB_VERT, &si);
  const int track = (info.rcScrollBar.bottom - info.rcScrollBar.top) - 2 * ArrowSize;
  RunDragLoop(pressY, info.xyThumbTop - ArrowSize, track, info.xyThumbBottom - info.xyThumbTop, si);
  if (GetCapture() == Handle) ReleaseCapture();
  return true;
}

void TComboxScrollBar::RunDragLoop(int startY, int thumbOffset, int track, int thumbLength, const SCROLLINFO& si) {
  dragging_ = true;
  dragCancelled_ = false;
  int last = si.nPos;
  HWND list = Handle;
  auto lost = [&] { return dragCancelled_ || !IsWindow(list) || GetCapture() != list; };
  bool done = false;
  while (!done && !lost()) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing to do: wait for input instead of asking again at once.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kDragWaitMs, QS_ALLINPUT);
      continue;
    }
    switch (msg.message) {
      case WM_QUIT:
        // The program is ending: the quit goes back for its message loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        done = true;
        break;
      case WM_NCMOUSEMOVE:
      case WM_MOUSEMOVE: {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        const int n = thumbOffset + (msg.pt.y - startY);
        const int position = DragScrollPosition(n, track, thumbLength, si.nMin, si.nMax, static_cast<int>(si.nPage));
        if (position != last && IsWindow(list)) SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
        last = position;
        break;
      }
      case WM_NCLBUTTONUP:
      case WM_LBUTTONUP:
        if (IsWindow(list)) {
          SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
          PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
        }
        done = true;
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
  }
  dragging_ = false;
}

// ---- registration ----------------------------------------------------------------------

void RegisterScrollBarSkinners() {
  RegisterSkinnerClass("TSkinScrollbar", [](TComponent* owner) -> TSkinControl* { return new TSkinScrollbar(owner); });
  RegisterSkinnerClass("TSkinScrollbarH",
                       [](TComponent* owner) -> TSkinControl* { return new TSkinScrollbarH(owner); });
  RegisterSkinnerClass("TComboxScrollBar",
                       [](TComponent* owner) -> TSkinControl* { return new TComboxScrollBar(owner); });
}
