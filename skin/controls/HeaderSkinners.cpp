#include "HeaderSkinners.h"

#include <windowsx.h>

#include <algorithm>

#include "Bitmap.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// The images of "HeaderBar" a column is drawn with.
constexpr int kHeaderNormalFrame = 1;
constexpr int kHeaderHotFrame = 2;
// A column's hot area leaves out this much at both sides (the dividers).
constexpr int kHotInset = 3;
// The text of a column is read into this many wide characters.
constexpr int kColumnTextLimit = 201;
// The icon and text start this far in from the left; never nearer than 1.
constexpr int kLeftOffset = 3;
constexpr int kRightGap = 2;
constexpr int kIconTextGap = 2;

constexpr UINT kMeasureFlags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP;
constexpr UINT kDrawFlags = DT_END_ELLIPSIS | DT_EXPANDTABS;

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

// One image of the header strip scaled in nine parts into r.
void DrawBar(HDC dc, const RECT& r, TDataSkinObject& bar, int frame) {
  const int count = bar.Frame < 1 ? 1 : bar.Frame;
  DrawSkinImage(dc, ToSkinRect(r), bar.Bitmap, false, bar.Tile != 0, bar.Trans == 1, count, SafeFrame(frame, count),
                bar.Margins());
}

// The column format's alignment as a header alignment.
int AlignmentOf(int format) {
  switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return kAlignRight;
    case HDF_CENTER: return kAlignCentre;
    default: return kAlignLeft;
  }
}

}  // namespace

// ---- TSkinHeader ----------------------------------------------------------------

const TClassInfo& TSkinHeader::StaticClass() {
  static const TClassInfo info("TSkinHeader", &TSkinControl::StaticClass());
  return info;
}

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  HotIndex = -1;
}

void TSkinHeader::InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  TSkinControl::InitSkinHandle(window, skinData, form, formCanvas);
  HotIndex = -1;
}

bool TSkinHeader::HasHeaderImage() const {
  return SkinData && SkinData->HeaderBar && !SkinData->HeaderBar->Bitmap.Empty();
}

bool TSkinHeader::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // Without the skin's image the header paints itself.
      if (!HasHeaderImage()) return TSkinControl::BeforeProc(m);
      PaintMessage(this, m);
      return false;
    case WM_ERASEBKGND:
      if (!HasHeaderImage()) return TSkinControl::BeforeProc(m);
      m.Result = 1;
      return false;
    default: return TSkinControl::BeforeProc(m);
  }
}

void TSkinHeader::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: HotTrack(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}); break;
    case WM_MOUSELEAVE:
      HotIndex = -1;
      Redraw();
      break;
    default: TSkinControl::AfterProc(m); break;
  }
}

void TSkinHeader::HotTrack(POINT p) {
  for (size_t i = 0; i < ItemRects.size(); i++) {
    if (!PtInRect(&ItemRects[i], p) || static_cast<int>(i) == HotIndex) continue;
    HotIndex = static_cast<int>(i);
    Redraw();
  }
  TrackMouseLeave(Handle);
}

void TSkinHeader::PaintControl(HDC dc, const RECT& rect) {
  if (!HasHeaderImage()) return;
  TDataSkinObject& bar = *SkinData->HeaderBar;
  TBitmap work;
  SetSkinBitmapSize(work, rect.right - rect.left, rect.bottom - rect.top, SkinData->Colors[sc::ButtonFace]);
  if (work.Empty()) return;
  HDC wdc = work.Canvas()->Handle();
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(wdc, font) : nullptr;
  SetBkMode(wdc, TRANSPARENT);
  // A header's text is never drawn disabled.
  IsEnabled = true;

  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const int count = std::max(0, static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0)));
  ItemRects.assign(static_cast<size_t>(count), RECT{0, 0, 0, 0});
  int right = 0;
  for (int i = 0; i < count; i++) {
    RECT r;
    if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    DrawHeaderItem(wdc, i, r, images);
    RECT hot = r;
    InflateRect(&hot, -kHotInset, 0);
    ItemRects[static_cast<size_t>(i)] = hot;
    right = std::max<int>(right, r.right);
  }
  // The rest of the bar after the last column.
  if (right < rect.right) DrawBar(wdc, RECT{right, 0, rect.right - rect.left, rect.bottom - rect.top}, bar, 1);

  if (oldFont) SelectObject(wdc, oldFont);
  BitBlt(dc, rect.left, rect.top, work.Width(), work.Height(), wdc, 0, 0, SRCCOPY);
}

void TSkinHeader::DrawHeaderItem(HDC dc, int index, const RECT& rect, HIMAGELIST images) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  wchar_t text[kColumnTextLimit] = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kColumnTextLimit;
  if (!SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) text[0] = 0;
  text[kColumnTextLimit - 1] = 0;

  // The column in a bitmap of its own, so that its text stays inside it.
  TBitmap cell;
  SetSkinBitmapSize(cell, w, h, SkinData->Colors[sc::ButtonFace]);
  if (cell.Empty()) return;
  HDC cdc = cell.Canvas()->Handle();
  DrawBar(cdc, RECT{0, 0, w, h}, *SkinData->HeaderBar, index == HotIndex ? kHeaderHotFrame : kHeaderNormalFrame);
  const std::wstring caption(item.pszText ? item.pszText : L"");
  if (!caption.empty()) {
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ oldFont = SelectObject(cdc, font);
    SetBkMode(cdc, TRANSPARENT);
    DrawHeaderText(cdc, RECT{0, 0, w, h}, AlignmentOf(item.fmt), caption, image, images);
    SelectObject(cdc, oldFont);
  }
  BitBlt(dc, rect.left, rect.top, w, h, cdc, 0, 0, SRCCOPY);
}

TColor TSkinHeader::TextColour() const {
  if (!IsEnabled) return clGrayText;
  if (SkinData->ColorSet[sc::WindowText]) return SkinData->Colors[sc::WindowText];
  // The header's own font colour: the control's, or that of the list view
  // the header belongs to.
  const TControl* owner = Control ? Control : dynamic_cast<const TControl*>(Owner());
  return owner ? owner->Font()->Color() : clWindowText;
}

void TSkinHeader::DrawHeaderText(HDC dc, const RECT& rect, int alignment, const std::wstring& text, int image,
                                 HIMAGELIST images) {
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  int iconW = 0, iconH = 0;
  if (image != -1 && images && ImageList_GetIconSize(images, &iconW, &iconH) && iconW < rw) {
    // the icon is shown
  } else {
    iconW = iconH = 0;
  }
  int textW = 0, textH = 0;
  if (!text.empty()) {
    RECT t = rect;
    if (iconW) t.right += iconW + kIconTextGap;
    DrawTextWide(dc, text, t, kMeasureFlags);
    textW = t.right - t.left;
    textH = t.bottom - t.top;
  }
  int x = kLeftOffset;
  if (alignment == kAlignCentre) x = (rw - iconW - textW) / 2;
  if (alignment == kAlignRight) x = rw - iconW - textW - kRightGap;
  if (x < 2) x = 1;
  if (iconW) ImageList_Draw(images, image, dc, rect.left + x, rect.top + (rh - iconH) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  RECT tr = {rect.left + x + iconW, rect.top + (rh - textH) / 2, rect.left + x + iconW + textW, 0};
  tr.bottom = tr.top + textH;
  tr.left = std::max(tr.left, rect.left);
  tr.right = std::min(tr.right, rect.right);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(TextColour())));
  DrawTextWide(dc, text, tr, DrawTextFlagsRtl(this, kDrawFlags));
}

// ---- TSkinListView --------------------------------------------------------------

const TClassInfo& TSkinListView::StaticClass() {
  static const TClassInfo info("TSkinListView", &TSkinScrollbar::StaticClass());
  return info;
}

TSkinListView::TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::BeforeDestruction() {
  FreeHeader();
  TSkinScrollbar::BeforeDestruction();
}

void TSkinListView::InitScrollSkin(TControl* control, TSkinData* skinData, TWinSkinForm* form,
                                   TCanvas* formCanvas) {
  if (Skinned) return;
  TSkinScrollbar::InitScrollSkin(control, skinData, form, formCanvas);
  if (Skinned) SkinHeaderWindow();
}

void TSkinListView::SkinHeaderWindow() {
  HWND header = Handle ? reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0)) : nullptr;
  if (!header || (Header && Header->Handle == header)) return;
  FreeHeader();
  // The header skinner belongs to the list view, as this one does.
  Header = new TSkinHeader(Owner());
  FreeNotification(Header);
  Header->InitSkinHandle(header, SkinData, Form, FormCanvas);
}

void TSkinListView::FreeHeader() {
  TSkinHeader* header = Header;
  if (!header) return;
  Header = nullptr;
  RemoveFreeNotification(header);
  header->Free();
}

void TSkinListView::WindowAdopted() {
  TSkinScrollbar::WindowAdopted();
  // The old header went with the old window.
  FreeHeader();
  SkinHeaderWindow();
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
  TSkinScrollbar::Notification(component, operation);
  if (operation == opRemove && component == Header) Header = nullptr;
}

void RegisterHeaderSkinners() {
  RegisterSkinnerClass("TSkinHeader", [](TComponent* owner) -> TSkinControl* { return new TSkinHeader(owner); });
  RegisterSkinnerClass("TSkinListView", [](TComponent* owner) -> TSkinControl* { return new TSkinListView(owner); });
}
