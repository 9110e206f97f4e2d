// The header and list view skinners: a report list view found by
// discovery with its header skinned and its bars covered, the header's
// columns, remainder, hot column, text colour and icons from the skin, a
// skin without the header's image, the list view's selection and column
// click through real mouse input as without the skin, the engine's
// notification that is no notification header, a list view made anew in
// another view, and everything released when skinning is switched off.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "Application.h"
#include "ControlSkinners.h"
#include "Form.h"
#include "HeaderSkinners.h"
#include "ListView.h"
#include "ScrollListTestSupport.h"
#include "SkinnedFormFixture.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;
using namespace scrolltest;

namespace {

const TClassInfo& HeaderKind() {
  static const TClassInfo base("TCustomHeaderControl", &TWinControl::StaticClass());
  static const TClassInfo info("THeaderControl", &base);
  return info;
}

constexpr COLORREF kIconColour = RGB(0, 200, 0);

RECT ColumnRect(HWND header, int i) {
  RECT r = {};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

int CountColour(const TCapture& c, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = r.top; y < r.bottom; y++)
    for (int x = r.left; x < r.right; x++) n += c.At(x, y) == colour;
  return n;
}

class ListViews : public SkinnedFormTest {
 protected:
  void AfterFormFreed() override { ParkMouse(); }
  TListView* AddView(int left) {
    auto* v = new TListView(form);
    v->SetParent(form);
    v->SetBounds(left, 20, 230, 180);
    for (const char* caption : {"Name", "Key A", "Key B"}) {
      TListColumn* c = v->Columns()->Add();
      c->Caption = caption;
      c->Width = 60;
    }
    for (int i = 0; i < 40; i++) v->Items()->Add()->SetCaption("row " + std::to_string(i));
    v->ColumnsChanged();
    v->ItemsChanged();
    return v;
  }
  void ShowForm() {
    form = new TForm(nullptr);
    form->SetBounds(80, 80, 540, 300);
    view = AddView(20);
    plain = AddView(280);
    plain->SetTag(99);
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    skinner = SkinnerOf<TSkinListView>(view);
    ASSERT_NE(skinner, nullptr);
    header = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
    Pump(50);
  }
  COLORREF Bar(int n) { return ImageColour(skin->HeaderBar->Bitmap, false, skin->HeaderBar->Frame, n); }
  TListView* view = nullptr;
  TListView* plain = nullptr;
  TSkinListView* skinner = nullptr;
  HWND header = nullptr;
};

TEST_F(ListViews, AReportListViewGetsItsHeaderSkinnedAndItsBarsCovered) {
  ShowForm();
  ASSERT_NE(header, nullptr);
  ASSERT_NE(skinner->Header, nullptr);
  EXPECT_EQ(skinner->Header->Handle, header);
  EXPECT_EQ(skinner->Header->Owner(), view) << "the header's skinner belongs to the list view";
  EXPECT_EQ(SendMessageW(header, SKM_ISSKINNED, 0, 0), 1);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  EXPECT_EQ(f->FindSkinnerByHandle(header), skinner->Header);
  // The vertical bar is covered exactly.
  ASSERT_NE(skinner->VertBar, nullptr);
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  GetScrollBarInfo(view->Handle(), OBJID_VSCROLL, &info);
  const RECT o = WindowRectOf(skinner->VertBar->Handle());
  EXPECT_TRUE(EqualRect(&o, &info.rcScrollBar));
  // The unskinned one has neither.
  EXPECT_EQ(SkinnerOf<TSkinListView>(plain), nullptr);
  HWND plainHeader = reinterpret_cast<HWND>(SendMessageW(plain->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(plainHeader, SKM_ISSKINNED, 0, 0), 0);
}

TEST_F(ListViews, TheHeaderIsPaintedFromTheSkin) {
  ShowForm();
  TCapture c = PaintInto(header, SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT c0 = ColumnRect(header, 0), c2 = ColumnRect(header, 2);
  EXPECT_EQ(c.At(c0.left + 4, 2), Bar(1));
  EXPECT_EQ(c.At(c2.left + 4, 2), Bar(1));
  // The rest of the bar after the last column: the first image too.
  ASSERT_LT(c2.right + 10, c.width);
  EXPECT_EQ(c.At(c2.right + 10, 2), Bar(1));
  EXPECT_EQ(c.At(c.width - 2, c.height / 2), Bar(1));
  // The text in the skin's WindowText colour.
  const COLORREF text = static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::WindowText]));
  EXPECT_GT(CountColour(c, c0, text), 5);
  // On the screen as well (the header's own paint).
  InvalidateRect(header, nullptr, TRUE);
  UpdateWindow(header);
  TCapture s = Screenshot(header);
  EXPECT_EQ(s.At(c0.left + 4, 2), Bar(1));
  EXPECT_EQ(s.At(c2.right + 10, 2), Bar(1));
  // A header narrower than its columns has no rest: the last column (here
  // the hot one) reaches the right edge.
  ListView_SetColumnWidth(view->Handle(), 2, 400);
  skinner->Header->HotIndex = 2;
  c = PaintInto(header, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(c.width - 2, 2), Bar(2));
}

TEST_F(ListViews, TheColumnUnderTheMouseIsHot) {
  ShowForm();
  const RECT c1 = ColumnRect(header, 1);
  RECT screen = WindowRectOf(header);
  MouseMoveTo(POINT{screen.left + (c1.left + c1.right) / 2, screen.top + 5});
  ASSERT_TRUE(PumpUntil([&] { return skinner->Header->HotIndex == 1; }));
  TCapture c = PaintInto(header, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(c1.left + 4, 2), Bar(2));
  EXPECT_EQ(c.At(ColumnRect(header, 0).left + 4, 2), Bar(1));
  // The hot area leaves the dividers out.
  ASSERT_EQ(skinner->Header->ItemRects.size(), 3u);
  EXPECT_EQ(skinner->Header->ItemRects[1].left, c1.left + 3);
  EXPECT_EQ(skinner->Header->ItemRects[1].right, c1.right - 3);
  // Leaving the header clears it.
  ParkMouse();
  ASSERT_TRUE(PumpUntil([&] { return skinner->Header->HotIndex == -1; }));
  c = PaintInto(header, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(c1.left + 4, 2), Bar(1));
}

TEST_F(ListViews, AHeaderControlOfItsOwnShowsIconsOnlyWhereItsFormatAsks) {
  TControl* own = nullptr;
  HIMAGELIST images = ImageList_Create(12, 12, ILC_COLOR32, 1, 1);
  {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, 12, 12);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH green = CreateSolidBrush(kIconColour);
    RECT all = {0, 0, 12, 12};
    FillRect(dc, &all, green);
    SelectObject(dc, old);
    ImageList_Add(images, b, nullptr);
    DeleteObject(green);
    DeleteDC(dc);
    DeleteObject(b);
    ReleaseDC(nullptr, screen);
  }
  form = new TForm(nullptr);
  form->SetBounds(80, 80, 540, 300);
  auto* h = new TStandIn(form, HeaderKind(), WC_HEADERW, HDS_BUTTONS | HDS_HORZ);
  h->SetParent(form);
  h->SetBounds(10, 10, 400, 24);
  own = h;
  ASSERT_NE(h->Handle(), nullptr);
  SendMessageW(h->Handle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  struct Column {
    const wchar_t* text;
    int fmt;
  } columns[] = {{L"With icon", HDF_STRING | HDF_IMAGE | HDF_LEFT},
                 {L"No icon", HDF_STRING | HDF_LEFT},
                 {L"Right", HDF_STRING | HDF_IMAGE | HDF_RIGHT}};
  for (int i = 0; i < 3; i++) {
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH | HDI_IMAGE;
    item.cxy = 120;
    item.pszText = const_cast<wchar_t*>(columns[i].text);
    item.fmt = columns[i].fmt;
    item.iImage = 0;
    SendMessageW(h->Handle(), HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  {
    // The system adds the image format to an item given an image; the
    // second column's format is set again without it (its image index stays).
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    item.fmt = columns[1].fmt;
    SendMessageW(h->Handle(), HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageW(h->Handle(), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    ASSERT_EQ(item.fmt & HDF_IMAGE, 0);
    ASSERT_EQ(item.iImage, 0);
  }
  form->Show();
  ASSERT_TRUE(Activate(form->Handle()));
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  auto* s = SkinnerOf<TSkinHeader>(own);
  ASSERT_NE(s, nullptr) << "discovery gives the header-control kind its skinner";
  EXPECT_EQ(s->HotIndex, -1);
  TCapture c = PaintInto(h->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT r0 = ColumnRect(h->Handle(), 0), r1 = ColumnRect(h->Handle(), 1), r2 = ColumnRect(h->Handle(), 2);
  // The left icon starts 3 pixels in; the column without the image format
  // shows none though its item has an image index.
  EXPECT_EQ(c.At(r0.left + 3 + 6, 12), kIconColour);
  EXPECT_EQ(c.At(r0.left + 2, 12), Bar(1));
  EXPECT_EQ(CountColour(c, r1, kIconColour), 0);
  // Right alignment puts icon and text at the column's right.
  EXPECT_GT(CountColour(c, RECT{r2.right - 70, 0, r2.right, r2.bottom}, kIconColour), 50);
  EXPECT_EQ(CountColour(c, RECT{r2.left, 0, r2.left + 40, r2.bottom}, kIconColour), 0);
  form->Free();
  form = nullptr;
  ImageList_Destroy(images);
}

TEST_F(ListViews, WithoutTheHeaderImageTheHeaderPaintsItself) {
  ShowForm();
  const RECT c0 = ColumnRect(header, 0);
  skin->HeaderBar.reset();
  TCapture c = PaintInto(header, SKM_PAINTCLIENTTO, kSkinMarker);
  HWND plainHeader = reinterpret_cast<HWND>(SendMessageW(plain->Handle(), LVM_GETHEADER, 0, 0));
  TCapture n = PaintInto(plainHeader, WM_PAINT, 0);
  EXPECT_EQ(c.At(c0.left + 4, 2), n.At(c0.left + 4, 2));
  EXPECT_NE(c.At(c0.left + 4, 2), 0x563412u) << "painted by the header itself";
  // Its background is erased natively as well: the same answer and pixels
  // as the unskinned header's.
  TCapture e = PaintInto(header, WM_ERASEBKGND, 0);
  TCapture ne = PaintInto(plainHeader, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(c0.left + 4, 2), ne.At(c0.left + 4, 2));
  HDC dc = GetDC(header);
  EXPECT_EQ(SendMessageW(header, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0),
            SendMessageW(plainHeader, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
  ReleaseDC(header, dc);
}

TEST_F(ListViews, SelectionAndColumnClicksWorkAsWithoutTheSkin) {
  ShowForm();
  std::vector<int> clicked[2];
  TWindowProcHook hooks[2];
  TListView* views[2] = {plain, view};
  for (int k = 0; k < 2; k++) {
    hooks[k].Install(views[k], [&, k](TMessage& m) {
      if (m.Msg == CN_NOTIFY && IsNotifyHeader(m.LParam)) {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (nm->hdr.code == LVN_COLUMNCLICK) clicked[k].push_back(nm->iSubItem);
      }
      hooks[k].CallPrevious(m);
    });
  }
  for (int k = 0; k < 2; k++) {
    TListView* v = views[k];
    RECT item = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(v->Handle(), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    POINT p = {item.left + 20, (item.top + item.bottom) / 2};
    ClientToScreen(v->Handle(), &p);
    MouseClick(p);
    Pump(120);
    HWND h = reinterpret_cast<HWND>(SendMessageW(v->Handle(), LVM_GETHEADER, 0, 0));
    const RECT c2 = ColumnRect(h, 2);
    POINT q = {(c2.left + c2.right) / 2, (c2.top + c2.bottom) / 2};
    ClientToScreen(h, &q);
    MouseClick(q);
    Pump(150);
  }
  EXPECT_EQ(plain->ItemIndex(), 3);
  EXPECT_EQ(view->ItemIndex(), 3);
  ASSERT_EQ(clicked[0].size(), 1u);
  EXPECT_EQ(clicked[0][0], 2);
  EXPECT_EQ(clicked[1], clicked[0]) << "one column click, on the same column";
  // The keyboard moves the selection too.
  view->SetFocus();
  KeyPress(VK_DOWN);
  Pump(80);
  EXPECT_EQ(view->ItemIndex(), 4);
}

TEST_F(ListViews, TheEnginesSkinnedNoticeIsNoNotificationHeader) {
  ShowForm();
  // The number is the framework's reflected notification, the lParam the
  // engine's marker: nothing may read it as a header.
  EXPECT_NO_FATAL_FAILURE(SendMessageW(view->Handle(), SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker));
  SendMessageW(header, SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
  SendMessageW(form->Handle(), SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
  Pump(30);
  EXPECT_EQ(SendMessageW(view->Handle(), SKM_ISSKINNED, 0, 0), 1);
}

TEST_F(ListViews, AListViewMadeAnewInAnotherViewGetsItsHeaderAgain) {
  ShowForm();
  view->SetViewStyle(vsList);
  Pump(80);
  view->SetViewStyle(vsReport);
  view->ColumnsChanged();
  view->ItemsChanged();
  Pump(100);
  auto* s = SkinnerOf<TSkinListView>(view);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Handle, view->Handle());
  HWND now = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_NE(now, nullptr);
  ASSERT_NE(s->Header, nullptr);
  EXPECT_EQ(s->Header->Handle, now);
  EXPECT_EQ(SendMessageW(now, SKM_ISSKINNED, 0, 0), 1);
  // Only the live header skinners stay registered (the old one is gone).
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  int headers = 0;
  for (TSkinControl* c : f->FSkinners) headers += dynamic_cast<TSkinHeader*>(c) != nullptr;
  EXPECT_EQ(headers, 1);
  TCapture c = PaintInto(now, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(ColumnRect(now, 0).left + 4, 2), Bar(1));
}

TEST_F(ListViews, SwitchedOffTheListViewAndItsHeaderAreAsTheyWere) {
  ShowForm();
  const HWND v = skinner->VertBar->Handle();
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinnerOf<TSkinListView>(view) == nullptr; }));
  EXPECT_EQ(SkinnerOf<TSkinHeader>(view), nullptr);
  EXPECT_EQ(SendMessageW(header, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(view->Handle(), SKM_ISSKINNED, 0, 0), 0);
  EXPECT_FALSE(IsWindow(v));
  // The header paints as the unskinned one does.
  HWND plainHeader = reinterpret_cast<HWND>(SendMessageW(plain->Handle(), LVM_GETHEADER, 0, 0));
  TCapture c = PaintInto(header, WM_PAINT, 0);
  TCapture n = PaintInto(plainHeader, WM_PAINT, 0);
  const RECT c0 = ColumnRect(header, 0);
  EXPECT_EQ(c.At(c0.left + 4, 2), n.At(c0.left + 4, 2));
}

TEST_F(ListViews, TheSkinnersGoWithTheListView) {
  ShowForm();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t before = f->FSkinners.size();
  view->Free();
  view = nullptr;
  EXPECT_EQ(f->FSkinners.size(), before - 2) << "the list view's and its header's";
  Pump(30);
}

}  // namespace
