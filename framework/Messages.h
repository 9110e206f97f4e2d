// Window messages as the framework passes them to controls, and the
// framework's own message numbers.
//
// CM_* messages are notifications between framework objects (enabled
// changed, mouse enter/leave, dialog characters). CN_* messages are the
// notifications a parent window receives from a child (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM ...) reflected back to the child control's
// object, numbered CN_BASE + the original message.
#pragma once

#include <windows.h>

#include <functional>

namespace fw {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// A control's window procedure as a replaceable method: install your own,
// keep the one you replaced, call it for what you do not handle, and put
// it back when you are done.
using TWndMethod = std::function<void(TMessage&)>;

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0x00;
constexpr UINT CM_DEACTIVATE = CM_BASE + 0x01;
constexpr UINT CM_GOTFOCUS = CM_BASE + 0x02;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 0x03;
constexpr UINT CM_CANCELMODE = CM_BASE + 0x04;
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;     // wParam virtual key; result 1 when used
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;    // wParam character; result 1 when used
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x08;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
constexpr UINT CM_HITTEST = CM_BASE + 0x0A;       // lParam point; result nonzero when inside
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 0x0F;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 0x10;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 0x11;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;   // to a form: wParam 1 rebuild its menu bar; lParam the menu
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0x1A;
constexpr UINT CM_RELEASE = CM_BASE + 0x21;      // posted to a form: free it now
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 0x24;
// Sent through WindowProc after RecreateWnd made the control a new window
// (a subclass of the old window handle is gone with it).
constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 0x3C;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 0x3D;
constexpr UINT CM_SYNCHRONIZE = CM_BASE + 0x40;  // posted to the application: run synchronised calls
// Sent through a control's WindowProc when its left press ends without its
// release coming to it (TControl::ForgetPress): whoever stands in front of
// the procedure (a skinner drawing the press) hears of it; the control's
// own handling is PressLost.
constexpr UINT CM_PRESSLOST = CM_BASE + 0x41;
// Posted to a form that lost the activation to the desktop right after
// another thread's modal window gave it back: it takes the activation back.
constexpr UINT CM_TAKEACTIVATIONBACK = CM_BASE + 0x42;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;

// A reflected WM_NOTIFY carries a pointer to the notification's header.
// The same number sent with a small value (below the first 64 KB, where no
// address is ever valid: another party's use of the number) is no header
// and is not read.
inline bool IsNotifyHeader(LPARAM lParam) { return static_cast<ULONG_PTR>(lParam) >= 0x10000; }
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;

}  // namespace fw
