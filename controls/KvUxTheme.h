// The visual theme's entry points, looked up once at run time: uxtheme.dll
// may be missing, and so may any of its functions (each is null then).
#pragma once

#include <windows.h>

namespace kv {

struct UxTheme {
  typedef BOOL(WINAPI* IsThemeActiveFn)();
  typedef BOOL(WINAPI* IsAppThemedFn)();
  typedef HANDLE(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
  typedef HRESULT(WINAPI* CloseThemeDataFn)(HANDLE);
  typedef HRESULT(WINAPI* GetThemeColorFn)(HANDLE, int, int, int, COLORREF*);
  typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  typedef HRESULT(WINAPI* DrawThemeTextFn)(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, DWORD,
                                          const RECT*);

  IsThemeActiveFn isThemeActive = nullptr;
  IsAppThemedFn isAppThemed = nullptr;
  OpenThemeDataFn openThemeData = nullptr;
  CloseThemeDataFn closeThemeData = nullptr;
  GetThemeColorFn getThemeColor = nullptr;
  DrawThemeBackgroundFn drawThemeBackground = nullptr;
  DrawThemeTextFn drawThemeText = nullptr;
};

// The entry points, looked up on the first call.
const UxTheme& Ux();

}  // namespace kv
