#include "Image.h"

namespace fw {

const TClassInfo& TImage::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TImage>("TImage", &TGraphicControl::StaticClass())
                                     .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
                                     .Bool("Center", &TImage::Center, &TImage::SetCenter, false)
                                     .Obj("Picture", &TImage::Picture, &TImage::SetPicture)
                                     .Bool("Proportional", &TImage::Proportional, &TImage::SetProportional, false)
                                     .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
                                     .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(new TPicture) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::PictureChanged() {
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
  if (autoSize_ && picture_->Width() > 0) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  Invalidate();
}

RECT TImage::DestRect() const {
  int pw = picture_->Width(), ph = picture_->Height();
  int w = Width(), h = Height();
  RECT r = {0, 0, pw, ph};
  if (stretch_ || (proportional_ && (pw > w || ph > h))) {
    if (proportional_ && pw > 0 && ph > 0) {
      if (static_cast<long long>(w) * ph > static_cast<long long>(h) * pw) {
        r.right = pw * h / ph;
        r.bottom = h;
      } else {
        r.right = w;
        r.bottom = ph * w / pw;
      }
    } else {
      r.right = w;
      r.bottom = h;
    }
  }
  if (center_) OffsetRect(&r, (w - (r.right - r.left)) / 2, (h - (r.bottom - r.top)) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  Canvas()->StretchDraw(DestRect(), *g);
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}
void TImage::SetProportional(bool v) {
  proportional_ = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  transparent_ = v;
  PictureChanged();
}
void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

}  // namespace fw
