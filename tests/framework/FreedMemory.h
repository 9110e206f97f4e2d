// Catching reads and writes of freed memory in a Windows test program, where
// Wine swallows an access violation inside a window procedure (the message
// just ends, and the test would see only that a handler never ran).
//
// Link FreedMemory.cpp into the program (once: it replaces the global
// operator new and delete). Every freed block is then filled with
// kFreedByte and never handed out again, so that a use after free reads the
// pattern instead of whatever the block held before: a virtual call through
// a freed object jumps through a pointer made of the pattern and faults.
// A first-chance exception handler, which runs before any handler that
// could swallow the fault, counts each access violation at such an address.
#pragma once

namespace freedmem {

constexpr unsigned char kFreedByte = 0xDD;

// The access violations so far whose address (read, written or executed)
// is made of the freed pattern: uses of freed objects.
int FreedUses();

// True when no freed block was written to after it was freed.
bool Untouched();

}  // namespace freedmem
