// Program strings are GBK (code page 936) bytes; Win32 is called through
// its wide-character entry points with texts converted here, so Chinese
// shows correctly whatever code page the system runs with.
#pragma once

#include <string>

namespace fw {

std::wstring ToWide(const std::string& gbk);
std::string FromWide(const std::wstring& text);
std::string FromWide(const wchar_t* text, int length);

// The program character that a typed UTF-16 character gives a one-byte
// key handler: ASCII as itself, a double-byte GBK character as its first
// byte (GBK's substitute for a character it lacks).
char FirstGbkByte(wchar_t typed);
// The UTF-16 character a one-byte program character stands for; false when
// the byte is no character by itself (the first byte of a double-byte one).
bool WideOfGbkByte(char ch, wchar_t& wide);

}  // namespace fw
