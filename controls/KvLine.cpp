#include "KvLine.h"

#include <vector>

#include "Colors.h"
#include "KvTypeInfo.h"

namespace kv {

const fw::TClassInfo& TKvLine::StaticClass() {
  using C = TKvLine;
  static const fw::TClassInfo info = [] {
    fw::TClassInfo i =
        fw::TClassInfo::Make<C>("TKvLine", &fw::TGraphicControl::StaticClass())
            .Int("ArrowLength", &C::ArrowLength, &C::SetArrowLength, kDefaultArrowLength)
            .Int("LineColor", &C::LineColor, &C::SetLineColor, clWindowText, &fw::ColorIdents())
            .Enum("LineSlope", LineSlopeType(), &C::LineSlope, &C::SetLineSlope, lsDown)
            .Enum("LineStyle", fw::PenStyleType(), &C::LineStyle, &C::SetLineStyle, fw::psSolid)
            .Int("LineWidth", &C::LineWidth, &C::SetLineWidth, 1)
            .Enum("ShowArrows", ShowArrowsType(), &C::ShowArrows, &C::SetShowArrows, saNone)
            .Event("OnMouseEnter", &C::OnMouseEnter)
            .Event("OnMouseLeave", &C::OnMouseLeave)
            // A line has no colour of its own beyond its pen, takes no focus
            // or cursor and is never disabled.
            .Hide("Enabled")
            .Hide("Cursor")
            .Hide("BiDiMode")
            .Hide("ParentBiDiMode");
    fw::PublishConstraints(i, false);
    return i;
  }();
  return info;
}

TKvLine::TKvLine(fw::TComponent* owner) : fw::TGraphicControl(owner) {
  opaque_ = false;
  shape_.ComputeEndPoints();
}

void TKvLine::UpdateShape() {
  shape_.width = Width();
  shape_.height = Height();
  if (shape_.EnforceMinimumSize()) {
    SetBounds(Left(), Top(), shape_.width, shape_.height);  // resizes again
    return;
  }
  shape_.ComputeEndPoints();
}

void TKvLine::Resize() {
  UpdateShape();
  fw::TGraphicControl::Resize();
}

void TKvLine::Loaded() {
  fw::TGraphicControl::Loaded();
  UpdateShape();
  shape_.ComputeEndPoints();
}

void TKvLine::SetArrowLength(int32_t value) {
  if (value == shape_.arrowLength) return;
  shape_.width = Width();
  shape_.height = Height();
  shape_.SetArrowLength(value);
  if (shape_.width != Width() || shape_.height != Height()) SetBounds(Left(), Top(), shape_.width, shape_.height);
  Invalidate();
}

void TKvLine::SetLineColor(TColor value) {
  if (value == lineColor_) return;
  lineColor_ = value;
  Invalidate();
}

void TKvLine::SetLineSlope(TKvLineSlope value) {
  if (value == shape_.slope) return;
  shape_.slope = value;
  shape_.ComputeEndPoints();
  Invalidate();
}

void TKvLine::SetLineStyle(fw::TPenStyle value) {
  if (value == lineStyle_) return;
  lineStyle_ = value;
  Invalidate();
}

void TKvLine::SetLineWidth(int32_t value) {
  const int w = AdjustedLineWidth(shape_.lineWidth, value, shape_.arrows);
  if (w == shape_.lineWidth) return;
  shape_.lineWidth = w;
  Invalidate();
}

void TKvLine::SetShowArrows(TKvShowArrows value) {
  if (value == shape_.arrows) return;
  shape_.arrows = value;
  Invalidate();
}

bool TKvLine::HitTest(int x, int y) { return HitTestLine(shape_, x, y); }

void TKvLine::Paint() {
  const TKvLinePaint p = LinePaintGeometry(shape_);
  fw::TCanvas* c = Canvas();
  c->Brush()->SetStyle(fw::bsClear);
  c->Pen()->SetColor(lineColor_);
  c->Pen()->SetStyle(lineStyle_);
  c->Pen()->SetWidth(shape_.lineWidth);
  c->MoveTo(p.start.x, p.start.y);
  c->LineTo(p.end.x, p.end.y);
  if (shape_.arrows == saNone) return;
  c->Brush()->SetColor(lineColor_);
  c->Pen()->SetWidth(1);
  auto triangle = [c](const TPoint* t) {
    c->Polygon({POINT{t[0].x, t[0].y}, POINT{t[1].x, t[1].y}, POINT{t[2].x, t[2].y}});
  };
  if (p.startHead) triangle(p.startTriangle);
  if (p.endHead) triangle(p.endTriangle);
}

void TKvLine::MouseEnter() {
  fw::TGraphicControl::MouseEnter();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKvLine::MouseLeave() {
  fw::TGraphicControl::MouseLeave();
  if (OnMouseLeave) OnMouseLeave(this);
}

}  // namespace kv
