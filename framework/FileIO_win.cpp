// File access of the target build: wide-character paths from GBK.
#include <windows.h>

#include "FileIO.h"
#include "Text.h"

namespace fw {

bool LoadFileBytes(const std::string& path, std::string& data) {
  HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string out;
  char buffer[4096];
  DWORD n = 0;
  bool ok = true;
  for (;;) {
    if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(buffer, n);
  }
  CloseHandle(h);
  if (ok) data.swap(out);
  return ok;
}

bool SaveFileBytes(const std::string& path, const std::string& data) {
  std::wstring target = ToWide(path);
  std::wstring temp = target + L".tmp";
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = data.empty() ||
            (WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size());
  ok = CloseHandle(h) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(ToWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace fw
