#include "Dialogs.h"

#include "Text.h"

namespace fw {

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags);
}

}  // namespace fw
