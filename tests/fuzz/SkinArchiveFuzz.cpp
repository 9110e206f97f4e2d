// The skin archive reader (skin/data/SkinRead: TSkinReader::UnpackSkin,
// ExtractPart, FindPart): the header, the reserved block, the part-name list,
// the part sizes and the part data of an archive as the skin data loads it.
//
// Input: a mode byte, then
//  - mode even: an unpacked archive, packed here by the skin packer's
//    encoder, so that the fuzzer works on the archive's fields directly;
//  - mode odd: a packed archive as a skin file holds it.
//
// Checked besides the absence of faults: an archive that is refused leaves
// the reader empty with a message; one that is accepted has a size for every
// name, parts that lie within its data, and each part extracted by its name
// (or found by a piece of it) has its listed size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "SkinMessage.h"
#include "SkinRead.h"

namespace {
int messages = 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 16384) return 0;
  static const bool counted = [] {
    SetSkinMessageHandler([](const std::string&) { ++messages; });
    return true;
  }();
  (void)counted;

  const std::vector<uint8_t> bytes(data + 1, data + size);
  TSkinMemoryStream archive((data[0] & 1) ? bytes : LzhPack(bytes));
  TSkinReader reader;
  messages = 0;
  bool ok = false;
  try {
    ok = reader.UnpackSkin(archive);
  } catch (const ElzhException&) {
    return 0;
  }
  if (!ok) {
    if (messages != 1 || reader.Count != 0 || !reader.Names.empty() || reader.PartData.Size() != 0) abort();
    return 0;
  }
  if (messages != 0 || reader.Count < 0 || reader.Count > TSkinReader::kMaxParts ||
      static_cast<size_t>(reader.Count) != reader.Names.size())
    abort();
  size_t total = 0;
  for (int i = 0; i < reader.Count; ++i) {
    if (reader.Sizes[i] < 0) abort();
    total += static_cast<size_t>(reader.Sizes[i]);
  }
  if (total > reader.PartData.Size()) abort();

  for (int i = 0; i < reader.Count; ++i) {
    const std::string& name = reader.Names[static_cast<size_t>(i)];
    int first = i;
    for (int j = 0; j < i; ++j)
      if (reader.Names[static_cast<size_t>(j)] == name) {
        first = j;
        break;
      }
    TSkinMemoryStream part;
    reader.ExtractPart(name, part);
    if (part.Size() != static_cast<size_t>(reader.Sizes[first]) || part.Position() != 0) abort();
  }
  TSkinMemoryStream found;
  std::string partName = "none";
  reader.FindPart(".ini", found, partName);
  if (partName != "none" && partName.find(".ini") == std::string::npos) abort();
  reader.FindPart(".bmp", found, partName);
  TSkinMemoryStream missing;
  reader.ExtractPart("no such part.bmp", missing);
  for (const std::string& name : reader.Names)
    if (name == "no such part.bmp") return 0;
  if (missing.Size() != 0) abort();
  return 0;
}
