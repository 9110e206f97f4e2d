// Graphics objects: font, pen and brush (each owns its GDI handle, made
// when first asked for and remade after a change), colour resolution.
#pragma once

#include <windows.h>

#include <string>

#include "Colors.h"
#include "Component.h"

namespace fw {

// The RGB value of a colour; system colour constants are resolved now.
COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;  // set of TFontStyle
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

const TEnumType& FontStyleType();
const TEnumType& FontPitchType();
const TEnumType& PenStyleType();
const TEnumType& PenModeType();
const TEnumType& BrushStyleType();

// Base of font, pen and brush: a change event and a cached handle.
class TGraphicsObject : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  ~TGraphicsObject() override;

  TNotifyEvent OnChange;

 protected:
  void Changed();
  void FreeHandle();
  HGDIOBJ handle_ = nullptr;
  bool ownsHandle_ = true;  // false for handles shared through a cache
};

class TFont : public TGraphicsObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TFont();

  HFONT Handle();
  // Takes over a font handle (its attributes are read back from it).
  void SetHandle(HFONT font);
  // Takes the attributes of a logical font (face, height, style, character
  // set, pitch); the handle is made from them when asked for.
  void AssignLogFont(const LOGFONTW& font);

  std::string Name() const { return name_; }
  void SetName(const std::string& name);
  // Height in pixels; negative values give the character height (the
  // usual form), positive ones the cell height.
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height);
  // Size in points (at the screen's pixels per inch).
  int32_t Size() const;
  void SetSize(int32_t points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  int32_t Charset() const { return charset_; }
  void SetCharset(int32_t charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);

  bool Assign(const TPersistent& source) override;
  bool Equals(const TFont& other) const;

 private:
  std::string name_;
  int32_t height_;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  int32_t charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
};

class TPen : public TGraphicsObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  HPEN Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  bool Assign(const TPersistent& source) override;

 private:
  TColor color_ = clBlack;
  int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  HBRUSH Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  bool Assign(const TPersistent& source) override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

// The default user-interface font name (宋体) and height.
const std::string& DefaultFontName();
constexpr int32_t kDefaultFontHeight = -12;

}  // namespace fw
