// The base of every control skinner. One skinner skins exactly one
// window: it puts its own procedure in front of the control's, lets its
// kind see each message before and after the control's own procedure, and
// paints the control over from the current skin. Two kinds of target:
//   - a framework control: the skinner is owned by the control (it goes
//     with it) and stands in front of the control's WindowProc (InitSkin);
//   - a plain window without framework object (a message box's button, a
//     drop-down list): the skinner is owned by the form skinner and
//     subclasses the window by its handle (InitSkinHandle).
// A skinner kind is a small class of its own: it overrides BeforeProc,
// AfterProc and PaintControl, and registers a maker under its class name
// (RegisterSkinnerClass) so that discovery can make it.
//
// Also here: the routines all skinners share (painting entry points,
// colour fills, the focus rectangle of a caption, strip painters, caption
// drawers) and the reading and writing of a foreign control's published
// properties by name, as text.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "Canvas.h"
#include "Component.h"
#include "Control.h"
#include "SkinObjects.h"
#include "Subclass.h"

class TSkinData;
class TWinSkinForm;

class TSkinControl : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinControl(fw::TComponent* owner);
  ~TSkinControl() override;
  void BeforeDestruction() override;

  // Skins the framework control that owns the skinner. A second call
  // changes nothing.
  virtual void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour);
  // Skins a plain window. A second call on a skinned window changes nothing.
  virtual void InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas);
  // Switches skinning off and gives back what InitSkin changed; the
  // procedure stays in front (passing everything on) until the skinner goes.
  virtual void Unskin();
  // Sees a message before the control's procedure; true lets the control's
  // procedure and then AfterProc run.
  virtual bool BeforeProc(fw::TMessage& m);
  virtual void AfterProc(fw::TMessage& m);
  // Finds the window rectangle and paints the control into dc (0: the
  // window's DC). Exceptions of the painting are swallowed.
  virtual void PaintFrame(HDC dc);
  // Draws the skinned control; rect is the window rectangle at the origin.
  virtual void PaintControl(HDC dc, const RECT& rect) {}
  virtual void ApplySkinChange();
  virtual bool AcceptsSkin() { return true; }
  // The set-up of kinds that have one of their own (the scroll-bar
  // skinners, the scroll-box overlay, the speed button); by default InitSkin
  // without the skin colour.
  virtual void InitScrollSkin(fw::TControl* control, TSkinData* skinData, TWinSkinForm* form,
                              fw::TCanvas* formCanvas);
  virtual void InitOwnSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas);
  // A variant of the kind chosen by discovery before or after its set-up
  // ("Mode", "GlyphKind", "PageStyle", "BoxedArrow", "GlyphProperty");
  // kinds ignore keys they do not know.
  virtual void Configure(const std::string& key, const std::string& value);
  // SKM_SKINSTATE switched the skinner on or off (Active holds the new
  // state); kinds with windows of their own show or hide them here.
  virtual void SkinStateChanged() {}

  // The replacement window procedure.
  void SkinnerWindowProc(fw::TMessage& m);
  // The control's own procedure.
  void CallOldProc(fw::TMessage& m);
  void Redraw();
  void SwitchParentBackground(bool off);
  TColor ParentColour(TColor defaultColour) const;
  void FillSkinColour(HDC dc, const RECT& rect) const;
  void FillParentColour(HDC dc, const RECT& rect) const;
  LONG GetLong(HWND window, int index) const;
  void DrawCaptionFocus(HDC dc, UINT flags, const RECT& rect);
  void ForwardMouseDown(const fw::TMessage& m);

  // ---- state ----
  enum : unsigned { kHot = 1, kDown = 2 };
  unsigned MouseFlags = 0;
  fw::TCanvas* FormCanvas = nullptr;
  bool IsEnabled = false;
  bool IsFocused = false;
  std::wstring Caption;
  bool Active = true;
  bool IsUnicode = false;
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  fw::TControl* Control = nullptr;
  fw::TControl* PaintTarget = nullptr;
  bool UseSkinColour = false;
  TColor SavedColour = 0;
  bool Skinned = false;
  int State = 0;  // 0 created, 1 skinned, 6 the window is destroyed
  TWinSkinForm* Form = nullptr;
  int Mode = 0;
  bool AuxFlag = false;
  bool ParentBackgroundCleared = false;
  // The kind's name as discovery made it (for the skinner's class name).
  std::string Kind() const { return ClassName(); }

 protected:
  // Freed while its own procedure runs (a modal loop in a click handler
  // switching skinning off): everything is given back at once and the
  // object goes when the procedure returns.
  bool DeferFree() override;

 private:
  // Takes the procedure out and leaves the form skinner's register.
  void Detach();
  // The control's window was made anew: the skinner takes the new one.
  void WindowRecreated();
  fw::TWindowProcHook frameworkHook_;
  fw::TWindowSubclass windowSubclass_;
  bool detached_ = false;
  // Skinning was on when the control's window went (a new window of the
  // control is skinned as the old one was).
  bool activeAtDestruction_ = true;
};

// ---- makers of skinner kinds, by class name ----
using TSkinnerMaker = std::function<TSkinControl*(fw::TComponent* owner)>;
// Registers (or replaces) the maker of a kind ("TSkinButton").
void RegisterSkinnerClass(const std::string& className, TSkinnerMaker maker);
void UnregisterSkinnerClass(const std::string& className);
// A new skinner of the kind, owned by owner; nullptr for a kind not built.
TSkinControl* MakeSkinner(const std::string& className, fw::TComponent* owner);
bool IsSkinnerClassRegistered(const std::string& className);
// The maker registered under the name (empty when none).
TSkinnerMaker FindSkinnerMaker(const std::string& className);

// ---- published properties of foreign controls, by name ----
// -1 when the object is nil or the property missing or not of integer kind.
int32_t GetOrdPropByName(const fw::TObject* object, const std::string& name);
// The enumeration's value name ("True"/"False" for a Boolean); empty
// when the property is missing.
void GetEnumPropByName(const fw::TObject* object, const std::string& name, std::string& text);
// A string property as wide text (GBK converted); empty when missing.
void GetWideStrPropByName(const fw::TObject* object, const std::string& name, std::wstring& text);
fw::TObject* GetObjectPropByName(const fw::TObject* object, const std::string& name);
// Sets an integer, enumeration or string property from text; a missing
// property or any other kind is left alone, as is a text that does not
// convert (a number property given words is not changed).
void SetPropByName(fw::TObject* object, const std::string& name, const std::string& value);

// ---- shared painting routines ----
// The window text (wide).
void GetWindowCaption(HWND window, std::wstring& caption);
// A pop-up window: WS_POPUP, or a parent that is the desktop window.
bool IsPopupWindow(HWND window);
void CopyBitmap(fw::TBitmap& source, fw::TBitmap& destination);
void SendMouseLeave(TSkinControl* skinner);
void FillColour(HDC dc, const RECT& rect, TColor colour);
// WM_PAINT in the skinner's stead: its own PaintControl over the whole
// window (the DC of wParam, else BeginPaint/EndPaint).
void PaintMessage(TSkinControl* skinner, fw::TMessage& m);
// WM_ERASEBKGND with the parent's background.
void EraseWithParent(TSkinControl* skinner, fw::TMessage& m);
// Frame n (from 1) of count frames of the object, nine-part scaled into
// rect; nothing for a missing object.
void DrawSkinObject(TSkinControl* skinner, HDC dc, const RECT& rect, int frameCount, int frame,
                    TDataSkinObject* object);
void DrawStrip(TSkinControl* skinner, HDC dc, const RECT& rect, int frameCount, int frame, fw::TBitmap& bitmap);
void DrawStripToCanvas(TSkinControl* skinner, fw::TCanvas& canvas, const RECT& rect, int frameCount, int frame,
                       fw::TBitmap& bitmap);
void DrawStripKeyed(TSkinControl* skinner, HDC dc, const RECT& rect, int frameCount, int frame,
                    fw::TBitmap& bitmap);
UINT DrawTextFlagsRtl(const TSkinControl* skinner, UINT flags);
void DrawCaptionText(TSkinControl* skinner, fw::TCanvas& canvas, const RECT& rect, int alignment, bool enabled,
                     const std::wstring& text);
void DrawImageCaption(TSkinControl* skinner, fw::TCanvas& canvas, const RECT& rect, int alignment,
                      const std::wstring& text, int imageIndex, HIMAGELIST images);
