// The group box skinner: a rounded frame in the skin's shadow colour with
// the caption on the face colour, over a framework group box (which it
// paints alone, Mode 1) or a plain group box window (which paints itself
// first and is painted over, Mode 0).
#include <memory>

#include "BoxSkinners.h"
#include "Graphics.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"

using namespace fw;

const TClassInfo& TSkinGroupBox::StaticClass() {
  static const TClassInfo info("TSkinGroupBox", &TSkinControl::StaticClass());
  return info;
}

void TSkinGroupBox::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  const bool first = !Skinned;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  if (first && Control) Mode = 1;
}

bool TSkinGroupBox::BeforeProc(TMessage& m) {
  if (Mode != 0 && PaintClientToAlone(this, m)) return false;
  if (!TSkinControl::BeforeProc(m)) return false;
  if (Mode != 0 && m.Msg == WM_PAINT) {
    PaintMessage(this, m);
    return false;
  }
  return true;
}

RECT TSkinGroupBox::CaptionRect(const RECT& box, bool rightAligned) {
  RECT r = box;
  if (rightAligned)
    r.right -= kCaptionIndent;
  else
    r.left += kCaptionIndent;
  return r;
}

void TSkinGroupBox::ReadCaption() {
  GetWindowCaption(Handle, Caption);
  if (Caption.empty() && Control) GetWideStrPropByName(Control, "Caption", Caption);
}

void TSkinGroupBox::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  ReadCaption();
  const RECT box = {0, 0, w, h};
  // Composed off-screen: a plain group box's own painting is taken in
  // first, so only the frame and caption change.
  TBitmap work;
  SetSkinBitmapSize(work, w, h);
  HDC mem = work.Canvas()->Handle();
  if (Mode == 0)
    BitBlt(mem, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  else
    FillSkinColour(mem, box);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  COLORREF textColour = ColorToRGB(SkinData->Colors[sc::ButtonText]);
  if (Control) {
    font = Control->Font()->Handle();
    textColour = ColorToRGB(Control->Font()->Color());
  }
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ oldFont = SelectObject(mem, font);
  SetTextColor(mem, textColour);
  const int top = FrameTop(TextHeight(mem, L"0"));

  if (Mode == 0 && SkinData->FaceBrush) {
    // Covers the system's 3-D frame with the face colour.
    RECT cover = {0, top, box.right, box.bottom};
    HBRUSH face = SkinData->FaceBrush->Handle();
    FrameRect(mem, &cover, face);
    InflateRect(&cover, -1, -1);
    FrameRect(mem, &cover, face);
  }

  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colors[sc::ButtonShadow]));
  HGDIOBJ oldPen = SelectObject(mem, pen);
  HGDIOBJ oldBrush = SelectObject(mem, GetStockObject(NULL_BRUSH));
  RoundRect(mem, 1, top, box.right - 1, box.bottom - 1, kCorner, kCorner);
  SelectObject(mem, oldBrush);
  SelectObject(mem, oldPen);
  DeleteObject(pen);

  // Opaque on the face colour, so the caption interrupts the frame line.
  const COLORREF oldBack = SetBkColor(mem, ColorToRGB(SkinData->Colors[sc::ButtonFace]));
  const int oldMode = SetBkMode(mem, OPAQUE);
  const bool right = (GetLong(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
  RECT t = CaptionRect(box, right);
  DrawTextWide(mem, Caption, t, right ? DrawTextFlagsRtl(this, DT_RIGHT | DT_EXPANDTABS) : DT_EXPANDTABS);
  SetBkMode(mem, oldMode);
  SetBkColor(mem, oldBack);
  SelectObject(mem, oldFont);

  if (Mode == 1)
    if (auto* windowed = dynamic_cast<TWinControl*>(Control)) windowed->PaintControls(mem);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}
