#include "Label.h"

namespace fw {

const TEnumType& TextLayoutType() {
  static const TEnumType t{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
  return t;
}

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TLabel>("TLabel", &TGraphicControl::StaticClass());
    PublishColorAndFont(i, clBtnFace);
    PublishCaption(i);
    i.Enum("Alignment", AlignmentType(), &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify)
        .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
        .Obj("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
        .Enum("Layout", TextLayoutType(), &TLabel::Layout, &TLabel::SetLayout, tlTop)
        .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true)
        .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
        .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    return i;
  }();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  else if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  std::string text = Caption();
  if (text.empty()) return;
  // Vertical placement measures the text first.
  RECT calc = r;
  c->DrawText(text, calc, TextFlags() | DT_CALCRECT);
  int h = calc.bottom - calc.top;
  if (layout_ == tlCenter) r.top += (r.bottom - r.top - h) / 2;
  else if (layout_ == tlBottom) r.top = r.bottom - h;
  if (!Enabled()) {
    OffsetRect(&r, 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    c->DrawText(text, r, TextFlags());
    OffsetRect(&r, -1, -1);
    c->Font()->SetColor(clBtnShadow);
  }
  c->DrawText(text, r, TextFlags());
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  HDC dc = GetDC(nullptr);
  TCanvas c;
  c.SetHandle(dc);
  c.Font()->Assign(*Font());
  RECT r = {0, 0, wordWrap_ ? Width() : 0, 0};
  std::string text = Caption().empty() ? std::string(" ") : Caption();
  c.DrawText(text, r, TextFlags() | DT_CALCRECT);
  c.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int w = wordWrap_ ? Width() : r.right;
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - w;
  SetBounds(left, Top(), w, r.bottom);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (focusControl_ && showAccelChar_ && Enabled() && IsAccel(static_cast<char>(m.WParam), Caption()) &&
        focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    } else {
      m.Result = 0;
    }
    return;
  }
  TGraphicControl::WndProc(m);
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}
void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}
void TLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  Invalidate();
}
void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}
void TLabel::SetShowAccelChar(bool value) {
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* control) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

}  // namespace fw
