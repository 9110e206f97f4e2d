#include "Canvas.h"

#include "Bitmap.h"
#include "Text.h"

namespace fw {

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info("TCanvas", &TPersistent::StaticClass());
  return info;
}

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {
  // A changed object leaves the device context at once (its old handle is
  // deleted next) and is selected again at the next drawing call.
  font_->OnChange = [this](TObject*) { Deselect(oldFont_, selFont_); };
  pen_->OnChange = [this](TObject*) { Deselect(oldPen_, selPen_); };
  brush_->OnChange = [this](TObject*) { Deselect(oldBrush_, selBrush_); };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  DeselectHandles();
  dc_ = dc;
}

void TCanvas::DeselectHandles() {
  Deselect(oldFont_, selFont_);
  Deselect(oldPen_, selPen_);
  Deselect(oldBrush_, selBrush_);
}

void TCanvas::Deselect(HGDIOBJ& original, HGDIOBJ& selected) {
  if (dc_ && original) SelectObject(dc_, original);
  original = nullptr;
  selected = nullptr;
}

void TCanvas::RequireFont() {
  HDC dc = Handle();
  if (!dc) return;
  HGDIOBJ f = font_->Handle();
  if (selFont_ != f) {
    HGDIOBJ old = SelectObject(dc, f);
    if (!oldFont_) oldFont_ = old;
    selFont_ = f;
  }
  SetTextColor(dc, ColorToRGB(font_->Color()));
}

void TCanvas::RequirePen() {
  HDC dc = Handle();
  if (!dc) return;
  HGDIOBJ p = pen_->Handle();
  if (selPen_ != p) {
    HGDIOBJ old = SelectObject(dc, p);
    if (!oldPen_) oldPen_ = old;
    selPen_ = p;
  }
  static const int kRop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                              R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                              R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
  SetROP2(dc, kRop2[pen_->Mode()]);
}

void TCanvas::RequireBrush() {
  HDC dc = Handle();
  if (!dc) return;
  HGDIOBJ b = brush_->Handle();
  if (selBrush_ != b) {
    HGDIOBJ old = SelectObject(dc, b);
    if (!oldBrush_) oldBrush_ = old;
    selBrush_ = b;
  }
  SetBkColor(dc, ColorToRGB(brush_->Color()));
  SetBkMode(dc, brush_->Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::MoveTo(int x, int y) {
  if (Handle()) MoveToEx(dc_, x, y, nullptr);
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  RequirePen();
  if (dc_) {
    MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
    ::LineTo(dc_, x, y);
  }
  penPos_ = {x, y};
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  RequirePen();
  RequireBrush();
  if (dc_) ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::FillRect(const RECT& r) {
  RequireBrush();
  if (dc_ && brush_->Style() != bsClear) ::FillRect(dc_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  RequireBrush();
  if (dc_) ::FrameRect(dc_, &r, brush_->Handle());
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
  RequirePen();
  RequireBrush();
  if (dc_) ::Ellipse(dc_, l, t, r, b);
}

void TCanvas::RoundRect(int l, int t, int r, int b, int cx, int cy) {
  RequirePen();
  RequireBrush();
  if (dc_) ::RoundRect(dc_, l, t, r, b, cx, cy);
}

void TCanvas::Polygon(const std::vector<POINT>& points) {
  RequirePen();
  RequireBrush();
  if (dc_ && !points.empty()) ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polyline(const std::vector<POINT>& points) {
  RequirePen();
  if (dc_ && !points.empty()) ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

COLORREF TCanvas::Pixel(int x, int y) { return Handle() ? GetPixel(dc_, x, y) : CLR_INVALID; }

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (Handle()) ::SetPixel(dc_, x, y, ColorToRGB(color));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  if (!dc_) return;
  std::wstring w = ToWide(text);
  ExtTextOutW(dc_, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  SIZE s = TextExtent(text);
  penPos_ = {x + s.cx, y};
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  if (!dc_) return;
  std::wstring w = ToWide(text);
  UINT options = ETO_CLIPPED | (brush_->Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOutW(dc_, x, y, options, &rect, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s = {0, 0};
  RequireFont();
  if (!dc_) return s;
  std::wstring w = ToWide(text);
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &s);
  return s;
}

int TCanvas::DrawText(const std::string& text, RECT& rect, UINT flags) {
  RequireFont();
  RequireBrush();
  if (!dc_) return 0;
  std::wstring w = ToWide(text);
  return ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &rect, flags);
}

int TCanvas::DrawTextWide(const std::wstring& text, RECT& rect, UINT flags) {
  RequireFont();
  RequireBrush();
  if (!dc_) return 0;
  return ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCanvas::SelectObjects() {
  RequireFont();
  RequirePen();
  RequireBrush();
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty() || !Handle()) return;
  RECT r = {x, y, x + graphic.Width(), y + graphic.Height()};
  graphic.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic) {
  if (graphic.Empty() || !Handle()) return;
  graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
  HDC src = source.Handle();
  if (!Handle() || !src) return;
  int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  if (dw == sw && dh == sh) {
    BitBlt(dc_, d.left, d.top, dw, dh, src, s.left, s.top, copyMode_);
  } else {
    int old = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, d.left, d.top, dw, dh, src, s.left, s.top, sw, sh, copyMode_);
    SetStretchBltMode(dc_, old);
  }
}

RECT TCanvas::ClipRect() {
  RECT r = {0, 0, 0, 0};
  if (Handle()) GetClipBox(dc_, &r);
  return r;
}

void TCanvas::IntersectClip(const RECT& r) {
  if (Handle()) IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::ExcludeClip(const RECT& r) {
  if (Handle()) ExcludeClipRect(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::ClearClip() {
  if (Handle()) SelectClipRgn(dc_, nullptr);
}

}  // namespace fw
