// Packs a skin archive from its description and bitmaps.
//
//   skinpack <archive> <part file>...
//
// The parts are named by their file names without folders; the archive
// (SkinArchiveWriter.h) is packed with LZHUF behind its unpacked length.
#include <cstdio>
#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "SkinArchiveWriter.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: skinpack <archive> <part file>...\n");
    return 2;
  }
  std::vector<SkinArchivePart> parts;
  for (int i = 2; i < argc; i++) {
    std::string path = argv[i];
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::vector<uint8_t> data;
    if (name.empty() || name.find_first_of("\r\n") != std::string::npos || !ReadFile(path, data)) {
      std::fprintf(stderr, "skinpack: cannot read %s\n", path.c_str());
      return 1;
    }
    parts.push_back({name, std::move(data)});
  }
  const std::vector<uint8_t> packed = LzhPack(UnpackedSkinArchive(parts));
  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(packed.data(), 1, packed.size(), f) != packed.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "skinpack: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
