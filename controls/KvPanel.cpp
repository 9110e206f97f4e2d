// The extended panel and group box.
#include "KvPanel.h"

#include <algorithm>

#include "Colors.h"
#include "KvControlPaint.h"
#include "KvGdiTarget.h"
#include "KvThemeDraw.h"
#include "Graphics.h"
#include "KvTypeInfo.h"
#include "Text.h"

namespace kv {

namespace {

TRect ToTRect(const RECT& r) { return Rect(r.left, r.top, r.right, r.bottom); }
RECT ToRECT(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

UINT AlignmentFlag(fw::TAlignment a) {
  switch (a) {
    case fw::taLeftJustify: return DT_LEFT;
    case fw::taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

// Size of a text in a font, measured on a screen-compatible context (also
// when the control is not painting).
SIZE MeasureText(fw::TFont& font, const std::string& text) {
  SIZE size = {0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  const std::wstring w = fw::ToWide(text);
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

using P = TKvCustomPanel;

// The panel's published properties; the group box publishes a part of them
// with some defaults of its own.
void PublishPanel(fw::TClassInfo& i, bool groupBox) {
  const fw::TIdentMap* colours = &fw::ColorIdents();
  if (!groupBox) {
    i.Enum("AlignmentVertical", AlignmentVerticalType(), &P::AlignmentVertical, &P::SetAlignmentVertical, avCenter)
        .Bool("AutoSize", &fw::TWinControl::AutoSize, &fw::TWinControl::SetAutoSize, false)
        .Int("BorderHighlight", &P::BorderHighlight, &P::SetBorderHighlight, clBtnHighlight, colours)
        .Int("BorderShadow", &P::BorderShadow, &P::SetBorderShadow, clBtnShadow, colours)
        .Bool("FullRepaint", &P::FullRepaint, &P::SetFullRepaint, true)
        .Int("GridColor", &P::GridColor, &P::SetGridColor, clBtnShadow, colours)
        .Enum("GridStyle", GridStyleType(), &P::GridStyle, &P::SetGridStyle, gsDots)
        .Int("GridXSize", &P::GridXSize, &P::SetGridXSize, 8)
        .Int("GridYSize", &P::GridYSize, &P::SetGridYSize, 8)
        .Bool("Locked", &P::Locked, &P::SetLocked, false)
        .Bool("PaintClientArea", &P::PaintClientArea, &P::SetPaintClientArea, true)
        .Bool("ShowGrid", &P::ShowGrid, &P::SetShowGrid, false)
        .Int("TextMargin", &P::TextMargin, &P::SetTextMargin, 0)
        .Bool("UseDockManager", &P::UseDockManager, &P::SetUseDockManager, true)
        .Bool("WordWrap", &P::WordWrap, &P::SetWordWrap, true);
  }
  // The framework's size limits (the group box leaves out the resize events).
  fw::PublishConstraints(i, !groupBox);
  fw::PublishCtl3D(i);
  i.Enum("Alignment", fw::AlignmentType(), &P::Alignment, &P::SetAlignment,
         groupBox ? fw::taLeftJustify : fw::taCenter)
      .Int("BevelWidth", &P::BevelWidth, &P::SetBevelWidth, 1)
      .Int("BorderColor", &P::BorderColor, &P::SetBorderColor, clBtnFace, colours)
      .Enum("BorderInner", FrameStyleExType(), &P::BorderInner, &P::SetBorderInner, fsNone)
      .Enum("BorderOuter", FrameStyleExType(), &P::BorderOuter, &P::SetBorderOuter, groupBox ? fsNone : fsRaised)
      .Set("BorderSides", SideType(), &P::BorderSides, &P::SetBorderSides, kAllSides)
      .Int("BorderWidth", &P::BorderWidth, &P::SetBorderWidth, 0)
      .Str("Caption", &fw::TControl::Caption, &fw::TControl::SetCaption)
      .Int("Color", &fw::TControl::Color, &fw::TControl::SetColor, clBtnFace, colours)
      .Bool("DockSite", &P::DockSite, &P::SetDockSite, false)
      .Int("FlatColor", &P::FlatColor, &P::SetFlatColor, clBtnShadow, colours)
      .Int("FlatColorAdjustment", &P::FlatColorAdjustment, &P::SetFlatColorAdjustment, 30)
      .Obj("Font", &fw::TControl::Font)
      .Obj("FrameController", &P::FrameController, &P::SetFrameController)
      .Set("FrameControllerNotifications", FrameControllerPropertyType(), &P::FrameControllerNotifications,
           &P::SetFrameControllerNotifications, kAllFrameNotifications)
      .Enum("GradientColorStyle", GradientColorStyleType(), &P::GradientColorStyle, &P::SetGradientColorStyle,
            gcsSystem)
      .Int("GradientColorStart", &P::GradientColorStart, &P::SetGradientColorStart, clWhite, colours)
      .Int("GradientColorStop", &P::GradientColorStop, &P::SetGradientColorStop, clBtnFace, colours)
      .Enum("GradientDirection", GradientDirectionType(), &P::GradientDirection, &P::SetGradientDirection,
            gdHorizontalEnd)
      .Bool("ParentColor", &fw::TControl::ParentColor, &fw::TControl::SetParentColor, false)
      .Bool("ParentFont", &fw::TControl::ParentFont, &fw::TControl::SetParentFont, true)
      .Bool("ShowDockClientCaptions", &P::ShowDockClientCaptions, &P::SetShowDockClientCaptions, true)
      .Bool("Transparent", &P::Transparent, &P::SetTransparent, false)
      .Enum("VisualStyle", VisualStyleType(), &P::VisualStyle, &P::SetVisualStyle, vsWinXP)
      .Event("OnMouseEnter", &P::OnMouseEnter)
      .Event("OnMouseLeave", &P::OnMouseLeave)
      .Event("OnPaint", &P::OnPaint);
}

fw::TAlign AlignOf(const fw::TControl* c) { return c->Align(); }

}  // namespace

// ---- Dock manager ----------------------------------------------------------------

namespace {
const char kDockCaptionFont[] = "Verdana";
const char kDockGlyphFont[] = "Marlett";
constexpr int kDockFontPoints = 8;
const char kCloseGlyph[] = "r";  // the close cross in the glyph font
}  // namespace

TKvPanelDockManager::TKvPanelDockManager(TKvCustomPanel* site)
    : fw::TDockTree(site), panel_(site), captionFont_(new fw::TFont), glyphFont_(new fw::TFont) {
  SetGrabberSize(kDockGrabberSize);
  captionFont_->SetName(kDockCaptionFont);
  captionFont_->SetSize(kDockFontPoints);
  glyphFont_->SetName(kDockGlyphFont);
  glyphFont_->SetSize(kDockFontPoints);
  glyphFont_->SetCharset(SYMBOL_CHARSET);
  siteHook_.Install(site, [this](fw::TMessage& m) { SiteMessage(m); });
}

TKvPanelDockManager::~TKvPanelDockManager() { siteHook_.Remove(); }

void TKvPanelDockManager::SiteMessage(fw::TMessage& m) {
  if (m.Msg == WM_COMMAND || m.Msg == WM_MOUSEACTIVATE) panel_->Invalidate();
  siteHook_.CallPrevious(m);
}

void TKvPanelDockManager::AdjustDockRect(fw::TControl*, RECT& rect) {
  rect = ToRECT(DockClientArea(ToTRect(rect), SideBySide()));
}

RECT TKvPanelDockManager::GrabberRect(fw::TControl*, const RECT& frame) {
  return ToRECT(DockClientGrabber(ToTRect(frame), SideBySide()).grabber);
}

RECT TKvPanelDockManager::CloseBoxRect(fw::TControl*, const RECT& frame) {
  return ToRECT(DockClientGrabber(ToTRect(frame), SideBySide()).closeBox);
}

void TKvPanelDockManager::PaintDockFrame(fw::TCanvas& c, fw::TControl* client, const RECT& frame) {
  if (!panel_->ShowDockClientCaptions()) {
    fw::TDockTree::PaintDockFrame(c, client, frame);
    return;
  }
  const TDockGrabber g = DockClientGrabber(ToTRect(frame), SideBySide());
  bool active = true;
  if (auto* w = dynamic_cast<fw::TWinControl*>(client)) {
    HWND focus = GetFocus();
    HWND h = w->HandleIfAllocated();
    active = h && focus && (focus == h || IsChild(h, focus));
  }
  c.Font()->Assign(*captionFont_);
  c.Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
  c.Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
  c.FillRect(ToRECT(g.grabber));
  const std::string caption = client->Caption();
  c.Brush()->SetStyle(fw::bsClear);
  if (g.vertical) {
    HDC dc = c.Handle();
    // A caption longer than the grabber stops short of the close box.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, g.grabber.left, g.closeBox.bottom, g.grabber.right, g.grabber.bottom);
    HFONT rotated = CreateRotatedFont(*captionFont_, 90);
    HGDIOBJ old = SelectObject(dc, rotated);
    const UINT oldAlign = SetTextAlign(dc, TA_BASELINE);
    SetTextColor(dc, ColorToRGB(clCaptionText));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring w = fw::ToWide(caption);
    TextOutW(dc, g.caption.x, g.caption.y, w.c_str(), static_cast<int>(w.size()));
    SetTextAlign(dc, oldAlign);
    SelectObject(dc, old);
    DeleteObject(rotated);
    RestoreDC(dc, saved);
  } else {
    RECT text = ToRECT(Rect(g.caption.x, g.grabber.top, g.closeBox.left, g.grabber.bottom));
    c.DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  c.Font()->Assign(*glyphFont_);
  c.Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
  c.TextOut(g.closeBox.left, g.closeBox.top, kCloseGlyph);
  c.Brush()->SetStyle(fw::bsSolid);
}

// ---- Panel -------------------------------------------------------------------

const fw::TClassInfo& TKvCustomPanel::StaticClass() {
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<TKvCustomPanel>("TKvCustomPanel", &fw::TCustomPanel::StaticClass());
  return info;
}

const fw::TClassInfo& TKvPanel::StaticClass() {
  static const fw::TClassInfo info = [] {
    fw::TClassInfo i = fw::TClassInfo::Make<TKvPanel>("TKvPanel", &TKvCustomPanel::StaticClass());
    PublishPanel(i, false);
    return i;
  }();
  return info;
}

TKvCustomPanel::TKvCustomPanel(fw::TComponent* owner) : fw::TCustomPanel(owner) {
  SetBevelOuter(fw::bvNone);
  opaque_ = true;
  SetUseDockManager(true);
}

void TKvCustomPanel::BeforeDestruction() {
  if (frameController_) {
    frameController_->UnregisterControl(this);
    RemoveFreeNotification(frameController_);
    frameController_ = nullptr;
  }
  savedChildStates_.clear();
  fw::TCustomPanel::BeforeDestruction();
}

POINT TKvCustomPanel::CursorPosInClient() {
  POINT p;
  GetCursorPos(&p);
  return ScreenToClient(p);
}

TRect TKvCustomPanel::ShrinkByFrame(TRect rect, bool withBorderWidth) {
  TPanelFrame f;
  f.outer = borderOuter_;
  f.inner = borderInner_;
  f.sides = borderSides_;
  f.borderWidth = BorderWidth();
  f.bevelWidth = BevelWidth();
  return kv::ShrinkByFrame(rect, f, withBorderWidth);
}

TRect TKvCustomPanel::GetOuterRect() { return Rect(0, 0, Width(), Height()); }

TGradientPair TKvCustomPanel::GetPanelGradientColors() {
  if (gradientColorStyle_ == gcsCustom) return {gradientColorStart_, gradientColorStop_};
  return GetGradientColors(gradientColorStyle_);
}

std::pair<TColor, int> TKvCustomPanel::GetPanelFlatColor() {
  if (visualStyle_ == vsGradient && gradientColorStyle_ != gcsCustom)
    return {GetGradientFrameColor(gradientColorStyle_), 0};
  return {flatColor_, flatColorAdjustment_};
}

TFrameBorders TKvCustomPanel::FrameBordersForPaint(TColor flat, int adjustment) {
  TFrameBorders f;
  f.outer = borderOuter_;
  f.inner = borderInner_;
  f.sides = borderSides_;
  f.borderWidth = BorderWidth();
  f.bevelWidth = BevelWidth();
  f.transparent = transparent_;
  f.parentColor = Parent() ? Parent()->Color() : Color();
  f.controlColor = Color();
  f.borderColor = borderColor_;
  f.borderHighlight = borderHighlight_;
  f.borderShadow = borderShadow_;
  f.flatColor = flat;
  f.flatColorAdjustment = adjustment;
  return f;
}

void TKvCustomPanel::PaintCaptionText(TRect rect) {
  const std::string caption = Caption();
  if (caption.empty()) return;
  fw::TCanvas* c = Canvas();
  c->Font()->Assign(*Font());
  rect = InflateRect(rect, -textMargin_, -textMargin_);
  const UINT flags = (wordWrap_ ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_VCENTER | AlignmentFlag(Alignment());
  RECT calc = ToRECT(rect);
  const int h = c->DrawText(caption, calc, flags | DT_CALCRECT);
  RECT r = ToRECT(PlaceCaption(rect, h, alignmentVertical_));
  c->Brush()->SetStyle(fw::bsClear);
  if (!Enabled()) {
    c->Font()->SetColor(clBtnHighlight);
    RECT moved = r;
    OffsetRect(&moved, 1, 1);
    c->DrawText(caption, moved, flags);
    c->Font()->SetColor(clBtnShadow);
  }
  c->DrawText(caption, r, flags);
}

void TKvCustomPanel::PaintGrid(TRect rect) {
  GdiPaintTarget t(Canvas()->Handle());
  kv::PaintGrid(t, rect, gridStyle_, gridXSize_, gridYSize_, gridColor_);
}

void TKvCustomPanel::Paint() {
  fw::TCanvas* c = Canvas();
  HDC dc = c->Handle();
  TRect rect = GetOuterRect();
  const std::pair<TColor, int> flat = GetPanelFlatColor();
  GdiPaintTarget t(dc);
  rect = DrawFrameBorders(t, rect, FrameBordersForPaint(flat.first, flat.second));
  if (!transparent_ && paintClientArea_) {
    if (visualStyle_ == vsGradient) {
      const TGradientPair g = GetPanelGradientColors();
      DrawGradient(dc, rect, gradientDirection_, 1, g.stop, g.start);
    } else {
      t.FillRect(rect, Color());
    }
  }
  if (showGrid_) PaintGrid(rect);
  c->Brush()->SetStyle(fw::bsClear);
  PaintCaptionText(rect);
  c->Brush()->SetStyle(fw::bsSolid);
  if (OnPaint) OnPaint(this);
}

TKvPanelDockManager* TKvCustomPanel::DockManager() const {
  return dynamic_cast<TKvPanelDockManager*>(fw::TCustomPanel::DockManager());
}

fw::TDockTree* TKvCustomPanel::CreateDockManager() {
  SetDoubleBuffered(true);
  return new TKvPanelDockManager(this);
}

void TKvCustomPanel::AdjustClientRect(RECT& rect) {
  fw::TCustomPanel::AdjustClientRect(rect);
  rect = ToRECT(ShrinkByFrame(ToTRect(rect), false));
}

void TKvCustomPanel::SetBounds(int left, int top, int width, int height) {
  const TRect oldBounds = Rect(Left(), Top(), Left() + Width(), Top() + Height());
  TAlignEdge edge = aeNone;
  if (AlignOf(this) == fw::alBottom) edge = aeBottom;
  if (AlignOf(this) == fw::alRight) edge = aeRight;
  const TRect b = KeepAlignedEdge(edge, oldBounds, Rect(left, top, left + width, top + height));
  const TRect oldOuter = GetOuterRect();
  const TRect oldInner = ShrinkByFrame(oldOuter, true);
  const int oldLeft = Left(), oldTop = Top(), oldWidth = Width(), oldHeight = Height();
  fw::TCustomPanel::SetBounds(b.left, b.top, b.Width(), b.Height());
  // The size actually taken (the constraints may have held it).
  const bool resized = Width() != oldWidth || Height() != oldHeight;
  const bool moved = Left() != oldLeft || Top() != oldTop;
  HWND h = HandleIfAllocated();
  if (!h || (!resized && !moved)) return;
  // A move alone repaints the whole panel too: the platform copies the old
  // image along, and a transparent panel would keep its parent's image from
  // its old place.
  if (FullRepaint() || !Caption().empty()) {
    Invalidate();
    return;
  }
  if (!resized) return;
  for (const TRect& strip : ResizeRepaintStrips(oldOuter, oldInner, Width(), Height(), GetResizeRepaintMargin())) {
    const RECT r = ToRECT(strip);
    InvalidateRect(h, &r, TRUE);
  }
}

void TKvCustomPanel::EnabledChanged() {
  fw::TCustomPanel::EnabledChanged();
  const std::vector<fw::TControl*> children = Controls();
  if (!Enabled()) {
    savedChildStates_.clear();
    for (fw::TControl* c : children) {
      savedChildStates_.emplace_back(c, c->Enabled());
      c->SetEnabled(false);
    }
  } else {
    for (fw::TControl* c : children) {
      const auto it = std::find_if(savedChildStates_.begin(), savedChildStates_.end(),
                                   [c](const std::pair<fw::TControl*, bool>& s) { return s.first == c; });
      if (it == savedChildStates_.end() || it->second) c->SetEnabled(true);
    }
  }
}

void TKvCustomPanel::MouseEnter() {
  fw::TCustomPanel::MouseEnter();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKvCustomPanel::MouseLeave() {
  fw::TCustomPanel::MouseLeave();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKvCustomPanel::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      // The fill is painted with the frame; a transparent panel shows its
      // parent here instead. Either way the platform erases nothing.
      // Double-buffered, the erase happens in the buffer, not on the screen.
      if (transparent_ && paintClientArea_ && !SkipsScreenErase())
        DrawParentBackground(this, reinterpret_cast<HDC>(m.WParam), true);
      m.Result = 1;
      return;
    case WM_THEMECHANGED:
      fw::TCustomPanel::WndProc(m);
      ReloadColorScheme();
      return;
    default:
      fw::TCustomPanel::WndProc(m);
  }
}

void TKvCustomPanel::DefineProperties(fw::TFiler& filer) {
  fw::TCustomPanel::DefineProperties(filer);
  filer.DefineProperty("FrameSides", TKvOldPropReader::ReadSet());
  filer.DefineProperty("ThemeAware", TKvOldPropReader::ReadBoolean());
  filer.DefineProperty("UseGradients", [this](const fw::TFormValue& v, std::string& error) {
    bool on = false;
    if (!fw::ReadBooleanValue(v, on, error)) return false;
    if (on) SetVisualStyle(vsGradient);
    return true;
  });
}

void TKvCustomPanel::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TCustomPanel::Notification(component, operation);
  if (operation == fw::opRemove && component == frameController_) frameController_ = nullptr;
}

void TKvCustomPanel::ApplyFrameControllerSettings() {
  TKvFrameController* fc = frameController_;
  if (!fc || !fc->FrameVisible()) return;
  const auto has = [this](TKvFrameControllerProperty p) { return (notifications_ & (1u << p)) != 0; };
  if (has(fcpFrameStyle)) borderOuter_ = fc->FrameStyle();
  if (has(fcpFrameSides)) borderSides_ = fc->FrameSides();
  if (has(fcpFrameColor)) {
    flatColor_ = fc->FrameColor();
    flatColorAdjustment_ = 0;
  }
  if (has(fcpColor)) SetColor(fc->Color());
  if (has(fcpParentColor)) SetParentColor(fc->ParentColor());
  if (has(fcpColor)) {
    borderHighlight_ = LightenColor(Color(), 100);
    borderShadow_ = DarkenColor(Color(), 50);
  }
  Invalidate();
}

void TKvCustomPanel::FillChanged() {
  Invalidate();
  InvalidateTransparentChildren(this);
}

void TKvCustomPanel::FrameChanged() {
  Realign();
  Invalidate();
}

#define KV_PANEL_SETTER(Setter, Type, field, after) \
  void TKvCustomPanel::Setter(Type v) {             \
    if (field == v) return;                         \
    field = v;                                      \
    after;                                          \
  }
KV_PANEL_SETTER(SetAlignmentVertical, TAlignmentVertical, alignmentVertical_, Invalidate())
KV_PANEL_SETTER(SetBorderColor, TColor, borderColor_, Invalidate())
KV_PANEL_SETTER(SetBorderInner, TFrameStyleEx, borderInner_, FrameChanged())
KV_PANEL_SETTER(SetBorderOuter, TFrameStyleEx, borderOuter_, FrameChanged())
KV_PANEL_SETTER(SetBorderSides, TSides, borderSides_, FrameChanged())
KV_PANEL_SETTER(SetBorderHighlight, TColor, borderHighlight_, Invalidate())
KV_PANEL_SETTER(SetBorderShadow, TColor, borderShadow_, Invalidate())
KV_PANEL_SETTER(SetFlatColor, TColor, flatColor_, Invalidate())
KV_PANEL_SETTER(SetFlatColorAdjustment, int32_t, flatColorAdjustment_, Invalidate())
KV_PANEL_SETTER(SetGradientColorStyle, TKvGradientColorStyle, gradientColorStyle_, Invalidate())
KV_PANEL_SETTER(SetGradientColorStart, TColor, gradientColorStart_, FillChanged())
KV_PANEL_SETTER(SetGradientColorStop, TColor, gradientColorStop_, FillChanged())
KV_PANEL_SETTER(SetGradientDirection, TGradientDirection, gradientDirection_, FillChanged())
KV_PANEL_SETTER(SetGridColor, TColor, gridColor_, Invalidate())
KV_PANEL_SETTER(SetGridStyle, TKvGridStyle, gridStyle_, Invalidate())
KV_PANEL_SETTER(SetPaintClientArea, bool, paintClientArea_, Invalidate())
KV_PANEL_SETTER(SetShowGrid, bool, showGrid_, Invalidate())
KV_PANEL_SETTER(SetTextMargin, int32_t, textMargin_, Invalidate())
KV_PANEL_SETTER(SetWordWrap, bool, wordWrap_, Invalidate())
KV_PANEL_SETTER(SetVisualStyle, TKvVisualStyle, visualStyle_, Invalidate())
#undef KV_PANEL_SETTER

void TKvCustomPanel::SetGridXSize(int32_t v) {
  v &= 0xFFFF;  // a 16-bit size
  if (v == gridXSize_) return;
  gridXSize_ = v;
  Invalidate();
}

void TKvCustomPanel::SetGridYSize(int32_t v) {
  v &= 0xFFFF;
  if (v == gridYSize_) return;
  gridYSize_ = v;
  Invalidate();
}

void TKvCustomPanel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  opaque_ = !v;
  Invalidate();
  for (fw::TControl* c : Controls()) c->Invalidate();
}

void TKvCustomPanel::SetFrameController(TKvFrameController* v) {
  if (v == frameController_) return;
  if (frameController_) {
    frameController_->UnregisterControl(this);
    RemoveFreeNotification(frameController_);
  }
  frameController_ = v;
  if (v) {
    FreeNotification(v);
    v->RegisterControl(this);
  }
}

// ---- Group box -----------------------------------------------------------------

const fw::TClassInfo& TKvCustomGroupBox::StaticClass() {
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<TKvCustomGroupBox>("TKvCustomGroupBox", &TKvCustomPanel::StaticClass());
  return info;
}

const fw::TClassInfo& TKvGroupBox::StaticClass() {
  static const fw::TClassInfo info = [] {
    using G = TKvCustomGroupBox;
    fw::TClassInfo i = fw::TClassInfo::Make<TKvGroupBox>("TKvGroupBox", &TKvCustomGroupBox::StaticClass());
    PublishPanel(i, true);
    i.Enum("GroupStyle", GroupBoxStyleType(), &G::GroupStyle, &G::SetGroupStyle, gsFlat)
        .Int("Height", &fw::TControl::Height, &fw::TControl::SetHeight, 105)
        .Hide("UseDockManager");
    return i;
  }();
  return info;
}

TKvCustomGroupBox::TKvCustomGroupBox(fw::TComponent* owner) : TKvCustomPanel(owner) {
  borderOuter_ = fsNone;
  borderInner_ = fsNone;
  SetAlignment(fw::taLeftJustify);
  alignmentVertical_ = avTop;
  SetHeight(105);
}

void TKvCustomGroupBox::SetGroupStyle(TKvGroupBoxStyle v) {
  if (v == groupStyle_) return;
  groupStyle_ = v;
  Realign();
  Invalidate();
}

void TKvCustomGroupBox::ApplyFrameControllerSettings() {
  if (groupStyle_ == gsCustom) TKvCustomPanel::ApplyFrameControllerSettings();
}

int TKvCustomGroupBox::TextHeightOf(const char* sample) { return MeasureText(*Font(), sample).cy; }

void TKvCustomGroupBox::AdjustClientRect(RECT& rect) {
  TKvCustomPanel::AdjustClientRect(rect);
  rect = ToRECT(GroupClientRect(ToTRect(rect), groupStyle_, TextHeightOf("Yy"), BorderWidth(), Caption().empty()));
}

TRect TKvCustomGroupBox::CaptionBox() {
  const std::string caption = Caption();
  if (caption.empty() || groupStyle_ == gsCustom) return TRect{};
  const SIZE s = MeasureText(*Font(), StripAccelerators(caption));
  return GroupCaptionBox(groupStyle_, s.cx, s.cy, Width(), BiDiMode() != fw::bdLeftToRight);
}

void TKvCustomGroupBox::PaintThemed(const TRect& box) {
  fw::TCanvas* c = Canvas();
  HDC dc = c->Handle();
  const int y0 = GroupFrameTop(TextHeightOf("Pp"));
  if (!transparent_) DrawParentBackground(this, dc, true);
  c->ExcludeClip(ToRECT(box));
  DrawThemedGroupBoxFrame(HandleIfAllocated(), dc, RECT{0, y0, Width(), Height()}, Enabled());
  c->ClearClip();
  c->Font()->Assign(*Font());
  DrawThemedGroupBoxText(HandleIfAllocated(), dc, ToRECT(box), Caption(), DT_SINGLELINE | AlignmentFlag(Alignment()),
                         Enabled());
}

void TKvCustomGroupBox::Paint() {
  fw::TCanvas* c = Canvas();
  c->Font()->Assign(*Font());
  const int y0 = GroupFrameTop(TextHeightOf("Pp"));
  TRect box = CaptionBox();
  const bool themed = visualStyle_ == vsWinXP && ThemesEnabled();
  if (themed && (groupStyle_ == gsStandard || groupStyle_ == gsFlat)) {
    PaintThemed(box);
    return;
  }
  if (groupStyle_ == gsCustom) {
    TKvCustomPanel::Paint();
    return;
  }
  HDC dc = c->Handle();
  GdiPaintTarget t(dc);
  if (!transparent_) t.FillRect(Rect(0, 0, Width(), Height()), Color());
  if (transparent_ && groupStyle_ != gsBanner && box.Width() > 0) c->ExcludeClip(ToRECT(box));
  const TRect F = Rect(0, y0, Width(), Height());
  const TColor fc = ShiftColorLightness(flatColor_, flatColorAdjustment_);
  if (groupStyle_ == gsBanner) {
    TColor start, stop, pen;
    if (gradientColorStyle_ == gcsCustom) {
      start = gradientColorStart_;
      stop = gradientColorStop_;
      pen = fc;
    } else {
      const TBannerColors b = GetBannerColors(gradientColorStyle_);
      stop = b.stop;
      start = b.start;
      pen = b.frame;
    }
    DrawBannerOutline(t, box, pen);
    DrawGradient(dc, InflateRect(box, -1, -1), gdHorizontalEnd, 1, stop, start);
  } else {
    TGroupFrame g;
    g.style = groupStyle_;
    g.borderOuter = borderOuter_;
    g.flatColor = fc;
    DrawGroupFrame(t, g, F, box);
  }
  const std::string caption = Caption();
  if (!caption.empty()) {
    if (!transparent_ && groupStyle_ != gsBanner) t.FillRect(box, Color());
    if (groupStyle_ == gsBanner) box = InflateRect(box, -4, -1);
    c->Brush()->SetStyle(fw::bsClear);
    RECT r = ToRECT(box);
    const UINT flags = DT_SINGLELINE | AlignmentFlag(Alignment());
    if (Enabled() && themed) c->Font()->SetColor(GetThemedElementColor(6));
    if (!Enabled()) {
      c->Font()->SetColor(clBtnHighlight);
      RECT moved = r;
      OffsetRect(&moved, 1, 1);
      c->DrawText(caption, moved, flags);
      c->Font()->SetColor(clBtnShadow);
    }
    c->ClearClip();
    c->DrawText(caption, r, flags);
  }
  c->ClearClip();
}

void TKvCustomGroupBox::FontChanged() {
  TKvCustomPanel::FontChanged();
  Realign();
  Invalidate();
}

void TKvCustomGroupBox::WndProc(fw::TMessage& m) {
  if (m.Msg == fw::CM_DIALOGCHAR && fw::IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
    if (fw::TWinControl* first = FindNextControl(nullptr, true, true)) {
      first->SetFocus();
      m.Result = 1;
      return;
    }
  }
  TKvCustomPanel::WndProc(m);
}

}  // namespace kv
