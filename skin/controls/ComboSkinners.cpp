#include "ComboSkinners.h"

#include <windowsx.h>

#include <algorithm>

#include "Bitmap.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// The picker's arrow button is this much shorter than the picker and
// stands this far from its right edge (inside its border).
constexpr int kArrowInset = 4;
constexpr int kLeftArrowOffset = 2;
constexpr int kArrowHoverFrame = 4;
constexpr int kArrowNormalFrame = 1;

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

int FrameCount(const TDataSkinObject& o) { return o.Frame < 1 ? 1 : o.Frame; }

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

void Outline(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

// A work bitmap of r's size holding what dc shows there, so that the
// skin's transparent pixels keep it; drawn on and copied back in one blit.
class TComposition {
 public:
  TComposition(HDC target, const RECT& r) : target_(target), r_(r) {
    SetSkinBitmapSize(work_, r.right - r.left, r.bottom - r.top);
    if (!work_.Empty())
      BitBlt(work_.Canvas()->Handle(), 0, 0, work_.Width(), work_.Height(), target, r.left, r.top, SRCCOPY);
  }
  bool Ok() { return !work_.Empty(); }
  HDC Dc() { return work_.Canvas()->Handle(); }
  void CopyBack() { BitBlt(target_, r_.left, r_.top, work_.Width(), work_.Height(), Dc(), 0, 0, SRCCOPY); }

 private:
  HDC target_;
  RECT r_;
  TBitmap work_;
};

}  // namespace

int ComboButtonState(bool pressed, bool focused, bool hot, bool enabled, bool flatLook) {
  if (flatLook) {
    if (pressed) return kComboPressed;
    if (focused || hot) return kComboHot;
    return enabled ? kComboNormal : kComboDisabled;
  }
  if (!enabled) return kComboDisabled;
  if (pressed) return kComboPressed;
  return focused || hot ? kComboHot : kComboNormal;
}

TComboPartsLayout ComboPartsLayout(const RECT& r, int e, bool buttonOnLeft) {
  TComboPartsLayout l;
  if (!buttonOnLeft) {
    l.editArea = RECT{r.left + 2, r.top + 2, r.right - e - 4, r.bottom - 2};
    l.button = RECT{r.right - e - 2, r.top, r.right, r.bottom};
    l.glyph = RECT{r.right - e - 2, r.top, r.right - 2, r.bottom};
  } else {
    l.editArea = RECT{e + r.left + 4, r.top + 2, r.right - 2, r.bottom - 2};
    l.button = RECT{r.left, r.top, r.left + e + 2, r.bottom};
    l.glyph = RECT{2, r.top, e + 2, r.bottom};
  }
  return l;
}

void DrawBoxedFrame(HWND window, HDC dc, const RECT& r, TSkinData& skin) {
  RECT w, c;
  if (!GetWindowRect(window, &w) || !GetClientRect(window, &c)) return;
  // Only a window with a border: its client area smaller in both directions.
  if (w.right - w.left == c.right || w.bottom - w.top == c.bottom) return;
  Outline(dc, r, Rgb(skin.Colors[sc::ButtonShadow]));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  Outline(dc, inner, RGB(255, 255, 255));
}

// ---- TSkinComBox ------------------------------------------------------------------

const TClassInfo& TSkinComBox::StaticClass() {
  static const TClassInfo info("TSkinComBox", &TSkinControl::StaticClass());
  return info;
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinComBox::BeforeDestruction() {
  editSubclass_.Remove();
  FreeListSkinners();
  TSkinControl::BeforeDestruction();
}

void TSkinComBox::Configure(const std::string& key, const std::string& value) {
  if (key == "BoxedArrow") {
    BoxedArrow = value == "1" || value == "True" || value == "true";
    return;
  }
  TSkinControl::Configure(key, value);
}

bool TSkinComBox::FetchComboInfo() {
  Info = COMBOBOXINFO{};
  Info.cbSize = sizeof Info;
  return Handle && skinplatform::CallGetComboBoxInfo(Handle, &Info) != FALSE;
}

void TSkinComBox::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  if (!Skinned || !Handle) return;
  ComboStyle = GetLong(Handle, GWL_STYLE);
  if (!IsSimple()) {
    // The drop-down list gets its scroll-bar skinner when it drops down.
    SubclassEditChild();
    ListWindow = nullptr;
    return;
  }
  if (!FetchComboInfo()) return;
  ListWindow = Info.hwndList;
  if (ListWindow && !IsPopupWindow(ListWindow) && (GetWindowLongW(ListWindow, GWL_STYLE) & WS_CHILD)) {
    DropListSkinner = new TSkinScrollbarH(Control);
    FreeNotification(DropListSkinner);
    DropListSkinner->InitSkinHandle(ListWindow, SkinData, Form, nullptr);
  }
}

void TSkinComBox::InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  if (Skinned) return;
  TSkinControl::InitSkinHandle(window, skinData, form, formCanvas);
  if (!Skinned || !Handle) return;
  ComboStyle = GetLong(Handle, GWL_STYLE);
  if (!IsSimple()) {
    SubclassEditChild();
    ListWindow = nullptr;
  } else if (FetchComboInfo()) {
    ListWindow = Info.hwndList;
  }
}

void TSkinComBox::SubclassEditChild() {
  EditChild = Handle ? GetTopWindow(Handle) : nullptr;
  // The subclass passes the edit's messages on in the edit's own character
  // set, so a Unicode edit is served as well.
  if (EditChild) editSubclass_.Install(EditChild, [this](TMessage& m) { EditChildWindowProc(m); });
}

void TSkinComBox::EditChildWindowProc(TMessage& m) {
  TBusyScope busy(this);
  editSubclass_.CallPrevious(m);
  if (!Active) return;
  switch (m.Msg) {
    case WM_PAINT: PaintFrame(nullptr); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseFlags |= kDown;
      PaintFrame(nullptr);
      break;
    case WM_LBUTTONUP:
      MouseFlags &= ~kDown;
      PaintFrame(nullptr);
      break;
    default: break;
  }
}

void TSkinComBox::MakeDropListSkinner() {
  if (DropDownListSkinner || !Control || !(ComboStyle & CBS_DROPDOWN) || !FetchComboInfo() || !Info.hwndList) return;
  auto* list = new TComboxScrollBar(Control);
  FreeNotification(list);
  DropDownListSkinner = list;
  list->InitSkinHandle(Info.hwndList, SkinData, Form, nullptr);
}

void TSkinComBox::ReleaseDropListSkinner() {
  TComboxScrollBar* list = DropDownListSkinner;
  if (!list) return;
  DropDownListSkinner = nullptr;
  RemoveFreeNotification(list);
  list->Unskin();
  // Freed while the list handles its own message (the close-up comes from
  // its button release): it leaves the list at once and goes afterwards.
  list->Free();
}

void TSkinComBox::FreeListSkinners() {
  ReleaseDropListSkinner();
  if (TSkinScrollbarH* simple = DropListSkinner) {
    DropListSkinner = nullptr;
    RemoveFreeNotification(simple);
    simple->Unskin();
    simple->Free();
  }
}

void TSkinComBox::Unskin() {
  TSkinControl::Unskin();
  editSubclass_.Remove();
  FreeListSkinners();
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == DropListSkinner) DropListSkinner = nullptr;
  if (component == DropDownListSkinner) DropDownListSkinner = nullptr;
}

bool TSkinComBox::HasFocus() const {
  HWND focus = GetFocus();
  return focus && (focus == Handle || (EditChild && focus == EditChild));
}

void TSkinComBox::MouseMoved(POINT p) {
  const bool enabled = IsWindowEnabled(Handle) != FALSE;
  const bool inButton = PtInRect(&ButtonRect, p) != FALSE;
  if (MouseFlags & kHot) {
    if (!inButton && enabled) {
      MouseFlags &= ~kHot;
      Redraw();
    }
  } else if (inButton && enabled) {
    MouseFlags |= kHot;
    Redraw();
  }
  TrackMouseLeave(Handle);
}

void TSkinComBox::MouseLeft() {
  if (!(MouseFlags & kHot)) return;
  MouseFlags &= ~kHot;
  Redraw();
}

void TSkinComBox::ListNotice(WORD code) {
  switch (code) {
    case CBN_DROPDOWN: MakeDropListSkinner(); break;
    case CBN_CLOSEUP:
      ReleaseDropListSkinner();
      // A press that ended in the list never came back to the box.
      if (MouseFlags & kDown) {
        MouseFlags &= ~kDown;
        Redraw();
      }
      break;
    default: break;
  }
}

void TSkinComBox::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: break;
    case WM_MOUSEMOVE: MouseMoved(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}); break;
    case WM_DRAWITEM:
    case WM_NCPAINT: Redraw(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseFlags |= kDown;
      Redraw();
      break;
    case WM_LBUTTONUP:
      MouseFlags &= ~kDown;
      Redraw();
      break;
    case WM_MOUSELEAVE:
    case kCmMouseLeave: MouseLeft(); break;
    case CN_COMMAND: ListNotice(HIWORD(m.WParam)); break;
    case WM_WINDOWPOSCHANGED: GiveBackUncovered(); break;
    default: TSkinControl::AfterProc(m); break;
  }
}

bool TSkinComBox::RectInParent(RECT& r) const {
  HWND parent = Handle ? GetParent(Handle) : nullptr;
  if (!parent || !GetWindowRect(Handle, &r)) return false;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return true;
}

void TSkinComBox::GiveBackUncovered() {
  // The box was painted larger than it now is (a drop-down box is first
  // made as tall as its list): its parent repaints what the box no longer
  // covers, with any children there.
  RECT now;
  if (IsRectEmpty(&painted_) || !RectInParent(now)) return;
  RECT joined;
  UnionRect(&joined, &now, &painted_);
  if (!EqualRect(&joined, &now))
    RedrawWindow(GetParent(Handle), &painted_, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  painted_ = now;
}

void TSkinComBox::PaintControl(HDC dc, const RECT& r) {
  TDataSkinBorder* button = SkinData ? SkinData->ComboButton.get() : nullptr;
  if (!button || button->Bitmap.Empty()) return;
  RECT where;
  if (RectInParent(where)) UnionRect(&painted_, &painted_, &where);
  ComboStyle = GetLong(Handle, GWL_STYLE);
  ComboExStyle = GetLong(Handle, GWL_EXSTYLE);
  if (FetchComboInfo()) {
    ButtonRect = Info.rcButton;
    if (Info.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  if (button->Style == kComboLookFlat) {
    PaintFlat(dc, r);
    return;
  }
  const int state = ComboButtonState((MouseFlags & kDown) != 0, HasFocus(), (MouseFlags & kHot) != 0,
                                     !(ComboStyle & WS_DISABLED), false);
  if (BoxedArrow)
    PaintBoxed(dc, r, state);
  else if (button->Style == kComboLookWhole)
    PaintWhole(dc, r, state);
  else
    PaintParts(dc, r, state);
}

void TSkinComBox::PaintWhole(HDC dc, const RECT& r, int state) {
  // The edge, button and arrow in one image; the edit area of the image is
  // transparent.
  const bool left = (ComboExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  TDataSkinObject* image = left && SkinData->SunkEdge ? static_cast<TDataSkinObject*>(SkinData->SunkEdge.get())
                                                      : SkinData->ComboButton.get();
  if (image->Bitmap.Empty()) return;
  const int count = FrameCount(*image);
  DrawSkinImage(dc, ToSkinRect(r), image->Bitmap, false, false, true, count, SafeFrame(state, count),
                image->Margins());
}

void TSkinComBox::PaintParts(HDC dc, const RECT& r, int state) {
  TDataSkinBorder& button = *SkinData->ComboButton;
  const bool left = (ComboExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TComboPartsLayout l = ComboPartsLayout(r, GetSystemMetrics(SM_CXHSCROLL), left);
  TBitmap& image = left && !button.Bitmap2.Empty() ? button.Bitmap2 : button.Bitmap;
  TComposition work(dc, r);
  if (!work.Ok()) return;
  HDC w = work.Dc();
  if (TDataSkinObject* edge = SkinData->SunkEdge.get())
    DrawSkinObject(this, w, r, FrameCount(*edge), SafeFrame(state, FrameCount(*edge)), edge);
  DrawStripKeyed(this, w, l.button, FrameCount(button), SafeFrame(state, FrameCount(button)), image);
  ButtonRect = l.button;
  if (TDataSkinObject* glyph = SkinData->ExtraImages.get())
    if (!glyph->Bitmap.Empty())
      DrawSkinCellCentered(w, ToSkinRect(l.glyph), glyph->Bitmap, true, FrameCount(*glyph),
                           SafeFrame(state, FrameCount(*glyph)));
  // The edit area stays as the combo box drew it.
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, l.editArea.left, l.editArea.top, l.editArea.right, l.editArea.bottom);
  work.CopyBack();
  RestoreDC(dc, saved);
}

void TSkinComBox::PaintFlat(HDC dc, const RECT& r) {
  TDataSkinBorder& button = *SkinData->ComboButton;
  const int state = ComboButtonState((MouseFlags & kDown) != 0, HasFocus(), (MouseFlags & kHot) != 0,
                                     IsWindowEnabled(Handle) != FALSE, true);
  const bool left = (ComboExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  TComposition work(dc, r);
  if (!work.Ok()) return;
  HDC w = work.Dc();
  // The device context's own brush covers the system's inner edge and the
  // strip where its button was.
  HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT outer = r;
  InflateRect(&outer, -1, -1);
  FrameRect(w, &outer, brush);
  RECT inner = outer;
  InflateRect(&inner, -1, -1);
  const int thumb = GetSystemMetrics(SM_CYVTHUMB);
  RECT strip = left ? RECT{inner.left, inner.top, inner.left + thumb, inner.bottom}
                    : RECT{inner.right - thumb, inner.top, inner.right, inner.bottom};
  FillRect(w, &strip, brush);
  const int frameWidth = button.FrameWidth();
  RECT b = left ? RECT{inner.left, inner.top, inner.left + frameWidth, inner.bottom}
                : RECT{inner.right - frameWidth, inner.top, inner.right, inner.bottom};
  if (button.Bitmap.Height() < thumb) b.bottom = b.top + button.Bitmap.Height();
  ButtonRect = b;
  Outline(w, r, Rgb(SkinData->Colors[sc::ButtonShadow]));
  DrawStrip(this, w, b, FrameCount(button), SafeFrame(state, FrameCount(button)), button.Bitmap);
  work.CopyBack();
}

void TSkinComBox::PaintBoxed(HDC dc, const RECT& r, int state) {
  TComposition work(dc, r);
  if (!work.Ok()) return;
  HDC w = work.Dc();
  DrawBoxedFrame(Handle, w, r, *SkinData);
  RECT edit;
  TDataSkinObject* arrow = SkinData->ComboArrow.get();
  if (EditChild && IsWindow(EditChild) && GetWindowRect(EditChild, &edit)) {
    RECT self;
    GetWindowRect(Handle, &self);
    OffsetRect(&edit, -self.left, -self.top);
    FillColour(w, edit, SkinData->Colors[sc::ButtonFace]);
    if (arrow && !arrow->Bitmap.Empty())
      DrawStripKeyed(this, w, edit, FrameCount(*arrow), SafeFrame(state, FrameCount(*arrow)), arrow->Bitmap);
  }
  work.CopyBack();
}

// ---- TArrowButton -------------------------------------------------------------------

const TClassInfo& TArrowButton::StaticClass() {
  static const TClassInfo info("TArrowButton", &TCustomControl::StaticClass());
  return info;
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {
  ownPaint_ = true;
  opaque_ = true;
  SetTabStop(false);
  ArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
}

void TArrowButton::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.parent = PickerWindow;
  p.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

int TArrowButton::PickerHeight() const {
  RECT w;
  return PickerWindow && GetWindowRect(PickerWindow, &w) ? w.bottom - w.top : 0;
}

bool TArrowButton::LeftScrollBar() const {
  return PickerWindow && (GetWindowLongW(PickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
}

void TArrowButton::Place(int left) {
  // Placed through its window: it has no framework parent to measure from.
  if (HWND h = Handle()) MoveWindow(h, left, 0, ArrowWidth, std::max(0, PickerHeight() - kArrowInset), TRUE);
}

void TArrowButton::AttachToPicker(TSkinDateTime* skinner, TWinControl* picker) {
  OwnerSkinner = skinner;
  Picker = picker;
  PickerWindow = picker ? picker->HandleIfAllocated() : nullptr;
  if (!PickerWindow) return;
  // The picker does not paint over its child.
  const LONG style = GetWindowLongW(PickerWindow, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    SetWindowLongW(PickerWindow, GWL_STYLE, style | WS_CLIPCHILDREN);
    if (skinner) skinner->addedClipChildren_ = true;
  }
  RECT w;
  GetWindowRect(PickerWindow, &w);
  SetVisible(true);
  Place(LeftScrollBar() ? kLeftArrowOffset : (w.right - w.left) - ArrowWidth - kArrowInset);
}

void TArrowButton::AlignToRect(const RECT& r) {
  HWND h = HandleIfAllocated();
  if (!h) return;
  const int left = LeftScrollBar() ? kLeftArrowOffset : r.right - ArrowWidth - kArrowInset;
  RECT now;
  GetWindowRect(h, &now);
  POINT at = {now.left, now.top};
  ::ScreenToClient(PickerWindow, &at);
  const int height = std::max(0, PickerHeight() - kArrowInset);
  if (at.x != left || at.y != 0 || now.right - now.left != ArrowWidth || now.bottom - now.top != height) Place(left);
}

void TArrowButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      if (Picker && Picker->Enabled()) {
        StateBits = m.Msg == CM_MOUSEENTER ? StateBits | kHover : StateBits & ~kHover;
        Invalidate();
      }
      return;
    case WM_LBUTTONDOWN:
      TCustomControl::WndProc(m);
      ButtonDown(m);
      return;
    case WM_LBUTTONUP: {
      TCustomControl::WndProc(m);
      // The press opened the calendar and focused the picker already; the
      // calendar holds the activation while it is open, and a picker that
      // takes the focus back from it closes it.
      if (!PickerWindow || !IsWindow(PickerWindow)) return;
      HWND calendar = reinterpret_cast<HWND>(SendMessageW(PickerWindow, DTM_GETMONTHCAL, 0, 0));
      if (!calendar || !IsWindowVisible(calendar)) ::SetFocus(PickerWindow);
      return;
    }
    default: TCustomControl::WndProc(m); return;
  }
}

void TArrowButton::ButtonDown(const TMessage& m) {
  HWND h = HandleIfAllocated();
  if (!h || !PickerWindow || !IsWindow(PickerWindow)) return;
  // The real drop-down button lies under this one: the picker gets the
  // press at the same place, in its own coordinates.
  POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  MapWindowPoints(h, PickerWindow, &p, 1);
  PostMessageW(PickerWindow, WM_LBUTTONDOWN, m.WParam, MAKELPARAM(p.x, p.y));
  PostMessageW(PickerWindow, WM_LBUTTONUP, m.WParam, MAKELPARAM(p.x, p.y));
  Invalidate();
}

void TArrowButton::PaintWindow(HDC dc) {
  TSkinData* skin = OwnerSkinner ? OwnerSkinner->SkinData : nullptr;
  HWND h = HandleIfAllocated();
  RECT client;
  if (!skin || !h || !GetClientRect(h, &client) || IsFreePending(this)) return;
  const RECT d = {0, 0, client.right, std::max(0, PickerHeight() - kArrowInset)};
  TBitmap work;
  SetSkinBitmapSize(work, client.right, client.bottom, skin->Colors[sc::ButtonFace]);
  if (work.Empty()) return;
  HDC w = work.Canvas()->Handle();
  FillColour(w, d, skin->Colors[sc::ButtonFace]);
  if (TDataSkinObject* arrow = skin->ComboArrow.get()) {
    if (!arrow->Bitmap.Empty() && d.right > 0 && d.bottom > 0) {
      const int count = FrameCount(*arrow);
      const int frame = SafeFrame(Hovering() ? kArrowHoverFrame : kArrowNormalFrame, count);
      const int fw = arrow->Bitmap.Width() / count;
      const RECT source = {fw * (frame - 1), 0, fw * frame, arrow->Bitmap.Height()};
      SetStretchBltMode(w, COLORONCOLOR);
      work.Canvas()->CopyRect(d, *arrow->Bitmap.Canvas(), source);
    }
  }
  BitBlt(dc, 0, 0, work.Width(), work.Height(), w, 0, 0, SRCCOPY);
}

// ---- TSkinDateTime ----------------------------------------------------------------

const TClassInfo& TSkinDateTime::StaticClass() {
  static const TClassInfo info("TSkinDateTime", &TSkinControl::StaticClass());
  return info;
}

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

void TSkinDateTime::BeforeDestruction() {
  FreeArrowButton();
  TSkinControl::BeforeDestruction();
}

void TSkinDateTime::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  auto* picker = dynamic_cast<TWinControl*>(Control);
  if (!Skinned || !picker) return;
  ArrowButton = new TArrowButton(this);
  ArrowButton->AttachToPicker(this, picker);
}

void TSkinDateTime::AfterProc(TMessage& m) {
  if (m.Msg == WM_SIZE) {
    if (ArrowButton) {
      RECT r;
      if (GetWindowRect(Handle, &r)) ArrowButton->AlignToRect(RECT{0, 0, r.right - r.left, r.bottom - r.top});
      ArrowButton->Repaint();
    }
    return;
  }
  TSkinControl::AfterProc(m);
}

void TSkinDateTime::PaintControl(HDC dc, const RECT& r) {
  if (ArrowButton) ArrowButton->AlignToRect(r);
  if (SkinData) DrawBoxedFrame(Handle, dc, r, *SkinData);
}

void TSkinDateTime::Unskin() {
  TSkinControl::Unskin();
  FreeArrowButton();
}

void TSkinDateTime::FreeArrowButton() {
  TArrowButton* button = ArrowButton;
  if (!button) return;
  ArrowButton = nullptr;
  button->ForgetOwner();
  button->Free();
  // The picker's style as it was.
  if (addedClipChildren_ && State != 6 && Handle && IsWindow(Handle)) {
    SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) & ~WS_CLIPCHILDREN);
    InvalidateRect(Handle, nullptr, TRUE);
  }
  addedClipChildren_ = false;
}

void TSkinDateTime::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == ArrowButton) ArrowButton = nullptr;
}

void RegisterComboSkinners() {
  RegisterSkinnerClass("TSkinComBox", [](TComponent* owner) -> TSkinControl* { return new TSkinComBox(owner); });
  RegisterSkinnerClass("TSkinDateTime", [](TComponent* owner) -> TSkinControl* { return new TSkinDateTime(owner); });
}
