#include "KvUxTheme.h"

namespace kv {

namespace {

template <typename Fn>
void Find(HMODULE module, const char* name, Fn* fn) {
  *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

UxTheme Load() {
  UxTheme ux;
  HMODULE m = LoadLibraryA("uxtheme.dll");
  if (!m) return ux;
  Find(m, "IsThemeActive", &ux.isThemeActive);
  Find(m, "IsAppThemed", &ux.isAppThemed);
  Find(m, "OpenThemeData", &ux.openThemeData);
  Find(m, "CloseThemeData", &ux.closeThemeData);
  Find(m, "GetThemeColor", &ux.getThemeColor);
  Find(m, "DrawThemeBackground", &ux.drawThemeBackground);
  Find(m, "DrawThemeText", &ux.drawThemeText);
  return ux;
}

}  // namespace

const UxTheme& Ux() {
  static const UxTheme ux = Load();
  return ux;
}

}  // namespace kv
