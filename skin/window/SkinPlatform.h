// What the engine needs to know of the system it runs on: the version
// word (taken once), the version tests its steps make, and the optional
// user32 entry points that older systems lack.
#pragma once
#include <windows.h>

namespace skinplatform {

// The value of GetVersion(), taken at first use.
DWORD VersionWord();
// The Windows 9x family (the version word's top bit).
bool IsWin9x();
// The Windows NT family.
bool IsNT();
// Windows NT below version 5 (NT 4 and older).
bool IsNTBelow5();
// Windows 95 or NT 4: major version 4, minor version 0.
bool IsVersion40();
// Windows 2000 exactly: NT, version 5.0 (later versions are not it).
bool IsWin2000();
// NT family with a major version above 4 and a minor version above 1.
bool IsNTAbove51();
// The major version is not 6.
bool IsNotVersion6();

// Optional entry points; each answers false when user32 lacks it.
bool HasGetScrollBarInfo();
bool HasTrackMouseEvent();
bool HasGetComboBoxInfo();
BOOL CallGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info);
BOOL CallTrackMouseEvent(TRACKMOUSEEVENT* event);
BOOL CallGetComboBoxInfo(HWND window, COMBOBOXINFO* info);

// Test hook: pretend to run on a system with this version word (0 puts
// the real one back). Only the version tests above follow it.
void SetVersionWordForTesting(DWORD word);

}  // namespace skinplatform
