// The Windows half of the program's common routines: the program folder,
// folders beside it and the serial port list from the registry.
#include <windows.h>

#include "Common.h"

#include "Application.h"
#include "Control.h"
#include "Text.h"

std::string ProgramFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  const size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
  return fw::FromWide(folder);
}

void ForceAppSubDir(std::string name) {
  if (!name.empty() && name.back() == '\\') name.pop_back();
  const std::wstring dir = fw::ToWide(AppPath + name);
  if (GetFileAttributesW(dir.c_str()) == INVALID_FILE_ATTRIBUTES)
    CreateDirectoryW(dir.c_str(), nullptr);  // a failure leaves the folder absent
}

void ReadPortNames(HKEY root, const char* path, TStringVector& list) {
  list.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  TStringVector names;
  for (DWORD index = 0;; ++index) {
    char valueName[256];
    DWORD nameLen = sizeof valueName;
    BYTE data[256];
    DWORD dataLen = sizeof data;
    DWORD type = 0;
    const LONG rc = RegEnumValueA(key, index, valueName, &nameLen, nullptr, &type, data, &dataLen);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    // A value too long for the buffers, or not a text, is no port name;
    // the enumeration goes on with the next one.
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) break;
    if (type != REG_SZ || dataLen == 0) continue;
    std::string port(reinterpret_cast<const char*>(data), dataLen);
    const size_t nul = port.find('\0');
    if (nul != std::string::npos) port.resize(nul);
    if (PortNumberOf(port) > 0) names.push_back(port);
  }
  RegCloseKey(key);
  SortPortNames(names);
  list = names;
}

void GetComPortList(TStringVector& list) {
  ReadPortNames(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", list);
}

namespace {

bool IsContainer(const fw::TControl* c) {
  return c->InheritsFrom("TPanel") || c->InheritsFrom("TGroupBox") || c->InheritsFrom("TKvPanel") ||
         c->InheritsFrom("TKvGroupBox");
}

bool IsButton(const fw::TControl* c) {
  return c->InheritsFrom("TButton") || c->InheritsFrom("TSpeedButton");
}

}  // namespace

void SetButtonsEnabled(fw::TWinControl* container, bool enabled) {
  fw::Screen().SetCursor(enabled ? fw::crDefault : fw::crHourGlass);
  for (fw::TControl* child : container->Controls()) {
    if (IsContainer(child))
      SetButtonsEnabled(static_cast<fw::TWinControl*>(child), enabled);
    else if (IsButton(child))
      child->SetEnabled(enabled);
  }
  fw::Application().ProcessMessages();
}
