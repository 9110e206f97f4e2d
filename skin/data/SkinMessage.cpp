#include "SkinMessage.h"

namespace {
TSkinMessageHandler& Handler() {
  static TSkinMessageHandler handler;
  return handler;
}
}  // namespace

void ShowSkinMessage(const std::string& text) {
  if (Handler())
    Handler()(text);
  else
    ShowSkinMessageDefault(text);
}

TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler) {
  TSkinMessageHandler old = std::move(Handler());
  Handler() = std::move(handler);
  return old;
}
