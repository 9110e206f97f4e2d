#include "Registration.h"

#include "Form.h"
#include "Menus.h"
#include "Timer.h"

namespace fw {

void RegisterStandardClasses() {
  RegisterClass(TForm::StaticClass());
  RegisterClass(TPopupMenu::StaticClass());
  RegisterClass(TMenuItem::StaticClass());
  RegisterClass(TTimer::StaticClass());
}

}  // namespace fw
