#include "Text.h"

#include <windows.h>

namespace fw {

namespace {
constexpr UINT kGbk = 936;
}

std::wstring ToWide(const std::string& gbk) {
  if (gbk.empty()) return std::wstring();
  int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), &out[0], n);
  return out;
}

std::string FromWide(const wchar_t* text, int length) {
  if (!text || length <= 0) return std::string();
  int n = WideCharToMultiByte(kGbk, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, text, length, &out[0], n, nullptr, nullptr);
  return out;
}

std::string FromWide(const std::wstring& text) {
  return FromWide(text.data(), static_cast<int>(text.size()));
}

char FirstGbkByte(wchar_t typed) {
  const std::string bytes = FromWide(&typed, 1);
  return bytes.empty() ? '?' : bytes[0];
}

bool WideOfGbkByte(char ch, wchar_t& wide) {
  return MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, &ch, 1, &wide, 1) == 1;
}

}  // namespace fw
