// Themed group box drawing through the visual theme.
#include "KvThemeDraw.h"

#include "KvUxTheme.h"
#include "Text.h"

namespace kv {

namespace {

constexpr int kGroupBoxPart = 4;  // BP_GROUPBOX
constexpr int kGroupBoxNormal = 1, kGroupBoxDisabled = 2;

// Every call the group box drawing makes is there.
bool Usable(const UxTheme& ux) {
  return ux.openThemeData && ux.closeThemeData && ux.drawThemeBackground && ux.drawThemeText;
}

}  // namespace

bool DrawThemedGroupBoxFrame(HWND window, HDC dc, const RECT& frame, bool enabled) {
  const UxTheme& t = Ux();
  if (!Usable(t)) return false;
  HANDLE theme = t.openThemeData(window, L"BUTTON");
  if (!theme) return false;
  t.drawThemeBackground(theme, dc, kGroupBoxPart, enabled ? kGroupBoxNormal : kGroupBoxDisabled, &frame,
                        nullptr);
  t.closeThemeData(theme);
  return true;
}

bool DrawThemedGroupBoxText(HWND window, HDC dc, const RECT& box, const std::string& caption, UINT flags,
                            bool enabled) {
  const UxTheme& t = Ux();
  if (!Usable(t)) return false;
  HANDLE theme = t.openThemeData(window, L"BUTTON");
  if (!theme) return false;
  const std::wstring w = fw::ToWide(caption);
  t.drawThemeText(theme, dc, kGroupBoxPart, enabled ? kGroupBoxNormal : kGroupBoxDisabled, w.c_str(),
                  static_cast<int>(w.size()), flags, 0, &box);
  t.closeThemeData(theme);
  return true;
}

}  // namespace kv
