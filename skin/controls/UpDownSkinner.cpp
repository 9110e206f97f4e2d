// The up-down skinner: paints both buttons of an up-down control from the
// skin's button strips in one off-screen bitmap. The control keeps its own
// input (the press steps the value, the control repeats while held); the
// skinner only follows the press and the pointer to show the pressed and
// hot frames in the half under the cursor.
#include <algorithm>
#include <memory>

#include "BoxSkinners.h"
#include "Graphics.h"
#include "RangeSkinners.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

constexpr COLORREF kButtonsBack = RGB(255, 255, 255);  // inside an edit, and behind raw buttons
// States of a part that show it pressed in.
enum { kStatePressed = 2, kStateHot = 4 };

bool Inside(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

const TClassInfo& TSkinUpDown::StaticClass() {
  static const TClassInfo info("TSkinUpDown", &TSkinControl::StaticClass());
  return info;
}

void TSkinUpDown::Configure(const std::string& key, const std::string& value) {
  if (key == "AttachedToEdit")
    AttachedToEdit = value == "1";
  else if (key == "Horizontal")
    Horizontal = value == "1";
  else
    TSkinControl::Configure(key, value);
}

bool TSkinUpDown::IsHorizontal() const { return Horizontal || (GetLong(Handle, GWL_STYLE) & UDS_HORZ) != 0; }

bool TSkinUpDown::BeforeProc(TMessage& m) {
  if (PaintClientToAlone(this, m)) return false;
  switch (m.Msg) {
    case WM_PAINT: PaintMessage(this, m); return false;
    case WM_ERASEBKGND:
      if (!Control) {
        RECT r;
        GetClientRect(Handle, &r);
        FillColour(reinterpret_cast<HDC>(m.WParam), r, static_cast<TColor>(kButtonsBack));
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control takes the press first (it steps the value and
      // captures the mouse), then the pressed half is shown.
      CallOldProc(m);
      MouseFlags |= kDown;
      PaintFrame(nullptr);
      return false;
    case WM_LBUTTONUP:
      MouseFlags &= ~kDown;
      CallOldProc(m);
      PaintFrame(nullptr);
      return false;
    case WM_MOUSEMOVE: MouseMove(m); return true;
    case WM_MOUSELEAVE: MouseLeave(); return true;
    default: return TSkinControl::BeforeProc(m);
  }
}

void TSkinUpDown::MouseMove(const TMessage& m) {
  if (GetLong(Handle, GWL_STYLE) & WS_DISABLED) return;
  TrackMouseLeave(Handle);
  RECT client, first, second;
  GetClientRect(Handle, &client);
  UpDownParts(client, IsHorizontal(), first, second);
  const POINT p = {static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  const int part = Inside(first, p) ? 0 : Inside(second, p) ? 1 : -1;
  const bool wasHot = (MouseFlags & kHot) != 0;
  MouseFlags |= kHot;
  if (!wasHot || part != hotPart_) {
    hotPart_ = part;
    PaintFrame(nullptr);
  }
}

void TSkinUpDown::MouseLeave() {
  if (!(MouseFlags & kHot)) return;
  MouseFlags &= ~kHot;
  hotPart_ = -1;
  PaintFrame(nullptr);
}

void TSkinUpDown::PaintPart(HDC dc, const RECT& part, int partNumber, int state, TDataSkinObject* object) {
  if (object && !object->Bitmap.Empty()) {
    const int count = object->Frame < 1 ? 1 : object->Frame;
    // A strip with fewer images than states shows its last one, never
    // reading past its end.
    const int frame = std::min(UpDownFrame(state, partNumber), count);
    DrawSkinCell(dc, ToSkinRect(part), object->Bitmap, true, count, frame);
    if (auto* border = dynamic_cast<TDataSkinBorder*>(object))
      if (!border->Bitmap2.Empty()) DrawSkinCellCentered(dc, ToSkinRect(part), border->Bitmap2, true, count, frame);
    return;
  }
  // No button image: a plain button with an arrow.
  const bool down = state == kStatePressed || state == kStateHot;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(SkinData->Colors[down ? sc::ButtonShadow : sc::ButtonFace]));
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colors[sc::ButtonDkShadow]));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, part.left, part.top, part.right, part.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  DeleteObject(pen);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Pen()->SetColor(SkinData->Colors[sc::ButtonDkShadow]);
  const int x = (part.left + part.right) / 2;
  int y = (part.top + part.bottom) / 2;
  if (partNumber < 2) y -= 2;
  static const int kDirection[4] = {0, 1, 2, 3};  // up, down, left, right
  DrawArrowGlyph(canvas, x, y, kDirection[partNumber]);
  canvas.SetHandle(nullptr);
}

void TSkinUpDown::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  RECT r = rect;
  if (AttachedToEdit) {
    RECT client;
    GetClientRect(Handle, &client);
    FillColour(dc, client, static_cast<TColor>(kButtonsBack));
    RECT window, parent;
    if (GetWindowRect(Handle, &window) && GetParent(Handle) && GetWindowRect(GetParent(Handle), &parent)) {
      // In window coordinates of the buttons, as r.
      OffsetRect(&parent, -window.left, -window.top);
      OffsetRect(&window, -window.left, -window.top);
      r = AttachedUpDownRect(r, window, parent);
    }
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap work;
  SetSkinBitmapSize(work, w, h, static_cast<TColor>(ColorToRGB(SkinData->Colors[sc::ButtonFace])));
  HDC mem = work.Canvas()->Handle();

  POINT cursor;
  GetCursorPos(&cursor);
  RECT window;
  GetWindowRect(Handle, &window);
  // The cursor in the bitmap's coordinates.
  cursor.x -= window.left + r.left;
  cursor.y -= window.top + r.top;
  const bool enabled = !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  IsEnabled = enabled;

  const bool horizontal = IsHorizontal();
  TDataSkinObject* object = horizontal ? static_cast<TDataSkinObject*>(SkinData->UpDownHorz.get())
                                       : static_cast<TDataSkinObject*>(SkinData->UpDownVert.get());
  RECT parts[2];
  UpDownParts(RECT{0, 0, w, h}, horizontal, parts[0], parts[1]);
  for (int i = 0; i < 2; i++) {
    const int number = horizontal ? i + 2 : i;
    const int state = UpDownPartState(enabled, Inside(parts[i], cursor), (MouseFlags & kDown) != 0,
                                      (MouseFlags & kHot) != 0);
    PaintPart(mem, parts[i], number, state, object);
  }
  BitBlt(dc, r.left, r.top, w, h, mem, 0, 0, SRCCOPY);
}
