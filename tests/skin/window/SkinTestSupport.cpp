#include "SkinTestSupport.h"

#include <map>

#include "Application.h"
#include "FileIO.h"
#include "SkinDraw.h"
#include "SendInputs.h"
#include "SkinManager.h"
#include "WinSkinForm.h"

using namespace fw;

namespace skintest {

std::vector<uint8_t> CodedSkinArchive() {
  std::string bytes;
  if (!LoadFileBytes(std::string(CARDINIT_SKIN_DIR) + "/ColourCoded.skn", bytes)) return {};
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TSkinData* StartCodedSkin(TSkinControlTypes controls, TSkinOptions options, bool setControls) {
  Application();
  RegisterSkinDataClasses();
  const std::vector<uint8_t> archive = CodedSkinArchive();
  if (archive.empty()) return nullptr;
  auto* skin = new TSkinData(nullptr);
  if (setControls) {
    skin->SkinControls = controls;
    skin->Options = options;
  }
  skin->SkinArchive.Write(archive.data(), archive.size());
  skin->SkinArchive.Seek(0);
  if (!skin->LoadSkin()) {
    skin->Free();
    return nullptr;
  }
  // As when read from form data: the value is stored, then Loaded starts.
  skin->BeginLoading();
  skin->SetActive(true);
  skin->Loaded();
  return skin;
}

void StopSkin(TSkinData*& skin) {
  if (skin) skin->Free();
  skin = nullptr;
  FreeSkinManager();
  Pump(20);
}

void Pump(int ms) { realinput::PumpMessages(ms); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Pump(5);
  }
  return true;
}

int TTestWindow::Count(UINT msg) const {
  int n = 0;
  for (UINT m : seen) n += m == msg;
  return n;
}

namespace {

const wchar_t kClass[] = L"SkinTestWindow";

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const bool mdiChild = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    // An MDI child gets its record through the MDI creation structure.
    void* param = cs->lpCreateParams;
    if (cs->dwExStyle & WS_EX_MDICHILD) param = reinterpret_cast<void*>(static_cast<MDICREATESTRUCTW*>(param)->lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(param));
  }
  auto* record = reinterpret_cast<TTestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (record) {
    record->seen.push_back(msg);
    if (msg == WM_SYSCOMMAND) record->sysCommands.push_back(wParam & 0xFFF0);
    if (msg == WM_COMMAND) record->commands.push_back(LOWORD(wParam));
    if (msg == WM_NCDESTROY) record->hwnd = nullptr;
    if (msg == WM_SYSCOMMAND && record->swallowSysCommands && (wParam & 0xFFF0) != SC_KEYMENU) return 0;
  }
  return mdiChild ? DefMDIChildProcW(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterTestClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
}

}  // namespace

LPARAM ScreenPoint(HWND window, int x, int y) {
  RECT r;
  GetWindowRect(window, &r);
  return MAKELPARAM(r.left + x, r.top + y);
}

HWND MakeTestWindow(TTestWindow* record, int clientWidth, int clientHeight, DWORD style, DWORD exStyle, HMENU menu,
                    HWND parent) {
  RegisterTestClass();
  RECT r = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, style, menu != nullptr, exStyle);
  HWND h = CreateWindowExW(exStyle, kClass, L"Skin test", style, 100, 100, r.right - r.left, r.bottom - r.top,
                           parent, menu, GetModuleHandleW(nullptr), record);
  if (record) record->hwnd = h;
  if (h && !(style & WS_CHILD)) {
    ShowWindow(h, SW_SHOW);
    Activate(h);
  }
  return h;
}

bool Activate(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  return PumpUntil([&] { return GetForegroundWindow() == window || GetActiveWindow() == window; }, 2000);
}

bool WaitSkinned(HWND window, int timeoutMs) {
  return PumpUntil(
      [&] {
        TSkinManage* m = SkinManager();
        TWinSkinForm* f = m ? m->FindSkinnedForm(window) : nullptr;
        return f && f->FSkinned && f->FState == 1;
      },
      timeoutMs);
}

COLORREF TCapture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

// A top-down 32-bit DIB section selected into a memory DC.
struct TMemoryDC {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  int w = 0, h = 0;
  TMemoryDC(int width, int height) : w(width), h(height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* p = nullptr;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    // A colour no skin image holds, so unpainted pixels show.
    for (int i = 0; i < width * height; i++) bits[i] = 0x00123456;
  }
  ~TMemoryDC() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  TCapture Take() {
    GdiFlush();
    TCapture c;
    c.width = w;
    c.height = h;
    c.pixels.assign(bits, bits + static_cast<size_t>(w) * h);
    return c;
  }
};

}  // namespace

TCapture PaintInto(HWND window, UINT msg, LPARAM marker) {
  RECT r;
  GetWindowRect(window, &r);
  TMemoryDC m(r.right - r.left, r.bottom - r.top);
  SendMessageW(window, msg, reinterpret_cast<WPARAM>(m.dc), marker);
  return m.Take();
}

TCapture Screenshot(HWND window) {
  // What was drawn into the window reaches the screen when the system
  // flushes the window's surface.
  GdiFlush();
  Pump(60);
  RECT r;
  GetWindowRect(window, &r);
  TMemoryDC m(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(m.dc, 0, 0, m.w, m.h, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return m.Take();
}

COLORREF ImageColour(TBitmap& strip, bool vertical, int count, int n) {
  const TSkinRect r = SkinImageRect(strip.Width(), strip.Height(), vertical, count, n);
  const TColor c = PixelsOf(strip).Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  return static_cast<COLORREF>(c);
}

// ---- the recording skinner --------------------------------------------------

std::vector<std::string>* TRecordingSkinner::freedLog = nullptr;

const TClassInfo& TRecordingSkinner::StaticClass() {
  static const TClassInfo info("TRecordingSkinner", &TSkinControl::StaticClass());
  return info;
}

TRecordingSkinner::TRecordingSkinner(TComponent* owner, std::string kind)
    : TSkinControl(owner), MadeAs(std::move(kind)) {}

TRecordingSkinner::~TRecordingSkinner() {
  if (freedLog) freedLog->push_back(MadeAs);
}

bool TRecordingSkinner::BeforeProc(TMessage& m) {
  before.push_back(m.Msg);
  return TSkinControl::BeforeProc(m);
}

void TRecordingSkinner::AfterProc(TMessage& m) {
  after.push_back(m.Msg);
  TSkinControl::AfterProc(m);
}

void TRecordingSkinner::PaintControl(HDC dc, const RECT& rect) {
  HBRUSH b = CreateSolidBrush(kPaint);
  FillRect(dc, &rect, b);
  DeleteObject(b);
}

const std::vector<std::string>& AllSkinnerKinds() {
  static const std::vector<std::string> kinds = {
      "TSkinTab",        "TSkinTabBtn",     "TSkinTab31",      "TSkinTabSheet", "TSkinHeader",
      "TSkinCheckBox",   "TSkinTrackBar",   "TSkinUpDown",     "TSkinMP",       "TSkinRadioButton",
      "TSkinGroupBox",   "TSkinBox",        "TSkinObjImage",   "TSkinStatusBar", "TSkinProgress",
      "TSkinScControl",  "TSkinComBox",     "TSkinEdit",       "TSkinDateTime", "TSkinScrollbar",
      "TSkinBitButton",  "TSkinSpeedButton", "TSkinListView",  "TSkinButton",   "TSkinMenuButton",
      "TSkinAdvPage",    "TSkinSizer",      "TSkinBoxH"};
  return kinds;
}

namespace {
std::map<std::string, TSkinnerMaker>& Saved() {
  static std::map<std::string, TSkinnerMaker> saved;
  return saved;
}
}  // namespace

void RegisterRecordingKinds() {
  for (const std::string& kind : AllSkinnerKinds()) {
    if (!Saved().count(kind)) Saved()[kind] = FindSkinnerMaker(kind);
    RegisterSkinnerClass(kind, [kind](TComponent* owner) -> TSkinControl* { return new TRecordingSkinner(owner, kind); });
  }
}

void UnregisterRecordingKinds() {
  for (auto& saved : Saved()) {
    if (saved.second)
      RegisterSkinnerClass(saved.first, saved.second);
    else
      UnregisterSkinnerClass(saved.first);
  }
  Saved().clear();
}

}  // namespace skintest
