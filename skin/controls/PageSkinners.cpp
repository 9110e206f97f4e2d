#include "PageSkinners.h"

#include <memory>

#include "GlyphImageSkinner.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "TextUtils.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

const char kTabImage[] = "TabBackGround";
const char kActiveTabImage[] = "TabBackGroundActive";
const wchar_t kUpDownClass[] = L"msctls_updown32";
const char kUpDownKind[] = "TSkinUpDown";
// Tabs of the button strip: the focused one pressed.
constexpr int kTabNormal = 1;
constexpr int kTabFocused = 2;
// The longest tab text read.
constexpr int kTabTextChars = 80;

}  // namespace

// ---- TSkinAdvPage ----------------------------------------------------------------

const TClassInfo& TSkinAdvPage::StaticClass() {
  static const TClassInfo info("TSkinAdvPage", &TSkinControl::StaticClass());
  return info;
}

void TSkinAdvPage::Configure(const std::string& key, const std::string& value) {
  int32_t n = 0;
  if (key == "PageStyle" && TryStrToInt(value, n)) PageStyle = n;
  TSkinControl::Configure(key, value);
}

void TSkinAdvPage::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  if (Skinned) return;
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  if (!Skinned) return;
  MakeTabImages();
}

void TSkinAdvPage::MakeTabImages() {
  if (PageStyle != kSuppliedTabImages || !Control || !SkinData || !SkinData->Tabs) return;
  TDataSkinBorder& tabs = *SkinData->Tabs;
  if (tabs.Bitmap.Empty()) return;
  const int count = tabs.Frame < 1 ? 1 : tabs.Frame;
  const char* targets[2] = {kTabImage, kActiveTabImage};
  for (int i = 0; i < 2; i++) {
    // A strip of one image gives it for both.
    const int frame = i + 1 > count ? count : i + 1;
    std::unique_ptr<TBitmap> image(MakeSkinImage(SkinRect(0, 0, kTabImageWidth, kTabImageHeight), tabs.Bitmap,
                                                 tabs.Margins(), false, tabs.Trans != 0, count, frame));
    if (image) AssignBitmapProp(Control, targets[i], *image);
  }
}

void TSkinAdvPage::ClearTabImages() {
  for (const char* name : {kTabImage, kActiveTabImage})
    if (auto* b = dynamic_cast<TBitmap*>(GetObjectPropByName(Control, name))) b->Clear();
}

void TSkinAdvPage::ApplySkinChange() {
  MakeTabImages();
  TSkinControl::ApplySkinChange();
}

void TSkinAdvPage::Unskin() {
  if (!Active) return;
  TSkinControl::Unskin();
  if (Control) ClearTabImages();
}

void TSkinAdvPage::PaintControl(HDC, const RECT&) { SkinScroller(); }

void TSkinAdvPage::SkinScroller() {
  HWND arrows = Handle ? FindWindowExW(Handle, nullptr, kUpDownClass, nullptr) : nullptr;
  if (UpDown && UpDown->State == 6) {
    // The arrows' window went (the tabs fit again): their skinner too.
    TSkinControl* gone = UpDown;
    UpDown = nullptr;
    gone->Free();
  }
  if (!arrows || UpDown) return;
  UpDown = MakeSkinner(kUpDownKind, Control ? static_cast<TComponent*>(Control) : Owner());
  if (!UpDown) return;
  // Told when it goes, whoever frees it (the form skinner frees every
  // registered skinner when it unskins).
  UpDown->FreeNotification(this);
  UpDown->InitSkinHandle(arrows, SkinData, Form, FormCanvas);
}

void TSkinAdvPage::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == UpDown) UpDown = nullptr;
}

// ---- TSkinTabBtn -----------------------------------------------------------------

const TClassInfo& TSkinTabBtn::StaticClass() {
  static const TClassInfo info("TSkinTabBtn", &TSkinControl::StaticClass());
  return info;
}

bool TSkinTabBtn::HasButtonStrip() const {
  return SkinData && SkinData->Buttons && !SkinData->Buttons->Bitmap.Empty();
}

bool TSkinTabBtn::BeforeProc(TMessage& m) {
  if (m.Msg == WM_PAINT && HasButtonStrip()) {
    PaintMessage(this, m);
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

RECT TSkinTabBtn::TabStripRect(const RECT& rect) const {
  RECT display = rect;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  InflateRect(&display, 4, 4);
  return RECT{rect.left, rect.top, rect.right, display.top + 1};
}

std::wstring TSkinTabBtn::TabText(int index, int& image) const {
  image = -1;
  if (IsUnicode) {
    wchar_t buffer[kTabTextChars + 1] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = buffer;
    item.cchTextMax = kTabTextChars;
    if (!SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    return std::wstring(buffer);
  }
  char buffer[kTabTextChars + 1] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = buffer;
  item.cchTextMax = kTabTextChars;
  if (!SendMessageA(Handle, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
  image = item.iImage;
  return AnsiToWide(buffer);
}

void TSkinTabBtn::PaintControl(HDC dc, const RECT& rect) {
  if (!HasButtonStrip() || !Handle) return;
  TDataSkinButton& b = *SkinData->Buttons;
  IsEnabled = Control ? Control->Enabled() : IsWindowEnabled(Handle) != FALSE;
  const RECT strip = TabStripRect(rect);
  const int w = strip.right - strip.left, h = strip.bottom - strip.top;
  if (w <= 0 || h <= 0) return;
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focused = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  const int frames = b.Frame < 1 ? 1 : b.Frame;

  TBitmap buffer(w, h, pf24bit);
  TCanvas& c = *buffer.Canvas();
  FillSkinColour(c.Handle(), RECT{0, 0, w, h});
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf = {};
  if (GetObjectW(font, sizeof lf, &lf)) c.Font()->AssignLogFont(lf);

  // Item rectangles are the client's; the strip is the window's.
  RECT window;
  GetWindowRect(Handle, &window);
  POINT client = {0, 0};
  ClientToScreen(Handle, &client);
  const int dx = client.x - window.left - strip.left, dy = client.y - window.top - strip.top;

  for (int i = 0; i < count; i++) {
    RECT item;
    if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    int image = -1;
    const std::wstring text = TabText(i, image);
    OffsetRect(&item, dx, dy + 1);
    const int frame = i == focused ? kTabFocused : kTabNormal;
    DrawSkinObject(this, c.Handle(), item, frames, frame, &b);
    c.Font()->SetColor(clBlack);
    if (frame == kTabNormal && b.HasNormalColour2) c.Font()->SetColor(b.NormalColour2);
    if (frame == kTabFocused && b.HasPressedColour2) c.Font()->SetColor(b.PressedColour2);
    DrawImageCaption(this, c, item, 1, text, image, images);
  }
  BitBlt(dc, strip.left, strip.top, w, h, c.Handle(), 0, 0, SRCCOPY);
}

void RegisterPageSkinners() {
  RegisterSkinnerClass("TSkinAdvPage", [](TComponent* owner) -> TSkinControl* { return new TSkinAdvPage(owner); });
  RegisterSkinnerClass("TSkinTabBtn", [](TComponent* owner) -> TSkinControl* { return new TSkinTabBtn(owner); });
}
