// Where the controls of a form are, read from the form's own data: each
// control's class, its parent and its bounds in the parent's client area.
// The tests find a control's window (or the spot to click a windowless
// one) by its name, as the form data gives it.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace driver {

struct ControlPlace {
  std::string className;
  std::string parent;  // empty for the form itself
  RECT bounds{};       // in the parent's client area
  bool hasSize = false;
};

class FormMap {
 public:
  // Reads the form data file; false with the reason in `error`.
  bool Load(const std::string& path, std::string& error);
  const ControlPlace* Find(const std::string& name) const;
  const std::string& FormName() const { return formName_; }

  // The window of control `name` inside the form's window `form`: the
  // child of its parent's window with the control's class at its place.
  HWND Window(HWND form, const std::string& name) const;
  // Clicks a windowless control at its centre (mouse messages to the
  // parent window), or a windowed one likewise.
  bool ClickAt(HWND form, const std::string& name) const;
  // The control's rectangle on the screen.
  bool ScreenRect(HWND form, const std::string& name, RECT& rect) const;
  // Where a click on the control lands, on the screen: its centre, or a
  // few pixels into a control that the data gives no size (a label sized
  // to its text); `window` is the window that takes the click there (the
  // control's own, or its parent's for a windowless control).
  bool ClickPoint(HWND form, const std::string& name, POINT& screen, HWND& window) const;

 private:
  std::map<std::string, ControlPlace> places_;
  std::string formName_;
};

// The form data file of the program's form `file` ("Main.form").
std::string AppFormPath(const std::string& file);

}  // namespace driver
