// The application object (title, main form, message loop with the
// keyboard handling of forms, hints) and the screen (forms, cursor,
// metrics, fonts).
#pragma once

#include <windows.h>
#undef MessageBox  // TApplication::MessageBox

#include <memory>
#include <string>
#include <vector>

#include "Form.h"
#include "HintWindow.h"

namespace fw {

class TApplication : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TApplication();

  // Registers the window classes and creates the hidden utility window;
  // called by the first use of Application().
  void Initialize();

  std::string Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }
  // The main form's window (0 before it exists).
  HWND Handle() const;

  // Makes a form from its form data (owned by the application); the first
  // form made this way becomes the main form. ref is nullptr when the form
  // data could not be read.
  template <class F>
  void CreateForm(F*& ref) {
    ref = fw::CreateForm<F>(this);
    if (!mainForm_ && ref) mainForm_ = ref;
  }

  // Shows the main form and handles messages until Terminate (or the main
  // form closes); then frees the forms.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting now (and pending synchronised calls).
  void ProcessMessages();
  // Handles one message, waiting for one when none is there.
  void HandleMessage();

  // Hints.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor color) { hintColor_ = color; }
  std::string Hint() const { return hint_; }
  void CancelHint();
  TNotifyEvent OnHint;

  // A message box owned by the active window: text and caption are GBK;
  // flags are the MB_ flags. Returns the button pressed (IDOK ...).
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // Internal: the hint follows the control under the mouse.
  void MouseControlChanged(TControl* control);
  void HintTimerTick(UINT_PTR id);

 private:
  bool ProcessMessage(MSG& msg);
  bool IsKeyMessage(MSG& msg);
  void ShowHintFor(TControl* control);

  std::string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool initialized_ = false;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  TColor hintColor_ = clInfoBk;
  std::string hint_;
  TControl* hintControl_ = nullptr;
  THintWindow* hintWindow_ = nullptr;
};

class TScreen : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  TScreen();

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int index) const;
  // The form whose window is active, or nullptr.
  TForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  // crDefault lets each control show its own cursor; any other value
  // shows that cursor everywhere (crHourGlass during long work).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  RECT WorkAreaRect() const;
  // Names of the installed fonts (sorted).
  const std::vector<std::string>& Fonts();
  // The system's menu and window caption fonts (the non-client metrics),
  // read when first asked for and kept.
  TFont* MenuFont();
  TFont* CaptionFont();

  void AddForm(TForm* form);
  void RemoveForm(TForm* form);

 private:
  std::vector<TForm*> forms_;
  TCursor cursor_ = crDefault;
  std::vector<std::string> fonts_;
  std::unique_ptr<TFont> menuFont_, captionFont_;
};

TApplication& Application();
TScreen& Screen();

}  // namespace fw
