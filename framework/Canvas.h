// A drawing surface over a device context: pen, brush and font are
// selected into the DC when a drawing call needs them. Texts are GBK and
// drawn with the wide-character GDI calls.
#pragma once

#include <windows.h>
// Canvas methods carry these names; the Win32 macros of the same names
// are not used by the framework (it calls the W functions by name).
#undef DrawText
#undef TextOut

#include <memory>
#include <string>
#include <vector>

#include "Graphics.h"

namespace fw {

class TGraphic;

class TCanvas : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TCanvas();
  ~TCanvas() override;

  // The device context drawn into; derived canvases make theirs on demand.
  HDC Handle();
  // Attaches a device context (0 detaches; the objects selected into the
  // previous one are put back first).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont* Font() const { return font_.get(); }
  TPen* Pen() const { return pen_.get(); }
  TBrush* Brush() const { return brush_.get(); }
  void SetFont(TFont* font) { if (font) font_->Assign(*font); }
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }

  POINT PenPos() const { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Ellipse(int left, int top, int right, int bottom);
  void RoundRect(int left, int top, int right, int bottom, int cx, int cy);
  void Polygon(const std::vector<POINT>& points);
  void Polyline(const std::vector<POINT>& points);
  COLORREF Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

  void TextOut(int x, int y, const std::string& text);
  // Text clipped to rect, drawn at (x, y).
  void TextRect(const RECT& rect, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // DrawText with the usual DT_ flags; with DT_CALCRECT rect receives the
  // measured rectangle. Returns the text height.
  int DrawText(const std::string& text, RECT& rect, UINT flags);
  // The same for a wide text (one not limited to the GBK characters).
  int DrawTextWide(const std::wstring& text, RECT& rect, UINT flags);
  // Selects the canvas's font, pen and brush into its device context, for
  // GDI calls made on Handle() directly.
  void SelectObjects();

  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const RECT& rect, TGraphic& graphic);
  // Copies (stretching when the sizes differ) a rectangle of another
  // canvas with CopyMode.
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

  RECT ClipRect();
  void IntersectClip(const RECT& r);
  void ExcludeClip(const RECT& r);
  // Removes all clipping.
  void ClearClip();

 protected:
  // Derived canvases create their device context here.
  virtual void CreateHandle() {}
  // Selects pen, brush and font into the context as far as needed.
  void RequireFont();
  void RequirePen();
  void RequireBrush();
  void DeselectHandles();

  HDC dc_ = nullptr;

 private:
  // Puts the context's original object back in place of ours.
  void Deselect(HGDIOBJ& original, HGDIOBJ& selected);

  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
  HGDIOBJ selFont_ = nullptr, selPen_ = nullptr, selBrush_ = nullptr;
  POINT penPos_ = {0, 0};
  DWORD copyMode_ = SRCCOPY;
};

}  // namespace fw
