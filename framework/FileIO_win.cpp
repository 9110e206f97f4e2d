// File access of the target build: wide-character paths from GBK.
#include <windows.h>

#include "FileIO.h"
#include "Text.h"

namespace fw {

TReadResult ReadFileBytes(const std::string& path, std::string& data) {
  HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TReadResult::Missing
                                                                          : TReadResult::Unreadable;
  }
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
  if (!ok) return TReadResult::Unreadable;
  data.swap(out);
  return TReadResult::Read;
}

bool LoadFileBytes(const std::string& path, std::string& data) {
  return ReadFileBytes(path, data) == TReadResult::Read;
}

bool SaveFileBytes(const std::string& path, const std::string& data) {
  std::wstring target = ToWide(path);
  // A read-only file keeps its contents. Replacing it by a rename is
  // refused on most systems, but not on all, and the file would then lose
  // its read-only mark with its contents: it is checked here first.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  std::wstring temp = target + L".tmp";
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = data.empty() ||
            (WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size());
  // The new contents are on the disk before they take the old file's
  // place, and the rename itself is on the disk when it returns: after a
  // power cut the file holds the old contents or the new, never nothing.
  ok = ok && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(ToWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace fw
