#include "Registry.h"

#include "Text.h"

namespace fw {

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  CloseKey();
  std::string k = key;
  while (!k.empty() && k[0] == '\\') k.erase(0, 1);
  return RegOpenKeyExW(root_, ToWide(k).c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
}

void TRegistry::CloseKey() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool TRegistry::ValueExists(const std::string& name) const {
  if (!key_) return false;
  return RegQueryValueExW(key_, ToWide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (!key_) return std::string();
  std::wstring wname = ToWide(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS)
    return std::string();
  data.resize(size / sizeof(wchar_t));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  return FromWide(data);
}

bool TRegistry::ReadInteger(const std::string& name, int32_t& value) const {
  if (!key_) return false;
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegQueryValueExW(key_, ToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  value = static_cast<int32_t>(data);
  return true;
}

bool TRegistry::GetStringValues(std::vector<std::pair<std::string, std::string>>& values) const {
  values.clear();
  if (!key_) return false;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLen = 256;
    BYTE data[1024];
    DWORD dataLen = sizeof data, type = 0;
    LONG r = RegEnumValueW(key_, i, name, &nameLen, nullptr, &type, data, &dataLen);
    if (r == ERROR_NO_MORE_ITEMS) return true;
    if (r != ERROR_SUCCESS) continue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    std::wstring text(reinterpret_cast<wchar_t*>(data), dataLen / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    values.emplace_back(FromWide(name, static_cast<int>(nameLen)), FromWide(text));
  }
}

}  // namespace fw
