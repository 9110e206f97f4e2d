#include "ContainerSkinners.h"

#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

bool WindowRectAtOrigin(HWND window, RECT& r) {
  RECT w;
  if (!window || !GetWindowRect(window, &w)) return false;
  r = RECT{0, 0, w.right - w.left, w.bottom - w.top};
  return true;
}

}  // namespace

// ---- TSkinSizer ------------------------------------------------------------------

const TClassInfo& TSkinSizer::StaticClass() {
  static const TClassInfo info("TSkinSizer", &TSkinControl::StaticClass());
  return info;
}

bool TSkinSizer::IsSizeGrip() const {
  return Handle && (GetLong(Handle, GWL_STYLE) & (SBS_SIZEGRIP | SBS_SIZEBOX)) != 0;
}

void TSkinSizer::PaintControl(HDC dc, const RECT& rect) {
  if (IsSizeGrip()) FillSkinColour(dc, rect);
}

// ---- TSkinTabSheet ---------------------------------------------------------------

const TClassInfo& TSkinTabSheet::StaticClass() {
  static const TClassInfo info("TSkinTabSheet", &TSkinControl::StaticClass());
  return info;
}

bool TSkinTabSheet::BeforeProc(TMessage& m) {
  if (!TSkinControl::BeforeProc(m)) return false;
  if (Mode != kSkinnerPaints) return true;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: PaintMessage(this, m); return false;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle, &client);
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      if (SkinData && SkinData->FaceBrush)
        FillRect(dc, &client, SkinData->FaceBrush->Handle());
      else
        FillSkinColour(dc, client);
      m.Result = 1;
      return false;
    }
    default: return true;
  }
}

void TSkinTabSheet::PaintControl(HDC dc, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TBitmap buffer;
  SetSkinBitmapSize(buffer, w, h);
  HDC b = buffer.Canvas()->Handle();
  FillSkinColour(b, RECT{0, 0, w, h});
  if (auto* sheet = dynamic_cast<TWinControl*>(Control)) sheet->PaintControls(b, nullptr);
  BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

// ---- TSkinBoxH -------------------------------------------------------------------

const TClassInfo& TSkinBoxH::StaticClass() {
  static const TClassInfo info("TSkinBoxH", &TSkinControl::StaticClass());
  return info;
}

bool TSkinBoxH::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r;
      if (WindowRectAtOrigin(Handle, r) && SkinData)
        FillColour(reinterpret_cast<HDC>(m.WParam), r, SkinData->Colors[sc::ButtonFace]);
      m.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOldProc(m);
      if (SkinData && SkinData->FaceBrush) {
        // The text's own background matches the brush the static fills with.
        SetBkColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(SkinData->Colors[sc::ButtonFace]));
        m.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush->Handle());
      }
      return false;
    default: return TSkinControl::BeforeProc(m);
  }
}

void RegisterContainerSkinners() {
  RegisterSkinnerClass("TSkinSizer", [](TComponent* owner) -> TSkinControl* { return new TSkinSizer(owner); });
  RegisterSkinnerClass("TSkinTabSheet", [](TComponent* owner) -> TSkinControl* { return new TSkinTabSheet(owner); });
  RegisterSkinnerClass("TSkinBoxH", [](TComponent* owner) -> TSkinControl* { return new TSkinBoxH(owner); });
}
