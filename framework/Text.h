// Program strings are GBK (code page 936) bytes; Win32 is called through
// its wide-character entry points with texts converted here, so Chinese
// shows correctly whatever code page the system runs with.
#pragma once

#include <string>

namespace fw {

std::wstring ToWide(const std::string& gbk);
std::string FromWide(const std::wstring& text);
std::string FromWide(const wchar_t* text, int length);

}  // namespace fw
