#include "SkinArchiveWriter.h"

namespace {

constexpr uint32_t kVersion = 70000;
constexpr size_t kReservedBytes = 69;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> UnpackedSkinArchive(const std::vector<SkinArchivePart>& parts) {
  std::string names;
  for (const SkinArchivePart& p : parts) names += p.name + "\r\n";
  std::vector<uint8_t> archive;
  Put32(archive, kVersion);
  Put32(archive, static_cast<uint32_t>(names.size()));
  Put32(archive, 0);
  Put32(archive, 0);
  archive.insert(archive.end(), kReservedBytes, 0);
  archive.insert(archive.end(), names.begin(), names.end());
  for (const SkinArchivePart& p : parts) Put32(archive, static_cast<uint32_t>(p.data.size()));
  for (const SkinArchivePart& p : parts) archive.insert(archive.end(), p.data.begin(), p.data.end());
  return archive;
}
