// The UTF-8 conversions of the native build, through the C library's
// converters (code page 936 and UTF-8 are among them).
#include <iconv.h>

#include <cerrno>

#include "Text.h"

namespace fw {

namespace {

// `text` from one encoding into another. With a substitute, the input is
// UTF-32 (whole characters of four bytes) and a character the target lacks
// becomes the substitute; any other failure gives false.
bool Convert(const char* to, const char* from, const std::string& text, std::string& out,
             const char* substitute = nullptr) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result;
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  bool ok = true;
  while (inLeft > 0) {
    char buffer[256];
    char* put = buffer;
    size_t room = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &put, &room);
    result.append(buffer, static_cast<size_t>(put - buffer));
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    if (errno == EILSEQ && substitute && inLeft >= 4) {
      result += substitute;
      in += 4;
      inLeft -= 4;
      continue;
    }
    ok = false;
    break;
  }
  iconv_close(cd);
  if (ok) out.swap(result);
  return ok;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
  std::string wide;
  return Convert("UTF-32LE", "UTF-8", utf8, wide) && Convert("CP936", "UTF-32LE", wide, gbk, "?");
}

bool GbkToUtf8(const std::string& gbk, std::string& utf8) { return Convert("UTF-8", "CP936", gbk, utf8); }

}  // namespace fw
