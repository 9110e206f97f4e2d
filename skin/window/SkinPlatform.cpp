#include "SkinPlatform.h"

namespace skinplatform {

namespace {

DWORD g_override = 0;

DWORD RealVersionWord() {
  static const DWORD word = GetVersion();
  return word;
}

int Major() { return static_cast<int>(VersionWord() & 0xFF); }
int Minor() { return static_cast<int>((VersionWord() >> 8) & 0xFF); }

struct TEntries {
  decltype(&GetScrollBarInfo) scrollBarInfo = nullptr;
  decltype(&TrackMouseEvent) trackMouse = nullptr;
  decltype(&GetComboBoxInfo) comboBoxInfo = nullptr;
};

const TEntries& Entries() {
  static const TEntries e = [] {
    TEntries t;
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      t.scrollBarInfo = reinterpret_cast<decltype(&GetScrollBarInfo)>(reinterpret_cast<void*>(GetProcAddress(user, "GetScrollBarInfo")));
      t.trackMouse = reinterpret_cast<decltype(&TrackMouseEvent)>(reinterpret_cast<void*>(GetProcAddress(user, "TrackMouseEvent")));
      t.comboBoxInfo = reinterpret_cast<decltype(&GetComboBoxInfo)>(reinterpret_cast<void*>(GetProcAddress(user, "GetComboBoxInfo")));
    }
    return t;
  }();
  return e;
}

}  // namespace

DWORD VersionWord() { return g_override ? g_override : RealVersionWord(); }
bool IsWin9x() { return (VersionWord() & 0x80000000u) != 0; }
bool IsNT() { return !IsWin9x(); }
bool IsNTBelow5() { return IsNT() && Major() < 5; }
bool IsVersion40() { return Major() == 4 && Minor() == 0; }
bool IsWin2000() { return IsNT() && Major() == 5 && Minor() == 0; }
bool IsNTAbove51() { return IsNT() && Major() > 4 && Minor() > 1; }
bool IsNotVersion6() { return Major() != 6; }

bool HasGetScrollBarInfo() { return Entries().scrollBarInfo != nullptr; }
bool HasTrackMouseEvent() { return Entries().trackMouse != nullptr; }
bool HasGetComboBoxInfo() { return Entries().comboBoxInfo != nullptr; }

BOOL CallGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) {
  return Entries().scrollBarInfo ? Entries().scrollBarInfo(window, objectId, info) : FALSE;
}
BOOL CallTrackMouseEvent(TRACKMOUSEEVENT* event) {
  return Entries().trackMouse ? Entries().trackMouse(event) : FALSE;
}
BOOL CallGetComboBoxInfo(HWND window, COMBOBOXINFO* info) {
  return Entries().comboBoxInfo ? Entries().comboBoxInfo(window, info) : FALSE;
}

void SetVersionWordForTesting(DWORD word) { g_override = word; }

}  // namespace skinplatform
