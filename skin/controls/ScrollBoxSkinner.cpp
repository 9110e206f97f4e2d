#include "ScrollBoxSkinner.h"

#include "Messages.h"

using namespace fw;

namespace {
// The scroll-bar control's message that sets its range, page and position.
constexpr UINT kSetScrollInfo = SBM_SETSCROLLINFO;
}  // namespace

const TClassInfo& TSkinScControl::StaticClass() {
  static const TClassInfo info("TSkinScControl", &TSkinControl::StaticClass());
  return info;
}

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}

void TSkinScControl::BeforeDestruction() {
  FreeOverlay();
  TSkinControl::BeforeDestruction();
}

void TSkinScControl::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool) {
  InitScrollBox(dynamic_cast<TControl*>(Owner()), skinData, form, formCanvas);
}

void TSkinScControl::InitScrollSkin(TControl* control, TSkinData* skinData, TWinSkinForm* form,
                                    TCanvas* formCanvas) {
  InitScrollBox(control, skinData, form, formCanvas);
}

void TSkinScControl::InitScrollBox(TControl*, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  if (Skinned) return;
  // The base stands in front of the control (the skinner's owner) and
  // registers with the form skinner.
  TSkinControl::InitSkin(form, skinData, formCanvas, false);
  auto* control = dynamic_cast<TWinControl*>(Control);
  if (!Skinned || !control) return;
  Overlay = new TWScrollbar(this);
  Overlay->SetShowHint(control->ShowHint());
  Overlay->SetHint(control->Hint());
  Overlay->AttachToControl(this, control, kOverlayControl);
  Overlay->SetEnabled(control->Enabled());
  if (!control->Visible()) Overlay->HideBar();
}

void TSkinScControl::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (Overlay) Overlay->UpdatePosition(Handle);
      break;
    case WM_NCPAINT:
      if (auto* w = dynamic_cast<TWinControl*>(Control))
        if (w->HandleIfAllocated()) Handle = w->HandleIfAllocated();
      if (Overlay) Overlay->UpdatePosition(Handle);
      break;
    case kSetScrollInfo:
    case CN_VSCROLL:
    case CN_HSCROLL:
      // The thumb moved (a horizontal control tells through CN_HSCROLL).
      if (Overlay) Overlay->Invalidate();
      break;
    case CM_VISIBLECHANGED:
      if (!Overlay) break;
      if (m.WParam)
        Overlay->UpdatePosition(Handle);
      else
        Overlay->HideBar();
      break;
    case CM_ENABLEDCHANGED:
      if (Overlay && Control) Overlay->SetEnabled(Control->Enabled());
      TSkinControl::AfterProc(m);
      break;
    default: TSkinControl::AfterProc(m); break;
  }
}

void TSkinScControl::PaintControl(HDC, const RECT&) {
  if (Overlay) Overlay->Invalidate();
}

void TSkinScControl::Unskin() {
  TSkinControl::Unskin();
  if (State != 6) FreeOverlay();
}

void TSkinScControl::FreeOverlay() {
  TWScrollbar* overlay = Overlay;
  if (!overlay) return;
  Overlay = nullptr;
  overlay->ForgetOwner();
  overlay->Free();
}

void TSkinScControl::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == Overlay) Overlay = nullptr;
}

void RegisterScrollBoxSkinner() {
  RegisterSkinnerClass("TSkinScControl", [](TComponent* owner) -> TSkinControl* { return new TSkinScControl(owner); });
}
