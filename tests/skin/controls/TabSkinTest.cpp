// The tab skinners against the colour-coded skin: the system tab control as
// a plain child window (tabs on each side, overflowing tabs with their
// scroll arrows, an ANSI window, long captions, no tabs at all), stand-ins
// for the framework's page and tab controls (the framework has none) and
// for the tab set with its scroller. Pixels are read back where the skin's
// frame colour is fixed: each tab's left edge, the outer corners its
// strip cuts round, the pane. Selection by the real mouse and keyboard,
// the arrows' own skinner asked of the registry (a recording kind stands in
// for the up-down skinner), a re-created window, a new skin, and every
// skinner released on destroy and when skinning is switched off.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <map>

#include "Application.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "ImgUtil.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "StringList.h"
#include "Subclass.h"
#include "TabSkinners.h"
#include "Text.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);  // a memory DC's fill before painting
constexpr COLORREF kNormalCaption = RGB(0, 255, 0), kSelectedCaption = RGB(255, 255, 0);

// ---- real input ----

void MouseAt(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  Pump(40);
}

void ClickAt(POINT screen) {
  MouseAt(screen);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  Pump(80);
}

void PressKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Pump(80);
}

// An ANSI window procedure in front of a control's own: the window is then
// an ANSI window (IsWindowUnicode false), as the program's own windows of
// the ANSI family are.
std::map<HWND, WNDPROC>& AnsiRelayed() {
  static std::map<HWND, WNDPROC> procs;
  return procs;
}
LRESULT CALLBACK AnsiRelay(HWND h, UINT msg, WPARAM w, LPARAM l) {
  WNDPROC next = AnsiRelayed()[h];
  if (msg == WM_NCDESTROY) AnsiRelayed().erase(h);
  return CallWindowProcA(next, h, msg, w, l);
}
void MakeAnsiWindow(HWND h) {
  AnsiRelayed()[h] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsiRelay)));
}

// ---- stand-ins ----

const TClassInfo& Kind(const char* name, const TClassInfo* parent) {
  static std::map<std::string, std::unique_ptr<TClassInfo>> kinds;
  auto& slot = kinds[name];
  if (!slot) slot.reset(new TClassInfo(name, parent));
  return *slot;
}
const TClassInfo& TabFamily() { return Kind("TCustomTabControl", &TWinControl::StaticClass()); }

// A framework tab or page control over the system tab control.
class TTestTabControl : public TWinControl {
 public:
  TTestTabControl(TComponent* owner, const TClassInfo& info) : TWinControl(owner), info_(&info) {}
  const TClassInfo& ClassInfo() const override { return *info_; }
  std::vector<std::wstring> tabs;
  int selected = 0;
  DWORD style = 0;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClass = WC_TABCONTROLW;
    p.style |= style | WS_CLIPCHILDREN;
  }
  void WindowCreated() override {
    HWND h = HandleIfAllocated();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    for (size_t i = 0; i < tabs.size(); i++) {
      TCITEMW item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(tabs[i].c_str());
      SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }

 private:
  const TClassInfo* info_;
};

// A windowless control in one colour.
class TSwatch : public TGraphicControl {
 public:
  explicit TSwatch(TComponent* owner) : TGraphicControl(owner) {}
  static constexpr COLORREF kColour = RGB(10, 200, 90);

 protected:
  void Paint() override {
    RECT r = ClientRect();
    HBRUSH b = CreateSolidBrush(kColour);
    FillRect(Canvas()->Handle(), &r, b);
    DeleteObject(b);
  }
};

// The tab set's scroll arrows: a horizontal up-down window inside it.
class TTestScroller : public TWinControl {
 public:
  explicit TTestScroller(TComponent* owner) : TWinControl(owner) {}

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClass = UPDOWN_CLASSW;
    p.style |= UDS_HORZ;
  }
};

// The older tab set: tabs hanging from a line at its top, each its text
// plus 9 pixels wide from StartMargin; a press selects the tab under it.
class TTestTabSet : public TCustomControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TTestTabSet>("TTabSet", &TCustomControl::StaticClass())
            .Obj("Tabs", &TTestTabSet::Tabs)
            .Int("TabIndex", &TTestTabSet::TabIndex, &TTestTabSet::SetTabIndex, -1)
            .Int("FirstIndex", &TTestTabSet::FirstIndex, &TTestTabSet::SetFirstIndex, 0)
            .Int("StartMargin", &TTestTabSet::StartMargin, &TTestTabSet::SetStartMargin, 5)
            .Int("EndMargin", &TTestTabSet::EndMargin, &TTestTabSet::SetEndMargin, 5)
            .Int("BackgroundColor", &TTestTabSet::BackgroundColor, &TTestTabSet::SetBackgroundColor, clBtnFace);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TTestTabSet(TComponent* owner) : TCustomControl(owner) {
    scroller = new TTestScroller(this);  // the first component it owns
    scroller->SetParent(this);
    scroller->SetVisible(false);
  }
  TStrings* Tabs() const { return tabs_.get(); }
  int32_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(int32_t v) { tabIndex_ = v; Invalidate(); }
  int32_t FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int32_t v) { firstIndex_ = v; Invalidate(); }
  int32_t StartMargin() const { return startMargin_; }
  void SetStartMargin(int32_t v) { startMargin_ = v; }
  int32_t EndMargin() const { return endMargin_; }
  void SetEndMargin(int32_t v) { endMargin_ = v; }
  int32_t BackgroundColor() const { return background_; }
  void SetBackgroundColor(int32_t v) { background_ = v; }
  TTestScroller* scroller;
  static constexpr COLORREF kOwnColour = RGB(90, 90, 90);

  // Where the tab set itself puts tab i (its own rule, not the skin's).
  RECT TabRect(int i) {
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    int x = startMargin_;
    RECT r = {0, 0, 0, 0};
    for (int k = firstIndex_; k < tabs_->Count(); k++) {
      SIZE s;
      const std::wstring text = ToWide(tabs_->Strings(k));
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
      if (k == i) r = RECT{x, 0, x + s.cx + 9, Height()};
      x += s.cx + 9;
    }
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    return r;
  }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_LBUTTONDOWN) {
      POINT p = {static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      for (int i = firstIndex_; i < tabs_->Count(); i++) {
        RECT r = TabRect(i);
        if (PtInRect(&r, p)) SetTabIndex(i);
      }
    }
    TCustomControl::WndProc(m);
  }
  void Paint() override {
    RECT r = ClientRect();
    HBRUSH b = CreateSolidBrush(kOwnColour);
    FillRect(Canvas()->Handle(), &r, b);
    DeleteObject(b);
  }

 private:
  std::unique_ptr<TStringList> tabs_{new TStringList};
  int32_t tabIndex_ = -1, firstIndex_ = 0, startMargin_ = 5, endMargin_ = 5;
  int32_t background_ = static_cast<int32_t>(clBtnFace);
};

// The up-down kind of the tests: records the window it was given and the
// variants asked of it.
class TArrowsRecorder : public TRecordingSkinner {
 public:
  using TRecordingSkinner::TRecordingSkinner;
  void Configure(const std::string& key, const std::string& value) override {
    configured[key] = value;
    TRecordingSkinner::Configure(key, value);
  }
  std::map<std::string, std::string> configured;
};

// ---- the fixture ----

class TabSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControlSkinners();
    savedUpDown_ = FindSkinnerMaker("TSkinUpDown");
    RegisterSkinnerClass("TSkinUpDown", [](TComponent* owner) -> TSkinControl* {
      return new TArrowsRecorder(owner, "TSkinUpDown");
    });
    TRecordingSkinner::freedLog = &freed;
    skin = StartCodedSkin();
    ASSERT_NE(skin, nullptr);
  }
  void TearDown() override {
    if (form) form->Free();
    if (top) DestroyWindow(top);
    StopSkin(skin);
    TRecordingSkinner::freedLog = nullptr;
    if (savedUpDown_)
      RegisterSkinnerClass("TSkinUpDown", savedUpDown_);
    else
      UnregisterSkinnerClass("TSkinUpDown");
  }

  // A plain skinned window, and a system tab control in it skinned as
  // discovery skins plain child windows.
  HWND RawTab(DWORD style, int width, int count, bool ansi = false, int height = 200) {
    if (!top) {
      top = MakeTestWindow(&window, 500, 400);
      EXPECT_TRUE(WaitSkinned(top));
    }
    const wchar_t* captions[] = {L"First", L"Second", L"Third", L"Fourth", L"Fifth", L"Sixth"};
    HWND tab = ansi ? CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 10, 10,
                                      width, height, top, nullptr, nullptr, nullptr)
                    : CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 10, 10,
                                      width, height, top, nullptr, nullptr, nullptr);
    SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    if (ansi) MakeAnsiWindow(tab);
    for (int i = 0; i < count; i++) {
      if (ansi) {
        const std::string text = FromWide(std::wstring(captions[i % 6]));
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      } else {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i % 6]);
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      }
    }
    if (count > 1) SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    Form()->SkinChildWindows(tab);
    return tab;
  }
  TWinSkinForm* Form() const { return SkinManager()->FindSkinnedForm(top); }
  TSkinTab* SkinnerOf(HWND tab) const { return dynamic_cast<TSkinTab*>(Form()->FindSkinnerByHandle(tab)); }

  // A framework form with the controls the caller puts on it, shown and skinned.
  void ShowForm(const std::function<void(TForm*)>& fill) {
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 520, 360);
    fill(form);
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
  }
  TTestTabControl* PageControl(TForm* f, const char* kind, int width, int count) {
    auto* c = new TTestTabControl(f, Kind(kind, &TabFamily()));
    const wchar_t* captions[] = {L"One", L"Two", L"Three", L"Four", L"Five", L"Six"};
    for (int i = 0; i < count; i++) c->tabs.push_back(captions[i]);
    c->SetParent(f);
    c->SetBounds(10, 10, width, 200);
    return c;
  }

  COLORREF Tab(int frame) const { return ImageColour(skin->Tabs->Bitmap, false, skin->Tabs->Frame, frame); }
  COLORREF Pane() const { return ImageColour(skin->TabPane->Bitmap, false, 1, 1); }
  COLORREF Face() const { return static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::ButtonFace])); }
  static RECT Item(HWND tab, int i) {
    RECT r = {0, 0, 0, 0};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static RECT Display(HWND tab) {
    RECT r;
    GetClientRect(tab, &r);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // Pixels of a colour inside a rectangle (text is smoothed: within 90 on
  // every channel), and their bounding box.
  static bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 90 && std::abs(GetGValue(a) - GetGValue(b)) <= 90 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 90;
  }
  static int CountColour(const TCapture& c, const RECT& r, COLORREF colour, RECT* box = nullptr) {
    int n = 0;
    RECT b = {r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; y++)
      for (int x = r.left; x < r.right; x++)
        if (Near(c.At(x, y), colour)) {
          n++;
          b.left = std::min<LONG>(b.left, x);
          b.top = std::min<LONG>(b.top, y);
          b.right = std::max<LONG>(b.right, x + 1);
          b.bottom = std::max<LONG>(b.bottom, y + 1);
        }
    if (box) *box = b;
    return n;
  }
  void SetCaptionColours() {
    skin->Tabs->NormalColour2 = kNormalCaption;
    skin->Tabs->MouseOverColour2 = kSelectedCaption;
  }

  TSkinData* skin = nullptr;
  TTestWindow window;
  HWND top = nullptr;
  TForm* form = nullptr;
  std::vector<std::string> freed;

 private:
  TSkinnerMaker savedUpDown_;
};

// ---- geometry ----

TEST(TabGeometry, TheSideComesFromTheBottomAndVerticalStyles) {
  EXPECT_EQ(TabSideFromStyle(0), tsideTop);
  EXPECT_EQ(TabSideFromStyle(TCS_BOTTOM), tsideBottom);
  EXPECT_EQ(TabSideFromStyle(TCS_VERTICAL), tsideLeft);
  EXPECT_EQ(TabSideFromStyle(TCS_VERTICAL | TCS_RIGHT), tsideRight);
}

TEST(TabGeometry, TheStripAndThePaneMeetOnTheTabsSide) {
  const RECT window = {0, 0, 300, 200};
  const RECT display = {4, 22, 296, 196};
  const RECT pane = TabPaneRect(tsideTop, display);
  EXPECT_EQ(pane.left, 0);
  EXPECT_EQ(pane.top, 19);
  EXPECT_EQ(pane.right, 300);
  EXPECT_EQ(pane.bottom, 200);
  const RECT strip = TabStripRect(tsideTop, window, pane);
  EXPECT_EQ(strip.bottom, pane.top);
  EXPECT_EQ(strip.right, 300);
  const RECT side = TabStripRect(tsideLeft, window, TabPaneRect(tsideLeft, RECT{22, 4, 296, 196}));
  EXPECT_EQ(side.right, 19);
  const SIZE turned = TabStripBitmapSize(tsideLeft, side);
  EXPECT_EQ(turned.cx, 200) << "the row runs along the window's height";
  EXPECT_EQ(turned.cy, 19);
}

// A tab placed in the turned strip and the strip turned back cover exactly
// the tab's own rows and columns, one pixel toward the pane.
TEST(TabGeometry, TurnedStripsPutEachTabBackInPlace) {
  struct Case {
    TTabSide side;
    RECT display, item;
    int dx;
  } cases[] = {{tsideLeft, {22, 4, 296, 196}, {2, 56, 20, 110}, 1}, {tsideRight, {4, 4, 278, 196}, {280, 56, 298, 110}, -1}};
  const RECT window = {0, 0, 300, 200};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    const RECT pane = TabPaneRect(c.side, c.display);
    const RECT s = TabStripRect(c.side, window, pane);
    const SIZE size = TabStripBitmapSize(c.side, s);
    TPixelBuffer strip(size.cx, size.cy, 0);
    const RECT t = TabRectInStrip(c.side, c.item, window, pane, size);
    strip.FillRect(t.left, t.top, t.right, t.bottom, kMagenta);
    TPixelBuffer upright(size.cy, size.cx, 0);
    ASSERT_TRUE(c.side == tsideLeft ? RotateLeftInto(upright, strip) : RotateRightInto(upright, strip));
    for (int y = 0; y < upright.Height(); y++)
      for (int x = 0; x < upright.Width(); x++) {
        const int wx = x + s.left;
        const bool inside = wx >= c.item.left + c.dx && wx < c.item.right + c.dx && y >= c.item.top && y < c.item.bottom;
        ASSERT_EQ(upright.Pixel(x, y) == kMagenta, inside) << wx << "," << y;
      }
  }
}

TEST(TabGeometry, TurnedMarginsFollowTheImage) {
  const TSkinRect m = SkinRect(1, 2, 3, 4);
  EXPECT_EQ(TurnTabMargins(tsideTop, m), m);
  EXPECT_EQ(TurnTabMargins(tsideBottom, m), SkinRect(1, 4, 3, 2));
  EXPECT_EQ(TurnTabMargins(tsideLeft, m), SkinRect(2, 3, 4, 1));
  EXPECT_EQ(TurnTabMargins(tsideRight, m), SkinRect(4, 1, 2, 3));
}

TEST(TabGeometry, ATabSetSkipsOnlyTheTabsThatDoNotFit) {
  // 5 + (10 + 9) = 24; the second needs 50 + 9 > 100 - 5 - 24; the third fits.
  const std::vector<TTabSetTab> tabs = LayoutTabSet({10, 80, 20, 30}, 0, 5, 5, 100, 20, false);
  ASSERT_EQ(tabs.size(), 3u);
  EXPECT_EQ(tabs[0].Index, 0);
  EXPECT_EQ(tabs[0].Rect.left, 5);
  EXPECT_EQ(tabs[0].Rect.right, 24);
  EXPECT_EQ(tabs[1].Index, 2);
  EXPECT_EQ(tabs[1].Rect.left, 24);
  EXPECT_EQ(tabs[2].Index, 3);
  EXPECT_EQ(tabs[2].Rect.right, 24 + 29 + 39);
  // With the scroller showing each tab needs 12 more room; a first index
  // past the end or below 0 draws from where it can.
  EXPECT_EQ(LayoutTabSet({10, 20, 30}, 0, 0, 0, 60, 20, true).size(), 2u);
  EXPECT_TRUE(LayoutTabSet({10, 20}, 5, 0, 0, 100, 20, false).empty());
  EXPECT_EQ(LayoutTabSet({10, 20}, -3, 0, 0, 100, 20, false).size(), 2u);
}

// ---- the system tab control ----

TEST_F(TabSkin, TabsAtTheTopAreDrawnFromTheStripWithTheSelectedOneInItsFrame) {
  HWND tab = RawTab(0, 300, 3);
  TSkinTab* s = SkinnerOf(tab);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->TabSide, tsideTop);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(i);
    const RECT r = Item(tab, i);
    const int y = (r.top + r.bottom) / 2;
    EXPECT_EQ(c.At(r.left + 2, y), Tab(i == 1 ? 2 : 1));
    // The strip's cut corners on the outer side show the strip's ground.
    EXPECT_EQ(c.At(r.left, r.top + 1), Face());
    EXPECT_EQ(c.At(r.left + 2, r.top + 1), Tab(i == 1 ? 2 : 1));
  }
  EXPECT_EQ(c.At(280, 8), Face()) << "the strip beside the tabs";
  const RECT d = Display(tab);
  EXPECT_EQ(c.At((d.left + d.right) / 2, (d.top + d.bottom) / 2), Pane());
  EXPECT_EQ(c.At(0, d.bottom), Pane()) << "the pane reaches the window's edges";
}

TEST_F(TabSkin, CaptionsTakeTheSkinsTabColours) {
  SetCaptionColours();
  HWND tab = RawTab(0, 300, 3);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  const RECT normal = Item(tab, 0), selected = Item(tab, 1);
  EXPECT_GT(CountColour(c, normal, kNormalCaption), 5);
  EXPECT_EQ(CountColour(c, normal, kSelectedCaption), 0);
  EXPECT_GT(CountColour(c, selected, kSelectedCaption), 5);
  EXPECT_EQ(CountColour(c, selected, kNormalCaption), 0);
}

TEST_F(TabSkin, AnAnsiWindowsCaptionsAreReadAndLongOnesStopAtEightyCharacters) {
  SetCaptionColours();
  HWND tab = RawTab(0, 470, 2, true);
  TSkinTab* s = SkinnerOf(tab);
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->TabUnicode);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  EXPECT_GT(CountColour(c, Item(tab, 0), kNormalCaption), 5);
  EXPECT_GT(CountColour(c, Item(tab, 1), kSelectedCaption), 5);
  // A caption of 100 characters on the selected tab: read as 80 of them,
  // drawn centred in the tab.
  const std::string longText(100, 'i');
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(longText.c_str());
  SendMessageA(tab, TCM_SETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  auto extent = [&](int n) {
    HDC dc = GetDC(tab);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size;
    GetTextExtentPoint32A(dc, longText.c_str(), n, &size);
    SelectObject(dc, old);
    ReleaseDC(tab, dc);
    return static_cast<int>(size.cx);
  };
  c = PaintInto(tab, WM_PAINT, 0);
  const RECT r = Item(tab, 1);
  ASSERT_GT(r.right - r.left, extent(100));
  EXPECT_EQ(c.At(r.left + 2, (r.top + r.bottom) / 2), Tab(2));
  RECT box;
  ASSERT_GT(CountColour(c, r, kSelectedCaption, &box), 5);
  EXPECT_NEAR(box.right - box.left, extent(80), 3);
  EXPECT_NEAR((box.left + box.right) / 2, (r.left + r.right) / 2, 3);
}

TEST_F(TabSkin, AControlWithoutTabsShowsItsPane) {
  HWND tab = RawTab(0, 300, 0);
  ASSERT_NE(SkinnerOf(tab), nullptr);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  EXPECT_EQ(c.At(150, 100), Pane());
}

TEST_F(TabSkin, TabsAtTheBottomHangUpsideDownUnderThePane) {
  HWND tab = RawTab(TCS_BOTTOM, 300, 3);
  EXPECT_EQ(SkinnerOf(tab)->TabSide, tsideBottom);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(i);
    const RECT r = Item(tab, i);
    EXPECT_EQ(c.At(r.left + 2, (r.top + r.bottom) / 2), Tab(i == 1 ? 2 : 1));
    EXPECT_EQ(c.At(r.left, r.bottom - 2), Face()) << "the cut corner is on the outer side, below";
    EXPECT_EQ(c.At(r.left + 2, r.bottom - 2), Tab(i == 1 ? 2 : 1));
  }
  EXPECT_EQ(c.At(150, 40), Pane());
}

TEST_F(TabSkin, TabsOnTheLeftAndRightAreTurnedToFaceThePaneWithCaptionsAlongTheRow) {
  SetCaptionColours();
  for (TTabSide side : {tsideLeft, tsideRight}) {
    SCOPED_TRACE(side);
    HWND tab = RawTab(TCS_VERTICAL | TCS_MULTILINE | (side == tsideRight ? TCS_RIGHT : 0), 300, 3);
    EXPECT_EQ(SkinnerOf(tab)->TabSide, side);
    TCapture c = PaintInto(tab, WM_PAINT, 0);
    for (int i = 0; i < 3; i++) {
      SCOPED_TRACE(i);
      const RECT r = Item(tab, i);
      const COLORREF colour = Tab(i == 1 ? 2 : 1);
      // The outer column: the cut corners at both ends of the tab.
      const int outer = side == tsideLeft ? r.left + 1 : r.right - 2;
      EXPECT_EQ(c.At(outer, r.top), Face());
      EXPECT_EQ(c.At(outer, r.bottom - 1), Face());
      EXPECT_EQ(c.At(outer, r.top + 2), colour);
      EXPECT_EQ(c.At(outer, r.bottom - 3), colour);
      EXPECT_EQ(c.At((r.left + r.right) / 2, r.top + 2), colour);
      // The caption reads along the row: taller than wide.
      RECT box;
      ASSERT_GT(CountColour(c, r, i == 1 ? kSelectedCaption : kNormalCaption, &box), 5);
      EXPECT_GT(box.bottom - box.top, box.right - box.left);
    }
    const RECT d = Display(tab);
    EXPECT_EQ(c.At((d.left + d.right) / 2, (d.top + d.bottom) / 2), Pane());
    DestroyWindow(tab);
  }
}

TEST_F(TabSkin, SelectionByMouseAndKeyboardIsTheControlsOwnAndAHotTabStaysPlain) {
  HWND tab = RawTab(TCS_HOTTRACK, 300, 3);
  std::vector<UINT> codes;
  TWindowSubclass parent;
  parent.Install(top, [&](TMessage& m) {
    if (m.Msg == WM_NOTIFY && m.LParam && m.LParam != kSkinMarker) {
      const UINT code = reinterpret_cast<NMHDR*>(m.LParam)->code;
      if (code == TCN_SELCHANGE || code == TCN_SELCHANGING) codes.push_back(code);
    }
    parent.CallPrevious(m);
  });
  const RECT r0 = Item(tab, 0), r2 = Item(tab, 2);
  auto screen = [&](const RECT& r) {
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tab, &p);
    return p;
  };
  // The pointer over a tab that is not selected: drawn as the others.
  MouseAt(screen(r0));
  TCapture hot = Screenshot(tab);
  EXPECT_EQ(hot.At(r0.left + 2, (r0.top + r0.bottom) / 2), Tab(1));
  // A real click selects the tab, telling the parent once.
  ClickAt(screen(r2));
  EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(TCN_SELCHANGE)), 1);
  TCapture c = Screenshot(tab);
  EXPECT_EQ(c.At(r2.left + 2, (r2.top + r2.bottom) / 2), Tab(2));
  EXPECT_EQ(c.At(Item(tab, 1).left + 2, (r2.top + r2.bottom) / 2), Tab(1));
  // The keyboard moves it back.
  codes.clear();
  SetFocus(tab);
  Pump(30);
  PressKey(VK_LEFT);
  EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(TCN_SELCHANGE)), 1);
  c = Screenshot(tab);
  EXPECT_EQ(c.At(Item(tab, 1).left + 2, (r2.top + r2.bottom) / 2), Tab(2));
  parent.Remove();
}

TEST_F(TabSkin, OverflowingTabsScrollWithArrowsThatHaveTheirOwnSkinnerAndStayUnpainted) {
  HWND tab = RawTab(0, 160, 6);
  HWND arrows = FindWindowExW(tab, nullptr, L"msctls_updown32", nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_TRUE(IsWindowVisible(arrows));
  TSkinTab* s = SkinnerOf(tab);
  auto* recorder = dynamic_cast<TArrowsRecorder*>(s->UpDownSkinner);
  ASSERT_NE(recorder, nullptr) << "the registry's up-down kind was asked for the arrows";
  EXPECT_EQ(recorder->Handle, arrows);
  EXPECT_EQ(Form()->FindSkinnerByHandle(arrows), recorder);
  EXPECT_TRUE(recorder->configured.empty()) << "a tab control's arrows take their own direction";
  RECT a, t;
  GetWindowRect(arrows, &a);
  GetWindowRect(tab, &t);
  OffsetRect(&a, -t.left, -t.top);
  TCapture c = PaintInto(tab, WM_PAINT, 0);
  EXPECT_EQ(c.At((a.left + a.right) / 2, (a.top + a.bottom) / 2), kUntouched) << "the copy leaves the arrows out";
  EXPECT_EQ(c.At(Item(tab, 0).left + 2, 10), Tab(1));
  TCapture screen = Screenshot(tab);
  EXPECT_EQ(screen.At((a.left + a.right) / 2, (a.top + a.bottom) / 2), TRecordingSkinner::kPaint)
      << "the arrows show their own skinner's painting";
  // The right arrow scrolls the row: the second tab comes to the left end,
  // drawn from the strip.
  POINT right = {a.right - 4, (a.top + a.bottom) / 2};
  right.x += t.left;
  right.y += t.top;
  ClickAt(right);
  const RECT second = Item(tab, 1);
  ASSERT_LT(second.left, 10) << "scrolled";
  c = PaintInto(tab, WM_PAINT, 0);
  EXPECT_EQ(c.At(second.left + 2, (second.top + second.bottom) / 2), Tab(2));
  // Without an up-down kind the arrows are still left out of the copy.
  UnregisterSkinnerClass("TSkinUpDown");
  HWND plain = RawTab(0, 160, 6);
  HWND plainArrows = FindWindowExW(plain, nullptr, L"msctls_updown32", nullptr);
  ASSERT_NE(plainArrows, nullptr);
  EXPECT_EQ(SkinnerOf(plain)->UpDownSkinner, nullptr);
  c = PaintInto(plain, WM_PAINT, 0);
  GetWindowRect(plainArrows, &a);
  GetWindowRect(plain, &t);
  EXPECT_EQ(c.At((a.left + a.right) / 2 - t.left, (a.top + a.bottom) / 2 - t.top), kUntouched);
}

TEST_F(TabSkin, ARawTabControlsSkinnersGoWhenItIsDestroyedAndWhenSkinningStops) {
  HWND tab = RawTab(0, 160, 6);
  TSkinTab* s = SkinnerOf(tab);
  ASSERT_NE(s->UpDownSkinner, nullptr);
  DestroyWindow(tab);
  EXPECT_EQ(s->State, 6);
  Form()->PurgeDeadSkinners();
  Form()->PurgeDeadSkinners();
  EXPECT_EQ(Form()->FindSkinnerByHandle(tab), nullptr);
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 1);
  for (TSkinControl* k : Form()->FSkinners) EXPECT_NE(k->State, 6);

  HWND second = RawTab(0, 160, 6);
  HWND arrows = FindWindowExW(second, nullptr, L"msctls_updown32", nullptr);
  ASSERT_EQ(SendMessageW(arrows, SKM_ISSKINNED, 0, 0), 1);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(top) == nullptr; }));
  EXPECT_EQ(SendMessageW(second, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(arrows, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 2);
  TCapture c = PaintInto(second, WM_PAINT, 0);
  const RECT r = Item(second, 0);
  EXPECT_NE(c.At(r.left + 2, (r.top + r.bottom) / 2), Tab(1)) << "the control draws itself again";
}

TEST_F(TabSkin, ANewSkinShowsAtOnce) {
  HWND tab = RawTab(0, 300, 3);
  const RECT d = Display(tab);
  const POINT edge = {TabPaneRect(tsideTop, d).left, (d.top + d.bottom) / 2};
  ASSERT_EQ(Screenshot(tab).At(edge.x, edge.y), Pane());
  // The pane from the strip's second image now (its edge column): the
  // repaint that comes with the change already shows it.
  skin->Tabs->Style = 0;
  SkinnerOf(tab)->ApplySkinChange();
  const COLORREF border = static_cast<COLORREF>(PixelsOf(skin->Tabs->Bitmap2).Pixel(0, 10));
  ASSERT_NE(border, Pane());
  EXPECT_EQ(Screenshot(tab).At(edge.x, edge.y), border);
}

// ---- framework tab and page controls ----

TEST_F(TabSkin, APageControlIsSkinnedWithItsWindowlessControlsOverThePane) {
  TTestTabControl* page = nullptr;
  TTestTabControl* plain = nullptr;
  TSwatch* swatch = nullptr;
  ShowForm([&](TForm* f) {
    page = PageControl(f, "TPageControl", 240, 3);
    swatch = new TSwatch(f);
    swatch->SetParent(page);
    swatch->SetBounds(40, 60, 30, 30);
    plain = PageControl(f, "TTabControl", 240, 3);
    plain->SetLeft(260);
  });
  auto* s = skintest::SkinnerOf<TSkinTab>(page);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Mode, 2);
  ASSERT_NE(skintest::SkinnerOf<TSkinTab>(plain), nullptr);
  EXPECT_EQ(skintest::SkinnerOf<TSkinTab>(plain)->Mode, 0);
  EXPECT_TRUE(s->TabUnicode);
  TCapture c = PaintInto(page->Handle(), WM_PAINT, 0);
  const RECT r = Item(page->Handle(), 1);
  EXPECT_EQ(c.At(r.left + 2, (r.top + r.bottom) / 2), Tab(1));
  EXPECT_EQ(c.At(Item(page->Handle(), 0).left + 2, (r.top + r.bottom) / 2), Tab(2)) << "the first page is selected";
  EXPECT_EQ(c.At(55, 75), TSwatch::kColour);
  EXPECT_EQ(c.At(150, 150), Pane());
  // The strip's ground is the parent's colour.
  EXPECT_EQ(c.At(230, 8), static_cast<COLORREF>(ColorToRGB(form->Color())));
}

TEST_F(TabSkin, ARecreatedControlKeepsItsSkinOnItsNewSideAndItsNewArrowsGetANewSkinner) {
  TTestTabControl* page = nullptr;
  ShowForm([&](TForm* f) { page = PageControl(f, "TPageControl", 150, 6); });
  auto* s = skintest::SkinnerOf<TSkinTab>(page);
  ASSERT_NE(s, nullptr);
  TSkinControl* oldArrows = s->UpDownSkinner;
  ASSERT_NE(oldArrows, nullptr);
  page->style = TCS_BOTTOM;
  page->RecreateWnd();
  Pump(50);
  TCapture c = PaintInto(page->Handle(), WM_PAINT, 0);
  EXPECT_EQ(skintest::SkinnerOf<TSkinTab>(page), s) << "the same skinner on the new window";
  EXPECT_EQ(s->Handle, page->Handle());
  EXPECT_EQ(s->TabSide, tsideBottom);
  const RECT r = Item(page->Handle(), 0);
  EXPECT_EQ(c.At(r.left + 2, (r.top + r.bottom) / 2), Tab(2));
  EXPECT_EQ(c.At(r.left, r.bottom - 2), static_cast<COLORREF>(ColorToRGB(form->Color())));
  HWND arrows = FindWindowExW(page->Handle(), nullptr, L"msctls_updown32", nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_NE(s->UpDownSkinner, nullptr);
  EXPECT_EQ(s->UpDownSkinner->Handle, arrows);
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 1) << "the old arrows' skinner went";
}

TEST_F(TabSkin, AFrameworkControlsSkinnersGoWithItAndWhenSkinningStops) {
  TTestTabControl* page = nullptr;
  TTestTabControl* other = nullptr;
  ShowForm([&](TForm* f) {
    page = PageControl(f, "TPageControl", 150, 6);
    other = PageControl(f, "TPageControl", 150, 6);
    other->SetLeft(200);
  });
  ASSERT_NE(skintest::SkinnerOf<TSkinTab>(page)->UpDownSkinner, nullptr);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t before = f->FSkinners.size();
  page->Free();
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 1);
  EXPECT_EQ(f->FSkinners.size(), before - 2);
  HWND arrows = FindWindowExW(other->Handle(), nullptr, L"msctls_updown32", nullptr);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(skintest::SkinnerOf<TSkinTab>(other), nullptr);
  EXPECT_EQ(SendMessageW(other->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(arrows, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 2);
}

// ---- the tab set ----

class TabSetSkin : public TabSkin {
 protected:
  void ShowTabSet(std::initializer_list<const char*> captions, int width = 300) {
    ShowForm([&](TForm* f) {
      set = new TTestTabSet(f);
      for (const char* c : captions) set->Tabs()->Add(c);
      set->SetTabIndex(1);
      set->SetParent(f);
      set->SetBounds(10, 10, width, 22);
    });
  }
  TSkinTab31* Skinner() const { return skintest::SkinnerOf<TSkinTab31>(set); }
  TTestTabSet* set = nullptr;
};

TEST_F(TabSetSkin, TabsHangFromTheTopInTheStripWithTheSelectedOneInItsFrame) {
  ShowTabSet({"Alpha", "Beta", "Gamma"});
  TSkinTab31* s = Skinner();
  ASSERT_NE(s, nullptr) << "discovery made the tab set skinner";
  EXPECT_EQ(s->Handle, set->Handle());
  EXPECT_EQ(SendMessageW(set->Handle(), SKM_ISSKINNED, 0, 0), 1);
  TCapture c = PaintInto(set->Handle(), WM_PAINT, 0);
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(i);
    const RECT r = set->TabRect(i);
    const COLORREF colour = Tab(i == 1 ? 2 : 1);
    EXPECT_EQ(c.At(r.left + 2, 8), colour);
    // Upside down: the cut corners are at the bottom.
    EXPECT_EQ(c.At(r.left, r.bottom - 1), Face());
    EXPECT_EQ(c.At(r.left, 0), colour);
  }
  EXPECT_EQ(c.At(290, 10), Face()) << "after the last tab";
}

TEST_F(TabSetSkin, AClickSelectsATabAsTheTabSetItselfDoes) {
  ShowTabSet({"Alpha", "Beta", "Gamma"});
  const RECT r = set->TabRect(2);
  ClickAt(set->ClientToScreen(POINT{(r.left + r.right) / 2, 10}));
  EXPECT_EQ(set->TabIndex(), 2);
  TCapture c = Screenshot(set->Handle());
  EXPECT_EQ(c.At(r.left + 2, 8), Tab(2));
  EXPECT_EQ(c.At(set->TabRect(1).left + 2, 8), Tab(1));
}

TEST_F(TabSetSkin, ATabThatDoesNotFitIsSkippedAndALaterNarrowerOneIsDrawn) {
  ShowTabSet({"A", "A very long caption that does not fit", "C"}, 90);
  SetCaptionColours();
  TCapture c = PaintInto(set->Handle(), WM_PAINT, 0);
  const RECT first = set->TabRect(0);
  EXPECT_EQ(c.At(first.left + 2, 8), Tab(1));
  // The third tab follows right after the first.
  EXPECT_EQ(c.At(first.right + 2, 8), Tab(1));
  EXPECT_GT(CountColour(c, RECT{first.right, 0, 90, 22}, kNormalCaption), 3);
  EXPECT_EQ(CountColour(c, RECT{0, 0, 90, 22}, kSelectedCaption), 0) << "the selected, long tab is not drawn";
}

TEST_F(TabSetSkin, ItsScrollerGetsAHorizontalUpDownSkinner) {
  ShowTabSet({"Alpha", "Beta", "Gamma"});
  TSkinTab31* s = Skinner();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Scroller, set->scroller);
  auto* arrows = dynamic_cast<TArrowsRecorder*>(s->UpDownSkinner);
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(arrows->Handle, set->scroller->Handle());
  EXPECT_EQ(arrows->configured["Horizontal"], "1");
  EXPECT_EQ(arrows->Owner(), form) << "owned by the tab set's owner";
}

TEST_F(TabSetSkin, ARecreatedTabSetWindowGetsANewSkinner) {
  ShowTabSet({"Alpha", "Beta", "Gamma"});
  TSkinTab31* old = Skinner();
  ASSERT_NE(old, nullptr);
  HWND oldWindow = set->Handle();
  set->RecreateWnd();
  Pump(50);
  ASSERT_NE(set->Handle(), oldWindow);
  TSkinTab31* fresh = Skinner();
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  EXPECT_EQ(fresh->Handle, set->Handle());
  int count = 0;
  for (TComponent* c : set->Components()) count += dynamic_cast<TSkinTab31*>(c) != nullptr;
  EXPECT_EQ(count, 1) << "the old skinner went";
  EXPECT_EQ(SendMessageW(set->Handle(), SKM_ISSKINNED, 0, 0), 1);
  TCapture c = PaintInto(set->Handle(), WM_PAINT, 0);
  EXPECT_EQ(c.At(set->TabRect(1).left + 2, 8), Tab(2));
  ASSERT_NE(fresh->UpDownSkinner, nullptr);
  EXPECT_EQ(fresh->UpDownSkinner->Handle, set->scroller->Handle());
}

TEST_F(TabSetSkin, ItsSkinnersGoWithItAndWhenSkinningStops) {
  ShowTabSet({"Alpha", "Beta", "Gamma"});
  set->Free();
  set = nullptr;
  EXPECT_EQ(std::count(freed.begin(), freed.end(), "TSkinUpDown"), 1);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  for (TSkinControl* s : f->FSkinners) EXPECT_EQ(dynamic_cast<TSkinTab31*>(s), nullptr);

  set = new TTestTabSet(form);
  set->Tabs()->Add("One");
  set->SetParent(form);
  set->SetBounds(10, 10, 200, 22);
  f->SkinFormControls(form);
  ASSERT_NE(Skinner(), nullptr);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(Skinner(), nullptr);
  EXPECT_EQ(SendMessageW(set->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(PaintInto(set->Handle(), WM_PAINT, 0).At(10, 10), TTestTabSet::kOwnColour);
}

}  // namespace
