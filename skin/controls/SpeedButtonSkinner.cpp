#include "SpeedButtonSkinner.h"

#include "ButtonGeometry.h"
#include "TextUtils.h"
#include "WinSkinData.h"

using namespace fw;
using namespace skinbutton;

namespace {

bool IsTrue(const TObject* o, const char* name) {
  std::string text;
  GetEnumPropByName(o, name, text);
  return LowerCase(text) == "true";
}

// The canvas a windowless control paints through.
TCanvas* CanvasOf(TControl* c) {
  auto* g = dynamic_cast<TGraphicControl*>(c);
  return g ? g->Canvas() : nullptr;
}

}  // namespace

const TClassInfo& TSkinSpeedButton::StaticClass() {
  static const TClassInfo info("TSkinSpeedButton", &TSkinBitButton::StaticClass());
  return info;
}

void TSkinSpeedButton::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool) {
  InitSpeedSkin(form, skinData, formCanvas);
}

void TSkinSpeedButton::InitOwnSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas) {
  InitSpeedSkin(form, skinData, formCanvas);
}

void TSkinSpeedButton::InitSpeedSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas) {
  if (Skinned) return;
  auto* button = dynamic_cast<TControl*>(Owner());
  if (!button) return;
  // The register knows skinners by their Control, which a speed button's
  // skinner leaves empty: a button already skinned is found among its
  // own components, and this skinner then stays idle.
  for (TComponent* c : button->Components())
    if (auto* other = dynamic_cast<TSkinSpeedButton*>(c); other && other != this && other->Skinned) return;
  // The base's set-up puts the procedure in front and registers.
  TSkinControl::InitSkin(form, skinData, formCanvas, false);
  if (!Skinned) return;
  PaintTarget = Control;
  Control = nullptr;
  Handle = nullptr;
  State = 1;
  TransparentBackground = button->Tag() == kTransparentTag || (SkinData && SkinData->HasOption(xoTransparent));
}

bool TSkinSpeedButton::BeforeProc(TMessage& m) {
  if (released_) return true;
  switch (m.Msg) {
    case WM_PAINT:
      if (!SkinButtons()) return true;  // the button paints itself
      PaintMessage(m);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button sees its press first (its own click handling). A press
      // that is over when it returns (OnDblClick or OnMouseDown opened a
      // modal window, which took its release) leaves the button up.
      CallOldProc(m);
      if (PaintTarget && PaintTarget->PressHeld())
        MouseFlags |= kDown;
      else
        MouseFlags &= ~kDown;
      PaintFrame(nullptr);
      return false;
    case WM_LBUTTONUP: return true;
    default: break;
  }
  return TSkinButton::BeforeProc(m);
}

void TSkinSpeedButton::AfterProc(TMessage& m) {
  if (released_) return;
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED: return;
    case WM_NCDESTROY:
    case CM_RELEASE: released_ = true; return;
    case WM_KEYDOWN:
      if (m.WParam != VK_SPACE) break;
      MouseFlags |= kDown;
      PaintFrame(nullptr);
      return;
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      MouseFlags &= ~kDown;
      PaintFrame(nullptr);
      return;
    case WM_LBUTTONUP:
    // The press ended without its release (a box opened by a timer, another
    // window took the pointer): drawn up at once, as the release would.
    case CM_PRESSLOST:
      MouseFlags &= ~kDown;
      PaintFrame(nullptr);
      return;
    case CM_MOUSEENTER:
      MouseFlags |= kHot;
      PaintFrame(nullptr);
      return;
    case CM_MOUSELEAVE:
      MouseFlags &= ~(kHot | kDown);
      if (PaintTarget && PaintTarget->Visible()) PaintFrame(nullptr);
      return;
    default: break;
  }
  TSkinButton::AfterProc(m);
}

void TSkinSpeedButton::PaintMessage(TMessage& m) {
  m.Result = 1;
  // Asked again while it paints (its parent painting the background under
  // it): the canvas still holds the outer paint's device context.
  if (Painting) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  TCanvas* canvas = CanvasOf(PaintTarget);
  if (dc && canvas) {
    canvas->SetHandle(dc);
    SpeedPaint(*canvas, PaintTarget->ClientRect());
    canvas->SetHandle(nullptr);
  }
}

void TSkinSpeedButton::PaintFrame(HDC dc) {
  TCanvas* canvas = CanvasOf(PaintTarget);
  // A canvas that holds a device context is painting already.
  if (!canvas || canvas->HandleAllocated() || !PaintTarget->Parent()) return;
  const RECT r = PaintTarget->ClientRect();
  if (dc) {
    canvas->SetHandle(dc);
    SpeedPaint(*canvas, r);
    canvas->SetHandle(nullptr);
    return;
  }
  HWND parent = PaintTarget->Parent()->HandleIfAllocated();
  if (!parent || !PaintTarget->Visible()) return;
  HDC own = GetDC(parent);
  if (!own) return;
  const int saved = SaveDC(own);
  SetViewportOrgEx(own, PaintTarget->Left(), PaintTarget->Top(), nullptr);
  IntersectClipRect(own, 0, 0, r.right, r.bottom);
  canvas->SetHandle(own);
  try {
    SpeedPaint(*canvas, r);
  } catch (...) {
  }
  canvas->SetHandle(nullptr);
  RestoreDC(own, saved);
  ReleaseDC(parent, own);
}

void TSkinSpeedButton::SpeedPaint(TCanvas& canvas, const RECT& rect) {
  if (!SkinButtons() || !PaintTarget || !PaintTarget->Visible() || Painting) return;
  Painting = true;
  try {
    SpeedPaintUnguarded(canvas, rect);
  } catch (...) {
  }
  Painting = false;
}

void TSkinSpeedButton::SpeedPaintUnguarded(TCanvas& canvas, const RECT& rect) {
  TControl* b = PaintTarget;
  const bool enabled = IsTrue(b, "Enabled");
  const bool downProperty = IsTrue(b, "Down");
  const bool flat = IsTrue(b, "Flat");
  GetWideStrPropByName(b, "Caption", Caption);
  const int frame = SpeedButtonFrame(downProperty, enabled, MouseFlags & kDown, MouseFlags & kHot);
  const RECT r = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  if (r.right < 1 || r.bottom < 1) return;
  // A flat button shows the strip only while hot or pressed.
  const bool stripShown = frame == kFramePressed || frame == kFrameHot || !flat;
  if (!PrepareBuffer(r, stripShown ? frame : 0, b)) return;
  SelectButtonFont(b);
  TBitmap* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(b, "Glyph"));
  TGraphic* picture =
      PngPropertyName.empty() ? nullptr : dynamic_cast<TGraphic*>(GetObjectPropByName(b, PngPropertyName));
  const TGraphic* shown = PngPropertyName.empty() ? static_cast<TGraphic*>(glyph) : picture;
  if (!shown || shown->Width() * shown->Height() == 0) {
    ApplyCaptionColour(frame, enabled, false);
    DrawButtonCaption(*Buffer->Canvas(), r, DT_CENTER, Caption);
  } else {
    PaintGlyphAndCaption(r, frame, true);
  }
  canvas.Draw(rect.left, rect.top, *Buffer);
}
