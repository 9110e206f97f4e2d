// Time to load a skin: decode the packed archive, index it, read the
// description and (on Windows, where skin objects hold DIB sections) build
// every skin object, as the program does at start.
//
//   skin_load_bench [archive] [loads]
//
// Without an archive it packs one of about 320 KB unpacked from the
// program's own skin: its description and its bitmaps, repeated under new
// names until the archive reaches that size.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileIO.h"
#include "LzhEncoder.h"
#include "SkinArchiveWriter.h"
#ifdef _WIN32
#include "SkinDataContent.h"
#else
#include "SkinRead.h"
#include "WinSkinIni.h"
#endif

namespace {

// The whole file; nothing when it cannot be read.
std::vector<uint8_t> ReadFile(const std::string& path) {
  std::string bytes;
  if (!fw::LoadFileBytes(path, bytes)) bytes.clear();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The own skin's parts, the bitmaps repeated until `target` bytes unpacked.
std::vector<uint8_t> BenchArchive(const std::vector<uint8_t>& skin, size_t target, size_t& unpacked) {
  TSkinMemoryStream packed(skin);
  TSkinReader reader;
  if (!reader.UnpackSkin(packed)) return {};
  std::vector<SkinArchivePart> parts;
  size_t total = 16 + 69;
  for (int round = 0; total < target; round++) {
    for (int i = 0; i < reader.Count && total < target; i++) {
      if (round > 0 && reader.Names[i].find(".bmp") == std::string::npos) continue;
      TSkinMemoryStream part;
      reader.ExtractPart(reader.Names[i], part);
      parts.push_back({round == 0 ? reader.Names[i] : "r" + std::to_string(round) + "_" + reader.Names[i],
                       part.Bytes()});
      total += parts.back().name.size() + 2 + 4 + part.Size();
    }
  }
  const std::vector<uint8_t> archive = UnpackedSkinArchive(parts);
  unpacked = archive.size();
  return LzhPack(archive);
}

#ifdef _WIN32
const char kLoadWhat[] = "decode, read and build:";
bool Load(const std::vector<uint8_t>& packed) {
  TSkinDataContent skin;
  skin.SkinArchive = TSkinMemoryStream(packed);
  return skin.LoadSkin();
}
#else
const char kLoadWhat[] = "decode, index and read:";
bool Load(const std::vector<uint8_t>& packed) {
  TSkinMemoryStream archive(packed), part;
  TSkinReader reader;
  if (!reader.UnpackSkin(archive)) return false;
  std::string name;
  reader.FindPart(".ini", part, name);
  part.Seek(0);
  TQuickIni description;
  description.LoadFromStream(&part);
  return !description.Lines.empty();
}
#endif

double Millis(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int loads = argc > 2 ? std::atoi(argv[2]) : 50;
  std::vector<uint8_t> packed;
  size_t unpacked = 0;
  if (argc > 1 && std::string(argv[1]) != "-") {
    packed = ReadFile(argv[1]);
  } else {
    packed = BenchArchive(ReadFile(CARDINIT_SKIN_ARCHIVE), 320 * 1024, unpacked);
  }
  if (packed.empty() || loads < 1) {
    std::fprintf(stderr, "skin_load_bench: no archive\n");
    return 1;
  }

  using clock = std::chrono::steady_clock;
  clock::duration decode{}, load{};
  for (int i = 0; i < loads; i++) {
    TSkinMemoryStream source(packed), target;
    auto t0 = clock::now();
    TSkinReader::DecodeLzh(source, target);
    decode += clock::now() - t0;
    unpacked = target.Size();

    auto t1 = clock::now();
    if (!Load(packed)) {
      std::fprintf(stderr, "skin_load_bench: the archive does not load\n");
      return 1;
    }
    load += clock::now() - t1;
  }
  std::printf("archive: %zu bytes packed, %zu bytes unpacked, %d loads\n", packed.size(), unpacked, loads);
  std::printf("decode only:             %8.3f ms per load\n", Millis(decode) / loads);
  std::printf("%-24s %8.3f ms per load\n", kLoadWhat, Millis(load) / loads);
  return 0;
}
