// TKvLine: a windowless control drawing one straight line corner to
// corner across its bounds, falling or rising, with a pen colour, style
// and width and optional arrow heads. Only points on or near the line
// count as inside, so clicks beside it reach what lies under it.
#pragma once

#include "Control.h"
#include "KvLineGeometry.h"

namespace kv {

class TKvLine : public fw::TGraphicControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvLine(fw::TComponent* owner);

  int32_t ArrowLength() const { return shape_.arrowLength; }
  virtual void SetArrowLength(int32_t value);
  TColor LineColor() const { return lineColor_; }
  virtual void SetLineColor(TColor value);
  TKvLineSlope LineSlope() const { return shape_.slope; }
  virtual void SetLineSlope(TKvLineSlope value);
  fw::TPenStyle LineStyle() const { return lineStyle_; }
  virtual void SetLineStyle(fw::TPenStyle value);
  int32_t LineWidth() const { return shape_.lineWidth; }
  virtual void SetLineWidth(int32_t value);
  TKvShowArrows ShowArrows() const { return shape_.arrows; }
  virtual void SetShowArrows(TKvShowArrows value);

  // The geometry as it stands (margin, end points, size).
  const TKvLineShape& Shape() const { return shape_; }

  bool HitTest(int x, int y) override;
  void Loaded() override;

  fw::TNotifyEvent OnMouseEnter;
  fw::TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void Resize() override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  // Takes the control's size, enlarges it to the minimum and recomputes
  // the end points.
  void UpdateShape();

  TKvLineShape shape_;
  TColor lineColor_ = clWindowText;
  fw::TPenStyle lineStyle_ = fw::psSolid;
};

}  // namespace kv
