// Message boxes. Texts and captions are GBK; flags are the MB_ flags
// (MB_OK | MB_ICONWARNING ...). Returns the button pressed (IDOK ...).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Owned by the given window; usable from any thread.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

}  // namespace fw
