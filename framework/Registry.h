// Reading the registry (values are converted to GBK).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

class TRegistry {
 public:
  explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return root_; }
  void SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
  }
  // Opens a key for reading; a leading backslash is allowed.
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool ValueExists(const std::string& name) const;
  // The string value (REG_SZ or REG_EXPAND_SZ); empty when missing.
  std::string ReadString(const std::string& name) const;
  bool ReadInteger(const std::string& name, int32_t& value) const;
  // Names and string data of every value of the open key, in the order
  // the registry gives them; values that are not strings are skipped.
  bool GetStringValues(std::vector<std::pair<std::string, std::string>>& values) const;

 private:
  HKEY root_;
  HKEY key_ = nullptr;
};

}  // namespace fw
