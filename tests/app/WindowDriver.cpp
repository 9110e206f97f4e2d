#include "WindowDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "SendInputs.h"

namespace driver {

const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Information: return "information";
    case BoxIcon::Warning: return "warning";
    case BoxIcon::Error: return "error";
    case BoxIcon::Question: return "question";
    case BoxIcon::Unknown: break;
  }
  return "unknown";
}

std::wstring FromGbk(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string ToGbk(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

std::string TextOf(HWND hwnd) {
  // WM_GETTEXT crosses processes; a hung window does not hang the test.
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
    return std::string();
  std::wstring buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(&buf[0]),
                      SMTO_ABORTIFHUNG, 2000, &got);
  buf.resize(got);
  return ToGbk(buf);
}

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

struct TopSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<TopSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid) {
  TopSearch s{pid, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool IsDialogBox(HWND hwnd) { return ClassOf(hwnd) == "#32770"; }

// A message box is a standard dialog with one static text and buttons only.
bool LooksLikeMessageBox(HWND hwnd) {
  if (!IsDialogBox(hwnd)) return false;
  for (HWND c : Descendants(hwnd)) {
    const std::string cls = ClassOf(c);
    if (!SameNoCase(cls, "Static") && !SameNoCase(cls, "Button")) return false;
  }
  return true;
}

// One standard icon drawn on the box's background colour (the system's
// dialog colour, or a skin's), as the box's icon control draws it, w x h
// pixels.
std::vector<uint32_t> RenderIcon(LPCTSTR id, int w, int h, COLORREF background) {
  return PaintedPixels(w, h, [&](HDC dc) {
    RECT rc = {0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    DrawIcon(dc, 0, 0, LoadIcon(nullptr, id));
  });
}

long long Distance(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return LLONG_MAX;
  long long d = 0;
  for (size_t i = 0; i < a.size(); ++i)
    for (int s = 0; s < 24; s += 8)
      d += std::abs(static_cast<int>((a[i] >> s) & 0xFF) - static_cast<int>((b[i] >> s) & 0xFF));
  return d;
}

// Which standard icon the box shows: its icon control's pixels compared
// with each standard icon drawn here the same way.
BoxIcon ReadIcon(HWND box) {
  HWND iconCtl = nullptr;
  for (HWND c : Descendants(box)) {
    if (SameNoCase(ClassOf(c), "Static") &&
        (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
        SendMessageW(c, STM_GETICON, 0, 0) != 0) {
      iconCtl = c;
      break;
    }
  }
  if (!iconCtl) return BoxIcon::None;
  RECT rc;
  GetWindowRect(iconCtl, &rc);
  const int w = std::min<int>(rc.right - rc.left, 32), h = std::min<int>(rc.bottom - rc.top, 32);
  if (w <= 0 || h <= 0) return BoxIcon::None;
  rc.right = rc.left + w;
  rc.bottom = rc.top + h;
  const struct {
    LPCTSTR id;
    BoxIcon icon;
  } kinds[] = {{IDI_ASTERISK, BoxIcon::Information},
               {IDI_EXCLAMATION, BoxIcon::Warning},
               {IDI_HAND, BoxIcon::Error},
               {IDI_QUESTION, BoxIcon::Question}};
  // The box may not be painted yet: look again until one icon matches well.
  for (int attempt = 0; attempt < 50; ++attempt) {
    RedrawWindow(iconCtl, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto seen = CaptureScreen(rc);
    // The standard icons leave their top-left corner to the background.
    const uint32_t corner = seen.empty() ? 0 : seen[0];
    const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
    long long best = LLONG_MAX, second = LLONG_MAX;
    BoxIcon bestIcon = BoxIcon::Unknown;
    for (const auto& k : kinds) {
      const long long d = Distance(seen, RenderIcon(k.id, w, h, background));
      if (d < best) {
        second = best;
        best = d;
        bestIcon = k.icon;
      } else if (d < second) {
        second = d;
      }
    }
    // A clear match: (nearly) identical pixels, far from the others.
    if (best <= static_cast<long long>(w) * h * 3 && second > best * 4 + 1000) return bestIcon;
    Sleep(50);
  }
  return BoxIcon::Unknown;
}

}  // namespace

POINT ListViewRowPoint(HWND listView, int row, int x) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
  RECT hr = {};
  if (header) GetClientRect(header, &hr);
  const int height = HIWORD(SendMessageW(listView, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1))) -
                     HIWORD(SendMessageW(listView, LVM_APPROXIMATEVIEWRECT, 0, MAKELPARAM(-1, -1)));
  return POINT{x, hr.bottom + row * height + height / 2};
}

HWND WaitTopWindow(DWORD pid, const std::string& caption, int ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND h : TopWindows(pid)) {
          if (IsDialogBox(h) && LooksLikeMessageBox(h)) continue;
          if (caption.empty() || TextOf(h) == caption) {
            found = h;
            return true;
          }
        }
        return false;
      },
      ms);
  return found;
}

MessageBoxSeen WaitMessageBox(DWORD pid, int ms) {
  MessageBoxSeen box;
  HWND hwnd = nullptr;
  WaitFor(
      [&] {
        for (HWND h : TopWindows(pid))
          if (LooksLikeMessageBox(h)) {
            hwnd = h;
            return true;
          }
        return false;
      },
      ms);
  if (!hwnd) return box;
  box.hwnd = hwnd;
  box.caption = TextOf(hwnd);
  for (HWND c : Descendants(hwnd)) {
    const std::string cls = ClassOf(c);
    if (SameNoCase(cls, "Button")) {
      box.buttons.push_back(GetDlgCtrlID(c));
    } else if (SameNoCase(cls, "Static") &&
               (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      const std::string t = TextOf(c);
      if (!t.empty()) box.text = t;
    }
  }
  box.icon = ReadIcon(hwnd);
  return box;
}

bool NoMessageBox(DWORD pid, int ms) { return WaitMessageBox(pid, ms).hwnd == nullptr; }

bool Answer(const MessageBoxSeen& box, int id) {
  if (!box.hwnd) return false;
  HWND button = GetDlgItem(box.hwnd, id);
  if (!button) return false;
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return WaitFor([&] { return !IsWindow(box.hwnd); }, 5000);
}

namespace {
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND FindChild(HWND parent, const std::string& cls, const std::string& text, int skip) {
  for (HWND c : Descendants(parent)) {
    if (!cls.empty() && !SameNoCase(ClassOf(c), cls)) continue;
    if (!text.empty() && TextOf(c) != text) continue;
    if (skip-- == 0) return c;
  }
  return nullptr;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void MouseClick(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

void SelectComboItem(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> out;
  const int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const int len = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
    std::wstring buf(len + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&buf[0]));
    buf.resize(len);
    out.push_back(ToGbk(buf));
  }
  return out;
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void TypeText(HWND hwnd, const std::string& text) {
  PostMessageW(hwnd, WM_SETFOCUS, 0, 0);
  const std::wstring w = FromGbk(text);
  for (wchar_t c : w) PostMessageW(hwnd, WM_CHAR, c, 1);
}

void PressKey(HWND hwnd, UINT vk) {
  PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
  PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

namespace {

// Waits for the system to take the input: a short poll, since the input
// normally arrives within a few milliseconds, and a long limit for a
// loaded machine.
template <typename Pred>
bool Arrived(Pred pred) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start >= 5000) return false;
    Sleep(2);
  }
  return true;
}

bool KeyDown(int vk) { return GetAsyncKeyState(vk) < 0; }

// The key's state as the system shows it changes with the input; the
// system may also reset it when the keyboard focus moves to another window
// (the press then went through all the same), so a key that is not seen is
// waited for a short while only.
void KeyChange(WORD vk, bool down) {
  realinput::SendKeyChange(vk, down);
  const DWORD start = GetTickCount();
  while (KeyDown(vk) != down && GetTickCount() - start < 1000) Sleep(2);
}

bool ButtonChange(bool down) {
  realinput::SendButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  return Arrived([&] { return KeyDown(VK_LBUTTON) == down; });
}

bool IsOrInside(HWND hwnd, HWND outer) {
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT))
    if (h == outer) return true;
  return false;
}

GUITHREADINFO GuiInfo(HWND hwnd) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
  return info;
}

}  // namespace

bool PointerTo(POINT p) {
  auto there = [&] {
    POINT at;
    return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
  };
  // The absolute move is normalised to 0..65535; the nudge rounds it up
  // into the wanted pixel.
  realinput::SendMove(p, 1);
  if (Arrived(there)) return true;
  realinput::SendMove(p, 1);
  return Arrived(there);
}

bool LeftClickAt(POINT p, HWND target) {
  if (target && !WaitFor([&] { return IsOrInside(WindowFromPoint(p), target); }, 5000)) return false;
  if (!PointerTo(p)) return false;
  if (!ButtonChange(true)) return false;
  return ButtonChange(false);
}

bool LeftDoubleClickAt(POINT p, HWND target) {
  return LeftClickAt(p, target) && ButtonChange(true) && ButtonChange(false);
}

bool LeftClick(HWND hwnd) {
  // A window that has just come may still move (centred, fitted into its
  // frame): its centre is taken once it has stayed in place for a while
  // and the pointer finds it there.
  POINT p = {};
  RECT last = {};
  int still = 0;
  const bool found = WaitFor(
      [&] {
        RECT rc;
        if (!GetWindowRect(hwnd, &rc)) return false;
        still = EqualRect(&rc, &last) ? still + 1 : 0;
        last = rc;
        p = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        return still >= 5 && IsOrInside(WindowFromPoint(p), hwnd);
      },
      5000);
  return found && LeftClickAt(p, hwnd);
}

bool LeftClickRect(const RECT& screen, HWND target) {
  return LeftClickAt(POINT{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2}, target);
}

bool KeyPress(WORD vk, WORD modifier) {
  if (modifier) KeyChange(modifier, true);
  KeyChange(vk, true);
  KeyChange(vk, false);
  if (modifier) KeyChange(modifier, false);
  return true;
}

bool KeyType(const std::string& text) {
  for (wchar_t c : FromGbk(text)) {
    const SHORT scan = c < 128 ? VkKeyScanW(c) : -1;
    if (scan != -1 && (scan & 0x600) == 0) {
      const WORD vk = LOBYTE(scan);
      if (!KeyPress(vk, (scan & 0x100) ? VK_SHIFT : 0)) return false;
    } else {
      // A character of no key of its own comes as the character itself.
      realinput::SendChar(c);
      Sleep(2);
    }
  }
  return true;
}

bool WaitFront(HWND window, int ms) {
  return WaitFor([&] { return GetForegroundWindow() == window; }, ms);
}

HWND FocusOf(HWND hwnd) { return GuiInfo(hwnd).hwndFocus; }

HWND ActiveOf(HWND hwnd) { return GuiInfo(hwnd).hwndActive; }

bool WaitFocus(HWND hwnd, HWND focus, int ms) {
  return WaitFor([&] { return IsOrInside(FocusOf(hwnd), focus); }, ms);
}

HWND VisibleTopOfClass(DWORD pid, const std::string& cls) {
  for (HWND h : TopWindows(pid))
    if (SameNoCase(ClassOf(h), cls)) return h;
  return nullptr;
}

Program::~Program() { Kill(); }

bool Program::Start(const std::string& exe, const std::string& cwd) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe + "\"";
  std::string dir = cwd;
  if (dir.empty()) {
    const size_t slash = exe.find_last_of("\\/");
    if (slash != std::string::npos) dir = exe.substr(0, slash);
  }
  return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi_) != 0;
}

int Program::WaitExit(int ms) {
  if (!pi_.hProcess) return -1;
  if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return static_cast<int>(code);
}

bool Program::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
  if (!pi_.hProcess) return;
  if (Running()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
}

std::vector<uint32_t> PaintedPixels(int w, int h, const std::function<void(HDC)>& paint) {
  std::vector<uint32_t> px;
  if (w <= 0 || h <= 0) return px;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  paint(mem);
  GdiFlush();
  px.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  for (auto& p : px) p &= 0xFFFFFF;
  return px;
}

std::vector<uint32_t> CaptureScreen(const RECT& rc) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  return PaintedPixels(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

std::string BinFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

}  // namespace driver
