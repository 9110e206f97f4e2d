// A window painted entirely from the program's own skin through the drawing
// routines, read back from the screen under the test display and probed at
// points where the result is determined. With CARDINIT_SKIN_SHOW_MS set the
// window stays up that long (for a look at it).
#include <gtest/gtest.h>

#include <cstdlib>

#include "FileIO.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessage.h"

namespace {

const int kW = 460, kH = 330;
TSkinDataContent* gSkin = nullptr;

// The whole file; nothing when it cannot be read.
std::vector<uint8_t> ReadFile(const std::string& path) {
  std::string bytes;
  if (!fw::LoadFileBytes(path, bytes)) bytes.clear();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void Fill(HDC dc, const TSkinRect& r, TColor c) {
  RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(c));
  FillRect(dc, &rc, b);
  DeleteObject(b);
}

void Text(HDC dc, const TSkinRect& r, const char* text, TColor c, UINT flags = DT_CENTER) {
  RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(c));
  DrawTextA(dc, text, -1, &rc, flags | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// A pixel of a skin image.
TColor Px(fw::TBitmap& b, int x, int y) { return PixelsOf(b).Pixel(x, y); }

void Image(HDC dc, const TSkinRect& r, TDataSkinObject& o, int n, bool vertical = false) {
  DrawSkinImage(dc, r, o.Bitmap, vertical, o.Tile == 1, o.Trans == 1, o.Frame, n, o.Margins());
}

// The whole window: frame, caption, menu bar, and a sample of every kind of
// control face the skin holds.
void PaintAll(HDC dc) {
  TSkinDataContent& s = *gSkin;
  Fill(dc, SkinRect(0, 0, kW, kH), s.Colors[sc::ButtonFace]);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ oldFont = SelectObject(dc, font);

  // Frame: side borders the full height, the caption between them; borders
  // stretch their middles (switch 1).
  const int L = s.BorderLeft->FrameWidth(), R = s.BorderRight->FrameWidth();
  const int T = s.BorderTop->Bitmap.Height() / s.BorderTop->Frame;
  const int B = s.BorderBottom->Bitmap.Height() / s.BorderBottom->Frame;
  auto border = [&](TDataSkinBorder& o, const TSkinRect& r, bool vertical) {
    DrawSkinImage(dc, r, o.Bitmap, vertical, o.Tile != 1, o.Trans == 1, o.Frame, 1, o.Margins());
  };
  border(*s.BorderLeft, SkinRect(0, 0, L, kH), false);
  border(*s.BorderRight, SkinRect(kW - R, 0, kW, kH), false);
  border(*s.BorderBottom, SkinRect(L, kH - B, kW - R, kH), true);
  border(*s.BorderTop, SkinRect(L, 0, kW - R, T), true);
  Text(dc, SkinRect(L + 28, 0, kW - 100, T), "Tavrin - skin drawing", s.Colors[sc::TitleTextActive], DT_LEFT);

  // Caption buttons: close normal, maximise hot, minimise pressed.
  const int states[3] = {1, 3, 2};
  const int buttons[3] = {0, 1, 3};
  for (int i = 0; i < 3; i++) {
    TDataSkinSysButton& b = *s.SysButtons[buttons[i]];
    int w = b.FrameWidth(), h = b.Bitmap.Height();
    int x = kW - b.XCoord, y = b.YCoord;
    DrawSkinCell(dc, SkinRect(x, y, x + w, y + h), b.Bitmap, true, b.Frame, states[i]);
  }

  // Menu bar (active image of a stacked pair) with three items, the second hot.
  const TSkinRect bar = SkinRect(L, T, kW - R, T + 20);
  Image(dc, bar, *s.MenuBar, 1, true);
  const char* items[3] = {"File", "Card", "Help"};
  for (int i = 0; i < 3; i++) {
    TSkinRect r = SkinRect(bar.Left + 6 + 44 * i, bar.Top + 1, bar.Left + 46 + 44 * i, bar.Bottom - 1);
    if (i == 1) Image(dc, r, *s.MenuItem, 4);
    Text(dc, r, items[i], s.Colors[sc::MenuBarText]);
  }

  // Tool bar: the built gradient, one hot and one checked button.
  const TSkinRect tools = SkinRect(L, bar.Bottom, kW - R, bar.Bottom + 28);
  DrawSkinImage(dc, tools, s.Toolbar->Bitmap, false, false, false, 1, 1, SkinRect(0, 0, 0, 0));
  Image(dc, SkinRect(tools.Left + 4, tools.Top + 3, tools.Left + 26, tools.Top + 25), *s.ToolBars, 4);
  Image(dc, SkinRect(tools.Left + 28, tools.Top + 3, tools.Left + 50, tools.Top + 25), *s.ToolBars, 5);

  // Push buttons in their five states.
  const char* names[5] = {"Normal", "Pressed", "Disabled", "Hot", "Default"};
  for (int k = 1; k <= 5; k++) {
    TSkinRect r = SkinRect(16 + 84 * (k - 1), 96, 96 + 84 * (k - 1), 118);
    Image(dc, r, *s.Buttons, k);
    Text(dc, r, names[k - 1], k == 3 ? RGBColor(150, 156, 170) : s.Colors[sc::ButtonText]);
  }

  // Check box and radio glyphs, every frame.
  TDataSkinButton& btn = *s.Buttons;
  for (int k = 1; k <= btn.CheckButtonFrame; k++) {
    int x = 16 + 18 * (k - 1);
    DrawSkinCell(dc, SkinRect(x, 128, x + 13, 141), btn.CheckBitmap, true, btn.CheckButtonFrame, k);
  }
  for (int k = 1; k <= btn.RadioFrame; k++) {
    int x = 240 + 18 * (k - 1);
    DrawSkinCell(dc, SkinRect(x, 128, x + 13, 141), btn.RadioBitmap, true, btn.RadioFrame, k);
  }

  // Combo box: the built frame, white inside its cut-out; the second hot.
  for (int i = 0; i < 2; i++) {
    TSkinRect r = SkinRect(16 + 210 * i, 152, 206 + 210 * i, 173);
    Fill(dc, r, kWhite);
    Image(dc, r, *s.ComboButton, i == 0 ? 1 : 4);
    Text(dc, SkinRect(r.Left + 6, r.Top, r.Right - 24, r.Bottom), i == 0 ? "COM1" : "08/09/10", s.Colors[sc::WindowText], DT_LEFT);
  }

  // Horizontal scroll bar: track, arrows, thumb with its gripper.
  const TSkinRect sb = SkinRect(16, 184, 216, 200);
  TDataSkinObject& sbo = *s.ScrollBar;
  Image(dc, SkinRect(sb.Left + 16, sb.Top, sb.Right - 16, sb.Bottom), *s.HorzScroll, 1);
  DrawSkinCell(dc, SkinRect(sb.Left, sb.Top, sb.Left + 16, sb.Bottom), sbo.Bitmap, true, sbo.Frame, 1);
  DrawSkinCell(dc, SkinRect(sb.Right - 16, sb.Top, sb.Right, sb.Bottom), sbo.Bitmap, true, sbo.Frame, 8);
  Image(dc, SkinRect(70, sb.Top, 130, sb.Bottom), *s.HorzScrollThumb, 1);
  DrawSkinCell(dc, SkinRect(92, sb.Top, 108, sb.Bottom), sbo.Bitmap, true, sbo.Frame, 17);

  // Progress bar at 60 %.
  const TSkinRect pb = SkinRect(226, 184, 426, 200);
  DrawSkinImage(dc, pb, s.Progress->Bitmap, false, false, s.Progress->Trans == 1, s.Progress->Frame, 1,
                s.Progress->Margins());
  Image(dc, SkinRect(pb.Left + 2, pb.Top + 1, pb.Left + 2 + 118, pb.Bottom - 1), *s.ProgressChunk, 1);

  // Tabs over a pane, the middle one selected.
  const TSkinRect pane = SkinRect(16, 232, 216, 290);
  Image(dc, pane, *s.TabPane, 1);
  for (int i = 0; i < 3; i++) {
    bool selected = i == 1;
    TSkinRect r = SkinRect(18 + 62 * i, selected ? 210 : 212, 78 + 62 * i, 233);
    Image(dc, r, *s.Tabs, selected ? 2 : 1);
    Text(dc, r, i == 0 ? "Keys" : i == 1 ? "Batch" : "Card", s.Colors[sc::ButtonText]);
  }

  // Header with a hot column, a track bar with its thumb.
  const char* cols[3] = {"Sector", "Key A", "Key B"};
  for (int i = 0; i < 3; i++) {
    TSkinRect r = SkinRect(226 + 66 * i, 212, 292 + 66 * i, 232);
    Image(dc, r, *s.HeaderBar, i == 1 ? 2 : 1);
    Text(dc, r, cols[i], s.Colors[sc::ButtonText]);
  }
  Image(dc, SkinRect(236, 262, 416, 266), *s.Track, 1);
  Image(dc, SkinRect(300, 254, 311, 274), *s.TrackThumbDown, 1);

  // Status bar with a lowered panel and the size grip.
  const TSkinRect st = SkinRect(L, kH - B - 22, kW - R, kH - B);
  Image(dc, st, *s.StatusBarEdges, 3);
  Image(dc, SkinRect(st.Left + 2, st.Top + 2, st.Left + 200, st.Bottom - 2), *s.StatusBarEdges, 1);
  Text(dc, SkinRect(st.Left + 8, st.Top + 2, st.Left + 200, st.Bottom - 2), "Ready", s.Colors[sc::ButtonText], DT_LEFT);
  TDataSkinObject& ex = *s.ExtraImages;
  DrawSkinCell(dc, SkinRect(st.Right - 13, st.Bottom - 13, st.Right - 1, st.Bottom - 1), ex.Bitmap, true, ex.Frame, 5);

  SelectObject(dc, oldFont);
}

LRESULT CALLBACK WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ERASEBKGND) return 1;
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    // Composed off screen, copied in one blit.
    fw::TBitmap work;
    SetSkinBitmapSize(work, kW, kH);
    PaintAll(work.Canvas()->Handle());
    BitBlt(dc, 0, 0, kW, kH, work.Canvas()->Handle(), 0, 0, SRCCOPY);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

}  // namespace

TEST(SkinWindow, PaintsTheOwnSkinOntoTheScreen) {
  TSkinDataContent skin;
  skin.SkinArchive = TSkinMemoryStream(ReadFile(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn"));
  ASSERT_TRUE(skin.LoadSkin());
  gSkin = &skin;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinWindowTest";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(WS_EX_TOPMOST, "SkinWindowTest", "Tavrin", WS_POPUP, 40, 40, kW, kH, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);

  // The window's outline: its frame images with the magenta corners cut out.
  fw::TBitmap frame;
  SetSkinBitmapSize(frame, kW, kH, kMagenta);
  TDataSkinBorder& left = *skin.BorderLeft;
  DrawSkinImage(frame.Canvas()->Handle(), SkinRect(0, 0, left.FrameWidth(), kH), left.Bitmap, false, false, false,
                left.Frame, 1, left.Margins());
  TDataSkinBorder& right = *skin.BorderRight;
  DrawSkinImage(frame.Canvas()->Handle(), SkinRect(kW - right.FrameWidth(), 0, kW, kH), right.Bitmap, false, false,
                false, right.Frame, 1, right.Margins());
  PixelsOf(frame).FillRect(left.FrameWidth(), 0, kW - right.FrameWidth(), kH, 0);
  SetWindowRgn(w, RegionFromBitmap(frame, 0, 0, 0, 0, 0, kMagenta), FALSE);

  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
  Pump(300);

  HDC dc = GetDC(w);
  fw::TBitmap screen;
  SetSkinBitmapSize(screen, kW, kH);
  BitBlt(screen.Canvas()->Handle(), 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
  ReleaseDC(w, dc);
  const TSkinPixels shot = PixelsOf(screen);
  ASSERT_FALSE(shot.Empty());

  // Left border below the caption: the middle of its image, unscaled across.
  EXPECT_EQ(shot.Pixel(2, 120), Px(left.Bitmap, 2, 35));
  // Caption: the top image's row 10, stretched only across.
  EXPECT_EQ(shot.Pixel(kW / 2, 10), Px(skin.BorderTop->Bitmap, 60, 10));
  // The rounded corner is outside the window region.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, 3, 0));
  EXPECT_TRUE(PtInRegion(rgn, 0, 3));
  DeleteObject(rgn);
  // Push buttons are as high as their images: rows map one to one, and the
  // middle columns are all alike. Image k's column 12, row 5 and row 18.
  TDataSkinButton& b = *skin.Buttons;
  for (int k = 1; k <= 5; k++)
    for (int row : {5, 18})
      EXPECT_EQ(shot.Pixel(16 + 84 * (k - 1) + 10, 96 + row), Px(b.Bitmap, 24 * (k - 1) + 12, row)) << k;
  // Check glyphs are drawn at their own size: pixel for pixel.
  for (int k = 1; k <= b.CheckButtonFrame; k++) {
    TColor want = Px(b.CheckBitmap, 13 * (k - 1) + 6, 6);
    EXPECT_EQ(shot.Pixel(16 + 18 * (k - 1) + 6, 128 + 6), want == kMagenta ? skin.Colors[sc::ButtonFace] : want) << k;
  }
  // The close button in its normal image: its centre.
  TDataSkinSysButton& close = *skin.SysButtons[0];
  EXPECT_EQ(shot.Pixel(kW - close.XCoord + 10, close.YCoord + 10), Px(close.Bitmap, 10, 10));

  if (const char* show = std::getenv("CARDINIT_SKIN_SHOW_MS")) Pump(static_cast<DWORD>(std::atoi(show)));
  DestroyWindow(w);
  gSkin = nullptr;
}
