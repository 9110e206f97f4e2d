// Text and number helpers of the framework. Program strings are 8-bit
// strings in the GBK code page; these helpers never split a double-byte
// character (the trail byte of a GBK character may look like an ASCII
// letter, so case changes skip both bytes of such characters).
// Nothing here throws: conversions report failure through their result.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// True when c is the lead byte of a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// True when c can follow a lead byte as the second byte of a GBK character
// (it may look like an ASCII character: '@', '[', '\\', letters).
inline bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// The position of the first single-byte character c in text at or after
// from, stepping over double-byte GBK characters whole (their second byte
// may equal c); std::string::npos when there is none.
size_t FindSingleByte(const std::string& text, char c, size_t from = 0);

// Parses a whole decimal integer with optional sign, or a hexadecimal one
// written "$1F" or "0x1F" (optionally signed). Leading and trailing blanks
// are allowed; anything else, an empty text or a value outside 32 bits
// makes it fail and leaves value untouched.
bool TryStrToInt(const std::string& text, int32_t& value);
bool TryStrToInt64(const std::string& text, int64_t& value);
int32_t StrToIntDef(const std::string& text, int32_t fallback);

std::string IntToStr(int64_t value);
// Upper-case hexadecimal of at least the given number of digits.
std::string IntToHex(uint32_t value, int digits);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string Trim(const std::string& text);       // blanks and control characters
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);

// Case changes of ASCII letters only; GBK characters are left whole.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);
// Case-insensitive comparison (ASCII letters), <0, 0 or >0.
int CompareText(const std::string& a, const std::string& b);
inline bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

}  // namespace fw
