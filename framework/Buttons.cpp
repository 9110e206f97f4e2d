#include "Buttons.h"

#include "Text.h"

namespace fw {

const TEnumType& ButtonLayoutType() {
  static const TEnumType t{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  return t;
}
const TEnumType& BitBtnKindType() {
  static const TEnumType t{"TBitBtnKind",
                           {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                            "bkRetry", "bkIgnore", "bkAll"}};
  return t;
}

void CalcButtonLayout(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                      POINT& glyphPos, RECT& textRect) {
  int cw = client.right - client.left, ch = client.bottom - client.top;
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (glyph.cx == 0 || text.cx == 0) spacing = 0;
  int glyphExtent = horizontal ? glyph.cx : glyph.cy;
  int textExtent = horizontal ? text.cx : text.cy;
  int total = horizontal ? cw : ch;
  if (margin == -1) {
    if (spacing == -1) {
      spacing = (total - glyphExtent - textExtent) / 3;
      margin = spacing;
    } else {
      margin = (total - glyphExtent - textExtent - spacing) / 2;
    }
  } else if (spacing == -1) {
    spacing = (total - margin - glyphExtent - textExtent) / 2;
  }
  int glyphAt, textAt;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    glyphAt = margin;
    textAt = margin + glyphExtent + spacing;
  } else {
    glyphAt = total - margin - glyphExtent;
    textAt = glyphAt - spacing - textExtent;
  }
  if (horizontal) {
    glyphPos = POINT{client.left + glyphAt, client.top + (ch - glyph.cy) / 2};
    int ty = client.top + (ch - text.cy) / 2;
    textRect = RECT{client.left + textAt, ty, client.left + textAt + text.cx, ty + text.cy};
  } else {
    glyphPos = POINT{client.left + (cw - glyph.cx) / 2, client.top + glyphAt};
    int tx = client.left + (cw - text.cx) / 2;
    textRect = RECT{tx, client.top + textAt, tx + text.cx, client.top + textAt + text.cy};
  }
}

// ---- TButtonGlyph ------------------------------------------------------

TButtonGlyph::TButtonGlyph() : glyph_(new TBitmap) {
  glyph_->OnChange = [this](TObject*) {
    if (OnChange) OnChange(nullptr);
  };
}

void TButtonGlyph::SetNumGlyphs(int n) {
  if (n < 1 || n > 4) return;
  numGlyphs_ = n;
  if (OnChange) OnChange(nullptr);
}

SIZE TButtonGlyph::Size() const {
  if (glyph_->Empty()) return SIZE{0, 0};
  return SIZE{glyph_->Width() / numGlyphs_, glyph_->Height()};
}

void TButtonGlyph::Draw(TCanvas& canvas, POINT at, TButtonState state) {
  if (glyph_->Empty()) return;
  SIZE s = Size();
  int frame = 0;
  switch (state) {
    case bsDisabled: frame = numGlyphs_ >= 2 ? 1 : 0; break;
    case bsDown: frame = numGlyphs_ >= 3 ? 2 : 0; break;
    case bsExclusive: frame = numGlyphs_ >= 4 ? 3 : (numGlyphs_ >= 3 ? 2 : 0); break;
    default: break;
  }
  HDC src = glyph_->Canvas()->Handle();
  COLORREF key = ColorToRGB(glyph_->TransparentColor());
  if (state == bsDisabled && numGlyphs_ < 2) {
    // No disabled image: an embossed grey shape of the glyph.
    TBitmap grey(s.cx, s.cy);
    HDC g = grey.Canvas()->Handle();
    BitBlt(g, 0, 0, s.cx, s.cy, src, frame * s.cx, 0, SRCCOPY);
    for (int y = 0; y < s.cy; ++y)
      for (int x = 0; x < s.cx; ++x)
        if (GetPixel(g, x, y) != key) SetPixel(g, x, y, ColorToRGB(clBtnShadow));
    TransparentBlt(canvas.Handle(), at.x, at.y, s.cx, s.cy, g, 0, 0, s.cx, s.cy, key);
    return;
  }
  TransparentBlt(canvas.Handle(), at.x, at.y, s.cx, s.cy, src, frame * s.cx, 0, s.cx, s.cy, key);
}

namespace {
// Glyph and caption of a button into rect of canvas.
void DrawGlyphAndCaption(TCanvas& c, const RECT& rect, TButtonGlyph& glyph, const std::string& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state, bool enabled) {
  RECT calc = {0, 0, rect.right - rect.left, 0};
  SIZE text = {0, 0};
  if (!caption.empty()) {
    c.DrawText(caption, calc, DT_CALCRECT | DT_SINGLELINE);
    text = SIZE{calc.right - calc.left, calc.bottom - calc.top};
  }
  POINT at;
  RECT tr;
  CalcButtonLayout(rect, glyph.Size(), text, layout, margin, spacing, at, tr);
  glyph.Draw(c, at, state);
  if (caption.empty()) return;
  c.Brush()->SetStyle(bsClear);
  if (!enabled) {
    OffsetRect(&tr, 1, 1);
    c.Font()->SetColor(clBtnHighlight);
    c.DrawText(caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    OffsetRect(&tr, -1, -1);
    c.Font()->SetColor(clBtnShadow);
  }
  c.DrawText(caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
}  // namespace

// ---- TBitBtn -----------------------------------------------------------

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TBitBtn>("TBitBtn", &TButton::StaticClass());
    PublishGlyph(i);
    i.Enum("Kind", BitBtnKindType(), &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom);
    return i;
  }();
  return info;
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style = (p.style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  static const TModalResult results[] = {mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo,
                                         mrNone, mrAbort, mrRetry, mrIgnore, mrNo + 1};
  SetModalResult(results[kind]);
  if (kind == bkCancel) SetCancel(true);
  if (kind == bkOK || kind == bkYes) SetDefault(true);
}

void TBitBtn::Click() {
  if (kind_ == bkClose) {
    if (TForm* f = GetParentForm(this)) {
      f->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::DrawButton(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  HDC dc = item.hDC;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool focused = (item.itemState & ODS_FOCUS) != 0;
  bool enabled = Enabled();
  if (Default() || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  TCanvas* c = Canvas();
  c->SetHandle(dc);
  c->Font()->Assign(*Font());
  RECT inner = r;
  InflateRect(&inner, -2, -2);
  if (pressed) OffsetRect(&inner, 1, 1);
  DrawGlyphAndCaption(*c, inner, glyph_, Caption(), layout_, margin_, spacing_,
                      !enabled ? bsDisabled : pressed ? bsDown : bsUp, enabled);
  if (focused) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
  c->SetHandle(nullptr);
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    DrawButton(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  if (m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;  // a quick second click is a click
  TButton::WndProc(m);
}

// ---- TSpeedButton ------------------------------------------------------

const TClassInfo& TSpeedButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass());
    PublishCaption(i);
    i.Obj("Font", &TControl::Font, &TControl::SetFont)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false)
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
        .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
        .Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent, true);
    PublishGlyph(i);
    return i;
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGlyphButton(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (!v && !allowAllUp_) {
    // The last button down in its group stays down unless all may be up.
    bool other = false;
    if (Parent())
      for (TControl* c : Parent()->Controls())
        if (auto* b = dynamic_cast<TSpeedButton*>(c); b && b != this && b->groupIndex_ == groupIndex_ && b->down_)
          other = true;
    if (!other) return;
  }
  down_ = v;
  if (v && Parent())
    for (TControl* c : Parent()->Controls())
      if (auto* b = dynamic_cast<TSpeedButton*>(c); b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
  Invalidate();
}

TButtonState TSpeedButton::State() const {
  if (!Enabled()) return bsDisabled;
  if (pressed_ && MouseInside()) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::Click() {
  if (groupIndex_ != 0) SetDown(allowAllUp_ ? !down_ : true);
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // A press that is over already (a modal window opened by OnDblClick
  // took its release) leaves the button up.
  if (button == mbLeft && Enabled() && PressHeld()) {
    pressed_ = true;
    // The second press of a double click is a press of the button as
    // well: its release clicks it (a control clicks only on a single
    // press), so that two quick clicks are two clicks.
    doublePress_ = (shift & (1u << ssDouble)) != 0;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool clickHere = button == mbLeft && pressed_ && doublePress_;
  if (button == mbLeft && pressed_) {
    pressed_ = false;
    doublePress_ = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
  const RECT r = ClientRect();
  const POINT p = {x, y};
  if (clickHere && Enabled() && PtInRect(&r, p)) Click();
}

void TSpeedButton::PressLost() {
  if (!pressed_) return;
  pressed_ = false;
  doublePress_ = false;
  Invalidate();
}

void TSpeedButton::MouseEnter() {
  if (flat_) Invalidate();
}
void TSpeedButton::MouseLeave() {
  if (flat_ || pressed_) Invalidate();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  TButtonState state = State();
  HDC dc = c->Handle();
  if (!flat_ || !transparent_) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
  }
  bool hot = MouseInside() && Enabled();
  if (!flat_) {
    DrawEdge(dc, &r, (state == bsDown || state == bsExclusive) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (hot || state == bsDown || state == bsExclusive) {
    DrawEdge(dc, &r, (state == bsDown || state == bsExclusive) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  if (state == bsDown || state == bsExclusive) OffsetRect(&inner, 1, 1);
  DrawGlyphAndCaption(*c, inner, glyph_, Caption(), layout_, margin_, spacing_, state, Enabled());
}

}  // namespace fw
