#include "FormMap.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "FormData.h"
#include "WindowDriver.h"

namespace driver {

namespace {

int IntProp(const fw::TFormObject& o, const char* name, int def, bool* found = nullptr) {
  for (const auto& p : o.props)
    if (p.name == name && p.value.kind == fw::TFormValue::Integer) {
      if (found) *found = true;
      return static_cast<int>(p.value.integer);
    }
  return def;
}

}  // namespace

std::string AppFormPath(const std::string& file) {
  // The source tree as the test's Windows side sees it.
  std::string path = std::string("Z:") + TAVRIN_APP_DIR + "/" + file;
  for (auto& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool FormMap::Load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream s;
  s << in.rdbuf();
  fw::TFormObject root;
  if (!fw::ParseFormData(s.str(), root, error)) return false;
  formName_ = root.name;
  std::function<void(const fw::TFormObject&, const std::string&)> walk =
      [&](const fw::TFormObject& o, const std::string& parent) {
        for (const auto& c : o.children) {
          ControlPlace place;
          place.className = c.className;
          place.parent = parent;
          bool w = false, h = false;
          const int left = IntProp(c, "Left", 0), top = IntProp(c, "Top", 0);
          const int width = IntProp(c, "Width", 0, &w), height = IntProp(c, "Height", 0, &h);
          place.bounds = RECT{left, top, left + width, top + height};
          place.hasSize = w && h;
          places_[c.name] = place;
          walk(c, c.name);
        }
      };
  walk(root, std::string());
  return true;
}

const ControlPlace* FormMap::Find(const std::string& name) const {
  auto it = places_.find(name);
  return it == places_.end() ? nullptr : &it->second;
}

namespace {
struct ChildSearch {
  HWND parent;
  std::string cls;
  POINT at;
  HWND found;
  long distance;
};

// The child of the parent with the class nearest to the place (a window is
// found at its place, or within a few pixels of it).
BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  if (GetParent(hwnd) != s->parent) return TRUE;
  if (lstrcmpiA(ClassOf(hwnd).c_str(), s->cls.c_str()) != 0) return TRUE;
  RECT rc;
  GetWindowRect(hwnd, &rc);
  POINT p = {rc.left, rc.top};
  ScreenToClient(s->parent, &p);
  const long d = std::labs(p.x - s->at.x) + std::labs(p.y - s->at.y);
  if (d < s->distance) {
    s->distance = d;
    s->found = hwnd;
  }
  return TRUE;
}
}  // namespace

HWND FormMap::Window(HWND form, const std::string& name) const {
  const ControlPlace* place = Find(name);
  if (!place) return nullptr;
  HWND parent = place->parent.empty() ? form : Window(form, place->parent);
  if (!parent) return nullptr;
  ChildSearch s{parent, place->className, POINT{place->bounds.left, place->bounds.top}, nullptr, 9};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool FormMap::ScreenRect(HWND form, const std::string& name, RECT& rect) const {
  const ControlPlace* place = Find(name);
  if (!place) return false;
  HWND parent = place->parent.empty() ? form : Window(form, place->parent);
  if (!parent) return false;
  POINT a = {place->bounds.left, place->bounds.top}, b = {place->bounds.right, place->bounds.bottom};
  ClientToScreen(parent, &a);
  ClientToScreen(parent, &b);
  rect = RECT{a.x, a.y, b.x, b.y};
  return true;
}

namespace {
// The point a click aims at, in the parent's client area.
POINT AimInParent(const ControlPlace& place) {
  const int w = place.hasSize ? place.bounds.right - place.bounds.left : 8;
  const int h = place.hasSize ? place.bounds.bottom - place.bounds.top : 8;
  return POINT{place.bounds.left + w / 2, place.bounds.top + h / 2};
}
}  // namespace

bool FormMap::ClickAt(HWND form, const std::string& name) const {
  const ControlPlace* place = Find(name);
  if (!place) return false;
  HWND parent = place->parent.empty() ? form : Window(form, place->parent);
  if (!parent) return false;
  const POINT p = AimInParent(*place);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(parent, WM_LBUTTONUP, 0, at);
  return true;
}

bool FormMap::ClickPoint(HWND form, const std::string& name, POINT& screen, HWND& window) const {
  const ControlPlace* place = Find(name);
  if (!place) return false;
  HWND parent = place->parent.empty() ? form : Window(form, place->parent);
  if (!parent) return false;
  window = Window(form, name);
  if (!window) window = parent;
  screen = AimInParent(*place);
  return ClientToScreen(parent, &screen) != 0;
}

}  // namespace driver
