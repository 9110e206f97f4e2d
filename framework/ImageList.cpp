#include "ImageList.h"

#include "FormReader.h"

namespace fw {

const TClassInfo& TImageList::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TImageList>("TImageList", &TComponent::StaticClass())
                                     .Int("Height", &TImageList::Height, &TImageList::SetHeight, 16)
                                     .Int("Width", &TImageList::Width, &TImageList::SetWidth, 16)
                                     .Event("OnChange", &TImageList::OnChange);
  return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::BeforeDestruction() {
  TComponent::BeforeDestruction();
  if (handle_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

HIMAGELIST TImageList::Handle() {
  if (!handle_) handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
  return handle_;
}

void TImageList::Recreate() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TImageList::SetWidth(int32_t w) {
  if (w <= 0 || w == width_) return;
  width_ = w;
  Recreate();
}

void TImageList::SetHeight(int32_t h) {
  if (h <= 0 || h == height_) return;
  height_ = h;
  Recreate();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddMasked(TBitmap& strip, TColor maskColor) {
  if (strip.Empty() || strip.Width() % width_ != 0) return -1;
  // The list takes device-dependent bitmaps of its own depth; a 24-bit copy
  // is handed over.
  TBitmap copy;
  copy.Assign(strip);
  copy.SetPixelFormat(pf24bit);
  int index = ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(maskColor));
  if (OnChange) OnChange(this);
  return index;
}

void TImageList::Clear() {
  if (handle_) ImageList_RemoveAll(handle_);
  if (OnChange) OnChange(this);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!handle_ || index < 0 || index >= Count()) return;
  UINT style = ILD_TRANSPARENT;
  if (!enabled) style |= ILD_BLEND50;
  ImageList_Draw(handle_, index, canvas.Handle(), x, y, style);
}

void TImageList::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty("Bitmap", [this](const TBytes& data, std::string& error) {
    TBitmap strip;
    if (!strip.LoadFromBytes(data)) {
      error = "not a readable BMP picture";
      return false;
    }
    Clear();
    if (AddMasked(strip, clFuchsia) < 0) {
      error = "the strip's width is not a multiple of the image width";
      return false;
    }
    return true;
  });
}

}  // namespace fw
