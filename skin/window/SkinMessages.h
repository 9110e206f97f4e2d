// The skin engine's private window messages and the marker some of them
// carry. The numbers are fixed: skinned windows, their skinners and the
// manager talk through them, and a host program may send the queries.
#pragma once
#include <windows.h>

// Repaint the skinned frame (non-client area) of a window.
constexpr UINT SKM_REPAINTFRAME = 0x3502;
// Posted by the manager right after a window's form skinner is made
// (lParam 1000): do the first skinning.
constexpr UINT SKM_FORMSKINNED = 0x3503;
// wParam > 0 switches a control skinner on, otherwise off.
constexpr UINT SKM_SKINSTATE = 0x3506;
// A caption button with an action of the application's own (wParam).
constexpr UINT SKM_CAPTIONACTION = 0x3514;
// Is a caption button with this visibility number (wParam, 1000-2000) and
// action (lParam) shown? A result above 0 shows it.
constexpr UINT SKM_BUTTONVISIBLE = 0x3515;
// Posted to an MDI client: redraw the whole MDI frame window.
constexpr UINT SKM_REDRAWFRAMEWINDOW = 0x3516;
// Posted to a form by a scroll-bar skinner (wParam the control's window):
// drop that skinner and make a new one.
constexpr UINT SKM_RESKINSCROLLBAR = 0x3517;
// Open the menu-bar item under the screen point in lParam.
constexpr UINT SKM_MENUBARCLICK = 0x3518;
// Answered 1 by every skinned window, control and menu; never passed on.
constexpr UINT SKM_ISSKINNED = 0x3523;
// Delivered to a form object: re-apply the skin after a skin change.
constexpr UINT SKM_APPLYNEWSKIN = 0x3401;

// Numbers of the framework's range of reflected control messages, used
// with the marker below in lParam.
constexpr LPARAM kSkinMarker = 0x41A2;
// Paint the client area into the device context in wParam; answers the marker.
constexpr UINT SKM_PAINTCLIENTTO = 0xBC4A;
// Paint the frame into the device context in wParam; answers the marker.
constexpr UINT SKM_PAINTFRAMETO = 0xBC4B;
// Answered with the marker when lParam is the marker, else 1.
constexpr UINT SKM_QUERYSKINFORM = 0xBC4D;
// Sent by a window to itself once it is skinned (wParam 0, lParam the
// marker). It is also the framework's reflected WM_NOTIFY: a handler that
// reads lParam as an NMHDR must first make sure lParam is not the marker.
constexpr UINT SKM_FORMSKINNEDNOTIFY = 0xBC4E;

// The framework's own notices met by the engine.
constexpr UINT kCmDialogChar = 0xB006;
constexpr UINT kCmEnabledChanged = 0xB00C;
constexpr UINT kCmMouseLeave = 0xB014;
constexpr UINT kCmMenuChanged = 0xB015;

// The key colour of transparent pixels throughout the engine (magenta).
constexpr COLORREF kSkinKeyColour = 0xFF00FF;
