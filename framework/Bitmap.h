// Pictures: the graphic base, bitmaps held as DIB sections (BMP reading
// and writing), JPEG pictures decoded through libjpeg, and the picture
// holder used by image controls and glyph properties.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"

namespace fw {

using TBytes = std::vector<uint8_t>;

class TGraphic : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // Draws the picture stretched into rect on the canvas.
  virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
  // Replaces the picture with the file format in data; false (picture
  // unchanged) when data is not a picture of this kind.
  virtual bool LoadFromBytes(const TBytes& data) = 0;
  virtual bool SaveToBytes(TBytes& data) const = 0;
  bool LoadFromFile(const std::string& path);
  bool SaveToFile(const std::string& path) const;

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  TNotifyEvent OnChange;

 protected:
  void Changed();
  bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmapCanvas;

class TBitmap : public TGraphic {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  ~TBitmap() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Resizes, keeping the picture's top-left part.
  void SetSize(int width, int height);
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat format);

  HBITMAP Handle() const { return handle_; }
  TCanvas* Canvas();
  // Row y (0 = top) of the pixel bits, or nullptr.
  uint8_t* ScanLine(int y) const;
  int Stride() const { return stride_; }
  int BitCount() const;

  // Colour treated as transparent when Transparent is set; clDefault (the
  // initial value) means the colour of the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) { transparentColor_ = color; }

  void Draw(TCanvas& canvas, const RECT& rect) override;
  bool LoadFromBytes(const TBytes& data) override;
  bool SaveToBytes(TBytes& data) const override;
  bool Assign(const TPersistent& source) override;
  bool ReadValue(const TFormValue& value, std::string& error) override;
  void Clear();

 private:
  friend class TBitmapCanvas;
  // Makes a DIB section from a BITMAPINFO (header and colour table).
  bool CreateDib(const uint8_t* info, size_t infoSize, int width, int height);
  // Takes the picture (DIB section, header, size) of fresh over, which is
  // left empty.
  void TakePicture(TBitmap& fresh);
  void ReleaseCanvasDC();

  HBITMAP handle_ = nullptr;
  void* bits_ = nullptr;
  std::vector<uint8_t> info_;  // BITMAPINFOHEADER and colour table
  int width_ = 0, height_ = 0, stride_ = 0;
  TPixelFormat format_ = pf24bit;
  TColor transparentColor_ = clDefault;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

// A JPEG picture: the file bytes and the decoded bitmap.
class TJPEGImage : public TGraphic {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  void Draw(TCanvas& canvas, const RECT& rect) override { bitmap_.Draw(canvas, rect); }
  bool LoadFromBytes(const TBytes& data) override;
  bool SaveToBytes(TBytes& data) const override;
  bool Assign(const TPersistent& source) override;
  TBitmap& Bitmap() { return bitmap_; }

 private:
  TBitmap bitmap_;
  TBytes data_;
};

// Decodes a JPEG file image into a 24-bit bitmap; false on any error.
bool DecodeJpeg(const TBytes& data, TBitmap& bitmap);

// Holds one graphic of any kind (bitmap or JPEG); read from form data as
// binary data in either file format.
class TPicture : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Takes a copy of graphic (nullptr empties the picture).
  void SetGraphic(TGraphic* graphic);
  // The picture as a bitmap (a JPEG gives its decoded bitmap; an empty
  // picture becomes an empty bitmap).
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  // Recognises BMP and JPEG data.
  bool LoadFromBytes(const TBytes& data);
  bool LoadFromFile(const std::string& path);

  bool Assign(const TPersistent& source) override;
  bool ReadValue(const TFormValue& value, std::string& error) override;

  TNotifyEvent OnChange;

 private:
  void Take(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace fw
