// Saving a file on the target: the new contents reach the disk before they
// replace the old file, and the replacing rename is written through; seen
// by putting recorders in this program's import table in place of the
// system's flush and rename.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "FileIO.h"

using namespace fw;

namespace {

std::vector<std::string> calls;
DWORD moveFlags = 0;
BOOL(WINAPI* realFlush)(HANDLE) = nullptr;
BOOL(WINAPI* realMove)(LPCWSTR, LPCWSTR, DWORD) = nullptr;

BOOL WINAPI RecordFlush(HANDLE h) {
  calls.push_back("flush");
  return realFlush(h);
}

BOOL WINAPI RecordMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  calls.push_back("move");
  moveFlags = flags;
  return realMove(from, to, flags);
}

// Puts `replacement` in this program's import table in place of the kernel
// function `name`; the function it replaced, or nullptr.
void* ReplaceImport(const char* name, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dll->Name; ++dll) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + dll->Name), "kernel32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
      DWORD protect = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protect);
      void* old = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protect, &protect);
      return old;
    }
  }
  return nullptr;
}

TEST(FileSave, FlushesBeforeTheRenameAndRenamesWriteThrough) {
  const std::string path = ".\\fw_save_flush.ini";
  ASSERT_TRUE(SaveFileBytes(path, "old"));
  realFlush = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(
      ReplaceImport("FlushFileBuffers", reinterpret_cast<void*>(&RecordFlush)));
  realMove = reinterpret_cast<BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD)>(
      ReplaceImport("MoveFileExW", reinterpret_cast<void*>(&RecordMove)));
  ASSERT_NE(realMove, nullptr);
  calls.clear();
  const bool saved = SaveFileBytes(path, "new contents");
  if (realFlush) ReplaceImport("FlushFileBuffers", reinterpret_cast<void*>(realFlush));
  ReplaceImport("MoveFileExW", reinterpret_cast<void*>(realMove));
  EXPECT_TRUE(saved);
  EXPECT_EQ(calls, (std::vector<std::string>{"flush", "move"}));
  EXPECT_EQ(moveFlags, static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  std::string bytes;
  ASSERT_TRUE(LoadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "new contents");
  DeleteFileA(path.c_str());
}

}  // namespace
