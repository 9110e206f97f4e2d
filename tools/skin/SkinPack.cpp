// Packs a skin archive from its description and bitmaps.
//
//   skinpack <archive> <part file>...
//
// The archive is of format version 70000: header, a 69-byte reserved block
// of zeros, the part names (file names without folders, one per line), the
// part sizes and the parts, all packed with LZHUF behind the unpacked length.
#include <cstdio>
#include <string>
#include <vector>

#include "LzhEncoder.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: skinpack <archive> <part file>...\n");
    return 2;
  }
  std::string names;
  std::vector<std::vector<uint8_t>> parts;
  for (int i = 2; i < argc; i++) {
    std::string path = argv[i];
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::vector<uint8_t> data;
    if (name.empty() || name.find_first_of("\r\n") != std::string::npos || !ReadFile(path, data)) {
      std::fprintf(stderr, "skinpack: cannot read %s\n", path.c_str());
      return 1;
    }
    names += name + "\r\n";
    parts.push_back(std::move(data));
  }
  std::vector<uint8_t> archive;
  Put32(archive, 70000);
  Put32(archive, static_cast<uint32_t>(names.size()));
  Put32(archive, 0);
  Put32(archive, 0);
  archive.insert(archive.end(), 69, 0);
  archive.insert(archive.end(), names.begin(), names.end());
  for (const auto& p : parts) Put32(archive, static_cast<uint32_t>(p.size()));
  for (const auto& p : parts) archive.insert(archive.end(), p.begin(), p.end());

  std::vector<uint8_t> packed = LzhPack(archive);
  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(packed.data(), 1, packed.size(), f) != packed.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "skinpack: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
