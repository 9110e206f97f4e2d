#include "CheckSkinners.h"

#include "PropertyText.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinPlatform.h"
#include "TextUtils.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

// Framework notices after which the box is painted again.
constexpr UINT kCmExit = 0xB01B;
constexpr UINT kCmRepaintState = 0xB0D0;
// Measuring and drawing flags of the caption.
constexpr UINT kMeasureCaption = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK;
constexpr UINT kDrawCaption = DT_EXPANDTABS | DT_WORDBREAK;

std::string LowerEnum(const TObject* o, const char* name) {
  std::string text;
  GetEnumPropByName(o, name, text);
  return LowerCase(text);
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

int Clamp(int frame, int frames) {
  if (frame > frames) return frames;
  return frame < 1 ? 1 : frame;
}

}  // namespace

// ---- where and which image ------------------------------------------------------

namespace skincheck {

int CheckBoxFrame(int logical, bool disabled, bool indeterminate, int frames) {
  int f = logical;
  if (disabled) f += 2;
  if (indeterminate) f = kGrayed;
  if (frames == kFullCheckStrip) {
    // Unchecked, checked and mixed, each normal, hot, pressed, disabled.
    if (indeterminate) {
      f = disabled ? 12 : 9;
    } else {
      switch (f) {
        case 2: f = 5; break;
        case 3: f = 4; break;
        case 4:
        case 6: f = 8; break;
        default: break;
      }
    }
  }
  // A strip with fewer images than the state asks for shows its last one.
  return Clamp(f, frames);
}

int RadioButtonFrame(bool checked, bool disabled, int frames) {
  int f = checked ? kChecked : kUnchecked;
  if (disabled) f += 2;
  if (frames == kFullRadioStrip) {
    // Unchecked and checked, each normal, hot, pressed, disabled.
    switch (f) {
      case 2: f = 5; break;
      case 3: f = 4; break;
      case 4: f = 8; break;
      default: break;
    }
  }
  return Clamp(f, frames);
}

TCheckLayout PlaceCheck(const RECT& r, SIZE glyph, bool textLeft, bool radio, bool rightToLeft) {
  TCheckLayout l;
  const int top = r.top + ((r.bottom - r.top) - glyph.cy) / 2;
  if (textLeft) {
    const int right = radio ? r.right - 1 : r.right;
    l.glyph = RECT{right - glyph.cx, top, right, top + glyph.cy};
    l.text = RECT{r.left, r.top, l.glyph.left - 2, r.bottom};
  } else {
    l.glyph = RECT{r.left, top, r.left + glyph.cx, top + glyph.cy};
    l.text = RECT{l.glyph.right + 2, r.top, r.right, r.bottom};
  }
  if (rightToLeft) l.flags = DT_RTLREADING | (textLeft ? DT_RIGHT : 0);
  return l;
}

}  // namespace skincheck

using namespace skincheck;

// ---- what both kinds share ------------------------------------------------------------

const TClassInfo& TSkinCheckBase::StaticClass() {
  static const TClassInfo info("TSkinCheckBase", &TSkinControl::StaticClass());
  return info;
}

void TSkinCheckBase::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  Mode = kControlPaints;
  int frames = 0;
  if (Control && Strip(frames)) Mode = kSkinnerPaints;
  Transparent = (Control && Control->Tag() == kTransparentTag) || (SkinData && SkinData->HasOption(xoTransparent));
}

TBitmap* TSkinCheckBase::Strip(int& frames) const {
  frames = 1;
  if (!SkinData || !SkinData->Buttons) return nullptr;
  TDataSkinButton& b = *SkinData->Buttons;
  TBitmap& strip = IsRadio() ? b.RadioBitmap : b.CheckBitmap;
  if (strip.Empty()) return nullptr;
  const int n = IsRadio() ? b.RadioFrame : b.CheckButtonFrame;
  frames = n < 1 ? 1 : n;
  return &strip;
}

bool TSkinCheckBase::BeforeProc(TMessage& m) {
  if (!TSkinControl::BeforeProc(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (Mode != kSkinnerPaints) return true;
      int frames = 0;
      if (!Strip(frames)) {
        // The skin lost its strip: the control paints itself again.
        Mode = kControlPaints;
        return true;
      }
      PaintMessage(this, m);
      return false;
    }
    case WM_ERASEBKGND:
      if (!Transparent) return true;
      EraseWithParent(this, m);
      return false;
    default: return true;
  }
}

bool TSkinCheckBase::ChangesLook(const TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    // The button draws its pushed state itself (Space held, the mouse
    // pressed on it): painted over at once.
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case kCmExit:
    case kCmRepaintState: return true;
    default: return false;
  }
}

void TSkinCheckBase::AfterProc(TMessage& m) {
  if (ChangesLook(m)) {
    Redraw();
    return;
  }
  TSkinControl::AfterProc(m);
}

void TSkinCheckBase::PaintControl(HDC dc, const RECT& rect) {
  int frames = 0;
  TBitmap* strip = Strip(frames);
  if (!strip) {
    Mode = kControlPaints;
    return;
  }
  const int frame = GlyphFrame(frames);
  const SIZE glyph = {strip->Width() / frames, strip->Height()};
  const bool textLeft = (GetLong(Handle, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const bool rtl = Control && Control->BiDiMode() == bdRightToLeft;
  const RECT r = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  const TCheckLayout layout = PlaceCheck(r, glyph, textLeft, IsRadio(), rtl);
  if (Mode != kSkinnerPaints) {
    // Over the control's own painting: only the glyph.
    RECT at = layout.glyph;
    OffsetRect(&at, rect.left, rect.top);
    DrawStripKeyed(this, dc, at, frames, frame, *strip);
    return;
  }
  PaintWhole(dc, rect, *strip, frames, frame, layout);
}

void TSkinCheckBase::PaintWhole(HDC dc, const RECT& rect, TBitmap& strip, int frames, int frame,
                                const TCheckLayout& layout) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TBitmap buffer;
  SetSkinBitmapSize(buffer, w, h);
  HDC b = buffer.Canvas()->Handle();
  const RECT all = {0, 0, w, h};
  if (!Transparent)
    FillSkinColour(b, all);
  else if (Control)
    PaintParentBackground(Control, b);
  else
    FillParentColour(b, all);
  DrawStripKeyed(this, b, layout.glyph, frames, frame, strip);
  PaintCaption(b, layout);
  BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

void TSkinCheckBase::PaintCaption(HDC dc, const TCheckLayout& layout) {
  GetWindowCaption(Handle, Caption);
  if (Control && IsPublishedProp(Control, "Caption")) GetWideStrPropByName(Control, "Caption", Caption);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (Control) font = Control->Font()->Handle();
  const bool enabled = !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  const TColor colour = !enabled ? clBtnShadow : Control ? Control->Font()->Color() : clWindowText;
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  const COLORREF oldText = SetTextColor(dc, ColorToRGB(colour));
  const COLORREF oldBack = SetBkColor(dc, ColorToRGB(SkinData->Colors[sc::ButtonFace]));
  const int oldMode = SetBkMode(dc, TRANSPARENT);

  RECT text = layout.text;
  RECT measured = text;
  DrawTextWide(dc, Caption, measured, kMeasureCaption | layout.flags);
  OffsetRect(&text, 0, ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2);
  // Systems of major version 6 show no focus rectangle on these boxes.
  if (Handle && GetFocus() == Handle && !Caption.empty() && skinplatform::IsNotVersion6())
    DrawCaptionFocus(dc, kDrawCaption | layout.flags, text);
  DrawTextWide(dc, Caption, text, kDrawCaption | layout.flags);

  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  if (oldFont) SelectObject(dc, oldFont);
}

// ---- the check box -----------------------------------------------------------------------

const TClassInfo& TSkinCheckBox::StaticClass() {
  static const TClassInfo info("TSkinCheckBox", &TSkinCheckBase::StaticClass());
  return info;
}

void TSkinCheckBox::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinCheckBase::InitSkin(form, skinData, formCanvas, useSkinColour);
  StateValue = 0;
}

void TSkinCheckBox::AfterProc(TMessage& m) {
  if (m.Msg == BM_SETCHECK) StateValue = static_cast<int>(m.WParam) + 1;
  TSkinCheckBase::AfterProc(m);
}

int TSkinCheckBox::GlyphFrame(int frames) {
  const LRESULT state = SendMessageW(Handle, BM_GETSTATE, 0, 0);
  int logical = (state & BST_CHECKED) ? kChecked : kUnchecked;
  if (Control) {
    if (IsPublishedProp(Control, "State")) {
      const std::string s = LowerEnum(Control, "State");
      if (Contains(s, "uncheck"))
        logical = kUnchecked;
      else if (Contains(s, "check"))
        logical = kChecked;
      else if (Contains(s, "gray"))
        logical = kGrayed;
    } else if (IsPublishedProp(Control, "Checked")) {
      logical = LowerEnum(Control, "Checked") == "true" ? kChecked : kUnchecked;
    }
    // A data-aware box shows what was last set on its window.
    if (IsPublishedProp(Control, "DataField") && StateValue != 0) logical = StateValue == 3 ? kGrayed : StateValue;
    if (IsPublishedProp(Control, "DataBinding")) logical = kUnchecked;
  }
  const bool disabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return CheckBoxFrame(logical, disabled, (state & BST_INDETERMINATE) != 0, frames);
}

// ---- the radio button ------------------------------------------------------------------

const TClassInfo& TSkinRadioButton::StaticClass() {
  static const TClassInfo info("TSkinRadioButton", &TSkinCheckBase::StaticClass());
  return info;
}

int TSkinRadioButton::GlyphFrame(int frames) {
  bool checked = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  if (Control && IsPublishedProp(Control, "Checked")) checked = LowerEnum(Control, "Checked") == "true";
  const bool disabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return RadioButtonFrame(checked, disabled, frames);
}

void RegisterCheckSkinners() {
  RegisterSkinnerClass("TSkinCheckBox", [](TComponent* owner) -> TSkinControl* { return new TSkinCheckBox(owner); });
  RegisterSkinnerClass("TSkinRadioButton",
                       [](TComponent* owner) -> TSkinControl* { return new TSkinRadioButton(owner); });
}
