// The platform queries of the colour routines on the target: system colours,
// the theme's colour name in the current user's registry, and the colours
// of the visual theme.
#include <windows.h>

#include "KvCommon.h"
#include "KvUxTheme.h"

namespace kv {

namespace {

const char kThemeManagerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
const char kColorNameValue[] = "ColorName";

// Theme class, part, state and colour property behind each element index:
// edit border, edit fill, explorer-bar header gradient (two colours), push
// button border, push button text, and the group box's text.
struct ThemedElement {
  const wchar_t* themeClass;
  int part, state, property;
};
const ThemedElement kElements[7] = {
    {L"EDIT", 1, 1, 3801},         // EP_EDITTEXT, ETS_NORMAL, TMT_BORDERCOLOR
    {L"EDIT", 1, 1, 3802},         // TMT_FILLCOLOR
    {L"EXPLORERBAR", 1, 0, 3810},  // EBP_HEADERBACKGROUND, TMT_GRADIENTCOLOR1
    {L"EXPLORERBAR", 1, 0, 3811},  // TMT_GRADIENTCOLOR2
    {L"BUTTON", 1, 1, 3801},       // BP_PUSHBUTTON, PBS_NORMAL, TMT_BORDERCOLOR
    {L"BUTTON", 1, 1, 3803},       // TMT_TEXTCOLOR
    {L"BUTTON", 4, 1, 3803},       // BP_GROUPBOX, GBS_NORMAL, TMT_TEXTCOLOR
};

}  // namespace

TColor SystemColorRgb(int index) { return static_cast<TColor>(GetSysColor(index) & 0xFFFFFF); }

std::string ReadThemeColorName() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kThemeManagerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::string();
  char buf[256];
  DWORD type = 0, size = sizeof buf - 1;
  std::string name;
  if (RegQueryValueExA(key, kColorNameValue, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    buf[size] = '\0';  // the stored string need not be terminated
    name = buf;
  }
  RegCloseKey(key);
  return name;
}

bool ThemesEnabled() {
  const UxTheme& ux = Ux();
  return ux.isThemeActive && ux.isAppThemed && ux.isThemeActive() && ux.isAppThemed();
}

TColor ThemedElementColor(int index) {
  const UxTheme& ux = Ux();
  if (index < 0 || index > 6 || !ux.openThemeData || !ux.getThemeColor || !ux.closeThemeData) return clWhite;
  const ThemedElement& e = kElements[index];
  HANDLE theme = ux.openThemeData(nullptr, e.themeClass);
  if (!theme) return clWhite;
  COLORREF c = RGB(255, 255, 255);
  if (ux.getThemeColor(theme, e.part, e.state, e.property, &c) != S_OK) c = RGB(255, 255, 255);
  ux.closeThemeData(theme);
  return static_cast<TColor>(c & 0xFFFFFF);
}

}  // namespace kv
