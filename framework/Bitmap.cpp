#include "Bitmap.h"

#include <cstring>

#include "BmpLayout.h"
#include "FileIO.h"
#include "FormData.h"

namespace fw {

// ---- TGraphic ----------------------------------------------------------

const TClassInfo& TGraphic::StaticClass() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClass());
  return info;
}

bool TGraphic::LoadFromFile(const std::string& path) {
  std::string bytes;
  if (!LoadFileBytes(path, bytes)) return false;
  return LoadFromBytes(TBytes(bytes.begin(), bytes.end()));
}

bool TGraphic::SaveToFile(const std::string& path) const {
  TBytes data;
  if (!SaveToBytes(data)) return false;
  return SaveFileBytes(path, std::string(data.begin(), data.end()));
}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TBitmap -----------------------------------------------------------

// The canvas of a bitmap: a memory DC with the bitmap selected.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!dc_) return;
    HDC dc = dc_;
    SetHandle(nullptr);
    if (oldBitmap_) SelectObject(dc, oldBitmap_);
    oldBitmap_ = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    if (bitmap_->handle_) oldBitmap_ = SelectObject(dc, bitmap_->handle_);
    SetHandle(dc);
  }

 private:
  TBitmap* bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
};

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TBitmap>("TBitmap", &TGraphic::StaticClass());
  return info;
}

namespace {


int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

TPixelFormat FormatOf(int bits) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

// A BITMAPINFO for a new bitmap of the format, with a fixed palette for the
// palette formats (black and white; the 16 VGA colours; a colour cube).
std::vector<uint8_t> MakeInfo(int width, int height, int bits) {
  int colours = bits <= 8 ? (1 << bits) : 0;
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(bits);
  h->biCompression = BI_RGB;
  h->biClrUsed = static_cast<DWORD>(colours);
  auto* pal = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
  auto set = [&](int i, int r, int g, int b) { pal[i] = RGBQUAD{BYTE(b), BYTE(g), BYTE(r), 0}; };
  if (bits == 1) {
    set(0, 0, 0, 0);
    set(1, 255, 255, 255);
  } else if (bits == 4) {
    static const int vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 16; ++i) set(i, vga[i][0], vga[i][1], vga[i][2]);
  } else if (bits == 8) {
    int i = 0;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) set(i++, r * 51, g * 51, b * 51);
    for (; i < 256; ++i) {
      int v = (i - 216) * 255 / 39;
      set(i, v, v, v);
    }
  }
  return info;
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

TBitmap::~TBitmap() { Clear(); }

void TBitmap::ReleaseCanvasDC() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::Clear() {
  ReleaseCanvasDC();
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  bits_ = nullptr;
  info_.clear();
  width_ = height_ = stride_ = 0;
}

bool TBitmap::CreateDib(const uint8_t* info, size_t infoSize, int width, int height) {
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, &bits,
                                 nullptr, 0);
  if (!bmp || !bits) {
    if (bmp) DeleteObject(bmp);
    return false;
  }
  Clear();
  handle_ = bmp;
  bits_ = bits;
  info_.assign(info, info + infoSize);
  width_ = width;
  height_ = height;
  stride_ = static_cast<int>(BmpStride(width, reinterpret_cast<const BITMAPINFOHEADER*>(info)->biBitCount));
  return true;
}

int TBitmap::BitCount() const {
  return info_.empty() ? BitsOf(format_) : reinterpret_cast<const BITMAPINFOHEADER*>(info_.data())->biBitCount;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width > kMaxBmpSide || height > kMaxBmpSide) return;
  if (width == width_ && height == height_ && handle_) return;
  if (width == 0 || height == 0) {
    Clear();
    width_ = width;
    height_ = height;
    Changed();
    return;
  }
  std::vector<uint8_t> info = MakeInfo(width, height, BitsOf(format_));
  if (!info_.empty() && BitCount() <= 8 && BitsOf(format_) == BitCount()) {
    // Keep the palette the picture has.
    size_t n = std::min(info.size(), info_.size());
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), info_.data() + sizeof(BITMAPINFOHEADER),
                n - sizeof(BITMAPINFOHEADER));
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h->biWidth = width;
    h->biHeight = height;
  }
  TBitmap old;
  if (handle_) {
    ReleaseCanvasDC();
    old.handle_ = handle_;
    old.width_ = width_;
    old.height_ = height_;
    handle_ = nullptr;
    bits_ = nullptr;
  }
  if (!CreateDib(info.data(), info.size(), width, height)) return;
  std::memset(bits_, 0xFF, static_cast<size_t>(stride_) * height_);  // a new area is white
  if (old.handle_) {
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ os = SelectObject(src, old.handle_), od = SelectObject(dst, handle_);
    BitBlt(dst, 0, 0, std::min(width, old.width_), std::min(height, old.height_), src, 0, 0, SRCCOPY);
    SelectObject(src, os);
    SelectObject(dst, od);
    DeleteDC(src);
    DeleteDC(dst);
  }
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pfCustom) return;
  if (format == pfDevice) format = pf32bit;
  if (format == format_ && (info_.empty() || BitCount() == BitsOf(format))) return;
  format_ = format;
  if (!handle_) return;
  TBitmap copy;
  copy.Assign(*this);
  int w = width_, h = height_;
  Clear();
  SetSize(w, h);
  RECT r = {0, 0, w, h};
  Canvas()->StretchDraw(r, copy);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_.reset(new TBitmapCanvas(this));
  return canvas_.get();
}

uint8_t* TBitmap::ScanLine(int y) const {
  if (!bits_ || y < 0 || y >= height_) return nullptr;
  return static_cast<uint8_t*>(bits_) + static_cast<size_t>(height_ - 1 - y) * stride_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault || !handle_) return transparentColor_;
  // A bitmap is selected into one device context at a time: while its own
  // canvas holds it, the pixel is read there.
  if (canvas_ && canvas_->HandleAllocated()) {
    GdiFlush();
    return static_cast<TColor>(GetPixel(canvas_->Handle(), 0, height_ - 1) & 0xFFFFFF);
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, handle_);
  COLORREF c = GetPixel(dc, 0, height_ - 1);
  SelectObject(dc, old);
  DeleteDC(dc);
  return static_cast<TColor>(c & 0xFFFFFF);
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r) {
  if (!handle_) return;
  HDC dst = canvas.Handle();
  if (!dst) return;
  HDC src = Canvas()->Handle();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (transparent_) {
    TransparentBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_, ColorToRGB(TransparentColor()));
  } else if (w == width_ && h == height_) {
    BitBlt(dst, r.left, r.top, w, h, src, 0, 0, canvas.CopyMode());
  } else {
    int old = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_, canvas.CopyMode());
    SetStretchBltMode(dst, old);
  }
}

namespace {

// The BITMAPINFO of a DIB section for the picture in data: the file's own
// info header made plain (bottom-up, no image size), then its masks and
// its colour table.
std::vector<uint8_t> DibInfoOf(const TBytes& data, const TBmpLayout& l) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, &data[kBmpFileHeaderSize], sizeof h);
  h.biSize = sizeof h;
  h.biHeight = l.height;
  h.biClrUsed = static_cast<DWORD>(l.colours);
  h.biSizeImage = 0;
  const auto* header = reinterpret_cast<const uint8_t*>(&h);
  std::vector<uint8_t> info(header, header + sizeof h);
  if (l.bitFields) info.insert(info.end(), data.begin() + l.masksAt, data.begin() + l.masksAt + kBmpMasksSize);
  const auto table = data.begin() + static_cast<std::ptrdiff_t>(l.coloursAt);
  info.insert(info.end(), table, table + static_cast<std::ptrdiff_t>(l.colours * sizeof(RGBQUAD)));
  return info;
}

// Copies the file's pixel rows into the bits of a bottom-up DIB section.
void CopyRows(const TBytes& data, const TBmpLayout& l, uint8_t* bits) {
  for (int y = 0; y < l.height; ++y) {
    const int fileRow = l.topDown ? l.height - 1 - y : y;
    std::memcpy(bits + l.stride * static_cast<size_t>(y), &data[l.pixelsAt + l.stride * static_cast<size_t>(fileRow)],
                l.stride);
  }
}

}  // namespace

bool TBitmap::LoadFromBytes(const TBytes& data) {
  TBmpLayout layout;
  if (!ReadBmpLayout(data.data(), data.size(), layout)) return false;
  const std::vector<uint8_t> info = DibInfoOf(data, layout);
  TBitmap fresh;
  if (!fresh.CreateDib(info.data(), info.size(), layout.width, layout.height)) return false;
  CopyRows(data, layout, static_cast<uint8_t*>(fresh.bits_));
  TakePicture(fresh);
  format_ = FormatOf(layout.bits);
  Changed();
  return true;
}

void TBitmap::TakePicture(TBitmap& fresh) {
  Clear();
  handle_ = fresh.handle_;
  bits_ = fresh.bits_;
  info_.swap(fresh.info_);
  width_ = fresh.width_;
  height_ = fresh.height_;
  stride_ = fresh.stride_;
  fresh.handle_ = nullptr;
  fresh.bits_ = nullptr;
}

bool TBitmap::SaveToBytes(TBytes& data) const {
  if (!handle_) return false;
  size_t imageBytes = static_cast<size_t>(stride_) * height_;
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = static_cast<DWORD>(sizeof fh + info_.size());
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + imageBytes);
  data.resize(fh.bfSize);
  std::memcpy(data.data(), &fh, sizeof fh);
  std::memcpy(data.data() + sizeof fh, info_.data(), info_.size());
  GdiFlush();
  std::memcpy(data.data() + fh.bfOffBits, bits_, imageBytes);
  return true;
}

bool TBitmap::Assign(const TPersistent& source) {
  if (&source == this) return true;
  if (auto* jpeg = dynamic_cast<const TJPEGImage*>(&source))
    return Assign(const_cast<TJPEGImage*>(jpeg)->Bitmap());
  auto* b = dynamic_cast<const TBitmap*>(&source);
  if (!b) return false;
  transparent_ = b->transparent_;
  transparentColor_ = b->transparentColor_;
  format_ = b->format_;
  if (!b->handle_) {
    Clear();
    width_ = b->width_;
    height_ = b->height_;
    Changed();
    return true;
  }
  TBitmap fresh;
  if (!fresh.CreateDib(b->info_.data(), b->info_.size(), b->width_, b->height_)) return false;
  GdiFlush();
  std::memcpy(fresh.bits_, b->bits_, static_cast<size_t>(b->stride_) * b->height_);
  TakePicture(fresh);
  Changed();
  return true;
}

bool TBitmap::ReadValue(const TFormValue& value, std::string& error) {
  if (value.kind != TFormValue::Binary) {
    error = "binary data is expected";
    return false;
  }
  if (value.bytes.empty()) {
    Clear();
    return true;
  }
  if (!LoadFromBytes(value.bytes)) {
    error = "not a readable BMP picture";
    return false;
  }
  return true;
}

// ---- TJPEGImage --------------------------------------------------------

const TClassInfo& TJPEGImage::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TJPEGImage>("TJPEGImage", &TGraphic::StaticClass());
  return info;
}

bool TJPEGImage::LoadFromBytes(const TBytes& data) {
  TBitmap decoded;
  if (!DecodeJpeg(data, decoded)) return false;
  bitmap_.Assign(decoded);
  data_ = data;
  Changed();
  return true;
}

bool TJPEGImage::SaveToBytes(TBytes& data) const {
  if (data_.empty()) return false;
  data = data_;
  return true;
}

bool TJPEGImage::Assign(const TPersistent& source) {
  auto* j = dynamic_cast<const TJPEGImage*>(&source);
  if (!j) return false;
  bitmap_.Assign(j->bitmap_);
  data_ = j->data_;
  Changed();
  return true;
}

// ---- TPicture ----------------------------------------------------------

const TClassInfo& TPicture::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TPicture>("TPicture", &TPersistent::StaticClass());
  return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (!graphic) {
    Take(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy;
  if (dynamic_cast<TJPEGImage*>(graphic)) copy.reset(new TJPEGImage);
  else copy.reset(new TBitmap);
  if (!copy->Assign(*graphic)) return;
  Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
  if (auto* j = dynamic_cast<TJPEGImage*>(graphic_.get())) return &j->Bitmap();
  Take(std::unique_ptr<TGraphic>(new TBitmap));
  return static_cast<TBitmap*>(graphic_.get());
}

bool TPicture::LoadFromBytes(const TBytes& data) {
  std::unique_ptr<TGraphic> g;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') g.reset(new TBitmap);
  else if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) g.reset(new TJPEGImage);
  else return false;
  if (!g->LoadFromBytes(data)) return false;
  Take(std::move(g));
  return true;
}

bool TPicture::LoadFromFile(const std::string& path) {
  std::string bytes;
  return LoadFileBytes(path, bytes) && LoadFromBytes(TBytes(bytes.begin(), bytes.end()));
}

bool TPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    SetGraphic(p->graphic_.get());
    return true;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
    SetGraphic(const_cast<TGraphic*>(g));
    return true;
  }
  return false;
}

bool TPicture::ReadValue(const TFormValue& value, std::string& error) {
  if (value.kind != TFormValue::Binary) {
    error = "binary data is expected";
    return false;
  }
  if (value.bytes.empty()) {
    Take(nullptr);
    return true;
  }
  if (!LoadFromBytes(value.bytes)) {
    error = "not a readable BMP or JPEG picture";
    return false;
  }
  return true;
}

}  // namespace fw
