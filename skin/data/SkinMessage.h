// Where the skin loader's few messages to the operator go. The program shows
// them in a message box; tests install a handler that records them.
#pragma once
#include <functional>
#include <string>

using TSkinMessageHandler = std::function<void(const std::string& text)>;

// Shows `text` through the current handler (ShowSkinMessageDefault unless
// one is installed).
void ShowSkinMessage(const std::string& text);
// Replaces the handler; an empty handler restores the default. Returns the old one.
TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler);
// The platform's way: the application's message box on Windows, standard
// error elsewhere.
void ShowSkinMessageDefault(const std::string& text);
