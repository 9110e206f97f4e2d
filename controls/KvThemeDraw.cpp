// Themed group box drawing through uxtheme, looked up at run time.
#include "KvThemeDraw.h"

#include "Text.h"

namespace kv {

namespace {

constexpr int kGroupBoxPart = 4;  // BP_GROUPBOX
constexpr int kGroupBoxNormal = 1, kGroupBoxDisabled = 2;

typedef HANDLE(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataFn)(HANDLE);
typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HANDLE, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* DrawThemeTextFn)(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);

struct ThemeCalls {
  OpenThemeDataFn open = nullptr;
  CloseThemeDataFn close = nullptr;
  DrawThemeBackgroundFn background = nullptr;
  DrawThemeTextFn text = nullptr;
  ThemeCalls() {
    HMODULE m = LoadLibraryA("uxtheme.dll");
    if (!m) return;
    open = reinterpret_cast<OpenThemeDataFn>(reinterpret_cast<void*>(GetProcAddress(m, "OpenThemeData")));
    close = reinterpret_cast<CloseThemeDataFn>(reinterpret_cast<void*>(GetProcAddress(m, "CloseThemeData")));
    background =
        reinterpret_cast<DrawThemeBackgroundFn>(reinterpret_cast<void*>(GetProcAddress(m, "DrawThemeBackground")));
    text = reinterpret_cast<DrawThemeTextFn>(reinterpret_cast<void*>(GetProcAddress(m, "DrawThemeText")));
  }
  bool Usable() const { return open && close && background && text; }
};

const ThemeCalls& Calls() {
  static const ThemeCalls calls;
  return calls;
}

}  // namespace

bool DrawThemedGroupBoxFrame(HWND window, HDC dc, const RECT& frame, bool enabled) {
  const ThemeCalls& t = Calls();
  if (!t.Usable()) return false;
  HANDLE theme = t.open(window, L"BUTTON");
  if (!theme) return false;
  t.background(theme, dc, kGroupBoxPart, enabled ? kGroupBoxNormal : kGroupBoxDisabled, &frame, nullptr);
  t.close(theme);
  return true;
}

bool DrawThemedGroupBoxText(HWND window, HDC dc, const RECT& box, const std::string& caption, UINT flags,
                            bool enabled) {
  const ThemeCalls& t = Calls();
  if (!t.Usable()) return false;
  HANDLE theme = t.open(window, L"BUTTON");
  if (!theme) return false;
  const std::wstring w = fw::ToWide(caption);
  t.text(theme, dc, kGroupBoxPart, enabled ? kGroupBoxNormal : kGroupBoxDisabled, w.c_str(),
         static_cast<int>(w.size()), flags, 0, &box);
  t.close(theme);
  return true;
}

}  // namespace kv
