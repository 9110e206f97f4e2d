#include "Text.h"

#include <windows.h>

namespace fw {

namespace {
constexpr UINT kGbk = 936;

// `text` of code page `cp` in UTF-16; with MB_ERR_INVALID_CHARS in `flags`,
// false for bytes that are not of that code page.
bool Widen(UINT cp, DWORD flags, const std::string& text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(cp, flags, text.data(), size, nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<size_t>(n));
  MultiByteToWideChar(cp, flags, text.data(), size, &wide[0], n);
  return true;
}

// UTF-16 text in code page `cp` (a character the code page lacks as its
// substitute).
std::string Narrow(UINT cp, const wchar_t* text, int length) {
  if (!text || length <= 0) return std::string();
  int n = WideCharToMultiByte(cp, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, text, length, &out[0], n, nullptr, nullptr);
  return out;
}
}  // namespace

std::wstring ToWide(const std::string& gbk) {
  std::wstring out;
  Widen(kGbk, 0, gbk, out);
  return out;
}

std::string FromWide(const wchar_t* text, int length) { return Narrow(kGbk, text, length); }

std::string FromWide(const std::wstring& text) {
  return FromWide(text.data(), static_cast<int>(text.size()));
}

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
  std::wstring wide;
  if (!Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, wide)) return false;
  gbk = FromWide(wide);
  return true;
}

bool GbkToUtf8(const std::string& gbk, std::string& utf8) {
  std::wstring wide;
  if (!Widen(kGbk, MB_ERR_INVALID_CHARS, gbk, wide)) return false;
  utf8 = Narrow(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
  return true;
}

char FirstGbkByte(wchar_t typed) {
  const std::string bytes = FromWide(&typed, 1);
  return bytes.empty() ? '?' : bytes[0];
}

bool WideOfGbkByte(char ch, wchar_t& wide) {
  return MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, &ch, 1, &wide, 1) == 1;
}

}  // namespace fw
