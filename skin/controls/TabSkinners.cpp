#include "TabSkinners.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "ImgUtilGdi.h"
#include "PropertyText.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "StringList.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// Frames of the "Tabs" strip.
constexpr int kTabFrameNormal = 1, kTabFrameSelected = 2;
// The longest caption read from a tab control.
constexpr int kTabTextMax = 80;
// The pane's margins when it is the tab strip's second image.
const TSkinRect kBorderPaneMargins = SkinRect(4, 5, 4, 4);
// A tab set's tab: its text and these pixels; the scroller's room beside.
constexpr int kTabSetPadding = 9, kTabSetScrollerRoom = 12;
// The kind that skins scroll arrows.
const char kUpDownKind[] = "TSkinUpDown";

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

int Frames(const TDataSkinObject& o) { return o.Frame < 1 ? 1 : o.Frame; }

// A published integer colour of a control, or the fallback.
TColor ColourOf(const TControl* control, TColor fallback) {
  if (!control) return fallback;
  const TPropInfo* p = control->ClassInfo().FindProp("Color");
  int32_t value = 0;
  if (!p || p->kind != TPropKind::Integer || GetOrdProp(control, "Color", value) != TPropStatus::Ok) return fallback;
  return static_cast<TColor>(value);
}

// The up-down skinner made through the registry for an arrows window; owned
// by owner, told to this skinner when it goes.
TSkinControl* MakeUpDownSkinner(TSkinControl* self, TComponent* owner, HWND arrows, bool horizontal) {
  TSkinControl* s = MakeSkinner(kUpDownKind, owner ? owner : self);
  if (!s) return nullptr;
  s->FreeNotification(self);
  if (horizontal) s->Configure("Horizontal", "1");
  s->InitSkinHandle(arrows, self->SkinData, self->Form, self->FormCanvas);
  return s;
}

void FreeSkinner(TSkinControl* self, TSkinControl*& skinner) {
  TSkinControl* s = skinner;
  skinner = nullptr;
  if (!s) return;
  s->RemoveFreeNotification(self);
  s->Free();
}

}  // namespace

// ---- geometry -----------------------------------------------------------------------

TTabSide TabSideFromStyle(LONG style) {
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (vertical) return bottom ? tsideRight : tsideLeft;
  return bottom ? tsideBottom : tsideTop;
}

RECT TabPaneRect(TTabSide side, const RECT& display) {
  RECT p = display;
  InflateRect(&p, 4, 4);
  switch (side) {
    case tsideTop: p.top += 1; break;
    case tsideBottom: p.bottom -= 1; break;
    case tsideLeft: p.left += 1; break;
    case tsideRight: p.right -= 1; break;
  }
  return p;
}

RECT TabStripRect(TTabSide side, const RECT& r, const RECT& p) {
  switch (side) {
    case tsideBottom: return RECT{r.left, p.bottom, r.right, r.bottom};
    case tsideLeft: return RECT{r.left, r.top, p.left, r.bottom};
    case tsideRight: return RECT{p.right, r.top, r.right, r.bottom};
    default: return RECT{r.left, r.top, r.right, p.top};
  }
}

SIZE TabStripBitmapSize(TTabSide side, const RECT& s) {
  const int w = std::max(0, static_cast<int>(s.right - s.left)), h = std::max(0, static_cast<int>(s.bottom - s.top));
  if (side == tsideLeft || side == tsideRight) return SIZE{h, w};
  return SIZE{w, h};
}

RECT TabRectInStrip(TTabSide side, const RECT& item, const RECT& r, const RECT& p, SIZE strip) {
  const int l = item.left - r.left, t = item.top - r.top, rt = item.right - r.left, b = item.bottom - r.top;
  switch (side) {
    case tsideBottom: {
      const int up = p.bottom - r.top + 1;
      return RECT{l, t - up, rt, b - up};
    }
    case tsideLeft:
      // Turned a quarter to the left afterwards: the window's rows run
      // right to left along the strip, its columns down it.
      return RECT{strip.cx - b, l + 1, strip.cx - t, rt + 1};
    case tsideRight: {
      // Turned a quarter to the right afterwards: the rows run left to
      // right, the columns up the strip from the window's right edge.
      const int right = r.right - r.left;
      return RECT{t, right - rt + 1, b, right - l + 1};
    }
    default: return RECT{l, t + 1, rt, b + 1};
  }
}

TSkinRect TurnTabMargins(TTabSide side, const TSkinRect& m) {
  switch (side) {
    case tsideBottom: return SkinRect(m.Left, m.Bottom, m.Right, m.Top);
    case tsideLeft: return SkinRect(m.Top, m.Right, m.Bottom, m.Left);
    case tsideRight: return SkinRect(m.Bottom, m.Left, m.Top, m.Right);
    default: return m;
  }
}

std::vector<TTabSetTab> LayoutTabSet(const std::vector<int>& textWidths, int firstIndex, int startMargin,
                                     int endMargin, int width, int height, bool scrollerVisible) {
  std::vector<TTabSetTab> tabs;
  const int limit = width - endMargin;
  int x = startMargin;
  for (int i = std::max(0, firstIndex); i < static_cast<int>(textWidths.size()); i++) {
    const int w = textWidths[static_cast<size_t>(i)];
    const int need = w + kTabSetPadding + (scrollerVisible ? kTabSetScrollerRoom : 0);
    if (x + need > limit) continue;
    tabs.push_back({i, RECT{x, 0, x + w + kTabSetPadding, height}});
    x += w + kTabSetPadding;
  }
  return tabs;
}

// ---- TSkinTab ------------------------------------------------------------------------

const TClassInfo& TSkinTab::StaticClass() {
  static const TClassInfo info("TSkinTab", &TSkinControl::StaticClass());
  return info;
}

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) { SetSkinBitmapSize(StripBitmap, 1, 1); }

void TSkinTab::BeforeDestruction() {
  FreeUpDownSkinner();
  TSkinControl::BeforeDestruction();
}

void TSkinTab::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  const bool first = !Skinned;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  if (first && Skinned) StartSkinning();
}

void TSkinTab::InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, TCanvas* formCanvas) {
  const bool first = !Skinned;
  TSkinControl::InitSkinHandle(window, skinData, form, formCanvas);
  if (!first || !Skinned) return;
  IsFocused = GetFocus() == Handle;
  GetWindowCaption(Handle, Caption);
  StartSkinning();
}

void TSkinTab::StartSkinning() {
  IsEnabled = Handle && !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  preparedFor_ = Handle;
  PrepareTabImages();
  SkinScrollArrows();
  Active = true;
  TabUnicode = Handle && IsWindowUnicode(Handle);
}

TTabSide TSkinTab::ReadTabSide() const { return Handle ? TabSideFromStyle(GetLong(Handle, GWL_STYLE)) : tsideTop; }

void TSkinTab::PrepareTabImages() {
  TabSide = ReadTabSide();
  TabImage.Clear();
  PaneImage.Clear();
  PaneMargins = TSkinRect();
  TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
  if (!tabs) return;
  if (!tabs->Bitmap.Empty()) CopyBitmap(tabs->Bitmap, TabImage);
  if (tabs->Style == 0 && !tabs->Bitmap2.Empty()) {
    CopyBitmap(tabs->Bitmap2, PaneImage);
    PaneMargins = kBorderPaneMargins;
  } else if (tabs->Style == 1 && SkinData->TabPane && !SkinData->TabPane->Bitmap.Empty()) {
    CopyBitmap(SkinData->TabPane->Bitmap, PaneImage);
    PaneMargins = SkinData->TabPane->Margins();
  }
  // The images face the pane from the tabs' side; the pane's margins turn
  // with it.
  switch (TabSide) {
    case tsideBottom:
      if (!TabImage.Empty()) FlipVertical(TabImage);
      if (!PaneImage.Empty()) FlipVertical(PaneImage);
      break;
    case tsideLeft:
      if (!PaneImage.Empty()) RotateLeft(PaneImage);
      break;
    case tsideRight:
      if (!PaneImage.Empty()) RotateRight(PaneImage);
      break;
    default: break;
  }
  PaneMargins = TurnTabMargins(TabSide, PaneMargins);
}

void TSkinTab::FollowWindow() {
  if (Handle == preparedFor_ && ReadTabSide() == TabSide) return;
  preparedFor_ = Handle;
  TabUnicode = Handle && IsWindowUnicode(Handle);
  PrepareTabImages();
}

HWND TSkinTab::ArrowsWindow() const {
  return Handle ? FindWindowExW(Handle, nullptr, L"msctls_updown32", nullptr) : nullptr;
}

bool TSkinTab::SkinScrollArrows() {
  HWND arrows = ArrowsWindow();
  // The skinner of arrows that went (the control's window was made anew)
  // goes too; the new arrows get one of their own.
  if (UpDownSkinner && (UpDownSkinner->State == 6 || UpDownSkinner->Handle != arrows)) FreeUpDownSkinner();
  if (arrows && !UpDownSkinner && SendMessageW(arrows, SKM_ISSKINNED, 0, 0) != 1) {
    TComponent* owner = Control ? Control->Owner() : Owner();
    UpDownSkinner = MakeUpDownSkinner(this, owner, arrows, false);
  }
  return arrows && (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE);
}

void TSkinTab::FreeUpDownSkinner() { FreeSkinner(this, UpDownSkinner); }

void TSkinTab::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == UpDownSkinner) UpDownSkinner = nullptr;
}

bool TSkinTab::BeforeProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    PaintMessage(this, m);
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinTab::ApplySkinChange() {
  // The images first, so that the repaint shows the new skin.
  PrepareTabImages();
  TSkinControl::ApplySkinChange();
}

TColor TSkinTab::StripColour() const {
  const TColor face = SkinData ? SkinData->Colors[sc::ButtonFace] : clBtnFace;
  const TControl* parent = Control ? Control->Parent() : FindControlOfWindow(GetParent(Handle));
  return ColourOf(parent, face);
}

bool TSkinTab::ReadTab(int index, std::wstring& text, int& image) const {
  text.clear();
  image = -1;
  if (TabUnicode) {
    wchar_t buffer[kTabTextMax + 1] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = buffer;
    item.cchTextMax = kTabTextMax + 1;
    item.iImage = -1;
    if (!SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return false;
    const wchar_t* p = item.pszText ? item.pszText : buffer;
    text.assign(p, wcsnlen(p, kTabTextMax));
    image = item.iImage;
  } else {
    char buffer[kTabTextMax + 1] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = buffer;
    item.cchTextMax = kTabTextMax + 1;
    item.iImage = -1;
    if (!SendMessageA(Handle, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return false;
    const char* p = item.pszText ? item.pszText : buffer;
    text = AnsiToWide(std::string(p, strnlen(p, kTabTextMax)));
    image = item.iImage;
  }
  return true;
}

void TSkinTab::ComposeStrip(HDC target, const RECT& r, const RECT& p) {
  const RECT s = TabStripRect(TabSide, r, p);
  const SIZE size = TabStripBitmapSize(TabSide, s);
  if (size.cx <= 0 || size.cy <= 0) return;
  SetSkinBitmapSize(StripBitmap, size.cx, size.cy);
  TCanvas& canvas = *StripBitmap.Canvas();
  FillColour(canvas.Handle(), RECT{0, 0, size.cx, size.cy}, StripColour());
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW logFont = {};
  if (GetObjectW(font, sizeof logFont, &logFont)) canvas.Font()->AssignLogFont(logFont);
  const int count = std::max(0, static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0)));
  const int selected = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  TDataSkinBorder& tabs = *SkinData->Tabs;
  // The tab image is upside down for tabs at the bottom; its margins too.
  const TSkinRect margins = TabSide == tsideBottom ? TurnTabMargins(tsideBottom, tabs.Margins()) : tabs.Margins();
  for (int i = 0; i < count; i++) {
    RECT item;
    if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    std::wstring text;
    int image = -1;
    ReadTab(i, text, image);
    const RECT tab = TabRectInStrip(TabSide, item, r, p, size);
    const bool isSelected = i == selected;
    DrawSkinImage(canvas.Handle(), ToSkinRect(tab), TabImage, false, tabs.Tile == 1, tabs.Trans == 1, Frames(tabs),
                  isSelected ? kTabFrameSelected : kTabFrameNormal, margins);
    canvas.Font()->SetColor(isSelected ? tabs.MouseOverColour2 : tabs.NormalColour2);
    DrawImageCaption(this, canvas, tab, 1, text, image, images);
  }
  // Upright again, the tabs facing the pane.
  if (TabSide == tsideLeft) RotateLeft(StripBitmap);
  if (TabSide == tsideRight) RotateRight(StripBitmap);
  BitBlt(target, s.left, s.top, StripBitmap.Width(), StripBitmap.Height(), StripBitmap.Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TSkinTab::PaintControl(HDC dc, const RECT& r) {
  if (!Handle || !SkinData) return;
  FollowWindow();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  IsEnabled = !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  // Everything is composed in one bitmap, starting from the control's own
  // drawing: what the skin does not cover stays as the control draws it.
  TBitmap frame;
  SetSkinBitmapSize(frame, w, h);
  HDC work = frame.Canvas()->Handle();
  FillColour(work, RECT{0, 0, w, h}, StripColour());
  TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(work), 0, 0};
  const int savedWork = SaveDC(work);
  CallOldProc(own);
  RestoreDC(work, savedWork);

  const RECT origin = {0, 0, w, h};
  RECT display = origin;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const RECT pane = TabPaneRect(TabSide, display);
  const int count = std::max(0, static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0)));
  CloseButtonRects.resize(static_cast<size_t>(count));
  if (SkinData->Tabs && !SkinData->Tabs->Bitmap.Empty() && !TabImage.Empty()) ComposeStrip(work, origin, pane);
  if (!PaneImage.Empty()) DrawSkinImage(work, ToSkinRect(pane), PaneImage, false, false, false, 1, 1, PaneMargins);
  // A page control's windowless children on its pages.
  if (Mode == 2)
    if (auto* page = dynamic_cast<TWinControl*>(Control)) page->PaintControls(work);

  // The scroll arrows are a window of their own over the strip: the copy
  // leaves them as they are.
  const bool arrowsShow = SkinScrollArrows();
  const int saved = SaveDC(dc);
  if (arrowsShow) {
    RECT a, self;
    GetWindowRect(ArrowsWindow(), &a);
    GetWindowRect(Handle, &self);
    OffsetRect(&a, r.left - self.left, r.top - self.top);
    ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
  }
  BitBlt(dc, r.left, r.top, w, h, work, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

// ---- TSkinTab31 ----------------------------------------------------------------------

const TClassInfo& TSkinTab31::StaticClass() {
  static const TClassInfo info("TSkinTab31", &TSkinControl::StaticClass());
  return info;
}

void TSkinTab31::BeforeDestruction() {
  recreateHook_.Remove();
  FreeSkinner(this, UpDownSkinner);
  if (Scroller) Scroller->RemoveFreeNotification(this);
  Scroller = nullptr;
  TSkinControl::BeforeDestruction();
}

void TSkinTab31::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool) {
  if (Skinned) return;
  auto* tabSet = dynamic_cast<TWinControl*>(Owner());
  if (!tabSet || !tabSet->Handle()) return;
  // The tab set's window itself is subclassed; the control is read by its
  // published properties.
  InitSkinHandle(tabSet->Handle(), skinData, form, formCanvas);
  Control = tabSet;
  recreateHook_.Install(tabSet, [this](TMessage& m) { WatchRecreation(m); });
  PrepareTabImage();
  SkinScroller();
}

void TSkinTab31::PrepareTabImage() {
  TabImage.Clear();
  TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
  if (!tabs || tabs->Bitmap.Empty()) return;
  CopyBitmap(tabs->Bitmap, TabImage);
  FlipVertical(TabImage);
}

void TSkinTab31::SkinScroller() {
  auto* tabSet = dynamic_cast<TWinControl*>(Control);
  if (!tabSet || tabSet->Components().empty()) return;
  // The tab set's scroll arrows: its first component, a window inside it.
  auto* scroller = dynamic_cast<TWinControl*>(tabSet->Components().front());
  if (!scroller || scroller->Parent() != tabSet || !scroller->Handle()) return;
  Scroller = scroller;
  Scroller->FreeNotification(this);
  if (SendMessageW(scroller->Handle(), SKM_ISSKINNED, 0, 0) != 1)
    UpDownSkinner = MakeUpDownSkinner(this, tabSet->Owner(), scroller->Handle(), true);
}

void TSkinTab31::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == UpDownSkinner) UpDownSkinner = nullptr;
  if (component == Scroller) Scroller = nullptr;
}

void TSkinTab31::WatchRecreation(TMessage& m) {
  TBusyScope busy(this);
  recreateHook_.CallPrevious(m);
  if (m.Msg != CM_RECREATEWND || State != 6) return;
  auto* tabSet = dynamic_cast<TWinControl*>(Control);
  if (!tabSet || !tabSet->HandleIfAllocated()) return;
  // The old window's subclass went with it: a skinner of the same kind
  // takes the new window, and this one goes when its handler returns.
  recreateHook_.Remove();
  if (TSkinControl* fresh = MakeSkinner(ClassName(), tabSet)) fresh->InitSkin(Form, SkinData, FormCanvas, false);
  Free();
}

bool TSkinTab31::BeforeProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // Painted here, and the tab set's own handling still runs.
      PaintMessage(this, m);
      return true;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeProc(m);
  }
}

void TSkinTab31::ApplySkinChange() {
  PrepareTabImage();
  TSkinControl::ApplySkinChange();
}

void TSkinTab31::PaintControl(HDC dc, const RECT& r) {
  if (TabImage.Empty() || !SkinData || !SkinData->Tabs || !Control) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  IsEnabled = !(GetLong(Handle, GWL_STYLE) & WS_DISABLED);
  TBitmap image;
  SetSkinBitmapSize(image, w, h);
  TCanvas& canvas = *image.Canvas();
  FillColour(canvas.Handle(), RECT{0, 0, w, h}, SkinData->Colors[sc::ButtonFace]);
  canvas.Font()->Assign(*Control->Font());
  std::vector<std::wstring> captions;
  std::vector<int> widths;
  if (auto* tabs = dynamic_cast<TStrings*>(GetObjectPropByName(Control, "Tabs"))) {
    for (int i = 0; i < tabs->Count(); i++) {
      captions.push_back(AnsiToWide(tabs->Strings(i)));
      RECT measured = {0, 0, 0, 0};
      canvas.DrawTextWide(captions.back(), measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      widths.push_back(measured.right - measured.left);
    }
  }
  const int selected = GetOrdPropByName(Control, "TabIndex");
  const bool scrollerShows = Scroller && Scroller->Visible();
  const std::vector<TTabSetTab> placed =
      LayoutTabSet(widths, GetOrdPropByName(Control, "FirstIndex"), std::max(0, GetOrdPropByName(Control, "StartMargin")),
                   std::max(0, GetOrdPropByName(Control, "EndMargin")), w, h, scrollerShows);
  TDataSkinBorder& tabs = *SkinData->Tabs;
  // The image hangs upside down; its margins with it.
  const TSkinRect margins = TurnTabMargins(tsideBottom, tabs.Margins());
  for (const TTabSetTab& tab : placed) {
    const bool isSelected = tab.Index == selected;
    DrawSkinImage(canvas.Handle(), ToSkinRect(tab.Rect), TabImage, false, tabs.Tile == 1, tabs.Trans == 1,
                  Frames(tabs), isSelected ? kTabFrameSelected : kTabFrameNormal, margins);
    canvas.Font()->SetColor(isSelected ? tabs.MouseOverColour2 : tabs.NormalColour2);
    DrawCaptionText(this, canvas, tab.Rect, DT_CENTER, IsEnabled, captions[static_cast<size_t>(tab.Index)]);
  }
  BitBlt(dc, r.left, r.top, w, h, canvas.Handle(), 0, 0, SRCCOPY);
}

void RegisterTabSkinners() {
  RegisterSkinnerClass("TSkinTab", [](TComponent* owner) -> TSkinControl* { return new TSkinTab(owner); });
  RegisterSkinnerClass("TSkinTab31", [](TComponent* owner) -> TSkinControl* { return new TSkinTab31(owner); });
}
