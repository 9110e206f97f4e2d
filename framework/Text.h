// Program strings are GBK (code page 936) bytes; Win32 is called through
// its wide-character entry points with texts converted here, so Chinese
// shows correctly whatever code page the system runs with.
#pragma once

#include <string>

namespace fw {

std::wstring ToWide(const std::string& gbk);
std::string FromWide(const std::wstring& text);
std::string FromWide(const wchar_t* text, int length);

// Text of a file in UTF-8 (both sides: natively through the C library's
// converters). Utf8ToGbk is false for bytes that are not UTF-8; a
// character GBK lacks comes out as GBK's substitute. GbkToUtf8 is false
// for bytes that are not GBK.
bool Utf8ToGbk(const std::string& utf8, std::string& gbk);
bool GbkToUtf8(const std::string& gbk, std::string& utf8);

// The program character that a typed UTF-16 character gives a one-byte
// key handler: ASCII as itself, a double-byte GBK character as its first
// byte (GBK's substitute for a character it lacks).
char FirstGbkByte(wchar_t typed);
// The UTF-16 character a one-byte program character stands for; false when
// the byte is no character by itself (the first byte of a double-byte one).
bool WideOfGbkByte(char ch, wchar_t& wide);

}  // namespace fw
