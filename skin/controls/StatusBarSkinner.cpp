// The status bar skinner: the bar, its panels with their frames and texts,
// and the size grip, composed in the shared work bitmap and copied in one
// blit. Panels are read from the status bar's window (parts, texts and
// their drawing types), so that a framework status bar and a plain one are
// painted alike; the simple-panel flag, its text, the reading order, the
// font and the panel-drawing event come from the framework control when
// there is one.
#include <any>

#include "BoxSkinners.h"
#include "Graphics.h"
#include "PropertyText.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// Panel frames of the skin's status bar edges.
constexpr int kFrameLowered = 1, kFrameRaised = 2, kFrameNone = 3;
constexpr int kGripFrame = 5;
constexpr int kTextInset = 2;
// An owner-drawn panel is drawn inside its frame.
constexpr int kOwnerInset = 2;
constexpr WPARAM kSimplePart = 255;  // SB_SIMPLEID

int FrameOfBevel(int bevel) {
  switch (bevel) {
    case 0: return kFrameNone;
    case 2: return kFrameRaised;
    default: return kFrameLowered;
  }
}

// A panel's text as the window holds it: leading tabs centre (one) or
// right-align (two) what follows.
void SplitAlignment(std::wstring& text, int& alignment) {
  size_t tabs = 0;
  while (tabs < text.size() && tabs < 2 && text[tabs] == L'\t') tabs++;
  alignment = tabs == 0 ? 0 : tabs == 1 ? 2 : 1;
  text.erase(0, tabs);
}

std::wstring WindowPartText(HWND window, WPARAM part) {
  const LRESULT info = SendMessageW(window, SB_GETTEXTLENGTHW, part, 0);
  const size_t length = LOWORD(info);
  std::wstring text(length + 1, L'\0');
  SendMessageW(window, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(wcsnlen(text.c_str(), length));
  return text;
}

}  // namespace

const TClassInfo& TSkinStatusBar::StaticClass() {
  static const TClassInfo info("TSkinStatusBar", &TSkinControl::StaticClass());
  return info;
}

bool TSkinStatusBar::BeforeProc(TMessage& m) {
  if (PaintClientToAlone(this, m)) return false;
  switch (m.Msg) {
    case WM_PAINT: PaintMessage(this, m); return false;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeProc(m);
  }
}

bool TSkinStatusBar::IsSimple() const {
  if (Control && IsPublishedProp(Control, "SimplePanel")) {
    std::string text;
    GetEnumPropByName(Control, "SimplePanel", text);
    if (text == "True") return true;
  } else if (SendMessageW(Handle, SB_ISSIMPLE, 0, 0)) {
    return true;
  }
  return PanelCount() == 0;
}

std::wstring TSkinStatusBar::SimpleText() const {
  std::wstring text;
  if (Control && IsPublishedProp(Control, "SimpleText"))
    GetWideStrPropByName(Control, "SimpleText", text);
  else
    text = WindowPartText(Handle, kSimplePart);
  return text;
}

bool TSkinStatusBar::RightToLeft() const {
  if (Control) return Control->BiDiMode() == bdRightToLeft;
  return (GetLong(Handle, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
}

int TSkinStatusBar::PanelCount() const {
  const LRESULT n = SendMessageW(Handle, SB_GETPARTS, 0, 0);
  return n > 0 ? static_cast<int>(n) : 0;
}

TStatusPanelInfo TSkinStatusBar::Panel(int index) const {
  TStatusPanelInfo p;
  const WPARAM part = static_cast<WPARAM>(index);
  const UINT type = HIWORD(SendMessageW(Handle, SB_GETTEXTLENGTHW, part, 0));
  p.ownerDraw = (type & SBT_OWNERDRAW) != 0;
  p.rightToLeft = (type & SBT_RTLREADING) != 0;
  p.bevel = (type & SBT_NOBORDERS) ? 0 : (type & SBT_POPOUT) ? 2 : 1;
  if (p.ownerDraw) {
    // An owner-drawn part holds a value, not a text.
    p.data = SendMessageW(Handle, SB_GETTEXTW, part, 0);
  } else {
    p.text = WindowPartText(Handle, part);
    SplitAlignment(p.text, p.alignment);
  }
  // Right-to-left reading swaps the sides.
  if (p.rightToLeft && p.alignment != 2) p.alignment = 1 - p.alignment;
  return p;
}

bool TSkinStatusBar::PanelRect(int index, int count, const RECT& bar, RECT& rect) const {
  if (!SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect))) return false;
  rect.right += 2;
  if (index == count - 1) rect.right = bar.right;
  return true;
}

void TSkinStatusBar::SelectFont(TCanvas& canvas) {
  if (Control) {
    canvas.Font()->Assign(*Control->Font());
  } else {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (GetObjectW(font, sizeof lf, &lf)) canvas.Font()->AssignLogFont(lf);
  }
  canvas.Font()->SetStyle(0);
  if (SkinData->StatusBarEdges) {
    canvas.Font()->SetColor(SkinData->StatusBarEdges->NormalColour2);
    SetTextColor(canvas.Handle(), ColorToRGB(SkinData->StatusBarEdges->NormalColour2));
  }
}

void TSkinStatusBar::DrawPanelFrame(TCanvas& canvas, const RECT& rect, int frame) {
  if (SkinData->StatusBarEdges && !SkinData->StatusBarEdges->Bitmap.Empty())
    DrawStatusPanel(SkinData, canvas.Handle(), rect, frame);
  else
    DrawBevel(canvas, rect, frame);  // "none" (3) draws nothing
}

void TSkinStatusBar::PaintSimple(TCanvas& canvas, const RECT& bar) {
  const int alignment = RightToLeft() ? 1 : 0;
  std::wstring text = SimpleText();
  if (text.empty()) text = L" ";
  DrawPanelFrame(canvas, bar, kFrameLowered);
  RECT t = bar;
  InflateRect(&t, -kTextInset, 0);
  DrawCaptionText(this, canvas, t, static_cast<int>(AlignmentFlags(alignment)), true, text);
}

void TSkinStatusBar::PaintPanels(TCanvas& canvas, const RECT& bar) {
  const int count = PanelCount();
  for (int i = 0; i < count; i++) {
    RECT r;
    if (!PanelRect(i, count, bar, r)) continue;
    const TStatusPanelInfo p = Panel(i);
    DrawPanelFrame(canvas, r, FrameOfBevel(p.bevel));
    if (p.ownerDraw) continue;
    RECT t = r;
    InflateRect(&t, -kTextInset, 0);
    DrawCaptionText(this, canvas, t, static_cast<int>(AlignmentFlags(p.alignment)), true,
                    p.text.empty() ? L" " : p.text);
  }
}

void TSkinStatusBar::DrawSizeGrip(HDC dc, const RECT& bar) {
  if (!(GetLong(Handle, GWL_STYLE) & SBARS_SIZEGRIP)) return;
  TDataSkinObject* extra = SkinData->ExtraImages.get();
  // A strip without the grip's image draws none (never past its end).
  if (!extra || extra->Bitmap.Empty() || extra->Frame < kGripFrame) return;
  const int w = extra->FrameWidth(), h = extra->Bitmap.Height();
  const RECT grip = {bar.right - 1 - w, bar.bottom - 1 - h, bar.right - 1, bar.bottom - 1};
  DrawStrip(this, dc, grip, extra->Frame, kGripFrame, extra->Bitmap);
}

void TSkinStatusBar::DrawOwnerPanels(HDC dc, const RECT& bar) {
  TStatusBarDrawPanelEvent event;
  bool published = false;
  if (Control) {
    if (const TPropInfo* p = Control->ClassInfo().FindProp("OnDrawPanel")) {
      published = p->kind == TPropKind::Method && p->getMethod;
      if (published) {
        std::any value = p->getMethod(*Control);
        if (auto* e = std::any_cast<TStatusBarDrawPanelEvent>(&value)) event = *e;
      }
    }
  }
  const int count = PanelCount();
  TCanvas canvas;
  canvas.SetHandle(dc);
  for (int i = 0; i < count; i++) {
    RECT r;
    if (!PanelRect(i, count, bar, r)) continue;
    InflateRect(&r, -kOwnerInset, -kOwnerInset);
    if (published) {
      // The program draws every panel it has an event for.
      if (event) event(Control, &canvas, i, r);
      continue;
    }
    const TStatusPanelInfo p = Panel(i);
    if (!p.ownerDraw) continue;
    // As the status bar itself asks: its parent draws the panel.
    DRAWITEMSTRUCT dis = {};
    dis.CtlID = static_cast<UINT>(GetWindowLongPtrW(Handle, GWLP_ID));
    dis.itemID = static_cast<UINT>(i);
    dis.hwndItem = Handle;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = static_cast<ULONG_PTR>(p.data);
    SendMessageW(GetParent(Handle), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  }
  canvas.SetHandle(nullptr);
}

void TSkinStatusBar::PaintControl(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const RECT bar = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  if (bar.right <= 0 || bar.bottom <= 0) return;
  TBitmap& work = *SharedBitmap();
  SetSkinBitmapSize(work, bar.right, bar.bottom, static_cast<TColor>(ColorToRGB(SkinData->Colors[sc::ButtonFace])));
  TCanvas& canvas = *work.Canvas();
  SelectFont(canvas);
  if (IsSimple())
    PaintSimple(canvas, bar);
  else
    PaintPanels(canvas, bar);
  DrawSizeGrip(canvas.Handle(), bar);
  BitBlt(dc, rect.left, rect.top, bar.right, bar.bottom, canvas.Handle(), 0, 0, SRCCOPY);
  if (auto* w = dynamic_cast<TWinControl*>(Control)) w->PaintControls(dc);
  DrawOwnerPanels(dc, bar);
}
