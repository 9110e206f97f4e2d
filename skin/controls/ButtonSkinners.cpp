#include "ButtonSkinners.h"

#include "ButtonGeometry.h"
#include "DisabledGlyph.h"
#include "ImageList.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SpeedButtonSkinner.h"
#include "TextUtils.h"
#include "WinSkinData.h"

using namespace fw;
using namespace skinbutton;

namespace {

std::string EnumText(const TObject* o, const char* name) {
  std::string text;
  GetEnumPropByName(o, name, text);
  return LowerCase(text);
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

RECT AtOrigin(const RECT& r) { return RECT{0, 0, r.right - r.left, r.bottom - r.top}; }

}  // namespace

// ---- TSkinButton -------------------------------------------------------------

const TClassInfo& TSkinButton::StaticClass() {
  static const TClassInfo info("TSkinButton", &TSkinControl::StaticClass());
  return info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner), Buffer(new TBitmap) {}

void TSkinButton::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  Mode = kForwardMouseDown;
  const std::string cls = LowerCase(Control ? Control->ClassName() : std::string());
  // Buttons of these libraries raise OnMouseDown themselves.
  if (StartsWith(cls, "trz") || StartsWith(cls, "tel")) Mode = kKeepMouseDown;
  TransparentBackground = (Control && Control->Tag() == kTransparentTag) ||
                          (SkinData && SkinData->HasOption(xoTransparent));
}

TDataSkinButton* TSkinButton::SkinButtons() const {
  if (!SkinData || !SkinData->Buttons || SkinData->Buttons->Bitmap.Empty()) return nullptr;
  return SkinData->Buttons.get();
}

int TSkinButton::StripFrames() const {
  const TDataSkinButton* b = SkinButtons();
  return b && b->Frame >= 1 ? b->Frame : 1;
}

bool TSkinButton::NoFocusRect() const { return SkinData && SkinData->HasOption(xoNoFocusRect); }

void TSkinButton::ReadButtonState() {
  IsFocused = Handle && GetFocus() == Handle;
  IsEnabled = Handle && !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  if (Control)
    GetWideStrPropByName(Control, "Caption", Caption);
  else
    GetWindowCaption(Handle, Caption);
}

bool TSkinButton::IsDefaultButton() const { return EnumText(Control, "Default") == "true"; }

bool TSkinButton::PrepareBuffer(const RECT& rect, int frame, TControl* backgroundOf) {
  TDataSkinButton* b = SkinButtons();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!b || w <= 0 || h <= 0) return false;
  SetSkinBitmapSize(*Buffer, w, h);
  HDC dc = Buffer->Canvas()->Handle();
  const RECT all = {0, 0, w, h};
  if (TransparentBackground && backgroundOf)
    PaintParentBackground(backgroundOf, dc);
  else
    FillSkinColour(dc, all);
  if (frame > 0) DrawSkinObject(this, dc, all, StripFrames(), frame, b);
  return true;
}

void TSkinButton::SelectButtonFont(TControl* fontOf) {
  TCanvas& c = *Buffer->Canvas();
  if (fontOf) {
    c.Font()->Assign(*fontOf->Font());
    return;
  }
  // A plain window: its own font, in the skin's button text colour.
  HFONT font = Handle ? reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)) : nullptr;
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf = {};
  if (GetObjectW(font, sizeof lf, &lf)) c.Font()->AssignLogFont(lf);
  if (SkinData) c.Font()->SetColor(SkinData->Colors[sc::ButtonText]);
}

void TSkinButton::ApplyCaptionColour(int frame, bool enabled, bool normalOnlyInFrame1) {
  TFont& f = *Buffer->Canvas()->Font();
  if (const TDataSkinButton* b = SkinButtons()) {
    if (b->HasNormalColour2 && (!normalOnlyInFrame1 || frame == kFrameNormal)) f.SetColor(b->NormalColour2);
    if (b->HasMouseOverColour2 && frame == kFrameHot) f.SetColor(b->MouseOverColour2);
    if (b->HasPressedColour2 && frame == kFramePressed) f.SetColor(b->PressedColour2);
  }
  if (!enabled) f.SetColor(clBtnShadow);
}

void TSkinButton::CopyBuffer(HDC dc, const RECT& rect) {
  BitBlt(dc, rect.left, rect.top, Buffer->Width(), Buffer->Height(), Buffer->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinButton::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinButtons()) return;
  ReadButtonState();
  const int frame = PushButtonFrame(MouseFlags & kDown, MouseFlags & kHot, IsFocused || IsDefaultButton(), IsEnabled);
  const RECT r = AtOrigin(rect);
  if (!PrepareBuffer(r, frame, Control)) return;
  SelectButtonFont(Control);
  ApplyCaptionColour(frame, IsEnabled, false);
  DrawButtonCaption(*Buffer->Canvas(), r, DT_CENTER, Caption);
  CopyBuffer(dc, rect);
}

void TSkinButton::DrawButtonCaption(TCanvas& canvas, const RECT& r, UINT alignment, const std::wstring& text) {
  Caption = BreakCaption(text);
  RECT t = r;
  InflateRect(&t, -2, -2);
  canvas.Brush()->SetStyle(bsClear);
  canvas.DrawTextWide(Caption, t, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  t = PlaceCaption(r, SIZE{t.right - t.left, t.bottom - t.top}, alignment);
  canvas.DrawTextWide(Caption, t, DrawTextFlagsRtl(this, alignment | DT_EXPANDTABS | DT_WORDBREAK));
  canvas.Brush()->SetStyle(bsSolid);
  if (IsFocused && !NoFocusRect()) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(canvas.Handle(), &t);
  }
}

bool TSkinButton::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!SkinButtons()) break;  // the button paints itself
      PaintMessage(this, m);
      return false;
    case WM_ERASEBKGND:
      if (!SkinButtons()) break;
      m.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(Handle, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(m);
      return false;
    case WM_LBUTTONUP:
      // Read before the control's procedure hears of the release, which
      // ends the press.
      releaseOfOwnPress_ = !Control || Control->PressHeld();
      break;
    case WM_KEYUP:
      // Released before the button clicks, so that what the click opens
      // shows it up.
      if (m.WParam == VK_SPACE && (MouseFlags & kDown)) {
        MouseFlags &= ~kDown;
        Redraw();
      }
      break;
    default: break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinButton::MouseDown(TMessage& m) {
  if (Handle && GetFocus() != Handle) SetFocus(Handle);
  // The control's own procedure never sees the press: it takes the
  // thread's press here, as it would there.
  if (Control) Control->TakePress();
  MouseFlags |= kDown;
  PaintFrame(nullptr);
  if (Mode == kForwardMouseDown && Control) ForwardMouseDown(m);
  // The press is over already (OnMouseDown opened a modal window, which
  // took its release): the button is up again.
  if (Control && !Control->PressHeld() && (MouseFlags & kDown)) {
    MouseFlags &= ~kDown;
    Redraw();
  }
}

void TSkinButton::MouseMoved() {
  if (IsEnabled && !(MouseFlags & kHot)) {
    MouseFlags |= kHot;
    Redraw();
  }
  if (Handle) TrackMouseLeave(Handle);
}

void TSkinButton::MouseReleased() {
  if (!(MouseFlags & kDown)) return;
  MouseFlags &= ~kDown;
  Redraw();
  // Only the release of the control's own press is a click (not one of a
  // press that a modal window or another control's press ended).
  if (releaseOfOwnPress_) ClickButton();
}

void TSkinButton::PressLost() {
  // The press is over without its release (a box opened by a timer or by
  // another thread, another window took the pointer, another control was
  // pressed): the button is up again, and its release will click nothing.
  if (!(MouseFlags & kDown)) return;
  MouseFlags &= ~kDown;
  Redraw();
}

void TSkinButton::MouseLeft() {
  MouseFlags &= ~(kHot | kDown);
  Redraw();
}

void TSkinButton::ClickButton() {
  if (Control) {
    Control->Click();
    return;
  }
  if (!Handle) return;
  // A plain window tells its parent as a button does (BN_CLICKED is 0).
  const bool frameworkClass = LowerCase(WindowClassName(Handle)) == "tbutton";
  const WPARAM id = frameworkClass ? 0 : static_cast<WPARAM>(GetDlgCtrlID(Handle));
  PostMessageA(GetParent(Handle), WM_COMMAND, id, reinterpret_cast<LPARAM>(Handle));
}

void TSkinButton::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT: PaintFrame(nullptr); return;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        MouseFlags |= kDown;
        Redraw();
      }
      return;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        MouseFlags &= ~kDown;
        Redraw();
      }
      return;
    case WM_MOUSEMOVE: MouseMoved(); return;
    case WM_LBUTTONUP: MouseReleased(); return;
    case WM_MOUSELEAVE: MouseLeft(); return;
    case CM_PRESSLOST: PressLost(); return;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED: Redraw(); return;
    default: break;
  }
  TSkinControl::AfterProc(m);
}

// ---- TSkinBitButton ------------------------------------------------------------

const TClassInfo& TSkinBitButton::StaticClass() {
  static const TClassInfo info("TSkinBitButton", &TSkinButton::StaticClass());
  return info;
}

void TSkinBitButton::Configure(const std::string& key, const std::string& value) {
  if (key == "GlyphProperty") PngPropertyName = value;
  TSkinButton::Configure(key, value);
}

void TSkinBitButton::DrawGlyph(TCanvas& canvas, const RECT& p, int glyphCount, int glyph, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const int n = glyphCount < 1 ? 1 : glyphCount;
  const int w = bitmap.Width() / n;
  if (w <= 0) return;
  std::unique_ptr<TBitmap> image;
  if (glyph == kGlyphDisabled && n == 1) {
    image.reset(CreateDisabledGlyph(bitmap));
  } else {
    const int g = glyph > n || glyph < 1 ? 1 : glyph;
    image.reset(new TBitmap(w, bitmap.Height(), pf24bit));
    BitBlt(image->Canvas()->Handle(), 0, 0, w, bitmap.Height(), bitmap.Canvas()->Handle(), w * (g - 1), 0, SRCCOPY);
  }
  // Transparent where the glyph has its bottom-left colour (read from the
  // canvas that holds the picture).
  image->SetTransparentColor(
      static_cast<TColor>(GetPixel(image->Canvas()->Handle(), 0, image->Height() - 1) & 0xFFFFFF));
  image->SetTransparent(true);
  canvas.Draw(p.left, p.top, *image);
}

void TSkinBitButton::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinButtons()) return;
  if (PaintTarget && !PaintTarget->Visible()) return;
  ReadButtonState();
  const bool picture = !PngPropertyName.empty();
  // The picture variant shows the focused image only for the focus.
  const bool focusedOrDefault = IsFocused || (!picture && IsDefaultButton());
  const int frame = PushButtonFrame(MouseFlags & kDown, MouseFlags & kHot, focusedOrDefault, IsEnabled);
  const RECT r = AtOrigin(rect);
  if (!PrepareBuffer(r, frame, Control)) return;
  PaintGlyphAndCaption(r, frame, false);
  CopyBuffer(dc, rect);
}

namespace {

// The picture of a glyph button, read from its properties by name.
struct TGlyphSource {
  TBitmap* glyph = nullptr;
  TGraphic* picture = nullptr;
  TImageList* images = nullptr;
  int numGlyphs = 1;
  int imageIndex = -1;
  int disabledIndex = -1;
  SIZE size = {0, 0};
};

TGlyphSource ReadGlyphSource(const TControl* c, const std::string& pictureProperty, bool perGlyphPicture) {
  TGlyphSource s;
  s.numGlyphs = GetOrdPropByName(c, "NumGlyphs");
  if (s.numGlyphs < 1) s.numGlyphs = 1;
  s.imageIndex = GetOrdPropByName(c, "ImageIndex");
  s.disabledIndex = GetOrdPropByName(c, "DisabledIndex");
  s.images = dynamic_cast<TImageList*>(GetObjectPropByName(c, "Images"));
  if (!pictureProperty.empty()) {
    s.picture = dynamic_cast<TGraphic*>(GetObjectPropByName(c, pictureProperty));
    if (s.picture && s.picture->Empty()) s.picture = nullptr;
  } else {
    s.glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(c, "Glyph"));
    if (s.glyph && s.glyph->Empty()) s.glyph = nullptr;
  }
  if (s.picture)
    s.size = SIZE{perGlyphPicture ? s.picture->Width() / s.numGlyphs : s.picture->Width(), s.picture->Height()};
  else if (s.glyph)
    s.size = SIZE{s.glyph->Width() / s.numGlyphs, s.glyph->Height()};
  else if (s.images && s.imageIndex != -1)
    s.size = SIZE{s.images->Width(), s.images->Height()};
  return s;
}

}  // namespace

void TSkinBitButton::PaintGlyphAndCaption(const RECT& r, int frame, bool speedButton) {
  TControl* src = Source();
  TCanvas& c = *Buffer->Canvas();
  const bool pictureVariant = !PngPropertyName.empty();
  const TGlyphSource g = ReadGlyphSource(src, PngPropertyName, speedButton);
  const bool enabled = speedButton ? EnumText(src, "Enabled") == "true" : IsEnabled;
  const bool downProperty = speedButton && EnumText(src, "Down") == "true";
  const int glyphNumber = speedButton ? SpeedGlyph(frame, downProperty) : GlyphOfFrame(frame);

  TGlyphLayoutInput in;
  in.layout = LayoutFromText(EnumText(src, "Layout"));
  in.client = SIZE{r.right - r.left, r.bottom - r.top};
  in.glyph = g.size;
  in.margin = GetOrdPropByName(src, "Margin");
  in.spacing = GetOrdPropByName(src, "Spacing");
  in.centred = !speedButton && EnumText(src, "Alignment") == "tacenter";
  in.speedButton = speedButton;

  SelectButtonFont(src);
  Caption = BreakCaption(Caption);
  if (!Caption.empty()) {
    RECT area = GlyphTextArea(r, in.layout, g.size);
    c.DrawTextWide(Caption, area, DT_CALCRECT | DT_WORDBREAK);
    in.text = SIZE{area.right - area.left, area.bottom - area.top};
  }
  const TGlyphPlacement p = PlaceGlyphAndText(in);

  const RECT at = {p.glyph.x, p.glyph.y, p.glyph.x + g.size.cx, p.glyph.y + g.size.cy};
  if (g.picture) {
    c.Draw(at.left, at.top, *g.picture);
  } else if (g.glyph) {
    DrawGlyph(c, at, g.numGlyphs, glyphNumber, *g.glyph);
  } else if (g.images) {
    const int index = enabled || g.disabledIndex == -1 ? g.imageIndex : g.disabledIndex;
    if (index != -1) g.images->Draw(c, at.left, at.top, index, enabled);
  }

  // The normal colour is kept for the normal image where a picture shows.
  ApplyCaptionColour(frame, enabled, pictureVariant || speedButton);
  if (Caption.empty()) return;
  RECT text = {p.text.x, p.text.y, p.text.x + in.text.cx, p.text.y + in.text.cy};
  c.Brush()->SetStyle(bsClear);
  const UINT flags = pictureVariant && !speedButton ? p.textFlags : DrawTextFlagsRtl(this, p.textFlags);
  c.DrawTextWide(Caption, text, flags);
  c.Brush()->SetStyle(bsSolid);
  if (!speedButton && IsFocused && !NoFocusRect()) {
    InflateRect(&text, 2, 2);
    DrawFocusRect(c.Handle(), &text);
  }
}

// ---- TSkinMenuButton -------------------------------------------------------------

const TClassInfo& TSkinMenuButton::StaticClass() {
  static const TClassInfo info("TSkinMenuButton", &TSkinButton::StaticClass());
  return info;
}

void TSkinMenuButton::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinButtons()) return;
  ReadButtonState();
  const int frame = MenuButtonFrame(MouseFlags & kDown, IsFocused || (MouseFlags & kHot), IsEnabled);
  const RECT r = AtOrigin(rect);
  if (!PrepareBuffer(r, frame, Control)) return;
  TCanvas& c = *Buffer->Canvas();
  TBitmap* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(Control, "Glyph"));
  if (glyph && glyph->Empty()) glyph = nullptr;
  const SIZE gs = glyph ? SIZE{glyph->Width(), glyph->Height()} : SIZE{0, 0};
  const int margin = GetOrdPropByName(Control, "Margin");
  const int spacing = GetOrdPropByName(Control, "Spacing");
  SelectButtonFont(Control);

  Caption = BreakCaption(Caption);
  SIZE ts = {0, 0};
  if (!Caption.empty()) {
    RECT area = MenuTextArea(r, gs);
    c.DrawTextWide(Caption, area, DT_CALCRECT | DT_WORDBREAK);
    ts = SIZE{area.right - area.left, area.bottom - area.top};
  }
  const TMenuButtonPlacement p = PlaceMenuButton(SIZE{r.right, r.bottom}, gs, ts, margin, spacing);
  if (glyph) DrawGlyph(c, RECT{p.glyph.x, p.glyph.y, p.glyph.x + gs.cx, p.glyph.y + gs.cy}, 1, kGlyphUp, *glyph);

  ApplyCaptionColour(frame, IsEnabled, true);
  const TColor ink = IsEnabled ? clWindowText : clBtnShadow;
  c.Brush()->SetColor(ink);
  c.Pen()->SetColor(ink);
  const int x = p.arrow.x, y = p.arrow.y;
  c.Polygon({POINT{x, y + 2}, POINT{x - 3, y - 1}, POINT{x + 3, y - 1}});

  if (!Caption.empty()) {
    RECT text = {p.text.x, p.text.y, p.text.x + ts.cx, p.text.y + ts.cy};
    c.Brush()->SetStyle(bsClear);
    c.DrawTextWide(Caption, text, DT_WORDBREAK);
    c.Brush()->SetStyle(bsSolid);
    if (IsFocused && !NoFocusRect()) {
      InflateRect(&text, 2, 2);
      DrawFocusRect(c.Handle(), &text);
    }
  }
  CopyBuffer(dc, rect);
}

// ---- registration ------------------------------------------------------------------

void RegisterButtonSkinners() {
  RegisterSkinnerClass("TSkinButton", [](TComponent* owner) -> TSkinControl* { return new TSkinButton(owner); });
  RegisterSkinnerClass("TSkinBitButton",
                       [](TComponent* owner) -> TSkinControl* { return new TSkinBitButton(owner); });
  RegisterSkinnerClass("TSkinMenuButton",
                       [](TComponent* owner) -> TSkinControl* { return new TSkinMenuButton(owner); });
  RegisterSkinnerClass("TSkinSpeedButton",
                       [](TComponent* owner) -> TSkinControl* { return new TSkinSpeedButton(owner); });
}
