// The edit skinner: the edit paints itself; its border is painted over in
// the skin's shadow colour with two white rings inside. An edit with spin
// buttons inside (a spin edit's up-down child) has them skinned too,
// unless they already are.
#include "Graphics.h"
#include "RangeSkinners.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

constexpr COLORREF kRing = RGB(255, 255, 255);  // the rings inside the outline
// The outline and the two rings inside it.
constexpr int kBorderWidth = 3;

bool IsSpinClass(HWND window) {
  const std::string cls = LowerCase(WindowClassName(window));
  return cls == "msctls_updown32" || cls.find("spin") != std::string::npos ||
         cls.find("updown") != std::string::npos;
}

}  // namespace

const TClassInfo& TSkinEdit::StaticClass() {
  static const TClassInfo info("TSkinEdit", &TSkinControl::StaticClass());
  return info;
}

bool TSkinEdit::BeforeProc(TMessage& m) {
  if (m.Msg != WM_PRINTCLIENT) return TSkinControl::BeforeProc(m);
  // The edit prints its client area first; the clipping it leaves in the
  // device context must not keep the frame out.
  HDC given = reinterpret_cast<HDC>(m.WParam);
  const int saved = given ? SaveDC(given) : 0;
  CallOldProc(m);
  if (given) RestoreDC(given, saved);
  AfterProc(m);
  return false;
}

void TSkinEdit::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(m.WParam)); break;
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      HDC own = dc ? nullptr : GetWindowDC(Handle);
      if (own) dc = own;
      if (dc) PaintPrintedFrame(dc);
      if (own) ReleaseDC(Handle, own);
      break;
    }
    default: TSkinControl::AfterProc(m); break;
  }
}

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == SpinButtons) SpinButtons = nullptr;
}

void TSkinEdit::SkinSpinButtons() {
  if (!SkinData || !SkinData->HasControl(xcSpin)) return;
  // A spin child that went (the edit's window made anew) is looked for again.
  if (SpinWindow && (!IsWindow(SpinWindow) || GetParent(SpinWindow) != Handle)) SpinWindow = nullptr;
  if (SpinWindow) return;
  HWND found = nullptr;
  for (HWND child = GetTopWindow(Handle); child && !found; child = GetWindow(child, GW_HWNDNEXT))
    if (IsSpinClass(child)) found = child;
  if (!found) return;
  SpinWindow = found;
  // Buttons skinned already (discovery gave the framework up-down its own
  // skinner) get no second one; they are told they stand in an edit.
  TSkinControl* existing = Form ? Form->FindSkinnerByHandle(found) : nullptr;
  if (existing || SendMessageW(found, SKM_ISSKINNED, 0, 0) == 1) {
    if (auto* buttons = dynamic_cast<TSkinUpDown*>(existing)) {
      buttons->AttachedToEdit = true;
      InvalidateRect(found, nullptr, TRUE);
    }
    return;
  }
  auto* buttons = new TSkinUpDown(Owner());
  buttons->AttachedToEdit = true;
  buttons->InitSkinHandle(found, SkinData, Form, FormCanvas);
  buttons->FreeNotification(this);
  SpinButtons = buttons;
}

void TSkinEdit::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  SkinSpinButtons();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  RECT client;
  GetClientRect(Handle, &client);
  // No border: the client area fills the window one way or the other.
  if (client.right >= w || client.bottom >= h) return;
  TBitmap work;
  SetSkinBitmapSize(work, w, h, static_cast<TColor>(kRing));
  HDC mem = work.Canvas()->Handle();
  const RECT outline = {0, 0, w, h};
  HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->Colors[sc::ButtonShadow]));
  FrameRect(mem, &outline, shadow);
  DeleteObject(shadow);
  // Only the border is copied: the edit's own painting stays.
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, rect.left + kBorderWidth, rect.top + kBorderWidth, rect.right - kBorderWidth,
                  rect.bottom - kBorderWidth);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

void TSkinEdit::PaintPrintedFrame(HDC dc) {
  RECT window, client;
  if (!SkinData || !GetWindowRect(Handle, &window) || !GetClientRect(Handle, &client)) return;
  const RECT r = {0, 0, window.right - window.left, window.bottom - window.top};
  if (client.right + 2 >= r.right || client.bottom + 2 >= r.bottom) return;
  RECT ring = r;
  InflateRect(&ring, -1, -1);
  FrameRect(dc, &ring, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->Colors[sc::ButtonShadow]));
  FrameRect(dc, &r, shadow);
  DeleteObject(shadow);
}

void RegisterRangeSkinners() {
  RegisterSkinnerClass("TSkinTrackBar", [](TComponent* owner) { return new TSkinTrackBar(owner); });
  RegisterSkinnerClass("TSkinUpDown", [](TComponent* owner) { return new TSkinUpDown(owner); });
  RegisterSkinnerClass("TSkinProgress", [](TComponent* owner) { return new TSkinProgress(owner); });
  RegisterSkinnerClass("TSkinEdit", [](TComponent* owner) { return new TSkinEdit(owner); });
}
