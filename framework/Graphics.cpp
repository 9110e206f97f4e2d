#include "Graphics.h"

#include <map>

#include "Text.h"

namespace fw {

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
  if (color == clNone || color == clDefault) return RGB(0, 0, 0);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const std::string& DefaultFontName() {
  static const std::string name = "\xCB\xCE\xCC\xE5";  // 宋体
  return name;
}

const TEnumType& FontStyleType() {
  static const TEnumType t{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return t;
}
const TEnumType& FontPitchType() {
  static const TEnumType t{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
  return t;
}
const TEnumType& PenStyleType() {
  static const TEnumType t{"TPenStyle",
                           {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
  return t;
}
const TEnumType& PenModeType() {
  static const TEnumType t{"TPenMode",
                           {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                            "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                            "pmNotMask", "pmXor", "pmNotXor"}};
  return t;
}
const TEnumType& BrushStyleType() {
  static const TEnumType t{"TBrushStyle",
                           {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                            "bsCross", "bsDiagCross"}};
  return t;
}

// ---- TGraphicsObject ---------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info("TGraphicsObject", &TPersistent::StaticClass());
  return info;
}

TGraphicsObject::~TGraphicsObject() { FreeHandle(); }

void TGraphicsObject::FreeHandle() {
  if (handle_ && ownsHandle_) DeleteObject(handle_);
  handle_ = nullptr;
  ownsHandle_ = true;
}

void TGraphicsObject::Changed() {
  // The listeners (a canvas that has the old handle selected into its
  // device context) hear of the change while the old handle still exists,
  // and put it out of their contexts: a GDI object still selected cannot
  // be deleted (it would stay behind for good).
  HGDIOBJ old = handle_;
  bool owned = ownsHandle_;
  handle_ = nullptr;
  ownsHandle_ = true;
  if (OnChange) OnChange(this);
  if (old && owned) DeleteObject(old);
}

// ---- TFont -------------------------------------------------------------

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TFont>("TFont", &TGraphicsObject::StaticClass())
                                     .Int("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET)
                                     .Int("Color", &TFont::Color, &TFont::SetColor, clWindowText, &ColorIdents())
                                     .Int("Height", &TFont::Height, &TFont::SetHeight, kDefaultFontHeight)
                                     .Str("Name", &TFont::Name, &TFont::SetName)
                                     .Enum("Pitch", FontPitchType(), &TFont::Pitch, &TFont::SetPitch, fpDefault)
                                     .IntNoDefault("Size", &TFont::Size, &TFont::SetSize)
                                     .Set("Style", FontStyleType(), &TFont::Style, &TFont::SetStyle, 0u);
  return info;
}

TFont::TFont() : name_(DefaultFontName()), height_(kDefaultFontHeight) {}

namespace {
int ScreenPixelsPerInch() {
  static int ppi = [] {
    HDC dc = GetDC(nullptr);
    int v = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}
}  // namespace

namespace {
// Fonts are shared by every TFont of the same attributes: creating a GDI
// font is slow (a form of fifty controls would make fifty alike), and a
// program uses only a handful. The cache lives as long as the program.
std::map<std::wstring, HFONT>& FontCache() {
  static std::map<std::wstring, HFONT> cache;
  return cache;
}
}  // namespace

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf = {};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & (1u << fsItalic)) ? 1 : 0;
    lf.lfUnderline = (style_ & (1u << fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (style_ & (1u << fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::wstring face = ToWide(name_);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    wchar_t key[96];
    wsprintfW(key, L"%d|%d|%d|%d|%d|%d|%d|", lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut,
              lf.lfCharSet, lf.lfPitchAndFamily);
    std::wstring k = std::wstring(key) + face;
    HFONT& cached = FontCache()[k];
    if (!cached) cached = CreateFontIndirectW(&lf);
    handle_ = cached;
    ownsHandle_ = false;
  }
  return static_cast<HFONT>(handle_);
}

void TFont::SetHandle(HFONT font) {
  LOGFONTW lf = {};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return;
  name_ = FromWide(lf.lfFaceName, lstrlenW(lf.lfFaceName));
  height_ = lf.lfHeight;
  style_ = (lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0) | (lf.lfItalic ? 1u << fsItalic : 0) |
           (lf.lfUnderline ? 1u << fsUnderline : 0) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0);
  charset_ = lf.lfCharSet;
  Changed();
  handle_ = font;
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
  name_ = FromWide(lf.lfFaceName, lstrlenW(lf.lfFaceName));
  height_ = lf.lfHeight;
  style_ = (lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0) | (lf.lfItalic ? 1u << fsItalic : 0) |
           (lf.lfUnderline ? 1u << fsUnderline : 0) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0);
  charset_ = lf.lfCharSet;
  const int pitch = lf.lfPitchAndFamily & 3;
  pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name == name_ || name.empty()) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int32_t height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int32_t TFont::Size() const {
  return -MulDiv(height_, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  // The colour is not part of the GDI font; keep the handle.
  if (OnChange) OnChange(this);
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetCharset(int32_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

bool TFont::Equals(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_;
}

bool TFont::Assign(const TPersistent& source) {
  auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) return false;
  if (Equals(*f)) return true;
  name_ = f->name_;
  height_ = f->height_;
  color_ = f->color_;
  style_ = f->style_;
  charset_ = f->charset_;
  pitch_ = f->pitch_;
  Changed();
  return true;
}

// ---- TPen --------------------------------------------------------------

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TPen>("TPen", &TGraphicsObject::StaticClass())
                                     .Int("Color", &TPen::Color, &TPen::SetColor, clBlack, &ColorIdents())
                                     .Enum("Mode", PenModeType(), &TPen::Mode, &TPen::SetMode, pmCopy)
                                     .Enum("Style", PenStyleType(), &TPen::Style, &TPen::SetStyle, psSolid)
                                     .Int("Width", &TPen::Width, &TPen::SetWidth, 1);
  return info;
}

HPEN TPen::Handle() {
  if (!handle_) {
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_ = CreatePen(kStyles[style_], width_, ColorToRGB(color_));
  }
  return static_cast<HPEN>(handle_);
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}
void TPen::SetWidth(int32_t width) {
  if (width == width_ || width < 0) return;
  width_ = width;
  Changed();
}
void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}
void TPen::SetMode(TPenMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  if (OnChange) OnChange(this);
}

bool TPen::Assign(const TPersistent& source) {
  auto* p = dynamic_cast<const TPen*>(&source);
  if (!p) return false;
  color_ = p->color_;
  width_ = p->width_;
  style_ = p->style_;
  mode_ = p->mode_;
  Changed();
  return true;
}

// ---- TBrush ------------------------------------------------------------

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TBrush>("TBrush", &TGraphicsObject::StaticClass())
                                     .Int("Color", &TBrush::Color, &TBrush::SetColor, clWhite, &ColorIdents())
                                     .Enum("Style", BrushStyleType(), &TBrush::Style, &TBrush::SetStyle, bsSolid);
  return info;
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    static const int kHatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (style_ == bsClear) handle_ = GetStockObject(NULL_BRUSH);
    else if (style_ == bsSolid) handle_ = CreateSolidBrush(ColorToRGB(color_));
    else handle_ = CreateHatchBrush(kHatches[style_], ColorToRGB(color_));
  }
  return static_cast<HBRUSH>(handle_);
}

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

bool TBrush::Assign(const TPersistent& source) {
  auto* b = dynamic_cast<const TBrush*>(&source);
  if (!b) return false;
  color_ = b->color_;
  style_ = b->style_;
  Changed();
  return true;
}

}  // namespace fw
