// Opening and closing the serial line that carries the device libraries'
// frames. Both libraries set the line up alike; the Win32 half of the common
// routines, built only into the target side.
#pragma once
#include <windows.h>

#include <cstdint>

namespace serial {

// Opens `device` ("COM3", "\\.\COM12") for reading and writing, not shared,
// existing only, synchronous, and sets the line: `baud`, 8 data bits, no
// parity, one stop bit, every byte value passed unchanged, DTR and RTS
// raised, 1024-byte driver queues each way. Returns the handle, or
// INVALID_HANDLE_VALUE with nothing left open.
HANDLE OpenLine(const char* device, uint32_t baud);

// Aborts and clears both directions and closes the handle; the close result.
bool CloseLine(HANDLE handle);

}  // namespace serial
