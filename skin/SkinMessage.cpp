#include "SkinMessage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {
TSkinMessageHandler& Handler() {
  static TSkinMessageHandler handler;
  return handler;
}

void DefaultShow(const std::string& text) {
#ifdef _WIN32
  // Caption: the program's file name without its extension, as the
  // application title reads before anything sets it.
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string title = path;
  size_t slash = title.find_last_of("\\/");
  if (slash != std::string::npos) title.erase(0, slash + 1);
  size_t dot = title.rfind('.');
  if (dot != std::string::npos) title.erase(dot);
  MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK);
#else
  std::fprintf(stderr, "%s\n", text.c_str());
#endif
}
}  // namespace

void ShowSkinMessage(const std::string& text) {
  if (Handler())
    Handler()(text);
  else
    DefaultShow(text);
}

TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler) {
  TSkinMessageHandler old = std::move(Handler());
  Handler() = std::move(handler);
  return old;
}
