// The extended panel and group box.
//
// TKvCustomPanel is a container with a composable frame (outer style,
// border ring, inner style, per side), a flat, gradient or plain fill, an
// optional grid, transparency over its parent and a caption with
// horizontal and vertical alignment. TKvCustomGroupBox builds a captioned
// group frame on it in six styles. TKvPanel and TKvGroupBox publish them.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "DockTree.h"
#include "Panel.h"
#include "KvFrameController.h"
#include "KvGrafx.h"
#include "KvPanelLayout.h"

namespace kv {

class TKvCustomPanel;

// The panel's dock manager: the framework's dock tree with a 14-pixel
// grabber for each docked client (at its left in a panel aligned to the top
// or bottom, at its top otherwise) that carries the client's caption and a
// close box. Without ShowDockClientCaptions the tree's own frame is drawn.
// While it exists it stands in front of the panel's window procedure and
// repaints the site on commands and mouse activation.
class TKvPanelDockManager : public fw::TDockTree {
 public:
  explicit TKvPanelDockManager(TKvCustomPanel* site);
  ~TKvPanelDockManager() override;

  void AdjustDockRect(fw::TControl* client, RECT& rect) override;
  RECT GrabberRect(fw::TControl* client, const RECT& frame) override;
  RECT CloseBoxRect(fw::TControl* client, const RECT& frame) override;
  // The grabber, caption and close box of one client.
  void PaintDockFrame(fw::TCanvas& canvas, fw::TControl* client, const RECT& frame) override;
  fw::TFont& CaptionFont() { return *captionFont_; }
  fw::TFont& GlyphFont() { return *glyphFont_; }

 private:
  void SiteMessage(fw::TMessage& m);
  TKvCustomPanel* panel_;
  std::unique_ptr<fw::TFont> captionFont_, glyphFont_;
  fw::TWindowProcHook siteHook_;
};

class TKvCustomPanel : public fw::TCustomPanel, public IKvFrameControllerNotify {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvCustomPanel(fw::TComponent* owner);
  void BeforeDestruction() override;

  // ---- what the painting and layout are computed from ----
  virtual POINT CursorPosInClient();
  virtual TRect ShrinkByFrame(TRect rect, bool withBorderWidth);
  virtual TRect GetOuterRect();
  virtual TPoint GetResizeRepaintMargin() { return TPoint{1, 1}; }
  virtual TGradientPair GetPanelGradientColors();
  // The flat colour and its lightness adjustment.
  virtual std::pair<TColor, int> GetPanelFlatColor();
  virtual void PaintCaptionText(TRect rect);
  virtual void PaintGrid(TRect rect);
  void ApplyFrameControllerSettings() override;

  // ---- properties ----
  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  virtual void SetAlignmentVertical(TAlignmentVertical v);
  TColor BorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor v);
  TFrameStyleEx BorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx v);
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx v);
  TSides BorderSides() const { return borderSides_; }
  virtual void SetBorderSides(TSides v);
  TColor BorderHighlight() const { return borderHighlight_; }
  virtual void SetBorderHighlight(TColor v);
  TColor BorderShadow() const { return borderShadow_; }
  virtual void SetBorderShadow(TColor v);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor v);
  int32_t FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int32_t v);
  TKvFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKvFrameController* v);
  TKvFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKvFrameControllerNotifications v) { notifications_ = v & 0xFFFF; }
  TKvGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  virtual void SetGradientColorStyle(TKvGradientColorStyle v);
  TColor GradientColorStart() const { return gradientColorStart_; }
  virtual void SetGradientColorStart(TColor v);
  TColor GradientColorStop() const { return gradientColorStop_; }
  virtual void SetGradientColorStop(TColor v);
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  virtual void SetGradientDirection(TGradientDirection v);
  TColor GridColor() const { return gridColor_; }
  virtual void SetGridColor(TColor v);
  TKvGridStyle GridStyle() const { return gridStyle_; }
  virtual void SetGridStyle(TKvGridStyle v);
  int32_t GridXSize() const { return gridXSize_; }
  virtual void SetGridXSize(int32_t v);
  int32_t GridYSize() const { return gridYSize_; }
  virtual void SetGridYSize(int32_t v);
  bool PaintClientArea() const { return paintClientArea_; }
  virtual void SetPaintClientArea(bool v);
  bool ShowGrid() const { return showGrid_; }
  virtual void SetShowGrid(bool v);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  int32_t TextMargin() const { return textMargin_; }
  virtual void SetTextMargin(int32_t v);
  bool WordWrap() const { return wordWrap_; }
  virtual void SetWordWrap(bool v);
  TKvVisualStyle VisualStyle() const { return visualStyle_; }
  virtual void SetVisualStyle(TKvVisualStyle v);
  bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool v) { showDockClientCaptions_ = v; }
  // The dock manager while the panel is a dock site with UseDockManager.
  TKvPanelDockManager* DockManager() const;

  void AdjustClientRect(RECT& rect) override;
  void SetBounds(int left, int top, int width, int height) override;
  void DefineProperties(fw::TFiler& filer) override;
  void WndProc(fw::TMessage& m) override;

  fw::TNotifyEvent OnMouseEnter;
  fw::TNotifyEvent OnMouseLeave;
  fw::TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void EnabledChanged() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  // A dock site gets the panel's dock manager, and paints double-buffered.
  fw::TDockTree* CreateDockManager() override;
  // Repaints after a change of the fill that transparent children show.
  void FillChanged();
  // Realigns the children and repaints after a frame change.
  void FrameChanged();
  // The frame settings DrawFrameBorders paints from.
  TFrameBorders FrameBordersForPaint(TColor flat, int adjustment);

  TAlignmentVertical alignmentVertical_ = avCenter;
  TFrameStyleEx borderOuter_ = fsRaised;
  TFrameStyleEx borderInner_ = fsNone;
  TSides borderSides_ = kAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TColor flatColor_ = clBtnShadow;
  int32_t flatColorAdjustment_ = 30;
  TKvFrameController* frameController_ = nullptr;
  TKvFrameControllerNotifications notifications_ = kAllFrameNotifications;
  TKvGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor gradientColorStart_ = clWhite;
  TColor gradientColorStop_ = clBtnFace;
  TGradientDirection gradientDirection_ = gdHorizontalEnd;
  TColor gridColor_ = clBtnShadow;
  TKvGridStyle gridStyle_ = gsDots;
  int32_t gridXSize_ = 8, gridYSize_ = 8;
  bool paintClientArea_ = true;
  bool showDockClientCaptions_ = true;
  bool showGrid_ = false;
  int32_t textMargin_ = 0;
  bool transparent_ = false;
  TKvVisualStyle visualStyle_ = vsWinXP;
  bool wordWrap_ = true;
  // Each child's Enabled when the panel was disabled.
  std::vector<std::pair<fw::TControl*, bool>> savedChildStates_;
};

class TKvPanel : public TKvCustomPanel {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvPanel(fw::TComponent* owner) : TKvCustomPanel(owner) {}
};

class TKvCustomGroupBox : public TKvCustomPanel {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvCustomGroupBox(fw::TComponent* owner);

  TKvGroupBoxStyle GroupStyle() const { return groupStyle_; }
  virtual void SetGroupStyle(TKvGroupBoxStyle v);
  void ApplyFrameControllerSettings() override;
  void AdjustClientRect(RECT& rect) override;
  void WndProc(fw::TMessage& m) override;

  // The caption's box for the current font and caption (empty in gsCustom
  // or without a caption).
  TRect CaptionBox();

 protected:
  void Paint() override;
  void FontChanged() override;

 private:
  int TextHeightOf(const char* sample);
  void PaintThemed(const TRect& box);
  TKvGroupBoxStyle groupStyle_ = gsFlat;
};

class TKvGroupBox : public TKvCustomGroupBox {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvGroupBox(fw::TComponent* owner) : TKvCustomGroupBox(owner) {}
};

}  // namespace kv
