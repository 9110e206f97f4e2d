#include "SkinControl.h"

#include <map>

#include "ImgUtilGdi.h"
#include "PropertyText.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "Text.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

// ---- makers --------------------------------------------------------------

namespace {

std::map<std::string, TSkinnerMaker>& Makers() {
  static std::map<std::string, TSkinnerMaker> makers;
  return makers;
}

// The skinner's rectangle of a window: its window rectangle at the origin.
bool WindowRectAtOrigin(HWND window, RECT& r) {
  RECT w;
  if (!window || !GetWindowRect(window, &w)) return false;
  r = RECT{0, 0, w.right - w.left, w.bottom - w.top};
  return true;
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

void RegisterSkinnerClass(const std::string& className, TSkinnerMaker maker) {
  Makers()[UpperCase(className)] = std::move(maker);
}

void UnregisterSkinnerClass(const std::string& className) { Makers().erase(UpperCase(className)); }

bool IsSkinnerClassRegistered(const std::string& className) {
  return Makers().count(UpperCase(className)) != 0;
}

TSkinnerMaker FindSkinnerMaker(const std::string& className) {
  auto it = Makers().find(UpperCase(className));
  return it == Makers().end() ? TSkinnerMaker() : it->second;
}

TSkinControl* MakeSkinner(const std::string& className, TComponent* owner) {
  auto it = Makers().find(UpperCase(className));
  if (it == Makers().end() || !it->second) return nullptr;
  return it->second(owner);
}

// ---- TSkinControl --------------------------------------------------------

const TClassInfo& TSkinControl::StaticClass() {
  static const TClassInfo info("TSkinControl", &TComponent::StaticClass());
  return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() { Detach(); }

void TSkinControl::BeforeDestruction() {
  Detach();
  TComponent::BeforeDestruction();
}

void TSkinControl::Detach() {
  if (detached_) return;
  detached_ = true;
  // The control gets its own procedure back: a hook in front of the
  // WindowProc, or the subclass of a plain window.
  frameworkHook_.Remove();
  windowSubclass_.Remove();
  if (Form) Form->UnregisterSkinner(this);
  Form = nullptr;
}

bool TSkinControl::DeferFree() {
  if (!IsBusy(this)) return false;
  Detach();
  return DeferFreeWhileBusy(this);
}

void TSkinControl::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  UseSkinColour = useSkinColour;
  SkinData = skinData;
  Form = form;
  FormCanvas = formCanvas;
  Control = dynamic_cast<TControl*>(Owner());
  if (!Control) return;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) Handle = w->Handle();
  IsUnicode = Handle && IsWindowUnicode(Handle);
  frameworkHook_.Install(Control, [this](TMessage& m) { SkinnerWindowProc(m); });
  if (Form) Form->RegisterSkinner(this);
  if (UseSkinColour) {
    SwitchParentBackground(true);
    SavedColour = Control->Color();
    Control->SetColor(SkinData->Colors[sc::ButtonFace]);
  }
  if (ParentBackgroundCleared) Mode = 1;
  Control->Invalidate();
  Skinned = true;
  State = 1;
}

void TSkinControl::InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  if (Skinned) return;
  SkinData = skinData;
  FormCanvas = formCanvas;
  Form = form;
  Handle = window;
  IsEnabled = true;
  Mode = 0;
  if (Form) Form->RegisterSkinner(this);
  IsUnicode = window && IsWindowUnicode(window);
  GetWindowCaption(window, Caption);
  windowSubclass_.Install(window, [this](TMessage& m) { SkinnerWindowProc(m); });
  if (Handle) InvalidateRect(Handle, nullptr, TRUE);
  Skinned = true;
  State = 1;
}

void TSkinControl::InitScrollSkin(TControl*, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  InitSkin(form, skinData, formCanvas, false);
}

void TSkinControl::InitOwnSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas) {
  InitSkin(form, skinData, formCanvas, false);
}

void TSkinControl::Configure(const std::string& key, const std::string& value) {
  int32_t n = 0;
  if (key == "Mode" && TryStrToInt(value, n)) Mode = n;
}

void TSkinControl::SkinnerWindowProc(TMessage& m) {
  TBusyScope busy(this);
  if (m.Msg == SKM_SKINSTATE) {
    const bool was = Active;
    Active = static_cast<int>(m.WParam) > 0;
    if (Active != was) SkinStateChanged();
    if (Active) Redraw();
    return;
  }
  if (m.Msg == CM_RECREATEWND) {
    CallOldProc(m);
    WindowRecreated();
    return;
  }
  if (!Active) {
    if (m.Msg == WM_NCDESTROY) {
      State = 6;
      activeAtDestruction_ = false;
    }
    CallOldProc(m);
    return;
  }
  if (!BeforeProc(m)) return;
  // The control's painting into a given DC may leave its clipping in it:
  // the skinner paints over it with the DC as it came.
  HDC given = m.Msg == WM_PAINT ? reinterpret_cast<HDC>(m.WParam) : nullptr;
  const int saved = given ? SaveDC(given) : 0;
  CallOldProc(m);
  if (given) RestoreDC(given, saved);
  // Freed while the control handled the message: nothing of ours is left.
  if (!detached_) AfterProc(m);
}

void TSkinControl::CallOldProc(TMessage& m) {
  if (frameworkHook_.Control())
    frameworkHook_.CallPrevious(m);
  else
    windowSubclass_.CallPrevious(m);
}

void TSkinControl::WindowRecreated() {
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (State != 6 || !w || !w->HandleIfAllocated()) return;
  Handle = w->HandleIfAllocated();
  IsUnicode = IsWindowUnicode(Handle) != FALSE;
  State = 1;
  Active = activeAtDestruction_;
  Redraw();
}

bool TSkinControl::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      State = 6;
      activeAtDestruction_ = Active;
      CallOldProc(m);
      if (Active) Unskin();
      return false;
    case SKM_ISSKINNED:
      m.Result = 1;
      return false;
    case SKM_PAINTCLIENTTO:
      // The control paints itself into the given DC, the skinner over it.
      if (m.LParam != kSkinMarker) return true;
      if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        const int saved = SaveDC(dc);
        CallOldProc(paint);
        RestoreDC(dc, saved);
        PaintFrame(dc);
      }
      m.Result = kSkinMarker;
      return false;
    default: return true;
  }
}

void TSkinControl::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case kCmEnabledChanged: Redraw(); break;
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(m.WParam)); break;
    case SKM_SKINSTATE: Active = static_cast<int>(m.WParam) > 0; break;
    default: break;
  }
}

void TSkinControl::PaintFrame(HDC dc) {
  RECT r;
  if (!WindowRectAtOrigin(Handle, r)) return;
  HDC own = nullptr;
  if (!dc) dc = own = GetWindowDC(Handle);
  try {
    if (dc) PaintControl(dc, r);
  } catch (...) {
    // A painting failure leaves the control as the system drew it.
  }
  if (own) ReleaseDC(Handle, own);
}

void TSkinControl::Unskin() {
  if (!Active) return;
  Active = false;
  if (State == 6 || !UseSkinColour || !Control) return;
  SwitchParentBackground(false);
  Control->SetColor(SavedColour);
}

void TSkinControl::ApplySkinChange() {
  if (UseSkinColour && Control) Control->SetColor(SkinData->Colors[sc::ButtonFace]);
  Redraw();
}

void TSkinControl::Redraw() {
  if (PaintTarget) {
    PaintTarget->Invalidate();
  } else if (Handle) {
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
  }
}

void TSkinControl::SwitchParentBackground(bool off) {
  if (!SkinData || SkinData->HasOption(xoParentBackGround) || !Control) return;
  if (!IsPublishedProp(Control, "ParentBackground")) return;
  if (off) {
    std::string text;
    GetEnumPropByName(Control, "ParentBackground", text);
    ParentBackgroundCleared = LowerCase(text) == "true";
    if (ParentBackgroundCleared) SetPropByName(Control, "ParentBackground", "False");
  } else if (ParentBackgroundCleared) {
    SetPropByName(Control, "ParentBackground", "True");
  }
}

TColor TSkinControl::ParentColour(TColor defaultColour) const {
  if (!Control || !Control->Parent()) return defaultColour;
  const TPropInfo* p = Control->Parent()->ClassInfo().FindProp("Color");
  if (!p || p->kind != TPropKind::Integer) return defaultColour;
  int32_t value = 0;
  if (GetOrdProp(Control->Parent(), "Color", value) != TPropStatus::Ok) return defaultColour;
  return static_cast<TColor>(value);
}

void TSkinControl::FillSkinColour(HDC dc, const RECT& rect) const {
  if (SkinData) FillColour(dc, rect, SkinData->Colors[sc::ButtonFace]);
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) const {
  if (SkinData) FillColour(dc, rect, ParentColour(SkinData->Colors[sc::ButtonFace]));
}

LONG TSkinControl::GetLong(HWND window, int index) const {
  return IsUnicode ? GetWindowLongW(window, index) : GetWindowLongA(window, index);
}

void TSkinControl::DrawCaptionFocus(HDC dc, UINT flags, const RECT& r) {
  RECT t = r;
  DrawTextWide(dc, Caption, t, flags | DT_CALCRECT | DT_NOCLIP);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  if (flags & DT_CENTER)
    OffsetRect(&t, (rw - tw) / 2, (rh - th) / 2 - 1);
  else if (flags & DT_RIGHT)
    OffsetRect(&t, rw - tw, 0);
  InflateRect(&t, 2, 1);
  if (t.left < r.left) t.left = r.left;
  if (t.right > r.right) t.right = r.right;
  DrawFocusRect(dc, &t);
}

void TSkinControl::ForwardMouseDown(const TMessage& m) {
  if (!Control) return;
  int x = static_cast<short>(LOWORD(m.LParam));
  int y = static_cast<short>(HIWORD(m.LParam));
  if (Control->Width() > 32768 || Control->Height() > 32768) {
    POINT p;
    GetCursorPos(&p);
    p = Control->ScreenToClient(p);
    x = p.x;
    y = p.y;
  }
  Control->MouseDown(mbLeft, KeysToShiftState(m.WParam), x, y);
}

// ---- properties by name ----------------------------------------------------

int32_t GetOrdPropByName(const TObject* object, const std::string& name) {
  if (!object) return -1;
  const TPropInfo* p = object->ClassInfo().FindProp(name);
  if (!p || p->kind != TPropKind::Integer) return -1;
  int32_t value = -1;
  if (GetOrdProp(object, name, value) != TPropStatus::Ok) return -1;
  return value;
}

void GetEnumPropByName(const TObject* object, const std::string& name, std::string& text) {
  text.clear();
  if (!object) return;
  const TPropInfo* p = object->ClassInfo().FindProp(name);
  if (!p || p->kind != TPropKind::Enumeration) return;
  if (GetPropText(object, name, text) != TPropStatus::Ok) text.clear();
}

void GetWideStrPropByName(const TObject* object, const std::string& name, std::wstring& text) {
  text.clear();
  if (!object) return;
  std::string value;
  if (GetPropText(object, name, value) == TPropStatus::Ok) text = ToWide(value);
}

TObject* GetObjectPropByName(const TObject* object, const std::string& name) {
  TObject* value = nullptr;
  if (!object || GetObjectProp(object, name, value) != TPropStatus::Ok) return nullptr;
  return value;
}

void SetPropByName(TObject* object, const std::string& name, const std::string& value) {
  if (!object) return;
  const TPropInfo* p = object->ClassInfo().FindProp(name);
  if (!p) return;
  switch (p->kind) {
    case TPropKind::Integer: {
      int32_t n = 0;
      // A text that is no number leaves the property as it is.
      if (TryStrToInt(value, n)) SetOrdProp(object, name, n);
      break;
    }
    case TPropKind::Enumeration:
    case TPropKind::String: SetPropText(object, name, value); break;
    default: break;
  }
}

// ---- painting ----------------------------------------------------------------

void GetWindowCaption(HWND window, std::wstring& caption) {
  caption.clear();
  if (!window) return;
  const int n = GetWindowTextLengthW(window);
  if (n <= 0) return;
  std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, &buffer[0], n + 1);
  buffer.resize(static_cast<size_t>(got > 0 ? got : 0));
  caption = buffer;
}

bool IsPopupWindow(HWND window) {
  // The desktop's handle is asked of the system: under Wine it is not the
  // value a fixed constant would assume.
  return (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) != 0 || GetParent(window) == GetDesktopWindow();
}

void CopyBitmap(TBitmap& source, TBitmap& destination) {
  destination.SetPixelFormat(source.PixelFormat());
  destination.SetSize(source.Width(), source.Height());
  if (source.Empty()) return;
  BitBlt(destination.Canvas()->Handle(), 0, 0, source.Width(), source.Height(), source.Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void SendMouseLeave(TSkinControl* skinner) {
  if (skinner && skinner->Handle) SendMessageW(skinner->Handle, kCmMouseLeave, 0, 0);
}

void FillColour(HDC dc, const RECT& rect, TColor colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void PaintMessage(TSkinControl* skinner, TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps = {};
  const bool began = dc == nullptr;
  if (began) dc = BeginPaint(skinner->Handle, &ps);
  RECT r;
  if (dc && WindowRectAtOrigin(skinner->Handle, r)) {
    try {
      skinner->PaintControl(dc, r);
    } catch (...) {
    }
  }
  if (began) EndPaint(skinner->Handle, &ps);
  m.Result = 0;
}

void EraseWithParent(TSkinControl* skinner, TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (skinner->Control) {
    PaintParentBackground(skinner->Control, dc);
  } else {
    RECT r;
    GetClientRect(skinner->Handle, &r);
    skinner->FillParentColour(dc, r);
  }
  m.Result = 1;
}

void DrawSkinObject(TSkinControl*, HDC dc, const RECT& rect, int frameCount, int frame, TDataSkinObject* object) {
  if (Inverted(rect) || !object || object->Bitmap.Empty()) return;
  std::unique_ptr<TBitmap> image(MakeSkinImage(SkinRect(0, 0, rect.right - rect.left, rect.bottom - rect.top),
                                               object->Bitmap, object->Margins(), false, object->Tile == 1,
                                               frameCount < 1 ? 1 : frameCount, frame));
  if (!image) return;
  if (object->Trans == 1)
    DrawTransparent(dc, ToSkinRect(rect), *image, static_cast<TColor>(kSkinKeyColour));
  else
    BitBlt(dc, rect.left, rect.top, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

namespace {

// Frame n of the strip stretched to the rectangle's size.
std::unique_ptr<TBitmap> StripFrame(const RECT& rect, int frameCount, int frame, TBitmap& bitmap) {
  if (Inverted(rect) || bitmap.Empty()) return nullptr;
  const int count = frameCount < 1 ? 1 : frameCount;
  const int w = bitmap.Width() / count;
  std::unique_ptr<TBitmap> out(new TBitmap);
  SetSkinBitmapSize(*out, rect.right - rect.left, rect.bottom - rect.top);
  const RECT source = {w * (frame - 1), 0, w * frame, bitmap.Height()};
  const RECT dest = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  SetStretchBltMode(out->Canvas()->Handle(), COLORONCOLOR);
  out->Canvas()->CopyRect(dest, *bitmap.Canvas(), source);
  return out;
}

}  // namespace

void DrawStrip(TSkinControl* skinner, HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& bitmap) {
  DrawStripKeyed(skinner, dc, rect, frameCount, frame, bitmap);
}

void DrawStripToCanvas(TSkinControl* skinner, TCanvas& canvas, const RECT& rect, int frameCount, int frame,
                       TBitmap& bitmap) {
  DrawStripKeyed(skinner, canvas.Handle(), rect, frameCount, frame, bitmap);
}

void DrawStripKeyed(TSkinControl*, HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& bitmap) {
  std::unique_ptr<TBitmap> image = StripFrame(rect, frameCount, frame, bitmap);
  if (image) DrawTransparent(dc, ToSkinRect(rect), *image, static_cast<TColor>(kSkinKeyColour));
}

UINT DrawTextFlagsRtl(const TSkinControl* skinner, UINT flags) {
  const bool rtl = (skinner->Control && skinner->Control->BiDiMode() == bdRightToLeft) ||
                   (skinner->PaintTarget && skinner->PaintTarget->BiDiMode() == bdRightToLeft);
  return rtl ? flags | DT_RTLREADING : flags;
}

void DrawCaptionText(TSkinControl* skinner, TCanvas& canvas, const RECT& r, int alignment, bool enabled,
                     const std::wstring& text) {
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetStyle(0);
  if (!enabled) canvas.Font()->SetColor(clBtnShadow);
  RECT t = r;
  canvas.DrawTextWide(text, t, static_cast<UINT>(alignment) | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int dy = ((r.bottom - r.top) - (t.bottom - t.top)) / 2 - 1;
  if (alignment == DT_CENTER) {
    OffsetRect(&t, ((r.right - r.left) - (t.right - t.left)) / 2, dy);
  } else {
    OffsetRect(&t, 0, dy);
    t.left = r.left;
    t.right = r.right;
  }
  canvas.DrawTextWide(text, t, DrawTextFlagsRtl(skinner, static_cast<UINT>(alignment) | DT_EXPANDTABS));
}

void DrawImageCaption(TSkinControl* skinner, TCanvas& canvas, const RECT& r, int alignment,
                      const std::wstring& text, int imageIndex, HIMAGELIST images) {
  int iconW = 0, iconH = 0;
  if (images) ImageList_GetIconSize(images, &iconW, &iconH);
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  const bool showImage = imageIndex != -1 && images && iconW < rw;
  if (!showImage) iconW = 0;
  RECT t = r;
  if (showImage) t.right += iconW + 2;
  int textW = 0, textH = 0;
  if (!text.empty()) {
    canvas.DrawTextWide(text, t, 0x8550);
    textW = t.right - t.left;
    textH = t.bottom - t.top;
  }
  int x = 3;
  if (alignment == 1) x = (rw - iconW - textW) / 2;
  else if (alignment == 2) x = rw - iconW - textW - 2;
  if (x < 2) x = 1;
  if (showImage)
    ImageList_Draw(images, imageIndex, canvas.Handle(), r.left + x, r.top + (rh - iconW) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  RECT tr = {r.left + x + iconW, r.top + (rh - textH) / 2, r.left + x + iconW + textW, 0};
  tr.bottom = tr.top + textH;
  if (tr.left < r.left) tr.left = r.left;
  if (tr.right > r.right) tr.right = r.right;
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetStyle(0);
  if (!skinner->IsEnabled) canvas.Font()->SetColor(clBtnShadow);
  canvas.DrawTextWide(text, tr, DrawTextFlagsRtl(skinner, 0x8050));
}
