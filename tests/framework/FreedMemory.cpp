#include "FreedMemory.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kHeader = 16;  // keeps the blocks 16-byte aligned

struct FreedBlock {
  const unsigned char* data;
  size_t size;
};

// The freed blocks (a fixed array: the list must not allocate itself).
FreedBlock g_freed[1 << 16];
size_t g_freedCount = 0;

volatile LONG g_freedUses = 0;

// An address built from the pattern: the pattern itself, or a member or
// a table entry a little way past it.
bool FromPattern(ULONG_PTR address) {
  constexpr ULONG_PTR kPattern = 0xDDDDDDDDu;
  return address - (kPattern & ~ULONG_PTR{0xFFFF}) <= 0xFFFF;
}

LONG CALLBACK CountFreedUse(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
    const ULONG_PTR data = r->NumberParameters >= 2 ? r->ExceptionInformation[1] : 0;
    if (FromPattern(data) || FromPattern(reinterpret_cast<ULONG_PTR>(r->ExceptionAddress)))
      InterlockedIncrement(&g_freedUses);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Installed before main: first in the chain, so it sees every fault.
const PVOID g_handler = AddVectoredExceptionHandler(1, CountFreedUse);

}  // namespace

void* operator new(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) std::abort();
  std::memcpy(block, &size, sizeof size);
  return block + kHeader;
}

void operator delete(void* p) noexcept {
  if (!p) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  size_t size;
  std::memcpy(&size, block, sizeof size);
  std::memset(p, freedmem::kFreedByte, size);
  if (g_freedCount < sizeof g_freed / sizeof g_freed[0]) g_freed[g_freedCount++] = FreedBlock{block + kHeader, size};
}

void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace freedmem {

int FreedUses() { return static_cast<int>(InterlockedCompareExchange(&g_freedUses, 0, 0)); }

bool Untouched() {
  for (size_t i = 0; i < g_freedCount; ++i)
    for (size_t k = 0; k < g_freed[i].size; ++k)
      if (g_freed[i].data[k] != kFreedByte) return false;
  return true;
}

}  // namespace freedmem
