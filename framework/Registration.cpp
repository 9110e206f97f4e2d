#include "Registration.h"

#include "Form.h"
#include "Menus.h"
#include "Timer.h"

namespace fw {

void RegisterStandardClasses() {
  RegisterComponentClass(TForm::StaticClass());
  RegisterComponentClass(TPopupMenu::StaticClass());
  RegisterComponentClass(TMenuItem::StaticClass());
  RegisterComponentClass(TTimer::StaticClass());
}

}  // namespace fw
