#include "Resources.h"

#include <windows.h>

#include "Text.h"

namespace fw {

bool LoadResourceText(const std::string& name, std::string& data) {
  HMODULE module = GetModuleHandleW(nullptr);
  std::wstring wname = ToWide(name);
  HRSRC res = FindResourceW(module, wname.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) return false;
  HGLOBAL global = LoadResource(module, res);
  DWORD size = SizeofResource(module, res);
  const void* bytes = global ? LockResource(global) : nullptr;
  if (!bytes) return false;
  data.assign(static_cast<const char*>(bytes), size);
  return true;
}

}  // namespace fw
