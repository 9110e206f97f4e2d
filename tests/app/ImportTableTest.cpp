// Tavrin.exe is bound to Dorvex.dll at load time by exactly the reader
// functions it uses, under their decorated stdcall names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "WindowDriver.h"

namespace {

std::string ProgramPath() { return driver::BinFolder() + "Tavrin.exe"; }

// The names imported from each DLL (lower-case DLL name), read from the
// file's import directory.
std::map<std::string, std::set<std::string>> Imports(const std::vector<char>& file) {
  std::map<std::string, std::set<std::string>> out;
  auto at = [&](size_t offset) { return file.data() + offset; };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(dos->e_lfanew));
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  auto toOffset = [&](DWORD rva) -> size_t {
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const auto& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return 0;
  };
  const DWORD dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(toOffset(dir))); d->Name; ++d) {
    std::string dll = at(toOffset(d->Name));
    std::transform(dll.begin(), dll.end(), dll.begin(), ::tolower);
    const DWORD thunks = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
    for (auto* t = reinterpret_cast<const IMAGE_THUNK_DATA32*>(at(toOffset(thunks))); t->u1.AddressOfData; ++t) {
      if (t->u1.Ordinal & IMAGE_ORDINAL_FLAG32) continue;
      out[dll].insert(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(at(toOffset(t->u1.AddressOfData)))->Name);
    }
  }
  return out;
}

}  // namespace

TEST(TavrinImports, ElevenReaderFunctionsByDecoratedName) {
  std::ifstream in(ProgramPath(), std::ios::binary);
  ASSERT_TRUE(in) << ProgramPath();
  const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto imports = Imports(file);
  ASSERT_TRUE(imports.count("dorvex.dll"));
  EXPECT_EQ(imports.at("dorvex.dll"),
            (std::set<std::string>{"_OpenComPort@8", "_CloseComPort@0", "_ReadCardSerNum@16",
                                   "_SetDevPassWord@16", "_ChangeCardPassWord@12", "_SendBeep@16",
                                   "_SetOneCardPassWord@20", "_SetAllCardPassWord@16", "_WriteCardBlock@24",
                                   "_SetAutoEditPW@36", "_CancelAutoEditPW@12"}));
}
