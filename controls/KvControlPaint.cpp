#include "KvControlPaint.h"

#include "PropertyText.h"
#include "Text.h"

namespace kv {

void DrawParentBackground(fw::TControl* control, HDC dc, bool invalidateParent) {
  fw::TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent || !dc) return;
  const int saved = SaveDC(dc);
  POINT org;
  GetViewportOrgEx(dc, &org);
  SetViewportOrgEx(dc, org.x - control->Left(), org.y - control->Top(), nullptr);
  const RECT client = parent->ClientRect();
  IntersectClipRect(dc, 0, 0, client.right - client.left, client.bottom - client.top);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
  if (invalidateParent && !parent->InheritsFrom("TCustomControl") && !parent->InheritsFrom("TForm"))
    parent->Invalidate();
}

void InvalidateTransparentChildren(fw::TWinControl* panel) {
  if (!panel) return;
  for (fw::TControl* c : panel->Controls()) {
    std::string value;
    if (fw::GetPropText(c, "Transparent", value) == fw::TPropStatus::Ok && value == "True") c->Invalidate();
  }
}

HFONT CreateRotatedFont(fw::TFont& font, int angle) {
  LOGFONTW lf = {};
  lf.lfHeight = font.Height();
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = angle * 10;
  const fw::TFontStyles style = font.Style();
  lf.lfWeight = (style & (1u << fw::fsBold)) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & (1u << fw::fsItalic)) ? TRUE : FALSE;
  lf.lfUnderline = (style & (1u << fw::fsUnderline)) ? TRUE : FALSE;
  lf.lfStrikeOut = (style & (1u << fw::fsStrikeOut)) ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(font.Charset());
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = font.Pitch() == fw::fpFixed ? FIXED_PITCH
                        : font.Pitch() == fw::fpVariable ? VARIABLE_PITCH
                                                          : DEFAULT_PITCH;
  const std::wstring face = fw::ToWide(font.Name());
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

}  // namespace kv
