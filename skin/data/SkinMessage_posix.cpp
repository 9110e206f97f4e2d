// Without a desktop the skin loader's messages go to standard error.
#include <cstdio>

#include "SkinMessage.h"

void ShowSkinMessageDefault(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
