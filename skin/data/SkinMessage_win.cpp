// On Windows the operator sees the skin loader's messages in the
// application's modal message box, under the application's title.
#include "Application.h"
#include "SkinMessage.h"

void ShowSkinMessageDefault(const std::string& text) {
  fw::Application().MessageBox(text, fw::Application().Title(), MB_OK);
}
