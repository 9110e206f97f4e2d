// Forms: top-level windows with a border style, a position rule, modal
// showing with a modal result, and close actions (hide, free later,
// minimise). A form class with form data is made with CreateForm<TFmX>(),
// which reads the form data resource named after the class and then
// raises OnCreate.
#pragma once

#include <string>

#include "Control.h"

namespace fw {

class TMainMenu;
class TFormFocusWatch;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint32_t;  // set of TBorderIcon
constexpr TBorderIcons kDefaultBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int32_t;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

const TEnumType& FormBorderStyleType();
const TEnumType& BorderIconType();
const TEnumType& PositionType();
const TEnumType& WindowStateType();

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Makes an empty form (no form data read); see CreateForm for forms
  // that have form data.
  explicit TForm(TComponent* owner);
  // A form deleted without Free (on the stack, by delete) still leaves the
  // screen's list and the application; only OnDestroy needs Free.
  ~TForm() override;
  void BeforeDestruction() override;

  // Reads the form data resource named after the class (upper case);
  // false with the reason when it is missing or bad.
  bool LoadFromResource(std::string& error);
  // Reads form data given as text.
  bool LoadFromText(const std::string& text, std::string& error);
  // Raises OnCreate; CreateForm calls it after the form data is read.
  virtual void DoCreate();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // The control the form remembers as focused (the one that has the focus,
  // or had it when the form was left); nullptr when none or when that
  // control is no longer on the form. A freed control is forgotten, whoever
  // owns it.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);
  // Takes the focus into the form's own window while its focused control
  // is disabled or hidden; the form still gives the focus back to that
  // control when it becomes active again and the control can take it.
  void FocusSelfForControl();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }
  TCanvas* Canvas() { return TControl::Canvas(); }
  // The menu bar (nullptr: none). Once the window exists the menu's handle
  // is built and set as the window's menu; it is built again when the
  // window is re-created and when the menu changes (CM_MENUCHANGED, sent
  // through WindowProc). A menu on another form moves to this one.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Runs the click of the menu item with this key's shortcut (an item
  // that can be chosen now); true when there was one. The keyboard
  // handling of the message loop asks before the key reaches a control.
  virtual bool IsShortCut(WORD key, TShiftState shift);

  void SetVisible(bool visible) override;
  void SetClientSize(int width, int height) override;
  RECT ClientRect() const override;
  int32_t ClientWidthProp() const { return ClientWidth(); }
  void SetClientWidthProp(int32_t v) { SetClientSize(v, ClientHeight()); }
  int32_t ClientHeightProp() const { return ClientHeight(); }
  void SetClientHeightProp(int32_t v) { SetClientSize(ClientWidth(), v); }

  // Shows the form modally: other windows of the program are disabled
  // until the form sets a modal result (or is closed: mrCancel). Returns
  // the modal result.
  virtual TModalResult ShowModal();
  // Asks OnCloseQuery, then runs OnClose with the form's close action.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now waiting have been handled (safe
  // from the form's own event handlers).
  void Release();
  void BringToFront();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void WindowCreated() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The window that owns this form's window (the owner form, else the
  // main form).
  HWND OwnerWindow() const;
  void ApplyPosition();
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;

 private:
  void RecalcFromClientSize();
  // Builds the menu's handle anew and sets it as the window's menu (after
  // the menu loop when a menu of the window is open).
  void UpdateMenuBar();
  // Takes the menu's handle off the window and destroys it; when the
  // window is being destroyed it destroys the handle itself.
  void ReleaseMenuBar(bool windowGoes);
  // Forgets the menu (and the menu forgets the form).
  void DetachMenu(bool windowGoes);
  bool WmMenuMessage(TMessage& m);
  // Remembers the control as the focused one (nullptr: none), watching it
  // for its free.
  void RememberControl(TWinControl* control);
  // The remembered control, forgotten first when it is no longer on the
  // form (put into another window: a docked client that floats).
  TWinControl* RememberedControl();
  friend class TFormFocusWatch;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = kDefaultBorderIcons;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TWinControl* activeControl_ = nullptr;
  bool keepActiveControl_ = false;
  TFormFocusWatch* focusWatch_ = nullptr;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool positioned_ = false;
  bool hasClientSize_ = false;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool released_ = false;
  TMainMenu* menu_ = nullptr;
  bool inMenuLoop_ = false;
  bool menuChangePending_ = false;
};

// The form a control is on (its top-level parent), or nullptr.
TForm* GetParentForm(const TControl* control);

// Shows why a form's data could not be read (a message box).
void ShowFormDataError(const std::string& formClass, const std::string& error);

// Makes a form of class F, reads its form data resource and raises
// OnCreate. On bad form data the error is shown in a message box, the
// form is freed and nullptr returned.
template <class F>
F* CreateForm(TComponent* owner) {
  F* form = new F(owner);
  std::string error;
  if (!form->LoadFromResource(error)) {
    ShowFormDataError(form->ClassName(), error);
    form->Free();
    return nullptr;
  }
  form->DoCreate();
  return form;
}

}  // namespace fw
